#pragma once
// Lumday's start-up, message loop and exit.

#include <windows.h>

#include <string>

// Everything WinMain does; returns the program's exit code.
int RunLumday(HINSTANCE instance, const std::wstring& commandLine, int showCommand);

// How long the end of a run waits for its workers: told to stop, each ends within one call into
// OneNote (or the update service), or within 50 ms of a wait for a busy OneNote.
constexpr DWORD ExitWaitLimit = 5000;

// The end of a run: the workers are told to stop and waited for (up to waitLimit milliseconds),
// then the settings are written with the text size in use, waiting up to heldFileWait
// milliseconds for a file that another program holds. Run after the message loop, and when
// Windows ends the session, which ends the process without the loop ending. False when a worker
// still runs: one of its calls does not come back.
bool StopWorkAndSaveSettings(DWORD waitLimit, ULONGLONG heldFileWait);

// What the settings have to tell the user (TakeSettingsNotice), in one box owned by owner (none
// once the window is gone); nothing when there is nothing to tell.
void ShowSettingsNotice(HWND owner);
