#include "calendar/CalendarDate.h"
#include "calendar/DrawingResources.h"
#include "calendar/UiLanguages.h"
#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "standins/onenote/CallLog.h"
#include "standins/onenote/LargeStore.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace std::chrono_literals;

namespace
{
std::filesystem::path LumdayExe() { return Harness::BuildFolder() / L"calendar" / L"Lumday.exe"; }

const wchar_t* const Suffix = L" - Dayloom 1.18.1";

// The title of the month view of today in a language: the full month name and the year.
std::wstring MonthTitle(const wchar_t* language)
{
    LoadLanguageStrings(language);
    FillDateNameTables();
    const DateTime today;
    const std::wstring title = GetDateNameTables().monthNames[static_cast<size_t>(today.local.tm_mon + 1)] + L" " +
                               std::to_wstring(today.local.tm_year + 1900);
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
        return std::make_unique<Harness::Program>(Harness::StartOptions{
            .program = LumdayExe(),
            .arguments = L"",
            .profile = &profile,
            .environment = {{L"QUILLORA_ONENOTE_STORE", store.wstring()},
                            {L"QUILLORA_ONENOTE_CALLLOG", TestPaths::OutputFile(L".calls.log").wstring()},
                            {L"QUILLORA_ONENOTE_SCENARIO", scenario.wstring()}},
        });
    }

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
    EXPECT_TRUE(TitleBecomes(window, MonthTitle(L"ru")));
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

// Lumday's own windows that are message boxes.
std::vector<HWND> MessageBoxesOf(const Harness::Program& program)
{
    std::vector<HWND> boxes;
    for (const HWND window : program.TopLevelWindows())
        if (Harness::ClassOf(window) == L"#32770")
            boxes.push_back(window);
    return boxes;
}

size_t HierarchyCalls(const std::filesystem::path& log)
{
    size_t calls = 0;
    for (const auto& call : StandIn::ReadCallLog(log.wstring()))
        calls += call.method == L"GetHierarchy";
    return calls;
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

TEST_F(LumdayProgram, AFailedLoadIsShownOnceInAMessageBoxOwnedByTheWindow)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
    WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    auto program = StartWithStandIn(profile, "store demo\nfail GetHierarchy 0x80042014\n");
    Harness::Program& lumday = *program;
    const HWND window = MainWindowOf(lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Harness::WaitUntil([&] { return !MessageBoxesOf(lumday).empty(); }, 15s));
    Sleep(500);
    const std::vector<HWND> boxes = MessageBoxesOf(lumday);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Harness::TextOf(boxes[0]), L"Error");
    EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), window);
    Harness::SaveWindow(boxes[0], L"load-failure");
    PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Harness::WaitUntil([&] { return MessageBoxesOf(lumday).empty(); }, 10s));
    Sleep(300);
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
        std::ofstream(installed, std::ios::binary) << "the old program";
        document = profile.Root() / L"notes.txt";
        std::ofstream(document, std::ios::binary) << "my notes";
        WriteSettings(profile, L"<Lumday><Settings language=\"en\"/></Lumday>");
    }

    // The replaced program comes up after the update with "/showUpdateInfo"; it is ended here.
    static void CloseRestartedProgram()
    {
        HWND restarted = nullptr;
        Harness::WaitUntil([&] { return (restarted = FindWindowW(L"WC_LUMDAY", nullptr)) != nullptr; }, 15s);
        ASSERT_NE(restarted, nullptr);
        DWORD process = 0;
        GetWindowThreadProcessId(restarted, &process);
        Owners::KernelHandle handle(OpenProcess(SYNCHRONIZE, FALSE, process));
        PostMessageW(restarted, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(handle.get(), 10000), WAIT_OBJECT_0);
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
    std::filesystem::path document;
};

TEST_F(LumdayCommandLine, UpdateReplacesTheOldProgramAndStartsIt)
{
    auto downloaded = Start(profile, L"\"" + installed.wstring() + L"\"", update);
    EXPECT_EQ(downloaded->WaitForExit(20s), std::optional<DWORD>(0));
    EXPECT_EQ(Bytes(installed), Bytes(update));
    CloseRestartedProgram();
}

TEST_F(LumdayCommandLine, BarePathOfTheOldProgramIsInstalledToo)
{
    std::filesystem::path plain = profile.Root() / L"Lumday.exe";
    std::ofstream(plain, std::ios::binary) << "old";
    auto downloaded = Start(profile, plain.wstring(), update);
    EXPECT_EQ(downloaded->WaitForExit(20s), std::optional<DWORD>(0));
    EXPECT_EQ(Bytes(plain), Bytes(update));
    CloseRestartedProgram();
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
    EXPECT_EQ(Bytes(installed), "the old program");
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
            Sleep(3000); // the demo store's load
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
        Sleep(3000); // the demo store's load
        Harness::SaveWindow(window, c.picture);
        EXPECT_EQ(lumday->Close(), 0u);
    }
}

TEST_F(LumdayCalendar, NextArrowReachesEveryDayWeekAndMonthOfAYearInOrder)
{
    struct Case
    {
        int view;
        int steps;
    };
    for (const Case c : {Case{2, 366}, Case{1, 53}, Case{0, 12}})
    {
        SCOPED_TRACE(c.view);
        const Harness::Profile profile(L"view" + std::to_wstring(c.view));
        const Harness::ShellFolderRedirect redirect(profile);
        WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"" + std::to_wstring(c.view) +
                                   L"\"/><Window x=\"20\" y=\"20\" width=\"800\" height=\"600\"/></Lumday>");
        auto lumday = StartWithStandIn(profile, "store demo\n");
        const HWND window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        DateTime expected = DateTime().LocalMidnight();
        ASSERT_TRUE(TitleBecomes(window, PeriodTitle(expected, c.view)));
        const POINT arrow = NextArrow();
        // The first click waits until the load has laid the arrows down.
        expected = StepPeriod(expected, c.view, 1);
        ASSERT_TRUE(Harness::WaitUntil(
            [&] {
                Harness::Click(window, arrow.x, arrow.y);
                return Harness::WaitUntil([&] { return Harness::TextOf(window) == PeriodTitle(expected, c.view) + Suffix; },
                                          1500ms);
            },
            30s));
        for (int step = 1; step < c.steps; ++step)
        {
            const DateTime next = StepPeriod(expected, c.view, 1);
            ASSERT_EQ(next.LocalMidnight() > expected.LocalMidnight(), true);
            expected = next;
            Harness::Click(window, arrow.x, arrow.y);
            ASSERT_TRUE(TitleBecomes(window, PeriodTitle(expected, c.view))) << "step " << step;
        }
        EXPECT_EQ(lumday->Close(), 0u);
    }
}
} // namespace
