#include "calendar/CalendarDate.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPaint.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/DrawingResources.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/HitArea.h"
#include "calendar/LumdayWindow.h"
#include "calendar/PagePreview.h"
#include "calendar/UiLanguages.h"
#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "framework/ui/OffscreenBitmap.h"
#include "tests/calendar/LumdayRun.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "standins/onenote/CallLog.h"
#include "standins/onenote/LargeStore.h"
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreLock.h"
#include "standins/onenote/Xml.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <set>

using namespace std::chrono_literals;

namespace
{
std::filesystem::path LumdayExe() { return Harness::BuildFolder() / L"calendar" / L"Lumday.exe"; }

const wchar_t* const Suffix = L" - Dayloom 1.18.1";

// The title of the month view of today in a language: the month standing alone as a heading and
// the year.
std::wstring MonthTitle(const wchar_t* language)
{
    LoadLanguageStrings(language);
    FillDateNameTables();
    const DateTime today;
    const std::wstring title = GetDateNameTables().monthHeadingNames[static_cast<size_t>(today.local.tm_mon + 1)] +
                               L" " + std::to_wstring(today.local.tm_year + 1900);
    return title;
}

class LumdayProgram : public testing::Test
{
protected:
    static void SetUpTestSuite() { CreateFonts(); }
    static void TearDownTestSuite() { FreeDrawingResources(); }

    std::unique_ptr<Harness::Program> Start(const Harness::Profile& profile, const std::wstring& arguments = L"",
                                            const std::filesystem::path& program = LumdayExe())
    {
        return std::make_unique<Harness::Program>(Harness::StartOptions{
            .program = program,
            .arguments = arguments,
            .profile = &profile,
            .environment = {},
        });
    }

    // Lumday against a fresh store of the OneNote stand-in, seeded and steered by a scenario.
    std::unique_ptr<Harness::Program> StartWithStandIn(const Harness::Profile& profile, const char* scenarioText)
    {
        const std::filesystem::path store = TestPaths::OutputFile(L".store");
        const std::filesystem::path scenario = TestPaths::OutputFile(L".scenario.txt");
        std::error_code error;
        std::filesystem::remove_all(store, error);
        std::ofstream(scenario, std::ios::binary | std::ios::trunc) << scenarioText;
        const std::uintmax_t logged = std::filesystem::file_size(CallLog(), error);
        callLogAtStart_ = error ? 0 : logged;
        return std::make_unique<Harness::Program>(Harness::StartOptions{
            .program = LumdayExe(),
            .arguments = L"",
            .profile = &profile,
            .environment = {{L"QUILLORA_ONENOTE_STORE", store.wstring()},
                            {L"QUILLORA_ONENOTE_CALLLOG", CallLog().wstring()},
                            {L"QUILLORA_ONENOTE_SCENARIO", scenario.wstring()}},
        });
    }

    // Waits until the load of the store, which fills the calendar after its first paint, is over:
    // the stand-in has answered calls since the last start and none for most of a second.
    void WaitForTheLoad() const
    {
        std::error_code error;
        std::uintmax_t size = callLogAtStart_;
        auto changed = std::chrono::steady_clock::now();
        const bool loaded = Harness::WaitUntil(
            [&] {
                const std::uintmax_t now = std::filesystem::file_size(CallLog(), error);
                if (!error && now != size)
                {
                    size = now;
                    changed = std::chrono::steady_clock::now();
                }
                return size > callLogAtStart_ && std::chrono::steady_clock::now() - changed >= 700ms;
            },
            10s);
        EXPECT_TRUE(loaded) << "the load of the store never ended";
    }

    static void PressWithControl(HWND window, WORD key)
    {
        // The keys go to the window in front: sent before this one is, they would be lost.
        EXPECT_TRUE(Harness::BringToFront(window)) << "the window never came to the front";
        INPUT inputs[4] = {};
        for (INPUT& input : inputs)
            input.type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = VK_CONTROL;
        inputs[1].ki.wVk = key;
        inputs[2].ki.wVk = key;
        inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
        inputs[3].ki.wVk = VK_CONTROL;
        inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(4, inputs, sizeof(INPUT));
    }

    // Paints the window now and returns once it is painted: the paint comes after every key the
    // window has taken, and what the buttons offer follows the last paint.
    static void WaitForThePaint(HWND window)
    {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutW(window, WM_PAINT, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
    }

    static std::filesystem::path CallLog() { return TestPaths::OutputFile(L".calls.log"); }

    static void WriteSettings(const Harness::Profile& profile, const std::wstring& text)
    {
        const std::filesystem::path file = profile.RoamingAppData() / L"lumday.xml";
        ASSERT_TRUE(WriteBytesToFile(file.wstring().c_str(), text.data(), text.size() * sizeof(wchar_t)));
    }

    static std::wstring ReadSettings(const Harness::Profile& profile)
    {
        return ReadTextFile((profile.RoamingAppData() / L"lumday.xml").wstring().c_str());
    }

    static HWND MainWindowOf(const Harness::Program& program)
    {
        const HWND window = program.WaitForWindow(L"WC_LUMDAY");
        if (window)
            Harness::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 10s);
        return window;
    }

    // Whether the window's title comes to show the view text with the product and version.
    static bool TitleBecomes(HWND window, const std::wstring& viewText)
    {
        const bool shown = Harness::WaitUntil([&] { return Harness::TextOf(window) == viewText + Suffix; }, 10s);
        if (!shown)
            ADD_FAILURE() << "title: " << testing::PrintToString(std::filesystem::path(Harness::TextOf(window)).string());
        return shown;
    }

    // Where the first-run view draws language row i (client coordinates of the row's middle).
    static POINT LanguageRow(int index)
    {
        const float gap = UnitsToPixels(5);
        const float band = GetLineHeight(FontTitle) + 2 * gap;
        const float firstRow = band + UnitsToPixels(10) + GetLineHeight(FontHeading) + gap;
        const float pitch = GetLineHeight(FontDayName) + gap;
        const int column = index / 8;
        const int row = index % 8;
        return {static_cast<LONG>(UnitsToPixels(49) + column * UnitsToPixels(160) + 15),
                static_cast<LONG>(firstRow + row * pitch + GetLineHeight(FontDayName) / 2)};
    }

    static POINT ContinueButton()
    {
        const float gap = UnitsToPixels(5);
        const POINT ninth = LanguageRow(0);
        const float pitch = GetLineHeight(FontDayName) + gap;
        return {ninth.x, static_cast<LONG>(static_cast<float>(ninth.y) + 8 * pitch + pitch)};
    }

    Screenshot::GdiplusSession gdiplus;

private:
    std::uintmax_t callLogAtStart_ = 0;
};

// Wine gives a program the locale of the Unix environment it was started from, so ctest runs
// this case once more under other locales (see CMakeLists.txt); without Office's values the
// locale decides, and a locale of no supported language gives English.
TEST_F(LumdayProgram, FirstRunOpensTheLanguageViewInTheLocalesLanguage)
{
    wchar_t locale[32] = {};
    GetUserDefaultLocaleName(locale, 32);
    std::wstring language = MatchLanguage(locale);
    if (language.empty())
        language = L"en";
    LoadLanguageStrings(language);

    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(TitleBecomes(window, GetUiString(StrSettings)))
        << "in the locale " << testing::PrintToString(std::filesystem::path(locale).string());
    Harness::SaveWindow(window, L"FirstRun-" + language);
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_NE(ReadSettings(profile).find(L"language=\"\""), std::wstring::npos) << "closing chose no language";
}

TEST_F(LumdayProgram, WindowHasItsClassTitleAndMinimumSize)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Harness::ClassOf(window), L"WC_LUMDAY");
    EXPECT_EQ(Harness::TextOf(window), MonthTitle(L"en") + Suffix);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    // The scroll bars come and go with the content; the rest of the style stays.
    EXPECT_EQ(style & 0x02CF0000, 0x02CF0000) << std::hex << style;
    SetWindowPos(window, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(Harness::WaitUntil([&] { return Harness::WindowSize(window).cx == 282; }, 5s));
    EXPECT_EQ(Harness::WindowSize(window).cy, 340);
    // A search box child and the tooltip exist.
    EXPECT_NE(FindWindowExW(window, nullptr, L"Edit", nullptr), nullptr);
    Harness::SaveWindow(window, L"calendar");
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdayProgram, ChoosingALanguageAndContinuingSavesItAndOpensTheCalendar)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, L"Settings"));
    const POINT russian = LanguageRow(11);
    Harness::Click(window, russian.x, russian.y);
    EXPECT_TRUE(TitleBecomes(window, L"Параметры"));
    Harness::SaveWindow(window, L"RussianChosen");
    const POINT proceed = ContinueButton();
    Harness::Click(window, proceed.x, proceed.y);
    // Standing alone as the heading of a month, the month begins with a capital.
    static const wchar_t* const Months[] = {L"Январь", L"Февраль", L"Март",     L"Апрель",  L"Май",    L"Июнь",
                                            L"Июль",   L"Август",  L"Сентябрь", L"Октябрь", L"Ноябрь", L"Декабрь"};
    const tm& today = DateTime().local;
    EXPECT_TRUE(TitleBecomes(window, Months[today.tm_mon] + (L" " + std::to_wstring(today.tm_year + 1900))));
    EXPECT_NE(ReadSettings(profile).find(L"language=\"ru\""), std::wstring::npos);
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdayProgram, EscapeLeavesTheFirstRunViewWithoutChoosingALanguage)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, L"Settings"));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(TitleBecomes(window, MonthTitle(L"en")));
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_NE(ReadSettings(profile).find(L"language=\"\""), std::wstring::npos) << "the next start asks again";
}

TEST_F(LumdayProgram, StoredDarkThemeDrawsTheViewDarkFromTheStart)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings darkMode=\"true\"/></Lumday>");
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, L"Settings"));
    Harness::SaveWindow(window, L"dark");
    const Screenshot::Capture capture = Screenshot::CaptureWindow(window);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    RECT frame{};
    GetWindowRect(window, &frame);
    const int left = client.x - frame.left;
    const int top = client.y - frame.top;
    EXPECT_EQ(capture.At(left + 2, top + 2), RGB(0x24, 0x24, 0x24)) << "title band";
    const SIZE size = Harness::ClientSize(window);
    EXPECT_EQ(capture.At(left + size.cx - 30, top + size.cy - 30), RGB(0x12, 0x12, 0x12)) << "background";
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdayProgram, ExitSavesTheSettingsWithThePlacement)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"de\" fontSize=\"15\"/>"
                           L"<Window x=\"40\" y=\"50\" width=\"640\" height=\"480\"/></Lumday>");
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Harness::TextOf(window), MonthTitle(L"de") + Suffix);
    EXPECT_EQ(Harness::WindowSize(window).cx, 640);
    EXPECT_EQ(Harness::WindowSize(window).cy, 480);
    EXPECT_EQ(lumday->Close(), 0u);
    const std::wstring saved = ReadSettings(profile);
    // A stored size between two of the table is written back as the one in use.
    for (const wchar_t* expected : {L"language=\"de\"", L"fontSize=\"16\"", L"x=\"40\"", L"y=\"50\"", L"width=\"640\"",
                                    L"height=\"480\"", L"lastUpdateCheck=\"", L"darkMode=\"false\""})
        EXPECT_NE(saved.find(expected), std::wstring::npos) << testing::PrintToString(std::filesystem::path(expected).string());
}

