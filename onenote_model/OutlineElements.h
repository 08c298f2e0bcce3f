#pragma once
// The paragraphs of an outline (OE) and the blocks that hold them (OEChildren). They form a
// circle with tables: a paragraph may hold a table whose cells hold blocks of paragraphs.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/HtmlBlocks.h"
#include "onenote_model/Images.h"
#include "onenote_model/InkAndMedia.h"
#include "onenote_model/LateChildren.h"
#include "onenote_model/LinkedNotes.h"
#include "onenote_model/Lists.h"
#include "onenote_model/OneNoteElement.h"
#include "onenote_model/PageObjectParts.h"
#include "onenote_model/TextRuns.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace ON
{
class OE;
class Table;
class ChildOELayout;
class InkDrawing;
class InsertedFile;
class MediaFile;
class FutureObject;

// One child of a block: a paragraph or an HTML block, in the order the block has them. Code may
// fill both; then both are written, the paragraph first.
class OEChildrenChoice : public ChoiceHolder<OEChildrenChoice>
{
public:
    static constexpr ElementName Name{L"OEChildrenChoice"};

    std::shared_ptr<ON::OE> oe;
    std::shared_ptr<HtmlContent_HTMLBlock> htmlBlock;

    OEChildrenChoice() = default;
    explicit OEChildrenChoice(std::shared_ptr<ON::OE> oe, std::shared_ptr<HtmlContent_HTMLBlock> htmlBlock = nullptr)
        : oe(std::move(oe)), htmlBlock(std::move(htmlBlock))
    {
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&OEChildrenChoice::oe), Xml::Optional(&OEChildrenChoice::htmlBlock));
    }
};

// A block of paragraphs and HTML blocks: an outline's content, the paragraphs indented under a
// paragraph, or a table cell's content.
class OEChildren : public XmlElement<OEChildren>
{
public:
    static constexpr ElementName Name = OneNoteName(L"OEChildren");

    std::uint32_t indent = 1;
    std::wstring selected = L"none";
    TextAttributes textAttributes;
    std::shared_ptr<ON::ChildOELayout> childOELayout;
    Collection<OEChildrenChoice> children;

    OEChildren() = default;
    OEChildren(std::uint32_t indent, std::wstring selected, TextAttributes textAttributes,
               std::shared_ptr<ON::ChildOELayout> childOELayout, Collection<OEChildrenChoice> children)
        : indent(indent), selected(std::move(selected)), textAttributes(std::move(textAttributes)),
          childOELayout(std::move(childOELayout)), children(std::move(children))
    {
        Adopt(this->children);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using C = OEChildren;
        return Xml::Schema(Attribute(L"indent", &C::indent, 1u), Attribute(L"selected", &C::selected, L"none"),
                           Xml::Group(&C::textAttributes), Xml::Optional(&C::childOELayout),
                           Xml::ChoiceList(&C::children));
    }
};

// One item of a paragraph's run of text and ink: a text run or an ink word. Code may fill both;
// then both are written, the text first.
class OEChoiceElements : public ChoiceHolder<OEChoiceElements>
{
public:
    static constexpr ElementName Name{L"OEChoiceElements"};

    std::shared_ptr<TextRange_T> t;
    std::shared_ptr<ON::InkWord> inkWord;

    OEChoiceElements() = default;
    explicit OEChoiceElements(std::shared_ptr<TextRange_T> t, std::shared_ptr<ON::InkWord> inkWord = nullptr)
        : t(std::move(t)), inkWord(std::move(inkWord))
    {
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&OEChoiceElements::t), Xml::Optional(&OEChoiceElements::inkWord));
    }
};

// The content of a paragraph. The schema allows one object or one run of text and ink; the model
// keeps whatever was read or set and writes it in this order. The objects do not end the run:
// text around an image is all kept, after the image.
struct OEChoice
{
    std::shared_ptr<ON::Image> image;
    std::shared_ptr<ON::Table> table;
    std::shared_ptr<ON::InkDrawing> inkDrawing;
    std::shared_ptr<ON::InsertedFile> insertedFile;
    std::shared_ptr<ON::MediaFile> mediaFile;
    std::shared_ptr<ON::InkParagraph> inkParagraph;
    std::shared_ptr<ON::FutureObject> futureObject;
    // Made with the first text or ink word.
    std::shared_ptr<Collection<OEChoiceElements>> text;

