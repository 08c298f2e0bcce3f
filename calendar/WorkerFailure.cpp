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

void ShowUnlessQuitting(const std::wstring& text)
{
    if (!GetCalendarState().quitting)
        CurrentMessageBox().load()(text, GetUiString(StrError));
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
    ShowUnlessQuitting(text);
}

std::wstring UnreadableItemsText(const std::vector<UnreadableItem>& items)
{
    std::wstring text = GetUiString(StrFailedToLoadPages) + L" (" + std::to_wstring(items.size()) + L"):\r\n";
    for (size_t i = 0; i < items.size() && i < ListedUnreadableItems; ++i)
        text += items[i].location + L" - " + items[i].reason + L"\r\n";
    if (items.size() > ListedUnreadableItems)
        text += L"\u2026\r\n";
    return text;
}

void ShowUnreadableItems(const std::vector<UnreadableItem>& items)
{
    if (!items.empty())
        ShowUnlessQuitting(UnreadableItemsText(items));
}

FailureMessageBox SetFailureMessageBox(FailureMessageBox show) { return CurrentMessageBox().exchange(show); }
