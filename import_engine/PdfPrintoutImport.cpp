#include "import_engine/PdfPrintoutImport.h"

#include "framework/log/Log.h"
#include "framework/winrt/WinRtInterfaces.h"
#include "import_engine/ImageImport.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/PageBuilders.h"
#include "import_engine/PageContent.h"
#include "import_engine/PdfDocument.h"
#include "import_engine/PrintoutScale.h"

namespace
{
// The pages after the first exist only in the import's own copy of the target, while the
// caller's target still holds the first page, which the page generator has saved already. Saving
// that first page once more would add its pictures to it a second time (they have no object IDs
// in memory). So the last page goes to OneNote here and is read back into the page object that
// the caller shares: the caller goes on with the last page, as it does after any other file, and
// holds it as saved, so that it is not sent again.
void HandOverContinuedPage(ON16::IApplication& application, Target& caller, const Target& work)
{
    if (!work.page || !caller.page || work.page == caller.page)
        return;
    GetLog(true) << L"Saving page contents";
    SavePage(application, work);
    NoteSavedPage(work.changes, work.pageId);
    caller.pageId = work.pageId;
    caller.pageSaved = true;
    Target last;
    last.pageId = work.pageId;
    last.page = caller.page;
    RetrievePageContents(application, last, false);
}

TOrError<ImportResult> InsertPages(const std::wstring& path, unsigned depth, Target& work)
{
    const std::wstring context = L"File: " + path;
    TOrError<ImportResult> result = MakeImportError(PdfHasNoPages, context);

    TOrError<Pdf> opened = Pdf::Open(path, UsablePrintoutScale(work.printoutScale), context);
    if (opened.HoldsError())
    {
        // Nobody gave the password: the user skipped this document (or every protected one).
        if (IsHResultError(opened.Error(), WinRt::WrongPassword))
            return AddTextLineOutline(L"", std::nullopt, work);
        return opened.Error();
    }
    const Pdf& pdf = opened.Value();

    const TOrError<unsigned> count = Pdf::GetPageCount(pdf, pdf.context);
    if (count.HoldsError())
        return count.Error();

    for (unsigned index = 0; index < count.Value(); ++index)
    {
        const TOrError<std::wstring> picture = Pdf::RenderPage(pdf, index, pdf.context);
        if (picture.HoldsError())
            return picture.Error();
        // Without a generator (no run prepared this target) the pages stay on the current page.
        if (index != 0 && work.outputFormat == Config::InsertEachPrintoutPageOnASeparatePage && work.pageGenerator)
            work.pageGenerator(work, index + 1);
        result = ImportImage(picture.Value(), depth, work, true);
        if (result.HoldsError())
            return result;
        work.position = result.Value().position;
        work.startPosition = result.Value().startPosition;
    }
    return result;
}
} // namespace

TOrError<ImportResult> ImportPdfPrintout(ON16::IApplication& application, const std::wstring& path, unsigned depth,
                                         Target& target)
{
    Target work = target;
    TOrError<ImportResult> result = InsertPages(path, depth, work);
    HandOverContinuedPage(application, target, work);
    return result;
}
