#pragma once
// The import engine's public face, all that Sheafin's window uses of it: the run's configuration
// and what it reports back, the run itself, the errors of an import, the calls into OneNote with
// their busy retry, what the user picked as the target, the kinds of files the list shows, and who
// is asked for the password of a protected document.

#include "import_engine/FileKinds.h"
#include "import_engine/HierarchyObject.h"
#include "import_engine/ImportConfig.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/TOrError.h"

#include <functional>
#include <optional>
#include <string>

// The number of entries imported (skipped and failed ones are not), or the error that ended the
// run. config.entries becomes the flat list. The progress callback must be set; without an error
// callback the first failing entry ends the run.
TOrError<unsigned> RunImport(Config& config, const ProgressCallback& progress, const ErrorCallback& onError);

// What the window may tell a run as it ends, and what the run tells besides its result.
struct RunEnding
{
    // Asked, once the user has stopped the run, while it waits out OneNote's busy answers as it
    // ends (taking back the entry it was at, saving the page it was filling, removing what it made
    // for itself and left empty): true ends the waiting at OneNote's next answer, and what is not
    // done by then stays and is named. Unset, such waiting lasts its 30 seconds.
    std::function<bool()> stopWaiting;
    // Set when the run imported what it was asked for while a page or section it made for itself
    // and left empty stays (OneNote kept it, or the end did not get to it): told beside the count
    // of what was imported, not as a failure.
    std::wstring notice;
};
TOrError<unsigned> RunImport(Config& config, const ProgressCallback& progress, const ErrorCallback& onError,
                             RunEnding& ending);

// Asked for the password of a protected document: the path and the password just tried (none on
// the first try). Answers with a password to try, with none to skip the document, or raises a
// _com_error of E_ABORT to stop the import.
using PasswordProvider =
    std::function<std::optional<std::wstring>(std::wstring path, std::optional<std::wstring> triedPassword)>;

// Replaces the process's password provider (set once by the main window before any import) and
// returns the one it replaces; an empty provider means nobody is asked.
PasswordProvider SetPasswordProvider(PasswordProvider provider);
