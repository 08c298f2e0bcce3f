#pragma once
// Lumday's start-up, message loop and exit.

#include <windows.h>

#include <string>

// Everything WinMain does; returns the program's exit code.
int RunLumday(HINSTANCE instance, const std::wstring& commandLine, int showCommand);

// The end of a run: the workers are told to stop and waited for (up to waitLimit milliseconds),
// then the settings are written with the text size in use. Run after the message loop, and when
// Windows ends the session, which ends the process without the loop ending.
void StopWorkAndSaveSettings(DWORD waitLimit = INFINITE);
