#include "import_engine/AttemptChanges.h"

#include "import_engine/PageContent.h"

#include <algorithm>
#include <unordered_map>

namespace
{
// Which kind of object a page element holds, so that a stored object is matched only with a
// sent one of its own kind.
int KindOf(const ON::PageElement& element)
{
    if (element.outline)
        return 1;
    if (element.image)
        return 2;
    if (element.inkDrawing)
        return 3;
    if (element.insertedFile)
        return 4;
    if (element.mediaFile)
        return 5;
    if (element.futureObject)
        return 6;
    return 0;
}

std::wstring ObjectIdOf(const std::shared_ptr<ON::PageElement>& element)
{
    const ON::PageObject* object = element ? PageObjectOf(*element) : nullptr;
    return object && object->objectID ? *object->objectID : std::wstring();
}

// The paragraphs the attempt added at the end of the outline that collected text: the lines it
// added to the block that was last, and those of the blocks it began; none when the outline no
// longer shows where they begin.
std::optional<size_t> AddedParagraphs(const FillMark& mark)
{
    const auto& blocks = mark.outline->children;
    if (blocks.size() < mark.blockCount ||
        (mark.blockCount > 0 && (blocks[mark.blockCount - 1] != mark.lastBlock ||
                                 (mark.lastBlock && mark.lastBlock->children.size() < mark.lastBlockLines))))
        return std::nullopt;
    size_t added = 0;
    const auto addLines = [&](const std::shared_ptr<ON::OEChildren>& block, size_t from) {
        for (size_t i = from; block && i < block->children.size(); ++i)
        {
            // An HTML file becomes as many paragraphs as it holds: they could not be counted.
            const auto& line = block->children[i];
            if (!line || !(line->oe || (line->htmlBlock && !line->htmlBlock->content.file)))
                return false;
            ++added;
        }
        return true;
    };
    if (mark.blockCount > 0 && !addLines(mark.lastBlock, mark.lastBlockLines))
        return std::nullopt;
    for (size_t i = mark.blockCount; i < blocks.size(); ++i)
        if (!addLines(blocks[i], 0))
            return std::nullopt;
    return added;
}

// The IDs of the last count paragraphs of the outline, or none when it has fewer.
std::optional<std::vector<std::wstring>> LastParagraphIds(const ON::Outline& outline, size_t count)
{
    std::vector<std::wstring> ids;
    for (auto block = outline.children.rbegin(); block != outline.children.rend() && ids.size() < count; ++block)
    {
        if (!*block)
            continue;
        const auto& lines = (*block)->children;
        for (auto line = lines.rbegin(); line != lines.rend() && ids.size() < count; ++line)
        {
            if (!*line || !(*line)->oe || !(*line)->oe->objectID)
                return std::nullopt;
            ids.push_back(*(*line)->oe->objectID);
        }
    }
    if (ids.size() < count)
        return std::nullopt;
    return ids;
}

// The stored objects that were sent, in the order sent: those OneNote had by their IDs, the new
// ones among the objects whose IDs were not sent, which OneNote puts after what the page held
// (what someone else added since the page was last read comes before them).
std::optional<std::vector<std::shared_ptr<ON::PageElement>>> MatchSentElements(const SentPage& sent, const ON::Page& stored)
{
    std::unordered_map<std::wstring, size_t> sentIds;
    size_t newOnes = 0;
    for (size_t i = 0; i < sent.elements.size(); ++i)
    {
        if (sent.elements[i].objectId.empty())
            ++newOnes;
        else
            sentIds.emplace(sent.elements[i].objectId, i);
    }
    std::vector<std::shared_ptr<ON::PageElement>> matched(sent.elements.size());
    std::vector<std::shared_ptr<ON::PageElement>> fresh;
    for (const auto& element : stored.elements)
    {
        const auto sentOne = sentIds.find(ObjectIdOf(element));
        if (sentOne != sentIds.end())
            matched[sentOne->second] = element;
        else if (element)
            fresh.push_back(element);
    }
    if (fresh.size() < newOnes)
        return std::nullopt;
    auto next = fresh.end() - static_cast<std::ptrdiff_t>(newOnes);
    for (size_t i = 0; i < sent.elements.size(); ++i)
        if (sent.elements[i].objectId.empty())
        {
            if (KindOf(**next) != sent.elements[i].kind)
                return std::nullopt;
            matched[i] = *next++;
        }
    return matched;
}
} // namespace

FillMark MarkFill(const _bstr_t& pageId, const std::shared_ptr<ON::Page>& page, const std::shared_ptr<ON::Outline>& outline)
{
    FillMark mark;
    mark.pageId = pageId;
    if (page)
    {
        mark.elementCount = page->elements.size();
        if (mark.elementCount > 0)
            mark.lastElement = page->elements.back();
    }
    mark.outline = outline;
    if (outline)
    {
        mark.blockCount = outline->children.size();
        if (mark.blockCount > 0)
            mark.lastBlock = outline->children.back();
        if (mark.lastBlock)
            mark.lastBlockLines = mark.lastBlock->children.size();
    }
    return mark;
}

bool IsSharedPage(const std::shared_ptr<AttemptChanges>& changes, const _bstr_t& pageId)
{
    return changes && pageId.length() > 0 && changes->fill.pageId == pageId;
}

SentPage DescribeSentPage(const AttemptChanges& changes, const ON::Page& page)
{
    const FillMark& mark = changes.fill;
    SentPage sent;
    const auto& elements = page.elements;
    sent.attemptFrom = mark.elementCount;
    sent.known = elements.size() >= mark.elementCount &&
                 (mark.elementCount == 0 || elements[mark.elementCount - 1] == mark.lastElement);
    for (const auto& element : elements)
        sent.elements.push_back({ObjectIdOf(element), element ? KindOf(*element) : 0});
    if (mark.outline)
    {
        for (size_t i = std::min(elements.size(), mark.elementCount); i-- > 0;)
            if (elements[i] && elements[i]->outline == mark.outline)
            {
                sent.outline = i;
                break;
            }
        const std::optional<size_t> added = AddedParagraphs(mark);
        sent.outlineTail = added.value_or(0);
        sent.known = sent.known && added && (sent.outline || *added == 0);
    }
    return sent;
}

void NoteStoredPage(AttemptChanges& changes, const std::shared_ptr<ON::Page>& stored)
{
    if (changes.unmatched)
    {
        const SentPage& sent = *changes.unmatched;
        const auto matched = sent.known ? MatchSentElements(sent, *stored) : std::nullopt;
        bool known = matched.has_value();
        for (size_t i = sent.attemptFrom; known && i < matched->size(); ++i)
        {
            const std::wstring id = ObjectIdOf((*matched)[i]);
            known = !id.empty();
            if (known)
                changes.sentObjectIds.push_back(id);
        }
        if (known && sent.outline)
        {
            const auto& outline = (*matched)[*sent.outline];
            const auto tail = outline && outline->outline ? LastParagraphIds(*outline->outline, sent.outlineTail) : std::nullopt;
            known = tail.has_value();
            if (known)
            {
                changes.outlineId = ObjectIdOf(outline);
                changes.sentObjectIds.insert(changes.sentObjectIds.end(), tail->begin(), tail->end());
            }
        }
        changes.sentObjectsUnknown = changes.sentObjectsUnknown || !known;
        changes.unmatched.reset();
    }
    // Everything on the page as read is either the attempt's and noted, or someone else's.
    changes.fill = MarkFill(changes.fill.pageId, stored, nullptr);
}
