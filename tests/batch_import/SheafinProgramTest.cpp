// The real Sheafin.exe under Wine: its start-up and command line, the main window's layout as it
// is resized, the workspace kept across runs and theme changes, pictures of the window, and the
// update checks against the local update service.
#include "batch_import/SettingsFile.h"
#include "batch_import/WorkspaceConversion.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "tests/batch_import/LabelFit.h"
#include "tests/batch_import/SentMessageCount.h"
#include "tests/batch_import/SheafinLoopback.h"
#include "tests/support/FileDropList.h"
#include "tests/support/HeldFile.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"
#include "tests/support/TextChecks.h"
#include "tests/update/ServiceScenario.h"
#include "update/ProductIdentity.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <knownfolders.h>

#include <fstream>
#include <iostream>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{
using SheafinLoopback::DaysAgo;
using SheafinLoopback::SheafinExe;
using SheafinLoopback::Title;

std::string Bytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The texts of the log's entries, without their time stamps.
std::vector<std::wstring> LogEntries(const fs::path& file)
{
    std::vector<std::wstring> entries;
    for (const std::wstring& line : Split(Harness::ReadLogFile(file), std::wstring(L"\r\n")))
    {
        const size_t dash = line.find(L" - ");
        if (!line.empty() && dash != std::wstring::npos)
            entries.push_back(line.substr(dash + 3));
    }
    return entries;
}

// What a program that did not do what was waited for shows: its windows (each saved as a picture)
// and its log, for the failure's message.
std::string WhatItShows(const Harness::Program& program, const fs::path& log)
{
    std::wstring shown = L"windows:";
    int n = 0;
    for (const HWND window : program.TopLevelWindows())
    {
        shown += L" [" + Harness::ClassOf(window) + L" \"" + Harness::TextOf(window) + L"\"" +
                 (IsWindowVisible(window) ? L"" : L" hidden") + L"]";
        if (IsWindowVisible(window))
            Harness::SaveWindow(window, L"shown-" + std::to_wstring(++n));
    }
    shown += L"\nlog:";
    for (const std::wstring& entry : LogEntries(log))
        shown += L"\n  " + entry;
    return WideToUtf8(shown);
}

bool Contains(const std::vector<std::wstring>& entries, const std::wstring& text)
{
    return std::find(entries.begin(), entries.end(), text) != entries.end();
}

size_t CountStartingWith(const std::vector<std::wstring>& entries, const std::wstring& start)
{
    return static_cast<size_t>(std::count_if(entries.begin(), entries.end(),
                                             [&](const std::wstring& entry) { return entry.starts_with(start); }));
}

// What the program logs as it decides, before its window shows, that What's New is to come.
const std::wstring WhatsNewComes = L"What's New comes in two seconds: the update was made from version ";

ULONGLONG AgeInSeconds(const SYSTEMTIME& time)
{
    FILETIME then{};
    SystemTimeToFileTime(&time, &then);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG a = (static_cast<ULONGLONG>(then.dwHighDateTime) << 32) | then.dwLowDateTime;
    const ULONGLONG b = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return b > a ? (b - a) / 10'000'000ull : 0;
}

std::tuple<LONG, LONG, LONG, LONG> Corners(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Counts, while it lives, the messages that a program's UI thread sends, itself, to one of its
// windows: a message hook on that thread puts sent_message_counter.dll into the program, which
// counts in memory that both share. A count does not depend on how busy the machine is.
class SentMessages
{
public:
    explicit SentMessages(HWND window)
    {
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SentMessageCount),
                                          SentMessageCountName(thread).c_str()));
        if (!mapping_)
            return;
        view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SentMessageCount)));
        if (!view_)
            return;
        Shared().window = reinterpret_cast<std::uint64_t>(window);
        counter_.reset(
            LoadLibraryW((Harness::BuildFolder() / L"tests" / L"batch_import" / L"sent_message_counter.dll").c_str()));
        const auto count = counter_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                          GetProcAddress(counter_.get(), "CountSentMessages")))
                                    : nullptr;
        if (count)
            hook_.reset(SetWindowsHookExW(WH_CALLWNDPROC, count, counter_.get(), thread));
    }

    bool Counting() const { return static_cast<bool>(hook_); }
    LONG Count() const { return view_ ? InterlockedCompareExchange(&Shared().sent, 0, 0) : 0; }

private:
    SentMessageCount& Shared() const { return *static_cast<SentMessageCount*>(view_.get()); }

    Owners::KernelHandle mapping_;
    Owners::UniqueHandle<Owners::HandleTraits<void*, nullptr, ::UnmapViewOfFile>> view_;
    Owners::Module counter_;
    // Goes first, while the library is still there.
    Owners::UniqueHandle<Owners::HandleTraits<HHOOK, nullptr, ::UnhookWindowsHookEx>> hook_;
};

int SelectedCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

// Waits until the program has handled what was posted to it so far, and what that posted in turn.
// Marks are posted to the list as a harmless setting whose value can be asked back: the list
// takes it only once everything posted before it has been handled, and a second mark comes after
// whatever the first's forerunners posted.
// What the list itself does at each row (drawing, moving its focus along) sends no message that
// could be counted; the wait is bounded instead, at two minutes: tens of times what ten thousand
// rows take, where drawing or moving the focus at each of them takes minutes.
bool Settle(HWND list)
{
    static DWORD mark = 1000;
    for (int round = 0; round < 2; ++round)
    {
        const DWORD expected = ++mark;
        PostMessageW(list, LVM_SETHOVERTIME, 0, static_cast<LPARAM>(expected));
        if (!Harness::WaitUntil(
                [&] { return static_cast<DWORD>(SendMessageW(list, LVM_GETHOVERTIME, 0, 0)) == expected; }, 120s))
            return false;
    }
    return true;
}

class SheafinProgram : public testing::Test
{
protected:
    SheafinProgram() : redirect(profile)
    {
        files = profile.Root() / L"Files";
        fs::create_directories(files / L"Pictures");
        for (const wchar_t* name : {L"notes.txt", L"Report.pdf", L"Budget.docx", L"Slides.pptx", L"photo.png",
                                    L"page.html", L"archive.zip"})
            std::ofstream(files / name, std::ios::binary) << "content";
    }
    // The workspace is the test's own, and goes with it: one holds thousands of rows.
    ~SheafinProgram() override
    {
        std::error_code error;
        fs::remove(SettingsFile(), error);
        EXPECT_FALSE(fs::exists(SettingsFile())) << "the workspace stays: " << error.message();
    }

    std::unique_ptr<Harness::Program> Start(const std::wstring& arguments = L"", const fs::path& program = SheafinExe())
    {
        return std::make_unique<Harness::Program>(
            Harness::StartOptions{.program = program, .arguments = arguments, .profile = &profile, .environment = {}});
    }

    // The main window of a program once it shows (the What's New window has the same class).
    static HWND MainWindowOf(const Harness::Program& program)
    {
        HWND found = nullptr;
        Harness::WaitUntil(
            [&] {
                for (const HWND window : program.TopLevelWindows())
                    if (Harness::ClassOf(window) == L"Quillora Window" && Harness::TextOf(window) == Title &&
                        IsWindowVisible(window))
                    {
                        found = window;
                        return true;
                    }
                return !program.IsRunning();
            },
            15s);
        return found;
    }

    fs::path SettingsFile() const { return profile.RoamingAppData() / L"quillora" / L"sheafin" / L"settings.xml"; }
    fs::path LogFile() const { return profile.Temp() / L"Quillora_SHF.log"; }

