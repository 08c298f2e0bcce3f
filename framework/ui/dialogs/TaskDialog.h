#pragma once
// A choice among written-out actions: a modal window with the program's icon, a main instruction,
// a content text (which may hold links) and one large command button per choice.

#include "framework/ui/Window.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Called with the dialog's window and the index of the pressed button: 0 closes the dialog, any
// other result keeps it open for another choice.
using TaskDialogCallback = std::function<long(HWND window, unsigned button)>;

// The index of the pressed button, or buttons.size() when the dialog was closed without a choice
// (Escape, the close box). That value names no button, so each caller decides what closing means:
// the import's error prompt, for one, leaves the file out and goes on, as its skip button does.
// The flag is accepted and not used.
unsigned ShowTaskDialog(HWND parent, const wchar_t* title, const wchar_t* mainInstruction, const wchar_t* content,
                        const std::vector<std::wstring>& buttons, bool flag);

// True when a callback result of 0 closed the dialog, false when it was closed otherwise. The flag
// is accepted and not used.
bool ShowTaskDialog(HWND parent, const wchar_t* title, const wchar_t* mainInstruction, const wchar_t* content,
                    const std::vector<std::wstring>& buttons, bool flag, const TaskDialogCallback& callback);

// Builds and runs the dialog until it ends. It is always modal and centred over its owner: the
// location and both flags are accepted and not used. A null or empty main instruction or content
// is not shown.
void ShowTaskDialog(HWND parent, const wchar_t* title, const wchar_t* mainInstruction, const wchar_t* content,
                    Window::Location location, const std::vector<std::wstring>& buttons, bool flag1, bool flag2,
                    const TaskDialogCallback& callback);
