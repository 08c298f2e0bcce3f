#pragma once
// The hand-over of an update by command line: the downloaded program takes the old one's place and
// starts it again; when it cannot, the old program stays as it was and is started again.

#include "framework/Owners.h"

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

// How long the install waits for the old program to end once its window has gone: it may still
// finish a load, a search or a stopped import, and a user waits that long for the program to return.
constexpr DWORD OldProgramEndWait = 2 * 60 * 1000;

// The process that started this one, when it runs program (the same file under any path), and
// started before this one: the old program that hands an update over, or the install that started
// the updated program. Null for any other parent (a program started by hand).
Owners::ProcessHandle OpenStartingProgram(const std::wstring& program);

// Waits up to milliseconds for the old program that started this install (OpenStartingProgram) to
// end: true once it has ended, or when no such program started this one.
bool WaitForOldProgramToEnd(const std::wstring& target, DWORD milliseconds);

// Whether target may be replaced by source: an existing ".exe" other than source itself (the
// target comes from a command line anyone can write).
bool IsReplaceableProgram(const std::wstring& source, const std::wstring& target);

// Puts source in place of target: written whole beside it under a name of its own, then, once the
// old program that started this one has ended (WaitForOldProgramToEnd, OldProgramEndWait), moved
// over it in one step once nothing else holds it (tried InstallTries times while it is held; any
// other error ends the try at once). False when it refused or failed (logged): target is
// then as it was, and nothing is left beside it.
bool ReplaceProgramFile(const std::wstring& source, const std::wstring& target);

// The install step of both programs: puts source in place of target (ReplaceProgramFile) and starts
// it with restartArguments; when that fails, starts the old target again without arguments, so that
// the user is never left without the program. A target that may not be replaced is left alone, and
// nothing is started. True when the new program was installed and started.
bool InstallProgramOver(const std::wstring& source, const std::wstring& target, const std::wstring& restartArguments);

// "/install": puts the running program in place of target (ReplaceProgramFile) and starts it with
// "/showUpdateInfo " and version; when that fails, starts the old target again without arguments.
// A target that may not be replaced is left alone, and nothing is started.
void InstallSelfCopy(const std::wstring& target, const std::wstring& version);
// The same with the program file to install given.
void InstallSelfCopyFrom(const std::wstring& source, const std::wstring& target, const std::wstring& version);

// Removes what updates leave behind: the downloaded program, once the install that ran it has ended
// (waited for a little when it started this program), and the cut-off pieces ("*.partial") of a
// download beside it and of an install beside the running program. A file still in use stays for
// the next start.
void RemoveUpdateLeftovers(const std::wstring& downloadedProgram);

// The pause between two looks at the old program's file: Sleep unless replaced.
extern std::function<void(DWORD milliseconds)> InstallRetryPause;