    Importer::Settings ReadSettings() const { return Importer::Settings(SettingsFile().wstring()); }

    // A workspace of the given files (names in Files\), changed further by tweak, saved where the
    // program reads it.
    void WriteWorkspace(const std::vector<std::wstring>& names,
                        const std::function<void(Importer::Settings&)>& tweak = {}) const
    {
        Importer::Settings settings{Importer::Settings::DefaultsOnly{}};
        Config config;
        config.importFormat.fileAttachment = true;
        for (const std::wstring& name : names)
        {
            Config::Entry entry;
            entry.path = (files / name).wstring();
            config.entries.push_back(entry);
        }
        StoreWorkspaceConfig(settings, config);
        settings.lastUpdateCheck = DaysAgo(1);
        if (tweak)
            tweak(settings);
        fs::create_directories(SettingsFile().parent_path());
        ASSERT_TRUE(SaveSettingsFile(settings, SettingsFile().wstring()));
    }

    static HWND ListOf(HWND window)
    {
        const auto lists = Harness::Children(window, L"SysListView32");
        return lists.empty() ? nullptr : lists.front();
    }

    static bool Shows(HWND window, const wchar_t* className, const std::wstring& text)
    {
        const HWND child = Harness::Child(window, className, text);
        return child && IsWindowVisible(child);
    }

    Harness::Profile profile;
    Harness::ShellFolderRedirect redirect;
    fs::path files;
};
} // namespace

TEST_F(SheafinProgram, FirstStartShowsTheEmptyListPlaceholderAndTheDefaultSettings)
{
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Shows(window, L"Static", L"No items found"));
    EXPECT_TRUE(Shows(window, L"Static", L"Drop files to import or"));
    EXPECT_TRUE(Shows(window, L"Button", L" Select Files"));
    EXPECT_TRUE(Shows(window, L"Button", L" Select Folders"));
    EXPECT_EQ(0, ItemCount(ListOf(window)));
    EXPECT_TRUE(Checked(Harness::Child(window, L"Button", L"Insert as file &attachment")));
    EXPECT_FALSE(Checked(Harness::Child(window, L"Button", L"Insert file &content (text, printout, image)")));
    EXPECT_FALSE(Checked(Harness::Child(window, L"Button", L"Insert origina&l file path as")));
    EXPECT_TRUE(Checked(Harness::Child(window, L"Button", L"Insert all files into a &single page")));
    for (const HWND link : Harness::Children(window, L"SysLink"))
        EXPECT_FALSE(IsWindowVisible(link)) << "no target yet";
    Harness::SaveWindow(window, L"empty");
    const SYSTEMTIME started = DaysAgo(0);

    EXPECT_EQ(sheafin->Close(), 0u);
    const Importer::Settings saved = ReadSettings();
    ASSERT_TRUE(saved.lastUpdateCheck) << "the first save stamps the start";
    EXPECT_LE(AgeInSeconds(*saved.lastUpdateCheck), AgeInSeconds(started) + 60);
    EXPECT_FALSE(Contains(LogEntries(LogFile()), L"Checking for updates"));
}

TEST_F(SheafinProgram, LogBeginsWithTheBannerAndTheCommandLine)
{
    auto sheafin = Start(L"notes.txt /other");
    ASSERT_NE(MainWindowOf(*sheafin), nullptr);
    EXPECT_EQ(sheafin->Close(), 0u);
    const std::vector<std::wstring> entries = LogEntries(LogFile());
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(L"Quillora Batch File Import UI - Version 1.3.0", entries[0]);
    EXPECT_EQ(L"Command line: " + SheafinExe().wstring() + L" notes.txt /other", entries[1]);
}

TEST_F(SheafinProgram, InstallCopiesTheProgramOverItsTargetAndStartsIt)
{
    const fs::path apps = profile.Root() / L"My Apps";
    fs::create_directories(apps);
    const fs::path target = (apps / L"Sheafin.exe").make_preferred();
    struct Case
    {
        std::wstring arguments;
        std::wstring version;
    };
    const Case cases[] = {
        {L"/install \"" + target.wstring() + L"\"", L"1.0.0"},
        {L"/install \"" + target.wstring() + L"\" 1.2.0", L"1.2.0"},
        {L"/install \"" + target.wstring() + L"\" 1.2.0 more", L"1.0.0"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(fs::path(c.arguments).string()));
        // An installed Sheafin of its own bytes, so that its replacement shows.
        std::ofstream(target, std::ios::binary | std::ios::trunc) << Bytes(SheafinExe()) << "the old program";
        auto installer = Start(c.arguments);
        EXPECT_EQ(installer->WaitForExit(20s), std::optional<DWORD>(0));
        EXPECT_EQ(Bytes(target), Bytes(SheafinExe()));

        // The copy comes up with the version it replaced; it is closed here.
        HWND restarted = nullptr;
        Harness::WaitUntil([&] { return (restarted = FindWindowW(L"Quillora Window", Title)) != nullptr; }, 15s);
        ASSERT_NE(restarted, nullptr);
        const std::vector<std::wstring> entries = LogEntries(LogFile());
        ASSERT_GE(entries.size(), 2u);
        EXPECT_EQ(L"Command line: " + target.wstring() + L" /showUpdateInfo " + c.version, entries[1]);
        DWORD process = 0;
        GetWindowThreadProcessId(restarted, &process);
        const Owners::KernelHandle handle(OpenProcess(SYNCHRONIZE, FALSE, process));
        PostMessageW(restarted, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(handle.get(), 10000), WAIT_OBJECT_0);
    }
}

TEST_F(SheafinProgram, OtherCommandLinesStartNormallyAndTouchNothing)
{
    const fs::path target = profile.Root() / L"Old.exe";
    std::ofstream(target, std::ios::binary) << "the old program";
    const std::wstring cases[] = {
        L"/install",
        L"/INSTALL \"" + target.wstring() + L"\"",
        L"/showUpdateInfo",
        L"/showUpdateInfo 1.2.0 more",
        L"/showupdateinfo 1.2.0",
    };
    for (const std::wstring& arguments : cases)
    {
        SCOPED_TRACE(testing::PrintToString(fs::path(arguments).string()));
        auto sheafin = Start(arguments);
        const HWND window = MainWindowOf(*sheafin);
        ASSERT_NE(window, nullptr);
        // What's New is decided, and logged, before the window shows.
        EXPECT_EQ(CountStartingWith(LogEntries(LogFile()), WhatsNewComes), 0u) << "What's New is to come";
        EXPECT_EQ(FindWindowW(L"Quillora Window", L"What's New"), nullptr);
        EXPECT_EQ(sheafin->Close(), 0u);
    }
    EXPECT_EQ(Bytes(target), "the old program");
}

