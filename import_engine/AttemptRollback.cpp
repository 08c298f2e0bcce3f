#include "import_engine/AttemptRollback.h"

#include "framework/ScopeExit.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "import_engine/FileSnapshot.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/PageContent.h"
#include "onenote_model/Hierarchy.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
bool Contains(const std::vector<_bstr_t>& ids, const _bstr_t& id)
{
    return std::any_of(ids.begin(), ids.end(), [&](const _bstr_t& each) { return each == id; });
}

// What the attempt made holds nothing of the user's, so it does not go to the recycle bin.
void RemoveHierarchyObject(ON16::IApplication& application, const _bstr_t& id, BusyPatience& patience)
{
    CallWithPatience(application, [&] { return application.DeleteHierarchy(id, 0.0, VARIANT_TRUE); }, patience);
}

// OneNote's own answer for an object that is not on the page (any more).
constexpr HRESULT PageObjectDoesNotExist = static_cast<HRESULT>(0x8004200E);

// What someone removed from the page meanwhile needs no removing.
void RemovePageObject(ON16::IApplication& application, const _bstr_t& pageId, const std::wstring& objectId,
                      BusyPatience& patience)
{
    const _bstr_t object(objectId.c_str());
    CallWithPatience(
        application,
        [&] {
            const HRESULT hr = application.DeletePageContent(pageId, object, 0.0, VARIANT_TRUE);
            return hr == PageObjectDoesNotExist ? S_OK : hr;
        },
        patience);
}

// A section OneNote made that the attempt did not find again: the only one of its name among its
// parent's sections, since its name was chosen to be taken by none.
_bstr_t FindSection(ON16::IApplication& application, const CreatedObject& section, BusyPatience& patience)
{
    _bstr_t xml;
    GetHierarchyWithRetry(application, section.parentId, ON16::hsChildren, xml, &patience);
    const std::wstring_view text(xml.length() ? static_cast<const wchar_t*>(xml) : L"");
    const auto idOfNamed = [&](const auto& parent) -> _bstr_t {
        for (const auto& candidate : parent.sections)
            if (candidate && candidate->hierarchy.name == section.name && candidate->hierarchy.ID)
                return candidate->hierarchy.ID->c_str();
        _com_issue_error(E_UNEXPECTED);
        return {};
    };
    if (text.find(L"<one:Notebook") != std::wstring_view::npos)
    {
        ON::Notebook notebook;
        ParseElement(notebook, xml);
        return idOfNamed(notebook);
    }
    ON::SectionGroup group;
    ParseElement(group, xml);
    return idOfNamed(group);
}
} // namespace

std::wstring PageStays(const std::wstring& name, bool titled)
{
    // A page made but never saved has no title in OneNote yet.
    return titled ? L"the page " + Quoted(name) + L" stays" : L"an untitled page made for " + Quoted(name) + L" stays";
}

std::wstring SectionStays(const std::wstring& name) { return L"the section " + Quoted(name) + L" stays"; }

AttemptRollback::AttemptRollback(Target& target) : changes_(std::make_shared<AttemptChanges>())
{
    changes_->fill = MarkFill(target.pageId, target.page, target.referenceOutline);
    target.changes = changes_;
    before_ = target;
}

template <typename Step>
bool AttemptRollback::TakeBack(Step&& step, const std::wstring& leftBehind)
{
    // After a stop no call is made any more: what is not taken back yet stays.
    if (patience_->Stopped())
    {
        if (!leftBehind.empty())
        {
            GetLog(true) << L"ERROR: " << leftBehind;
            leftBehind_.push_back(leftBehind);
        }
        return false;
    }
    try
    {
        step();
        return true;
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: " << GetErrorText(MakeHResultError(error.Error()));
        if (!leftBehind.empty())
        {
            GetLog(true) << L"ERROR: " << leftBehind;
            leftBehind_.push_back(leftBehind);
        }
        return false;
    }
}

Target AttemptRollback::Undo(ON16::IApplication& application, std::function<bool()> stopAsked)
{
    BusyPatience patience(UndoPatienceMilliseconds, std::move(stopAsked));
    return Undo(application, patience);
}

