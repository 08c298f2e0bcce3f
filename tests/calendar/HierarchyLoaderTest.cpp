// The hierarchy loader against the registered OneNote stand-in: what it asks OneNote, which
// sections and pages it reads, the days it files pages under, its progress, its failures and its
// cancellation.
#include "tests/calendar/OneNoteStandIn.h"

#include "calendar/CalendarCommands.h"
#include "calendar/CalendarPaint.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/CalendarGrid.h"
#include "calendar/DayMap.h"
#include "calendar/DrawingResources.h"
#include "calendar/HitArea.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/NotebookList.h"
#include "calendar/UiLanguages.h"
#include "framework/ScopeExit.h"
#include "framework/text/Text.h"
#include "framework/ui/OffscreenBitmap.h"
#include "framework/xml/XmlDocument.h"
#include "tests/support/ProgramHarness.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <set>
#include <thread>

using namespace CalendarTest;
using namespace std::chrono_literals;

namespace
{
const std::wstring NotebookId = L"{11111111-0000-0000-0000-000000000001}{1}{B0}";

std::wstring Id(int n) { return L"{22222222-0000-0000-0000-" + std::wstring(12 - std::to_wstring(n).size(), L'0') + std::to_wstring(n) + L"}{1}{B0}"; }
std::wstring PageId(int n) { return L"{33333333-0000-0000-0000-" + std::wstring(12 - std::to_wstring(n).size(), L'0') + std::to_wstring(n) + L"}{1}{E1}"; }

std::wstring Notebook(const std::wstring& id, const std::wstring& name, const std::wstring& path,
                      const std::wstring& children)
{
    std::wstring xml = L"<one:Notebook ID=\"" + id + L"\" path=\"" + path + L"\"";
    if (!name.empty())
        xml += L" name=\"" + name + L"\"";
    return xml + L">" + children + L"</one:Notebook>";
}

// A section or section group element with its children.
std::wstring Container(const wchar_t* element, const std::wstring& id, const std::wstring& name,
                       const std::wstring& children, const std::wstring& extra)
{
    std::wstring xml = L"<one:" + std::wstring(element) + L" ID=\"" + id + L"\" " + extra;
    if (!name.empty())
        xml += L" name=\"" + name + L"\"";
    return xml + L">" + children + L"</one:" + element + L">";
}

std::wstring Section(const std::wstring& id, const std::wstring& name, const std::wstring& children,
                     const std::wstring& extra = {})
{
    return Container(L"Section", id, name, children, extra);
}

std::wstring Group(const std::wstring& id, const std::wstring& name, const std::wstring& children,
                   const std::wstring& extra = {})
{
    return Container(L"SectionGroup", id, name, children, extra);
}

struct Filed
{
    int year, month, day;
    std::wstring text;
    bool onModifiedDate;
};

std::vector<Filed> FiledEntries()
{
    std::vector<Filed> filed;
    const std::lock_guard guard(GetDayMapLock());
    for (const auto& [day, entries] : GetDayMap())
        for (const auto& [time, entry] : entries)
            filed.push_back({day.local.tm_year + 1900, day.local.tm_mon + 1, day.local.tm_mday, entry.text,
                             entry.onModifiedDate});
    return filed;
}

std::wstring Describe(const std::vector<Filed>& filed)
{
    std::wstring text;
    for (const Filed& entry : filed)
        text += std::to_wstring(entry.year) + L"-" + std::to_wstring(entry.month) + L"-" + std::to_wstring(entry.day) +
                L" " + entry.text + (entry.onModifiedDate ? L" (modified)" : L"") + L"\n";
    return text;
}

// Switches the C library's time zone for the test, and back.
class TimeZone
{
public:
    explicit TimeZone(const char* zone)
    {
        const char* old = std::getenv("TZ");
        previous_ = old ? old : "";
        _putenv_s("TZ", zone);
        _tzset();
    }
    ~TimeZone()
    {
        _putenv_s("TZ", previous_.c_str());
        _tzset();
    }

private:
    std::string previous_;
};

class HierarchyLoader : public OneNoteStandIn
{
};

TEST_F(HierarchyLoader, AsksForNotebooksThenSectionsThenEveryPageInThe2010Schema)
{
    UseStore(Notebook(NotebookId, L"Home", L"C:\\N\\Home",
                      Section(Id(1), L"A", StorePage(PageId(1), L"One", L"2026-03-01T10:00:00.000Z") +
                                               StorePage(PageId(2), L"Two", L"2026-03-02T10:00:00.000Z")) +
                          Group(Id(2), L"G", Section(Id(3), L"B", StorePage(PageId(3), L"Three", L"2026-03-03T10:00:00.000Z")))));
    ASSERT_EQ(LoadHierarchy(), S_OK);

    std::vector<std::wstring> asked;
    for (const auto& call : Calls(L"GetHierarchy"))
    {
        ASSERT_EQ(call.arguments.size(), 3u);
        EXPECT_EQ(call.arguments[2], L"1") << "always the 2010 schema";
        EXPECT_EQ(call.result, S_OK);
        asked.push_back(call.arguments[1] + L" " + call.arguments[0]);
    }
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"2 ", L"3 " + NotebookId, L"4 " + Id(1), L"4 " + PageId(1),
                                                L"4 " + PageId(2), L"4 " + Id(3), L"4 " + PageId(3)}));
    EXPECT_EQ(Describe(FiledEntries()), L"2026-3-1 Home > A > One\n2026-3-2 Home > A > Two\n2026-3-3 Home > G > B > Three\n");
    EXPECT_TRUE(ShownFailures().empty());
}