// A Czech, Slovak, German or Norwegian reader writes the day of a date with a full stop ("21. ledna").
TEST_F(LumdayProgram, DayViewTitlesWriteTheDaysFullStopInTheLanguagesThatDo)
{
    for (const wchar_t* language : {L"cs", L"sk", L"de", L"nb"})
    {
        SCOPED_TRACE(std::filesystem::path(language).string());
        const Harness::Profile profile(language);
        const Harness::ShellFolderRedirect redirect(profile);
        WriteSettings(profile, std::wstring(L"<Lumday><Settings language=\"") + language +
                                   L"\" viewType=\"2\"/><Window x=\"40\" y=\"50\" width=\"640\" height=\"480\"/></Lumday>");
        auto lumday = Start(profile);
        const HWND window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        LoadLanguageStrings(language);
        FillDateNameTables();
        const tm& today = DateTime().local;
        EXPECT_TRUE(TitleBecomes(window, std::to_wstring(today.tm_mday) + L". " +
                                             GetDateNameTables().monthNamesAfterDay[static_cast<size_t>(today.tm_mon + 1)] +
                                             L" " + std::to_wstring(today.tm_year + 1900)));
        EXPECT_EQ(lumday->Close(), 0u);
    }
}

// Which day of a week is shown does not matter: in a week that holds today, "Go to Today" opens
// today's day.
TEST_F(LumdayProgram, GoToTodayInAWeekThatHoldsTodayOpensTodaysDay)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"2\" mondayWeek=\"true\"/>"
                           L"<Window x=\"40\" y=\"50\" width=\"640\" height=\"480\"/></Lumday>");
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    LoadLanguageStrings(L"en");
    FillDateNameTables();
    const auto title = [](const DateTime& date, int view) {
        return FormatPeriodTitle(date, view, true, 0, GetDateNameTables());
    };
    const DateTime today;
    ASSERT_TRUE(TitleBecomes(window, title(today, 2)));
    // The other end of today's week from Monday: its Sunday, or its Monday on a Sunday, whose
    // weeks from Sunday differ from today's.
    const int steps = today.local.tm_wday == 0 ? -6 : 7 - today.local.tm_wday;
    DateTime shown = today;
    for (int i = 0; i < std::abs(steps); ++i)
    {
        shown = StepPeriod(shown, 2, steps);
        PressWithControl(window, steps < 0 ? VK_LEFT : VK_RIGHT);
        ASSERT_TRUE(TitleBecomes(window, title(shown, 2)));
    }
    PressWithControl(window, '2');
    ASSERT_TRUE(TitleBecomes(window, title(today, 1)));
    WaitForThePaint(window);
    PressWithControl(window, '0');
    EXPECT_TRUE(TitleBecomes(window, title(today, 2)));
    EXPECT_EQ(lumday->Close(), 0u);
}

// When Windows ends the session it ends the process once the window has answered WM_ENDSESSION:
// no WM_DESTROY, no end of the message loop. What changed since the last Back is in the file by then.
TEST_F(LumdayProgram, SettingsChangedSinceTheLastBackAreSavedWhenTheSessionEnds)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/>"
                           L"<Window x=\"40\" y=\"50\" width=\"640\" height=\"480\"/></Lumday>");
    auto lumday = StartWithStandIn(profile, "store demo\n");
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, MonthTitle(L"en")));
    DWORD_PTR answer = 0;
    // A larger text (Ctrl and the wheel), and the window moved.
    SendMessageTimeoutW(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(300, 300),
                        SMTO_ABORTIFHUNG, 10000, &answer);
    SetWindowPos(window, nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_NE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer),
              0);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the session may end";
    ASSERT_NE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 20000, &answer), 0);
    const Owners::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, lumday->ProcessId()));
    ASSERT_TRUE(process);
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 10000);
    const std::wstring saved = ReadSettings(profile);
    for (const wchar_t* expected : {L"fontSize=\"14\"", L"x=\"70\"", L"y=\"80\"", L"lastUpdateCheck=\""})
        EXPECT_NE(saved.find(expected), std::wstring::npos)
            << testing::PrintToString(std::filesystem::path(expected).string());
}

// Lumday's own windows that are message boxes.
// The text a message box shows, once it shows one (the box's window comes before its text).
std::wstring BoxText(HWND box)
{
    std::wstring text;
    Harness::WaitUntil([&] {
        text.clear();
        for (const HWND label : Harness::Children(box, L"Static"))
            text += Harness::TextOf(label);
        return !text.empty();
    });
    return text;
}

// Points the prefix's roaming application-data folder elsewhere while it lives, and back at the
// profile's after.
class RoamingFolder
{
public:
    RoamingFolder(const std::filesystem::path& folder, std::filesystem::path restored) : restored_(std::move(restored))
    {
        Set(folder);
    }
    ~RoamingFolder() { Set(restored_); }
    RoamingFolder(const RoamingFolder&) = delete;
    RoamingFolder& operator=(const RoamingFolder&) = delete;

private:
    static void Set(const std::filesystem::path& folder)
    {
        Owners::RegistryKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                                  0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        const std::wstring path = folder.wstring();
        RegSetValueExW(key.get(), L"AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }

    std::filesystem::path restored_;
};

std::vector<HWND> MessageBoxesOf(const Harness::Program& program)
{
    std::vector<HWND> boxes;
    for (const HWND window : program.TopLevelWindows())
        if (Harness::ClassOf(window) == L"#32770")
            boxes.push_back(window);
    return boxes;
}

std::wstring MessageTextOf(HWND box)
{
    const HWND text = GetDlgItem(box, 0xFFFF);
    return text ? Harness::TextOf(text) : L"";
}

// The program's message boxes, once one of them shows (its text comes after its window); none when
// none shows within the time.
std::vector<HWND> ShownMessageBoxes(const Harness::Program& program, std::chrono::milliseconds timeout)
{
    std::vector<HWND> boxes;
    Harness::WaitUntil(
        [&] {
            boxes = MessageBoxesOf(program);
            return std::any_of(boxes.begin(), boxes.end(), [](HWND box) { return !MessageTextOf(box).empty(); });
        },
        timeout);
    return boxes;
}

size_t HierarchyCalls(const std::filesystem::path& log)
{
    size_t calls = 0;
    for (const auto& call : StandIn::ReadCallLog(log.wstring()))
        calls += call.method == L"GetHierarchy";
    return calls;
}

// A log-off that another program calls off ends with WM_ENDSESSION saying FALSE: Lumday goes on,
// and F5 loads the whole store again.
TEST_F(LumdayProgram, ASessionEndThatIsCalledOffLeavesRefreshWorking)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    // The call log goes on from earlier runs of the test: only this run's calls count.
    const size_t earlier = HierarchyCalls(CallLog());
    auto lumday = StartWithStandIn(profile, "store demo\n");
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, MonthTitle(L"en")));
    WaitForTheLoad();
    const size_t firstLoad = HierarchyCalls(CallLog()) - earlier;
    ASSERT_GT(firstLoad, 1u);
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer), 0);
    ASSERT_NE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 20000, &answer), 0);
    ASSERT_NE(SendMessageTimeoutW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer), 0);
    PostMessageW(window, WM_KEYDOWN, VK_F5, 0);
    EXPECT_TRUE(Harness::WaitUntil([&] { return HierarchyCalls(CallLog()) - earlier >= 2 * firstLoad; }, 10s))
        << HierarchyCalls(CallLog()) - earlier << " calls of " << 2 * firstLoad;
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdayProgram, ClosingTheWindowDuringALoadEndsItWithoutAMessage)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    const std::filesystem::path store = TestPaths::OutputFile(L".store");
    const std::filesystem::path log = TestPaths::OutputFile(L".calls.log");
    std::error_code error;
    std::filesystem::remove_all(store, error);
    std::filesystem::remove(log, error);
    StandIn::LargeStoreOptions options;
    options.pages = 4000;
    options.notebooks = 5;
    ASSERT_TRUE(StandIn::WriteLargeStore(store.wstring(), options));

    Harness::Program lumday(Harness::StartOptions{
        .program = LumdayExe(),
        .arguments = L"",
        .profile = &profile,
        .environment = {{L"QUILLORA_ONENOTE_STORE", store.wstring()},
                        {L"QUILLORA_ONENOTE_CALLLOG", log.wstring()},
                        {L"QUILLORA_ONENOTE_SCENARIO", L""}},
    });
    ASSERT_NE(MainWindowOf(lumday), nullptr);
    ASSERT_TRUE(Harness::WaitUntil([&] { return HierarchyCalls(log) > 20; }, 30s)) << "the load runs";
    EXPECT_EQ(lumday.Close(20s), 0u);
    EXPECT_LT(HierarchyCalls(log), 4000u) << "the load ended early";
    EXPECT_TRUE(MessageBoxesOf(lumday).empty());
}

// A search that OneNote keeps waiting (another process holds the stand-in's store) when the window
// closes: the program saves its settings and ends within its bound, and shows no box.
TEST_F(LumdayProgram, ClosingTheWindowDuringASearchThatHangsSavesAndEndsInTimeWithoutAMessage)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/><Window x=\"40\" y=\"50\" width=\"640\" "
                           L"height=\"480\"/></Lumday>");
    auto program = StartWithStandIn(profile, "store demo\n");
    Harness::Program& lumday = *program;
    const HWND window = MainWindowOf(lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, MonthTitle(L"en")));
    WaitForTheLoad();
    StandIn::StoreLock lock(TestPaths::OutputFile(L".store").wstring());
    const StandIn::StoreLock::Hold hold = lock.Acquire(10000);
    ASSERT_TRUE(hold.Owns());
    const HWND searchBox = FindWindowExW(window, nullptr, L"Edit", nullptr);
    ASSERT_NE(searchBox, nullptr);
    SendMessageW(searchBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"bread"));
    // The search waits for the store: the icon beside the box shows it running (the magnifier in
    // the accent colour, which tinting shifts by a shade, where a search that is not running shows
    // a grey cross) once it has begun, and from there only the store's lock holds it.
    SetColorScheme(false);
    const RECT box = Harness::ChildRect(searchBox);
    const COLORREF accent = LumdayTest::ColorRef(ColorAccent);
    const auto nearAccent = [&](COLORREF pixel) {
        return std::abs(GetRValue(pixel) - GetRValue(accent)) <= 8 && std::abs(GetGValue(pixel) - GetGValue(accent)) <= 8 &&
               std::abs(GetBValue(pixel) - GetBValue(accent)) <= 8;
    };
    const auto searchRuns = [&] {
        const LumdayTest::ClientPicture picture(window);
        for (int y = box.top + 1; y < box.bottom - 1; ++y)
            for (int x = box.right + 1; x < box.right + 20; ++x)
                if (nearAccent(picture.At(x, y)))
                    return true;
        return false;
    };
    ASSERT_TRUE(Harness::WaitUntil(searchRuns, 10s)) << "the search never began";
    SetWindowPos(window, nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessageW(window, WM_CLOSE, 0, 0);
    bool boxShown = false;
    const bool ended = Harness::WaitUntil(
        [&] {
            boxShown = boxShown || !MessageBoxesOf(lumday).empty();
            return !lumday.IsRunning();
        },
        10s);
    EXPECT_TRUE(ended) << "still running 10 s after the window closed";
    EXPECT_FALSE(boxShown);
    const std::wstring saved = ReadSettings(profile);
    EXPECT_NE(saved.find(L"x=\"70\""), std::wstring::npos) << WideToUtf8(saved);
    EXPECT_NE(saved.find(L"y=\"80\""), std::wstring::npos);
}

