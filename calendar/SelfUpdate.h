#pragma once
// Lumday's self-update: at most once every seven days a worker asks the update service for the
// latest version; any other version than the running one is downloaded into the temporary folder
// as "lumday1.exe" and started with the running program's path, and the calendar closes. The
// restarted program opens the update page of its version.

#include "framework/text/DateTime.h"

#include <functional>
#include <string>

// The earliest time of the next check after one made at last: seven days on the local clock.
DateTime NextUpdateCheck(const DateTime& last);
// Whether a check is due now: seven days after the last, or at once when the last is later than now.
bool IsUpdateCheckDue(const DateTime& last, const DateTime& now);

// The update worker's whole task. Returns true when the new program was started (the main window
// has then been asked to close); every failure is silent and leaves the calendar running. A build
// that cannot check for updates logs so and asks nothing; an update that could not be installed
// where the program is (WhyUpdateCannotBeInstalled) is logged and not downloaded.
bool CheckForUpdate(const std::function<void(float)>& progress);

// The update worker's task around check (CheckForUpdate in the program), which reports its
// progress to the calendar: whatever check raises ends the update silently and leaves no progress
// on the calendar.
void RunUpdateCheck(const std::function<bool(const std::function<void(float)>&)>& check);

// The service's answer to "getVersion", unaltered.
std::string RequestLatestVersion();

// Fetches the new program whole into the temporary folder and returns its path; progress is told
// 0.5 once the whole program has arrived and 1 once it is written.
std::wstring DownloadUpdate(const std::function<void(float)>& progress);

// Starts program with the arguments and, only when it runs, asks the main window (if any) to close.
bool StartProgram(const std::wstring& program, const std::wstring& arguments);

// Removes the downloaded program on the start that its install made, and the pieces of cut-off
// downloads and installs whose process has ended (RemoveUpdateLeftovers): at every start but the
// install step.
void RemoveDownloadedUpdate();

// Queues the update worker once per run, unless this run follows an update.
void StartUpdateCheck();

// The update service's page of the running version, and opening it in the browser.
std::wstring GetUpdateInfoAddress();
void ShowUpdateInfo();
