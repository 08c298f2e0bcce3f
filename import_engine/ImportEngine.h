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
//
// A run that ends early (the user stopped it, or an entry's failure ends it) waits out OneNote's
// busy answers for 30 seconds in all as it ends: taking back the entry it was at, saving the page
// it was filling, removing what it made for itself and left empty. The user's stop ends the waiting
// under way; once every entry is done that is all it does, and the run imported what it was asked
// for. When the page being filled does not reach OneNote, the error callback is asked about it (an
// entry without a path), also after a stop: a retry sends it again with the waiting begun afresh,
// and only a stop gives up what has not reached OneNote.
struct RunEnding
{
    // Asked while the run waits for OneNote as it ends, once the user's stop has ended the run's
    // entries or an earlier waiting: true ends the waiting at OneNote's next answer, and what is
    // not done by then stays and is named. Unset, such waiting lasts its 30 seconds.
    std::function<bool()> stopWaiting;
    // Set when a page or section the run made for itself and left empty stays (OneNote kept it,
    // or the end did not get to it) while the run imported files as it was asked, or the user
    // stopped it: told beside the count of what was imported, or beside the stop, not as a failure.
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
