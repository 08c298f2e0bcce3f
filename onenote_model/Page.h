#pragma once
// A page: in a hierarchy answer its attributes alone, in its own content also its definitions,
// settings, title and the objects placed on it.

#include "onenote_model/AttributeGroups.h"
#include "onenote_model/LateChildren.h"
#include "onenote_model/OneNoteElement.h"
#include "onenote_model/PageDefinitions.h"
#include "onenote_model/PageObjectParts.h"
#include "onenote_model/PageObjects.h"
#include "onenote_model/PageSettings.h"
#include "onenote_model/Titles.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace ON
{
class Page : public XmlElement<Page>
{
public:
    static constexpr ElementName Name = OneNoteName(L"Page");

    std::optional<SYSTEMTIME> dateTime;
    // Kept as the text read: "none", "partial" or "all".
    std::wstring selected = L"none";
    std::optional<bool> isSubPage;
    std::optional<std::int32_t> pageLevel;
    bool isCollapsed = false;
    std::optional<bool> isUnread;
    bool isIndexed = true;
    bool hasFutureContent = false;
    std::optional<std::wstring> stationeryName;
    HierarchyAttributes hierarchy;
    TextAttributes textAttributes;
    Collection<TagDef> tagDefs;
    Collection<QuickStyleDef> quickStyleDefs;
    Collection<XPSFile> xpsFiles;
    Collection<Meta> metas;
    // The schema puts the playlist before the meeting details.
    std::shared_ptr<ON::MediaPlaylist> mediaPlaylist;
    std::shared_ptr<ON::MeetingInfo> meetingInfo;
    std::shared_ptr<ON::PageSettings> pageSettings;
    std::shared_ptr<ON::Title> title;
    Collection<PageElement> elements;

    Page() = default;
    Page(std::optional<SYSTEMTIME> dateTime, std::wstring selected, std::optional<bool> isSubPage,
         std::optional<std::int32_t> pageLevel, bool isCollapsed, std::optional<bool> isUnread, bool isIndexed,
         bool hasFutureContent, std::optional<std::wstring> stationeryName, HierarchyAttributes hierarchy,
         TextAttributes textAttributes, Collection<TagDef> tagDefs, Collection<QuickStyleDef> quickStyleDefs,
         Collection<XPSFile> xpsFiles, Collection<Meta> metas, std::shared_ptr<ON::MediaPlaylist> mediaPlaylist,
         std::shared_ptr<ON::MeetingInfo> meetingInfo, std::shared_ptr<ON::PageSettings> pageSettings,
         std::shared_ptr<ON::Title> title, Collection<PageElement> elements)
        : dateTime(dateTime), selected(std::move(selected)), isSubPage(isSubPage), pageLevel(pageLevel),
          isCollapsed(isCollapsed), isUnread(isUnread), isIndexed(isIndexed), hasFutureContent(hasFutureContent),
          stationeryName(std::move(stationeryName)), hierarchy(std::move(hierarchy)),
          textAttributes(std::move(textAttributes)), tagDefs(std::move(tagDefs)),
          quickStyleDefs(std::move(quickStyleDefs)), xpsFiles(std::move(xpsFiles)), metas(std::move(metas)),
          mediaPlaylist(std::move(mediaPlaylist)), meetingInfo(std::move(meetingInfo)),
          pageSettings(std::move(pageSettings)), title(std::move(title)), elements(std::move(elements))
    {
        Adopt(this->tagDefs);
        Adopt(this->quickStyleDefs);
        Adopt(this->xpsFiles);
        Adopt(this->metas);
        Adopt(this->elements);
    }

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        using Xml::List;
        using Xml::Optional;
        using P = Page;
        return KeepingLateChildren(
            Attribute(L"dateTime", &P::dateTime), Attribute(L"selected", &P::selected, L"none"),
            Attribute(L"isSubPage", &P::isSubPage), Attribute(L"pageLevel", &P::pageLevel),
            Attribute(L"isCollapsed", &P::isCollapsed, false), Attribute(L"isUnread", &P::isUnread),
            Attribute(L"isIndexed", &P::isIndexed, true), Attribute(L"hasFutureContent", &P::hasFutureContent, false),
            Attribute(L"stationeryName", &P::stationeryName), Xml::Group(&P::hierarchy), Xml::Group(&P::textAttributes),
            List(&P::tagDefs), List(&P::quickStyleDefs), List(&P::xpsFiles), List(&P::metas),
            Optional(&P::mediaPlaylist), Optional(&P::meetingInfo), Optional(&P::pageSettings), Optional(&P::title),
            Xml::ChoiceList(&P::elements));
    }
};
} // namespace ON

// The reading and writing of these elements is compiled once, in Page.cpp, instead of in every
// file that uses them.
extern template class XmlElement<ON::Page>;
