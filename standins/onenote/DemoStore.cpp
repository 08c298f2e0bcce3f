// The demo store: the notebooks a person sees when running the programs here.
#include "standins/onenote/DemoStore.h"

#include "standins/onenote/Store.h"

#include "framework/text/Text.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

namespace StandIn
{
namespace
{
constexpr ULONGLONG TicksPerDay = 864000000000ULL;

ULONGLONG Ticks(const FILETIME& time) { return static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime; }

FILETIME FromTicks(ULONGLONG ticks) { return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)}; }

// The local day of now, counted in days since 1601.
long long LocalDayNumber()
{
    FILETIME now{}, local{};
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &local);
    return static_cast<long long>(Ticks(local) / TicksPerDay);
}

std::wstring AnchorFile(const std::wstring& folder) { return folder + L"\\demo-day.txt"; }

// The time text moved by days, or the text unchanged when it is no time.
std::wstring Shifted(const std::wstring& text, long long days)
{
    SYSTEMTIME utc{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (swscanf(text.c_str(), L"%d-%d-%dT%d:%d:%d", &year, &month, &day, &hour, &minute, &second) != 6)
        return text;
    utc.wYear = static_cast<WORD>(year);
    utc.wMonth = static_cast<WORD>(month);
    utc.wDay = static_cast<WORD>(day);
    utc.wHour = static_cast<WORD>(hour);
    utc.wMinute = static_cast<WORD>(minute);
    utc.wSecond = static_cast<WORD>(second);
    FILETIME time{};
    if (!SystemTimeToFileTime(&utc, &time))
        return text;
    time = FromTicks(Ticks(time) + static_cast<ULONGLONG>(days * static_cast<long long>(TicksPerDay)));
    FileTimeToSystemTime(&time, &utc);
    return XmlTime(utc);
}

void ShiftTimes(XNode& node, long long days)
{
    for (auto& [name, value] : node.attributes)
        if (name == L"dateTime" || name == L"lastModifiedTime" || name == L"creationTime")
            value = Shifted(value, days);
    for (const auto& child : node.children)
        if (child->IsElement())
            ShiftTimes(*child, days);
}

// The UTC time so many ticks before now, but not before the local day daysAgo days before today
// began: a page of today stays today's in the first hours after midnight.
std::wstring TimeBefore(ULONGLONG ticksAgo, int daysAgo)
{
    FILETIME now{}, localNow{};
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &localNow);
    const FILETIME localDayStart =
        FromTicks(Ticks(localNow) / TicksPerDay * TicksPerDay - static_cast<ULONGLONG>(daysAgo) * TicksPerDay);
    FILETIME dayStart{};
    LocalFileTimeToFileTime(&localDayStart, &dayStart);
    const FILETIME then = FromTicks(std::max(Ticks(now) - ticksAgo, Ticks(dayStart)));
    SYSTEMTIME utc{};
    FileTimeToSystemTime(&then, &utc);
    return XmlTime(utc);
}

// The UTC time daysAgo days and hoursAgo hours before now, on the local day daysAgo days ago.
std::wstring TimeAgo(int daysAgo, int hoursAgo)
{
    constexpr ULONGLONG TicksPerHour = TicksPerDay / 24;
    return TimeBefore((static_cast<ULONGLONG>(daysAgo) * 24 + static_cast<ULONGLONG>(hoursAgo)) * TicksPerHour, daysAgo);
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

XNodePtr Group(const std::wstring& parentPath, const std::wstring& name, std::initializer_list<XNodePtr> children)
{
    auto group = Element(L"SectionGroup", {{L"name", name},
                                           {L"ID", NewHierarchyId()},
                                           {L"path", parentPath + L"\\" + name},
                                           {L"lastModifiedTime", TimeAgo(7, 0)}});
    for (const auto& child : children)
        group->children.push_back(child);
    return group;
}

XNodePtr Unread(XNodePtr page)
{
    page->SetAttribute(L"isUnread", L"true");
    return page;
}

// A page the user never gave a title.
XNodePtr Untitled(int createdDaysAgo, std::initializer_list<const wchar_t*> lines)
{
    auto page = Page(L"", createdDaysAgo, createdDaysAgo, lines);
    page->RemoveAttribute(L"name");
    return page;
}

// A page created today, minutesAgo minutes ago.
XNodePtr Today(const std::wstring& title, int minutesAgo, std::initializer_list<const wchar_t*> lines)
{
    auto page = Page(title, 0, 0, lines);
    const std::wstring time = TimeBefore(static_cast<ULONGLONG>(minutesAgo) * 600000000ULL, 0);
    page->SetAttribute(L"dateTime", time);
    page->SetAttribute(L"lastModifiedTime", time);
    return page;
}

// More pages on one day than a day's cell shows at once.
std::vector<XNodePtr> BusyDay(int daysAgo)
{
    static const wchar_t* const topics[] = {L"Interview with the design agency", L"Budget spreadsheet questions",
                                            L"Printer keeps jamming", L"Lunch with Mara", L"Release checklist",
                                            L"Backup of the file server", L"Ideas for the team offsite",
                                            L"Onboarding Jonas", L"Invoice 2291 follow-up", L"Call with the landlord",
                                            L"Slides for Thursday", L"Notes from the webinar",
                                            L"Feedback on the new logo", L"Train tickets to Hamburg"};
    std::vector<XNodePtr> pages;
    for (const wchar_t* topic : topics)
        pages.push_back(Page(topic, daysAgo, daysAgo, {L"Written during a busy day.", topic}));
    return pages;
}

XNodePtr SectionOf(const std::wstring& parentPath, const std::wstring& name, const wchar_t* color,
                   const std::vector<XNodePtr>& pages)
{
    auto section = Section(parentPath, name, color, {});
    for (const auto& page : pages)
        section->children.push_back(page);
    return section;
}
} // namespace

