#pragma once
// The update client's public face, all that the programs use of it: who is asking the update
// service, the version check, the download of a new version and its install hand-over, and the
// What's New window.

#include "framework/ui/ClosureChannel.h"
#include "update/ProductIdentity.h"
#include "update/SelfInstall.h"
#include "update/ServiceEndpoint.h"
#include "update/VersionCheck.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Opens the download window for the running product and returns at once. Once the new program is
// downloaded it is started with "/install", the own path and the release's version, and held
// before its first step while beforeInstall runs: the caller closes what must be closed, through
// its close handlers, and answers whether all of it closed. When it did not (the user kept a
// running import), the new program is ended before it ran and nothing is said. A program that does
// not start is reported, and beforeInstall does not run.
void InstallUpdates(HWND owner, std::function<bool()> beforeInstall);

// The bytes of "getFile" for the product's update file id; raises a COM error for a failed answer,
// one without a Content-Length, one shorter than its Content-Length (also when the progress
// callback stopped the reading) and one that is not a Windows program. The callback is told (bytes
// so far, Content-Length or 0) after every read; false stops reading.
std::string RequestProgramFile(const std::string& updateFileId,
                               std::function<bool(uint64_t done, uint64_t total)> progress);

// Writes the program beside path under a name of its own (see ProgramFile.h), then moves it over
// path, replacing an earlier file; when that fails (COM error) path is as it was and nothing is
// left beside it. A path that cannot be replaced because it is in use (another download of the
// same program started it) counts as written when it holds the same bytes.
void WriteProgramFile(const std::wstring& path, const std::string& program);

// Asks the service for the product information and shows the versions before sinceVersion (without
// one: only the newest). Request errors are raised; an answer with nothing to show shows nothing.
// It waits for the service on the calling thread: a window's thread asks ShowWhatsNewWhenReady.
void ShowWhatsNew(HWND owner, const std::string& productName, const std::optional<std::wstring>& sinceVersion,
                  bool modal);

// The same with the service asked on a worker thread, so that the windows of the calling thread
// answer while it does; returns at once. The window is shown, owned by owner, on the thread of
// channel's window, unless that window has gone meanwhile. A failure of the request (or of the
// memory for its answer) and one of the showing are logged. whenDone, when given, runs there
// afterwards: with an empty text once the window was shown (a modal one closed), or with the
// request's failure. Raises a COM error when no worker can be started.
void ShowWhatsNewWhenReady(UiChannel channel, HWND owner, const std::string& productName,
                           const std::optional<std::wstring>& sinceVersion, bool modal,
                           std::function<void(const std::wstring& failure)> whenDone);