TEST_F(SheafinProgram, ShowUpdateInfoWithAVersionShowsWhatsNewOnce)
{
    UpdateTest::ServiceScenario scenario(BatchImportIdentity());
    scenario.Set("getProductInfo.body",
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?><Product name=\"Quillora Batch File Import\">"
                 "<Version number=\"1.3.0\" date=\"2026-01-15T00:00:00.000Z\"><Changes>- Dark theme</Changes>"
                 "</Version></Product>");
    WriteWorkspace({L"notes.txt"});
    auto sheafin = Start(L"/showUpdateInfo 1.2.0");
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Contains(LogEntries(LogFile()), WhatsNewComes + L"1.2.0"));
    HWND whatsNew = nullptr;
    EXPECT_TRUE(Harness::WaitUntil([&] { return (whatsNew = FindWindowW(L"Quillora Window", L"What's New")) != nullptr; },
                                   15s));
    if (whatsNew)
        PostMessageW(whatsNew, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(whatsNew); }));

    // The window made after a theme change is not told again: it would have said so before it showed.
    Harness::PostCommand(window, 40031);
    EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(window); }));
    const HWND rebuilt = MainWindowOf(*sheafin);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(CountStartingWith(LogEntries(LogFile()), WhatsNewComes), 1u);
    EXPECT_EQ(FindWindowW(L"Quillora Window", L"What's New"), nullptr);
    EXPECT_EQ(sheafin->Close(), 0u);
}

TEST_F(SheafinProgram, LayoutGivesWayAtItsWidthsAndHeightsAndTheRightColumnGrowsToItsWidestLine)
{
    WriteWorkspace({L"notes.txt"});
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    const auto startButton = [&] { return Harness::Child(window, L"Button", L" Start &Import"); };
    const auto toolbarStart = [&] {
        for (const HWND button : Harness::ChildrenWithId(window, 40036))
            if (Harness::TextOf(button).empty())
                return button;
        return HWND{};
    };
    struct Case
    {
        int width;
        int height;
        bool rightColumn;
        bool settingsBox;
        bool pickLocation;
    };
    // Tall, the column shows from one pixel past 440 at the least, and further out as far as its
    // widest line needs; then every line of it shows whole.
    int shows = 0;
    for (int width = 440; width <= 700 && !shows; ++width)
    {
        ASSERT_TRUE(Harness::SetClientSize(window, width, 336));
        if (IsWindowVisible(startButton()))
            shows = width;
    }
    EXPECT_GE(shows, 441);
    EXPECT_EQ(LabelFit::CutOff(window, 96), std::vector<std::string>());
    const Case cases[] = {
        {shows, 336, true, true, true}, {shows - 1, 336, false, true, true}, {441, 335, true, false, true},
        {401, 335, true, false, true},  {400, 335, false, false, true},      {500, 200, true, false, true},
        {500, 199, true, false, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        ASSERT_TRUE(Harness::SetClientSize(window, c.width, c.height));
        EXPECT_EQ(c.rightColumn, IsWindowVisible(startButton()) != FALSE);
        EXPECT_EQ(!c.rightColumn, IsWindowVisible(toolbarStart()) != FALSE);
        EXPECT_EQ(c.settingsBox && c.rightColumn, Shows(window, L"Button", L"Insert as file &attachment"));
        EXPECT_EQ(c.settingsBox, Shows(window, L"Static", L"Files to Import"));
        EXPECT_EQ(!c.settingsBox && c.rightColumn, Shows(window, L"Button", L" I&mport Settings"));
        EXPECT_EQ(c.pickLocation && c.rightColumn, Shows(window, L"Button", L"Pic&k a location to import..."));
    }
    EXPECT_EQ(sheafin->Close(), 0u);
}

TEST_F(SheafinProgram, FilesAndPlacementOfTheWorkspaceComeBackAfterARestart)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf", L"Pictures"}, [](Importer::Settings& settings) {
        auto& position = settings.view.windowPosition;
        position.x = 40;
        position.y = 30;
        position.width = 700;
        position.height = 500;
        position.showCmd = SW_SHOWNORMAL;
    });
    auto sheafin = Start();
    HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(3, ItemCount(ListOf(window)));
    EXPECT_FALSE(Shows(window, L"Static", L"No items found"));
    RECT bounds{};
    GetWindowRect(window, &bounds);
    EXPECT_EQ(700, bounds.right - bounds.left);
    EXPECT_EQ(500, bounds.bottom - bounds.top);
    SetWindowPos(window, nullptr, 120, 90, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE);
    Harness::WaitUntil([&] { return Harness::WindowSize(window).cx == 640; });
    EXPECT_EQ(sheafin->Close(), 0u);

    sheafin = Start();
    window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(3, ItemCount(ListOf(window)));
    GetWindowRect(window, &bounds);
    EXPECT_EQ(Corners(RECT{120, 90, 760, 570}), Corners(bounds));
    EXPECT_EQ(sheafin->Close(), 0u);
    EXPECT_EQ(3u, ReadSettings().lastConfig->config.entries.entries.size());
}

TEST_F(SheafinProgram, FilesDroppedOnTheEmptyListAreAddedAndReplaceThePlaceholder)
{
    const HRESULT ole = OleInitialize(nullptr);
    ASSERT_TRUE(SUCCEEDED(ole));
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    const HWND list = ListOf(window);
    ASSERT_TRUE(Harness::BringToFront(window));
    RECT bounds{};
    GetWindowRect(list, &bounds);
    // Below the placeholder's buttons, on the list itself.
    SetCursorPos((bounds.left + bounds.right) / 2, bounds.bottom - 20);
    const std::vector<std::wstring> dropped{(files / L"notes.txt").wstring(), (files / L"Pictures").wstring()};
    DWORD effect = DROPEFFECT_NONE;
    EXPECT_EQ(DRAGDROP_S_DROP, DropFilesAtCursor(dropped, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect));
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    EXPECT_TRUE(Harness::WaitUntil([&] { return ItemCount(list) == 2; }));
    EXPECT_TRUE(Harness::WaitUntil([&] { return !Shows(window, L"Static", L"No items found"); }));
    EXPECT_EQ(sheafin->Close(), 0u);
    const Importer::Settings saved = ReadSettings();
    EXPECT_FALSE(saved.dirty) << "the file holds every change";
    ASSERT_TRUE(saved.lastConfig);
    ASSERT_EQ(2u, saved.lastConfig->config.entries.entries.size());
    OleUninitialize();
}

TEST_F(SheafinProgram, FilesDroppedOnThePlaceholdersSelectFilesButtonAreAdded)
{
    const HRESULT ole = OleInitialize(nullptr);
    ASSERT_TRUE(SUCCEEDED(ole));
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    const HWND button = Harness::Child(window, L"Button", L" Select Files");
    ASSERT_TRUE(button && IsWindowVisible(button));
    ASSERT_TRUE(Harness::BringToFront(window));
    RECT bounds{};
    GetWindowRect(button, &bounds);
    SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    DWORD effect = DROPEFFECT_NONE;
    EXPECT_EQ(DRAGDROP_S_DROP,
              DropFilesAtCursor({(files / L"notes.txt").wstring()}, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect));
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    EXPECT_TRUE(Harness::WaitUntil([&] { return ItemCount(ListOf(window)) == 1; }));
    EXPECT_EQ(sheafin->Close(), 0u);
    OleUninitialize();
}