TEST_F(LumdayProgram, AFailedLoadIsShownOnceInAMessageBoxOwnedByTheWindow)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    auto program = StartWithStandIn(profile, "store demo\nfail GetHierarchy 0x80042014\n");
    Harness::Program& lumday = *program;
    const HWND window = MainWindowOf(lumday);
    ASSERT_NE(window, nullptr);
    const std::vector<HWND> boxes = ShownMessageBoxes(lumday, 15s);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Harness::TextOf(boxes[0]), L"Error");
    EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), window);
    Harness::SaveWindow(boxes[0], L"load-failure");
    PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Harness::WaitUntil([&] { return MessageBoxesOf(lumday).empty(); }, 10s));
    // The load has ended once the calendar draws its settings button, which it leaves out while a
    // load has filed no page: any other box of the load would have come before.
    const SIZE client = Harness::ClientSize(window);
    EXPECT_TRUE(LumdayTest::DrawnAround(window, {client.cx - 42, client.cy - 12}, 6)) << "the load never ended";
    EXPECT_TRUE(MessageBoxesOf(lumday).empty()) << "shown once";
    EXPECT_EQ(lumday.Close(), 0u);
}

TEST_F(LumdayProgram, DamagedSettingsStartTheFirstRunViewAndAreKept)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    const std::wstring damaged = L"<Lumday><Settings language=\"de\"";
    WriteSettings(profile, damaged);
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(TitleBecomes(window, L"Settings"));
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_EQ(ReadTextFile((profile.RoamingAppData() / L"lumday.damaged.xml").wstring().c_str()), damaged);
    std::ifstream log(profile.Temp() / L"Lumday.log", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    EXPECT_NE(text.find(L"ERROR: The settings file"), std::wstring::npos);
}

TEST_F(LumdayProgram, SettingsThatAnotherProgramHeldAtTheStartAreNeverReplaced)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    const std::wstring stored = L"<Lumday><Settings language=\"de\" darkMode=\"true\"/></Lumday>";
    WriteSettings(profile, stored);
    std::unique_ptr<Harness::Program> lumday;
    {
        // Another program holds the file without sharing while Lumday starts, and lets it go before
        // Lumday closes.
        const Owners::FileHandle held(CreateFileW((profile.RoamingAppData() / L"lumday.xml").wstring().c_str(),
                                                  GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        lumday = Start(profile);
        ASSERT_NE(MainWindowOf(*lumday), nullptr);
    }
    // The user is told once, over the window, that what they change now is not kept.
    const HWND window = MainWindowOf(*lumday);
    std::vector<HWND> boxes;
    EXPECT_TRUE(Harness::WaitUntil([&] { return !(boxes = MessageBoxesOf(*lumday)).empty(); }, 10s))
        << "nothing said that the changes of the session will not be saved";
    if (!boxes.empty())
    {
        EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), window);
        EXPECT_NE(BoxText(boxes[0]).find(L"the changes of this session will not be saved"), std::wstring::npos)
            << WideToUtf8(BoxText(boxes[0]));
        EXPECT_NE(BoxText(boxes[0]).find((profile.RoamingAppData() / L"lumday.xml").wstring() +
                                         L" could not be read because another program holds it"),
                  std::wstring::npos)
            << WideToUtf8(BoxText(boxes[0]));
        Harness::SaveWindow(boxes[0], L"settings-held");
        PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(Harness::WaitUntil([&] { return MessageBoxesOf(*lumday).empty(); }));
    }
    ASSERT_TRUE(Harness::HandledWhatWasPosted(window));
    EXPECT_TRUE(MessageBoxesOf(*lumday).empty()) << "told more than once";
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_EQ(ReadSettings(profile), stored);
}

TEST_F(LumdayProgram, SecondInstanceBringsTheFirstForwardAndEnds)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\" singleInstance=\"true\"/></Lumday>");
    auto first = Start(profile);
    const HWND window = MainWindowOf(*first);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(Harness::WaitUntil([&] { return IsIconic(window) != FALSE; }));
    auto second = Start(profile);
    EXPECT_EQ(second->WaitForExit(15s), std::optional<DWORD>(0));
    EXPECT_TRUE(Harness::WaitUntil([&] { return IsIconic(window) == FALSE; }));
    EXPECT_EQ(first->TopLevelWindows().empty(), false);
    EXPECT_EQ(first->Close(), 0u);
}

TEST_F(LumdayProgram, WithoutSingleInstanceASecondWindowOpens)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    auto first = Start(profile);
    ASSERT_NE(MainWindowOf(*first), nullptr);
    auto second = Start(profile);
    EXPECT_NE(MainWindowOf(*second), nullptr);
    EXPECT_TRUE(second->IsRunning());
    EXPECT_EQ(second->Close(), 0u);
    EXPECT_EQ(first->Close(), 0u);
}

class LumdayCommandLine : public LumdayProgram
{
protected:
    void SetUp() override
    {
        update = profile.Temp() / L"lumday1.exe";
        ASSERT_TRUE(CopyFileW(LumdayExe().wstring().c_str(), update.wstring().c_str(), FALSE));
        std::filesystem::create_directories(profile.Root() / L"My Apps");
        installed = profile.Root() / L"My Apps" / L"Lumday.exe";
        // An installed Lumday of its own bytes, so that its replacement shows.
        oldProgram = Bytes(LumdayExe()) + "the old program";
        std::ofstream(installed, std::ios::binary) << oldProgram;
        document = profile.Root() / L"notes.txt";
        std::ofstream(document, std::ios::binary) << "my notes";
        WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    }

    static std::string Bytes(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    Harness::Profile profile;
    Harness::ShellFolderRedirect redirect{profile};
    std::filesystem::path update;
    std::filesystem::path installed;
    std::string oldProgram;
    std::filesystem::path document;
};

TEST_F(LumdayCommandLine, UpdateReplacesTheOldProgramAndStartsIt)
{
    auto downloaded = Start(profile, L"\"" + installed.wstring() + L"\"", update);
    EXPECT_EQ(downloaded->WaitForExit(20s), std::optional<DWORD>(0));
    EXPECT_EQ(Bytes(installed), Bytes(update));
    // The replaced program comes up after the update with "/showUpdateInfo"; it is ended here.
    LumdayTest::CloseRestartedLumday();
}

TEST_F(LumdayCommandLine, BarePathOfTheOldProgramIsInstalledToo)
{
    std::filesystem::path plain = profile.Root() / L"Lumday.exe";
    std::ofstream(plain, std::ios::binary) << oldProgram;
    auto downloaded = Start(profile, plain.wstring(), update);
    EXPECT_EQ(downloaded->WaitForExit(20s), std::optional<DWORD>(0));
    EXPECT_EQ(Bytes(plain), Bytes(update));
    LumdayTest::CloseRestartedLumday();
}

TEST_F(LumdayCommandLine, DocumentsAndOtherArgumentsStartTheCalendarAndStayUntouched)
{
    const std::pair<std::filesystem::path, std::wstring> cases[] = {
        {update, L"\"" + document.wstring() + L"\""},
        {update, document.wstring()},
        {update, L"\"" + installed.wstring()},
        {LumdayExe(), L"\"" + installed.wstring() + L"\""},
        {LumdayExe(), L"/showUpdateInfo"},
        {LumdayExe(), L"/showupdateinfo"},
    };
    for (const auto& [program, arguments] : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::filesystem::path(arguments).string()));
        auto lumday = Start(profile, arguments, program);
        const HWND window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Harness::TextOf(window), MonthTitle(L"en") + Suffix);
        EXPECT_EQ(lumday->Close(), 0u);
    }
    EXPECT_EQ(Bytes(document), "my notes");
    EXPECT_EQ(Bytes(installed), oldProgram);
}

// Cases that change further values the whole prefix shares.
class LumdayAlone : public LumdayProgram
{
protected:
    static void SetDword(const wchar_t* key, const wchar_t* name, DWORD value)
    {
        Owners::RegistryKey opened;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, opened.put(), nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(opened.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    static void DeleteValue(const wchar_t* key, const wchar_t* name) { RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name); }
};

TEST_F(LumdayAlone, OfficeLanguageComesBeforeTheLocale)
{
    const wchar_t* const office15 = L"Software\\Microsoft\\Office\\15.0\\Common\\LanguageResources";
    const wchar_t* const office14 = L"Software\\Microsoft\\Office\\14.0\\Common\\LanguageResources";
    struct Case
    {
        const wchar_t* key;
        DWORD lcid;
        const wchar_t* title;
        const wchar_t* picture;
    };
    const Case cases[] = {
        {office15, 1031, L"Einstellungen", nullptr},
        {office14, 1046, L"Configurações", nullptr},
        {office15, 2052, L"设置", L"ChineseSimplified"},
        {office15, 1049, L"Параметры", L"Russian"},
        {office15, 1071, L"Поставки", L"Macedonian"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.lcid);
        SetDword(c.key, L"UILanguage", c.lcid);
        const Harness::Profile profile(std::to_wstring(c.lcid));
        const Harness::ShellFolderRedirect redirect(profile);
        auto lumday = Start(profile);
        const HWND window = MainWindowOf(*lumday);
        DeleteValue(c.key, L"UILanguage");
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(TitleBecomes(window, c.title));
        // The first-run view's heading ("Language") stands whole, on one line, in its band.
        {
            LoadLanguageStrings(MatchLcid(c.lcid));
            const std::wstring& heading = GetUiString(StrLanguage);
            Gdiplus::Bitmap bitmap(1, 1, PixelFormat32bppARGB);
            Gdiplus::Graphics graphics(&bitmap);
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
            const Gdiplus::StringFormat oneLine(Gdiplus::StringFormatFlagsNoWrap);
            Gdiplus::RectF line;
            graphics.MeasureString(heading.c_str(), static_cast<INT>(heading.size()), GetFont(FontTitle),
                                   Gdiplus::RectF(0, 0, 0, 0), &oneLine, &line);
            const int band = static_cast<int>(line.Height + 2 * UnitsToPixels(5));
            SetColorScheme(false);
            const COLORREF bandColor = LumdayTest::ColorRef(ColorAccent);
            int inkWidth = 0;
            EXPECT_TRUE(Harness::WaitUntil([&] {
                const LumdayTest::ClientPicture picture(window);
                int left = -1;
                int right = -1;
                for (int y = 1; y < band - 1; ++y)
                    for (int x = 0; x < static_cast<int>(UnitsToPixels(24) + 2 * line.Width); ++x)
                        if (picture.At(x, y) != bandColor)
                        {
                            left = left < 0 ? x : std::min(left, x);
                            right = std::max(right, x);
                        }
                inkWidth = left < 0 ? 0 : right - left + 1;
                return static_cast<float>(inkWidth) >= 0.75f * line.Width;
            })) << "the heading shows " << inkWidth << " of its " << line.Width << " pixels";
        }
        if (c.picture)
            Harness::SaveWindow(window, c.picture);
        EXPECT_EQ(lumday->Close(), 0u);
    }
}

TEST_F(LumdayAlone, MinimumSizeScalesAt144Dpi)
{
    const wchar_t* const desktop = L"Control Panel\\Desktop";
    SetDword(desktop, L"LogPixels", 144);
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    DeleteValue(desktop, L"LogPixels");
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(Harness::WaitUntil([&] { return Harness::WindowSize(window).cx == 423; }, 5s))
        << Harness::WindowSize(window).cx;
    EXPECT_EQ(Harness::WindowSize(window).cy, 510);
    SetWindowPos(window, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    Harness::SaveWindow(window, L"144dpi");
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdayAlone, CalendarViewsAt144DpiInBothThemes)
{
    const wchar_t* const desktop = L"Control Panel\\Desktop";
    for (int view = 0; view < 3; ++view)
    {
        for (const bool dark : {false, true})
        {
            const std::wstring picture = std::wstring(L"Calendar-144dpi-") + (view == 0 ? L"Month" : view == 1 ? L"Week" : L"Day") +
                                         (dark ? L"-Dark" : L"-Light");
            SCOPED_TRACE(testing::PrintToString(std::filesystem::path(picture).string()));
            SetDword(desktop, L"LogPixels", 144);
            const Harness::Profile profile(picture);
            const Harness::ShellFolderRedirect redirect(profile);
            WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"" + std::to_wstring(view) +
                                       L"\" darkMode=\"" + (dark ? L"true" : L"false") +
                                       L"\"/><Window x=\"0\" y=\"0\" width=\"1200\" height=\"900\"/></Lumday>");
            auto lumday = StartWithStandIn(profile, "store demo\n");
            const HWND window = MainWindowOf(*lumday);
            DeleteValue(desktop, L"LogPixels");
            ASSERT_NE(window, nullptr);
            LoadLanguageStrings(L"en");
            FillDateNameTables();
            EXPECT_TRUE(TitleBecomes(window, FormatPeriodTitle(DateTime(), view, false, 0, GetDateNameTables())));
            WaitForTheLoad();
            WaitForThePaint(window);
            // The theme's background is the colour most of the picture shows, and the header
            // holds text: ink on the line through the header's middle.
            const LumdayTest::ClientPicture shown(window);
            RECT client{};
            GetClientRect(window, &client);
            std::map<COLORREF, int> counts;
            for (int y = 0; y < client.bottom; y += 7)
                for (int x = 0; x < client.right; x += 7)
                    ++counts[shown.At(x, y)];
            const auto most = std::max_element(counts.begin(), counts.end(),
                                               [](const auto& a, const auto& b) { return a.second < b.second; });
            EXPECT_EQ(most->first, dark ? RGB(0x12, 0x12, 0x12) : RGB(0xFF, 0xFF, 0xFF));
            const COLORREF background = dark ? RGB(0x12, 0x12, 0x12) : RGB(0xFF, 0xFF, 0xFF);
            const int headerMiddle = static_cast<int>(144 / 96.0f * 20);
            EXPECT_GE(shown.FirstInk(static_cast<int>(144 / 96.0f * 24), headerMiddle, background, client.right), 0)
                << "no text in the header";
            Harness::SaveWindow(window, picture);
            EXPECT_EQ(lumday->Close(), 0u);
        }
    }
}
} // namespace