Target AttemptRollback::Undo(ON16::IApplication& application, BusyPatience& patience)
{
    patience_ = &patience;
    const ScopeExit done([&] {
        stopped_ = patience.Stopped();
        patience_ = nullptr;
    });
    // Nothing the taking back reads or sends belongs to the attempt.
    before_.changes.reset();
    // Newest first, so that a page goes before the new section that holds it.
    for (auto page = changes_->createdPages.rbegin(); page != changes_->createdPages.rend(); ++page)
    {
        GetLog(true) << L"Removing the page made for the failed entry";
        TakeBack([&] { RemoveHierarchyObject(application, page->id, *patience_); },
                 PageStays(page->name, Contains(changes_->savedPages, page->id)));
    }
    for (auto section = changes_->createdSections.rbegin(); section != changes_->createdSections.rend(); ++section)
    {
        GetLog(true) << L"Removing the section made for the failed entry";
        TakeBack(
            [&] {
                RemoveHierarchyObject(application,
                                      section->id.length() ? section->id : FindSection(application, *section, *patience_),
                                      *patience_);
            },
            SectionStays(section->name));
    }
    if (before_.page && !before_.pageSaved)
    {
        if (Contains(changes_->savedPages, before_.pageId))
            RestoreSavedPage(application);
        else
            RestorePageInMemory();
    }
    // The attempt's copies are named by nothing that will still be sent, unless the page the run
    // goes on filling still holds what it added.
    if (before_.copies)
        before_.copies->ReleaseAllBut(before_.page && !before_.pageSaved ? before_.page.get() : nullptr);
    return before_;
}

void AttemptRollback::RestorePageInMemory()
{
    const FillMark& mark = changes_->fill;
    auto& elements = before_.page->elements;
    if (elements.size() < mark.elementCount || (mark.elementCount > 0 && elements[mark.elementCount - 1] != mark.lastElement))
    {
        GetLog(true) << L"ERROR: the page was read again during the failed entry; what it added stays";
        return;
    }
    elements.resize(mark.elementCount);
    const auto& outline = before_.referenceOutline;
    if (outline && outline->children.size() >= mark.blockCount)
    {
        outline->children.resize(mark.blockCount);
        if (mark.lastBlock && mark.lastBlock->children.size() >= mark.lastBlockLines)
            mark.lastBlock->children.resize(mark.lastBlockLines);
    }
}

void AttemptRollback::RestoreSavedPage(ON16::IApplication& application)
{
    const std::wstring pageName = before_.page->hierarchy.name.value_or(L"");
    GetLog(true) << L"Removing what the failed entry added to the page (" << pageName << L")";
    const std::wstring stays = L"what it added to the page " + Quoted(pageName) + L" stays";
    // The page was sent but not read back: OneNote's IDs for what the attempt added are learnt now.
    const bool read = !changes_->unmatched || TakeBack([&] {
        Target stored;
        stored.pageId = before_.pageId;
        RetrievePageContents(application, stored, false, patience_);
        NoteStoredPage(*changes_, stored.page);
    }, stays);
    if (read && changes_->sentObjectsUnknown)
    {
        // Removing by place could remove what someone else put on the page.
        GetLog(true) << L"ERROR: what the failed entry added to the page could not be told from the rest of it";
        leftBehind_.push_back(stays);
    }
    else if (read)
    {
        TakeBack([&] {
            for (const std::wstring& id : changes_->sentObjectIds)
                RemovePageObject(application, before_.pageId, id, *patience_);
        }, stays);
    }
    // The page the run shares is read again: it then holds nothing that OneNote no longer has,
    // and text goes on in the same outline, placed things below what is there.
    const bool reread = TakeBack([&] {
        const bool collecting = before_.referenceOutline != nullptr;
        RetrievePageContents(application, before_, false, patience_);
        if (collecting && !changes_->outlineId.empty())
            for (const auto& element : before_.page->elements)
                if (element && element->outline && element->outline->pageObject.objectID == changes_->outlineId)
                    before_.referenceOutline = element->outline;
        // A block left without paragraphs could not be sent again.
        if (const auto& outline = before_.referenceOutline)
            std::erase_if(outline->children, [](const auto& block) { return !block || block->children.empty(); });
    }, {});
    if (!reread)
    {
        // What is held here may still hold the attempt's objects: sending it would add them again.
        // OneNote has everything up to the attempt's save.
        before_.pageSaved = true;
        if (leftBehind_.empty())
            leftBehind_.push_back(L"the page " + Quoted(pageName) + L" could not be read again to go on with it");
    }
}
