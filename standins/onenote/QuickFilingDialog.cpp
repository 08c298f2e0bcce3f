// The quick filing dialog object: its properties, and Run, which closes it on a timer and calls
// the caller back through its own thread's message loop.
#include "standins/onenote/Objects.h"

namespace StandIn
{
namespace
{
constexpr UINT_PTR CloseTimer = 1;
const wchar_t* const MessageWindowClass = L"QuilloraOneNoteStandInQuickFiling";

// The dialog "closes" on the thread that called Run: a message-only window of that thread gets a
// timer, so OnDialogClosed arrives through that thread's message loop, as OneNote's call would.
LRESULT CALLBACK MessageWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == CloseTimer)
    {
        KillTimer(window, CloseTimer);
        auto* dialog = reinterpret_cast<QuickFilingDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (dialog)
        {
            const QuickFilingAnswer answer = Scenario::Current().QuickFiling();
            ULONG button = answer.button;
            std::wstring selected = answer.selectedId;
            if (!answer.configured)
            {
                // No scenario: the user "picks" what OneNote's window shows, with the first button.
                const CurrentView view = Store::Current().GetCurrentView();
                selected = view.sectionId.empty() ? view.notebookId : view.sectionId;
                button = 0;
            }
            dialog->Close(button, selected, answer.viaInvoke);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

ATOM RegisterMessageWindowClass()
{
    static const ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = MessageWindowProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = MessageWindowClass;
        return RegisterClassW(&windowClass);
    }();
    return atom;
}
} // namespace

HRESULT QuickFilingDialog::GetText(const wchar_t* method, const std::wstring& value, BSTR* out)
{
    Call call(method, {});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    if (call.Injected())
        return call.Failed();
    *out = MakeBstr(value);
    return call.Done(S_OK);
}

HRESULT QuickFilingDialog::PutText(const wchar_t* method, std::wstring& field, BSTR value)
{
    Call call(method, {Text(value)});
    if (call.Injected())
        return call.Failed();
    field = Text(value);
    return call.Done(S_OK);
}

namespace
{
template <typename T>
HRESULT GetPlain(const wchar_t* method, T* out, T value, const std::wstring& = {})
{
    Call call(method, {});
    if (!out)
        return call.Done(E_POINTER);
    *out = T{};
    if (call.Injected())
        return call.Failed();
    *out = value;
    return call.Done(S_OK);
}

template <typename T>
HRESULT PutPlain(const wchar_t* method, T& field, T value, const std::wstring& text)
{
    Call call(method, {text});
    if (call.Injected())
        return call.Failed();
    field = value;
    return call.Done(S_OK);
}
} // namespace

STDMETHODIMP QuickFilingDialog::get_Title(BSTR* out) { return GetText(L"QuickFilingDialog.get_Title", title_, out); }
STDMETHODIMP QuickFilingDialog::put_Title(BSTR value) { return PutText(L"QuickFilingDialog.put_Title", title_, value); }
STDMETHODIMP QuickFilingDialog::get_Description(BSTR* out)
{
    return GetText(L"QuickFilingDialog.get_Description", description_, out);
}
STDMETHODIMP QuickFilingDialog::put_Description(BSTR value)
{
    return PutText(L"QuickFilingDialog.put_Description", description_, value);
}
STDMETHODIMP QuickFilingDialog::get_CheckboxText(BSTR* out)
{
    return GetText(L"QuickFilingDialog.get_CheckboxText", checkboxText_, out);
}
STDMETHODIMP QuickFilingDialog::put_CheckboxText(BSTR value)
{
    return PutText(L"QuickFilingDialog.put_CheckboxText", checkboxText_, value);
}
STDMETHODIMP QuickFilingDialog::get_CheckboxState(VARIANT_BOOL* out)
{
    return GetPlain(L"QuickFilingDialog.get_CheckboxState", out, checkboxState_);
}
STDMETHODIMP QuickFilingDialog::put_CheckboxState(VARIANT_BOOL value)
{
    return PutPlain(L"QuickFilingDialog.put_CheckboxState", checkboxState_, value, Flag(value));
}
STDMETHODIMP QuickFilingDialog::get_WindowHandle(ULONGLONG* out)
{
    return GetPlain(L"QuickFilingDialog.get_WindowHandle", out,
                    static_cast<ULONGLONG>(reinterpret_cast<ULONG_PTR>(messageWindow_)));
}
STDMETHODIMP QuickFilingDialog::get_TreeDepth(ON16::HierarchyElement* out)
{
    return GetPlain(L"QuickFilingDialog.get_TreeDepth", out, treeDepth_);
}
STDMETHODIMP QuickFilingDialog::put_TreeDepth(ON16::HierarchyElement value)
{
    return PutPlain(L"QuickFilingDialog.put_TreeDepth", treeDepth_, value, Number(value));
}
STDMETHODIMP QuickFilingDialog::get_ParentWindowHandle(ULONGLONG* out)
{
    return GetPlain(L"QuickFilingDialog.get_ParentWindowHandle", out, parentWindow_);
}
STDMETHODIMP QuickFilingDialog::put_ParentWindowHandle(ULONGLONG value)
{
    return PutPlain(L"QuickFilingDialog.put_ParentWindowHandle", parentWindow_, value,
                    Number(static_cast<long long>(value)));
}
STDMETHODIMP QuickFilingDialog::get_Position(POINT* out)
{
    return GetPlain(L"QuickFilingDialog.get_Position", out, position_);
}
STDMETHODIMP QuickFilingDialog::put_Position(POINT value)
{
    return PutPlain(L"QuickFilingDialog.put_Position", position_, value, Number(value.x) + L"," + Number(value.y));
}

STDMETHODIMP QuickFilingDialog::SetRecentResults(ON16::RecentResultType type, VARIANT_BOOL showCurrentSection,
                                                 VARIANT_BOOL showCurrentPage, VARIANT_BOOL showUnfiledNotes)
{
    Call call(L"QuickFilingDialog.SetRecentResults",
              {Number(type), Flag(showCurrentSection), Flag(showCurrentPage), Flag(showUnfiledNotes)});
    return call.Injected() ? call.Failed() : call.Done(S_OK);
}

STDMETHODIMP QuickFilingDialog::AddButton(BSTR text, ON16::HierarchyElement allowed,
                                          ON16::HierarchyElement allowedReadOnly, VARIANT_BOOL isDefault)
{
    Call call(L"QuickFilingDialog.AddButton", {Text(text), Number(allowed), Number(allowedReadOnly), Flag(isDefault)});
    if (call.Injected())
        return call.Failed();
    if (buttonCount_++ == 0)
        buttonText_ = Text(text);
    allowed_ |= allowed;
    return call.Done(S_OK);
}

STDMETHODIMP QuickFilingDialog::Run(ON16::IQuickFilingDialogCallback* callback)
{
    Call call(L"QuickFilingDialog.Run", {Number(GetCurrentThreadId())});
    if (call.Injected())
        return call.Failed();
    if (!callback)
        return call.Done(E_POINTER);
    if (messageWindow_)
        return call.Done(E_UNEXPECTED);
    // A person running the programs here (no test has named a scenario or a store) picks in a
    // window, and so do tests that ask for the picker; other tests get the scenario's answer after
    // its delay.
    const bool interactive = Scenario::Current().QuickFiling().picker ||
                             (!Scenario::Current().QuickFiling().configured &&
                              Environment(L"QUILLORA_ONENOTE_SCENARIO").empty() &&
                              Environment(L"QUILLORA_ONENOTE_STORE").empty());
    if (interactive)
    {
        QuickFilingPickerOptions options;
        options.title = title_;
        options.description = description_;
        options.buttonText = buttonText_;
        options.treeDepth = treeDepth_;
        options.allowed = allowed_;
        options.owner = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(parentWindow_));
        messageWindow_ = ShowQuickFilingPicker(this, options);
    }
    else
    {
        RegisterMessageWindowClass();
        messageWindow_ = CreateWindowExW(0, MessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
        if (messageWindow_)
        {
            SetWindowLongPtrW(messageWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            SetTimer(messageWindow_, CloseTimer, Scenario::Current().QuickFiling().delayMs, nullptr);
        }
    }
    if (!messageWindow_)
        return call.Done(HRESULT_FROM_WIN32(GetLastError()));
    // The open dialog keeps itself and the callback alive until it has called back.
    AddRef();
    callback_ = callback;
    return call.Done(S_OK);
}

void QuickFilingDialog::Close(ULONG button, const std::wstring& selected, bool viaInvoke)
{
    pressedButton_ = button;
    selected_ = selected;
    HRESULT hr = S_OK;
    if (viaInvoke)
    {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_DISPATCH;
        argument.pdispVal = static_cast<ON16::IQuickFilingDialog*>(this);
        DISPPARAMS params{&argument, nullptr, 1, 0};
        hr = callback_->Invoke(ON16::DISPID_OnDialogClosed, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                               nullptr, nullptr, nullptr);
    }
    else
    {
        hr = callback_->OnDialogClosed(this);
    }
    AppendCall({L"Callback.OnDialogClosed", hr,
                {Number(GetCurrentThreadId()), Number(button), selected, viaInvoke ? L"invoke" : L"vtable"}});
    callback_ = nullptr;
    DestroyWindow(messageWindow_);
    messageWindow_ = nullptr;
    Release();
}

STDMETHODIMP QuickFilingDialog::get_SelectedItem(BSTR* out)
{
    return GetText(L"QuickFilingDialog.get_SelectedItem", selected_, out);
}
STDMETHODIMP QuickFilingDialog::get_PressedButton(ULONG* out)
{
    return GetPlain(L"QuickFilingDialog.get_PressedButton", out, pressedButton_);
}
STDMETHODIMP QuickFilingDialog::put_TreeCollapsedState(ON16::TreeCollapsedStateType value)
{
    Call call(L"QuickFilingDialog.put_TreeCollapsedState", {Number(value)});
    return call.Injected() ? call.Failed() : call.Done(S_OK);
}
STDMETHODIMP QuickFilingDialog::put_NotebookFilterOut(ON16::NotebookFilterOutType value)
{
    Call call(L"QuickFilingDialog.put_NotebookFilterOut", {Number(value)});
    return call.Injected() ? call.Failed() : call.Done(S_OK);
}
STDMETHODIMP QuickFilingDialog::ShowCreateNewNotebook()
{
    Call call(L"QuickFilingDialog.ShowCreateNewNotebook", {});
    return call.Injected() ? call.Failed() : call.Done(S_OK);
}
STDMETHODIMP QuickFilingDialog::AddInitialEditor(BSTR initialEditor)
{
    Call call(L"QuickFilingDialog.AddInitialEditor", {Text(initialEditor)});
    return call.Injected() ? call.Failed() : call.Done(S_OK);
}
STDMETHODIMP QuickFilingDialog::ClearInitialEditors()
{
    Call call(L"QuickFilingDialog.ClearInitialEditors", {});
    return call.Injected() ? call.Failed() : call.Done(S_OK);
}
STDMETHODIMP QuickFilingDialog::ShowSharingHyperlink()
{
    Call call(L"QuickFilingDialog.ShowSharingHyperlink", {});
    return call.Injected() ? call.Failed() : call.Done(S_OK);
}

const std::vector<DispatchEntry>& QuickFilingDialog::Members() const
{
    using I = ON16::IQuickFilingDialog;
    static const std::vector<DispatchEntry> members{
        STANDIN_GET(I, Title, 0x60020000),
        STANDIN_PUT(I, Title, 0x60020000),
        STANDIN_GET(I, Description, 0x60020002),
        STANDIN_PUT(I, Description, 0x60020002),
        STANDIN_GET(I, CheckboxText, 0x60020004),
        STANDIN_PUT(I, CheckboxText, 0x60020004),
        STANDIN_GET(I, CheckboxState, 0x60020006),
        STANDIN_PUT(I, CheckboxState, 0x60020006),
        STANDIN_GET(I, WindowHandle, 0x60020008),
        STANDIN_GET(I, TreeDepth, 0x60020009),
        STANDIN_PUT(I, TreeDepth, 0x60020009),
        STANDIN_GET(I, ParentWindowHandle, 0x6002000B),
        STANDIN_PUT(I, ParentWindowHandle, 0x6002000B),
        STANDIN_GET(I, Position, 0x6002000D),
        STANDIN_PUT(I, Position, 0x6002000D),
        STANDIN_METHOD(I, SetRecentResults, 0x6002000F),
        STANDIN_METHOD(I, AddButton, 0x60020010),
        STANDIN_METHOD(I, Run, 0x60020011),
        STANDIN_GET(I, SelectedItem, 0x60020012),
        STANDIN_GET(I, PressedButton, 0x60020013),
        STANDIN_PUT(I, TreeCollapsedState, 0x60020014),
        STANDIN_PUT(I, NotebookFilterOut, 0x60020015),
        STANDIN_METHOD(I, ShowCreateNewNotebook, 0x60020016),
        STANDIN_METHOD(I, AddInitialEditor, 0x60020017),
        STANDIN_METHOD(I, ClearInitialEditors, 0x60020018),
        STANDIN_METHOD(I, ShowSharingHyperlink, 0x60020019),
    };
    return members;
}
} // namespace StandIn
