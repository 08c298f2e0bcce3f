#pragma once
// The attribute groups that several OneNote elements carry. A group is a record held by value in
// each element that carries it; the element's table names it with Xml::Group at the place where
// its attributes are written. A group is made empty (every attribute at its default) or from all
// its values in table order.

#include "onenote_model/OneNoteElement.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ON
{
// The operations a group offers beside its table, for code that handles a group on its own.
template <typename Group>
struct AttributeGroup
{
    void WriteAttributes(IXmlWriter* writer) const
    {
        Group::Schema().WriteAttributes(static_cast<const Group&>(*this), writer);
    }
    // False for a name that is not the group's.
    bool SetAttribute(std::wstring_view localName, std::wstring_view value)
    {
        return Group::Schema().SetAttribute(static_cast<Group&>(*this), localName, value);
    }
};

// Notebooks, section groups, sections and pages.
struct HierarchyAttributes : AttributeGroup<HierarchyAttributes>
{
    HierarchyAttributes() = default;
    HierarchyAttributes(std::optional<std::wstring> ID, std::optional<std::wstring> name, std::optional<SYSTEMTIME> lastModifiedTime, bool isCurrentlyViewed, bool isInRecycleBin)
        : ID(std::move(ID)), name(std::move(name)), lastModifiedTime(lastModifiedTime), isCurrentlyViewed(isCurrentlyViewed), isInRecycleBin(isInRecycleBin)
    {
    }

    std::optional<std::wstring> ID;
    std::optional<std::wstring> name;
    std::optional<SYSTEMTIME> lastModifiedTime;
    bool isCurrentlyViewed = false;
    bool isInRecycleBin = false;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using G = HierarchyAttributes;
        return Xml::Schema(Attribute(L"ID", &G::ID), Attribute(L"name", &G::name),
                           Attribute(L"lastModifiedTime", &G::lastModifiedTime),
                           Attribute(L"isCurrentlyViewed", &G::isCurrentlyViewed, false),
                           Attribute(L"isInRecycleBin", &G::isInRecycleBin, false));
    }
};

// The page and the paragraph-level and text elements.
struct TextAttributes : AttributeGroup<TextAttributes>
{
    TextAttributes() = default;
    TextAttributes(std::optional<std::wstring> style, std::optional<std::uint32_t> quickStyleIndex, std::optional<std::wstring> lang)
        : style(std::move(style)), quickStyleIndex(quickStyleIndex), lang(std::move(lang))
    {
    }

    std::optional<std::wstring> style;
    std::optional<std::uint32_t> quickStyleIndex;
    std::optional<std::wstring> lang;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using G = TextAttributes;
        return Xml::Schema(Attribute(L"style", &G::style), Attribute(L"quickStyleIndex", &G::quickStyleIndex),
                           Attribute(L"lang", &G::lang));
    }
};

// Notebooks, section groups and sections; their tables put it last, after the hierarchy group.
struct PathAttributes : AttributeGroup<PathAttributes>
{
    PathAttributes() = default;
    explicit PathAttributes(std::optional<std::wstring> path)
        : path(std::move(path))
    {
    }

    std::optional<std::wstring> path;

    static constexpr auto Schema() { return Xml::Schema(Xml::Attribute(L"path", &PathAttributes::path)); }
};

// Outlines, paragraphs, tables, rows and cells.
struct EditedByAttributes : AttributeGroup<EditedByAttributes>
{
    EditedByAttributes() = default;
    EditedByAttributes(std::optional<std::wstring> author, std::optional<std::wstring> authorInitials, std::optional<std::wstring> authorResolutionID, std::optional<std::wstring> lastModifiedBy, std::optional<std::wstring> lastModifiedByInitials, std::optional<std::wstring> lastModifiedByResolutionID, std::optional<SYSTEMTIME> creationTime)
        : author(std::move(author)), authorInitials(std::move(authorInitials)), authorResolutionID(std::move(authorResolutionID)), lastModifiedBy(std::move(lastModifiedBy)), lastModifiedByInitials(std::move(lastModifiedByInitials)), lastModifiedByResolutionID(std::move(lastModifiedByResolutionID)), creationTime(creationTime)
    {
    }

    std::optional<std::wstring> author;
    std::optional<std::wstring> authorInitials;
    std::optional<std::wstring> authorResolutionID;
    std::optional<std::wstring> lastModifiedBy;
    std::optional<std::wstring> lastModifiedByInitials;
    std::optional<std::wstring> lastModifiedByResolutionID;
    std::optional<SYSTEMTIME> creationTime;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using G = EditedByAttributes;
        return Xml::Schema(Attribute(L"author", &G::author), Attribute(L"authorInitials", &G::authorInitials),
                           Attribute(L"authorResolutionID", &G::authorResolutionID),
                           Attribute(L"lastModifiedBy", &G::lastModifiedBy),
                           Attribute(L"lastModifiedByInitials", &G::lastModifiedByInitials),
                           Attribute(L"lastModifiedByResolutionID", &G::lastModifiedByResolutionID),
                           Attribute(L"creationTime", &G::creationTime));
    }
};

// Note tags and Outlook tasks.
struct TaskAttributes : AttributeGroup<TaskAttributes>
{
    TaskAttributes() = default;
    TaskAttributes(bool completed, bool disabled, std::optional<SYSTEMTIME> creationDate, std::optional<SYSTEMTIME> completionDate)
        : completed(completed), disabled(disabled), creationDate(creationDate), completionDate(completionDate)
    {
    }

    bool completed = false;
    bool disabled = false;
    std::optional<SYSTEMTIME> creationDate;
    std::optional<SYSTEMTIME> completionDate;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using G = TaskAttributes;
        return Xml::Schema(Attribute(L"completed", &G::completed, false), Attribute(L"disabled", &G::disabled, false),
                           Attribute(L"creationDate", &G::creationDate),
                           Attribute(L"completionDate", &G::completionDate));
    }
};
} // namespace ON