TEST_F(SheafinProgram, SettingsSwitchesKeepMenuControlsAndTheSavedConfigurationInStep)
{
    WriteWorkspace({L"notes.txt"});
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    const HWND path = Harness::Child(window, L"Button", L"Insert origina&l file path as");
    const HWND kind = Harness::Children(window, L"ComboBox").front();
    const auto command = [&](int id) {
        // Sent, not posted: a message sent later would be handled before the posted commands,
        // so only a sent command is known to be done when the call returns.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    };

    command(40016); // Ctrl+T: plain text
    EXPECT_TRUE(Checked(path));
    EXPECT_TRUE(IsWindowEnabled(kind));
    EXPECT_EQ(0, SendMessageW(kind, CB_GETCURSEL, 0, 0));
    command(40016); // again: none
    EXPECT_FALSE(Checked(path));
    EXPECT_FALSE(IsWindowEnabled(kind));
    command(40016);
    command(40017); // Ctrl+L while plain text: link
    EXPECT_TRUE(Checked(path));
    EXPECT_EQ(1, SendMessageW(kind, CB_GETCURSEL, 0, 0));
    command(40014);
    command(40019);
    EXPECT_TRUE(Checked(Harness::Child(window, L"Button", L"Insert file &content (text, printout, image)")));
    EXPECT_TRUE(Checked(Harness::Child(window, L"Button", L"Insert each file into a separate &page")));
    EXPECT_FALSE(Checked(Harness::Child(window, L"Button", L"Insert all files into a &single page")));
    EXPECT_EQ(sheafin->Close(), 0u);

    const Importer::Settings saved = ReadSettings();
    ASSERT_TRUE(saved.lastConfig);
    const Config config = ApplyImporterConfig(saved.lastConfig->config);
    EXPECT_TRUE(config.importFormat.fileAttachment);
    EXPECT_TRUE(config.importFormat.fileContent);
    EXPECT_EQ(Config::HyperlinkPath, config.importFormat.originalPath);
    EXPECT_EQ(Config::InsertEachFileOnASeparatePage, config.outputFormat);
    EXPECT_TRUE(config.createNew) << "no section is picked: a new one is made";
    EXPECT_FALSE(saved.dirty) << "the file holds every change";
}

TEST_F(SheafinProgram, QuitFromOutsideEndsWithoutSavingAndACloseWithoutWindowEndsNothing)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf"});
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    PostThreadMessageW(thread, WM_CLOSE, 0, 0);
    // The commands come after the close in the window's queue: once they have run, so has it.
    Harness::PostCommand(window, 40009);
    Harness::PostCommand(window, 40008);
    EXPECT_TRUE(Harness::WaitUntil([&] { return ItemCount(ListOf(window)) == 0; }));
    EXPECT_TRUE(IsWindow(window)) << "a close for no window only brings the window forward";
    PostThreadMessageW(thread, WM_QUIT, 7, 0);
    EXPECT_EQ(sheafin->WaitForExit(15s), std::optional<DWORD>(0));
    EXPECT_EQ(2u, ReadSettings().lastConfig->config.entries.entries.size()) << "the workspace is not saved";
}

TEST_F(SheafinProgram, RemovingEveryFileShowsThePlaceholderAgainAndIsSaved)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf"});
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40009); // Select All
    Harness::PostCommand(window, 40008); // Remove Selected Items
    EXPECT_TRUE(Harness::WaitUntil([&] { return ItemCount(ListOf(window)) == 0; }));
    EXPECT_TRUE(Harness::WaitUntil([&] { return Shows(window, L"Static", L"No items found"); }));
    EXPECT_EQ(sheafin->Close(), 0u);
    const Importer::Settings saved = ReadSettings();
    EXPECT_FALSE(saved.dirty) << "the file holds every change";
    EXPECT_TRUE(saved.lastConfig->config.entries.entries.empty());
}

TEST_F(SheafinProgram, ThousandsOfRowsSelectedDeselectedAndRemovedCostTheListMessagesInProportionToThem)
{
    // Files of the folder that ctest makes beforehand; the list does not open them.
    const fs::path folder = TestPaths::OutputFolder() / L"twelve-thousand-files";
    std::vector<std::wstring> paths;
    for (int index = 0; index < 10600; ++index)
        paths.push_back((folder / (L"f" + std::to_wstring(index) + L".txt")).wstring());
    WriteWorkspace(paths);
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    const HWND list = ListOf(window);
    ASSERT_EQ(10600, ItemCount(list));
    const auto toolbarButton = [&](int command) {
        const std::vector<HWND> buttons = Harness::ChildrenWithId(window, command);
        return buttons.empty() ? nullptr : buttons.front();
    };
    const HWND remove = toolbarButton(40008);
    const HWND moveUp = toolbarButton(40010);
    const HWND moveDown = toolbarButton(40011);
    ASSERT_TRUE(remove && moveUp && moveDown);
    const std::vector<HWND> headers = Harness::Children(list, L"SysHeader32");
    ASSERT_FALSE(headers.empty());
    // The row just below the header: the first one shown.
    const int topRowY = Harness::ChildRect(headers.front()).bottom + 4;
    const auto clickTopRow = [&](WPARAM keys) {
        Harness::MoveMouse(list, 30, topRowY);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(30, topRowY));
        PostMessageW(list, WM_LBUTTONUP, keys, MAKELPARAM(30, topRowY));
        return Settle(list);
    };
    const auto scrollTo = [&](int row) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE, SMTO_ABORTIFHUNG, 60000,
                            &ignored);
        return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    };
    const auto buttons = [&] {
        return std::tuple(IsWindowEnabled(remove) != FALSE, IsWindowEnabled(moveUp) != FALSE,
                          IsWindowEnabled(moveDown) != FALSE);
    };
    const SentMessages sent(list);
    ASSERT_TRUE(sent.Counting());

    // What the program sends its list while one input changes the selection of about `rows` rows
    // at the top; true when each input cost it messages in proportion to the rows. Handling each
    // row's change by looking at every selected row again costs rows * rows / 2.
    const auto round = [&](int rows) {
        const int before = ItemCount(list);
        scrollTo(0);
        EXPECT_TRUE(clickTopRow(0));
        const int top = scrollTo(rows - 1);
        const int selected = top + 1;
        bool inProportion = true;
        const auto measure = [&](const char* what, const std::function<bool()>& input) {
            const LONG start = sent.Count();
            const auto started = std::chrono::steady_clock::now();
            EXPECT_TRUE(input()) << what;
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            const LONG messages = sent.Count() - start;
            std::cout << selected << " rows " << what << " in " << seconds << " s: " << messages
                      << " messages to the list\n";
            EXPECT_LT(messages, 10 * selected) << what;
            inProportion = inProportion && messages < 10 * selected;
        };

        measure("selected by a click with Shift", [&] { return clickTopRow(MK_SHIFT); });
        EXPECT_EQ(selected, SelectedCount(list));
        EXPECT_EQ(std::tuple(true, false, true), buttons()) << "remove, up, down";

        // On a row of the selection, the click keeps that row alone.
        measure("deselected by a click", [&] { return clickTopRow(0); });
        EXPECT_EQ(1, SelectedCount(list));
        EXPECT_EQ(std::tuple(true, true, true), buttons()) << "remove, up, down";

        Harness::PressKey(list, VK_HOME);
        EXPECT_TRUE(Settle(list));
        EXPECT_EQ(1, SelectedCount(list));
        EXPECT_EQ(std::tuple(true, false, true), buttons()) << "remove, up, down after Home";

        scrollTo(rows - 1);
        EXPECT_TRUE(clickTopRow(MK_SHIFT));
        EXPECT_EQ(selected, SelectedCount(list));
        measure("removed by Del", [&] {
            Harness::PressKey(list, VK_DELETE);
            return Settle(list);
        });
        EXPECT_EQ(before - selected, ItemCount(list));
        EXPECT_EQ(0, SelectedCount(list));
        EXPECT_EQ(std::tuple(false, false, false), buttons()) << "remove, up, down";
        return inProportion;
    };
    // Five hundred first, so that a window that costs the square of the rows fails in seconds.
    if (round(500))
        round(ItemCount(list));
    Harness::PostCommand(window, 40009); // Select All
    EXPECT_TRUE(Settle(list));
    EXPECT_EQ(ItemCount(list), SelectedCount(list));
    EXPECT_EQ(std::tuple(true, false, false), buttons()) << "remove, up, down after Select All";
    EXPECT_EQ(sheafin->Close(), 0u);
}