namespace
{
class LumdayCalendar : public LumdayProgram
{
protected:
    static std::wstring PeriodTitle(const DateTime& date, int view, const wchar_t* language = L"en")
    {
        LoadLanguageStrings(language);
        FillDateNameTables();
        return FormatPeriodTitle(date, view, false, 0, GetDateNameTables());
    }

    // The middle of the header's right arrow: the header is as high as the title's box.
    static POINT NextArrow()
    {
        Gdiplus::Bitmap bitmap(1, 1, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(&bitmap);
        Gdiplus::RectF box;
        graphics.MeasureString(L"May 2026", -1, GetFont(FontTitle), Gdiplus::PointF(0, 0), &box);
        const int header = static_cast<int>(box.Height + UnitsToPixels(10));
        return {static_cast<LONG>(UnitsToPixels(18)), header / 2};
    }
};

std::vector<HitArea> PaintHere(const SIZE& client, int view, const DateTime& date);

// The first and last row a full stop inks, counted from the top of a line of text in the font.
std::pair<int, int> FullStopRows(int font)
{
    constexpr int Side = 64;
    const Owners::MemoryDC dc(CreateCompatibleDC(nullptr));
    const BITMAPINFO info = UI::TopDownDibInfo(Side, Side, 32);
    void* bits = nullptr;
    const Owners::Bitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return {0, -1};
    const Owners::SelectedObject paper(dc.get(), bitmap.get());
    const Owners::SelectedObject selected(dc.get(), GetGdiFont(font));
    auto* pixels = static_cast<DWORD*>(bits);
    std::fill_n(pixels, Side * Side, 0xFFFFFFu);
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(0, 0, 0));
    TextOutW(dc.get(), 8, 0, L".", 1);
    GdiFlush();
    std::pair<int, int> rows{Side, -1};
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            if ((pixels[y * Side + x] & 0xFFFFFFu) != 0xFFFFFFu)
                rows = {std::min(rows.first, y), std::max(rows.second, y)};
    return rows;
}

// The page lines of a calendar whose picture shows: each reads whole or ends in "..." inside its
// box (none is cut at the box's edge), and begins clear of its cell's left edge, which it shares
// with the day before. The lines' places and names come from the same store painted here; the
// result names every line that fails.
std::vector<std::string> LinesCutOrFlush(HWND window, const std::vector<HitArea>& areas)
{
    const LumdayTest::ClientPicture picture(window);
    const CalendarViewState& view = GetCalendarViewState();
    std::vector<std::string> faults;
    for (const HitArea& line : areas)
    {
        if (line.kind != HitPage)
            continue;
        const Gdiplus::RectF& cell = view.cells[CellIndex(line.subItem, line.item)];
        const HitArea* arrow = nullptr;
        bool lowest = true;
        for (const HitArea& other : areas)
        {
            if (other.item != line.item || other.subItem != line.subItem)
                continue;
            if (other.kind == HitScrollDown)
                arrow = &other;
            if (other.kind == HitPage && other.rect.Y > line.rect.Y)
                lowest = false;
        }
        // The content box is the cell inset by 2 units; a full cell's last line leaves 15 units to
        // its down arrow.
        const float boxRight = cell.X + cell.Width - UnitsToPixels(2) - (arrow && lowest ? UnitsToPixels(15) : 0);
        const COLORREF paper = picture.At(static_cast<int>(cell.X) + 4, static_cast<int>(cell.Y) + 4);
        const int top = static_cast<int>(line.rect.Y);
        const int bottom = static_cast<int>(line.rect.Y + line.rect.Height);
        const auto inked = [&](int x, int y) {
            return !(arrow && arrow->Contains(static_cast<float>(x), static_cast<float>(y))) &&
                   picture.At(x, y) != paper;
        };
        int left = -1;
        int right = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = static_cast<int>(cell.X) + 1; x < static_cast<int>(cell.X + cell.Width) - 1; ++x)
                if (inked(x, y))
                {
                    left = left < 0 ? x : std::min(left, x);
                    right = std::max(right, x);
                }
        const std::wstring name = line.page->hierarchy.name.value_or(L"");
        const std::string named = "\"" + WideToUtf8(name) + "\" ";
        const int font = line.page->isUnread.value_or(false) ? FontUnreadPage : FontPage;
        if (left < 0)
        {
            faults.push_back(named + "shows nothing");
            continue;
        }
        if (static_cast<float>(left) < cell.X + UnitsToPixels(4))
            faults.push_back(named + "begins " + std::to_string(left - static_cast<int>(cell.X)) +
                             " pixels into its cell");
        // Ink at the box's last column is the last of the dots of an ellipsis, or a letter cut short.
        const std::pair<int, int> dot = FullStopRows(font);
        bool cut = false;
        if (right >= static_cast<int>(std::floor(boxRight)) - 1)
            for (int y = top; y < bottom; ++y)
                cut = cut || (inked(right, y) && (y < top + dot.first - 1 || y > top + dot.second + 1));
        if (cut)
            faults.push_back(named + "is cut at its box's edge");
    }
    return faults;
}

TEST_F(LumdayCalendar, ViewsOfTheDemoStoreInBothThemesAndLanguages)
{
    struct Case
    {
        int view;
        bool dark;
        const wchar_t* language;
        const wchar_t* picture;
    };
    const Case cases[] = {
        {0, false, L"en", L"Calendar-Month-Light"}, {0, true, L"en", L"Calendar-Month-Dark"},
        {1, false, L"en", L"Calendar-Week-Light"},  {1, true, L"en", L"Calendar-Week-Dark"},
        {2, false, L"en", L"Calendar-Day-Light"},   {2, true, L"en", L"Calendar-Day-Dark"},
        {0, false, L"de", L"Calendar-Month-German"}, {0, false, L"zh-CN", L"Calendar-Month-Chinese"},
        {2, false, L"zh-CN", L"Calendar-Day-Chinese"}, {0, false, L"ru", L"Calendar-Month-Russian"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::filesystem::path(c.picture).string()));
        const Harness::Profile profile(c.picture);
        const Harness::ShellFolderRedirect redirect(profile);
        WriteSettings(profile, std::wstring(L"<Lumday><Settings language=\"") + c.language + L"\" viewType=\"" +
                                   std::to_wstring(c.view) + L"\" darkMode=\"" + (c.dark ? L"true" : L"false") +
                                   L"\"/><Window x=\"20\" y=\"20\" width=\"900\" height=\"650\"/></Lumday>");
        auto lumday = StartWithStandIn(profile, "store demo\n");
        const HWND window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(DateTime(), c.view, c.language)));
        if (std::wstring(c.language) == L"zh-CN")
        {
            // Year first, the month numbered: 2026年12月, 2026年12月11日.
            const tm& today = DateTime().local;
            std::wstring native = std::to_wstring(today.tm_year + 1900) + L"年" + std::to_wstring(today.tm_mon + 1) + L"月";
            if (c.view == 2)
                native += std::to_wstring(today.tm_mday) + L"日";
            EXPECT_EQ(Harness::TextOf(window), native + Suffix);
        }
        WaitForTheLoad();
        Harness::SaveWindow(window, c.picture);
        if (c.view != 2 && !c.dark && std::wstring(c.language) == L"en")
        {
            // The program's store, read and painted here as well, places and names the lines.
            SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", TestPaths::OutputFile(L".store").wstring().c_str());
            SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", TestPaths::OutputFile(L".here.log").wstring().c_str());
            EXPECT_HRESULT_SUCCEEDED(LoadHierarchy());
            SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", nullptr);
            SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", nullptr);
            const std::vector<HitArea> areas = PaintHere(Harness::ClientSize(window), c.view, DateTime());
            // The pointer rests off the window: no line is hot, no preview covers the cells.
            SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
            std::vector<std::string> faults;
            Harness::WaitUntil([&] { return (faults = LinesCutOrFlush(window, areas)).empty(); }, 3s);
            for (const std::string& fault : faults)
                ADD_FAILURE() << fault;
            const std::lock_guard guard(GetDayMapLock());
            GetDayMap().clear();
        }
        EXPECT_EQ(lumday->Close(), 0u);
    }
}

// A Russian reader writes a day of a month with the month's genitive ("9 декабря 2026"), and so
// does the title of the day view.
TEST_F(LumdayCalendar, RussianDayViewWritesTheMonthAsAfterADayNumber)
{
    static const wchar_t* const Genitive[] = {L"января", L"февраля", L"марта",    L"апреля",  L"мая",    L"июня",
                                              L"июля",   L"августа", L"сентября", L"октября", L"ноября", L"декабря"};
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"ru\" viewType=\"2\"/><Window x=\"20\" y=\"20\" "
                           L"width=\"900\" height=\"650\"/></Lumday>");
    auto lumday = StartWithStandIn(profile, "store demo\n");
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    const tm& today = DateTime().local;
    EXPECT_TRUE(TitleBecomes(window, std::to_wstring(today.tm_mday) + L" " + Genitive[today.tm_mon] + L" " +
                                         std::to_wstring(today.tm_year + 1900)));
    WaitForTheLoad();
    Harness::SaveWindow(window, L"Calendar-Day-Russian");
    EXPECT_EQ(lumday->Close(), 0u);
}