XNodePtr BuildDemoStore()
{
    std::wstring profile = Environment(L"USERPROFILE");
    if (profile.empty())
        profile = L"C:\\users\\Public";
    const std::wstring documents = profile + L"\\Documents";
    const std::wstring base = documents + L"\\OneNote Notebooks";
    auto root = MakeElement(L"Notebooks");

    auto personal = Notebook(base, L"Personal", L"#ADE792");
    const std::wstring personalPath = personal->AttributeOr(L"path");
    personal->children.push_back(Section(
        personalPath, L"Quick Notes", L"#8AA8E4",
        {Page(L"Welcome to the OneNote stand-in", 90, 2,
              {L"These notebooks are the stand-in's demo store.",
               L"Sheafin imports into them, Lumday shows them by day.",
               L"Their dates move along with today, so this month always has pages."}),
         Today(L"Shopping for the weekend", 50, {L"Tomatoes, basil and mozzarella", L"Sparkling water"}),
         Unread(Today(L"Reminder: dentist appointment", 20, {L"Thursday at 9:30, bring the insurance card"})),
         Page(L"Call the plumber", 12, 12, {L"Ask about the kitchen tap"}),
         Page(L"Birthday ideas", 20, 5, {L"A book about birds", L"Concert tickets"}),
         Page(L"Gift list details", 20, 20, {L"Budget: 50 EUR"}, 2),
         Page(L"Gift wrapping", 20, 19, {L"Blue paper and a red ribbon"}, 3),
         Untitled(6, {L"A thought without a title: try the new bakery on Elm Street"}),
         Unread(Page(L"Podcast recommendations", 33, 31, {L"History of mathematics", L"Gardening weekly"}))}));
    personal->children.push_back(Section(personalPath, L"Travel", L"#F5A9A9",
                                         {Page(L"Packing list", 45, 40, {L"Passport", L"Charger", L"Umbrella"}),
                                          Page(L"Lisbon itinerary", 44, 30, {L"Day 1: Alfama", L"Day 2: Belem"}),
                                          Page(L"Lisbon restaurants", 44, 44, {L"Pasteis de nata in Belem"}, 2),
                                          Page(L"Hiking in the Alps", 150, 120,
                                               {L"Hut reservations for August", L"Rain gear and a map"})}));
    auto recipes = Element(L"SectionGroup", {{L"name", L"Recipes"},
                                             {L"ID", NewHierarchyId()},
                                             {L"path", personalPath + L"\\Recipes"},
                                             {L"lastModifiedTime", TimeAgo(7, 0)}});
    recipes->children.push_back(Section(recipes->AttributeOr(L"path"), L"Baking", L"#FFD869",
                                        {Page(L"Sourdough bread", 70, 7, {L"500 g flour", L"350 g water", L"10 g salt"}),
                                         Page(L"Apple cake", 25, 25, {L"Bake 45 minutes at 180 degrees"})}));
    const std::wstring recipesPath = recipes->AttributeOr(L"path");
    recipes->children.push_back(Group(
        recipesPath, L"Around the world",
        {Section(recipesPath + L"\\Around the world", L"Asian", L"#C8A2E8",
                 {Page(L"Green curry", 16, 10, {L"Coconut milk, curry paste, aubergine"}),
                  Unread(Page(L"Ramen broth", 4, 4, {L"Simmer the bones for twelve hours"}))}),
         Group(recipesPath + L"\\Around the world", L"Europe",
               {Section(recipesPath + L"\\Around the world\\Europe", L"Italian", L"#F6B078",
                        {Page(L"Risotto", 38, 2, {L"Arborio rice, stock, parmesan"}),
                         Page(L"Tiramisu", 38, 38, {L"Mascarpone, espresso, cocoa"}, 2)})})}));
    personal->children.push_back(recipes);
    personal->children.push_back(RecycleBin(personalPath));
    root->children.push_back(personal);

    auto work = Notebook(base, L"Work", L"#B49EDE");
    const std::wstring workPath = work->AttributeOr(L"path");
    work->children.push_back(Section(workPath, L"Meetings", L"#9BBBD9",
                                     {Today(L"Stand-up", 120, {L"Yesterday: the importer's progress bar", L"Today: reviews"}),
                                      Page(L"Team meeting", 3, 3, {L"Release planning", L"Budget review"}),
                                      Page(L"Customer call", 9, 8, {L"Wants the import to keep folder order"}),
                                      Page(L"Quarterly review", 35, 33, {L"Numbers look good"})}));
    work->children.push_back(Section(workPath, L"Projects", L"#91BAAE",
                                     {Page(L"Calendar redesign", 55, 1, {L"Month, week and day views"}),
                                      Page(L"Batch import notes", 15, 4, {L"PDF printouts", L"Word and PowerPoint"}),
                                      Page(L"Search behaviour", 15, 15, {L"Words and the start of words match"}, 2)}));
    work->children.push_back(SectionOf(workPath, L"Busy week", L"#E1A6A6", BusyDay(2)));
    auto workBin = RecycleBin(workPath);
    auto oldSection = Section(workBin->AttributeOr(L"path"), L"Old projects", L"#BABABA",
                              {Page(L"Abandoned prototype", 100, 80, {L"Nobody should find this page"})});
    oldSection->SetAttribute(L"isInRecycleBin", L"true");
    oldSection->children.front()->SetAttribute(L"isInRecycleBin", L"true");
    workBin->children.insert(workBin->children.begin(), oldSection);
    work->children.push_back(workBin);
    root->children.push_back(work);

    auto studies = Notebook(base, L"Studies", L"#F6B078");
    const std::wstring studiesPath = studies->AttributeOr(L"path");
    studies->children.push_back(Section(
        studiesPath, L"Lectures", L"#8AA8E4",
        {Page(L"Linear algebra: eigenvalues", 60, 58, {L"An eigenvector keeps its direction", L"Characteristic polynomial"}),
         Page(L"Statistics: regression", 40, 12, {L"Least squares", L"Residual plots"}),
         Page(L"Exam dates", 10, 0, {L"Algebra on the 14th", L"Statistics on the 21st"})}));
    studies->children.push_back(Group(studiesPath, L"Thesis",
                                      {Section(studiesPath + L"\\Thesis", L"Reading list", L"#91BAAE",
                                               {Page(L"Papers to read", 200, 9, {L"Survey of calendar interfaces"}),
                                                Untitled(27, {L"Quote for chapter two"})})}));
    studies->children.push_back(RecycleBin(studiesPath));
    root->children.push_back(studies);

    auto unfiled = Element(L"UnfiledNotes", {{L"ID", NewHierarchyId()}});
    unfiled->children.push_back(Section(documents + L"\\OneNote Notebooks", L"Unfiled Notes", L"#E1E1E1",
                                        {Page(L"Phone number of the electrician", 8, 8, {L"0171 555 0199"})}));
    root->children.push_back(unfiled);
    auto open = Element(L"OpenSections", {{L"ID", NewHierarchyId()}});
    open->children.push_back(Section(documents, L"Loose notes", L"#C8E6A0",
                                     {Page(L"Notes from a borrowed laptop", 18, 18, {L"Copy these into a notebook"})}));
    root->children.push_back(open);

    // The window shows the first page of the first section at the start.
    personal->SetAttribute(L"isCurrentlyViewed", L"true");
    personal->children.front()->SetAttribute(L"isCurrentlyViewed", L"true");
    personal->children.front()->children.front()->SetAttribute(L"isCurrentlyViewed", L"true");
    return root;
}

void AnchorDemoStore(const std::wstring& folder, bool isDemo)
{
    if (isDemo)
        std::ofstream(std::filesystem::path(AnchorFile(folder)), std::ios::binary | std::ios::trunc)
            << LocalDayNumber();
    else
        DeleteFileW(AnchorFile(folder).c_str());
}

bool KeepDemoStoreCurrent(XNode& root, const std::wstring& folder, bool reloaded)
{
    // The anchor is read again only when the store was read from its file or the day has changed.
    static std::mutex lock;
    static std::map<std::wstring, long long> checked;
    const long long today = LocalDayNumber();
    {
        const std::lock_guard guard(lock);
        auto& day = checked[folder];
        if (!reloaded && day == today)
            return false;
        day = today;
    }
    long long anchor = 0;
    std::ifstream in(std::filesystem::path(AnchorFile(folder)), std::ios::binary);
    if (!(in >> anchor) || anchor == today)
        return false;
    in.close();
    ShiftTimes(root, today - anchor);
    AnchorDemoStore(folder, true);
    return true;
}
} // namespace StandIn