TEST_F(SheafinProgram, ClearFileListOfAnUnchangedWorkspaceClearsWithoutAsking)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf"});
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40008); // nothing selected: nothing removed, nothing changed
    Harness::PostCommand(window, 40038);
    EXPECT_TRUE(Harness::WaitUntil([&] { return ItemCount(ListOf(window)) == 0; }));
    EXPECT_EQ(FindWindowW(L"Quillora Window", L"Clear File List"), nullptr) << "no question";
    EXPECT_TRUE(Shows(window, L"Static", L"No items found"));
    EXPECT_EQ(sheafin->Close(), 0u);
}

TEST_F(SheafinProgram, ClearFileListAfterChangesAsksFirstAndNoKeepsTheFiles)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf"}, [](Importer::Settings& settings) { settings.dirty = true; });
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40038);
    HWND question = nullptr;
    ASSERT_TRUE(Harness::WaitUntil(
        [&] { return (question = FindWindowW(L"Quillora Window", L"Clear File List")) != nullptr; }));
    Harness::SaveWindow(question, L"question");
    const HWND no = Harness::Child(question, L"Button", L"&No");
    ASSERT_NE(no, nullptr);
    PostMessageW(no, BM_CLICK, 0, 0);
    EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_EQ(2, ItemCount(ListOf(window)));

    Harness::PostCommand(window, 40038);
    ASSERT_TRUE(Harness::WaitUntil(
        [&] { return (question = FindWindowW(L"Quillora Window", L"Clear File List")) != nullptr; }));
    PostMessageW(Harness::Child(question, L"Button", L"&Yes"), BM_CLICK, 0, 0);
    EXPECT_TRUE(Harness::WaitUntil([&] { return ItemCount(ListOf(window)) == 0; }));
    EXPECT_EQ(sheafin->Close(), 0u);
}

TEST_F(SheafinProgram, ClearFileListAsksOnlyAboutChangesTheWorkspaceFileDoesNotHold)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf"});
    const auto clearAsks = [&](HWND window, bool answerYes) {
        Harness::PostCommand(window, 40038);
        HWND question = nullptr;
        Harness::WaitUntil(
            [&] {
                question = FindWindowW(L"Quillora Window", L"Clear File List");
                return question != nullptr || ItemCount(ListOf(window)) == 0;
            },
            5s);
        if (question)
        {
            PostMessageW(Harness::Child(question, L"Button", answerYes ? L"&Yes" : L"&No"), BM_CLICK, 0, 0);
            Harness::WaitUntil([&] { return !IsWindow(question); });
        }
        return question != nullptr;
    };
    auto sheafin = Start();
    HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40014); // a change the file does not hold yet
    EXPECT_TRUE(clearAsks(window, false));
    EXPECT_EQ(2, ItemCount(ListOf(window)));
    EXPECT_EQ(sheafin->Close(), 0u);

    // Saved at the close: the file holds everything, and the next start has nothing to lose.
    sheafin = Start();
    window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(clearAsks(window, false));
    EXPECT_TRUE(Harness::WaitUntil([&] { return ItemCount(ListOf(window)) == 0; }));
    EXPECT_EQ(sheafin->Close(), 0u);
}

TEST_F(SheafinProgram, TheEndOfTheSessionSavesTheWorkspace)
{
    WriteWorkspace({L"notes.txt"});
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40014); // Insert file content
    ASSERT_TRUE(Harness::WaitUntil(
        [&] { return Checked(Harness::Child(window, L"Button", L"Insert file &content (text, printout, image)")); }));

    // Log-off as the system does it: the question, the end, and then the process is gone.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
    EXPECT_EQ(TRUE, static_cast<BOOL>(answer));
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
    const Owners::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, sheafin->ProcessId()));
    ASSERT_TRUE(process);
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 10000);

    const Importer::Settings saved = ReadSettings();
    ASSERT_TRUE(saved.lastConfig);
    EXPECT_TRUE(ApplyImporterConfig(saved.lastConfig->config).importFormat.fileContent);
}

TEST_F(SheafinProgram, ThemeChangeRebuildsTheWindowWithTheSameFilesAndPlacement)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf", L"photo.png"}, [](Importer::Settings& settings) {
        settings.view.theme = L"light";
        auto& position = settings.view.windowPosition;
        position.x = 60;
        position.y = 40;
        position.width = 720;
        position.height = 520;
    });
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    RECT before{};
    GetWindowRect(window, &before);
    Harness::PostCommand(window, 40031); // Dark
    EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(window); }));
    const HWND rebuilt = MainWindowOf(*sheafin);
    ASSERT_NE(rebuilt, nullptr);
    RECT after{};
    GetWindowRect(rebuilt, &after);
    EXPECT_EQ(Corners(before), Corners(after));
    EXPECT_EQ(3, ItemCount(ListOf(rebuilt)));
    EXPECT_TRUE(sheafin->IsRunning());
    EXPECT_EQ(sheafin->Close(), 0u);
    EXPECT_EQ(L"dark", ReadSettings().view.theme);
}

// Cases that change the prefix's DPI, which every program of the prefix shares.
TEST_F(SheafinProgram, PicturesWithFilesInBothThemesAt96And144DpiShowEveryLineWhole)
{
    const wchar_t* const desktop = L"Control Panel\\Desktop";
    for (const int dpi : {96, 144})
    {
        for (const bool dark : {false, true})
        {
            SCOPED_TRACE(std::to_string(dpi) + (dark ? " dark" : " light"));
            WriteWorkspace({L"notes.txt", L"Report.pdf", L"Budget.docx", L"Slides.pptx", L"photo.png", L"page.html",
                            L"archive.zip", L"Pictures"},
                           [&](Importer::Settings& settings) { settings.view.theme = dark ? L"dark" : L"light"; });
            Owners::RegistryKey key;
            ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, desktop, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                                      nullptr),
                      ERROR_SUCCESS);
            const DWORD value = static_cast<DWORD>(dpi);
            if (dpi != 96)
                RegSetValueExW(key.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
            auto sheafin = Start();
            const HWND window = MainWindowOf(*sheafin);
            if (dpi != 96)
                RegDeleteValueW(key.get(), L"LogPixels");
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(Harness::SetClientSize(window, 680 * dpi / 96, 440 * dpi / 96));
            Harness::SaveWindow(window, L"files-" + std::to_wstring(dpi) + L"dpi-" + (dark ? L"dark" : L"light"));
            EXPECT_EQ(LabelFit::CutOff(window, dpi), std::vector<std::string>());
            if (dark)
            {
                EXPECT_EQ(TextChecks::FaintText(window), std::vector<std::string>());
            }
            EXPECT_EQ(sheafin->Close(), 0u);
        }
    }
}

// The program's boxes that tell of an error, once one shows and has its text; none when none shows
// within the time.
std::vector<HWND> ErrorBoxesOf(const Harness::Program& program, std::chrono::milliseconds timeout = 0ms)
{
    return program.TopLevelWindowsOnceAny(
        [](HWND window) {
            return Harness::ClassOf(window) == L"Quillora Window" && Harness::TextOf(window) == L"Error" &&
                   IsWindowVisible(window) && !Harness::Children(window, L"SysLink").empty();
        },
        timeout);
}

