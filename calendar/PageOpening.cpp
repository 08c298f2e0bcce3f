#include "calendar/PageOpening.h"

#include "calendar/CalendarState.h"
#include "calendar/OneNoteCalls.h"
#include "calendar/UiLanguages.h"
#include "framework/com/ErrorMessage.h"
#include "onenote_model/Page.h"

namespace
{
using WindowsPtr = _com_ptr_t<_com_IIID<ON16::Windows, &__uuidof(ON16::Windows)>>;
using WindowPtr = _com_ptr_t<_com_IIID<ON16::Window, &__uuidof(ON16::Window)>>;

template <typename T>
void Check(HRESULT hr, T* source)
{
    if (FAILED(hr))
        _com_issue_errorex(hr, source, __uuidof(T));
}

void NavigateToPage(const std::wstring& id)
{
    OneNoteApplicationPtr application;
    if (FAILED(CreateOneNoteApplication(application)) || !application)
        _com_issue_error(E_POINTER);
    WindowsPtr windows;
    Check(application->get_Windows(&windows), application.GetInterfacePtr());
    if (!windows)
        _com_issue_error(E_POINTER);
    ULONG count = 0;
    Check(windows->get_Count(&count), windows.GetInterfacePtr());
    WindowPtr current;
    VARIANT_BOOL sideNote = VARIANT_FALSE;
    if (count > 0)
    {
        Check(windows->get_CurrentWindow(&current), windows.GetInterfacePtr());
        if (!current)
            _com_issue_error(E_POINTER);
        Check(current->get_SideNote(&sideNote), current.GetInterfacePtr());
    }
    if (count == 0 || sideNote)
    {
        Check(application->NavigateTo(_bstr_t(id.c_str()), _bstr_t(L""), VARIANT_TRUE),
              application.GetInterfacePtr());
        return;
    }
    Check(current->NavigateTo(_bstr_t(id.c_str()), _bstr_t(L"")), current.GetInterfacePtr());
    // OneNote's process may take the foreground only when the calendar, which has it, allows so.
    if (const HRESULT hr = CoAllowSetForegroundWindow(current, nullptr); FAILED(hr))
        _com_issue_error(hr);
    Check(current->put_Active(VARIANT_TRUE), current.GetInterfacePtr());
    ULONGLONG handle = 0;
    Check(current->get_WindowHandle(&handle), current.GetInterfacePtr());
    SetForegroundWindow(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle)));
}
} // namespace

void OpenPageInOneNote(const ON::Page& page)
{
    if (!page.hierarchy.ID)
        return;
    try
    {
        NavigateToPage(*page.hierarchy.ID);
    }
    catch (const _com_error& error)
    {
        MessageBoxW(GetCalendarState().mainWindow,
                    (GetUiString(StrFailedToOpenPage) + L"\n" + GetErrorMessage(error)).c_str(),
                    GetUiString(StrError).c_str(), MB_OK);
    }
}
