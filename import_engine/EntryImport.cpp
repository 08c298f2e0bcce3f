#include "import_engine/EntryImport.h"

#include "import_engine/FileKinds.h"
#include "import_engine/FileSnapshot.h"
#include "import_engine/ImageImport.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/OfficeExport.h"
#include "import_engine/PageBuilders.h"
#include "import_engine/PageContent.h"
#include "import_engine/PdfPrintoutImport.h"
#include "import_engine/TextContent.h"

#include <shlwapi.h>

#include <algorithm>
#include <optional>

namespace
{
constexpr uint32_t GreatestHeadingLevel = 6;

// Word and PowerPoint documents, once exported to PDF, are printed into the page like any PDF.
PdfPrintoutImport PrintoutInto(ON16::IApplication& application, unsigned depth, Target& work)
{
    return [&application, depth, &work](const std::wstring& pdfPath) {
        return ImportPdfPrintout(application, pdfPath, depth, work);
    };
}

// A printout that went on over further pages leaves the caller on its last page, which it saved.
TOrError<ImportResult> GoingOnFrom(const Target& work, Target& target, TOrError<ImportResult> result)
{
    target.pageId = work.pageId;
    target.pageSaved = work.pageSaved;
    return result;
}

void Keep(const ImportResult& result, Target& work)
{
    work.position = result.position;
    work.startPosition = result.startPosition;
    work.referenceOutline = result.referenceOutline;
}

// Whether the page names the file as it is, for OneNote to read when the page is saved: an
// attached file, a picture, and a file that no content importer takes (attached instead). An HTML
// file's content is read from a copy of its own.
bool PageNamesTheFileAsItIs(const std::wstring& path, const Config::ImportFormat& format, bool html)
{
    if (format.fileAttachment)
        return true;
    return format.fileContent && !html &&
           !(IsTextFile(path) || IsPdfFile(path) || IsWordFile(path) || IsPowerPointFile(path));
}

// Files imported outside a run are copied for as long as the process lives.
const std::shared_ptr<FileCopies>& CopiesOutsideARun()
{
    static const auto copies = std::make_shared<FileCopies>();
    return copies;
}

// Placed objects go below the text written so far: the page is saved and read back, so that
// OneNote has measured that text.
void CloseTextBeforePlacing(ON16::IApplication& application, Target& work)
{
    if (!work.referenceOutline)
        return;
    if (work.position || work.startPosition)
        RetrievePageContents(application, work, true);
    work.referenceOutline.reset();
}
} // namespace

TOrError<ImportResult> ImportEntry(ON16::IApplication& application, const Config::Entry& entry,
                                   const Config::ImportFormat& format, Target& target, int32_t outputFormat)
{
    if (!format.fileAttachment && !format.fileContent && format.originalPath == Config::NoOriginalPath)
        return MakeImportError(NoImportFormat);
    if (!PathFileExistsW(entry.path.c_str()))
        return MakeImportError(FileDoesNotExist, L"File: " + entry.path);
    if (PathIsDirectoryW(entry.path.c_str()))
        return ImportFolder(entry, target, outputFormat);
    return ImportFile(application, entry, format, target);
}

TOrError<ImportResult> ImportFolder(const Config::Entry& entry, Target& target, int32_t outputFormat)
{
    if (entry.listingError != 0)
        return MakeHResultError(HRESULT_FROM_WIN32(entry.listingError), L"Folder: " + entry.path);
    if (outputFormat != Config::InsertAllFilesIntoASinglePage || !target.page)
        return ImportResult{};
    if (target.referenceOutline)
        AddTextOutline({L""}, std::nullopt, target);
    const uint32_t level = std::min(entry.depth + 1, GreatestHeadingLevel);
    return AddTextLineOutline(entry.path, L"h" + std::to_wstring(level), target);
}

TOrError<ImportResult> ImportFile(ON16::IApplication& application, const Config::Entry& entry,
                                  const Config::ImportFormat& format, Target& target)
{
    Target work = target;
    const std::wstring& path = entry.path;
    // What the reference or the attachment made, when asked for: with neither, nothing was asked.
    std::optional<ImportResult> made;

    // What the page names is read now, so that a file that goes or is locked before the page is
    // saved fails its own entry only, and nothing of it reaches the page. (Whether a file is HTML
    // may take a look in the registry: that is asked once.)
    const bool html = format.fileContent && IsHtmlFile(path);
    FileCopies& copies = *(work.copies ? work.copies : CopiesOutsideARun());
    std::wstring copy;
    if (PageNamesTheFileAsItIs(path, format, html))
    {
        TOrError<std::wstring> taken = copies.Copy(path);
        if (taken.HoldsError())
            return taken.Error();
        copy = std::move(taken.Value());
    }
    std::wstring htmlCopy;
    if (html)
    {
        TOrError<std::wstring> taken = copies.CopyHtml(path);
        if (taken.HoldsError())
            return taken.Error();
        htmlCopy = std::move(taken.Value());
    }
    const std::wstring name = PathFindFileNameW(path.c_str());

    if (format.originalPath != Config::NoOriginalPath)
    {
        if (format.fileAttachment || format.fileContent)
            work.referenceOutline = AddTextLineOutline(L"", std::nullopt, work).referenceOutline;
        ImportResult reference = format.originalPath == Config::HyperlinkPath
                                     ? InsertFileReference(FileLinkHtml(path), work)
                                     : AddTextLineOutline(path, std::wstring(L"blockquote"), work);
        Keep(reference, work);
        made = std::move(reference);
    }

    if (format.fileAttachment)
    {
        CloseTextBeforePlacing(application, work);
        ImportResult attached = InsertAttachment(copy, entry.depth, work, name);
        work.position = attached.position;
        work.startPosition = attached.startPosition;
        made = std::move(attached);
    }

    const auto madeOrNothing = [&]() -> TOrError<ImportResult> {
        if (made)
            return std::move(*made);
        return MakeImportError(NoImportFormat);
    };
    if (!format.fileContent)
        return madeOrNothing();
    if (html)
        return InsertHtmlContent(htmlCopy, work);
    if (IsTextFile(path))
        return InsertTextContent(path, work);
    CloseTextBeforePlacing(application, work);
    if (IsPdfFile(path))
        return GoingOnFrom(work, target, ImportPdfPrintout(application, path, entry.depth, work));
    if (IsWordFile(path))
        return GoingOnFrom(work, target, ImportWordDoc(path, PrintoutInto(application, entry.depth, work)));
    if (IsPowerPointFile(path))
        return GoingOnFrom(work, target, ImportPPTFile(path, PrintoutInto(application, entry.depth, work)));
    if (IsImageFile(path))
    {
        auto image = ImportImage(copy, entry.depth, work, false);
        if (image.HoldsValue())
            return image;
    }
    // A file without a content importer, or a picture that cannot be decoded, is attached instead.
    if (!format.fileAttachment)
        return InsertAttachment(copy, entry.depth, work, name);
    return madeOrNothing();
}
