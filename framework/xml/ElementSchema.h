#pragma once
// The tables that describe element classes: which attributes a class has and how each is written,
// and which children it takes in which order. A table is a constexpr value built from the entries
// below; XmlElement<X> reads and writes X through X::Schema().
//
//   Attribute(name, &X::m)             required: always written (optional<V> members: when set)
//   Attribute(name, &X::m, default)    written when it differs from default
//   Text(&X::text)                     the element's text content
//   Optional(&X::child)                shared_ptr<C>: at most one C, taken wherever it comes
//   Merged(&X::child)                  shared_ptr<C>: one C, into which every C element is read
//   Required(&X::child)                C held by value: always written, read once
//   List(&X::children)                 Collection<C>: a run of C, closed by a later member
//   ChoiceList(&X::holders)            Collection<H>: a run of choice holders, one per element
//                                      (either list may be a shared_ptr, made with its first element)
//   Group(&X::record)                  the table of a record held by value or by shared_ptr
//                                      (attribute groups, alternatives of a choice, sequences)
//   Base<B>()                          the table of base class B
//   AnyOtherElement()                  any element no entry before it takes: passed over whole,
//                                      and, as a later member, it closes the lists before it
//
// Children are matched in table order: an element is taken by the first entry that accepts its
// name, and every list before that entry is closed. A name no entry accepts leaves all as it was.

#include "framework/xml/ChildElement.h"
#include "framework/xml/Colors.h"
#include "framework/xml/ElementReader.h"
#include "framework/xml/ValueConverters.h"
#include "framework/xml/XmlDocument.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <type_traits>

namespace Xml
{
// How values of type V are read from and written to attribute text. Specialise it for further
// types (the format function may return a literal, the value's own text, or fill the buffer).
template <typename V>
struct ValueConverter;

template <>
struct ValueConverter<std::wstring>
{
    static std::wstring Parse(std::wstring_view text) { return std::wstring(text); }
    static const wchar_t* Format(const std::wstring& value, ValueBuffer&) { return value.c_str(); }
};

template <>
struct ValueConverter<bool>
{
    static bool Parse(std::wstring_view text) { return TextToBool(text); }
    static const wchar_t* Format(bool value, ValueBuffer&) { return BoolToText(value); }
};

template <>
struct ValueConverter<std::uint32_t>
{
    static std::uint32_t Parse(std::wstring_view text) { return TextToUInt(text); }
    static const wchar_t* Format(std::uint32_t value, ValueBuffer& buffer) { return FormatUInt(value, buffer); }
};

template <>
struct ValueConverter<std::int32_t>
{
    static std::int32_t Parse(std::wstring_view text) { return TextToInt(text); }
    static const wchar_t* Format(std::int32_t value, ValueBuffer& buffer) { return FormatInt(value, buffer); }
};

template <>
struct ValueConverter<double>
{
    static double Parse(std::wstring_view text) { return TextToDouble(text); }
    static const wchar_t* Format(double value, ValueBuffer& buffer) { return FormatDouble(value, buffer); }
};

template <>
struct ValueConverter<float>
{
    static float Parse(std::wstring_view text) { return TextToFloat(text); }
    static const wchar_t* Format(float value, ValueBuffer& buffer) { return FormatFloat(value, buffer); }
};

template <>
struct ValueConverter<SYSTEMTIME>
{
    static SYSTEMTIME Parse(std::wstring_view text) { return TextToDateTime(text); }
    static const wchar_t* Format(const SYSTEMTIME& value, ValueBuffer& buffer) { return FormatDateTime(value, buffer); }
};

template <>
struct ValueConverter<Color>
{
    static Color Parse(std::wstring_view text) { return ParseColor(text); }
    static const wchar_t* Format(Color value, ValueBuffer& buffer) { return FormatColor(value, buffer); }
};

template <typename V>
void WriteValue(IXmlWriter* writer, std::wstring_view name, const V& value)
{
    ValueBuffer buffer;
    WriteAttributeValue(writer, name, ValueConverter<V>::Format(value, buffer));
}

// Defaults are kept in a form that a constexpr table can hold: text as a view of a literal.
template <typename V>
using DefaultOf = std::conditional_t<std::is_same_v<V, std::wstring>, std::wstring_view, V>;

template <typename V>
bool EqualsDefault(const V& value, const DefaultOf<V>& defaultValue)
{
    if constexpr (std::is_same_v<V, SYSTEMTIME>)
        return std::memcmp(&value, &defaultValue, sizeof value) == 0;
    else
        return value == defaultValue;
}

// The parts of the entry interface that an entry does not have.
template <typename Owner>
struct NoAttributes
{
    bool SetAttribute(Owner&, std::wstring_view, std::wstring_view) const { return false; }
    void WriteAttributes(const Owner&, IXmlWriter*) const {}
};

template <typename Owner>
struct NoChildren
{
    bool Accepts(const Owner&, std::wstring_view) const { return false; }
    void Take(Owner&, std::wstring_view, const ReadContext&) const {}
    void Close(Owner&) const {}
    void WriteChildren(const Owner&, IXmlWriter*) const {}
};

template <typename Owner>
struct NoText
{
    std::wstring* TextOf(Owner&) const { return nullptr; }
};

template <typename Owner, typename V>
struct RequiredAttribute : NoChildren<Owner>, NoText<Owner>
{
    std::wstring_view name;
    V Owner::*member;

