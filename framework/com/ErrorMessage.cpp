#include "framework/com/ErrorMessage.h"

#include "framework/Owners.h"
#include "framework/com/ErrorInfo.h"

#include <cstdio>
#include <map>

namespace
{
const std::map<HRESULT, const wchar_t*>& OneNoteErrorTexts()
{
    static const std::map<HRESULT, const wchar_t*> texts = {
        {static_cast<HRESULT>(0x80042000), L"Page content or notebook hierarchy is not well-formed."},
        {static_cast<HRESULT>(0x80042001), L"Page content or notebook hierarchy is invalid."},
        {static_cast<HRESULT>(0x80042002), L"The section could not be created."},
        {static_cast<HRESULT>(0x80042003), L"The section could not be opened."},
        {static_cast<HRESULT>(0x80042004), L"The section does not exist."},
        {static_cast<HRESULT>(0x80042005), L"The page does not exist."},
        {static_cast<HRESULT>(0x80042006), L"The file does not exist."},
        {static_cast<HRESULT>(0x80042007), L"The image could not be inserted."},
        {static_cast<HRESULT>(0x80042008), L"The ink could not be inserted."},
        {static_cast<HRESULT>(0x80042009), L"The HTML could not be inserted."},
        {static_cast<HRESULT>(0x8004200A), L"The page could not be opened."},
        {static_cast<HRESULT>(0x8004200B), L"The section is read-only."},
        {static_cast<HRESULT>(0x8004200C), L"The page is read-only."},
        {static_cast<HRESULT>(0x8004200D), L"The outline text could not be inserted."},
        {static_cast<HRESULT>(0x8004200E), L"The page object does not exist."},
        {static_cast<HRESULT>(0x8004200F), L"The binary object does not exist."},
        {static_cast<HRESULT>(0x80042010), L"The last modified date does not match."},
        {static_cast<HRESULT>(0x80042011), L"The section group does not exist."},
        {static_cast<HRESULT>(0x80042012), L"The page does not exist in the section group."},
        {static_cast<HRESULT>(0x80042013), L"There is no active selection."},
        {static_cast<HRESULT>(0x80042014), L"The object does not exist."},
        {static_cast<HRESULT>(0x80042015), L"The notebook does not exist."},
        {static_cast<HRESULT>(0x80042016), L"The file could not be inserted."},
        {static_cast<HRESULT>(0x80042017), L"The name is invalid."},
        {static_cast<HRESULT>(0x80042018), L"The folder (section group) does not exist."},
        {static_cast<HRESULT>(0x80042019), L"The query is invalid."},
        {static_cast<HRESULT>(0x8004201A), L"The file already exists."},
        {static_cast<HRESULT>(0x8004201B), L"The section is encrypted and locked."},
        {static_cast<HRESULT>(0x8004201C), L"The action is disabled by a policy."},
        {static_cast<HRESULT>(0x8004201D), L"OneNote has not yet synchronized content."},
        {static_cast<HRESULT>(0x8004201E), L"The section is from OneNote 2007 or earlier."},
        {static_cast<HRESULT>(0x8004201F), L"The merge operation failed."},
        {static_cast<HRESULT>(0x80042020), L"The XML Schema is invalid."},
        {static_cast<HRESULT>(0x80042022),
         L"Cannot continue this operation as there is content on this page from a future version of OneNote."},
        {static_cast<HRESULT>(0x80042023), L"The action timed out."},
        {static_cast<HRESULT>(0x80042024), L"Audio recording is in progress."},
        {static_cast<HRESULT>(0x80042025), L"The linked-note state is unknown."},
        {static_cast<HRESULT>(0x80042026), L"No short name exists for the linked note."},
        {static_cast<HRESULT>(0x80042027), L"No friendly name exists for the linked note."},
        {static_cast<HRESULT>(0x80042028), L"The linked note URI is invalid."},
        {static_cast<HRESULT>(0x80042029), L"The linked note thumbnail is invalid."},
        {static_cast<HRESULT>(0x8004202A), L"The importation of linked note thumbnail failed."},
        {static_cast<HRESULT>(0x8004202B), L"Unread highlighting is disabled for the notebook."},
        {static_cast<HRESULT>(0x8004202C), L"The selection is invalid."},
        {static_cast<HRESULT>(0x8004202D), L"The conversion failed."},
        {static_cast<HRESULT>(0x8004202E), L"Edit failed in the Recycle Bin."},
        {static_cast<HRESULT>(0x80042030), L"OneNote has a modal dialog box open."},
    };
    return texts;
}

// The description an error carries; a failing or missing error information counts as none.
std::wstring Description(const _com_error& error)
{
    const IErrorInfoPtr info(error.ErrorInfo(), false);
    if (!info)
        return {};
    BSTR text = nullptr;
    if (FAILED(info->GetDescription(&text)))
        return {};
    const _bstr_t owned(text, false);
    return text ? std::wstring(text, owned.length()) : std::wstring();
}
} // namespace

const wchar_t* FindOneNoteErrorText(HRESULT hr)
{
    const auto& texts = OneNoteErrorTexts();
    const auto found = texts.find(hr);
    return found == texts.end() ? nullptr : found->second;
}

std::wstring GetSystemErrorMessage(HRESULT hr)
{
    Owners::LocalMemory buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(hr), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(buffer.put()),
        0, nullptr);
    if (length > 0 && buffer)
    {
        std::wstring text(static_cast<const wchar_t*>(buffer.get()), length);
        if (text.size() > 1 && text.back() == L'\n')
        {
            text.pop_back();
            if (text.back() == L'\r')
                text.pop_back();
        }
        return text;
    }
    wchar_t text[32] = {};
    const WORD code = _com_error::HRESULTToWCode(hr);
    if (code != 0)
        swprintf(text, 32, L"IDispatch error #%d", code);
    else
        swprintf(text, 32, L"Unknown error 0x%0lX", static_cast<unsigned long>(hr));
    return text;
}

std::wstring GetErrorMessage(const _com_error& error)
{
    const HRESULT hr = error.Error();
    const std::wstring description = Description(error);
    if (const wchar_t* oneNoteText = FindOneNoteErrorText(hr))
        return description.empty() ? oneNoteText : description + L"\r\n\r\n" + oneNoteText;
    if (!description.empty())
        return description;
    std::wstring text = GetSystemErrorMessage(hr);
    if (text.empty())
        text = L"HRESULT: " + std::to_wstring(static_cast<long>(hr));
    return text;
}

std::wstring GetErrorMessage(HRESULT hr)
{
    if (const wchar_t* oneNoteText = FindOneNoteErrorText(hr))
        return oneNoteText;
    wchar_t text[32] = {};
    swprintf(text, 32, L"HRESULT: 0x%08lX", static_cast<unsigned long>(hr));
    return text;
}
