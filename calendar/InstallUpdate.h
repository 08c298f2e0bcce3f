#pragma once
// The install step of a self-update, run by the downloaded program: it copies itself over the old
// program once that has ended, and starts the old path again.

#include <functional>
#include <string>

// Replaces target with the running program, trying once a second (sleep, replaceable) up to 1000
// times, then starts target with "/showUpdateInfo". False when it gave up.
bool InstallUpdate(const std::wstring& target, const std::function<void(unsigned)>& sleep = {});

// Starts program with the arguments; false when it could not be started.
bool StartProgram(const std::wstring& program, const std::wstring& arguments);
