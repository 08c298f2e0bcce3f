#pragma once
// The link from a paragraph to an item outside OneNote that the note was taken beside. Nothing
// builds one; it is read with its paragraph and written back whole.

#include "onenote_model/OneNoteElement.h"
#include "onenote_model/TextRuns.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace ON
{
// The four texts of a linked note: text content only, written also when empty, as CDATA when it
// was read from a section.
template <typename X>
class LinkedNoteText : public XmlElement<X>
{
public:
    std::wstring text;

    static constexpr auto Schema() { return Xml::Schema(Xml::Text(&LinkedNoteText::text)); }

protected:
    LinkedNoteText() = default;
    explicit LinkedNoteText(std::wstring text) : text(std::move(text)) {}
};

class LinkedNoteUri : public LinkedNoteText<LinkedNoteUri>
{
public:
    static constexpr ElementName Name = OneNoteName(L"LinkedNoteUri");
    LinkedNoteUri() = default;
    explicit LinkedNoteUri(std::wstring text) : LinkedNoteText(std::move(text)) {}
};

class LinkedNoteShortName : public LinkedNoteText<LinkedNoteShortName>
{
public:
    static constexpr ElementName Name = OneNoteName(L"LinkedNoteShortName");
    LinkedNoteShortName() = default;
    explicit LinkedNoteShortName(std::wstring text) : LinkedNoteText(std::move(text)) {}
};

class LinkedNoteFriendlyName : public LinkedNoteText<LinkedNoteFriendlyName>
{
public:
    static constexpr ElementName Name = OneNoteName(L"LinkedNoteFriendlyName");
    LinkedNoteFriendlyName() = default;
    explicit LinkedNoteFriendlyName(std::wstring text) : LinkedNoteText(std::move(text)) {}
};

class LinkedNoteDescription : public LinkedNoteText<LinkedNoteDescription>
{
public:
    static constexpr ElementName Name = OneNoteName(L"LinkedNoteDescription");
    LinkedNoteDescription() = default;
    explicit LinkedNoteDescription(std::wstring text) : LinkedNoteText(std::move(text)) {}
};

// The picture of a thumbnail, inline or by callback. The schema allows one; both are kept.
struct LinkedNoteThumbnailChoice
{
    std::shared_ptr<ON::Data> data;
    std::shared_ptr<ON::CallbackID> callback;

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&LinkedNoteThumbnailChoice::data),
                           Xml::Optional(&LinkedNoteThumbnailChoice::callback));
    }
};

class LinkedNoteThumbnail : public XmlElement<LinkedNoteThumbnail>
{
public:
    static constexpr ElementName Name = OneNoteName(L"LinkedNoteThumbnail");

    LinkedNoteThumbnailChoice picture;

    LinkedNoteThumbnail() = default;
    explicit LinkedNoteThumbnail(LinkedNoteThumbnailChoice picture) : picture(std::move(picture)) {}

    static constexpr auto Schema() { return Xml::Schema(Xml::Group(&LinkedNoteThumbnail::picture)); }
};

// Its texts are taken in any order, each once, and written in the schema's order; the three
// required ones are written also when they were missing.
class LinkedNote : public XmlElement<LinkedNote>
{
public:
    static constexpr ElementName Name = OneNoteName(L"LinkedNote");

    std::int32_t state = 0;
    LinkedNoteUri uri;
    LinkedNoteShortName shortName;
    LinkedNoteFriendlyName friendlyName;
    std::shared_ptr<LinkedNoteDescription> description;
    std::shared_ptr<LinkedNoteThumbnail> thumbnail;

    LinkedNote() = default;
    LinkedNote(LinkedNoteUri uri, LinkedNoteShortName shortName, LinkedNoteFriendlyName friendlyName,
               std::shared_ptr<LinkedNoteDescription> description, std::shared_ptr<LinkedNoteThumbnail> thumbnail)
        : uri(std::move(uri)), shortName(std::move(shortName)), friendlyName(std::move(friendlyName)),
          description(std::move(description)), thumbnail(std::move(thumbnail))
    {
    }

    static constexpr auto Schema()
    {
        using L = LinkedNote;
        return Xml::Schema(Xml::Attribute(L"state", &L::state), Xml::Required(&L::uri), Xml::Required(&L::shortName),
                           Xml::Required(&L::friendlyName), Xml::Optional(&L::description),
                           Xml::Optional(&L::thumbnail));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in LinkedNotes.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::LinkedNoteUri>;
extern template class XmlElement<ON::LinkedNoteShortName>;
extern template class XmlElement<ON::LinkedNoteFriendlyName>;
extern template class XmlElement<ON::LinkedNoteDescription>;
extern template class XmlElement<ON::LinkedNoteThumbnail>;
extern template class XmlElement<ON::LinkedNote>;
