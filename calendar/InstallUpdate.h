#pragma once
// The install step of a self-update, run by the downloaded program: it copies itself over the old
// program once that has ended, and starts the old path again.

#include <string>

// Replaces target with the running program once the old program that started this one has ended
// (InstallProgramOver: it waits up to two minutes for it, then tries once a second for a minute
// while the file is held), then starts target with "/showUpdateInfo". When it cannot replace it
// (a folder that may not be written, a full disk), target is started again as it was once the old
// program has ended, told not to check for updates, and the failure is logged; while the old
// program still runs, nothing is started. False unless the new program was installed.
bool InstallUpdate(const std::wstring& target);
