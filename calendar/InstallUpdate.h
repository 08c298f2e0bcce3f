#pragma once
// The install step of a self-update, run by the downloaded program: it copies itself over the old
// program once that has ended, and starts the old path again.

#include <string>

// Replaces target with the running program, trying once a second up to 1000 times, then starts
// target with "/showUpdateInfo". False when it refused or gave up.
bool InstallUpdate(const std::wstring& target);
