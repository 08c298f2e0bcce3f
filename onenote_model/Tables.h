#pragma once
// Tables in paragraphs. Nothing builds one: they are read from OneNote's pages and must come back
// with every attribute and child they had.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/OneNoteElement.h"
#include "onenote_model/OutlineElements.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace ON
{
class Column : public XmlElement<Column>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Column");

    std::uint32_t index = 0;
    double width = 0;
    bool isLocked = false;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"index", &Column::index), Attribute(L"width", &Column::width),
                           Attribute(L"isLocked", &Column::isLocked, false));
    }
};

class Columns : public XmlElement<Columns>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Columns");

    Collection<Column> columns;

    static constexpr auto Schema() { return Xml::Schema(Xml::List(&Columns::columns)); }
};

// A cell's content is blocks of paragraphs, as an outline's is.
class Cell : public XmlElement<Cell>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Cell");

    std::optional<std::wstring> objectID;
    std::wstring selected = L"none";
    std::optional<SYSTEMTIME> lastModifiedTime;
    std::optional<Color> shadingColor;
    std::optional<std::uint32_t> meetingContentType;
    EditedByAttributes editedBy;
    TextAttributes textAttributes;
    Collection<OEChildren> content;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using C = Cell;
        return Xml::Schema(Attribute(L"objectID", &C::objectID), Attribute(L"selected", &C::selected, L"none"),
                           Attribute(L"lastModifiedTime", &C::lastModifiedTime),
                           Attribute(L"shadingColor", &C::shadingColor),
                           Attribute(L"meetingContentType", &C::meetingContentType), Xml::Group(&C::editedBy),
                           Xml::Group(&C::textAttributes), Xml::List(&C::content));
    }
};

class Row : public XmlElement<Row>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Row");

    std::optional<std::wstring> objectID;
    std::wstring selected = L"none";
    std::optional<SYSTEMTIME> lastModifiedTime;
    std::optional<std::uint32_t> meetingContentType;
    std::optional<std::wstring> meetingContentId;
    EditedByAttributes editedBy;
    TextAttributes textAttributes;
    Collection<Cell> cells;

    Row() = default;
    Row(std::optional<std::wstring> objectID, std::wstring selected, std::optional<SYSTEMTIME> lastModifiedTime,
        std::optional<std::uint32_t> meetingContentType, std::optional<std::wstring> meetingContentId,
        EditedByAttributes editedBy, TextAttributes textAttributes, Collection<Cell> cells)
        : objectID(std::move(objectID)), selected(std::move(selected)), lastModifiedTime(lastModifiedTime),
          meetingContentType(meetingContentType), meetingContentId(std::move(meetingContentId)),
          editedBy(std::move(editedBy)), textAttributes(std::move(textAttributes)), cells(std::move(cells))
    {
        Adopt(this->cells);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using R = Row;
        return Xml::Schema(Attribute(L"objectID", &R::objectID), Attribute(L"selected", &R::selected, L"none"),
                           Attribute(L"lastModifiedTime", &R::lastModifiedTime),
                           Attribute(L"meetingContentType", &R::meetingContentType),
                           Attribute(L"meetingContentId", &R::meetingContentId), Xml::Group(&R::editedBy),
                           Xml::Group(&R::textAttributes), Xml::List(&R::cells));
    }
};

// The columns are taken wherever they stand among the rows and written before them.
class Table : public XmlElement<Table>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Table");

    std::optional<std::wstring> objectID;
    bool bordersVisible = false;
    bool hasHeaderRow = false;
    std::wstring selected = L"none";
    std::optional<SYSTEMTIME> lastModifiedTime;
    std::optional<std::uint32_t> meetingContentType;
    EditedByAttributes editedBy;
    TextAttributes textAttributes;
    std::shared_ptr<ON::Columns> columns;
    Collection<Row> rows;

    Table() = default;
    Table(std::optional<std::wstring> objectID, bool bordersVisible, bool hasHeaderRow, std::wstring selected,
          std::optional<SYSTEMTIME> lastModifiedTime, std::optional<std::uint32_t> meetingContentType,
          EditedByAttributes editedBy, TextAttributes textAttributes, std::shared_ptr<ON::Columns> columns,
          Collection<Row> rows)
        : objectID(std::move(objectID)), bordersVisible(bordersVisible), hasHeaderRow(hasHeaderRow),
          selected(std::move(selected)), lastModifiedTime(lastModifiedTime), meetingContentType(meetingContentType),
          editedBy(std::move(editedBy)), textAttributes(std::move(textAttributes)), columns(std::move(columns)),
          rows(std::move(rows))
    {
        Adopt(this->rows);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using T = Table;
        return Xml::Schema(Attribute(L"objectID", &T::objectID),
                           Attribute(L"bordersVisible", &T::bordersVisible, false),
                           Attribute(L"hasHeaderRow", &T::hasHeaderRow, false),
                           Attribute(L"selected", &T::selected, L"none"),
                           Attribute(L"lastModifiedTime", &T::lastModifiedTime),
                           Attribute(L"meetingContentType", &T::meetingContentType), Xml::Group(&T::editedBy),
                           Xml::Group(&T::textAttributes), Xml::Optional(&T::columns), Xml::List(&T::rows));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in Tables.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::Column>;
extern template class XmlElement<ON::Columns>;
extern template class XmlElement<ON::Cell>;
extern template class XmlElement<ON::Row>;
extern template class XmlElement<ON::Table>;