// The test prefix's time zone changes to and from summer time (Europe/Berlin), so a year of days
// holds one of 23 hours and one of 25.
TEST_F(LumdayCalendar, ArrowsReachEveryDayWeekAndMonthOfAYearInOrderAcrossSummerTime)
{
    struct Case
    {
        int view;
        int steps;
        int sign;
    };
    for (const Case c : {Case{2, 366, 1}, Case{2, 366, -1}, Case{1, 53, 1}, Case{0, 12, 1}})
    {
        SCOPED_TRACE(c.view * c.sign);
        const Harness::Profile profile(L"view" + std::to_wstring(c.view) + (c.sign < 0 ? L"back" : L""));
        const Harness::ShellFolderRedirect redirect(profile);
        WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"" + std::to_wstring(c.view) +
                                   L"\"/><Window x=\"20\" y=\"20\" width=\"800\" height=\"600\"/></Lumday>");
        auto lumday = StartWithStandIn(profile, "store demo\n");
        const HWND window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        DateTime expected = DateTime().LocalNoon();
        ASSERT_TRUE(TitleBecomes(window, PeriodTitle(expected, c.view)));
        POINT arrow = NextArrow();
        if (c.sign < 0)
            arrow.x = static_cast<LONG>(UnitsToPixels(6));
        std::set<long long> dayLengths;
        auto step = [&] {
            const DateTime next = StepPeriod(expected, c.view, c.sign);
            EXPECT_EQ(c.sign > 0 ? next.LocalNoon() > expected.LocalNoon()
                                 : next.LocalNoon() < expected.LocalNoon(),
                      true);
            if (c.view == 2)
                dayLengths.insert(std::llabs(next.LocalNoon().time - expected.LocalNoon().time));
            expected = next;
        };
        // The calendar draws its arrows once the load has filed a page, or has ended.
        ASSERT_TRUE(LumdayTest::DrawnAround(window, arrow, 3, 30s)) << "no arrows";
        // The arrows stay where they are: each click may follow the last title at once.
        for (int i = 0; i < c.steps; ++i)
        {
            step();
            Harness::Click(window, arrow.x, arrow.y);
            const std::wstring title = PeriodTitle(expected, c.view) + Suffix;
            ASSERT_TRUE(Harness::WaitUntil([&] { return Harness::TextOf(window) == title; }, 10s, 2ms))
                << "step " << i << ": " << testing::PrintToString(std::filesystem::path(Harness::TextOf(window)).string());
        }
        if (c.view == 2)
        {
            EXPECT_TRUE(dayLengths.contains(23 * 3600));
            EXPECT_TRUE(dayLengths.contains(25 * 3600));
        }
        EXPECT_EQ(lumday->Close(), 0u);
    }
}

// The calendar of this process, painted as the program paints its window of that client size: the
// hit areas it lays down (a test's own pages filed here give the page lines' places).
std::vector<HitArea> PaintHere(const SIZE& client, int view, const DateTime& date)
{
    LoadLanguageStrings(L"en");
    FillDateNameTables();
    SetColorScheme(false);
    CalendarSettings& settings = GetCalendarSettings();
    settings.viewType = view;
    settings.showPagesOnCreatedDate = settings.showPagesOnLMT = settings.allNotebooks = true;
    CalendarState& state = GetCalendarState();
    state.currentDate = date;
    state.loading = false;
    GetCalendarViewState() = CalendarViewState();
    SetHotArea(HitArea());
    Gdiplus::Bitmap bitmap(client.cx, client.cy, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&bitmap);
    PaintCalendar(graphics, client.cx, client.cy);
    return GetHitAreas();
}

// Where the program draws the lines of three pages of today of that title in its day view: today's
// pages of this process's calendar are three of the test's own, painted here.
std::vector<Gdiplus::RectF> LinesOfThreePagesToday(HWND window, const wchar_t* title)
{
    {
        const std::lock_guard guard(GetDayMapLock());
        GetDayMap().clear();
    }
    for (int i = 1; i <= 3; ++i)
    {
        auto here = std::make_shared<ON::Page>();
        here->hierarchy.ID = L"{" + std::to_wstring(i) + L"}";
        here->hierarchy.name = title;
        here->dateTime = DateTime().ToUtcSystemTime();
        FilePageEntries(GetDayMap(), GetDayMapLock(), CalendarEntry{here, L"First > S", 0, false});
    }
    std::vector<Gdiplus::RectF> lines;
    for (const HitArea& area : PaintHere(Harness::ClientSize(window), 2, DateTime()))
        if (area.kind == HitPage)
            lines.push_back(area.rect);
    return lines;
}

// How many of the line places, from the first, show text in the window now.
int InkedLines(HWND window, const std::vector<Gdiplus::RectF>& lines)
{
    const LumdayTest::ClientPicture picture(window);
    const COLORREF background = LumdayTest::ColorRef(ColorBackground);
    int inked = 0;
    for (const Gdiplus::RectF& line : lines)
    {
        int ink = 0;
        for (int y = static_cast<int>(line.Y); y < static_cast<int>(line.Y + line.Height); ++y)
            for (int x = static_cast<int>(line.X); x < static_cast<int>(line.X + line.Width); ++x)
                ink += picture.At(x, y) != background;
        if (ink < 5)
            break;
        ++inked;
    }
    return inked;
}

// How many of the line places show text once the window has painted expected of them; the last
// count read when it does not within the time.
int LinesShown(HWND window, const std::vector<Gdiplus::RectF>& lines, int expected)
{
    int inked = -1;
    Harness::WaitUntil([&] { return (inked = InkedLines(window, lines)) == expected; }, 10s);
    return inked;
}

// 29 March 2026 is the day summer time begins in both zones the tests run in: at 02:00 in Berlin
// and at midnight in the Azores, where that day has no 00:00. The days around it hold one page (the
// 28th), two (the 29th) and three (the 30th), so that the lines a day shows tell which day it is.
TEST_F(LumdayCalendar, TheDaySummerTimeBeginsOpensByItsNumberAndByTheArrowKeysWithItsPages)
{
    std::wstring pages;
    for (const int day : {28, 29, 30})
        for (int i = 1; i <= day - 27; ++i)
        {
            const std::wstring time = FormatDateTime(DateTime(2026, 3, day, 10).AddSeconds(60 * i), false);
            pages += L"<one:Page ID=\"{77777777-0000-0000-0000-000000000" + std::to_wstring(day) +
                     std::to_wstring(i) + L"}{1}{E1}\" name=\"Spring page " + std::to_wstring(i) + L"\" dateTime=\"" +
                     time + L"\" lastModifiedTime=\"" + time + L"\"/>";
        }
    const std::filesystem::path store = LumdayTest::WriteStoreFile(
        L"spring", L"<one:Notebook ID=\"{44444444-0000-0000-0000-000000000329}{1}{B0}\" name=\"Spring\" "
                   L"path=\"C:\\Notebooks\\Spring\"><one:Section ID=\"{55555555-0000-0000-0000-000000000329}{1}{B0}\" "
                   L"name=\"Days\" path=\"C:\\Notebooks\\Spring\\Days.one\">" +
                       pages + L"</one:Section></one:Notebook>");
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"0\"/><Window x=\"20\" y=\"20\" "
                           L"width=\"800\" height=\"600\"/></Lumday>");
    auto lumday = StartWithStandIn(profile, ("store " + store.string() + "\n").c_str());
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, PeriodTitle(DateTime(), 0)));
    WaitForTheLoad();

    // To March 2026 a month at a time.
    DateTime shown;
    for (int months = (shown.local.tm_year + 1900 - 2026) * 12 + shown.local.tm_mon - 2; months != 0;
         months += months > 0 ? -1 : 1)
    {
        shown = StepPeriod(shown, 0, months > 0 ? -1 : 1);
        PressWithControl(window, months > 0 ? VK_LEFT : VK_RIGHT);
        ASSERT_TRUE(TitleBecomes(window, PeriodTitle(shown, 0)));
    }

    // Where the program draws the 29th's number, and the lines of a day with three pages.
    const SIZE client = Harness::ClientSize(window);
    HitArea number;
    for (const HitArea& area : PaintHere(client, 0, DateTime(2026, 3, 15, 12)))
        if (area.kind == HitDayNumber && area.item == 3 && area.subItem == 29)
            number = area;
    ASSERT_EQ(number.kind, HitDayNumber);
    std::vector<Gdiplus::RectF> lines;
    {
        const std::lock_guard guard(GetDayMapLock());
        GetDayMap().clear();
    }
    for (int i = 1; i <= 3; ++i)
    {
        auto page = std::make_shared<ON::Page>();
        page->hierarchy.ID = L"{" + std::to_wstring(i) + L"}";
        page->hierarchy.name = L"Spring page " + std::to_wstring(i);
        page->dateTime = DateTime(2026, 3, 30, 10).AddSeconds(60 * i).ToUtcSystemTime();
        FilePageEntries(GetDayMap(), GetDayMapLock(), CalendarEntry{page, L"Spring > Days", 0, false});
    }
    for (const HitArea& area : PaintHere(client, 2, DateTime(2026, 3, 30, 12)))
        if (area.kind == HitPage)
            lines.push_back(area.rect);
    ASSERT_EQ(lines.size(), 3u);

    Harness::Click(window, static_cast<int>(number.rect.X + number.rect.Width / 2),
                   static_cast<int>(number.rect.Y + number.rect.Height / 2));
    ASSERT_TRUE(TitleBecomes(window, PeriodTitle(DateTime(2026, 3, 29, 12), 2)));
    EXPECT_EQ(LinesShown(window, lines, 2), 2) << "the 29th's pages";
    PressWithControl(window, VK_RIGHT);
    ASSERT_TRUE(TitleBecomes(window, PeriodTitle(DateTime(2026, 3, 30, 12), 2)));
    EXPECT_EQ(LinesShown(window, lines, 3), 3) << "the 30th's pages";
    PressWithControl(window, VK_LEFT);
    ASSERT_TRUE(TitleBecomes(window, PeriodTitle(DateTime(2026, 3, 29, 12), 2)));
    EXPECT_EQ(LinesShown(window, lines, 2), 2) << "the 29th's pages";
    Harness::SaveWindow(window, L"summer-time-day");
    EXPECT_EQ(lumday->Close(), 0u);
}

