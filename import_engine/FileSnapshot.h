#pragma once
// OneNote reads a file that a page names (an HTML file, a picture, an attached file) only when the
// page is saved, which may be long after its entry was imported: a file that is gone or locked by
// then would fail the whole page. The page names a copy taken when the entry is imported instead,
// in a folder of the run's own below the temporary folder for printouts. Once the page is saved,
// OneNote keeps a copy of its own, and the run's is removed.

#include "framework/Owners.h"
#include "import_engine/TOrError.h"

#include <string>
#include <vector>

namespace ON
{
class Page;
} // namespace ON

// The copies of one run: the run's folder "copies\XXXXXXXX" and, beside it, "XXXXXXXX.lock", which
// the run holds open as long as it lives, so that another run (of this Sheafin or of another one)
// tells a folder still in use from one that a run which ended or crashed left behind.
class FileCopies
{
public:
    // Removes what runs that are no longer going on left below the copies folder.
    FileCopies();
    // Removes the run's folder with whatever copies are still in it.
    ~FileCopies();
    FileCopies(const FileCopies&) = delete;
    FileCopies& operator=(const FileCopies&) = delete;

    // A copy of the file as it is. Its name is short, whatever the file's own (which the page
    // shows), so that the copy's path stays within the bounds of a path; a file that cannot be
    // read fails with its Windows error and the context "File: " and the path.
    TOrError<std::wstring> Copy(const std::wstring& path);
    // A copy of an HTML file for OneNote to read as a browser would: its relative links (pictures,
    // style sheets) still lead into the file's own folder, through a base reference to that folder
    // where the file has none of its own. A web archive (.mht, .mhtml) holds its parts itself and
    // is copied as it is.
    TOrError<std::wstring> CopyHtml(const std::wstring& path);

    // Removes the copies the page names: it has been saved, and OneNote holds copies of its own.
    void ReleaseNamedBy(const ON::Page& page);
    // Removes every copy that page does not name (all of them without a page): nothing that names
    // them will be sent any more.
    void ReleaseAllBut(const ON::Page* page);

private:
    // The run's folder, made at the first copy; false with the Windows error when it cannot be made.
    bool MakeFolder();
    // A path for the next copy in the run's folder, with the extension of original when it is short.
    std::wstring NextCopyPath(const std::wstring& original);

    std::wstring folder_;
    Owners::FileHandle lock_;
    unsigned copiesMade_ = 0;
    // The copies not yet removed.
    std::vector<std::wstring> held_;
};
