#pragma once
// The objects placed directly on a page (outlines, inserted and media files, ink drawings, objects
// of later OneNote versions) with their parts, and the holder of one of them in a page's content.
// Images are the other kind of page object. Paragraphs hold inserted files, media files, ink
// drawings and future objects as their content too.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/Images.h"
#include "onenote_model/InkAndMedia.h"
#include "onenote_model/LateChildren.h"
#include "onenote_model/OneNoteElement.h"
#include "onenote_model/PageObjectParts.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ON
{
class OEChildren;

// Points the lists of a taggable part built in code back to their lists, as the readers do.
inline void AdoptTagable(PageObjectTagable& tagable)
{
    Adopt(tagable.pageObject.metas);
    Adopt(tagable.mediaIndexes);
    Adopt(tagable.tags);
    Adopt(tagable.laterTags);
}

// The indentation of one level of an outline's paragraphs, in points.
class Indent : public XmlElement<Indent>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Indent");

    std::uint32_t level = 0;
    double indent = 0;

    Indent() = default;
    Indent(std::uint32_t level, double indent) : level(level), indent(indent) {}

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"level", &Indent::level), Xml::Attribute(L"indent", &Indent::indent));
    }
};

class Indents : public XmlElement<Indents>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Indents");

    Collection<Indent> indents;

    Indents() = default;
    explicit Indents(Collection<Indent> indents) : indents(std::move(indents)) { Adopt(this->indents); }

    static constexpr auto Schema() { return Xml::Schema(Xml::List(&Indents::indents)); }
};

// A box of paragraphs on the page.
class Outline : public XmlElement<Outline>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Outline");

    EditedByAttributes editedBy;
    TextAttributes textAttributes;
    ON::PageObject pageObject;
    std::shared_ptr<ON::Indents> indents;
    Collection<OEChildren> children;

    Outline() = default;
    Outline(EditedByAttributes editedBy, TextAttributes textAttributes, ON::PageObject pageObject,
            std::shared_ptr<ON::Indents> indents, Collection<OEChildren> children)
        : editedBy(std::move(editedBy)), textAttributes(std::move(textAttributes)), pageObject(std::move(pageObject)),
          indents(std::move(indents)), children(std::move(children))
    {
        Adopt(this->pageObject.metas);
        Adopt(this->children);
    }

    static constexpr auto Schema()
    {
        using O = Outline;
        return KeepingLateChildren(Xml::Group(&O::editedBy), Xml::Group(&O::textAttributes), Xml::Group(&O::pageObject),
                                   Xml::Optional(&O::indents), Xml::List(&O::children));
    }
};

// The previews of the embedded parts of an inserted file.
class Previews : public XmlElement<Previews>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Previews");

    // Always written, the all-zero GUID when none was read: the schema requires it.
    GUID sourceDocument{};
    bool displayAll = false;
    Collection<Preview> previews;

    Previews() = default;
    Previews(const GUID& sourceDocument, bool displayAll, Collection<Preview> previews)
        : sourceDocument(sourceDocument), displayAll(displayAll), previews(std::move(previews))
    {
        Adopt(this->previews);
    }

    static constexpr auto Schema()
    {
        using P = Previews;
        return Xml::Schema(Xml::Attribute(L"sourceDocument", &P::sourceDocument),
                           Xml::Attribute(L"displayAll", &P::displayAll, false), Xml::List(&P::previews));
    }
};

// The printout of an inserted file: the page's XPS file of that index.
class Printout : public XmlElement<Printout>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Printout");

    std::uint32_t xpsFileIndex = 0;
    bool outOfDate = false;

    Printout() = default;
    Printout(std::uint32_t xpsFileIndex, bool outOfDate) : xpsFileIndex(xpsFileIndex), outOfDate(outOfDate) {}

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"xpsFileIndex", &Printout::xpsFileIndex),
                           Xml::Attribute(L"outOfDate", &Printout::outOfDate, false));
    }
};

// What an inserted file shows: made with the first of the two it reads. The schema allows one;
// both are kept and written when both were read, the previews first.
struct InsertedFileChoice
{
    std::shared_ptr<ON::Previews> previews;
    std::shared_ptr<ON::Printout> printout;

