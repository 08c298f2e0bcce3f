#pragma once
// The taggable page-object part and images with the text recognised in them.

#include "onenote_model/InkAndMedia.h"
#include "onenote_model/LateChildren.h"
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
// A page object that can also carry media indexes, note tags and an Outlook task. Images, ink
// drawings, inserted files, media files and future objects hold one by value; on its own it is
// the element "PageObjectTagable".
class PageObjectTagable : public XmlElement<PageObjectTagable>
{
public:
    static constexpr ElementName Name = OneNoteName(L"PageObjectTagable");

    ON::PageObject pageObject;
    Collection<MediaIndex> mediaIndexes;
    // Tags before the task, and tags after it: each keeps its place when written back.
    Collection<Tag> tags;
    std::shared_ptr<OutlookTask> task;
    Collection<Tag> laterTags;

    PageObjectTagable() = default;
    PageObjectTagable(ON::PageObject pageObject, Collection<MediaIndex> mediaIndexes, Collection<Tag> tags,
                      std::shared_ptr<OutlookTask> task, Collection<Tag> laterTags)
        : pageObject(std::move(pageObject)), mediaIndexes(std::move(mediaIndexes)), tags(std::move(tags)),
          task(std::move(task)), laterTags(std::move(laterTags))
    {
        Adopt(this->pageObject.metas);
        Adopt(this->mediaIndexes);
        Adopt(this->tags);
        Adopt(this->laterTags);
    }

    static constexpr auto Schema()
    {
        using T = PageObjectTagable;
        return KeepingLateChildren(Xml::Group(&T::pageObject), Xml::List(&T::mediaIndexes), Xml::List(&T::tags),
                                   Xml::Optional(&T::task), Xml::List(&T::laterTags));
    }
};

// Where a picture (or ink drawing, or XPS file) comes from. The schema allows one source; what
// was read is kept and written in this order.
struct ImageChoice
{
    std::shared_ptr<FilePath_File> file;
    std::shared_ptr<ON::Data> data;
    std::shared_ptr<ON::CallbackID> callback;

    ImageChoice() = default;
    explicit ImageChoice(std::shared_ptr<FilePath_File> file, std::shared_ptr<ON::Data> data = nullptr,
                         std::shared_ptr<ON::CallbackID> callback = nullptr)
        : file(std::move(file)), data(std::move(data)), callback(std::move(callback))
    {
    }

    static constexpr auto Schema()
    {
        using C = ImageChoice;
        return Xml::Schema(Xml::Optional(&C::file), Xml::Optional(&C::data), Xml::Optional(&C::callback));
    }
};

// The text recognised in an image.
class OCRText : public XmlElement<OCRText>
{
public:
    static constexpr ElementName Name = OneNoteName(L"OCRText");

    std::wstring text;

    OCRText() = default;
    explicit OCRText(std::wstring text) : text(std::move(text)) {}

    static constexpr auto Schema() { return Xml::Schema(Xml::Text(&OCRText::text)); }
};

// One recognised word: where it starts in the recognised text and where it lies in the picture.
// The numbers are kept as read; the model gives them no unit.
class OCRToken : public XmlElement<OCRToken>
{
public:
    static constexpr ElementName Name = OneNoteName(L"OCRToken");

    std::uint32_t startPos = 0;
    std::uint32_t region = 0;
    std::uint32_t line = 0;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    OCRToken() = default;
    OCRToken(std::uint32_t startPos, std::uint32_t region, std::uint32_t line, double x, double y, double width,
             double height)
        : startPos(startPos), region(region), line(line), x(x), y(y), width(width), height(height)
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = OCRToken;
        return Xml::Schema(Attribute(L"startPos", &T::startPos), Attribute(L"region", &T::region, 0u),
                           Attribute(L"line", &T::line, 0u), Attribute(L"x", &T::x, 0.0), Attribute(L"y", &T::y, 0.0),
                           Attribute(L"width", &T::width, 0.0), Attribute(L"height", &T::height, 0.0));
    }
};