TEST_F(HierarchyLoader, LeavesOutSectionsLyingInTheRecycleBinAndTheDeletedPagesButReadsGroupsInsideIt)
{
    UseStore(Notebook(
        NotebookId, L"Home", L"C:\\N\\Home",
        Section(Id(1), L"Kept", StorePage(PageId(1), L"Shown", L"2026-03-01T10:00:00.000Z")) +
            Group(Id(2), L"OneNote_RecycleBin",
                  Section(Id(3), L"Thrown away", StorePage(PageId(2), L"Gone", L"2026-03-01T10:00:00.000Z"),
                          L"isInRecycleBin=\"true\"") +
                      Section(Id(4), L"Deleted Pages", StorePage(PageId(3), L"Gone too", L"2026-03-01T10:00:00.000Z"),
                              L"isInRecycleBin=\"true\" isDeletedPages=\"true\"") +
                      Group(Id(5), L"Old group",
                            Section(Id(6), L"Inside", StorePage(PageId(4), L"Still read", L"2026-03-01T11:00:00.000Z"))),
                  L"isRecycleBin=\"true\"")));
    ASSERT_EQ(LoadHierarchy(), S_OK);
    EXPECT_EQ(Describe(FiledEntries()),
              L"2026-3-1 Home > Kept > Shown\n2026-3-1 Home > OneNote_RecycleBin > Old group > Inside > Still read\n");
    for (const auto& call : Calls(L"GetHierarchy"))
        EXPECT_TRUE(call.arguments[0] != Id(3) && call.arguments[0] != Id(4)) << "asked for " << call.arguments[0].c_str();
}

TEST_F(HierarchyLoader, FilesPagesUnderTheirCreationAndOtherModificationDays)
{
    UseStore(Notebook(
        NotebookId, L"Home", L"C:\\N\\Home",
        Section(Id(1), L"S",
                // 23:30 and 00:10 in Berlin: two days; 17:30 and 18:10 in New York: one.
                StorePage(PageId(1), L"Across midnight", L"2026-03-01T22:30:00.000Z", L"2026-03-01T23:10:00.000Z") +
                    StorePage(PageId(2), L"Same day", L"2026-03-05T08:00:00.000Z", L"2026-03-05T16:00:00.000Z") +
                    StorePage(PageId(3), L"Another year", L"2025-06-10T10:00:00.000Z", L"2026-01-05T10:00:00.000Z") +
                    StorePage(PageId(4), L"Never changed", L"2026-03-07T10:00:00.000Z") +
                    StorePage(PageId(5), L"No creation time", L"", L"2026-03-07T10:00:00.000Z"))));
    {
        ASSERT_EQ(LoadHierarchy(), S_OK);
        EXPECT_EQ(Describe(FiledEntries()), L"2025-6-10 Home > S > Another year\n"
                                            L"2026-1-5 Home > S > Another year (modified)\n"
                                            L"2026-3-1 Home > S > Across midnight\n"
                                            L"2026-3-2 Home > S > Across midnight (modified)\n"
                                            L"2026-3-5 Home > S > Same day\n"
                                            L"2026-3-7 Home > S > Never changed\n");
    }
    {
        const TimeZone newYork("EST5EDT");
        ASSERT_EQ(LoadHierarchy(), S_OK);
        EXPECT_EQ(Describe(FiledEntries()), L"2025-6-10 Home > S > Another year\n"
                                            L"2026-1-5 Home > S > Another year (modified)\n"
                                            L"2026-3-1 Home > S > Across midnight\n"
                                            L"2026-3-5 Home > S > Same day\n"
                                            L"2026-3-7 Home > S > Never changed\n");
        const std::lock_guard guard(GetDayMapLock());
        for (const auto& [day, entries] : GetDayMap())
            EXPECT_EQ(day.local.tm_hour * 3600 + day.local.tm_min * 60 + day.local.tm_sec, 12 * 3600)
                << "days are keyed by local noon";
    }
}

