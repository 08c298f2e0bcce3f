#pragma once
// The hand-over of an update by command line: the downloaded program takes the old one's place and
// starts it again; when it cannot, the old program stays as it was and is started again.

#include <windows.h>

#include <functional>
#include <string>

// Starts path with args: path in double quotes unless it already carries them. False when the
// program could not be started (GetLastError tells why). beforeRun, when set, runs once the
// process exists but before it runs its first instruction; when it answers false (the start is
// called off; GetLastError is then ERROR_CANCELLED) or throws, the process is ended.
bool LaunchProcess(const std::wstring& path, const std::wstring& args, const std::function<bool()>& beforeRun = {});

// The running program's file (GetModuleFileNameW).
std::wstring GetProgramPath();

// How often the install looks whether the old program has let go of its file, once a second
// (InstallRetryPause) in between: about a minute.
constexpr int InstallTries = 60;

// Whether target may be replaced by source: an existing ".exe" other than source itself (the
// target comes from a command line anyone can write).
bool IsReplaceableProgram(const std::wstring& source, const std::wstring& target);

// Puts source in place of target: written whole beside it under a name of its own, then moved
// over it in one step once the old program lets go of it (tried InstallTries times while it is
// held; any other error ends the try at once). False when it refused or failed (logged): target is
// then as it was, and nothing is left beside it.
bool ReplaceProgramFile(const std::wstring& source, const std::wstring& target);

// "/install": puts the running program in place of target (ReplaceProgramFile) and starts it with
// "/showUpdateInfo " and version; when that fails, starts the old target again without arguments.
// A target that may not be replaced is left alone, and nothing is started.
void InstallSelfCopy(const std::wstring& target, const std::wstring& version);
// The same with the program file to install given.
void InstallSelfCopyFrom(const std::wstring& source, const std::wstring& target, const std::wstring& version);

// The pause between two looks at the old program's file: Sleep unless replaced.
extern std::function<void(DWORD milliseconds)> InstallRetryPause;
