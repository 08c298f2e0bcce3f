#include "import_engine/PageBuilders.h"

#include "import_engine/PageElementMakers.h"

namespace
{
constexpr double OutlineWidth = 480;
constexpr double OutlineOffsetBelowStart = 10;
constexpr double AttachmentWidth = 54;
constexpr double AttachmentHeight = 65;
constexpr double GapUnderAttachment = 10;
constexpr double NewRowX = 36;
constexpr uint32_t PlainLines = 1;
constexpr uint32_t CodeLines = 2;

std::shared_ptr<ON::OEChildren> AppendOEChildren(ON::Outline& outline, uint32_t indent)
{
    auto& children = outline.children.AddNew();
    children->indent = indent;
    LinkTo(*children, outline, outline, ON::Outline::Name.localName.data());
    return children;
}

void AddOEsForLines(ON::OEChildren& block, const std::vector<std::wstring>& lines)
{
    for (const std::wstring& line : lines)
    {
        auto& holder = block.children.AddNew();
        LinkTo(*holder, block, block, ON::OEChildren::Name.localName.data());
        holder->oe = std::make_shared<ON::OE>();
        LinkTo(*holder->oe, *holder, block, ON::OEChildren::Name.localName.data());
        SetOEText(*holder->oe, line);
    }
}

void AddHtmlBlock(ON::OEChildren& block, ON::HtmlContentChoice content)
{
    auto& holder = block.children.AddNew();
    LinkTo(*holder, block, block, ON::OEChildren::Name.localName.data());
    holder->htmlBlock = std::make_shared<ON::HtmlContent_HTMLBlock>(std::move(content));
    LinkTo(*holder->htmlBlock, *holder, block, ON::OEChildren::Name.localName.data());
}

// The target's collecting outline, or a new one on the page (just below the start position when
// the target has one); the target itself is left to the caller.
std::shared_ptr<ON::Outline> GetOrMakeReferenceOutline(Target& target)
{
    if (target.referenceOutline)
        return target.referenceOutline;
    auto outline = std::make_shared<ON::Outline>();
    if (target.startPosition)
        outline->pageObject.position =
            MakePosition(target.startPosition->x, target.startPosition->y + OutlineOffsetBelowStart);
    outline->pageObject.size = std::make_shared<ON::Size>(OutlineWidth, 0.0, true);
    AddOutlineToPage(outline, target);
    return outline;
}

// The last block of the outline when it has this indent, else a new one.
std::shared_ptr<ON::OEChildren> BlockWithIndent(ON::Outline& outline, uint32_t indent)
{
    if (outline.children.empty() || !outline.children.back() || outline.children.back()->indent != indent)
        return AppendOEChildren(outline, indent);
    return outline.children.back();
}

ImportResult InsertHtmlBlock(ON::HtmlContentChoice content, Target& target)
{
    auto outline = GetOrMakeReferenceOutline(target);
    AddHtmlBlock(*BlockWithIndent(*outline, PlainLines), std::move(content));
    return {target.position, target.startPosition, outline};
}

// In a link's address "%" and "#" would be read as an escape and a fragment: they are encoded.
std::wstring PercentEncodeHrefDelimiters(const std::wstring& path)
{
    std::wstring encoded;
    for (const wchar_t c : path)
    {
        if (c == L'%')
            encoded += L"%25";
        else if (c == L'#')
            encoded += L"%23";
        else
            encoded += c;
    }
    return encoded;
}
} // namespace

void AddOutlineToPage(std::shared_ptr<ON::Outline>& outline, Target& target)
{
    auto holder = MakePageElement(outline);
    if (outline)
        LinkTo(*outline, *holder, *target.page, ON::Page::Name.localName.data());
    AddPageElement(*target.page, std::move(holder));
}

ImportResult AddTextOutline(const std::vector<std::wstring>& lines, const std::optional<std::wstring>& quickStyle,
                            Target& target)
{
    const uint32_t lineKind = quickStyle && *quickStyle == L"code" ? CodeLines : PlainLines;
    const bool isNew = !target.referenceOutline;
    auto outline = GetOrMakeReferenceOutline(target);
    std::shared_ptr<ON::OEChildren> block;
    if (isNew)
    {
        outline->children.clear();
        block = AppendOEChildren(*outline, lineKind);
    }
    else
    {
        block = BlockWithIndent(*outline, lineKind);
    }
    AddOEsForLines(*block, lines);

    if (quickStyle)
    {
        uint32_t index = 0;
        for (const auto& style : target.page->quickStyleDefs)
            if (style && style->name == *quickStyle)
            {
                index = style->index;
                break;
            }
        for (auto it = block->children.end() - static_cast<std::ptrdiff_t>(lines.size()); it != block->children.end();
             ++it)
            (*it)->oe->textAttributes.quickStyleIndex = index;
    }
    return {target.position, target.startPosition, outline};
}

ImportResult AddTextLineOutline(const std::wstring& line, const std::optional<std::wstring>& quickStyle,
                                Target& target)
{
    return AddTextOutline({line}, quickStyle, target);
}

ImportResult InsertFileReference(const std::wstring& html, Target& target)
{
    auto data = std::make_shared<ON::Data>(html);
    // OneNote takes inline HTML as character data.
    data->cdata = true;
    return InsertHtmlBlock(ON::HtmlContentChoice(nullptr, std::move(data)), target);
}

ImportResult InsertHtmlContent(const std::wstring& path, Target& target)
{
    return InsertHtmlBlock(ON::HtmlContentChoice(std::make_shared<ON::FilePath_File>(path)), target);
}

ImportResult InsertAttachment(const std::wstring& path, unsigned depth, Target& target, const std::wstring& name)
{
    auto file = std::make_shared<ON::InsertedFile>();
    file->pathSource = path;
    if (!name.empty())
        file->preferredName = name;
    file->tagable.pageObject.size = std::make_shared<ON::Size>(AttachmentWidth, AttachmentHeight);
    auto holder = MakePageElement(file);
    LinkTo(*file, *holder, *target.page, ON::Page::Name.localName.data());
    AddPageElement(*target.page, std::move(holder));
    return PlaceNextElement(file->tagable.pageObject, target, depth, GapUnderAttachment);
}

ImportResult PlaceNextElement(ON::PageObject& object, Target& target, unsigned, double gap)
{
    if (!target.startPosition)
        return {};
    object.position = std::make_shared<ON::Position>(*target.startPosition);
    const double height = object.size ? object.size->height : 0;
    return {nullptr, MakePosition(NewRowX, target.startPosition->y + height + gap), nullptr};
}

void SetOEText(ON::OE& oe, const std::wstring& line)
{
    auto text = std::make_shared<Collection<ON::OEChoiceElements>>();
    auto& holder = text->AddNew();
    LinkTo(*holder, oe, oe, ON::OE::Name.localName.data());
    holder->t = std::make_shared<ON::TextRange_T>();
    // OneNote reads a paragraph's text as HTML: the line is escaped for that, and the XML writer
    // escapes the result again, so that "<" reaches the page as a character, not as a tag.
    holder->t->text = XmlEscape(line);
    LinkTo(*holder->t, *holder, oe, ON::OE::Name.localName.data());
    oe.content.text = std::move(text);
}

std::wstring FileLinkHtml(const std::wstring& path)
{
    return L"<a href=\"file:///" + XmlEscape(PercentEncodeHrefDelimiters(path)) + L"\">" + XmlEscape(path) + L"</a>";
}