TEST_F(HierarchyLoader, NamesUntitledPartsOfALocationInTheUiLanguage)
{
    UseStore(Notebook(NotebookId, L"", L"C:\\N\\Nameless",
                      Group(Id(1), L"", Section(Id(2), L"", StorePage(PageId(1), L"", L"2026-03-01T10:00:00.000Z")))) +
             Notebook(L"{11111111-0000-0000-0000-000000000002}{1}{B0}", L"Named", L"C:\\N\\Named",
                      Section(Id(3), L"Top", StorePage(PageId(2), L"P", L"2026-03-02T10:00:00.000Z"))));
    ASSERT_EQ(LoadHierarchy(), S_OK);
    EXPECT_EQ(Describe(FiledEntries()),
              L"2026-3-1 Untitled Notebook > Untitled Section Group > Untitled Section > Untitled Page\n"
              L"2026-3-2 Named > Top > P\n");
    const std::lock_guard guard(GetDayMapLock());
    std::vector<std::int32_t> notebooks;
    for (const auto& [day, entries] : GetDayMap())
        for (const auto& [time, entry] : entries)
            notebooks.push_back(entry.notebookIndex);
    EXPECT_EQ(notebooks, (std::vector<std::int32_t>{0, 1}));
}

// The first-run view lets the user click through the languages while the first load runs.
TEST_F(HierarchyLoader, ALanguageChosenDuringALoadLeavesEveryLocationTextWhole)
{
    constexpr int Pages = 400;
    std::wstring pages;
    for (int i = 1; i <= Pages; ++i)
        pages += StorePage(PageId(i), L"", L"2026-03-01T10:00:00.000Z");
    UseStore(Notebook(NotebookId, L"", L"C:\\N\\Nameless", Section(Id(1), L"", pages)));
    std::set<std::wstring> whole;
    for (const UiLanguage& notebook : GetLanguageTables())
        for (const UiLanguage& section : GetLanguageTables())
            for (const UiLanguage& page : GetLanguageTables())
                whole.insert(std::wstring(notebook.strings[StrUntitledNotebook]) + L" > " +
                             section.strings[StrUntitledSection] + L" > " + page.strings[StrUntitledPage]);

    // A damaged text is a matter of timing: a few loads give it every chance.
    size_t damaged = 0;
    for (int load = 0; load < 3 && damaged == 0; ++load)
    {
        std::atomic<bool> loaded{false};
        HRESULT result = E_FAIL;
        std::thread loader([&] {
            result = LoadHierarchy();
            loaded = true;
        });
        for (size_t turn = 0; !loaded; ++turn)
        {
            LoadLanguageStrings(GetLanguages()[turn % GetLanguages().size()].code);
            FillDateNameTables();
        }
        loader.join();
        ASSERT_EQ(result, S_OK);
        const std::vector<Filed> filed = FiledEntries();
        EXPECT_EQ(filed.size(), static_cast<size_t>(Pages));
        for (const Filed& entry : filed)
            if (!whole.contains(entry.text) && damaged++ < 3)
                ADD_FAILURE() << "damaged location: " << WideToUtf8(entry.text);
    }
    EXPECT_EQ(damaged, 0u);
}

TEST_F(HierarchyLoader, LocationOfASectionWithoutNotebookIsItsOwnName)
{
    auto section = std::make_shared<ON::Section>();
    ParseElement(*section, L"<one:Section xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\" "
                           L"name=\"Loose\"/>");
    std::wstring key = L"left over";
    EXPECT_EQ(BuildLocationText(*section, key), L"Loose");
    EXPECT_EQ(key, L"");
}

