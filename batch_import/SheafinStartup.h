#pragma once
// Sheafin's process: the services started in order, the command line, main windows one after
// another, and the services shut down in order.

#include <windows.h>

#include <optional>
#include <string>

// Everything wWinMain does; commandLine is the tail after the program's path. Returns 0.
int RunSheafin(const std::wstring& commandLine);

// What updates left behind (RemoveUpdateLeftovers): in the Downloads folder too, unless it cannot
// be found, which is logged.
void RemoveLeftoversOfUpdates();

// Installs the message-box captions and runs main windows until one ends the program; only the
// first window is given previousVersion.
void RunMainWindow(std::optional<std::wstring> previousVersion);