// The text of a message box of another process.
// A page of the first of two notebooks that OneNote will not give, and OneNote busy at first: the
// load waits, leaves that page out, shows every other one and says once that one could not be read,
// and the log names it. A refresh while OneNote is busy keeps the calendar until the new load ends.
TEST_F(LumdayCalendar, APageOneNoteWillNotGiveIsLeftOutAndARefreshWhileOneNoteIsBusyKeepsTheCalendar)
{
    const std::wstring now = FormatDateTime(DateTime(), false);
    const auto page = [&](const wchar_t* id, const wchar_t* name) {
        return std::wstring(L"<one:Page ID=\"") + id + L"\" name=\"" + name + L"\" dateTime=\"" + now +
               L"\" lastModifiedTime=\"" + now + L"\"/>";
    };
    const wchar_t* const refused = L"{66666666-0000-0000-0000-000000000002}{1}{E1}";
    const std::filesystem::path store = LumdayTest::WriteStoreFile(
        L"refused",
        L"<one:Notebook ID=\"{44444444-0000-0000-0000-000000000001}{1}{B0}\" name=\"First\" path=\"C:\\N\\First\">"
        L"<one:Section ID=\"{55555555-0000-0000-0000-000000000001}{1}{B0}\" name=\"S\" path=\"C:\\N\\First\\S.one\">" +
            page(L"{66666666-0000-0000-0000-000000000001}{1}{E1}", L"Kept page") + page(refused, L"Refused page") +
            L"</one:Section></one:Notebook><one:Notebook ID=\"{44444444-0000-0000-0000-000000000002}{1}{B0}\" "
            L"name=\"Second\" path=\"C:\\N\\Second\"><one:Section ID=\"{55555555-0000-0000-0000-000000000002}{1}{B0}\" "
            L"name=\"T\" path=\"C:\\N\\Second\\T.one\">" +
            page(L"{66666666-0000-0000-0000-000000000003}{1}{E1}", L"Other page") + L"</one:Section></one:Notebook>");
    const std::string seed = "store " + store.string() + "\nfailid " + WideToUtf8(refused) + " 0x80042005\n";
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"2\"/><Window x=\"20\" y=\"20\" "
                           L"width=\"800\" height=\"600\"/></Lumday>");
    auto program = StartWithStandIn(profile, (seed + "busy GetHierarchy 3\n").c_str());
    Harness::Program& lumday = *program;
    const HWND window = MainWindowOf(lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, PeriodTitle(DateTime(), 2)));

    // Where the lines of today's three pages lie in the day view.
    const std::vector<Gdiplus::RectF> lines = LinesOfThreePagesToday(window, L"Refused page");
    ASSERT_EQ(lines.size(), 3u);

    // Told once, when the load has ended: a second box of the load would show before the load ends,
    // which the next load's start (F5 starts none while one runs) or the end of the test tells.
    const auto toldOnce = [&] {
        const std::vector<HWND> boxes = ShownMessageBoxes(lumday, 30s);
        EXPECT_EQ(boxes.size(), 1u);
        if (boxes.size() != 1)
            return;
        EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), window);
        const std::wstring text = MessageTextOf(boxes[0]);
        EXPECT_EQ(text.rfind(L"Failed to load pages (1):\r\nFirst > S > Refused page - ", 0), 0u)
            << testing::PrintToString(WideToUtf8(text));
        PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(Harness::WaitUntil([&] { return MessageBoxesOf(lumday).empty(); }, 10s));
    };
    toldOnce();
    EXPECT_EQ(LinesShown(window, lines, 2), 2) << "the pages of both notebooks but the refused one";
    const std::wstring log = Harness::ReadLogFile(profile.Temp() / L"Lumday.log");
    EXPECT_NE(log.find(L"First > S > Refused page"), std::wstring::npos) << WideToUtf8(log);
    EXPECT_NE(log.find(refused), std::wstring::npos);

    // OneNote busy again when F5 asks for the pages: the calendar stays as it is while the load waits.
    std::ofstream(TestPaths::OutputFile(L".scenario.txt"), std::ios::binary | std::ios::trunc)
        << seed << "busy GetHierarchy 2\n";
    const size_t asked = HierarchyCalls(CallLog());
    PostMessageW(window, WM_KEYDOWN, VK_F5, 0);
    ASSERT_TRUE(Harness::WaitUntil([&] { return HierarchyCalls(CallLog()) > asked; }, 10s)) << "F5 started no load";
    // From OneNote's first busy answer to the call it answers (the load asks again after half a
    // second, then after two and a half), the calendar shows what it showed, and no box.
    std::vector<int> whileBusy;
    bool boxWhileBusy = false;
    EXPECT_TRUE(Harness::WaitUntil(
        [&] {
            const bool box = !MessageBoxesOf(lumday).empty();
            // Read after the boxes: the refresh tells of the refused page only after its answer.
            if (HierarchyCalls(CallLog()) >= asked + 3)
                return true;
            boxWhileBusy = boxWhileBusy || box;
            whileBusy.push_back(InkedLines(window, lines));
            return false;
        },
        20s))
        << "OneNote's busy spell never ended";
    EXPECT_FALSE(whileBusy.empty());
    EXPECT_TRUE(std::all_of(whileBusy.begin(), whileBusy.end(), [](int shown) { return shown == 2; }))
        << "lines shown while OneNote is busy: " << testing::PrintToString(whileBusy);
    EXPECT_FALSE(boxWhileBusy) << "the first load told twice";
    Harness::SaveWindow(window, L"refresh-while-busy");
    toldOnce();
    EXPECT_EQ(LinesShown(window, lines, 2), 2) << "after the refresh";
    EXPECT_TRUE(MessageBoxesOf(lumday).empty()) << "the refresh told twice";
    EXPECT_EQ(lumday.Close(), 0u);
}
// OneNote showing a modal dialog when F5 asks for the pages concerns the whole load, not the
// section it was asked for: the refresh ends, says why once, and the calendar keeps every page.
TEST_F(LumdayCalendar, ARefreshThatMeetsAModalDialogInOneNoteSaysWhyOnceAndKeepsTheCalendar)
{
    const std::wstring now = FormatDateTime(DateTime(), false);
    std::wstring pages;
    for (int i = 1; i <= 3; ++i)
        pages += L"<one:Page ID=\"{66666666-0000-0000-0000-00000000010" + std::to_wstring(i) +
                 L"}{1}{E1}\" name=\"Kept page\" dateTime=\"" + now + L"\" lastModifiedTime=\"" + now + L"\"/>";
    const std::filesystem::path store = LumdayTest::WriteStoreFile(
        L"modal", L"<one:Notebook ID=\"{44444444-0000-0000-0000-000000000101}{1}{B0}\" name=\"First\" "
                  L"path=\"C:\\N\\First\"><one:Section ID=\"{55555555-0000-0000-0000-000000000101}{1}{B0}\" "
                  L"name=\"S\" path=\"C:\\N\\First\\S.one\">" +
                      pages + L"</one:Section></one:Notebook>");
    const std::string seed = "store " + store.string() + "\n";
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"2\"/><Window x=\"20\" y=\"20\" "
                           L"width=\"800\" height=\"600\"/></Lumday>");
    auto program = StartWithStandIn(profile, seed.c_str());
    Harness::Program& lumday = *program;
    const HWND window = MainWindowOf(lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, PeriodTitle(DateTime(), 2)));
    WaitForTheLoad();

    // Where the lines of today's three pages lie in the day view.
    const std::vector<Gdiplus::RectF> lines = LinesOfThreePagesToday(window, L"Kept page");
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_EQ(LinesShown(window, lines, 3), 3);

    // From the section's pages on, OneNote answers that a dialog of its own is open.
    std::ofstream(TestPaths::OutputFile(L".scenario.txt"), std::ios::binary | std::ios::trunc)
        << seed << "failfrom GetHierarchy 3 0x80042030\n";
    PostMessageW(window, WM_KEYDOWN, VK_F5, 0);
    const std::vector<HWND> boxes = ShownMessageBoxes(lumday, 30s);
    ASSERT_EQ(boxes.size(), 1u);
    const std::wstring text = MessageTextOf(boxes[0]);
    EXPECT_EQ(text.rfind(L"Failed to load pages:\r\n", 0), 0u) << testing::PrintToString(WideToUtf8(text));
    EXPECT_NE(text.find(L"OneNote has a modal dialog box open."), std::wstring::npos)
        << testing::PrintToString(WideToUtf8(text));
    PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Harness::WaitUntil([&] { return MessageBoxesOf(lumday).empty(); }, 10s));
    // The refresh leaves the calendar as it was before it tells why it ended; a second box would
    // follow the first at once, on the same thread.
    EXPECT_EQ(LinesShown(window, lines, 3), 3) << "after the refresh";
    EXPECT_TRUE(MessageBoxesOf(lumday).empty()) << "told twice";
    Harness::SaveWindow(window, L"refresh-with-modal-dialog");
    EXPECT_EQ(lumday.Close(), 0u);
}
} // namespace

namespace
{
// The pointer, the keys and the search box of the calendar, on one start of the program over a
// week of pages: many on the week's first and last days, so that those cells run over, and two
// that a search for "zebra" finds.
class LumdayPointer : public LumdayCalendar
{
protected:
    static constexpr int PagesOnEdgeDays = 40;

    // The page titles of a day of the week (0 the first) in the order the calendar lists them.
    static std::wstring Title(int weekday, int number)
    {
        static const wchar_t* const Days[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
        return std::wstring(Days[weekday]) + L" page " + (number < 10 ? L"0" : L"") + std::to_wstring(number) +
               (number == 3 ? L" zebra" : L"");
    }

    // A store file of one notebook whose pages lie in the week that starts on weekStart.
    static std::filesystem::path WriteWeekStore(const DateTime& weekStart)
    {
        std::wstring xml = std::wstring(L"<?xml version=\"1.0\"?>\n<one:Notebooks xmlns:one=\"") +
                           StandIn::Namespace2013 + L"\">\n<one:Notebook name=\"Week\" nickname=\"Week\" ID=\"" +
                           StandIn::NewHierarchyId() +
                           L"\" path=\"C:\\Notebooks\\Week\" color=\"#8AA8E4\"><one:Section name=\"Days\" ID=\"" +
                           StandIn::NewHierarchyId() + L"\" path=\"C:\\Notebooks\\Week\\Days.one\" color=\"#91BAAE\">\n";
        for (int weekday = 0; weekday < 7; ++weekday)
        {
            const int pages = weekday == 0 || weekday == 6 ? PagesOnEdgeDays : 1;
            for (int number = 1; number <= pages; ++number)
            {
                const tm& start = weekStart.local;
                const DateTime when = DateTime(start.tm_year + 1900, start.tm_mon + 1, start.tm_mday + weekday, 8)
                                          .AddSeconds(60LL * number);
                const std::wstring time = FormatDateTime(when, false);
                const std::wstring title = Title(weekday, number);
                xml += L"<one:Page ID=\"" + StandIn::NewPageId() + L"\" name=\"" + title + L"\" dateTime=\"" + time +
                       L"\" lastModifiedTime=\"" + time + L"\" pageLevel=\"1\"><one:Title><one:OE objectID=\"" +
                       StandIn::NewObjectId() + L"\"><one:T><![CDATA[" + title +
                       L"]]></one:T></one:OE></one:Title><one:Outline objectID=\"" + StandIn::NewObjectId() +
                       L"\"><one:OEChildren><one:OE objectID=\"" + StandIn::NewObjectId() +
                       L"\"><one:T><![CDATA[Notes of " + title + L"]]></one:T></one:OE></one:OEChildren></one:Outline></one:Page>\n";
            }
        }
        xml += L"</one:Section></one:Notebook>\n</one:Notebooks>\n";
        const std::filesystem::path file = TestPaths::OutputFile(L".week.xml");
        const std::string bytes = WideToUtf8(xml);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        return file;
    }

    // The calendar's hit areas for a client size, from the same store painted in this process.
    static std::vector<HitArea> PaintedAreas(int width, int height)
    {
        Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(&bitmap);
        PaintCalendar(graphics, width, height);
        return GetHitAreas();
    }

    // The page lines of a column, top to bottom.
    static std::vector<HitArea> LinesOf(const std::vector<HitArea>& areas, int column)
    {
        std::vector<HitArea> lines;
        for (const HitArea& area : areas)
            if (area.kind == HitPage && area.item == column)
                lines.push_back(area);
        std::sort(lines.begin(), lines.end(), [](const HitArea& a, const HitArea& b) { return a.rect.Y < b.rect.Y; });
        return lines;
    }

    static const HitArea* Find(const std::vector<HitArea>& areas, HitAreaKind kind, int item)
    {
        for (const HitArea& area : areas)
            if (area.kind == kind && area.item == item)
                return &area;
        return nullptr;
    }

    static POINT Inside(const HitArea& area)
    {
        return {static_cast<LONG>(area.rect.X + std::min(6.0f, area.rect.Width / 2)),
                static_cast<LONG>(area.rect.Y + area.rect.Height / 2)};
    }

    static HWND VisibleTooltip(const Harness::Program& program)
    {
        for (const HWND window : program.TopLevelWindows())
            if (Harness::ClassOf(window) == L"tooltips_class32" && IsWindowVisible(window))
                return window;
        return nullptr;
    }

    // The text of the window's one tool, asked of the tooltip in the program's own memory (the
    // tooltip answers WM_GETTEXT with nothing).
    std::wstring TooltipText(HWND tooltip, HWND window) const
    {
        const Owners::KernelHandle process(
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, lumday_->ProcessId()));
        if (!process)
            return L"";
        constexpr size_t Characters = 512;
        auto* remote = static_cast<BYTE*>(VirtualAllocEx(process.get(), nullptr, sizeof(TOOLINFOW) + Characters * 2,
                                                         MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!remote)
            return L"";
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = window;
        tool.uId = 0;
        tool.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof tool);
        std::wstring text(Characters, L'\0');
        WriteProcessMemory(process.get(), remote, &tool, sizeof tool, nullptr);
        WriteProcessMemory(process.get(), remote + sizeof tool, text.data(), Characters * 2, nullptr);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(tooltip, TTM_GETTEXTW, Characters, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000,
                            &ignored);
        ReadProcessMemory(process.get(), remote + sizeof tool, text.data(), (Characters - 1) * 2, nullptr);
        VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
        text.resize(wcslen(text.c_str()));
        return text;
    }

