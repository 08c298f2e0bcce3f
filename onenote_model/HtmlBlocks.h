#pragma once
// HTML that OneNote turns into page content where it stands among an outline's paragraphs: given
// inline, usually as CDATA, or as a file that OneNote reads itself.

#include "onenote_model/OneNoteElement.h"
#include "onenote_model/PageObjectParts.h"
#include "onenote_model/TextRuns.h"

#include <memory>
#include <optional>
#include <utility>

namespace ON
{
// Where the HTML comes from. The schema allows one of the two; what was read is kept and written,
// the file first.
struct HtmlContentChoice
{
    std::shared_ptr<FilePath_File> file;
    std::shared_ptr<ON::Data> data;

    HtmlContentChoice() = default;
    explicit HtmlContentChoice(std::shared_ptr<FilePath_File> file, std::shared_ptr<ON::Data> data = nullptr)
        : file(std::move(file)), data(std::move(data))
    {
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&HtmlContentChoice::file), Xml::Optional(&HtmlContentChoice::data));
    }
};

// The schema's named type of HTML content. It has no text of its own: text inside it is dropped.
class T_HtmlContent : public SchemaType
{
public:
    std::optional<bool> meetingTrackModifications;
    HtmlContentChoice content;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"meetingTrackModifications", &T_HtmlContent::meetingTrackModifications),
                           Xml::Group(&T_HtmlContent::content));
    }

protected:
    T_HtmlContent() = default;
    T_HtmlContent(const T_HtmlContent&) = default;
    T_HtmlContent& operator=(const T_HtmlContent&) = default;
    ~T_HtmlContent() = default;
};

class HtmlContent_HTMLBlock : public XmlElement<HtmlContent_HTMLBlock, T_HtmlContent>
{
public:
    static constexpr ElementName Name = OneNoteName(L"HTMLBlock");

    HtmlContent_HTMLBlock() = default;
    explicit HtmlContent_HTMLBlock(HtmlContentChoice content,
                                   std::optional<bool> meetingTrackModifications = std::nullopt)
    {
        this->meetingTrackModifications = meetingTrackModifications;
        this->content = std::move(content);
    }

    static constexpr auto Schema() { return T_HtmlContent::Schema(); }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in HtmlBlocks.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::HtmlContent_HTMLBlock, ON::T_HtmlContent>;