std::wstring BoxText(HWND box)
{
    std::wstring text;
    for (const HWND label : Harness::Children(box, L"SysLink"))
        text += Harness::TextOf(label);
    return text;
}

// Answers the box with OK and waits until it is gone.
void Dismiss(HWND box)
{
    PostMessageW(Harness::Child(box, L"Button", L"&OK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(box); }));
}

// Points the prefix's roaming application-data folder elsewhere while it lives, and back at the
// profile's after.
class RoamingFolder
{
public:
    RoamingFolder(const fs::path& folder, fs::path restored) : restored_(std::move(restored)) { Set(folder); }
    ~RoamingFolder() { Set(restored_); }
    RoamingFolder(const RoamingFolder&) = delete;
    RoamingFolder& operator=(const RoamingFolder&) = delete;

private:
    static void Set(const fs::path& folder)
    {
        Owners::RegistryKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER,
                                  L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", 0,
                                  nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        const std::wstring path = folder.wstring();
        RegSetValueExW(key.get(), L"AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }

    fs::path restored_;
};

// Another program holds the workspace without sharing while Sheafin starts, longer than the start
// waits for it, and lets go a moment after the window shows. Whatever way the settings are saved
// in that session (the window rebuilt for a theme, the close), the user's file stays as it was.
TEST_F(SheafinProgram, AWorkspaceHeldWithoutSharingAtTheStartIsNeverWrittenOverInThatSession)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf", L"photo.png"}, [](Importer::Settings& settings) {
        settings.view.theme = L"light";
        settings.lastConfig->config.printoutOptions.scale = 300;
    });
    const std::string stored = Bytes(SettingsFile());
    std::unique_ptr<Harness::Program> sheafin;
    HWND window = nullptr;
    {
        const Harness::HeldFile held(SettingsFile(), Harness::HeldFile::Sharing::None);
        sheafin = Start();
        window = MainWindowOf(*sheafin);
        ASSERT_NE(window, nullptr);
        const std::vector<HWND> boxes = ErrorBoxesOf(*sheafin, 10s);
        EXPECT_EQ(boxes.size(), 1u) << "nothing said that the workspace could not be read";
        if (!boxes.empty())
        {
            EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), window);
            const std::wstring text = BoxText(boxes[0]);
            EXPECT_NE(text.find(SettingsFile().wstring() + L" could not be read because another program holds it"),
                      std::wstring::npos)
                << WideToUtf8(text);
            EXPECT_NE(text.find(L"the changes of this session will not be saved"), std::wstring::npos)
                << WideToUtf8(text);
            Harness::SaveWindow(boxes[0], L"workspace-held");
            Dismiss(boxes[0]);
        }
        EXPECT_EQ(0, ItemCount(ListOf(window))) << "the defaults";
    }

    Harness::PostCommand(window, 40031); // Dark: the window is rebuilt from the settings it saves
    EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(window); }));
    window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(0, ItemCount(ListOf(window)));
    // A notice comes as a posted message: once what was posted before has been handled, a second
    // one would show.
    ASSERT_TRUE(Settle(ListOf(window)));
    EXPECT_TRUE(ErrorBoxesOf(*sheafin).empty()) << "told more than once";
    EXPECT_EQ(Bytes(SettingsFile()), stored);
    EXPECT_EQ(sheafin->Close(), 0u);
    EXPECT_EQ(Bytes(SettingsFile()), stored);
}

// A workspace held for a moment (by a backup, a virus scanner, a synchronisation) is waited for,
// at the start without sharing and at the close with read sharing, and then used and saved as if it
// had never been held. One held for good at the close is left as it was, and one box says so.
TEST_F(SheafinProgram, AWorkspaceHeldForAMomentIsReadAndSavedAndOneHeldForGoodIsKeptAndToldOnce)
{
    WriteWorkspace({L"notes.txt", L"Report.pdf", L"photo.png"});
    {
        std::optional<Harness::HeldFile> held(std::in_place, SettingsFile(), Harness::HeldFile::Sharing::None);
        auto sheafin = Start();
        EXPECT_TRUE(Harness::WaitUntil(
            [&] { return Harness::ReadLogFile(LogFile()).find(L"is held by another program") != std::wstring::npos; },
            15s))
            << "the read was not tried again";
        held.reset();
        const HWND window = MainWindowOf(*sheafin);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(3, ItemCount(ListOf(window))) << "the workspace was not read";
        Harness::PostCommand(window, 40014); // Insert file content
        ASSERT_TRUE(Harness::WaitUntil(
            [&] { return Checked(Harness::Child(window, L"Button", L"Insert file &content (text, printout, image)")); }));

        // Read sharing only: the file can be read, not replaced, until it is let go 1.5 s after the
        // close.
        held.emplace(SettingsFile(), Harness::HeldFile::Sharing::Read, 1500ms);
        PostMessageW(window, WM_CLOSE, 0, 0);
        held->LetGo();
        EXPECT_EQ(sheafin->WaitForExit(20s), std::optional<DWORD>(0)) << WhatItShows(*sheafin, LogFile());
    }
    const Importer::Settings saved = ReadSettings();
    ASSERT_TRUE(saved.lastConfig);
    EXPECT_TRUE(ApplyImporterConfig(saved.lastConfig->config).importFormat.fileContent) << "the change was lost";
    EXPECT_EQ(3u, saved.lastConfig->config.entries.entries.size());

    const std::string stored = Bytes(SettingsFile());
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40014);
    ASSERT_TRUE(Harness::WaitUntil(
        [&] { return !Checked(Harness::Child(window, L"Button", L"Insert file &content (text, printout, image)")); }));
    const Harness::HeldFile held(SettingsFile(), Harness::HeldFile::Sharing::Read);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const std::vector<HWND> boxes = ErrorBoxesOf(*sheafin, 20s);
    ASSERT_EQ(boxes.size(), 1u) << "nothing said that the workspace could not be saved";
    EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), window);
    const std::wstring text = BoxText(boxes[0]);
    EXPECT_NE(text.find(L"The settings could not be saved to " + SettingsFile().wstring() +
                        L" because another program holds it"),
              std::wstring::npos)
        << WideToUtf8(text);
    Harness::SaveWindow(boxes[0], L"workspace-not-saved");
    Dismiss(boxes[0]);
    EXPECT_EQ(sheafin->WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(Bytes(SettingsFile()), stored);
}

// A roaming folder redirected to a share that is offline: Sheafin starts on its defaults, says once
// that settings cannot be kept, and every save of the session (a theme's new window, the close)
// ends as a save that could not be made.
TEST_F(SheafinProgram, ARoamingFolderThatCannotBeFoundStartsWithDefaultsAndSaysOnceThatSettingsCannotBeKept)
{
    const fs::path offline = profile.Root() / L"Offline share" / L"Roaming";
    const RoamingFolder unreachable(offline, profile.RoamingAppData());
    auto sheafin = Start();
    HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    const std::vector<HWND> boxes = ErrorBoxesOf(*sheafin, 10s);
    EXPECT_EQ(boxes.size(), 1u) << "nothing said that the settings cannot be kept";
    if (!boxes.empty())
    {
        EXPECT_NE(BoxText(boxes[0]).find(L"settings cannot be kept"), std::wstring::npos)
            << WideToUtf8(BoxText(boxes[0]));
        Harness::SaveWindow(boxes[0], L"settings-cannot-be-kept");
        Dismiss(boxes[0]);
    }
    EXPECT_EQ(0, ItemCount(ListOf(window)));

    Harness::PostCommand(window, 40031); // Dark
    EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(window); }));
    window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr) << "the program ended instead of building its window anew\n"
                               << WhatItShows(*sheafin, LogFile());
    ASSERT_TRUE(Settle(ListOf(window)));
    EXPECT_TRUE(ErrorBoxesOf(*sheafin).empty()) << "told more than once";
    EXPECT_EQ(sheafin->Close(), 0u);
    EXPECT_TRUE(Contains(LogEntries(LogFile()), L"Saving workspace"));
    EXPECT_FALSE(fs::exists(offline));
}