TEST_F(HierarchyLoader, ProgressReachesItsEndWithEmptyNotebooksAndSections)
{
    UseStore(Notebook(NotebookId, L"Empty", L"C:\\N\\Empty", L"") +
             Notebook(L"{11111111-0000-0000-0000-000000000002}{1}{B0}", L"Some", L"C:\\N\\Some",
                      Section(Id(1), L"No pages", L"") +
                          Section(Id(2), L"Three pages",
                                  StorePage(PageId(1), L"a", L"2026-03-01T10:00:00.000Z") +
                                      StorePage(PageId(2), L"b", L"2026-03-01T10:00:00.000Z") +
                                      StorePage(PageId(3), L"c", L"2026-03-01T10:00:00.000Z"))) +
             Notebook(L"{11111111-0000-0000-0000-000000000003}{1}{B0}", L"Bin only", L"C:\\N\\Bin",
                      Group(Id(3), L"OneNote_RecycleBin", Section(Id(4), L"x", StorePage(PageId(4), L"y", L"2026-03-01T10:00:00.000Z")),
                            L"isRecycleBin=\"true\"")));
    ASSERT_EQ(LoadHierarchy(), S_OK);
    EXPECT_NEAR(GetCalendarState().loadingProgress.load(), 1.0f, 1e-5f);
    EXPECT_EQ(FiledEntries().size(), 3u);
}

// A section not yet synchronised, or locked, is left out and the load goes on with the next one
// and the next notebook; the user is told once, with OneNote's text, which could not be read.
TEST_F(HierarchyLoader, LeavesOutASectionOneNoteWillNotGiveAndSaysOnceWhichCouldNotBeRead)
{
    UseStore(Notebook(NotebookId, L"Home", L"C:\\N\\Home",
                      Section(Id(1), L"A", StorePage(PageId(1), L"One", L"2026-03-01T10:00:00.000Z")) +
                          Section(Id(2), L"B", StorePage(PageId(2), L"Two", L"2026-03-02T10:00:00.000Z")) +
                          Section(Id(3), L"C", StorePage(PageId(3), L"Three", L"2026-03-03T10:00:00.000Z"))) +
                 Notebook(L"{11111111-0000-0000-0000-000000000002}{1}{B0}", L"Work", L"C:\\N\\Work",
                          Section(Id(4), L"D", StorePage(PageId(4), L"Four", L"2026-03-04T10:00:00.000Z"))),
             "failid {22222222-0000-0000-0000-000000000002}{1}{B0} 0x80042004 Not yet synchronised.\n");
    EXPECT_EQ(LoadHierarchy(), S_FALSE);
    const auto failures = ShownFailures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].caption, L"Error");
    EXPECT_EQ(failures[0].text.rfind(L"Failed to load pages (1):\r\nHome > B - ", 0), 0u) << failures[0].text.c_str();
    EXPECT_NE(failures[0].text.find(L"section does not exist"), std::wstring::npos) << failures[0].text.c_str();
    EXPECT_NE(failures[0].text.find(L"Not yet synchronised."), std::wstring::npos) << failures[0].text.c_str();
    EXPECT_EQ(failures[0].text.substr(failures[0].text.size() - 2), L"\r\n");
    EXPECT_EQ(failures[0].text.find(L"\r\n", failures[0].text.find(L"Home > B")), failures[0].text.size() - 2)
        << "the reason on the item's line: " << failures[0].text.c_str();
    EXPECT_EQ(Describe(FiledEntries()),
              L"2026-3-1 Home > A > One\n2026-3-3 Home > C > Three\n2026-3-4 Work > D > Four\n");
}