    bool SetAttribute(Owner& owner, std::wstring_view localName, std::wstring_view value) const
    {
        if (localName != name)
            return false;
        owner.*member = ValueConverter<V>::Parse(value);
        return true;
    }
    void WriteAttributes(const Owner& owner, IXmlWriter* writer) const { WriteValue(writer, name, owner.*member); }
};

template <typename Owner, typename V>
struct OptionalAttribute : NoChildren<Owner>, NoText<Owner>
{
    std::wstring_view name;
    std::optional<V> Owner::*member;

    bool SetAttribute(Owner& owner, std::wstring_view localName, std::wstring_view value) const
    {
        if (localName != name)
            return false;
        owner.*member = ValueConverter<V>::Parse(value);
        return true;
    }
    void WriteAttributes(const Owner& owner, IXmlWriter* writer) const
    {
        if (const std::optional<V>& value = owner.*member)
            WriteValue(writer, name, *value);
    }
};

template <typename Owner, typename V>
struct DefaultedAttribute : NoChildren<Owner>, NoText<Owner>
{
    std::wstring_view name;
    V Owner::*member;
    DefaultOf<V> defaultValue;

    bool SetAttribute(Owner& owner, std::wstring_view localName, std::wstring_view value) const
    {
        if (localName != name)
            return false;
        owner.*member = ValueConverter<V>::Parse(value);
        return true;
    }
    void WriteAttributes(const Owner& owner, IXmlWriter* writer) const
    {
        if (!EqualsDefault(owner.*member, defaultValue))
            WriteValue(writer, name, owner.*member);
    }
};

template <typename Owner>
struct TextEntry : NoAttributes<Owner>, NoChildren<Owner>
{
    std::wstring Owner::*member;

    std::wstring* TextOf(Owner& owner) const { return &(owner.*member); }
    void WriteChildren(const Owner& owner, IXmlWriter* writer) const
    {
        if constexpr (std::is_base_of_v<SchemaType, Owner>)
            WriteTextContent(writer, owner.*member, owner.IsRaw(), owner.IsCData());
        else
            WriteTextContent(writer, owner.*member, owner.raw, owner.cdata);
    }
};

template <typename Owner, typename C>
struct OptionalChild : NoAttributes<Owner>, NoText<Owner>
{
    std::shared_ptr<C> Owner::*member;

    bool Accepts(const Owner& owner, std::wstring_view name) const
    {
        const std::shared_ptr<C>& child = owner.*member;
        return (!child || !child->read) && name == C::Name.localName;
    }
    void Take(Owner& owner, std::wstring_view, const ReadContext& context) const
    {
        std::shared_ptr<C>& child = owner.*member;
        if (!child)
            child = std::make_shared<C>();
        child->Read(context);
    }
    void Close(Owner&) const {}
    void WriteChildren(const Owner& owner, IXmlWriter* writer) const
    {
        if (const std::shared_ptr<C>& child = owner.*member)
            WriteChild(writer, *child);
    }
};

// A child whose repetitions all read into the one object, the later ones adding to it.
template <typename Owner, typename C>
struct MergedChild : OptionalChild<Owner, C>
{
    bool Accepts(const Owner&, std::wstring_view name) const { return name == C::Name.localName; }
};

template <typename Owner, typename C>
struct RequiredChild : NoAttributes<Owner>, NoText<Owner>
{
    C Owner::*member;