// A file made read-only for as long as it lives, and writable again after, so that its test can
// remove it on every path.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(fs::path file) : file_(std::move(file))
    {
        EXPECT_TRUE(SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    ~ReadOnlyFile() { SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_NORMAL); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

private:
    fs::path file_;
};

// A save that does not land for another reason than a held file is told as well, once, over the
// window, naming the file and why; the program then ends as usual, and what was on the disk stays
// as it was. So is a damaged workspace that could not be copied aside, at the start: nothing of
// that session is saved over it.
TEST_F(SheafinProgram, ASaveThatDoesNotLandIsToldOnceNamingTheFileAndWhy)
{
    const fs::path quillora = profile.RoamingAppData() / L"quillora";
    const std::string damaged = "<?xml version=\"1.0\"?><Settings dirty=\"true\"><View></Settings>";
    struct Case
    {
        const char* name;
        // Makes the case's disk; gives back what undoes it.
        std::function<std::shared_ptr<void>()> prepare;
        // What the box at the start says, when one shows then; what the box at the close says, when
        // one shows then.
        std::vector<std::wstring> toldAtStart;
        std::vector<std::wstring> toldAtClose;
        // What stays on the disk.
        std::function<void()> check;
        // The name of the box's picture.
        const wchar_t* picture;
    };
    std::string stored;
    const std::vector<Case> cases = {
        {"a read-only file",
         [&] {
             WriteWorkspace({L"notes.txt"});
             stored = Bytes(SettingsFile());
             return std::make_shared<ReadOnlyFile>(SettingsFile());
         },
         {},
         {L"The settings could not be saved to " + SettingsFile().wstring() + L": ",
          L"\r\n\r\nThe file was left as it was."},
         [&] { EXPECT_EQ(Bytes(SettingsFile()), stored); },
         L"settings-not-saved-read-only"},
        {"a settings folder that cannot be made (a file has its name)",
         [&] {
             fs::remove_all(quillora);
             std::ofstream(quillora, std::ios::binary) << "not a folder";
             return std::shared_ptr<void>(nullptr, [&](void*) {
                 std::error_code error;
                 fs::remove(quillora, error);
             });
         },
         {},
         {L"The settings could not be saved to " + SettingsFile().wstring() + L": its folder " +
          (quillora / L"sheafin").wstring() + L" is missing and could not be made."},
         [&] {
             EXPECT_TRUE(fs::is_regular_file(quillora));
             EXPECT_EQ(Bytes(quillora), "not a folder");
         },
         L"settings-not-saved-no-folder"},
        {"a damaged file that cannot be copied aside (a folder has the copy's name)",
         [&] {
             fs::create_directories(SettingsFile().parent_path());
             std::ofstream(SettingsFile(), std::ios::binary) << damaged;
             const fs::path kept = GetUnreadableSettingsPath(SettingsFile().wstring());
             fs::create_directories(kept);
             return std::shared_ptr<void>(nullptr, [kept](void*) {
                 std::error_code error;
                 fs::remove_all(kept, error);
             });
         },
         {L"The settings file " + SettingsFile().wstring() + L" is damaged or cut off",
          L", and no copy of it could be kept as " + GetUnreadableSettingsPath(SettingsFile().wstring()) + L": ",
          L"the changes of this session will not be saved."},
         {},
         [&] { EXPECT_EQ(Bytes(SettingsFile()), damaged); },
         L"settings-damaged-not-kept"},
    };
    std::unique_ptr<Harness::Program> sheafin;
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        const std::shared_ptr<void> undo = test.prepare();
        const auto told = [&](const std::vector<std::wstring>& expected, const wchar_t* picture) {
            const std::vector<HWND> boxes = ErrorBoxesOf(*sheafin, 20s);
            ASSERT_EQ(boxes.size(), 1u) << "nothing said that the settings are not kept";
            const std::wstring text = BoxText(boxes[0]);
            for (const std::wstring& part : expected)
                EXPECT_NE(text.find(part), std::wstring::npos) << WideToUtf8(part) << " in\n" << WideToUtf8(text);
            Harness::SaveWindow(boxes[0], picture);
            Dismiss(boxes[0]);
        };
        sheafin = Start();
        const HWND window = MainWindowOf(*sheafin);
        ASSERT_NE(window, nullptr);
        if (!test.toldAtStart.empty())
            told(test.toldAtStart, test.picture);
        Harness::PostCommand(window, 40014); // Insert file content: a change to save
        ASSERT_TRUE(Harness::WaitUntil([&] {
            return Checked(Harness::Child(window, L"Button", L"Insert file &content (text, printout, image)"));
        }));
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (!test.toldAtClose.empty())
            told(test.toldAtClose, test.picture);
        // A second box would hold the program up.
        EXPECT_EQ(sheafin->WaitForExit(20s), std::optional<DWORD>(0)) << WhatItShows(*sheafin, LogFile());
        sheafin.reset();
        test.check();
    }
}

// Windows gives a program about five seconds to answer the end of the session before it tells the
// user that the program holds up the sign-out. A workspace held by another program then is not
// waited for: it stays as it was, and the log says so.
TEST_F(SheafinProgram, TheEndOfTheSessionAnswersWellWithinWindowsPatienceWhenTheWorkspaceIsHeld)
{
    WriteWorkspace({L"notes.txt"});
    const std::string stored = Bytes(SettingsFile());
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40014);
    ASSERT_TRUE(Harness::WaitUntil(
        [&] { return Checked(Harness::Child(window, L"Button", L"Insert file &content (text, printout, image)")); }));
    const Harness::HeldFile held(SettingsFile(), Harness::HeldFile::Sharing::Read);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 20000, &answer));
    const auto taken = std::chrono::steady_clock::now() - started;
    EXPECT_LT(taken, 2500ms) << std::chrono::duration<double>(taken).count() << " s";
    const Owners::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, sheafin->ProcessId()));
    ASSERT_TRUE(process);
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 10000);
    EXPECT_EQ(Bytes(SettingsFile()), stored);
    const std::vector<std::wstring> entries = LogEntries(LogFile());
    EXPECT_TRUE(Contains(entries, L"The settings file " + SettingsFile().wstring() +
                                      L" is held by another program; there is no time to wait for it"));
    EXPECT_EQ(CountStartingWith(entries, L"ERROR: The settings could not be saved to " + SettingsFile().wstring()), 1u)
        << WideToUtf8(Harness::ReadLogFile(LogFile()));
}

class SheafinUpdateCheck : public SheafinProgram
{
protected:
    SheafinUpdateCheck() : scenario(BatchImportIdentity()) {}

    size_t VersionRequests() const
    {
        size_t count = 0;
        for (const auto& request : scenario.Requests())
            count += request.name == "getVersion";
        return count;
    }

    UpdateTest::ServiceScenario scenario;
};