// OneNote gone in the middle of a refresh (the server unreachable) is no answer about the notebook
// it was asked for, and neither is a modal dialog open in OneNote, a call that timed out or OneNote
// asking to be called later: they concern the whole load, which ends, says why once, and the
// calendar keeps what it showed.
TEST_F(HierarchyLoader, AFailureOfTheWholeOneNoteDuringARefreshEndsItSaysWhyOnceAndKeepsTheCalendarAsItWas)
{
    const std::wstring store =
        Notebook(NotebookId, L"Home", L"C:\\N\\Home",
                 Section(Id(1), L"A", StorePage(PageId(1), L"One", L"2026-03-01T10:00:00.000Z"))) +
        Notebook(L"{11111111-0000-0000-0000-000000000002}{1}{B0}", L"Work", L"C:\\N\\Work",
                 Section(Id(2), L"B", StorePage(PageId(2), L"Two", L"2026-03-02T10:00:00.000Z")));
    UseStore(store);
    ASSERT_EQ(LoadHierarchy(), S_OK);
    const std::wstring shown = Describe(FiledEntries());
    const struct
    {
        const char* scenario;
        HRESULT result;
    } failures[] = {
        // The second notebook's server unreachable.
        {"failid {11111111-0000-0000-0000-000000000002}{1}{B0} 0x800706BA\n", static_cast<HRESULT>(0x800706BA)},
        // From the first notebook's sections on, every call fails.
        {"failfrom GetHierarchy 2 0x80042030\n", static_cast<HRESULT>(0x80042030)},
        {"failfrom GetHierarchy 2 0x80042023\n", static_cast<HRESULT>(0x80042023)},
        {"failfrom GetHierarchy 2 0x800705B4\n", static_cast<HRESULT>(0x800705B4)},
        {"failfrom GetHierarchy 2 0x8001010A\n", static_cast<HRESULT>(0x8001010A)},
    };
    for (const auto& failure : failures)
    {
        SCOPED_TRACE(failure.scenario);
        const size_t before = ShownFailures().size();
        UseStore(store, failure.scenario);
        EXPECT_EQ(LoadHierarchy(), failure.result);
        EXPECT_EQ(Describe(FiledEntries()), shown);
        const auto shownFailures = ShownFailures();
        ASSERT_EQ(shownFailures.size(), before + 1);
        EXPECT_EQ(shownFailures.back().text.rfind(L"Failed to load pages:\r\n", 0), 0u) << shownFailures.back().text.c_str();
    }
}

// OneNote busy with something of its own answers 0x80010001 for a while: the load asks again.
TEST_F(HierarchyLoader, ABusyOneNoteIsAskedAgainUntilItAnswers)
{
    UseScenario("store demo\nbusy GetHierarchy 1\n");
    EXPECT_EQ(LoadHierarchy(), S_OK);
    const auto calls = Calls(L"GetHierarchy");
    ASSERT_GT(calls.size(), 2u);
    EXPECT_EQ(calls[0].result, static_cast<HRESULT>(0x80010001));
    EXPECT_EQ(calls[1].result, S_OK);
    EXPECT_EQ(calls[1].arguments, calls[0].arguments);
    EXPECT_TRUE(ShownFailures().empty());
    EXPECT_GT(FiledEntries().size(), 40u);
}

TEST_F(HierarchyLoader, OneNoteNotInstalledShowsTheSystemsTextForTheCode)
{
    UseScenario("store demo\ncreate 0x80040154\n");
    EXPECT_EQ(LoadHierarchy(), static_cast<HRESULT>(0x80040154));
    ASSERT_EQ(ShownFailures().size(), 1u);
    const std::wstring text = ShownFailures()[0].text;
    EXPECT_EQ(text.rfind(L"Failed to load pages:\r\n", 0), 0u) << text.c_str();
    EXPECT_GT(text.size(), std::wstring(L"Failed to load pages:\r\n\r\n").size());
    EXPECT_TRUE(Calls(L"GetHierarchy").empty());
}

TEST_F(HierarchyLoader, QuittingEndsTheLoadSilently)
{
    GetCalendarState().quitting = true;
    EXPECT_EQ(LoadHierarchy(), E_ABORT);
    EXPECT_EQ(Calls(L"GetHierarchy").size(), 1u) << "ends within one call";
    EXPECT_TRUE(ShownFailures().empty());

    // Quitting while the worker runs, here while it waits out a busy OneNote (which would last 30
    // seconds): it ends at once, clears the loading flag and shows nothing.
    GetCalendarState().quitting = false;
    UseScenario("store demo\nbusy GetHierarchy 1000\n");
    const size_t before = Calls(L"GetHierarchy").size();
    GetCalendarState().loading = true;
    std::promise<void> ended;
    std::future<void> end = ended.get_future();
    std::thread worker([&ended] {
        LoadPagesWorker(nullptr);
        ended.set_value();
    });
    const auto busyAnswers = [&] { return Calls(L"GetHierarchy").size() - before; };
    EXPECT_TRUE(Harness::PollUntil([&] { return busyAnswers() > 0; })) << "the worker never asked OneNote";
    GetCalendarState().quitting = true;
    EXPECT_EQ(end.wait_for(5s), std::future_status::ready) << "the worker waits on for OneNote";
    worker.join();
    EXPECT_FALSE(GetCalendarState().loading);
    EXPECT_TRUE(ShownFailures().empty());
    const auto calls = Calls(L"GetHierarchy");
    for (size_t call = before; call < calls.size(); ++call)
        EXPECT_EQ(calls[call].result, static_cast<HRESULT>(0x80010001)) << "the load went on";
}