    InsertedFileChoice() = default;
    InsertedFileChoice(std::shared_ptr<ON::Previews> previews, std::shared_ptr<ON::Printout> printout)
        : previews(std::move(previews)), printout(std::move(printout))
    {
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Optional(&InsertedFileChoice::previews), Xml::Optional(&InsertedFileChoice::printout));
    }
};

// A file attached to the page. Its own attributes come before those of its page object.
class InsertedFile : public XmlElement<InsertedFile>
{
public:
    static constexpr ElementName Name = OneNoteName(L"InsertedFile");

    std::optional<std::wstring> pathSource;
    std::optional<std::wstring> pathCache;
    std::optional<std::wstring> preferredName;
    PageObjectTagable tagable;
    std::shared_ptr<InsertedFileChoice> shown;

    InsertedFile() = default;
    InsertedFile(std::optional<std::wstring> pathSource, std::optional<std::wstring> pathCache,
                 std::optional<std::wstring> preferredName, PageObjectTagable tagable,
                 std::shared_ptr<InsertedFileChoice> shown)
        : pathSource(std::move(pathSource)), pathCache(std::move(pathCache)), preferredName(std::move(preferredName)),
          tagable(std::move(tagable)), shown(std::move(shown))
    {
        AdoptTagable(this->tagable);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using F = InsertedFile;
        return KeepingLateChildren(Attribute(L"pathSource", &F::pathSource), Attribute(L"pathCache", &F::pathCache),
                                   Attribute(L"preferredName", &F::preferredName), Xml::Group(&F::tagable),
                                   Xml::Group(&F::shown));
    }
};

// An attached recording: an inserted file with the reference to its media. The inserted file is
// a part held by value; only its fields are used, not its links.
class MediaFile : public XmlElement<MediaFile>
{
public:
    static constexpr ElementName Name = OneNoteName(L"MediaFile");

    ON::InsertedFile insertedFile;
    std::shared_ptr<ON::MediaReference> mediaReference;

    MediaFile() = default;
    MediaFile(ON::InsertedFile insertedFile, std::shared_ptr<ON::MediaReference> mediaReference)
        : insertedFile(std::move(insertedFile)), mediaReference(std::move(mediaReference))
    {
        AdoptTagable(this->insertedFile.tagable);
    }

    static constexpr auto Schema()
    {
        using M = MediaFile;
        return KeepingLateChildren(Xml::Group(&M::insertedFile), Xml::Optional(&M::mediaReference));
    }
};

class AnchorPoint : public XmlElement<AnchorPoint>
{
public:
    static constexpr ElementName Name = OneNoteName(L"AnchorPoint");

    double x = 0;
    double y = 0;

    AnchorPoint() = default;
    AnchorPoint(double x, double y) : x(x), y(y) {}

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"x", &AnchorPoint::x), Xml::Attribute(L"y", &AnchorPoint::y));
    }
};

// The shape that OneNote recognised in an ink drawing.
class ShapeInfo : public XmlElement<ShapeInfo>
{
public:
    static constexpr ElementName Name = OneNoteName(L"ShapeInfo");

    bool isLine = false;
    Collection<AnchorPoint> anchorPoints;

    ShapeInfo() = default;
    ShapeInfo(bool isLine, Collection<AnchorPoint> anchorPoints) : isLine(isLine), anchorPoints(std::move(anchorPoints))
    {
        Adopt(this->anchorPoints);
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"isLine", &ShapeInfo::isLine, false), Xml::List(&ShapeInfo::anchorPoints));
    }
};

// A drawing in ink. Its own attributes come before those of its page object.
class InkDrawing : public XmlElement<InkDrawing>
{
public:
    static constexpr ElementName Name = OneNoteName(L"InkDrawing");

    bool isUnclassified = false;
    double inkOriginX = 0;
    double inkOriginY = 0;
    PageObjectTagable tagable;
    std::shared_ptr<ON::ShapeInfo> shapeInfo;
    ImageChoice source;

