#pragma once
// Handwriting (ink words and the paragraphs they form) and the links from page content to
// recorded media.

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
// The content of an ink word: its strokes from a file, inline or by callback, and the markers
// after it. The schema allows one; whatever was read is kept and written in this order.
struct InkWordChoice
{
    std::shared_ptr<FilePath_File> file;
    std::shared_ptr<ON::Data> data;
    std::shared_ptr<ON::CallbackID> callback;
    std::shared_ptr<ON::Space> space;
    std::shared_ptr<ON::EndOfLine> endOfLine;

    static constexpr auto Schema()
    {
        using Xml::Optional;
        using C = InkWordChoice;
        return Xml::Schema(Optional(&C::file), Optional(&C::data), Optional(&C::callback), Optional(&C::space),
                           Optional(&C::endOfLine));
    }
};

// One handwritten word with the text recognised in it.
class InkWord : public XmlElement<InkWord>
{
public:
    static constexpr ElementName Name = OneNoteName(L"InkWord");

    std::optional<std::wstring> recognizedText;
    std::wstring selected = L"none";
    std::optional<double> x;
    std::optional<double> y;
    std::optional<double> width;
    std::optional<double> height;
    // A style of its own, not the text attribute group.
    std::optional<std::wstring> style;
    double inkOriginX = 0;
    double inkOriginY = 0;
    InkWordChoice content;

    InkWord() = default;
    InkWord(std::optional<std::wstring> recognizedText, std::wstring selected, std::optional<double> x,
            std::optional<double> y, std::optional<double> width, std::optional<double> height,
            std::optional<std::wstring> style, double inkOriginX, double inkOriginY, InkWordChoice content)
        : recognizedText(std::move(recognizedText)), selected(std::move(selected)), x(x), y(y), width(width),
          height(height), style(std::move(style)), inkOriginX(inkOriginX), inkOriginY(inkOriginY),
          content(std::move(content))
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using W = InkWord;
        return Xml::Schema(Attribute(L"recognizedText", &W::recognizedText), Attribute(L"selected", &W::selected, L"none"),
                           Attribute(L"x", &W::x), Attribute(L"y", &W::y), Attribute(L"width", &W::width),
                           Attribute(L"height", &W::height), Attribute(L"style", &W::style),
                           Attribute(L"inkOriginX", &W::inkOriginX, 0.0), Attribute(L"inkOriginY", &W::inkOriginY, 0.0),
                           Xml::Group(&W::content));
    }
};

// A block of ink words that cannot stand in an outline's text.
class InkParagraph : public XmlElement<InkParagraph>
{
public:
    static constexpr ElementName Name = OneNoteName(L"InkParagraph");

    std::optional<double> x;
    std::optional<double> y;
    std::optional<double> width;
    std::optional<double> height;
    Collection<InkWord> words;

    InkParagraph() = default;
    InkParagraph(std::optional<double> x, std::optional<double> y, std::optional<double> width,
                 std::optional<double> height, Collection<InkWord> words)
        : x(x), y(y), width(width), height(height), words(std::move(words))
    {
        Adopt(this->words);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using P = InkParagraph;
        return Xml::Schema(Attribute(L"x", &P::x), Attribute(L"y", &P::y), Attribute(L"width", &P::width),
                           Attribute(L"height", &P::height), Xml::List(&P::words));
    }
};

// A media item, named by its GUID.
class MediaReference : public XmlElement<MediaReference>
{
public:
    static constexpr ElementName Name = OneNoteName(L"MediaReference");

    GUID mediaID{};

    MediaReference() = default;
    explicit MediaReference(const GUID& mediaID) : mediaID(mediaID) {}

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"mediaID", &MediaReference::mediaID)); }
};

// A moment of a recording that a paragraph or page object was taken at.
class MediaIndex : public XmlElement<MediaIndex>
{
public:
    static constexpr ElementName Name = OneNoteName(L"MediaIndex");

    std::uint32_t timeIndex = 0;
    // Always written, with the all-zero GUID when none was read.
    MediaReference mediaReference;

    MediaIndex() = default;
    MediaIndex(std::uint32_t timeIndex, const GUID& mediaID) : timeIndex(timeIndex), mediaReference(mediaID) {}

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"timeIndex", &MediaIndex::timeIndex), Xml::Required(&MediaIndex::mediaReference));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in InkAndMedia.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::InkWord>;
extern template class XmlElement<ON::InkParagraph>;
extern template class XmlElement<ON::MediaReference>;
extern template class XmlElement<ON::MediaIndex>;
