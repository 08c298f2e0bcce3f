// The demo store: the notebooks a person sees when running the programs here.
#include "standins/onenote/DemoStore.h"

#include "standins/onenote/Store.h"

#include <windows.h>

namespace StandIn
{
namespace
{
// The UTC time daysAgo days and hoursAgo hours before now.
std::wstring TimeAgo(int daysAgo, int hoursAgo)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{};
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart -= (static_cast<ULONGLONG>(daysAgo) * 24 + static_cast<ULONGLONG>(hoursAgo)) * 36000000000ULL;
    FILETIME then{value.LowPart, value.HighPart};
    SYSTEMTIME utc{};
    FileTimeToSystemTime(&then, &utc);
    return XmlTime(utc);
}

XNodePtr Element(const std::wstring& name, std::initializer_list<std::pair<const wchar_t*, std::wstring>> attributes)
{
    auto node = MakeElement(name);
    for (const auto& [key, value] : attributes)
        node->SetAttribute(key, value);
    return node;
}

XNodePtr TextOE(const std::wstring& text, const std::wstring& time, const wchar_t* styleIndex)
{
    auto oe = Element(L"OE", {{L"creationTime", time},
                              {L"lastModifiedTime", time},
                              {L"objectID", NewObjectId()},
                              {L"alignment", L"left"},
                              {L"quickStyleIndex", styleIndex}});
    auto t = MakeElement(L"T");
    t->children.push_back(MakeText(text, true));
    oe->children.push_back(t);
    return oe;
}

XNodePtr Page(const std::wstring& title, int createdDaysAgo, int modifiedDaysAgo, std::initializer_list<const wchar_t*> lines,
              int level = 1)
{
    const std::wstring created = TimeAgo(createdDaysAgo, 3);
    const std::wstring modified = TimeAgo(modifiedDaysAgo, 1);
    auto page = Element(L"Page", {{L"ID", NewPageId()},
                                  {L"name", title},
                                  {L"dateTime", created},
                                  {L"lastModifiedTime", modified},
                                  {L"pageLevel", std::to_wstring(level)},
                                  {L"lang", L"en-US"}});
    page->children.push_back(Element(L"QuickStyleDef", {{L"index", L"0"},
                                                         {L"name", L"PageTitle"},
                                                         {L"fontColor", L"automatic"},
                                                         {L"highlightColor", L"automatic"},
                                                         {L"font", L"Calibri Light"},
                                                         {L"fontSize", L"20.0"},
                                                         {L"spaceBefore", L"0.0"},
                                                         {L"spaceAfter", L"0.0"}}));
    page->children.push_back(Element(L"QuickStyleDef", {{L"index", L"1"},
                                                         {L"name", L"p"},
                                                         {L"fontColor", L"automatic"},
                                                         {L"highlightColor", L"automatic"},
                                                         {L"font", L"Calibri"},
                                                         {L"fontSize", L"11.0"},
                                                         {L"spaceBefore", L"0.0"},
                                                         {L"spaceAfter", L"0.0"}}));
    auto settings = Element(L"PageSettings", {{L"RTL", L"false"}, {L"color", L"automatic"}});
    auto size = MakeElement(L"PageSize");
    size->children.push_back(MakeElement(L"Automatic"));
    settings->children.push_back(size);
    settings->children.push_back(Element(L"RuleLines", {{L"visible", L"false"}}));
    page->children.push_back(settings);
    auto titleElement = Element(L"Title", {{L"lang", L"en-US"}});
    titleElement->children.push_back(TextOE(title, created, L"0"));
    page->children.push_back(titleElement);
    if (lines.size() > 0)
    {
        auto outline = Element(L"Outline", {{L"objectID", NewObjectId()}, {L"lastModifiedTime", modified}});
        outline->children.push_back(Element(L"Position", {{L"x", L"36.0"}, {L"y", L"86.4"}, {L"z", L"0"}}));
        outline->children.push_back(Element(
            L"Size", {{L"width", L"400.0"}, {L"height", std::to_wstring(15 * static_cast<int>(lines.size()) + 5) + L".0"}}));
        auto children = MakeElement(L"OEChildren");
        for (const wchar_t* line : lines)
            children->children.push_back(TextOE(line, modified, L"1"));
        outline->children.push_back(children);
        page->children.push_back(outline);
    }
    return page;
}

XNodePtr Section(const std::wstring& parentPath, const std::wstring& name, const wchar_t* color,
                 std::initializer_list<XNodePtr> pages)
{
    auto section = Element(L"Section", {{L"name", name},
                                        {L"ID", NewHierarchyId()},
                                        {L"path", parentPath + L"\\" + name + L".one"},
                                        {L"lastModifiedTime", TimeAgo(1, 0)},
                                        {L"color", color}});
    for (const auto& page : pages)
        section->children.push_back(page);
    return section;
}

XNodePtr RecycleBin(const std::wstring& notebookPath)
{
    const std::wstring path = notebookPath + L"\\OneNote_RecycleBin";
    auto bin = Element(L"SectionGroup", {{L"name", L"OneNote_RecycleBin"},
                                         {L"ID", NewHierarchyId()},
                                         {L"path", path},
                                         {L"lastModifiedTime", TimeAgo(30, 0)},
                                         {L"isRecycleBin", L"true"}});
    auto deleted = Element(L"Section", {{L"name", L"Deleted Pages"},
                                        {L"ID", NewHierarchyId()},
                                        {L"path", path + L"\\OneNote_DeletedPages.one"},
                                        {L"lastModifiedTime", TimeAgo(30, 0)},
                                        {L"color", L"#E1E1E1"},
                                        {L"isInRecycleBin", L"true"},
                                        {L"isDeletedPages", L"true"}});
    deleted->children.push_back(Page(L"Old shopping list", 60, 40, {L"Milk", L"Bread"}));
    deleted->children.back()->SetAttribute(L"isInRecycleBin", L"true");
    bin->children.push_back(deleted);
    return bin;
}

XNodePtr Notebook(const std::wstring& base, const std::wstring& name, const wchar_t* color)
{
    return Element(L"Notebook", {{L"name", name},
                                 {L"nickname", name},
                                 {L"ID", NewHierarchyId()},
                                 {L"path", base + L"\\" + name},
                                 {L"lastModifiedTime", TimeAgo(1, 0)},
                                 {L"color", color}});
}
} // namespace

