#pragma once
// Lumday's start-up, message loop and exit.

#include <windows.h>

#include <string>

// Everything WinMain does; returns the program's exit code.
int RunLumday(HINSTANCE instance, const std::wstring& commandLine, int showCommand);