    // Rests the real pointer on a client point of the window, as a person's hand would.
    static void RestPointer(HWND window, POINT client)
    {
        POINT screen = client;
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        Harness::MoveMouse(window, client.x, client.y);
    }

    // Moves the pointer to an empty spot of the title, where nothing shows a tooltip or a preview.
    void LeavePointer(HWND window)
    {
        RestPointer(window, {static_cast<LONG>(Harness::ClientSize(window).cx / 2), 4});
        Harness::WaitUntil([&] { return VisibleTooltip(*lumday_) == nullptr; }, 3s);
        Sleep(200);
    }

    // The tooltip's text once it shows over a client point, or empty.
    std::wstring TooltipAt(HWND window, POINT client)
    {
        LeavePointer(window);
        RestPointer(window, client);
        std::wstring text;
        Harness::WaitUntil(
            [&] {
                const HWND tip = VisibleTooltip(*lumday_);
                text = tip ? TooltipText(tip, window) : L"";
                return !text.empty();
            },
            5s);
        return text;
    }

    // The title of the page whose preview the pointer calls up at a client point (the stand-in
    // publishes the page for it), or empty when none comes.
    std::wstring PageAt(HWND window, POINT client)
    {
        LeavePointer(window);
        const size_t before = CountCalls(L"Publish");
        RestPointer(window, client);
        if (!Harness::WaitUntil([&] { return CountCalls(L"Publish") > before; }, 3s))
            return L"";
        std::wstring id;
        for (const auto& call : Calls())
            if (call.method == L"Publish" && !call.arguments.empty())
                id = call.arguments[0];
        const auto found = titles_.find(id);
        return found == titles_.end() ? L"?" + id : found->second;
    }

    // The titles of the pages loaded here, by ID.
    void RememberTitles()
    {
        const std::lock_guard guard(GetDayMapLock());
        for (const auto& [day, entries] : GetDayMap())
            for (const auto& [time, entry] : entries)
                titles_[entry.page->hierarchy.ID.value_or(L"")] = entry.page->hierarchy.name.value_or(L"");
    }

    std::vector<StandIn::CallRecord> Calls() const
    {
        return StandIn::ReadCallLog(TestPaths::OutputFile(L".calls.log").wstring());
    }

    size_t CountCalls(const std::wstring& method, const std::wstring& firstArgument = L"") const
    {
        size_t count = 0;
        for (const auto& call : Calls())
            if (call.method == method && (firstArgument.empty() || (!call.arguments.empty() && call.arguments[0] == firstArgument)))
                ++count;
        return count;
    }

    // A key pressed with Ctrl held, through the input queue (the program asks for Ctrl's state).

    // Starts Lumday on the week of today in a store with many pages on the week's first and last
    // days, and loads and paints the same store here once the program's load is over, so that a test
    // knows where the program draws each line.
    void StartOnAFullWeek(const Harness::Profile& profile, const DateTime& today, HWND& window)
    {
        const tm& day = today.local;
        const DateTime weekStart = DateTime::LocalDay(day.tm_year + 1900, day.tm_mon + 1, day.tm_mday - day.tm_wday);
        const std::filesystem::path storeFile = WriteWeekStore(weekStart);
        WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"1\"/><Window x=\"0\" y=\"0\" "
                               L"width=\"960\" height=\"640\"/></Lumday>");
        lumday_ = StartWithStandIn(profile, ("store " + storeFile.string() + "\n").c_str());
        window = MainWindowOf(*lumday_);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(TitleBecomes(window, PeriodTitle(today, 1)));
        // The program seeds the store at its first call: it is read here once the program's load is over.
        WaitForTheLoad();

        SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", (TestPaths::OutputFile(L".store")).wstring().c_str());
        SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", TestPaths::OutputFile(L".here.log").wstring().c_str());
        SetEnvironmentVariableW(L"QUILLORA_ONENOTE_SCENARIO", nullptr);
        ASSERT_TRUE(Harness::WaitUntil([&] { return CountCalls(L"GetHierarchy") > 0; }, 20s));
        ASSERT_HRESULT_SUCCEEDED(LoadHierarchy());
        RememberTitles();
        LoadLanguageStrings(L"en");
        FillDateNameTables();
        CalendarSettings& settings = GetCalendarSettings();
        settings.viewType = 1;
        settings.showPagesOnCreatedDate = settings.showPagesOnLMT = settings.allNotebooks = settings.showPreviews = true;
        GetCalendarState().currentDate = today;
        SetColorScheme(false);
    }

    static void Wheel(HWND window, POINT client, int notches)
    {
        POINT screen = client;
        ClientToScreen(window, &screen);
        PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    }

    std::unique_ptr<Harness::Program> lumday_;
    std::map<std::wstring, std::wstring> titles_;
};

