#pragma once
// How a failure of the loader or of a search reaches the user: one message box owned by the main
// window, captioned "Error" in the UI language, with "Failed to load pages", ":" and the error's
// text. Cancellation (E_ABORT) is never shown, and nothing is shown once the window has closed (the
// program is quitting): no one would expect a box then. Each failure goes to the log all the same.

#include <comdef.h>

#include <string>
#include <vector>

// The text the message box shows for error.
std::wstring WorkerFailureText(const _com_error& error);

// Shows the failure, unless it is a cancellation or the program is quitting.
void ShowWorkerFailure(const _com_error& error);

// A notebook, section or page that OneNote would not give during a load, which the load left out:
// where it is (the notebook, section groups, section and page title, as the calendar names them)
// and OneNote's text for why.
struct UnreadableItem
{
    std::wstring location;
    std::wstring reason;
};

// How many a box lists by name; it counts the others.
constexpr size_t ListedUnreadableItems = 10;

// The text of the box that tells, once a load has ended, how many could not be read: "Failed to
// load pages" and their number, then a line for each of the first ListedUnreadableItems (its
// location, " - " and the reason), and a line "…" when there are more.
std::wstring UnreadableItemsText(const std::vector<UnreadableItem>& items);

// Shows that box, unless there is nothing to tell or the program is quitting.
void ShowUnreadableItems(const std::vector<UnreadableItem>& items);

// The modal box itself, replaceable (text, caption); the default is MessageBoxW with MB_OK owned
// by the main window. Gives back the one it replaces.
using FailureMessageBox = void (*)(const std::wstring& text, const std::wstring& caption);
FailureMessageBox SetFailureMessageBox(FailureMessageBox show);
