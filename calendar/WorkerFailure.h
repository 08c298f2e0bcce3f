#pragma once
// How a failure of the loader or of a search reaches the user: one message box owned by the main
// window, captioned "Error" in the UI language, with "Failed to load pages", ":" and the error's
// text. Cancellation (E_ABORT) is never shown.

#include <comdef.h>

#include <string>

// The text the message box shows for error.
std::wstring WorkerFailureText(const _com_error& error);

// Shows the failure, unless it is a cancellation.
void ShowWorkerFailure(const _com_error& error);

// The modal box itself, replaceable (text, caption); the default is MessageBoxW with MB_OK owned
// by the main window. Gives back the one it replaces.
using FailureMessageBox = void (*)(const std::wstring& text, const std::wstring& caption);
FailureMessageBox SetFailureMessageBox(FailureMessageBox show);