// Started on 29 March 2026, the day summer time begins in both zones the tests run in (at midnight
// in the Azores, a time that day does not have), the calendar shows that day's week, with that
// day's cell as today's.
TEST_F(HierarchyLoader, AStartOnTheDaySummerTimeBeginsShowsThatDayWithTodaysCellMarked)
{
    UseStore(Notebook(NotebookId, L"Home", L"C:\\N\\Home",
                      Section(Id(1), L"A", StorePage(PageId(1), L"Spring", L"2026-03-29T11:00:00.000Z"))));
    static __time64_t morning = 0;
    morning = DateTime(2026, 3, 29, 10).time;
    const Clock systemClock = SetClock([] { return morning; });
    const CalendarSettings savedSettings = GetCalendarSettings();
    // Put back however the case ends: every later case of the program reads the clock and settings.
    const ScopeExit restore([&] {
        FreeDrawingResources();
        SetClock(systemClock);
        GetCalendarSettings() = savedSettings;
    });
    CalendarSettings& settings = GetCalendarSettings();
    settings.viewType = 1;
    settings.mondayWeek = false;
    settings.showPagesOnCreatedDate = settings.showPagesOnLMT = settings.allNotebooks = true;
    CalendarState& state = GetCalendarState();
    state.currentDate = DateTime();
    StartHierarchyLoad();
    for (int wait = 0; wait < 200 && state.loading; ++wait)
        Sleep(50);
    ASSERT_FALSE(state.loading);
    FillDateNameTables();
    EXPECT_EQ(FormatPeriodTitle(0), L"29 Mar - 4 Apr 2026");

    CreateFonts();
    SetColorScheme(false);
    GetCalendarViewState() = CalendarViewState();
    SetHotArea(HitArea());
    const auto bitmap = UI::OffscreenBitmap::Create(900, 700);
    ASSERT_TRUE(bitmap);
    {
        Gdiplus::Graphics graphics(bitmap->DC());
        PaintCalendar(graphics, 900, 700);
    }
    GdiFlush();
    // Today's cell, the week's first, is filled with the band's colour.
    const Gdiplus::RectF& cell = GetCalendarViewState().cells[0];
    Gdiplus::Color inside;
    bitmap->GetPixel(static_cast<int>(cell.X + cell.Width / 2), static_cast<int>(cell.Y + cell.Height - 10), &inside);
    EXPECT_EQ(inside.GetValue() | 0xFF000000, GetColor(ColorBand) | 0xFF000000);
    size_t pages = 0;
    for (const HitArea& area : GetHitAreas())
        pages += area.kind == HitPage && area.item == 0;
    EXPECT_EQ(pages, 1u) << "the day's page";
}

TEST_F(HierarchyLoader, TheDemoStoreLoadsWithUnfiledNotesAndOpenSectionsLeftAside)
{
    ASSERT_EQ(LoadHierarchy(), S_OK);
    const auto filed = FiledEntries();
    EXPECT_GT(filed.size(), 40u);
    const std::wstring all = Describe(filed);
    EXPECT_NE(all.find(L"Personal > Recipes > Around the world > Europe > Italian > Risotto"), std::wstring::npos);
    EXPECT_NE(all.find(L"Personal > Quick Notes > Untitled Page"), std::wstring::npos);
    EXPECT_EQ(all.find(L"Abandoned prototype"), std::wstring::npos) << "a section in the recycle bin";
    EXPECT_EQ(all.find(L"Old shopping list"), std::wstring::npos) << "the deleted pages";
    EXPECT_EQ(all.find(L"borrowed laptop"), std::wstring::npos) << "open sections are not notebooks";
    const auto list = GetNotebookList();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->Count(), 3u);
    EXPECT_TRUE(list->Notebooks().unfiledNotes);
    EXPECT_TRUE(list->Notebooks().openSections);
    // Pages of today are there.
    const DateTime today = DateTime().LocalNoon();
    const std::lock_guard guard(GetDayMapLock());
    const auto day = GetDayMap().find(today);
    ASSERT_NE(day, GetDayMap().end());
    EXPECT_GE(day->second.size(), 3u);
}
} // namespace
