#include "calendar/WorkerFailure.h"

#include "calendar/CalendarState.h"
#include "calendar/UiLanguages.h"
#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"

#include <atomic>

namespace
{
void ShowOwnedMessageBox(const std::wstring& text, const std::wstring& caption)
{
    MessageBoxW(GetCalendarState().mainWindow, text.c_str(), caption.c_str(), MB_OK);
}

std::atomic<FailureMessageBox>& CurrentMessageBox()
{
    static std::atomic<FailureMessageBox> show{&ShowOwnedMessageBox};
    return show;
}
} // namespace

std::wstring WorkerFailureText(const _com_error& error)
{
    return GetUiString(StrFailedToLoadPages) + L":\r\n" + GetErrorMessage(error) + L"\r\n";
}

void ShowWorkerFailure(const _com_error& error)
{
    if (error.Error() == E_ABORT)
        return;
    const std::wstring text = WorkerFailureText(error);
    GetLog(true) << L"ERROR: " << text;
    CurrentMessageBox().load()(text, GetUiString(StrError));
}

FailureMessageBox SetFailureMessageBox(FailureMessageBox show) { return CurrentMessageBox().exchange(show); }
