#pragma once
// What a page defines ahead of its content for the content to refer to by index: note tags, quick
// styles and XPS documents; and the page's media playlist and meeting details.

#include "onenote_model/Images.h"
#include "onenote_model/InkAndMedia.h"
#include "onenote_model/OneNoteElement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace ON
{
// The definition of a note tag; a Tag names it by its index.
class TagDef : public XmlElement<TagDef>
{
public:
    static constexpr ElementName Name = OneNoteName(L"TagDef");

    std::uint32_t index = 0;
    std::wstring name;
    std::uint32_t type = 0;
    std::uint32_t symbol = 0;
    Color fontColor = Color::Automatic;
    // Unlike a quick style's, a tag's highlight is none unless it says otherwise.
    Color highlightColor = Color::None;

    TagDef() = default;
    TagDef(std::uint32_t index, std::wstring name, std::uint32_t type, std::uint32_t symbol, Color fontColor,
           Color highlightColor)
        : index(index), name(std::move(name)), type(type), symbol(symbol), fontColor(fontColor),
          highlightColor(highlightColor)
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using D = TagDef;
        return Xml::Schema(Attribute(L"index", &D::index), Attribute(L"name", &D::name), Attribute(L"type", &D::type),
                           Attribute(L"symbol", &D::symbol), Attribute(L"fontColor", &D::fontColor, Color::Automatic),
                           Attribute(L"highlightColor", &D::highlightColor, Color::None));
    }
};

// The definition of a quick style; paragraphs and text runs name it by quickStyleIndex. The
// import engine adds its own to a page before it writes text into it.
class QuickStyleDef : public XmlElement<QuickStyleDef>
{
public:
    static constexpr ElementName Name = OneNoteName(L"QuickStyleDef");

    std::uint32_t index = 0;
    std::wstring name;
    Color fontColor = Color::Automatic;
    Color highlightColor = Color::Automatic;
    std::wstring font;
    // Points.
    double fontSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    bool superscript = false;
    bool subscript = false;
    // Points, written with six significant digits.
    float spaceBefore = 0;
    float spaceAfter = 0;

    QuickStyleDef() = default;
    QuickStyleDef(std::uint32_t index, std::wstring name, Color fontColor, Color highlightColor, std::wstring font,
                  double fontSize, bool bold, bool italic, bool underline, bool strikethrough, bool superscript,
                  bool subscript, float spaceBefore, float spaceAfter)
        : index(index), name(std::move(name)), fontColor(fontColor), highlightColor(highlightColor),
          font(std::move(font)), fontSize(fontSize), bold(bold), italic(italic), underline(underline),
          strikethrough(strikethrough), superscript(superscript), subscript(subscript), spaceBefore(spaceBefore),
          spaceAfter(spaceAfter)
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using D = QuickStyleDef;
        return Xml::Schema(
            Attribute(L"index", &D::index), Attribute(L"name", &D::name),
            Attribute(L"fontColor", &D::fontColor, Color::Automatic),
            Attribute(L"highlightColor", &D::highlightColor, Color::Automatic), Attribute(L"font", &D::font),
            Attribute(L"fontSize", &D::fontSize), Attribute(L"bold", &D::bold, false),
            Attribute(L"italic", &D::italic, false), Attribute(L"underline", &D::underline, false),
            Attribute(L"strikethrough", &D::strikethrough, false), Attribute(L"superscript", &D::superscript, false),
            Attribute(L"subscript", &D::subscript, false), Attribute(L"spaceBefore", &D::spaceBefore, 0.0f),
            Attribute(L"spaceAfter", &D::spaceAfter, 0.0f));
    }
};

// An XPS document of the page; printouts and images name it by xpsFileIndex. The schema allows
// one source; what was read is kept and written in the order of ImageChoice.
class XPSFile : public XmlElement<XPSFile>
{
public:
    static constexpr ElementName Name = OneNoteName(L"XPSFile");

    std::uint32_t xpsFileIndex = 0;
    std::optional<GUID> idDocument;
    ImageChoice source;

