#include "batch_import/TargetPicking.h"

#include "batch_import/QuickFilingCallback.h"
#include "framework/com/ErrorMessage.h"
#include "framework/ui/dialogs/MessageBox.h"

namespace
{
using CallbackPtr = _com_ptr_t<_com_IIID<ON16::IQuickFilingDialogCallback, &__uuidof(ON16::IQuickFilingDialogCallback)>>;

// A link label reads "<a" and "</a>" in its text as markup: a zero-width space after each "<"
// keeps the name's own brackets plain text without changing what it shows.
std::wstring PlainLinkText(const std::wstring& text)
{
    std::wstring escaped;
    for (const wchar_t c : text)
    {
        escaped += c;
        if (c == L'<')
            escaped += L'\x200B';
    }
    return escaped;
}

// Inside the link's quoted address, the characters that would end it or open a tag are
// percent-encoded, as any address may carry them.
std::wstring LinkAddress(const std::wstring& link)
{
    std::wstring escaped;
    for (const wchar_t c : link)
    {
        switch (c)
        {
        case L'"': escaped += L"%22"; break;
        case L'<': escaped += L"%3C"; break;
        case L'>': escaped += L"%3E"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

void SetParentWindowHandleWithRetry(ON16::IQuickFilingDialog& dialog, ULONGLONG window)
{
    CallWithRetry(dialog, [&] { return dialog.put_ParentWindowHandle(window); });
}
} // namespace

std::wstring TargetKindPrefix(int32_t kind)
{
    switch (kind)
    {
    case ON16::heNotebooks: return L"Notebook: ";
    case ON16::heSectionGroups: return L"Section Group: ";
    case ON16::heSections: return L"Section: ";
    case ON16::hePages: return L"Page: ";
    default: return L"";
    }
}

std::wstring TargetLabelMarkup(const HierarchyObject& target)
{
    return L"Import into " + TargetKindPrefix(target.kind) + L"<A HREF=\"" + LinkAddress(target.link) + L"\">" +
           PlainLinkText(target.name) + L"</A>";
}

std::wstring TargetMenuText(const HierarchyObject& target)
{
    return L"Pic&k a location to import (" + TargetKindPrefix(target.kind) + target.name + L")\tAlt+K";
}

TargetPicker::TargetPicker(HWND window, ChosenHandler chosen) : window_(window), chosen_(std::move(chosen)) {}

void TargetPicker::Pick(int32_t outputFormat, bool startWhenChosen)
{
    pendingStart_ = startWhenChosen;
    application_ = nullptr;
    try
    {
        Open(outputFormat);
    }
    catch (const _com_error& error)
    {
        application_ = nullptr;
        ShowErrorMessage(window_, GetErrorMessage(error));
    }
}

void TargetPicker::Open(int32_t outputFormat)
{
    ON16::ApplicationPtr application;
    const HRESULT created = CreateOneNoteApplication(application);
    if (FAILED(created))
        _com_issue_error(created);
    application_ = application;

    ON16::QuickFilingDialogPtr dialog;
    CallWithRetry(*application, [&] {
        dialog = nullptr;
        return application->QuickFiling(&dialog);
    });
    if (!dialog)
        _com_issue_error(E_POINTER);

    const bool singlePage = outputFormat == 0;
    CallWithRetry(*dialog, [&] { return dialog->put_Title(_bstr_t(L"Choose Target Location")); });
    CallWithRetry(*dialog, [&] { return dialog->put_Description(_bstr_t(L"Choose a location to import files")); });
    CallWithRetry(*dialog, [&] {
        return dialog->SetRecentResults(ON16::rrtFiling, singlePage ? VARIANT_FALSE : VARIANT_TRUE,
                                        singlePage ? VARIANT_TRUE : VARIANT_FALSE, VARIANT_FALSE);
    });
    CallWithRetry(*dialog, [&] { return dialog->put_TreeDepth(singlePage ? ON16::hePages : ON16::heSections); });
    SetParentWindowHandleWithRetry(*dialog, static_cast<ULONGLONG>(reinterpret_cast<ULONG_PTR>(window_)));
    const LONG containers = ON16::heNotebooks | ON16::heSectionGroups | ON16::heSections;
    const auto allowed = static_cast<ON16::HierarchyElement>(singlePage ? containers | ON16::hePages : containers);
    CallWithRetry(*dialog, [&] {
        return dialog->AddButton(_bstr_t(L"Select Import Location"), allowed, ON16::heNone, VARIANT_TRUE);
    });
    // OneNote holds the callback until it has called; the callback holds the picker only weakly.
    CallbackPtr callback(new QuickFilingCallback(weak_from_this()), false);
    CallWithRetry(*dialog, [&] { return dialog->Run(callback); });
}

void TargetPicker::OnDialogClosed(ON16::IQuickFilingDialog* dialog)
{
    try
    {
        Receive(dialog);
    }
    catch (const _com_error& error)
    {
        ShowErrorMessage(window_, GetErrorMessage(error));
    }
    application_ = nullptr;
}

void TargetPicker::Receive(ON16::IQuickFilingDialog* dialog)
{
    if (!dialog)
        _com_issue_error(E_POINTER);
    ULONG pressed = 0;
    CallWithRetry(*dialog, [&] { return dialog->get_PressedButton(&pressed); });
    if (pressed != 0)
    {
        // Cancelled: a start that waited for the pick is dropped.
        pendingStart_ = false;
        return;
    }
    _bstr_t selected;
    CallWithRetry(*dialog, [&] {
        BSTR received = nullptr;
        const HRESULT hr = dialog->get_SelectedItem(&received);
        selected.Attach(received);
        return hr;
    });
    if (!application_)
        _com_issue_error(E_POINTER);
    Choice choice;
    choice.target = ResolveHierarchyObject(*application_, selected);
    choice.id = selected.length() ? static_cast<const wchar_t*>(selected) : L"";
    choice.startImport = pendingStart_;
    pendingStart_ = false;
    // OneNote is let go before the window goes on, perhaps into a run that connects again.
    application_ = nullptr;
    chosen_(choice);
}
