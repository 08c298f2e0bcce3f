#include "import_engine/PageContent.h"

#include "framework/log/Log.h"
#include "framework/xml/Colors.h"
#include "import_engine/FileSnapshot.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/OneNoteVersion.h"

#include <algorithm>
#include <array>

namespace
{
constexpr double FirstFreeX = 36;
constexpr double MinimumY = 86;
constexpr double GapBelowContent = 10;

struct QuickStyle
{
    const wchar_t* name;
    const wchar_t* font;
    double fontSize;
    const wchar_t* fontColor;
    bool italic;
};

// Folder headings, plain-text file references and the content of plain-text files name these.
constexpr std::array<QuickStyle, 8> ImportQuickStyles{{
    {L"h1", L"Calibri", 16, L"#1e4e79", false},
    {L"h2", L"Calibri", 14, L"#2e75b5", false},
    {L"h3", L"Calibri", 12, L"#5b9bd5", false},
    {L"h4", L"Calibri", 12, L"#5b9bd5", true},
    {L"h5", L"Calibri", 11, L"#2e75b5", false},
    {L"h6", L"Calibri", 11, L"#2e75b5", true},
    {L"blockquote", L"Calibri", 11, L"#595959", true},
    {L"code", L"Consolas", 11, L"automatic", false},
}};

} // namespace

const ON::PageObject* PageObjectOf(const ON::PageElement& element)
{
    if (element.outline)
        return &element.outline->pageObject;
    if (element.image)
        return &element.image->tagable.pageObject;
    if (element.inkDrawing)
        return &element.inkDrawing->tagable.pageObject;
    if (element.insertedFile)
        return &element.insertedFile->tagable.pageObject;
    if (element.mediaFile)
        return &element.mediaFile->insertedFile.tagable.pageObject;
    if (element.futureObject)
        return &element.futureObject->tagable.pageObject;
    return nullptr;
}

void SavePage(ON16::IApplication& application, const ON::Page& page, BusyPatience* patience)
{
    // Not indented: indentation beside a paragraph's text would become part of the text.
    const _bstr_t xml = WriteElement(page, nullptr, false, true, false);
    const HRESULT hr = UpdatePageContentWithRetry({.application = application, .xml = xml, .patience = patience});
    if (FAILED(hr))
        _com_issue_errorex(hr, &application, __uuidof(ON16::IApplication));
}

void SavePage(ON16::IApplication& application, const Target& target, BusyPatience* patience)
{
    SavePage(application, *target.page, patience);
    if (target.copies)
        target.copies->ReleaseNamedBy(*target.page);
}

void RetrievePageContents(ON16::IApplication& application, Target& target, bool saveFirst, BusyPatience* patience)
{
    target.referenceOutline.reset();
    if (target.pageId.length() == 0)
    {
        target.page.reset();
        target.position.reset();
        target.startPosition.reset();
        return;
    }
    const bool shared = IsSharedPage(target.changes, target.pageId);
    if (target.page && saveFirst)
    {
        GetLog(true) << L"Saving page contents";
        std::optional<SentPage> sent;
        if (shared)
            sent = DescribeSentPage(*target.changes, *target.page);
        SavePage(application, target);
        NoteSavedPage(target.changes, target.pageId);
        if (sent)
            target.changes->unmatched = std::move(sent);
    }

    GetLog(true) << L"Retrieving page contents";
    _bstr_t xml;
    GetPageContentWithRetry(application, target.pageId, xml, patience);

    if (target.page)
        *target.page = ON::Page();
    else
        target.page = std::make_shared<ON::Page>();
    ParseElement(*target.page, xml);
    if (shared)
        NoteStoredPage(*target.changes, target.page);
    AddQuickStyleDefs(*target.page);

    if (IsAffectedOneNoteVersion(application, patience))
        target.startPosition = std::make_shared<ON::Position>(MakePositionBelowContent(*target.page));
    if (target.position)
    {
        if (!target.startPosition)
            target.startPosition = std::make_shared<ON::Position>(MakePositionBelowContent(*target.page));
        target.position->x = target.startPosition->x;
        target.position->y = target.startPosition->y;
        target.position->z = target.startPosition->z;
    }
}

void AddQuickStyleDefs(ON::Page& page)
{
    uint32_t next = 0;
    for (const auto& existing : page.quickStyleDefs)
        if (existing)
            next = std::max(next, existing->index);
    for (const QuickStyle& style : ImportQuickStyles)
    {
        const bool present = std::any_of(page.quickStyleDefs.begin(), page.quickStyleDefs.end(),
                                         [&](const auto& existing) { return existing && existing->name == style.name; });
        if (present)
            continue;
        auto& added = page.quickStyleDefs.AddNew();
        added->index = ++next;
        added->name = style.name;
        added->fontColor = ParseColor(style.fontColor);
        added->highlightColor = Color::Automatic;
        added->font = style.font;
        added->fontSize = style.fontSize;
        added->italic = style.italic;
    }
}

ON::Position MakePositionBelowContent(const ON::Page& page)
{
    ON::Position below(FirstFreeX, MinimumY);
    for (const auto& element : page.elements)
    {
        const ON::PageObject* object = element ? PageObjectOf(*element) : nullptr;
        // An object without a place or an extent gives no bottom to keep clear of.
        if (!object || !object->position || !object->size)
            continue;
        below.y = std::max(below.y, object->position->y + object->size->height + GapBelowContent);
    }
    return below;
}