    OEChoice() = default;
    explicit OEChoice(std::shared_ptr<Collection<OEChoiceElements>> text) : text(std::move(text))
    {
        if (this->text)
            Adopt(*this->text);
    }

    static constexpr auto Schema()
    {
        using Xml::Optional;
        using C = OEChoice;
        return KeepingLateChildren(Optional(&C::image), Optional(&C::table), Optional(&C::inkDrawing),
                                   Optional(&C::insertedFile), Optional(&C::mediaFile), Optional(&C::inkParagraph),
                                   Optional(&C::futureObject), Xml::ChoiceList(&C::text));
    }
};

// What hangs below a paragraph: blocks of paragraphs indented under it, then a linked note.
struct OENestingChoice
{
    // Made with the first block.
    std::shared_ptr<Collection<ON::OEChildren>> children;
    std::shared_ptr<ON::LinkedNote> linkedNote;

    static constexpr auto Schema()
    {
        return KeepingLateChildren(Xml::List(&OENestingChoice::children), Xml::Optional(&OENestingChoice::linkedNote));
    }
};

// A paragraph: an entry of an outline, a title or a table cell.
class OE : public XmlElement<OE>
{
public:
    static constexpr ElementName Name = OneNoteName(L"OE");

    std::optional<bool> RTL;
    bool bodyText = false;
    bool collapsed = false;
    bool collapsedBodyText = false;
    // Kept as written; only the defaults are known to the model.
    std::wstring alignment = L"left";
    std::wstring selected = L"none";
    std::optional<std::wstring> objectID;
    std::optional<double> spaceBefore;
    std::optional<double> spaceBetween;
    std::optional<double> spaceAfter;
    std::optional<SYSTEMTIME> lastModifiedTime;
    std::optional<bool> preserveTextContent;
    std::optional<std::uint32_t> meetingContentType;
    std::optional<std::wstring> meetingContentId;
    std::optional<bool> meetingTrackModifications;
    std::optional<bool> meetingIsUserEdited;
    std::optional<bool> explicitExpandCollapseEnabled;
    TextAttributes textAttributes;
    EditedByAttributes editedBy;

    Collection<MediaIndex> mediaIndexes;
    // Tags before the Outlook task, and tags after it: each keeps its side of the task.
    Collection<Tag> tags;
    std::shared_ptr<OutlookTask> task;
    Collection<Tag> laterTags;
    Collection<Meta> metas;
    std::shared_ptr<ON::List> list;
    OEChoice content;
    OENestingChoice nesting;

    // Builders start from the defaults and assign what they need.
    OE() = default;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using O = OE;
        return KeepingLateChildren(
            Attribute(L"RTL", &O::RTL), Attribute(L"bodyText", &O::bodyText, false),
            Attribute(L"collapsed", &O::collapsed, false),
            Attribute(L"collapsedBodyText", &O::collapsedBodyText, false),
            Attribute(L"alignment", &O::alignment, L"left"), Attribute(L"selected", &O::selected, L"none"),
            Attribute(L"objectID", &O::objectID), Attribute(L"spaceBefore", &O::spaceBefore),
            Attribute(L"spaceBetween", &O::spaceBetween), Attribute(L"spaceAfter", &O::spaceAfter),
            Attribute(L"lastModifiedTime", &O::lastModifiedTime),
            Attribute(L"preserveTextContent", &O::preserveTextContent),
            Attribute(L"meetingContentType", &O::meetingContentType),
            Attribute(L"meetingContentId", &O::meetingContentId),
            Attribute(L"meetingTrackModifications", &O::meetingTrackModifications),
            Attribute(L"meetingIsUserEdited", &O::meetingIsUserEdited),
            Attribute(L"explicitExpandCollapseEnabled", &O::explicitExpandCollapseEnabled),
            Xml::Group(&O::textAttributes), Xml::Group(&O::editedBy), Xml::List(&O::mediaIndexes), Xml::List(&O::tags),
            Xml::Optional(&O::task), Xml::List(&O::laterTags), Xml::List(&O::metas), Xml::Optional(&O::list),
            Xml::Group(&O::content), Xml::Group(&O::nesting));
    }
};

} // namespace ON

// The rest of the circle: tables hold blocks of paragraphs, titles hold paragraphs, and the objects
// a paragraph may hold are page objects too.
#include "onenote_model/PageObjects.h"
#include "onenote_model/Tables.h"
#include "onenote_model/Titles.h"

// The reading and writing of these elements is compiled once, in OutlineElements.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::OEChildren>;
extern template class XmlElement<ON::OE>;
