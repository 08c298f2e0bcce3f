#pragma once
// OneNote's notebook hierarchy as its hierarchy queries answer it: notebooks hold sections and
// section groups, section groups hold the same again, sections hold pages. An answer for all
// notebooks has the root "Notebooks", which may also hold the unfiled notes and the open sections.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/LateChildren.h"
#include "onenote_model/OneNoteElement.h"
#include "onenote_model/Page.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace ON
{
class Section : public XmlElement<Section>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Section");

    Color color = Color::Automatic;
    bool encrypted = false;
    bool locked = false;
    std::optional<bool> isUnread;
    bool readOnly = false;
    bool areAllPagesAvailable = true;
    bool isDeletedPages = false;
    HierarchyAttributes hierarchy;
    PathAttributes path;
    Collection<Page> pages;

    Section() = default;
    Section(Color color, bool encrypted, bool locked, std::optional<bool> isUnread, bool readOnly,
            bool areAllPagesAvailable, bool isDeletedPages, HierarchyAttributes hierarchy, PathAttributes path,
            Collection<Page> pages)
        : color(color), encrypted(encrypted), locked(locked), isUnread(isUnread), readOnly(readOnly),
          areAllPagesAvailable(areAllPagesAvailable), isDeletedPages(isDeletedPages), hierarchy(std::move(hierarchy)),
          path(std::move(path)), pages(std::move(pages))
    {
        Adopt(this->pages);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using S = Section;
        return KeepingLateChildren(Attribute(L"color", &S::color, Color::Automatic),
                                   Attribute(L"encrypted", &S::encrypted, false),
                                   Attribute(L"locked", &S::locked, false), Attribute(L"isUnread", &S::isUnread),
                                   Attribute(L"readOnly", &S::readOnly, false),
                                   Attribute(L"areAllPagesAvailable", &S::areAllPagesAvailable, true),
                                   Attribute(L"isDeletedPages", &S::isDeletedPages, false), Xml::Group(&S::hierarchy),
                                   Xml::Group(&S::path), Xml::List(&S::pages));
    }
};

// A group of sections in a notebook or in another group; the notebook's recycle bin is one.
class SectionGroup : public XmlElement<SectionGroup>
{
public:
    static constexpr ElementName Name = OneNoteName(L"SectionGroup");

    std::optional<bool> isUnread;
    bool isRecycleBin = false;
    HierarchyAttributes hierarchy;
    PathAttributes path;
    Collection<Section> sections;
    Collection<SectionGroup> sectionGroups;

    SectionGroup() = default;
    SectionGroup(std::optional<bool> isUnread, bool isRecycleBin, HierarchyAttributes hierarchy, PathAttributes path,
                 Collection<Section> sections, Collection<SectionGroup> sectionGroups)
        : isUnread(isUnread), isRecycleBin(isRecycleBin), hierarchy(std::move(hierarchy)), path(std::move(path)),
          sections(std::move(sections)), sectionGroups(std::move(sectionGroups))
    {
        Adopt(this->sections);
        Adopt(this->sectionGroups);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using G = SectionGroup;
        return KeepingLateChildren(Attribute(L"isUnread", &G::isUnread),
                                   Attribute(L"isRecycleBin", &G::isRecycleBin, false), Xml::Group(&G::hierarchy),
                                   Xml::Group(&G::path), Xml::List(&G::sections), Xml::List(&G::sectionGroups));
    }
};

class Notebook : public XmlElement<Notebook>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Notebook");

    std::optional<std::wstring> nickname;
    Color color = Color::Automatic;
    std::optional<bool> isUnread;
    HierarchyAttributes hierarchy;
    PathAttributes path;
    Collection<Section> sections;
    Collection<SectionGroup> sectionGroups;

    Notebook() = default;
    Notebook(std::optional<std::wstring> nickname, Color color, std::optional<bool> isUnread,
             HierarchyAttributes hierarchy, PathAttributes path, Collection<Section> sections,
             Collection<SectionGroup> sectionGroups)
        : nickname(std::move(nickname)), color(color), isUnread(isUnread), hierarchy(std::move(hierarchy)),
          path(std::move(path)), sections(std::move(sections)), sectionGroups(std::move(sectionGroups))
    {
        Adopt(this->sections);
        Adopt(this->sectionGroups);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using N = Notebook;
        return KeepingLateChildren(Attribute(L"nickname", &N::nickname),
                                   Attribute(L"color", &N::color, Color::Automatic),
                                   Attribute(L"isUnread", &N::isUnread), Xml::Group(&N::hierarchy),
                                   Xml::Group(&N::path), Xml::List(&N::sections), Xml::List(&N::sectionGroups));
    }
};

// The sections of the notebook OneNote files quick notes in.
class UnfiledNotes : public XmlElement<UnfiledNotes>
{
public:
    static constexpr ElementName Name = OneNoteName(L"UnfiledNotes");

    bool isCurrentlyViewed = false;
    std::optional<std::wstring> ID;
    Collection<Section> sections;

    static constexpr auto Schema()
    {
        using U = UnfiledNotes;
        return Xml::Schema(Xml::Attribute(L"isCurrentlyViewed", &U::isCurrentlyViewed, false),
                           Xml::Attribute(L"ID", &U::ID), Xml::List(&U::sections));
    }
};

// Sections open in OneNote without belonging to an open notebook.
class OpenSections : public XmlElement<OpenSections>
{
public:
    static constexpr ElementName Name = OneNoteName(L"OpenSections");

    bool isCurrentlyViewed = false;
    std::optional<std::wstring> ID;
    Collection<Section> sections;

    static constexpr auto Schema()
    {
        using O = OpenSections;
        return Xml::Schema(Xml::Attribute(L"isCurrentlyViewed", &O::isCurrentlyViewed, false),
                           Xml::Attribute(L"ID", &O::ID), Xml::List(&O::sections));
    }
};

// The answer for all notebooks. Notebooks after the unfiled notes or the open sections are kept
// with the others; a repeated unfiled notes or open sections element adds its sections to the first.
class Notebooks : public XmlElement<Notebooks>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Notebooks");

    Collection<Notebook> notebooks;
    std::shared_ptr<ON::UnfiledNotes> unfiledNotes;
    std::shared_ptr<ON::OpenSections> openSections;

    static constexpr auto Schema()
    {
        using N = Notebooks;
        return KeepingLateChildren(Xml::List(&N::notebooks), Xml::Merged(&N::unfiledNotes),
                                   Xml::Merged(&N::openSections));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in Hierarchy.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::Section>;
extern template class XmlElement<ON::SectionGroup>;
extern template class XmlElement<ON::Notebook>;
extern template class XmlElement<ON::UnfiledNotes>;
extern template class XmlElement<ON::OpenSections>;
extern template class XmlElement<ON::Notebooks>;
