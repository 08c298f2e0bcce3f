#pragma once
// Which OneNote runs. Some OneNote builds do not place new page content themselves, so the
// importers place it on those; the build is read from the version resource of OneNote's
// executable, found through OneNote's current window or, failing that, the process list.

#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/onenote/OneNoteAutomation.h"
#include "import_engine/OneNoteCalls.h"

// The version of the executable behind OneNote's current window, else of the first running
// onenote.exe; absent when neither can be read. Raises E_POINTER when OneNote gives no windows
// collection, and what the calls into OneNote raise. The calls wait out OneNote's busy answers
// while patience lasts when given (else as every call).
FileVersion GetOneNoteVersion(ON16::IApplication& application, BusyPatience* patience = nullptr);

// The first running process whose executable is named onenote.exe (in any case), opened for
// querying; empty when there is none. Raises E_UNEXPECTED when the processes cannot be listed.
Owners::ProcessHandle FindOneNoteProcess();

// Whether OneNote is one of the builds that need explicit positions: 16.0.16328 to 16.0.16614.
bool IsAffectedOneNoteBuild(const FileVersion& version);
bool IsAffectedOneNoteVersion(ON16::IApplication& application, BusyPatience* patience = nullptr);