TEST_F(SheafinUpdateCheck, ACheckAWeekOldRunsAtStartAndIsStampedAgain)
{
    scenario.Set("getVersion.body", "1.3.0");
    WriteWorkspace({L"notes.txt"}, [](Importer::Settings& settings) { settings.lastUpdateCheck = DaysAgo(8); });
    auto sheafin = Start();
    ASSERT_NE(MainWindowOf(*sheafin), nullptr);
    EXPECT_TRUE(Harness::WaitUntil([&] { return Contains(LogEntries(LogFile()), L"No updates found"); }, 20s));
    EXPECT_EQ(sheafin->Close(), 0u);
    EXPECT_EQ(1u, VersionRequests());
    const auto entries = LogEntries(LogFile());
    EXPECT_TRUE(Contains(entries, L"Checking for updates"));
    const Importer::Settings saved = ReadSettings();
    ASSERT_TRUE(saved.lastUpdateCheck);
    EXPECT_LT(AgeInSeconds(*saved.lastUpdateCheck), 600u);
}

TEST_F(SheafinUpdateCheck, ACheckStampedLaterThanNowRunsAtStartAndIsStampedAgain)
{
    scenario.Set("getVersion.body", "1.3.0");
    // Stamped by a clock that was a year ahead once.
    WriteWorkspace({L"notes.txt"}, [](Importer::Settings& settings) { settings.lastUpdateCheck = DaysAgo(-365); });
    auto sheafin = Start();
    ASSERT_NE(MainWindowOf(*sheafin), nullptr);
    EXPECT_TRUE(Harness::WaitUntil([&] { return Contains(LogEntries(LogFile()), L"No updates found"); }, 20s));
    EXPECT_EQ(sheafin->Close(), 0u);
    EXPECT_EQ(1u, VersionRequests());
    const Importer::Settings saved = ReadSettings();
    ASSERT_TRUE(saved.lastUpdateCheck);
    // Stamped now: neither in the future any more nor long ago.
    FILETIME stamp{};
    ASSERT_TRUE(SystemTimeToFileTime(&*saved.lastUpdateCheck, &stamp));
    FILETIME inAMinute{};
    const SYSTEMTIME minuteAhead = DateTime().AddSeconds(60).ToUtcSystemTime();
    ASSERT_TRUE(SystemTimeToFileTime(&minuteAhead, &inAMinute));
    EXPECT_LT(CompareFileTime(&stamp, &inAMinute), 0);
    EXPECT_LT(AgeInSeconds(*saved.lastUpdateCheck), 600u);
}

TEST_F(SheafinUpdateCheck, ACheckSixDaysOldIsNotRepeated)
{
    scenario.Set("getVersion.body", "1.4.0");
    WriteWorkspace({L"notes.txt"}, [](Importer::Settings& settings) { settings.lastUpdateCheck = DaysAgo(6); });
    auto sheafin = Start();
    ASSERT_NE(MainWindowOf(*sheafin), nullptr);
    // The program decides on the check before it logs the workspace as loaded, and posts a check it
    // makes to its window before the close that comes after; the window's end waits for its
    // background work.
    EXPECT_TRUE(Harness::WaitUntil([&] { return Contains(LogEntries(LogFile()), L"Loaded workspace"); }, 20s));
    EXPECT_EQ(sheafin->Close(), 0u);
    EXPECT_EQ(0u, VersionRequests());
    EXPECT_FALSE(Contains(LogEntries(LogFile()), L"Checking for updates"));
    EXPECT_GT(AgeInSeconds(*ReadSettings().lastUpdateCheck), 5u * 86400u);
}

TEST_F(SheafinUpdateCheck, AFailedCheckIsNoUpdateAndWaitsAWeekToo)
{
    scenario.Set("getVersion.status", "500");
    WriteWorkspace({L"notes.txt"}, [](Importer::Settings& settings) { settings.lastUpdateCheck = DaysAgo(30); });
    auto sheafin = Start();
    ASSERT_NE(MainWindowOf(*sheafin), nullptr);
    EXPECT_TRUE(Harness::WaitUntil([&] { return Contains(LogEntries(LogFile()), L"No updates found"); }, 20s));
    EXPECT_EQ(sheafin->Close(), 0u);
    EXPECT_LT(AgeInSeconds(*ReadSettings().lastUpdateCheck), 600u);
}

TEST_F(SheafinUpdateCheck, ANewerVersionIsDownloadedAndStartedAndTheProgramEnds)
{
    scenario.Set("getVersion.body", "1.4.0");
    scenario.SetFile("getFile.file", UpdateTest::TestProgram());
    // The Downloads folder follows the program's profile where the prefix names it by the user's
    // profile folder; otherwise it is the prefix's own.
    const fs::path candidates[] = {fs::path(GetKnownFolderPath(FOLDERID_Downloads)) / L"Sheafin.x86.exe",
                                   profile.Root() / L"Downloads" / L"Sheafin.x86.exe"};
    std::error_code ignored;
    for (const fs::path& candidate : candidates)
        fs::remove(candidate.wstring() + L".args", ignored);
    WriteWorkspace({L"notes.txt"}, [](Importer::Settings& settings) { settings.lastUpdateCheck = DaysAgo(8); });
    auto sheafin = Start();
    ASSERT_NE(MainWindowOf(*sheafin), nullptr);
    fs::path downloaded;
    EXPECT_TRUE(Harness::WaitUntil(
        [&] {
            for (const fs::path& candidate : candidates)
                if (fs::exists(candidate.wstring() + L".args"))
                    downloaded = candidate;
            return !downloaded.empty();
        },
        30s))
        << WhatItShows(*sheafin, LogFile());
    const std::wstring commandLine = downloaded.empty() ? L"" : UpdateTest::WaitForRecordedCommandLine(downloaded);
    EXPECT_NE(commandLine.find(L"/install \"" + SheafinExe().wstring() + L"\" 1.3.0"), std::wstring::npos)
        << testing::PrintToString(fs::path(commandLine).string());
    EXPECT_EQ(sheafin->WaitForExit(20s), std::optional<DWORD>(0));
    EXPECT_TRUE(Contains(LogEntries(LogFile()), L"Update found, installing"));
    if (!downloaded.empty())
    {
        fs::remove(downloaded, ignored);
        fs::remove(downloaded.wstring() + L".args", ignored);
    }
}

TEST_F(SheafinUpdateCheck, CheckForUpdatesOpensTheOptionsOnTheirUpdatesPage)
{
    scenario.Set("getVersion.body", "1.3.0");
    WriteWorkspace({L"notes.txt"});
    auto sheafin = Start();
    const HWND window = MainWindowOf(*sheafin);
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40023);
    HWND options = nullptr;
    ASSERT_TRUE(Harness::WaitUntil([&] {
        return (options = FindWindowW(L"Quillora Window", L"Quillora Batch File Import Options")) != nullptr;
    }));
    EXPECT_TRUE(Harness::WaitUntil([&] { return Shows(options, L"Button", L"Check for &Updates"); }));
    PostMessageW(Harness::Child(options, L"Button", L"Check for &Updates"), BM_CLICK, 0, 0);
    EXPECT_TRUE(Harness::WaitUntil([&] { return Shows(options, L"Static", L"No updates found"); }, 20s));
    Harness::SaveWindow(options, L"options-updates");
    PostMessageW(options, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Harness::WaitUntil([&] { return !IsWindow(options); }));
    EXPECT_EQ(sheafin->Close(), 0u);
}
