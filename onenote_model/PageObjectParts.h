#pragma once
// The small elements every positioned page object is built from: its place and extent, its
// metadata, the common page-object part itself, file references, and the note tag and Outlook
// task that objects and paragraphs can carry.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/LateChildren.h"
#include "onenote_model/OneNoteElement.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace ON
{
// The place of a page object, in points.
class Position : public XmlElement<Position>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Position");

    double x = 0;
    double y = 0;
    std::optional<std::uint32_t> z;

    Position() = default;
    Position(double x, double y, std::optional<std::uint32_t> z = std::nullopt) : x(x), y(y), z(z) {}

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"x", &Position::x), Attribute(L"y", &Position::y), Attribute(L"z", &Position::z));
    }
};

// The extent of a page object, in points.
class Size : public XmlElement<Size>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Size");

    double width = 0;
    double height = 0;
    std::optional<bool> isSetByUser;

    Size() = default;
    Size(double width, double height, std::optional<bool> isSetByUser = std::nullopt)
        : width(width), height(height), isSetByUser(isSetByUser)
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"width", &Size::width), Attribute(L"height", &Size::height),
                           Attribute(L"isSetByUser", &Size::isSetByUser));
    }
};

// One named piece of metadata of a page, a page object or a paragraph.
class Meta : public XmlElement<Meta>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Meta");

    std::wstring name;
    std::optional<std::wstring> content;

    Meta() = default;
    explicit Meta(std::wstring name, std::optional<std::wstring> content = std::nullopt)
        : name(std::move(name)), content(std::move(content))
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"name", &Meta::name), Attribute(L"content", &Meta::content));
    }
};

// The common part of every positioned page object. Outlines and the taggable objects hold one by
// value and write its attributes and children where their tables name it; on its own it is the
// element "PageObject".
class PageObject : public XmlElement<PageObject>
{
public:
    static constexpr ElementName Name = OneNoteName(L"PageObject");

    std::optional<std::wstring> objectID;
    std::wstring selected = L"none";
    std::optional<SYSTEMTIME> lastModifiedTime;
    std::shared_ptr<ON::Position> position;
    std::shared_ptr<ON::Size> size;
    // Closed once another child follows the metadata.
    Collection<Meta> metas;

    PageObject() = default;
    PageObject(std::optional<std::wstring> objectID, std::wstring selected, std::optional<SYSTEMTIME> lastModifiedTime,
               std::shared_ptr<ON::Position> position, std::shared_ptr<ON::Size> size, Collection<Meta> metas = {})
        : objectID(std::move(objectID)), selected(std::move(selected)), lastModifiedTime(lastModifiedTime),
          position(std::move(position)), size(std::move(size)), metas(std::move(metas))
    {
        Adopt(this->metas);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using P = PageObject;
        return KeepingLateChildren(Attribute(L"objectID", &P::objectID), Attribute(L"selected", &P::selected, L"none"),
                                   Attribute(L"lastModifiedTime", &P::lastModifiedTime), Xml::Optional(&P::position),
                                   Xml::Optional(&P::size), Xml::List(&P::metas));
    }
};

// The schema's named type of file references: a path, and no text.
class T_FilePath : public SchemaType
{
public:
    std::wstring path;

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"path", &T_FilePath::path)); }

protected:
    T_FilePath() = default;
    T_FilePath(const T_FilePath&) = default;
    T_FilePath& operator=(const T_FilePath&) = default;
    ~T_FilePath() = default;
};

// A file given by its path: the source of an image, an ink object, an HTML block or an XPS file.
class FilePath_File : public XmlElement<FilePath_File, T_FilePath>
{
public:
    static constexpr ElementName Name = OneNoteName(L"File");

    FilePath_File() = default;
    explicit FilePath_File(std::wstring path) { this->path = std::move(path); }

    static constexpr auto Schema() { return T_FilePath::Schema(); }
};

// An Outlook task linked to a paragraph or page object. Unlike a note tag it writes the task
// attributes before its own.
class OutlookTask : public XmlElement<OutlookTask>
{
public:
    static constexpr ElementName Name = OneNoteName(L"OutlookTask");

    TaskAttributes task;
    std::optional<SYSTEMTIME> startDate;
    std::optional<SYSTEMTIME> dueDate;
    GUID guidTask{};

    OutlookTask() = default;
    OutlookTask(TaskAttributes task, std::optional<SYSTEMTIME> startDate, std::optional<SYSTEMTIME> dueDate,
                const GUID& guidTask)
        : task(std::move(task)), startDate(startDate), dueDate(dueDate), guidTask(guidTask)
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = OutlookTask;
        return Xml::Schema(Xml::Group(&T::task), Attribute(L"startDate", &T::startDate),
                           Attribute(L"dueDate", &T::dueDate), Attribute(L"guidTask", &T::guidTask));
    }
};

// A note tag: the index of the page's tag definition it applies.
class Tag : public XmlElement<Tag>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Tag");

    std::uint32_t index = 0;
    TaskAttributes task;

    Tag() = default;
    Tag(std::uint32_t index, TaskAttributes task) : index(index), task(std::move(task)) {}

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"index", &Tag::index), Xml::Group(&Tag::task)); }
};

// One preview of an embedded part of an inserted file, or the preview an image carries.
class Preview : public XmlElement<Preview>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Preview");

    std::wstring page;
    std::optional<std::wstring> object;
    std::optional<std::wstring> range;

    Preview() = default;
    Preview(std::wstring page, std::optional<std::wstring> object, std::optional<std::wstring> range)
        : page(std::move(page)), object(std::move(object)), range(std::move(range))
    {
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"page", &Preview::page), Attribute(L"object", &Preview::object),
                           Attribute(L"range", &Preview::range));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in PageObjectParts.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::Position>;
extern template class XmlElement<ON::Size>;
extern template class XmlElement<ON::Meta>;
extern template class XmlElement<ON::PageObject>;
extern template class XmlElement<ON::FilePath_File, ON::T_FilePath>;
extern template class XmlElement<ON::OutlookTask>;
extern template class XmlElement<ON::Tag>;
extern template class XmlElement<ON::Preview>;
