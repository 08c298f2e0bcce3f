#pragma once
// A table that loses nothing OneNote wrote: a child that comes after the run it belongs to was
// already closed (a paragraph's text after its indented paragraphs, a note tag after the metadata)
// is appended to that run instead of being skipped. Appending it there still gives a valid page,
// because each run is written in its schema place whatever the document's order was.
//
//   static constexpr auto Schema() { return ON::KeepingLateChildren(entries...); }
//
// Matching is that of Xml::Schema first; only an element that no entry takes there goes to the
// last list (or run of choice holders) of its name, also inside groups whose tables keep late
// children too. Unknown names and a second single child are still skipped.

#include "framework/xml/ElementSchema.h"

#include <cstddef>
#include <string_view>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace ON
{
template <typename... Entries>
class LateChildrenSchema;

namespace LateChildren
{
template <typename S>
struct IsKeeping : std::false_type
{
};
template <typename... Entries>
struct IsKeeping<LateChildrenSchema<Entries...>> : std::true_type
{
};

// Whether an entry takes a late element, and taking it; entries that are not lists take none.
template <typename Entry>
struct Taker
{
    template <typename Owner>
    static bool Takes(const Entry&, const Owner&, std::wstring_view)
    {
        return false;
    }
    template <typename Owner>
    static void Take(const Entry&, Owner&, std::wstring_view, const ReadContext&)
    {
    }
};

template <typename Owner, typename L>
struct Taker<Xml::ListChild<Owner, L>>
{
    using Entry = Xml::ListChild<Owner, L>;
    static bool Takes(const Entry&, const Owner&, std::wstring_view name)
    {
        return name == Entry::Item::Name.localName;
    }
    // A list's Take appends whether or not the list was closed.
    static void Take(const Entry& entry, Owner& owner, std::wstring_view name, const ReadContext& context)
    {
        entry.Take(owner, name, context);
    }
};

template <typename Owner, typename L>
struct Taker<Xml::ChoiceListChild<Owner, L>>
{
    using Entry = Xml::ChoiceListChild<Owner, L>;
    static bool Takes(const Entry&, const Owner&, std::wstring_view name)
    {
        return Entry::Holder::Schema().Accepts(Xml::Fresh<typename Entry::Holder>(), name);
    }
    static void Take(const Entry& entry, Owner& owner, std::wstring_view name, const ReadContext& context)
    {
        entry.Take(owner, name, context);
    }
};

template <typename Owner, typename Record, typename Access>
struct Taker<Xml::GroupEntry<Owner, Record, Access>>
{
    using Entry = Xml::GroupEntry<Owner, Record, Access>;
    static constexpr bool keeping = IsKeeping<decltype(Record::Schema())>::value;

    static bool Takes(const Entry& entry, const Owner& owner, std::wstring_view name)
    {
        if constexpr (keeping)
        {
            const Record* record = entry.access.Find(owner);
            return Record::Schema().TakesLate(record ? *record : Xml::Fresh<Record>(), name);
        }
        else
        {
            return false;
        }
    }
    static void Take(const Entry& entry, Owner& owner, std::wstring_view name, const ReadContext& context)
    {
        if constexpr (keeping)
            Record::Schema().TakeLate(entry.access.Make(owner), name, context);
    }
};
} // namespace LateChildren

template <typename... Entries>
class LateChildrenSchema : public Xml::ElementSchema<Entries...>
{
    using Base = Xml::ElementSchema<Entries...>;

public:
    constexpr explicit LateChildrenSchema(Entries... entries) : Base(entries...) {}

    template <typename Owner>
    bool Take(Owner& owner, std::wstring_view name, const ReadContext& context) const
    {
        return Base::Take(owner, name, context) || TakeLate(owner, name, context);
    }

    template <typename Owner>
    bool TakesLate(const Owner& owner, std::wstring_view name) const
    {
        return LastTaker(owner, name) != sizeof...(Entries);
    }

    // Appends the element to the last list of its name; closes nothing.
    template <typename Owner>
    bool TakeLate(Owner& owner, std::wstring_view name, const ReadContext& context) const
    {
        const std::size_t taker = LastTaker(owner, name);
        if (taker == sizeof...(Entries))
            return false;
        this->VisitEntries([&](const auto& entry, std::size_t index) {
            if (index == taker)
                TakerOf(entry).Take(entry, owner, name, context);
        });
        return true;
    }

private:
    template <typename Entry>
    static LateChildren::Taker<Entry> TakerOf(const Entry&)
    {
        return {};
    }

    // The index of the last entry that takes the name late, or the number of entries.
    template <typename Owner>
    std::size_t LastTaker(const Owner& owner, std::wstring_view name) const
    {
        std::size_t taker = sizeof...(Entries);
        this->VisitEntries([&](const auto& entry, std::size_t index) {
            if (TakerOf(entry).Takes(entry, owner, name))
                taker = index;
        });
        return taker;
    }
};

template <typename... Entries>
constexpr auto KeepingLateChildren(Entries... entries)
{
    return LateChildrenSchema<Entries...>(entries...);
}
} // namespace ON