    InkDrawing() = default;
    InkDrawing(bool isUnclassified, double inkOriginX, double inkOriginY, PageObjectTagable tagable,
               std::shared_ptr<ON::ShapeInfo> shapeInfo, ImageChoice source)
        : isUnclassified(isUnclassified), inkOriginX(inkOriginX), inkOriginY(inkOriginY), tagable(std::move(tagable)),
          shapeInfo(std::move(shapeInfo)), source(std::move(source))
    {
        AdoptTagable(this->tagable);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using D = InkDrawing;
        return KeepingLateChildren(Attribute(L"isUnclassified", &D::isUnclassified, false),
                                   Attribute(L"inkOriginX", &D::inkOriginX, 0.0),
                                   Attribute(L"inkOriginY", &D::inkOriginY, 0.0), Xml::Group(&D::tagable),
                                   Xml::Optional(&D::shapeInfo), Xml::Group(&D::source));
    }
};

// Content of a later OneNote version: kept by its page object alone and written back as read.
class FutureObject : public XmlElement<FutureObject>
{
public:
    static constexpr ElementName Name = OneNoteName(L"FutureObject");

    PageObjectTagable tagable;

    FutureObject() = default;
    explicit FutureObject(PageObjectTagable tagable) : tagable(std::move(tagable)) { AdoptTagable(this->tagable); }

    static constexpr auto Schema() { return KeepingLateChildren(Xml::Group(&FutureObject::tagable)); }
};

// One object of a page's content. Reading gives each object a holder of its own; a holder built
// in code with more than one object writes them all, in this order.
class PageElement : public ChoiceHolder<PageElement>
{
public:
    static constexpr ElementName Name{L"PageElement"};

    std::shared_ptr<ON::Outline> outline;
    std::shared_ptr<ON::Image> image;
    std::shared_ptr<ON::InkDrawing> inkDrawing;
    std::shared_ptr<ON::InsertedFile> insertedFile;
    std::shared_ptr<ON::MediaFile> mediaFile;
    std::shared_ptr<ON::FutureObject> futureObject;

    PageElement() = default;
    explicit PageElement(std::shared_ptr<ON::Outline> outline) : outline(std::move(outline)) {}
    explicit PageElement(std::shared_ptr<ON::Image> image) : image(std::move(image)) {}
    explicit PageElement(std::shared_ptr<ON::InkDrawing> inkDrawing) : inkDrawing(std::move(inkDrawing)) {}
    explicit PageElement(std::shared_ptr<ON::InsertedFile> insertedFile) : insertedFile(std::move(insertedFile)) {}
    explicit PageElement(std::shared_ptr<ON::MediaFile> mediaFile) : mediaFile(std::move(mediaFile)) {}
    explicit PageElement(std::shared_ptr<ON::FutureObject> futureObject) : futureObject(std::move(futureObject)) {}

    static constexpr auto Schema()
    {
        using Xml::Optional;
        using E = PageElement;
        return Xml::Schema(Optional(&E::outline), Optional(&E::image), Optional(&E::inkDrawing),
                           Optional(&E::insertedFile), Optional(&E::mediaFile), Optional(&E::futureObject));
    }
};

// True exactly for the names of the six kinds of page content.
bool IsPageElementName(std::wstring_view localName);
} // namespace ON

// An outline's blocks of paragraphs: the circle of paragraphs and page objects is complete
// wherever an outline is used.
#include "onenote_model/OutlineElements.h"

// The reading and writing of these elements is compiled once, in PageObjects.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::Indent>;
extern template class XmlElement<ON::Indents>;
extern template class XmlElement<ON::Outline>;
extern template class XmlElement<ON::Previews>;
extern template class XmlElement<ON::Printout>;
extern template class XmlElement<ON::InsertedFile>;
extern template class XmlElement<ON::MediaFile>;
extern template class XmlElement<ON::AnchorPoint>;
extern template class XmlElement<ON::ShapeInfo>;
extern template class XmlElement<ON::InkDrawing>;
extern template class XmlElement<ON::FutureObject>;