TEST_F(LumdayPointer, HoverPreviewClickScrollKeysAndSearchOnTheRealWindow)
{
    const DateTime today = DateTime().LocalNoon();
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartOnAFullWeek(profile, today, window));
    const SIZE client = Harness::ClientSize(window);
    const std::vector<HitArea> areas = PaintedAreas(client.cx, client.cy);
    const std::vector<HitArea> first = LinesOf(areas, 0);
    const std::vector<HitArea> last = LinesOf(areas, 6);
    ASSERT_GT(first.size(), 5u);
    ASSERT_LT(first.size(), static_cast<size_t>(PagesOnEdgeDays));
    ASSERT_EQ(last.size(), first.size());
    Harness::SaveWindow(window, L"week");
    // The bottom bar's search box and buttons, which no popup covers.
    const int barTop = client.cy - static_cast<int>(BottomBarHeight());
    const auto bottomBar = [&] {
        const LumdayTest::ClientPicture picture(window);
        std::vector<COLORREF> pixels;
        for (int y = barTop; y < client.cy; ++y)
            for (int x = 0; x < client.cx; ++x)
                pixels.push_back(picture.At(x, y));
        return pixels;
    };
    const std::vector<COLORREF> barAlone = bottomBar();

    // Hovering a line shows its location and title, and the page's picture beside the pointer,
    // kept inside the window at each of its edges.
    {
        Gdiplus::Bitmap sheet(100, 100, PixelFormat32bppARGB);
        const auto picture = RenderImageToBitmap(sheet, Gdiplus::RectF(0, 0, 100, 100), 408.24f, 527.28f);
        ASSERT_TRUE(picture);
        const float popupWidth = static_cast<float>(picture->GetWidth()) + UnitsToPixels(5);
        const float popupHeight = static_cast<float>(picture->GetHeight()) + UnitsToPixels(13);
        struct Edge
        {
            const HitArea* line;
            const wchar_t* name;
        };
        const Edge edges[] = {{&first.front(), L"TopLeft"}, {&first.back(), L"BottomLeft"},
                              {&last.front(), L"TopRight"}, {&last.back(), L"BottomRight"}};
        for (const Edge& edge : edges)
        {
            SCOPED_TRACE(testing::PrintToString(std::filesystem::path(edge.name).string()));
            const POINT point = Inside(*edge.line);
            EXPECT_EQ(PageAt(window, point), edge.line->page->hierarchy.name.value_or(L""));
            // The popup's room is the client area above the bottom bar.
            const Gdiplus::RectF popup = PlacePreviewPopup(static_cast<float>(point.x), static_cast<float>(point.y),
                                                           popupWidth, popupHeight, static_cast<float>(client.cx),
                                                           static_cast<float>(client.cy) - BottomBarHeight());
            EXPECT_GE(popup.X, 0);
            EXPECT_GE(popup.Y, 0);
            EXPECT_LE(popup.X + popup.Width, static_cast<float>(client.cx));
            EXPECT_LE(popup.Y + popup.Height, static_cast<float>(client.cy));
            // The pointer's line stays in sight beside the picture.
            EXPECT_FALSE(popup.Contains(static_cast<float>(point.x), static_cast<float>(point.y)));
            Harness::SaveWindow(window, std::wstring(L"preview-") + edge.name);
            const Screenshot::Capture capture = Screenshot::CaptureWindow(window);
            RECT frame{};
            GetWindowRect(window, &frame);
            POINT origin{0, 0};
            ClientToScreen(window, &origin);
            const int dx = origin.x - frame.left;
            const int dy = origin.y - frame.top;
            // The picture's paper is white in the middle of the popup; its frame is the dimmed colour.
            const COLORREF paper = capture.At(dx + static_cast<int>(popup.X + popup.Width / 2),
                                              dy + static_cast<int>(popup.Y + popup.Height * 3 / 4));
            EXPECT_GT(GetRValue(paper) + GetGValue(paper) + GetBValue(paper), 3 * 230) << std::hex << paper;
            const COLORREF border = capture.At(dx + static_cast<int>(popup.X) + 1,
                                               dy + static_cast<int>(popup.Y + popup.Height / 2));
            const Gdiplus::Color dimmed(GetColor(ColorDimmed));
            EXPECT_NEAR(GetRValue(border), dimmed.GetR(), 40) << std::hex << border;
            EXPECT_TRUE(Harness::WaitUntil([&] { return bottomBar() == barAlone; }, 2s))
                << "the popup covers the bottom bar";
        }
        LeavePointer(window);
    }

    // The arrows and buttons at the window's edges name what they do in a tooltip.
    for (const int kind : {HitPrevious, HitToday, HitRefresh})
    {
        SCOPED_TRACE(kind);
        const auto found = std::find_if(areas.begin(), areas.end(), [&](const HitArea& area) { return area.kind == kind; });
        ASSERT_NE(found, areas.end());
        ASSERT_FALSE(found->tooltip.empty());
        EXPECT_EQ(TooltipAt(window, Inside(*found)), found->tooltip);
    }
    LeavePointer(window);

    // A click opens the page in OneNote's window, which comes up showing it.
    {
        const HitArea& line = last.front();
        const std::wstring id = line.page->hierarchy.ID.value_or(L"");
        const POINT point = Inside(line);
        Harness::Click(window, point.x, point.y);
        EXPECT_TRUE(Harness::WaitUntil([&] { return CountCalls(L"Window.NavigateTo", id) == 1; }, 5s));
        HWND oneNote = nullptr;
        const std::wstring caption = Title(6, 1) + L" - OneNote (stand-in)";
        EXPECT_TRUE(Harness::WaitUntil(
            [&] {
                oneNote = FindWindowW(L"QuilloraOneNoteStandInWindow", nullptr);
                return oneNote && IsWindowVisible(oneNote) && Harness::TextOf(oneNote) == caption;
            },
            5s));
        if (oneNote)
        {
            Harness::SaveWindow(oneNote, L"opened");
            PostMessageW(oneNote, WM_CLOSE, 0, 0);
            Harness::WaitUntil([&] { return !IsWindowVisible(oneNote); }, 3s);
        }
        // No message box: the opening did not fail.
        for (const HWND shown : lumday_->TopLevelWindows())
            EXPECT_NE(Harness::ClassOf(shown), L"#32770");
    }

    // The arrow under a full cell scrolls it by a step; the wheel scrolls a cell line by line.
    {
        const HitArea* down = Find(areas, HitScrollDown, 6);
        ASSERT_NE(down, nullptr);
        const int step = ScrollStep(GetCalendarViewState().linesPerCell);
        Harness::Click(window, static_cast<int>(down->rect.X + down->rect.Width / 2),
                       static_cast<int>(down->rect.Y + down->rect.Height / 2));
        const unsigned offset = ClampScrollOffset(static_cast<unsigned>(step), PagesOnEdgeDays,
                                                  GetCalendarViewState().linesPerCell);
        EXPECT_GT(offset, 0u);
        EXPECT_EQ(PageAt(window, Inside(last.front())), Title(6, 1 + static_cast<int>(offset)));
        Wheel(window, Inside(first.front()), -1);
        Wheel(window, Inside(first.front()), -1);
        EXPECT_EQ(PageAt(window, Inside(first.front())), Title(0, 3));
        for (int i = 0; i < 3; ++i)
            Wheel(window, Inside(first.front()), 1);
        EXPECT_EQ(PageAt(window, Inside(first.front())), Title(0, 1));
        LeavePointer(window);
    }

    // A pointer that leaves the calendar for the search box takes the hover with it: the line it
    // left is drawn plain, and the paints of another week and of this one again find no page under
    // the point it left, highlight none and preview none.
    {
        const HWND searchBox = FindWindowExW(window, nullptr, L"Edit", nullptr);
        ASSERT_NE(searchBox, nullptr);
        const HitArea& line = first[1];
        const RECT lineRect{static_cast<LONG>(line.rect.X), static_cast<LONG>(line.rect.Y),
                            static_cast<LONG>(line.rect.X + line.rect.Width), static_cast<LONG>(line.rect.Y + line.rect.Height)};
        const auto highlighted = [&] {
            const auto colours = LumdayTest::ClientPicture(window).Colours(lineRect);
            const auto accent = colours.find(LumdayTest::ColorRef(ColorAccent));
            return accent != colours.end() && accent->second > 0;
        };
        ASSERT_EQ(PageAt(window, Inside(line)), Title(0, 2));
        ASSERT_TRUE(Harness::WaitUntil(highlighted, 5s)) << "the hovered line is drawn in the accent colour";
        RECT box{};
        GetWindowRect(searchBox, &box);
        SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
        EXPECT_TRUE(Harness::WaitUntil([&] { return !highlighted(); }, 5s)) << "the line the pointer left stays hot";
        const size_t previews = CountCalls(L"Publish");
        PressWithControl(window, VK_RIGHT);
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(StepPeriod(today, 1, 1), 1)));
        WaitForThePaint(window);
        PressWithControl(window, VK_LEFT);
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(today, 1)));
        WaitForThePaint(window);
        EXPECT_FALSE(highlighted()) << "the paint found the page under the point the pointer left";
        EXPECT_EQ(VisibleTooltip(*lumday_), nullptr);
        EXPECT_EQ(CountCalls(L"Publish"), previews) << "a page the pointer is not on was previewed";
        Harness::SaveWindow(window, L"pointer-on-the-search-box");
    }

    // Ctrl+Right and Ctrl+Left move by a week; Ctrl+3 and Ctrl+2 switch to the day and back.
    {
        PressWithControl(window, VK_RIGHT);
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(StepPeriod(today, 1, 1), 1)));
        // The last cell, scrolled above, is empty in the next week: no arrow points at lines above.
        {
            WaitForThePaint(window);
            const Gdiplus::RectF& cell = GetCalendarViewState().cells[6];
            const int x = static_cast<int>(cell.X + UnitsToPixels(2.5f));
            const int y = static_cast<int>(cell.Y + UnitsToPixels(2.5f));
            const LumdayTest::ClientPicture picture(window);
            int arrow = 0;
            for (int dy = 0; dy < static_cast<int>(UnitsToPixels(11)); ++dy)
                for (int dx = 0; dx < static_cast<int>(UnitsToPixels(11)); ++dx)
                    arrow += picture.At(x + dx, y + dy) == LumdayTest::ColorRef(ColorDimmed);
            EXPECT_EQ(arrow, 0) << "pixels of an up arrow";
            Harness::SaveWindow(window, L"next-week");
        }
        PressWithControl(window, VK_LEFT);
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(today, 1)));
        PressWithControl(window, '3');
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(today, 2)));
        PressWithControl(window, '2');
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(today, 1)));
    }

    // Ctrl+0 in another week brings today's week; once it is shown, Ctrl+0 opens today's day.
    // Which of the two it does follows the last paint, which comes after the title: each press
    // waits for it.
    {
        PressWithControl(window, VK_RIGHT);
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(StepPeriod(today, 1, 1), 1)));
        WaitForThePaint(window);
        PressWithControl(window, '0');
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(today, 1)));
        WaitForThePaint(window);
        PressWithControl(window, '0');
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(today, 2)));
        PressWithControl(window, '2');
        EXPECT_TRUE(TitleBecomes(window, PeriodTitle(today, 1)));
    }

    // Text in the search box narrows the calendar to the pages OneNote finds.
    {
        const HWND searchBox = FindWindowExW(window, nullptr, L"Edit", nullptr);
        ASSERT_NE(searchBox, nullptr);
        SendMessageW(searchBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"zebra"));
        EXPECT_TRUE(Harness::WaitUntil([&] { return CountCalls(L"FindPages") > 0; }, 5s));
        EXPECT_TRUE(Harness::WaitUntil([&] { return PageAt(window, Inside(first.front())) == Title(0, 3); }, 10s));
        EXPECT_EQ(PageAt(window, Inside(last.front())), Title(6, 3));
        // Where the second lines were, nothing is left.
        EXPECT_EQ(PageAt(window, Inside(first[1])), L"");
        Harness::SaveWindow(window, L"search");
        SendMessageW(searchBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        EXPECT_TRUE(Harness::WaitUntil([&] { return PageAt(window, Inside(first[1])) == Title(0, 2); }, 10s));
    }
    EXPECT_EQ(lumday_->Close(), 0u);
}

// A wheel notch scrolls the lines of the cell under the pointer; a click that follows with the
// mouse kept still opens the page drawn there now, not the one drawn there before the notch.
TEST_F(LumdayPointer, AClickAfterAWheelNotchOpensThePageNowDrawnUnderThePointer)
{
    const DateTime today = DateTime().LocalNoon();
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartOnAFullWeek(profile, today, window));
    const SIZE client = Harness::ClientSize(window);
    const std::vector<HitArea> first = LinesOf(PaintedAreas(client.cx, client.cy), 0);
    ASSERT_GT(first.size(), 3u);

    // The pointer rests on the first day's second line, whose page it previews.
    const POINT point = Inside(first[1]);
    ASSERT_TRUE(Harness::WaitUntil([&] { return PageAt(window, point) == Title(0, 2); }, 20s));
    // One notch towards the user moves the lines up by one: the third page comes under the pointer.
    Wheel(window, point, -1);
    Harness::ClickWithoutMove(window, point.x, point.y);
    const auto opened = [&](const HitArea& line) {
        const std::wstring id = line.page->hierarchy.ID.value_or(L"");
        return CountCalls(L"Window.NavigateTo", id) + CountCalls(L"NavigateTo", id);
    };
    EXPECT_TRUE(Harness::WaitUntil([&] { return opened(first[2]) == 1; }, 5s)) << "the page drawn under the pointer";
    EXPECT_EQ(opened(first[1]), 0u) << "the page drawn there before the notch";
    if (const HWND oneNote = FindWindowW(L"QuilloraOneNoteStandInWindow", nullptr))
    {
        PostMessageW(oneNote, WM_CLOSE, 0, 0);
        Harness::WaitUntil([&] { return !IsWindowVisible(oneNote); }, 3s);
    }
    EXPECT_EQ(lumday_->Close(), 0u);
}

// The settings file where the user's folders misbehave at the start. (A suite of its own, the last,
// so that the shards of the suites before it keep their cases.)
class LumdaySettingsFile : public LumdayProgram
{
};

TEST_F(LumdaySettingsFile, HeldForAMomentAtTheStartIsReadOnceLetGo)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"de\"/></Lumday>");
    // Another program (a backup, a synchronisation) holds the file without sharing as Lumday starts,
    // and lets it go once Lumday has met it.
    std::optional<Owners::FileHandle> held(std::in_place,
                                           CreateFileW((profile.RoamingAppData() / L"lumday.xml").wstring().c_str(),
                                                       GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(*held);
    auto lumday = Start(profile);
    const std::filesystem::path log = profile.Temp() / L"Lumday.log";
    EXPECT_TRUE(Harness::WaitUntil(
        [&] { return Harness::ReadLogFile(log).find(L"is held by another program") != std::wstring::npos; }, 15s))
        << "the read was not tried again";
    held.reset();
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(TitleBecomes(window, MonthTitle(L"de"))) << "the settings were not read";
    ASSERT_TRUE(Harness::HandledWhatWasPosted(window));
    EXPECT_TRUE(MessageBoxesOf(*lumday).empty());
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_NE(ReadSettings(profile).find(L"language=\"de\""), std::wstring::npos);
}

TEST_F(LumdaySettingsFile, ARoamingFolderThatCannotBeFoundStartsWithDefaultsAndSaysOnceThatSettingsCannotBeKept)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    // The roaming folder redirected to a share that is offline: a path where nothing is.
    const std::filesystem::path offline = profile.Root() / L"Offline share" / L"Roaming";
    const RoamingFolder unreachable(offline, profile.RoamingAppData());
    auto lumday = Start(profile);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    std::vector<HWND> boxes;
    ASSERT_TRUE(Harness::WaitUntil([&] { return !(boxes = MessageBoxesOf(*lumday)).empty(); }, 10s))
        << "nothing said that the settings cannot be kept";
    EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), window);
    EXPECT_NE(BoxText(boxes[0]).find(L"settings cannot be kept"), std::wstring::npos) << WideToUtf8(BoxText(boxes[0]));
    Harness::SaveWindow(boxes[0], L"settings-cannot-be-kept");
    PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Harness::WaitUntil([&] { return MessageBoxesOf(*lumday).empty(); }));
    // The defaults of a first run, once.
    EXPECT_TRUE(TitleBecomes(window, L"Settings"));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(TitleBecomes(window, MonthTitle(L"en")));
    ASSERT_TRUE(Harness::HandledWhatWasPosted(window));
    EXPECT_TRUE(MessageBoxesOf(*lumday).empty()) << "told more than once";
    EXPECT_EQ(lumday->Close(), 0u);
    EXPECT_FALSE(std::filesystem::exists(offline));
}
} // namespace