XNodePtr BuildDemoStore()
{
    std::wstring profile = Environment(L"USERPROFILE");
    if (profile.empty())
        profile = L"C:\\users\\Public";
    const std::wstring base = profile + L"\\Documents\\OneNote Notebooks";
    auto root = MakeElement(L"Notebooks");

    auto personal = Notebook(base, L"Personal", L"#ADE792");
    const std::wstring personalPath = personal->AttributeOr(L"path");
    personal->children.push_back(Section(personalPath, L"Quick Notes", L"#8AA8E4",
                                         {Page(L"Welcome to the OneNote stand-in", 90, 2,
                                               {L"These notebooks are the stand-in's demo store.",
                                                L"Sheafin imports into them, Lumday shows them by day."}),
                                          Page(L"Call the plumber", 12, 12, {L"Ask about the kitchen tap"}),
                                          Page(L"Birthday ideas", 20, 5, {L"A book about birds", L"Concert tickets"}),
                                          Page(L"Gift list details", 20, 20, {L"Budget: 50 EUR"}, 2)}));
    personal->children.push_back(Section(personalPath, L"Travel", L"#F5A9A9",
                                         {Page(L"Packing list", 45, 40, {L"Passport", L"Charger", L"Umbrella"}),
                                          Page(L"Lisbon itinerary", 44, 30, {L"Day 1: Alfama", L"Day 2: Belem"})}));
    auto recipes = Element(L"SectionGroup", {{L"name", L"Recipes"},
                                             {L"ID", NewHierarchyId()},
                                             {L"path", personalPath + L"\\Recipes"},
                                             {L"lastModifiedTime", TimeAgo(7, 0)}});
    recipes->children.push_back(Section(recipes->AttributeOr(L"path"), L"Baking", L"#FFD869",
                                        {Page(L"Sourdough bread", 70, 7, {L"500 g flour", L"350 g water", L"10 g salt"}),
                                         Page(L"Apple cake", 25, 25, {L"Bake 45 minutes at 180 degrees"})}));
    personal->children.push_back(recipes);
    personal->children.push_back(RecycleBin(personalPath));
    root->children.push_back(personal);

    auto work = Notebook(base, L"Work", L"#B49EDE");
    const std::wstring workPath = work->AttributeOr(L"path");
    work->children.push_back(Section(workPath, L"Meetings", L"#9BBBD9",
                                     {Page(L"Team meeting", 3, 3, {L"Release planning", L"Budget review"}),
                                      Page(L"Customer call", 9, 8, {L"Wants the import to keep folder order"}),
                                      Page(L"Quarterly review", 35, 33, {L"Numbers look good"})}));
    work->children.push_back(Section(workPath, L"Projects", L"#91BAAE",
                                     {Page(L"Calendar redesign", 55, 1, {L"Month, week and day views"}),
                                      Page(L"Batch import notes", 15, 4, {L"PDF printouts", L"Word and PowerPoint"})}));
    work->children.push_back(RecycleBin(workPath));
    root->children.push_back(work);

    // The window shows the first page of the first section at the start.
    personal->SetAttribute(L"isCurrentlyViewed", L"true");
    personal->children.front()->SetAttribute(L"isCurrentlyViewed", L"true");
    personal->children.front()->children.front()->SetAttribute(L"isCurrentlyViewed", L"true");
    return root;
}
} // namespace StandIn
