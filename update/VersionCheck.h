#pragma once
// Whether the update service offers a version other than the running one.

#include <string>

// What a build without the service operator's key says where others check for updates.
inline constexpr const wchar_t* CannotCheckForUpdatesText = L"This build cannot check for updates";

// Whether this build may ask the update service at all: only one that carries the operator's key
// (a setting of the build). Without it no request is sent.
bool CanCheckForUpdates();

// The body of the service's "getVersion" answer for the product, unaltered.
std::string GetLatestVersion(const std::string& productName);

// True when a "getVersion" answer, trimmed of white space, is a version number (digits and dots)
// other than the running version: the one rule both programs offer an update by.
bool IsOfferedVersion(const std::string& answer);

// Why an update could not be installed over the running program (CheckProgramReplaceable): where
// the program is and the system's text of why. Empty when it could.
std::wstring WhyUpdateCannotBeInstalled();

// Why the download window could not put a new program where it puts it (the user's Downloads
// folder): the folder cannot be found, is not there, or may not be written. Empty when it could.
std::wstring WhyUpdateCannotBeDownloaded();

// What a check for updates found: whether an update is offered (IsOfferedVersion), or why the
// check could not be made (the request's error), for a check a person asked for.
struct VersionCheckResult
{
    bool updateFound = false;
    // Empty when the service answered.
    std::wstring failure;
    // With an update found: why it cannot be installed (WhyUpdateCannotBeInstalled); empty when it
    // can. Nothing of such an update is downloaded.
    std::wstring notInstallable;
    // With an update found that could be installed: why the download window cannot download it
    // (WhyUpdateCannotBeDownloaded); empty when it can.
    std::wstring notDownloadable;
};
// The check of the program whose updates the download window fetches.
VersionCheckResult CheckForNewerVersion(const std::string& productName);

// True when the service's version, trimmed of white space, is a version number (digits and dots)
// other than the running version. There is no ordering: an older number is offered too. An empty
// or garbled answer and any request error mean no update: the check that runs by itself is silent.
bool IsNewerVersionAvailable(const std::string& productName);
