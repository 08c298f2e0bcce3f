#include "import_engine/AttemptRollback.h"

#include "framework/log/Log.h"
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
void RemoveHierarchyObject(ON16::IApplication& application, const _bstr_t& id)
{
    CallWithPatience(application, [&] { return application.DeleteHierarchy(id, 0.0, VARIANT_TRUE); });
}

void RemovePageObject(ON16::IApplication& application, const _bstr_t& pageId, const std::wstring& objectId)
{
    const _bstr_t object(objectId.c_str());
    CallWithPatience(application, [&] { return application.DeletePageContent(pageId, object, 0.0, VARIANT_TRUE); });
}

// A section OneNote made that the attempt did not find again: the only one of its name among its
// parent's sections, since its name was chosen to be taken by none.
_bstr_t FindSection(ON16::IApplication& application, const CreatedObject& section)
{
    _bstr_t xml;
    CallWithPatience(application, [&] {
        xml = _bstr_t();
        BSTR received = nullptr;
        const HRESULT hr = application.GetHierarchy(section.parentId, ON16::hsChildren, &received, ON16::xs2013);
        xml.Attach(received);
        return hr;
    });
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

std::wstring Quoted(const std::wstring& name) { return L"\"" + name + L"\""; }

// The IDs of the last count paragraphs of the outline, last first.
std::vector<std::wstring> LastParagraphIds(const ON::Outline& outline, size_t count)
{
    std::vector<std::wstring> ids;
    for (auto block = outline.children.rbegin(); block != outline.children.rend() && ids.size() < count; ++block)
    {
        if (!*block)
            continue;
        const auto& lines = (*block)->children;
        for (auto line = lines.rbegin(); line != lines.rend() && ids.size() < count; ++line)
            if (*line && (*line)->oe && (*line)->oe->objectID)
                ids.push_back(*(*line)->oe->objectID);
    }
    return ids;
}
} // namespace

AttemptRollback::AttemptRollback(Target& target) : changes_(std::make_shared<AttemptChanges>())
{
    target.changes = changes_;
    before_ = target;
    if (const auto& page = before_.page)
    {
        const auto& elements = page->elements;
        elementCount_ = elements.size();
        if (elementCount_ > 0)
            lastElement_ = elements.back();
        // The collecting outline is the page's latest one as a rule: looked for from the end.
        if (before_.referenceOutline)
            for (size_t i = elementCount_; i-- > 0;)
                if (elements[i] && elements[i]->outline == before_.referenceOutline)
                {
                    outlineIndex_ = i;
                    break;
                }
    }
    if (const auto& outline = before_.referenceOutline)
    {
        blockCount_ = outline->children.size();
        if (blockCount_ > 0)
            lastBlock_ = outline->children.back();
        if (lastBlock_)
            lastBlockLines_ = lastBlock_->children.size();
    }
}

template <typename Step>
bool AttemptRollback::TakeBack(Step&& step, const std::wstring& leftBehind)
{
    try
    {
        step();
        return true;
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: " << GetErrorText(MakeHResultError(error.Error()));
        refusal_ = error.Error();
        if (!leftBehind.empty())
        {
            GetLog(true) << L"ERROR: " << leftBehind;
            leftBehind_.push_back(leftBehind);
        }
        return false;
    }
}

Target AttemptRollback::Undo(ON16::IApplication& application)
{
    // Newest first, so that a page goes before the new section that holds it.
    for (auto page = changes_->createdPages.rbegin(); page != changes_->createdPages.rend(); ++page)
    {
        GetLog(true) << L"Removing the page made for the failed entry";
        // A page made but never saved has no title in OneNote yet.
        const std::wstring stays = Contains(changes_->savedPages, page->id)
                                       ? L"the page " + Quoted(page->name) + L" stays"
                                       : L"an untitled page made for " + Quoted(page->name) + L" stays";
        TakeBack([&] { RemoveHierarchyObject(application, page->id); }, stays);
    }
    for (auto section = changes_->createdSections.rbegin(); section != changes_->createdSections.rend(); ++section)
    {
        GetLog(true) << L"Removing the section made for the failed entry";
        TakeBack([&] { RemoveHierarchyObject(application, section->id.length() ? section->id : FindSection(application, *section)); },
                 L"the section " + Quoted(section->name) + L" stays");
    }
    if (before_.page && !before_.pageSaved)
    {
        if (Contains(changes_->savedPages, before_.pageId))
            RestoreSavedPage(application);
        else
            RestorePageInMemory();
    }
    before_.changes.reset();
    return before_;
}

void AttemptRollback::RestorePageInMemory()
{
    auto& elements = before_.page->elements;
    if (elements.size() < elementCount_ || (elementCount_ > 0 && elements[elementCount_ - 1] != lastElement_))
    {
        GetLog(true) << L"ERROR: the page was read again during the failed entry; what it added stays";
        return;
    }
    elements.resize(elementCount_);
    const auto& outline = before_.referenceOutline;
    if (outline && outline->children.size() >= blockCount_)
    {
        outline->children.resize(blockCount_);
        if (lastBlock_ && lastBlock_->children.size() >= lastBlockLines_)
            lastBlock_->children.resize(lastBlockLines_);
    }
}

size_t AttemptRollback::LinesAddedToOutline() const
{
    const auto& outline = before_.referenceOutline;
    if (!outline)
        return 0;
    size_t added = 0;
    for (size_t i = blockCount_; i < outline->children.size(); ++i)
        if (outline->children[i])
            added += outline->children[i]->children.size();
    if (lastBlock_ && lastBlock_->children.size() > lastBlockLines_)
        added += lastBlock_->children.size() - lastBlockLines_;
    return added;
}

void AttemptRollback::RestoreSavedPage(ON16::IApplication& application)
{
    GetLog(true) << L"Removing what the failed entry added to the page ("
                 << before_.page->hierarchy.name.value_or(L"") << L")";
    // Before the attempt's save, each paragraph it had added was one line of text (a spacer, a
    // path or a link), and OneNote keeps the order of what it is sent: the attempt's objects are
    // those after the page's earlier ones, its paragraphs the last of the collecting outline.
    const size_t addedLines = LinesAddedToOutline();
    const std::wstring pageName = before_.page->hierarchy.name.value_or(L"");
    TakeBack([&] {
        Target stored;
        stored.pageId = before_.pageId;
        RetrievePageContents(application, stored, false, UndoPatienceMilliseconds);
        const auto& elements = stored.page->elements;
        for (size_t i = elementCount_; i < elements.size(); ++i)
        {
            const ON::PageObject* object = elements[i] ? PageObjectOf(*elements[i]) : nullptr;
            if (object && object->objectID)
                RemovePageObject(application, before_.pageId, *object->objectID);
        }
        if (outlineIndex_ && *outlineIndex_ < elements.size() && elements[*outlineIndex_] &&
            elements[*outlineIndex_]->outline)
            for (const std::wstring& id : LastParagraphIds(*elements[*outlineIndex_]->outline, addedLines))
                RemovePageObject(application, before_.pageId, id);
    }, L"what it added to the page " + Quoted(pageName) + L" stays");
    // The page the run shares is read again: it then holds nothing that OneNote no longer has,
    // and text goes on in the same outline, placed things below what is there.
    const bool reread = TakeBack([&] {
        const bool collecting = before_.referenceOutline != nullptr;
        RetrievePageContents(application, before_, false, UndoPatienceMilliseconds);
        const auto& elements = before_.page->elements;
        if (collecting && outlineIndex_ && *outlineIndex_ < elements.size() && elements[*outlineIndex_])
            before_.referenceOutline = elements[*outlineIndex_]->outline;
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