    bool Accepts(const Owner& owner, std::wstring_view name) const
    {
        return !(owner.*member).read && name == C::Name.localName;
    }
    void Take(Owner& owner, std::wstring_view, const ReadContext& context) const { (owner.*member).Read(context); }
    void Close(Owner&) const {}
    void WriteChildren(const Owner& owner, IXmlWriter* writer) const { WriteChild(writer, owner.*member); }
};

// A record reached from its owner: held by value, by shared pointer (made when first needed), or
// as a base class of the owner.
template <typename Owner, typename Record>
struct ValueAccess
{
    static constexpr bool mayBeAbsent = false;
    Record Owner::*member;
    Record* Find(Owner& owner) const { return &(owner.*member); }
    const Record* Find(const Owner& owner) const { return &(owner.*member); }
    Record& Make(Owner& owner) const { return owner.*member; }
};

template <typename Owner, typename Record>
struct PointerAccess
{
    static constexpr bool mayBeAbsent = true;
    std::shared_ptr<Record> Owner::*member;
    Record* Find(Owner& owner) const { return (owner.*member).get(); }
    const Record* Find(const Owner& owner) const { return (owner.*member).get(); }
    Record& Make(Owner& owner) const
    {
        std::shared_ptr<Record>& record = owner.*member;
        if (!record)
            record = std::make_shared<Record>();
        return *record;
    }
};

template <typename Owner>
struct BaseAccess
{
    static constexpr bool mayBeAbsent = false;
    Owner* Find(Owner& owner) const { return &owner; }
    const Owner* Find(const Owner& owner) const { return &owner; }
    Owner& Make(Owner& owner) const { return owner; }
};

// The state of a record that does not exist yet, for asking whether it would take a name.
template <typename Record>
const Record& Fresh()
{
    static const Record fresh = Record();
    return fresh;
}

template <typename Owner, typename Record, typename Access>
struct GroupEntry : NoText<Owner>
{
    Access access;

    bool SetAttribute(Owner& owner, std::wstring_view localName, std::wstring_view value) const
    {
        Record* record = access.Find(owner);
        return record && Record::Schema().SetAttribute(*record, localName, value);
    }
    void WriteAttributes(const Owner& owner, IXmlWriter* writer) const
    {
        if (const Record* record = access.Find(owner))
            Record::Schema().WriteAttributes(*record, writer);
    }
    bool Accepts(const Owner& owner, std::wstring_view name) const
    {
        if (const Record* record = access.Find(owner))
            return Record::Schema().Accepts(*record, name);
        if constexpr (Access::mayBeAbsent)
            return Record::Schema().Accepts(Fresh<Record>(), name);
        else
            return false;
    }
    void Take(Owner& owner, std::wstring_view name, const ReadContext& context) const
    {
        Record::Schema().Take(access.Make(owner), name, context);
    }
    void Close(Owner& owner) const
    {
        if (Record* record = access.Find(owner))
            Record::Schema().CloseAll(*record);
    }
    void WriteChildren(const Owner& owner, IXmlWriter* writer) const
    {
        if (const Record* record = access.Find(owner))
            Record::Schema().WriteChildren(*record, writer);
    }
};

// A list reached from its owner, held by value or by shared pointer (made with its first element).
template <typename Owner, typename List>
struct ListAccess;

template <typename Owner, typename T>
struct ListAccess<Owner, Collection<T>> : ValueAccess<Owner, Collection<T>>
{
    using Item = T;
};

template <typename Owner, typename T>
struct ListAccess<Owner, std::shared_ptr<Collection<T>>> : PointerAccess<Owner, Collection<T>>
{
    using Item = T;
};

template <typename Owner, typename List>
struct ListChild : NoAttributes<Owner>, NoText<Owner>
{
    using Item = typename ListAccess<Owner, List>::Item;
    ListAccess<Owner, List> access;