class OCRData : public XmlElement<OCRData>
{
public:
    static constexpr ElementName Name = OneNoteName(L"OCRData");

    // Compared with its default letter for letter: "en-us" is written.
    std::wstring lang = L"EN-US";
    // Always written, also empty.
    OCRText ocrText;
    Collection<OCRToken> tokens;

    OCRData() = default;
    OCRData(std::wstring lang, OCRText ocrText, Collection<OCRToken> tokens)
        : lang(std::move(lang)), ocrText(std::move(ocrText)), tokens(std::move(tokens))
    {
        Adopt(this->tokens);
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"lang", &OCRData::lang, L"EN-US"), Xml::Required(&OCRData::ocrText),
                           Xml::List(&OCRData::tokens));
    }
};

// A picture: a page element of its own or the content of a paragraph.
class Image : public XmlElement<Image>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Image");

    std::wstring format = L"auto";
    std::optional<std::uint32_t> xpsFileIndex;
    std::uint32_t originalDocumentNumber = 0;
    std::uint32_t originalPageNumber = 0;
    bool isPrintOut = false;
    bool backgroundImage = false;
    std::optional<std::wstring> hyperlink;
    std::optional<std::wstring> alt;
    // Set also when the text read was not a GUID; then it is written as the all-zero GUID.
    std::optional<GUID> sourceDocument;
    PageObjectTagable tagable;
    ImageChoice source;
    std::shared_ptr<OCRData> ocrData;
    std::shared_ptr<ON::Preview> preview;

    Image() = default;
    Image(std::wstring format, std::optional<std::uint32_t> xpsFileIndex, std::uint32_t originalDocumentNumber,
          std::uint32_t originalPageNumber, bool isPrintOut, bool backgroundImage, std::optional<std::wstring> hyperlink,
          std::optional<std::wstring> alt, std::optional<GUID> sourceDocument, PageObjectTagable tagable,
          ImageChoice source, std::shared_ptr<OCRData> ocrData, std::shared_ptr<ON::Preview> preview)
        : format(std::move(format)), xpsFileIndex(xpsFileIndex), originalDocumentNumber(originalDocumentNumber),
          originalPageNumber(originalPageNumber), isPrintOut(isPrintOut), backgroundImage(backgroundImage),
          hyperlink(std::move(hyperlink)), alt(std::move(alt)), sourceDocument(sourceDocument),
          tagable(std::move(tagable)), source(std::move(source)), ocrData(std::move(ocrData)),
          preview(std::move(preview))
    {
        Adopt(this->tagable.pageObject.metas);
        Adopt(this->tagable.mediaIndexes);
        Adopt(this->tagable.tags);
        Adopt(this->tagable.laterTags);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using I = Image;
        return KeepingLateChildren(Attribute(L"format", &I::format, L"auto"),
                                   Attribute(L"xpsFileIndex", &I::xpsFileIndex),
                                   Attribute(L"originalDocumentNumber", &I::originalDocumentNumber, 0u),
                                   Attribute(L"originalPageNumber", &I::originalPageNumber, 0u),
                                   Attribute(L"isPrintOut", &I::isPrintOut, false),
                                   Attribute(L"backgroundImage", &I::backgroundImage, false),
                                   Attribute(L"hyperlink", &I::hyperlink), Attribute(L"alt", &I::alt),
                                   Attribute(L"sourceDocument", &I::sourceDocument), Xml::Group(&I::tagable),
                                   Xml::Group(&I::source), Xml::Optional(&I::ocrData), Xml::Optional(&I::preview));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in Images.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::PageObjectTagable>;
extern template class XmlElement<ON::OCRText>;
extern template class XmlElement<ON::OCRToken>;
extern template class XmlElement<ON::OCRData>;
extern template class XmlElement<ON::Image>;
