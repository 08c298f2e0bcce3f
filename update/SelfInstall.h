#pragma once
// The hand-over of an update by command line: the downloaded program copies itself over the old
// one and starts it again.

#include <windows.h>

#include <functional>
#include <string>

// Starts path with args: path in double quotes unless it already carries them. False when the
// program could not be started (GetLastError tells why). beforeRun, when set, runs once the
// process exists but before it runs its first instruction; when it throws, the process is ended.
bool LaunchProcess(const std::wstring& path, const std::wstring& args, const std::function<void()>& beforeRun = {});

// The running program's file (GetModuleFileNameW).
std::wstring GetProgramPath();

// Copies source over target, trying once a second (InstallRetryPause) up to 1000 times while the
// old program still holds target. Only an existing ".exe" other than source itself is replaced.
// False when it refused or gave up (logged).
bool ReplaceProgramFile(const std::wstring& source, const std::wstring& target);

// "/install": copies the running program over target, trying once a second up to 1000 times while
// the old program still holds it, then starts target with "/showUpdateInfo " and version. Only an
// existing ".exe" other than the running program itself is replaced.
void InstallSelfCopy(const std::wstring& target, const std::wstring& version);
// The same with the program file to copy given.
void InstallSelfCopyFrom(const std::wstring& source, const std::wstring& target, const std::wstring& version);

// The pause between two tries of the copy: Sleep unless replaced.
extern std::function<void(DWORD milliseconds)> InstallRetryPause;