    bool Accepts(const Owner& owner, std::wstring_view name) const
    {
        const Collection<Item>* list = access.Find(owner);
        return (!list || !list->closed) && name == Item::Name.localName;
    }
    void Take(Owner& owner, std::wstring_view, const ReadContext& context) const
    {
        access.Make(owner).AddNew()->Read(context);
    }
    void Close(Owner& owner) const
    {
        if (Collection<Item>* list = access.Find(owner))
            list->closed = true;
    }
    void WriteChildren(const Owner& owner, IXmlWriter* writer) const
    {
        if (const Collection<Item>* list = access.Find(owner))
            for (const std::shared_ptr<Item>& child : *list)
                if (child)
                    WriteChild(writer, *child);
    }
};

// A run of choice holders: each element of one of the holder's alternatives gets a holder of its
// own, which is named in the links of the element read into it.
template <typename Owner, typename List>
struct ChoiceListChild : NoAttributes<Owner>, NoText<Owner>
{
    using Holder = typename ListAccess<Owner, List>::Item;
    ListAccess<Owner, List> access;

    bool Accepts(const Owner& owner, std::wstring_view name) const
    {
        const Collection<Holder>* list = access.Find(owner);
        return (!list || !list->closed) && Holder::Schema().Accepts(Fresh<Holder>(), name);
    }
    void Take(Owner& owner, std::wstring_view name, const ReadContext& context) const
    {
        Holder& holder = *access.Make(owner).AddNew();
        holder.parentLink = *context.parentLink;
        holder.secondLink = *context.secondLink;
        holder.read = true;
        const ElementLink holderLink{&holder, Holder::Name.localName.data()};
        const ReadContext inner{context.reader, context.onElementEnd, &holderLink, context.secondLink, false};
        Holder::Schema().Take(holder, name, inner);
    }
    void Close(Owner& owner) const
    {
        if (Collection<Holder>* list = access.Find(owner))
            list->closed = true;
    }
    void WriteChildren(const Owner& owner, IXmlWriter* writer) const
    {
        if (const Collection<Holder>* list = access.Find(owner))
            for (const std::shared_ptr<Holder>& holder : *list)
                if (holder)
                    Holder::Schema().WriteChildren(*holder, writer);
    }
};

// Any element that no entry before it takes. Taking it closes the lists before it, so that a run
// of list elements ends at the first element of another name; the element itself is passed over.
template <typename Owner>
struct AnyOtherElementEntry : NoAttributes<Owner>, NoText<Owner>
{
    bool Accepts(const Owner&, std::wstring_view) const { return true; }
    void Take(Owner&, std::wstring_view, const ReadContext& context) const { context.reader->SkipElement(); }
    void Close(Owner&) const {}
    void WriteChildren(const Owner&, IXmlWriter*) const {}
};

// A class's table: its entries in schema order. The entries are kept as indexed bases rather than
// in a std::tuple: a table is instantiated for every element class in every file that sees it, and
// a tuple's constructor constraints cost far more to compile than these plain aggregates.
template <std::size_t Index, typename Entry>
struct SchemaSlot
{
    Entry entry;
};

template <typename Indices, typename... Entries>
class ElementSchemaOf;

template <std::size_t... Indices, typename... Entries>
class ElementSchemaOf<std::index_sequence<Indices...>, Entries...> : SchemaSlot<Indices, Entries>...
{
public:
    constexpr explicit ElementSchemaOf(Entries... entries) : SchemaSlot<Indices, Entries>{entries}... {}

    template <typename Owner>
    bool SetAttribute([[maybe_unused]] Owner& owner, [[maybe_unused]] std::wstring_view localName,
                      [[maybe_unused]] std::wstring_view value) const
    {
        return (Slot<Indices, Entries>().SetAttribute(owner, localName, value) || ...);
    }

    template <typename Owner>
    void WriteAttributes([[maybe_unused]] const Owner& owner, [[maybe_unused]] IXmlWriter* writer) const
    {
        (Slot<Indices, Entries>().WriteAttributes(owner, writer), ...);
    }

    template <typename Owner>
    bool Accepts([[maybe_unused]] const Owner& owner, [[maybe_unused]] std::wstring_view name) const
    {
        return (Slot<Indices, Entries>().Accepts(owner, name) || ...);
    }

