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
// called off; GetLastError is then ERROR_CANCELLED) or throws, the process is ended (and waited
// for, up to ten seconds, so that its file is free).
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

// The product name of a program's version resource (its first language's); empty when it has none.
std::wstring ProgramProductName(const std::wstring& path);

// Whether target may be replaced by source: an existing ".exe" other than source itself whose
// version resource names source's product (the target comes from a command line anyone can write,
// and may name any program). A target that another holds without letting it be read is looked at
// again as the install looks at a held file (InstallTries, InstallRetryPause).
bool IsReplaceableProgram(const std::wstring& source, const std::wstring& target);

// The first argument of the program that an install starts: the new program after an install
// (followed by the replaced version for Sheafin), and the old program started again after an
// install that failed, which makes no update check in that run so that it does not install the
// same update at once.
inline constexpr const wchar_t* ShowUpdateInfoArgument = L"/showUpdateInfo";
inline constexpr const wchar_t* UpdateNotInstalledArgument = L"/updateNotInstalled";

// The install step of both programs: puts source in place of target and starts it with
// restartArguments. Source is written whole beside target under a name of its own, then, once the
// old program that started this one (OpenStartingProgram) has ended, moved over target in one step
// once nothing else holds it (tried InstallTries times while it is held; any other error ends the
// try at once). When that fails (logged), target is as it was, nothing is left beside it, and the
// old target is started again with UpdateNotInstalledArgument, so that the user is never left
// without the program. Whatever fails, nothing is started before the old program has ended (waited
// for up to OldProgramEndWait in all), and nothing at all while it still runs. A target that may
// not be replaced is left alone, and nothing is started. True when the new program was installed
// and started.
bool InstallProgramOver(const std::wstring& source, const std::wstring& target, const std::wstring& restartArguments);

// "/install": puts the running program in place of target (InstallProgramOver) and starts it with
// "/showUpdateInfo " and version; when that fails, starts the old target again as InstallProgramOver
// does. A target that may not be replaced is left alone, and nothing is started.
void InstallSelfCopy(const std::wstring& target, const std::wstring& version);
// The same with the program file to install given.
void InstallSelfCopyFrom(const std::wstring& source, const std::wstring& target, const std::wstring& version);

// Removes what updates leave behind: the downloaded program, on the start that the install which
// ran it made (ShowUpdateInfoArgument or UpdateNotInstalledArgument; the install is waited for a
// little to end), never at another start, where a file of that name may be the user's own;
// and the cut-off pieces ("<file>.<process id>-<count>.partial") of downloads beside it and of
// installs beside the running program whose process has ended. A piece whose download or install
// still runs stays. Without a downloaded program's path (its folder could not be found) only the
// pieces beside the running program are looked for.
void RemoveUpdateLeftovers(const std::wstring& downloadedProgram);

// The pause between two looks at the old program's file: Sleep unless replaced.
extern std::function<void(DWORD milliseconds)> InstallRetryPause;