    XPSFile() = default;
    XPSFile(std::uint32_t xpsFileIndex, std::optional<GUID> idDocument, ImageChoice source)
        : xpsFileIndex(xpsFileIndex), idDocument(idDocument), source(std::move(source))
    {
    }

    static constexpr auto Schema()
    {
        using X = XPSFile;
        return Xml::Schema(Xml::Attribute(L"xpsFileIndex", &X::xpsFileIndex),
                           Xml::Attribute(L"idDocument", &X::idDocument), Xml::Group(&X::source));
    }
};

// The media of the page, in playing order.
class MediaPlaylist : public XmlElement<MediaPlaylist>
{
public:
    static constexpr ElementName Name = OneNoteName(L"MediaPlaylist");

    Collection<MediaReference> references;

    MediaPlaylist() = default;
    explicit MediaPlaylist(Collection<MediaReference> references) : references(std::move(references))
    {
        Adopt(this->references);
    }

    static constexpr auto Schema() { return Xml::Schema(Xml::List(&MediaPlaylist::references)); }
};

// The meeting a page's notes were taken in.
class MeetingInfo : public XmlElement<MeetingInfo>
{
public:
    static constexpr ElementName Name = OneNoteName(L"MeetingInfo");

    std::optional<std::wstring> broadcastUrl;
    std::optional<bool> broadcastActive;
    std::optional<std::wstring> IMConversationId;
    std::optional<std::wstring> IMConversationUpdater;
    std::optional<std::uint32_t> IMConversationType;
    std::optional<std::wstring> meetingGlobalAppointmentId;
    std::optional<SYSTEMTIME> meetingStartTime;
    std::optional<SYSTEMTIME> meetingEndTime;
    std::optional<std::uint32_t> meetingRecurrenceType;
    std::optional<bool> outlookSharedNotes;

    MeetingInfo() = default;
    MeetingInfo(std::optional<std::wstring> broadcastUrl, std::optional<bool> broadcastActive,
                std::optional<std::wstring> IMConversationId, std::optional<std::wstring> IMConversationUpdater,
                std::optional<std::uint32_t> IMConversationType, std::optional<std::wstring> meetingGlobalAppointmentId,
                std::optional<SYSTEMTIME> meetingStartTime, std::optional<SYSTEMTIME> meetingEndTime,
                std::optional<std::uint32_t> meetingRecurrenceType, std::optional<bool> outlookSharedNotes)
        : broadcastUrl(std::move(broadcastUrl)), broadcastActive(broadcastActive),
          IMConversationId(std::move(IMConversationId)), IMConversationUpdater(std::move(IMConversationUpdater)),
          IMConversationType(IMConversationType), meetingGlobalAppointmentId(std::move(meetingGlobalAppointmentId)),
          meetingStartTime(meetingStartTime), meetingEndTime(meetingEndTime),
          meetingRecurrenceType(meetingRecurrenceType), outlookSharedNotes(outlookSharedNotes)
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using M = MeetingInfo;
        return Xml::Schema(
            Attribute(L"broadcastUrl", &M::broadcastUrl), Attribute(L"broadcastActive", &M::broadcastActive),
            Attribute(L"IMConversationId", &M::IMConversationId),
            Attribute(L"IMConversationUpdater", &M::IMConversationUpdater),
            Attribute(L"IMConversationType", &M::IMConversationType),
            Attribute(L"meetingGlobalAppointmentId", &M::meetingGlobalAppointmentId),
            Attribute(L"meetingStartTime", &M::meetingStartTime), Attribute(L"meetingEndTime", &M::meetingEndTime),
            Attribute(L"meetingRecurrenceType", &M::meetingRecurrenceType),
            Attribute(L"outlookSharedNotes", &M::outlookSharedNotes));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in PageDefinitions.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::TagDef>;
extern template class XmlElement<ON::QuickStyleDef>;
extern template class XmlElement<ON::XPSFile>;
extern template class XmlElement<ON::MediaPlaylist>;
extern template class XmlElement<ON::MeetingInfo>;