    // Reads the element the reader stands on into the first entry that accepts its name, after
    // closing every list before that entry; false when no entry accepts it.
    template <typename Owner>
    bool Take([[maybe_unused]] Owner& owner, [[maybe_unused]] std::wstring_view name,
              [[maybe_unused]] const ReadContext& context) const
    {
        constexpr std::size_t none = sizeof...(Entries);
        std::size_t taker = none;
        ((taker == none && Slot<Indices, Entries>().Accepts(owner, name) ? void(taker = Indices) : void()), ...);
        if (taker == none)
            return false;
        ((Indices < taker    ? Slot<Indices, Entries>().Close(owner)
          : Indices == taker ? Slot<Indices, Entries>().Take(owner, name, context)
                             : void()),
         ...);
        return true;
    }

    template <typename Owner>
    void CloseAll([[maybe_unused]] Owner& owner) const
    {
        (Slot<Indices, Entries>().Close(owner), ...);
    }

    template <typename Owner>
    void WriteChildren([[maybe_unused]] const Owner& owner, [[maybe_unused]] IXmlWriter* writer) const
    {
        (Slot<Indices, Entries>().WriteChildren(owner, writer), ...);
    }

    template <typename Owner>
    std::wstring* TextOf([[maybe_unused]] Owner& owner) const
    {
        std::wstring* text = nullptr;
        ((text = text ? text : Slot<Indices, Entries>().TextOf(owner)), ...);
        return text;
    }

    // Calls visit(entry, index) for each entry in order, for tables that extend these rules.
    template <typename Visit>
    void VisitEntries([[maybe_unused]] Visit&& visit) const
    {
        (visit(Slot<Indices, Entries>(), Indices), ...);
    }

private:
    template <std::size_t Index, typename Entry>
    constexpr const Entry& Slot() const
    {
        return static_cast<const SchemaSlot<Index, Entry>&>(*this).entry;
    }
};

template <typename... Entries>
using ElementSchema = ElementSchemaOf<std::index_sequence_for<Entries...>, Entries...>;

template <typename... Entries>
constexpr auto Schema(Entries... entries)
{
    return ElementSchema<Entries...>(entries...);
}

template <typename T>
struct IsOptional : std::false_type
{
};
template <typename T>
struct IsOptional<std::optional<T>> : std::true_type
{
};

template <typename Owner, typename V>
constexpr auto Attribute(std::wstring_view name, V Owner::*member)
{
    if constexpr (IsOptional<V>::value)
        return OptionalAttribute<Owner, typename V::value_type>{{}, {}, name, member};
    else
        return RequiredAttribute<Owner, V>{{}, {}, name, member};
}

template <typename Owner, typename V, typename D>
constexpr auto Attribute(std::wstring_view name, V Owner::*member, D defaultValue)
{
    static_assert(!IsOptional<V>::value, "an optional attribute has no default");
    return DefaultedAttribute<Owner, V>{{}, {}, name, member, DefaultOf<V>(defaultValue)};
}

template <typename Owner>
constexpr auto Text(std::wstring Owner::*member)
{
    return TextEntry<Owner>{{}, {}, member};
}

template <typename Owner, typename C>
constexpr auto Optional(std::shared_ptr<C> Owner::*member)
{
    return OptionalChild<Owner, C>{{}, {}, member};
}

template <typename Owner, typename C>
constexpr auto Merged(std::shared_ptr<C> Owner::*member)
{
    return MergedChild<Owner, C>{{{}, {}, member}};
}

template <typename Owner, typename C>
constexpr auto Required(C Owner::*member)
{
    return RequiredChild<Owner, C>{{}, {}, member};
}

template <typename Owner, typename L>
constexpr auto List(L Owner::*member)
{
    return ListChild<Owner, L>{{}, {}, {{member}}};
}

template <typename Owner, typename L>
constexpr auto ChoiceList(L Owner::*member)
{
    return ChoiceListChild<Owner, L>{{}, {}, {{member}}};
}

template <typename Owner, typename Record>
constexpr auto Group(Record Owner::*member)
{
    return GroupEntry<Owner, Record, ValueAccess<Owner, Record>>{{}, {member}};
}

template <typename Owner, typename Record>
constexpr auto Group(std::shared_ptr<Record> Owner::*member)
{
    return GroupEntry<Owner, Record, PointerAccess<Owner, Record>>{{}, {member}};
}

template <typename Owner>
constexpr auto AnyOtherElement()
{
    return AnyOtherElementEntry<Owner>{};
}

template <typename B>
constexpr auto Base()
{
    return GroupEntry<B, B, BaseAccess<B>>{};
}
} // namespace Xml
