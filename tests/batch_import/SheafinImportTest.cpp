// The real Sheafin.exe importing into the OneNote stand-in (in its own process, sharing this test's
// store): the path reference commands, the import settings menu, the target picker, starting,
// following, stopping and closing during a run, its prompts and failures, and the pages it leaves.
#include "batch_import/SettingsFile.h"
#include "batch_import/WorkspaceConversion.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "framework/xml/XmlDocument.h"
#include "onenote_model/OneNoteModel.h"
#include "standins/office/PdfWriter.h"
#include "tests/batch_import/DemoSectionTest.h"
#include "tests/batch_import/LabelFit.h"
#include "tests/batch_import/SheafinLoopback.h"
#include "tests/batch_import/StoredPages.h"
#include "tests/batch_import/WindowLooks.h"
#include "tests/support/FileDropList.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/StandInSession.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>
#include <regex>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{
using SheafinLoopback::SheafinExe;
using SheafinLoopback::Title;

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class SheafinImport : public DemoSectionTest
{
protected:
    SheafinImport() : redirect_(profile_) {}

    void SetUp() override
    {
        DemoSectionTest::SetUp();
        files_ = profile_.Root() / L"Files";
        fs::create_directories(files_);
        for (const wchar_t* name : {L"notes.txt", L"todo.txt", L"more.txt"})
            std::ofstream(files_ / name, std::ios::binary) << "Some text of " << WideToUtf8(name);
    }

    // The stand-in's answers from now on; the store stays as it is.
    void Scenario(const std::string& text) { WriteScenario(text); }

    struct Workspace
    {
        std::vector<std::wstring> paths;
        int32_t outputFormat = 0;
        bool withTarget = false;
        std::wstring theme = L"light";
        int32_t originalPath = Config::NoOriginalPath;
        // The files' text or printout pictures besides the attachments.
        bool content = false;
        // The target is the notebook of the section: a page per file then goes into a new section.
        bool intoNotebook = false;
    };

    void WriteWorkspace(const Workspace& workspace)
    {
        Importer::Settings settings{Importer::Settings::DefaultsOnly{}};
        Config config;
        config.importFormat.fileAttachment = true;
        config.importFormat.originalPath = workspace.originalPath;
        config.importFormat.fileContent = workspace.content;
        config.outputFormat = workspace.outputFormat;
        for (const std::wstring& path : workspace.paths)
            config.entries.push_back({path, {}, 0, 0});
        std::wstring notebookName;
        if (workspace.withTarget && workspace.intoNotebook)
        {
            auto application = Connect();
            const std::wstring notebookId = FirstId(Hierarchy(application, L"", ON16::hsSections), L"Notebook");
            notebookName = AttributeOf(Hierarchy(application, notebookId, ON16::hsSelf), L"Notebook", L"name");
            BSTR link = nullptr;
            EXPECT_EQ(S_OK, application->GetHyperlinkToObject(_bstr_t(notebookId.c_str()), _bstr_t(L""), &link));
            config.location = link ? link : L"";
            SysFreeString(link);
        }
        else if (workspace.withTarget)
            config.location = sectionLink_;
        StoreWorkspaceConfig(settings, config);
        if (workspace.withTarget)
        {
            settings.lastConfig->targetType = workspace.intoNotebook ? 1 : 4;
            settings.lastConfig->targetName = workspace.intoNotebook ? notebookName : sectionName_;
        }
        settings.view.theme = workspace.theme;
        SYSTEMTIME now{};
        GetSystemTime(&now);
        settings.lastUpdateCheck = now;
        const fs::path file = profile_.RoamingAppData() / L"quillora" / L"sheafin" / L"settings.xml";
        fs::create_directories(file.parent_path());
        ASSERT_TRUE(SaveSettingsFile(settings, file.wstring()));
    }

    Importer::Settings SavedSettings() const
    {
        return Importer::Settings((profile_.RoamingAppData() / L"quillora" / L"sheafin" / L"settings.xml").wstring());
    }

    std::wstring File(const wchar_t* name) const { return (files_ / name).wstring(); }

    HWND Start()
    {
        sheafin_ = std::make_unique<Harness::Program>(
            Harness::StartOptions{.program = SheafinExe(), .arguments = L"", .profile = &profile_, .environment = {}});
        HWND found = nullptr;
        Harness::WaitUntil(
            [&] {
                for (const HWND window : sheafin_->TopLevelWindows())
                    if (Harness::ClassOf(window) == L"Quillora Window" && Harness::TextOf(window) == Title &&
                        IsWindowVisible(window))
                        found = window;
                return found != nullptr || !sheafin_->IsRunning();
            },
            20s);
        if (!found)
            for (const HWND window : sheafin_->TopLevelWindows())
                ADD_FAILURE() << "window " << WideToUtf8(Harness::ClassOf(window)) << " \""
                              << WideToUtf8(Harness::TextOf(window)) << "\" visible " << IsWindowVisible(window);
        return found;
    }

    // Start with the prefix's screen at dpi for the program's start only: every program of the
    // prefix shares it.
    HWND StartAtDpi(int dpi)
    {
        Owners::RegistryKey key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            key.put(), nullptr) != ERROR_SUCCESS)
            return nullptr;
        const DWORD value = static_cast<DWORD>(dpi);
        if (dpi != 96)
            RegSetValueExW(key.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        const HWND window = Start();
        if (dpi != 96)
            RegDeleteValueW(key.get(), L"LogPixels");
        return window;
    }

    // A top-level window of the program with this title, once it shows.
    HWND WaitForDialog(const std::wstring& title, std::chrono::milliseconds timeout = 20s) const
    {
        return sheafin_->WaitForShownWindowTitled(title, timeout);
    }

    // The status label of the run (the large one, beside the Start button).
    static std::wstring Status(HWND window)
    {
        std::wstring shown;
        for (const HWND label : Harness::Children(window, L"Static"))
        {
            const std::wstring text = Harness::TextOf(label);
            if (IsWindowVisible(label) &&
                (text.starts_with(L"(") || text.starts_with(L"Imported") || text.starts_with(L"Import failed") ||
                 text == L"Cancelled" || text == L"Stopping import..." || text == L"Starting Import..." ||
                 text == WaitingText))
                shown = text;
        }
        return shown;
    }

    // The status while a stopped run waits for OneNote as it ends.
    static constexpr const wchar_t* WaitingText = L"Waiting for OneNote... Press Stop again to stop waiting.";

    // A message box or prompt of the program titled "Error", "Import Finished" or "Import
    // Cancelled", once one shows.
    HWND WaitForBox(std::chrono::milliseconds timeout = 60s) const
    {
        HWND found = nullptr;
        Harness::WaitUntil(
            [&] {
                for (const HWND window : sheafin_->TopLevelWindows())
                    if (IsWindowVisible(window) &&
                        (Harness::TextOf(window) == L"Error" || Harness::TextOf(window) == L"Import Finished" ||
                         Harness::TextOf(window) == L"Import Cancelled"))
                        found = window;
                return found != nullptr || !sheafin_->IsRunning();
            },
            timeout);
        return found;
    }

    bool WaitForStatus(HWND window, const std::function<bool(const std::wstring&)>& wanted,
                       std::chrono::milliseconds timeout = 30s) const
    {
        return Harness::WaitUntil([&] { return wanted(Status(window)); }, timeout);
    }

    size_t CallCount(const std::wstring& method) const
    {
        size_t count = 0;
        for (const auto& call : Calls())
            count += call.method == method;
        return count;
    }

    std::vector<std::wstring> ArgumentsOf(const std::wstring& method) const
    {
        for (const auto& call : Calls())
            if (call.method == method)
                return call.arguments;
        return {};
    }

    // Opens the import settings menu, takes its picture and picks an item by its access key.
    bool PickFromImportSettings(HWND window, wchar_t key, const std::wstring& picture) const
    {
        const auto shownMenu = [window] {
            Harness::PostCommand(window, 40012);
            HWND popup = nullptr;
            Harness::WaitUntil([&] { return (popup = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(popup); });
            return popup && IsWindowVisible(popup) ? popup : nullptr;
        };
        // Wine never puts the first popup menu of a process on the display (its picture stays
        // black, and the display shows what is behind it): that one is closed, and the next one
        // pictured.
        if (const HWND first = menuShown_ ? nullptr : shownMenu())
        {
            PostMessageW(first, WM_KEYDOWN, VK_ESCAPE, 0);
            if (!Harness::WaitUntil([&] { return !IsWindowVisible(first); }, 5s))
                return false;
        }
        const HWND popup = shownMenu();
        if (!popup)
            return false;
        menuShown_ = true;
        Harness::SaveWindow(popup, picture);
        PostMessageW(popup, WM_CHAR, key, 1);
        return Harness::WaitUntil([&] { return !IsWindowVisible(popup); }, 5s);
    }

    // Three files into the section, with OneNote busy for its first saves; the window once its
    // status shows the first report, null when it does not.
    HWND StartSlowRun(int busyAnswers)
    {
        Scenario("busy UpdatePageContent " + std::to_string(busyAnswers) + "\n");
        WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt"), File(L"more.txt")}, .outputFormat = 1,
                        .withTarget = true});
        const HWND window = Start();
        if (!window)
            return nullptr;
        Harness::PostCommand(window, 40036);
        return WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"("); }) ? window : nullptr;
    }

    static void Press(HWND dialog, const std::wstring& caption)
    {
        PostMessageW(Harness::Child(dialog, L"Button", caption), BM_CLICK, 0, 0);
    }

    // The text of a message box's or prompt's labels.
    static std::wstring TextOfBox(HWND box)
    {
        std::wstring text;
        for (const HWND label : Harness::Children(box, L"SysLink"))
            text += Harness::TextOf(label);
        return text;
    }

    // The sections of the demo store named name, or name followed by more.
    size_t SectionsNamed(const std::wstring& name)
    {
        auto application = Connect();
        const std::wstring sections = Hierarchy(application, L"", ON16::hsSections);
        size_t count = 0;
        for (size_t at = sections.find(L"name=\"" + name); at != std::wstring::npos;
             at = sections.find(L"name=\"" + name, at + 1))
            ++count;
        return count;
    }

    // A picture of Sheafin's window while a question of the run shows over it. Wine, with no
    // window manager, brings no window forward on the display while a window it owns shows, so
    // OneNote's window, which the run brought forward, is set aside first, as a person would.
    static void SaveUnderItsQuestion(HWND window, const std::wstring& name)
    {
        if (const HWND oneNote = FindWindowW(L"QuilloraOneNoteStandInWindow", nullptr); oneNote && IsWindowVisible(oneNote))
            ShowWindow(oneNote, SW_SHOWMINNOACTIVE);
        Harness::SaveWindow(window, name);
    }

    Harness::Profile profile_;
    Harness::ShellFolderRedirect redirect_;
    std::unique_ptr<Harness::Program> sheafin_;
    fs::path files_;
    // Whether the test's Sheafin has shown a popup menu (see PickFromImportSettings).
    mutable bool menuShown_ = false;
};
} // namespace

TEST_F(SheafinImport, PathReferenceCommandsSwitchBetweenNoneTextAndLink)
{
    WriteWorkspace({.paths = {File(L"notes.txt")}});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    const HWND box = Harness::Child(window, L"Button", L"Insert origina&l file path as");
    const HWND combo = Harness::Children(window, L"ComboBox").front();
    const auto kind = [&] {
        return !Checked(box) ? 0 : SendMessageW(combo, CB_GETCURSEL, 0, 0) == 0 ? 1 : 2;
    };
    std::vector<int> seen{kind()};
    Harness::PostCommand(window, 40016); // Ctrl+T
    Harness::WaitUntil([&] { return kind() == 1; }, 5s);
    seen.push_back(kind());
    Harness::PostCommand(window, 40016);
    Harness::WaitUntil([&] { return kind() == 0; }, 5s);
    seen.push_back(kind());
    EXPECT_EQ((std::vector<int>{0, 1, 0}), seen);

    Harness::PostCommand(window, 40016);
    Harness::WaitUntil([&] { return kind() == 1; }, 5s);
    Harness::PostCommand(window, 40017); // Ctrl+L while plain text is set
    EXPECT_TRUE(Harness::WaitUntil([&] { return kind() == 2; }, 5s));

    // The combo box's "hyperlink" after "plain text".
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_TRUE(Harness::WaitUntil([&] { return kind() == 1; }, 5s));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_TRUE(Harness::WaitUntil([&] { return kind() == 2; }, 5s));
    EXPECT_EQ(0u, sheafin_->Close());
    EXPECT_EQ(Config::HyperlinkPath, LoadWorkspaceConfig(SavedSettings()).importFormat.originalPath);
}

TEST_F(SheafinImport, PickerShowsSectionsForAPagePerFileAndTheChosenSectionBecomesTheTargetLink)
{
    Scenario("quickfiling 0 " + WideToUtf8(sectionId_) + " 200\n");
    WriteWorkspace({.paths = {File(L"notes.txt")}, .outputFormat = 1});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    // The import settings menu's last item opens the picker.
    ASSERT_TRUE(PickFromImportSettings(window, L'k', L"menu-without-target"));
    ASSERT_TRUE(Harness::WaitUntil([&] { return CallCount(L"Callback.OnDialogClosed") == 1; }, 20s));
    EXPECT_EQ((std::vector<std::wstring>{L"Choose Target Location"}), ArgumentsOf(L"QuickFilingDialog.put_Title"));
    EXPECT_EQ((std::vector<std::wstring>{L"Choose a location to import files"}),
              ArgumentsOf(L"QuickFilingDialog.put_Description"));
    EXPECT_EQ((std::vector<std::wstring>{L"4"}), ArgumentsOf(L"QuickFilingDialog.put_TreeDepth"));
    EXPECT_EQ((std::vector<std::wstring>{L"Select Import Location", L"7", L"0", L"true"}),
              ArgumentsOf(L"QuickFilingDialog.AddButton"));
    EXPECT_EQ((std::vector<std::wstring>{std::to_wstring(reinterpret_cast<ULONG_PTR>(window))}),
              ArgumentsOf(L"QuickFilingDialog.put_ParentWindowHandle"));

    HWND label = nullptr;
    ASSERT_TRUE(Harness::WaitUntil([&] {
        for (const HWND link : Harness::Children(window, L"SysLink"))
            if (IsWindowVisible(link))
                label = link;
        return label != nullptr;
    }));
    EXPECT_EQ(L"Import into Section: <A HREF=\"" + sectionLink_ + L"\">" + sectionName_ + L"</A>",
              Harness::TextOf(label));
    Harness::SaveWindow(window, L"target");

    // The menu's switches act on the window: "Insert as file &attachment" was on.
    const HWND attachment = Harness::Child(window, L"Button", L"Insert as file &attachment");
    ASSERT_TRUE(Checked(attachment));
    ASSERT_TRUE(PickFromImportSettings(window, L'a', L"menu-with-target"));
    EXPECT_TRUE(Harness::WaitUntil([&] { return !Checked(attachment); }, 5s));
    EXPECT_EQ(0u, sheafin_->Close());
    EXPECT_EQ(sectionLink_, LoadWorkspaceConfig(SavedSettings()).location);
}

TEST_F(SheafinImport, ASinglePageFormatLetsThePickerShowPagesAndCancellingChangesNothing)
{
    Scenario("quickfiling 1 - 200\n");
    WriteWorkspace({.paths = {File(L"notes.txt")}});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(Harness::WaitUntil([&] { return CallCount(L"Callback.OnDialogClosed") == 1; }, 20s));
    EXPECT_EQ((std::vector<std::wstring>{L"8"}), ArgumentsOf(L"QuickFilingDialog.put_TreeDepth"));
    EXPECT_EQ((std::vector<std::wstring>{L"Select Import Location", L"15", L"0", L"true"}),
              ArgumentsOf(L"QuickFilingDialog.AddButton"));
    ASSERT_TRUE(Harness::HandledWhatWasPosted(window));
    EXPECT_EQ(L"", Status(window)) << "no import started";
    EXPECT_EQ(0u, CallCount(L"UpdatePageContent"));
    EXPECT_EQ(0u, sheafin_->Close());
}

TEST_F(SheafinImport, StartWithoutATargetPicksOneAndThenImportsIntoIt)
{
    Scenario("quickfiling 0 " + WideToUtf8(sectionId_) + " 200\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt")}, .outputFormat = 1,
                    .originalPath = Config::HyperlinkPath});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 60s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(L"Imported 2 items", Status(window));
    Harness::SaveWindow(window, L"imported");

    auto application = Connect();
    const std::wstring pages = Hierarchy(application, sectionId_, ON16::hsPages);
    for (const wchar_t* name : {L"notes.txt", L"todo.txt"})
    {
        const std::wstring id = FirstId(pages, L"Page", name);
        ASSERT_FALSE(id.empty()) << WideToUtf8(name);
        EXPECT_TRUE(IsValid(Content(application, id), ON16::xs2013, name));
    }
    EXPECT_EQ(0u, sheafin_->Close());
}

// A log-off that another program calls off ends with WM_ENDSESSION saying FALSE: Sheafin goes on,
// and its next run imports.
TEST_F(SheafinImport, ARunAfterASessionEndThatIsCalledOffImports)
{
    Scenario("quickfiling 0 " + WideToUtf8(sectionId_) + " 200\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt")}, .outputFormat = 1,
                    .originalPath = Config::HyperlinkPath});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported") || s == L"Cancelled"; },
                              60s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(L"Imported 2 items", Status(window));
    EXPECT_EQ(0u, sheafin_->Close());
}

TEST_F(SheafinImport, StopDuringARunSaysStoppingThenCancelled)
{
    auto application = Connect();
    const std::set<std::wstring> before = StoredPages::PageIds(*application);
    // OneNote answers busy twice, so the first page takes seconds: time enough to stop.
    const HWND window = StartSlowRun(2);
    ASSERT_NE(window, nullptr);
    Harness::SaveWindow(window, L"running");
    Harness::PostCommand(window, 40037);
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Stopping import..."; }, 5s));
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Cancelled"; }, 60s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(nullptr, WaitForDialog(L"Error", 1s)) << "a stop is no error";
    EXPECT_EQ(0u, sheafin_->Close());

    // The stop came during the first file: what the run kept is that file's page, whole, or nothing;
    // nothing of the files after it.
    const std::vector<std::wstring> kept = StoredPages::NewPages(*application, before);
    const std::vector<std::wstring> first{sectionName_ + L" / notes.txt: notes.txt \"Some text of notes.txt\""};
    EXPECT_TRUE(kept.empty() || kept == first) << testing::PrintToString(kept);
}

TEST_F(SheafinImport, ClosingDuringARunAsksAndNoKeepsItRunningWhileYesEndsTheProgram)
{
    const HWND window = StartSlowRun(20);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND question = WaitForDialog(L"Import in Progress");
    ASSERT_NE(question, nullptr);
    Press(question, L"&No");
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(question); }));
    EXPECT_TRUE(sheafin_->IsRunning());
    EXPECT_TRUE(Status(window).starts_with(L"(")) << "still importing";

    PostMessageW(window, WM_CLOSE, 0, 0);
    question = WaitForDialog(L"Import in Progress");
    ASSERT_NE(question, nullptr);
    Press(question, L"&Yes");
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->WaitForExit(30s));
}

TEST_F(SheafinImport, WhileARunGoesOnTheListShowsThatItTakesNoDropAndAddsNothing)
{
    // OneNote answers busy twice, so the first page takes seconds: the drop comes meanwhile.
    const HWND window = StartSlowRun(2);
    ASSERT_NE(window, nullptr);
    const HWND list = Harness::Children(window, L"SysListView32").front();
    const auto rows = [&] { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); };
    ASSERT_EQ(3, rows());
    const HRESULT ole = OleInitialize(nullptr);
    ASSERT_TRUE(Harness::BringToFront(window));
    RECT bounds{};
    GetWindowRect(list, &bounds);
    SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    DWORD effect = DROPEFFECT_COPY;
    DropFilesAtCursor({File(L"notes.txt")}, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    if (SUCCEEDED(ole))
        OleUninitialize();
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect) << "the cursor said the list would take the files";
    EXPECT_TRUE(Status(window).starts_with(L"(")) << "dropped during the run: " << WideToUtf8(Status(window));

    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 60s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(L"Imported 3 items", Status(window));
    EXPECT_EQ(3, rows()) << "the dropped file is not listed";
    EXPECT_EQ(0u, sheafin_->Close());
}

TEST_F(SheafinImport, AVanishedFileIsAskedAboutAndRetryAsksAgainWhileSkipGoesOn)
{
    auto application = Connect();
    const std::set<std::wstring> before = StoredPages::PageIds(*application);
    WriteWorkspace({.paths = {File(L"gone.txt"), File(L"notes.txt")}, .outputFormat = 1, .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    HWND prompt = WaitForDialog(L"Error");
    ASSERT_NE(prompt, nullptr);
    std::wstring text;
    for (const HWND label : Harness::Children(prompt, L"SysLink"))
        text += Harness::TextOf(label);
    EXPECT_NE(std::wstring::npos, text.find(L"Import of file \"" + File(L"gone.txt") + L"\" failed with:"));
    EXPECT_NE(std::wstring::npos, text.find(L"File or folder does not exist"));
    EXPECT_NE(std::wstring::npos, text.find(L"How would you like to proceed?"));
    Harness::SaveWindow(prompt, L"prompt");
    Press(prompt, L"  &Retry this file");
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(prompt); }));
    prompt = WaitForDialog(L"Error");
    ASSERT_NE(prompt, nullptr) << "the same file fails again";
    Press(prompt, L"  S&kip this file");
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 60s));
    EXPECT_EQ(L"Imported 1 item", Status(window)) << "the skipped file is not counted";
    EXPECT_EQ(0u, sheafin_->Close());
    // The retries left nothing behind: one page, for the file that was there.
    EXPECT_EQ(std::vector<std::wstring>{sectionName_ + L" / notes.txt: notes.txt \"Some text of notes.txt\""},
              StoredPages::NewPages(*application, before));
}

TEST_F(SheafinImport, StopAtTheErrorPromptEndsAsCancelledKeepingWhatWasImported)
{
    // A page per file, and all files on one page: the file before the stop is kept, the one after
    // it never imported.
    for (const int32_t format : {1, 0})
    {
        SCOPED_TRACE(format == 1 ? "a page per file" : "one page");
        auto application = Connect();
        const std::set<std::wstring> before = StoredPages::PageIds(*application);
        WriteWorkspace({.paths = {File(L"notes.txt"), File(L"gone.txt"), File(L"todo.txt")}, .outputFormat = format,
                        .withTarget = true});
        const HWND window = Start();
        ASSERT_NE(window, nullptr);
        Harness::PostCommand(window, 40036);
        const HWND prompt = WaitForDialog(L"Error");
        ASSERT_NE(prompt, nullptr);
        Press(prompt, L"  &Stop import");
        ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(prompt); }));
        EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Cancelled"; }))
            << WideToUtf8(Status(window));
        EXPECT_EQ(nullptr, WaitForDialog(L"Error", 2s)) << "a stop is no failure";
        Harness::SaveWindow(window, format == 1 ? L"cancelled" : L"cancelled-one-page");
        EXPECT_EQ(0u, sheafin_->Close());

        const std::wstring log = Harness::ReadLogFile(profile_.Temp() / L"Quillora_SHF.log");
        const size_t error = log.find(L"ERROR: ");
        EXPECT_NE(std::wstring::npos, error);
        EXPECT_NE(std::wstring::npos, log.find(L"File or folder does not exist", error)) << "the file's error is logged";
        if (format == 1)
        {
            EXPECT_FALSE(FirstId(Hierarchy(application, sectionId_, ON16::hsPages), L"Page", L"notes.txt").empty())
                << "the file imported before the stop stays";
        }
        const std::wstring page = format == 1 ? L"notes.txt" : L"Files Imported on ...";
        EXPECT_EQ(std::vector<std::wstring>{sectionName_ + L" / " + page + L": notes.txt \"Some text of notes.txt\""},
                  StoredPages::NewPages(*application, before));
    }
}

TEST_F(SheafinImport, ATargetPickedDuringARunLeavesTheRunAndItsDisabledControlsAlone)
{
    // The picker, opened before the run, answers 1.5 s later; OneNote's first save takes 3 s.
    Scenario("busy UpdatePageContent 2\nquickfiling 0 " + WideToUtf8(sectionId_) + " 1500\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt"), File(L"more.txt")}, .outputFormat = 1,
                    .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40021);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(Harness::WaitUntil([&] { return CallCount(L"Callback.OnDialogClosed") == 1; }, 20s));
    ASSERT_TRUE(Harness::HandledWhatWasPosted(window));
    ASSERT_TRUE(Status(window).starts_with(L"(")) << "picked during the run: " << WideToUtf8(Status(window));
    EXPECT_FALSE(IsWindowEnabled(Harness::Child(window, L"Button", L" Start &Import")));
    EXPECT_FALSE(IsWindowEnabled(Harness::Child(window, L"Button", L"Insert as file &attachment")));
    EXPECT_FALSE(IsWindowEnabled(Harness::Child(window, L"Button", L"Pic&k a location to import...")));

    // A theme change and another pick, as their menu items would send them, wait for the run.
    Harness::PostCommand(window, 40031);
    Harness::PostCommand(window, 40021);
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 60s))
        << WideToUtf8(Status(window));
    EXPECT_TRUE(IsWindow(window)) << "the window was not rebuilt";
    EXPECT_EQ(L"Imported 3 items", Status(window));
    EXPECT_EQ(1u, CallCount(L"QuickFilingDialog.Run"));
    EXPECT_EQ(0u, sheafin_->Close());
}

TEST_F(SheafinImport, ANewPageWhoseOneSaveOneNoteRefusesWhileBusyGoesAndTheMessageSaysNothingReachedIt)
{
    auto application = Connect();
    const auto pages = [&] {
        const std::wstring xml = Hierarchy(application, sectionId_, ON16::hsPages);
        size_t count = 0;
        for (size_t at = xml.find(L"<one:Page "); at != std::wstring::npos; at = xml.find(L"<one:Page ", at + 1))
            ++count;
        return count;
    };
    const size_t before = pages();
    // OneNote stays busy (a sync, a large notebook) through every try of the run's one save, and
    // the user stops the waiting.
    Scenario("busy UpdatePageContent 100000\n");
    // Into the section on a single page: a new page of the run's own.
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt")}, .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.ends_with(L"OneNote is processing import..."); }))
        << WideToUtf8(Status(window));
    Harness::PostCommand(window, 40037);
    // The page's content is given up only when the user, asked, stops the import.
    const HWND question = WaitForDialog(L"Error", 60s);
    ASSERT_NE(question, nullptr) << WideToUtf8(Status(window));
    Press(question, L"  &Stop import");
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(question); }));
    const HWND box = WaitForDialog(L"Error", 60s);
    ASSERT_NE(box, nullptr) << WideToUtf8(Status(window));
    const std::wstring text = TextOfBox(box);
    Harness::SaveWindow(box, L"nothing-reached-the-page");
    EXPECT_TRUE(text.starts_with(L"Import failed with:\n\n")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"did not reach OneNote")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"given up when the import was stopped")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"Files Imported on ")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"was removed")) << WideToUtf8(text);
    Press(box, L"&OK");
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Import failed"); }));
    EXPECT_EQ(0u, sheafin_->Close());
    EXPECT_EQ(before, pages()) << "the run's empty page stays";
}

TEST_F(SheafinImport, TheRunsOwnSectionGoesThroughABusySpellAfterAllWasSkippedAndOneThatOneNoteKeepsIsNamed)
{
    const struct
    {
        const char* label;
        // What OneNote does once the user is asked about the file.
        std::string then;
        bool kept;
    } rows[] = {
        {"busy", "busy GetHierarchy 4\n", false},
        {"busy, then refusing", "busy GetHierarchy 4\nfail DeleteHierarchy 0x80004005\n", true},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.label);
        Scenario("# OneNote answers\n");
        WriteWorkspace({.paths = {File(L"gone.txt")}, .outputFormat = 1, .withTarget = true, .intoNotebook = true});
        const HWND window = Start();
        ASSERT_NE(window, nullptr);
        Harness::PostCommand(window, 40036);
        const HWND prompt = WaitForDialog(L"Error", 60s);
        ASSERT_NE(prompt, nullptr) << WideToUtf8(Status(window));
        ASSERT_EQ(1u, SectionsNamed(L"Imported Files"));
        Scenario(row.then);
        Press(prompt, L"  S&kip this file");
        ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(prompt); }));
        if (row.kept)
        {
            const HWND box = WaitForDialog(L"Error", 60s);
            ASSERT_NE(box, nullptr) << WideToUtf8(Status(window));
            const std::wstring text = TextOfBox(box);
            Harness::SaveWindow(box, L"own-section-stays");
            EXPECT_TRUE(text.starts_with(L"Import failed with:\n\n")) << WideToUtf8(text);
            EXPECT_NE(std::wstring::npos, text.find(L"the section \"Imported Files")) << WideToUtf8(text);
            EXPECT_NE(std::wstring::npos, text.find(L"stays")) << WideToUtf8(text);
            Press(box, L"&OK");
        }
        else
        {
            ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 60s))
                << WideToUtf8(Status(window));
            EXPECT_EQ(L"Imported 0 items", Status(window));
        }
        EXPECT_EQ(0u, sheafin_->Close());
        // Busy counts are each process's: this one's calls would be answered busy too.
        Scenario("# read what the run left\n");
        EXPECT_EQ(row.kept ? 1u : 0u, SectionsNamed(L"Imported Files"));
    }
}

namespace
{
// The ID of the first page in hierarchy XML whose name begins with prefix; empty when none does.
std::wstring FirstPageNamedFrom(const std::wstring& xml, const std::wstring& prefix)
{
    const std::wregex page(L"<one:Page [^>]*>");
    for (std::wsregex_iterator it(xml.begin(), xml.end(), page), end; it != end; ++it)
    {
        const std::wstring tag = it->str();
        std::wsmatch id;
        if (tag.find(L" name=\"" + prefix) != std::wstring::npos && std::regex_search(tag, id, std::wregex(L" ID=\"([^\"]*)\"")))
            return id[1];
    }
    return {};
}
} // namespace

TEST_F(SheafinImport, ACompleteImportWhoseEmptySectionOneNoteKeepsEndsImportedAndNamesTheSectionBesideTheCount)
{
    fs::create_directories(files_ / L"Trip");
    std::ofstream(files_ / L"Trip" / L"plan.txt", std::ios::binary) << "The plan";
    // OneNote refuses to remove the section "Imported Files", which the list, starting with a
    // folder of its own section, left empty.
    Scenario("fail DeleteHierarchy 0x80004005\n");
    WriteWorkspace({.paths = {(files_ / L"Trip").wstring()}, .outputFormat = 2, .withTarget = true, .intoNotebook = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    const HWND box = WaitForDialog(L"Import Finished", 60s);
    ASSERT_NE(box, nullptr) << WideToUtf8(Status(window));
    const std::wstring text = TextOfBox(box);
    Harness::SaveWindow(box, L"imported-and-own-section-stays");
    EXPECT_TRUE(text.starts_with(L"Imported 2 items.\n\n")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"the section \"Imported Files\" stays")) << WideToUtf8(text);
    Press(box, L"&OK");
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }));
    EXPECT_EQ(L"Imported 2 items", Status(window));
    EXPECT_EQ(nullptr, WaitForDialog(L"Error", 1s)) << "what the user asked for arrived";
    EXPECT_EQ(0u, sheafin_->Close());
    EXPECT_EQ(1u, SectionsNamed(L"Imported Files"));
    auto application = Connect();
    EXPECT_FALSE(FirstId(Hierarchy(application, L"", ON16::hsPages), L"Page", L"plan.txt").empty());
}

TEST_F(SheafinImport, AStopWhileOneNoteIsProcessingTheImportNamesEveryEmptySectionThatStaysBesideTheCount)
{
    fs::create_directories(files_ / L"Trip");
    fs::create_directories(files_ / L"Empty");
    std::ofstream(files_ / L"Trip" / L"plan.txt", std::ios::binary) << "The plan";
    // OneNote stays busy when the run removes what it left empty, and the user stops the waiting:
    // the empty folder's section and "Imported Files" stay, the folder's with its file is the user's.
    Scenario("busy DeleteHierarchy 100000\n");
    WriteWorkspace({.paths = {(files_ / L"Empty").wstring(), (files_ / L"Trip").wstring()}, .outputFormat = 2,
                    .withTarget = true, .intoNotebook = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.ends_with(L"OneNote is processing import..."); },
                              60s))
        << WideToUtf8(Status(window));
    Harness::PostCommand(window, 40037);
    const HWND box = WaitForDialog(L"Import Finished", 30s);
    ASSERT_NE(box, nullptr) << WideToUtf8(Status(window));
    const std::wstring text = TextOfBox(box);
    EXPECT_TRUE(text.starts_with(L"Imported 3 items.\n\n")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"the section \"Empty\" stays")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"the section \"Imported Files\" stays")) << WideToUtf8(text);
    EXPECT_EQ(std::wstring::npos, text.find(L"\"Trip\"")) << WideToUtf8(text);
    Press(box, L"&OK");
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }));
    EXPECT_EQ(L"Imported 3 items", Status(window));
    EXPECT_EQ(0u, sheafin_->Close());
    Scenario("# read what the run left\n");
    EXPECT_EQ(1u, SectionsNamed(L"Imported Files"));
    auto application = Connect();
    EXPECT_FALSE(FirstId(Hierarchy(application, L"", ON16::hsPages), L"Page", L"plan.txt").empty());
}

TEST_F(SheafinImport, AStopEndsAsImportedOnceTheLastFileIsInAndAsCancelledBeforeWithTheSectionThatStaysBesideEither)
{
    // A folder of two files, each on its page in the folder's own section, into the picked notebook.
    // The user stops while OneNote answers the save of a file's page busy twice, as it does while
    // it syncs; the save finishes all the same. OneNote will not remove the section "Imported
    // Files", which the folder's own section left empty.
    const struct
    {
        const char* label;
        const wchar_t* folder;
        std::pair<const wchar_t*, const wchar_t*> files;
        std::string scenario;
        std::wstring stoppedAt;
        const wchar_t* box;
        const wchar_t* result;
        bool secondArrives;
    } rows[] = {
        {"at the last file", L"Trip", {L"a-note.txt", L"b-note.txt"},
         "failfrom UpdatePageContent 2-3 0x80010001\nfail DeleteHierarchy 0x80004005\n", L"(2/3) b-note.txt",
         L"Import Finished", L"Imported 3 items", true},
        // The page made for the file after the stop is removed, the section is not.
        {"at a file before the last", L"Tour", {L"c-note.txt", L"d-note.txt"},
         "failfrom UpdatePageContent 1-2 0x80010001\nfailfrom DeleteHierarchy 2 0x80004005\n", L"(1/3) c-note.txt",
         L"Import Cancelled", L"Cancelled", false},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.label);
        fs::create_directories(files_ / row.folder);
        for (const wchar_t* name : {row.files.first, row.files.second})
            std::ofstream(files_ / row.folder / name, std::ios::binary) << "Note " << WideToUtf8(name);
        Scenario("# read what is there\n");
        const size_t ownSections = SectionsNamed(L"Imported Files");
        Scenario(row.scenario);
        WriteWorkspace({.paths = {(files_ / row.folder).wstring()}, .outputFormat = 2, .withTarget = true,
                        .intoNotebook = true});
        const HWND window = Start();
        ASSERT_NE(window, nullptr);
        Harness::PostCommand(window, 40036);
        ASSERT_TRUE(WaitForStatus(window, [&](const std::wstring& s) { return s == row.stoppedAt; }, 60s))
            << WideToUtf8(Status(window));
        Harness::PostCommand(window, 40037);
        const HWND box = WaitForBox();
        ASSERT_NE(box, nullptr) << WideToUtf8(Status(window));
        const std::wstring text = TextOfBox(box);
        Harness::SaveWindow(box, row.secondArrives ? L"stopped-at-the-last-file" : L"stopped-before-the-last-file");
        EXPECT_EQ(row.box, Harness::TextOf(box)) << WideToUtf8(text);
        EXPECT_TRUE(text.starts_with(std::wstring(row.result) + L".\n\n")) << WideToUtf8(text);
        EXPECT_NE(std::wstring::npos, text.find(L"the section \"Imported Files")) << WideToUtf8(text);
        Press(box, L"&OK");
        ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported") || s == L"Cancelled"; }));
        EXPECT_EQ(row.result, Status(window));
        EXPECT_EQ(0u, sheafin_->Close());
        // What the result says arrived is there, and the section it names.
        Scenario("# read what the run left\n");
        auto application = Connect();
        const std::wstring pages = Hierarchy(application, L"", ON16::hsPages);
        EXPECT_FALSE(FirstId(pages, L"Page", row.files.first).empty());
        EXPECT_EQ(row.secondArrives, !FirstId(pages, L"Page", row.files.second).empty());
        EXPECT_EQ(ownSections + 1, SectionsNamed(L"Imported Files"));
    }
}

TEST_F(SheafinImport, AFolderWhoseOnlyFileIsSkippedIsNoImportWhenTheSectionsItMadeStay)
{
    fs::create_directories(files_ / L"Trip");
    // Its only file cannot be printed.
    std::ofstream(files_ / L"Trip" / L"broken.pdf", std::ios::binary) << "not a PDF at all";
    WriteWorkspace({.paths = {(files_ / L"Trip").wstring()}, .outputFormat = 2, .withTarget = true, .content = true,
                    .intoNotebook = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    const HWND prompt = WaitForDialog(L"Error", 60s);
    ASSERT_NE(prompt, nullptr) << WideToUtf8(Status(window));
    EXPECT_NE(std::wstring::npos, TextOfBox(prompt).find(L"broken.pdf")) << WideToUtf8(TextOfBox(prompt));
    // From now on OneNote will not remove a section: neither the folder's nor "Imported Files".
    Scenario("fail DeleteHierarchy 0x80004005\n");
    Press(prompt, L"  S&kip this file");
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(prompt); }));
    const HWND box = WaitForBox();
    ASSERT_NE(box, nullptr) << WideToUtf8(Status(window));
    const std::wstring text = TextOfBox(box);
    Harness::SaveWindow(box, L"nothing-imported-sections-stay");
    EXPECT_EQ(L"Error", Harness::TextOf(box)) << WideToUtf8(text);
    EXPECT_TRUE(text.starts_with(L"Import failed with:\n\n")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"the section \"Trip\" stays")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"the section \"Imported Files\" stays")) << WideToUtf8(text);
    Press(box, L"&OK");
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Import failed"); }));
    EXPECT_EQ(0u, sheafin_->Close());
    // No file arrived; the two empty sections are there, as the message says.
    Scenario("# read what the run left\n");
    auto application = Connect();
    EXPECT_TRUE(FirstId(Hierarchy(application, L"", ON16::hsPages), L"Page", L"broken.pdf").empty());
    EXPECT_EQ(1u, SectionsNamed(L"Trip"));
    EXPECT_EQ(1u, SectionsNamed(L"Imported Files"));
}

TEST_F(SheafinImport, AFolderCountsOnlyWhereWhatItMadeStaysAfterItsOnlyFileWasSkipped)
{
    fs::create_directories(files_ / L"deck");
    // Its only file cannot be printed; OneNote answers every call.
    std::ofstream(files_ / L"deck" / L"broken.pdf", std::ios::binary) << "not a PDF at all";
    const struct
    {
        const char* label;
        int32_t outputFormat;
        const wchar_t* result;
        // Whether the run leaves a page named "deck"; it leaves no section of that name.
        bool page;
    } rows[] = {
        // The folder's own section is left empty, and the run removes it.
        {"each printout page on a separate page", 2, L"Imported 0 items", false},
        // The folder's page stays in the run's section.
        {"each file on a separate page", 1, L"Imported 1 item", true},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.label);
        Scenario("# OneNote answers\n");
        const size_t ownSections = SectionsNamed(L"Imported Files");
        WriteWorkspace({.paths = {(files_ / L"deck").wstring()}, .outputFormat = row.outputFormat, .withTarget = true,
                        .content = true, .intoNotebook = true});
        const HWND window = Start();
        ASSERT_NE(window, nullptr);
        Harness::PostCommand(window, 40036);
        const HWND prompt = WaitForDialog(L"Error", 60s);
        ASSERT_NE(prompt, nullptr) << WideToUtf8(Status(window));
        EXPECT_NE(std::wstring::npos, TextOfBox(prompt).find(L"broken.pdf")) << WideToUtf8(TextOfBox(prompt));
        Press(prompt, L"  S&kip this file");
        ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported") || s.starts_with(L"Import failed"); },
                                  60s))
            << WideToUtf8(Status(window));
        EXPECT_EQ(row.result, Status(window));
        EXPECT_EQ(nullptr, WaitForBox(1s)) << "nothing stays to be told";
        EXPECT_EQ(0u, sheafin_->Close());
        auto application = Connect();
        const std::wstring pages = Hierarchy(application, L"", ON16::hsPages);
        EXPECT_EQ(0u, SectionsNamed(L"deck"));
        EXPECT_EQ(row.page, !FirstId(pages, L"Page", L"deck").empty()) << WideToUtf8(pages);
        EXPECT_TRUE(FirstId(pages, L"Page", L"broken.pdf").empty());
        // The run's own section stays where it holds the folder's page.
        EXPECT_EQ(ownSections + (row.page ? 1u : 0u), SectionsNamed(L"Imported Files"));
    }
}

TEST_F(SheafinImport, ASinglePageThatOneNoteDoesNotTakeAfterAStopIsAskedAboutAndRetrySavesIt)
{
    const struct
    {
        const char* label;
        std::vector<std::wstring> files;
        // The user answers "Stop import" at the vanished file's prompt, then stops the page's save.
        bool stopAtThePrompt;
        const wchar_t* result;
        std::wstring kept;
    } rows[] = {
        {"a stop while OneNote is processing the import", {File(L"notes.txt"), File(L"todo.txt")}, false,
         L"Imported 2 items", L"notes.txt \"Some text of notes.txt\" todo.txt \"Some text of todo.txt\""},
        {"a stop at a file's prompt", {File(L"notes.txt"), File(L"gone.txt"), File(L"todo.txt")}, true, L"Cancelled",
         L"notes.txt \"Some text of notes.txt\""},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.label);
        auto application = Connect();
        const std::set<std::wstring> before = StoredPages::PageIds(*application);
        // OneNote stays busy at the page's save for longer than the run waits.
        Scenario(row.stopAtThePrompt ? "# OneNote answers\n" : "busy UpdatePageContent 100000\n");
        WriteWorkspace({.paths = row.files, .withTarget = true});
        const size_t saves = CallCount(L"UpdatePageContent");
        const HWND window = Start();
        ASSERT_NE(window, nullptr);
        Harness::PostCommand(window, 40036);
        if (row.stopAtThePrompt)
        {
            const HWND prompt = WaitForDialog(L"Error", 60s);
            ASSERT_NE(prompt, nullptr) << WideToUtf8(Status(window));
            Scenario("busy UpdatePageContent 100000\n");
            Press(prompt, L"  &Stop import");
            ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(prompt); }));
            // The run, ending, waits for OneNote to take the page.
            ASSERT_TRUE(Harness::WaitUntil([&] { return CallCount(L"UpdatePageContent") > saves; }, 20s));
        }
        else
        {
            ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.ends_with(L"OneNote is processing import..."); }))
                << WideToUtf8(Status(window));
        }
        Harness::PostCommand(window, 40037);
        const HWND question = WaitForDialog(L"Error", 60s);
        ASSERT_NE(question, nullptr) << WideToUtf8(Status(window));
        const std::wstring text = TextOfBox(question);
        EXPECT_NE(std::wstring::npos, text.find(L"has not reached OneNote yet")) << WideToUtf8(text);
        ASSERT_NE(nullptr, Harness::Child(question, L"Button", L"  &Retry saving the page")) << WideToUtf8(text);
        Harness::SaveWindow(question, row.stopAtThePrompt ? L"asked-after-a-stop-answer" : L"asked-after-a-stop");
        // OneNote takes pages again; the user sends the page again.
        Scenario("# OneNote answers\n");
        Press(question, L"  &Retry saving the page");
        ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) {
            return s.starts_with(L"Imported") || s == L"Cancelled" || s.starts_with(L"Import failed");
        }, 60s)) << WideToUtf8(Status(window));
        EXPECT_EQ(row.result, Status(window));
        EXPECT_EQ(nullptr, WaitForDialog(L"Error", 1s));
        EXPECT_EQ(0u, sheafin_->Close());
        EXPECT_EQ(std::vector<std::wstring>{sectionName_ + L" / Files Imported on ...: " + row.kept},
                  StoredPages::NewPages(*application, before));
    }
}

TEST_F(SheafinImport, AStoppedSinglePageRunWithNothingNewOnThePageNeitherSendsItNorAsksAboutIt)
{
    auto application = Connect();
    const std::set<std::wstring> before = StoredPages::PageIds(*application);
    // Into the section on a single page, a new page of the run's own; the first file has gone.
    WriteWorkspace({.paths = {File(L"gone.txt"), File(L"notes.txt")}, .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    const HWND prompt = WaitForDialog(L"Error", 60s);
    ASSERT_NE(prompt, nullptr) << WideToUtf8(Status(window));
    // OneNote would not take a page now: nothing calls for sending one.
    Scenario("busy UpdatePageContent 100000\n");
    const size_t saves = CallCount(L"UpdatePageContent");
    Press(prompt, L"  &Stop import");
    ASSERT_TRUE(Harness::WaitUntil([&] {
        const std::wstring s = Status(window);
        return s == L"Cancelled" || s.starts_with(L"Import") || CallCount(L"UpdatePageContent") > saves;
    }, 60s)) << WideToUtf8(Status(window));
    EXPECT_EQ(saves, CallCount(L"UpdatePageContent")) << "the page was sent again";
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Cancelled"; }, 5s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(nullptr, WaitForBox(1s)) << "a stop with nothing staying is told by the status alone";
    EXPECT_EQ(0u, sheafin_->Close());
    // The run's page, which nothing came into, has gone.
    Scenario("# read what the run left\n");
    EXPECT_EQ(std::vector<std::wstring>{}, StoredPages::NewPages(*application, before));
}

TEST_F(SheafinImport, ABusySpellOfFiveSecondsAtTheLastSaveOfTheSinglePageLosesNothing)
{
    // Three busy answers: OneNote takes the page after five and a half seconds.
    Scenario("busy UpdatePageContent 3\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt")}, .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported") || s.starts_with(L"Import failed"); },
                              60s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(L"Imported 2 items", Status(window));
    EXPECT_EQ(0u, sheafin_->Close());
    Scenario("# read what the run left\n");
    auto application = Connect();
    const std::wstring id = FirstPageNamedFrom(Hierarchy(application, sectionId_, ON16::hsPages), L"Files Imported on ");
    ASSERT_FALSE(id.empty());
    const std::wstring content = Content(application, id);
    for (const wchar_t* name : {L"notes.txt", L"todo.txt"})
        EXPECT_NE(std::wstring::npos, content.find(L"preferredName=\"" + std::wstring(name) + L"\"")) << WideToUtf8(content);
}

TEST_F(SheafinImport, ALastSaveThatOneNoteRefusesAsksToRetryOrStopAndRetrySavesThePage)
{
    Scenario("fail UpdatePageContent 0x80004005\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt")}, .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    const HWND prompt = WaitForDialog(L"Error", 60s);
    ASSERT_NE(prompt, nullptr) << WideToUtf8(Status(window));
    // The question stays in front once the window has shown the run's reports, which bring the
    // program forward: behind its disabled window, it could be neither seen nor answered.
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"(2/2) OneNote is processing import..."; }))
        << WideToUtf8(Status(window));
    DWORD_PTR answered = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answered);
    EXPECT_EQ(GetForegroundWindow(), prompt) << "the question went behind its window";
    const std::wstring text = TextOfBox(prompt);
    Harness::SaveWindow(prompt, L"last-save-prompt");
    EXPECT_NE(std::wstring::npos, text.find(L"What was imported into the page \"Files Imported on ")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"has not reached OneNote yet")) << WideToUtf8(text);
    EXPECT_NE(nullptr, Harness::Child(prompt, L"Button", L"  &Stop import"));
    EXPECT_EQ(nullptr, Harness::Child(prompt, L"Button", L"  S&kip this file")) << "a page is not skipped";
    // OneNote takes pages again; the user retries.
    Scenario("# OneNote answers\n");
    Press(prompt, L"  &Retry saving the page");
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported") || s.starts_with(L"Import failed"); },
                              60s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(L"Imported 2 items", Status(window));
    EXPECT_EQ(0u, sheafin_->Close());
    auto application = Connect();
    const std::wstring id = FirstPageNamedFrom(Hierarchy(application, sectionId_, ON16::hsPages), L"Files Imported on ");
    ASSERT_FALSE(id.empty());
    EXPECT_NE(std::wstring::npos, Content(application, id).find(L"preferredName=\"todo.txt\""));
}

TEST_F(SheafinImport, AfterAStopInABusySpellASecondStopEndsTheWaitingAndTheMessageNamesWhatStays)
{
    // OneNote is slow at the first page and then will not let go of a page for a long time.
    Scenario("busy UpdatePageContent 2\nbusy DeleteHierarchy 100000\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt"), File(L"more.txt")}, .outputFormat = 1,
                    .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"("); }));
    // The window's layout shows one of its two Stop buttons.
    HWND stop = nullptr;
    for (const HWND button : Harness::Children(window, L"Button", L"Stop Import"))
        if (IsWindowVisible(button))
            stop = button;
    ASSERT_NE(stop, nullptr);
    Harness::PostCommand(window, 40037);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Stopping import..."; }, 5s));
    // While the stopped run waits for OneNote, Stop is offered again, and the status says so.
    ASSERT_TRUE(Harness::WaitUntil([&] { return IsWindowEnabled(stop) != FALSE; }, 10s));
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == WaitingText; }, 5s))
        << WideToUtf8(Status(window));
    const auto pressed = std::chrono::steady_clock::now();
    PostMessageW(stop, BM_CLICK, 0, 0);
    const HWND box = WaitForBox(10s);
    ASSERT_NE(box, nullptr) << WideToUtf8(Status(window));
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, 8s);
    const std::wstring text = TextOfBox(box);
    // The user's own stop, not OneNote's busy answer, ended the run.
    EXPECT_EQ(L"Import Cancelled", Harness::TextOf(box)) << WideToUtf8(text);
    EXPECT_TRUE(text.starts_with(L"Cancelled.\n\n")) << WideToUtf8(text);
    EXPECT_EQ(std::wstring::npos, text.find(L"80010001")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"The import was stopped before")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"an untitled page made for \"")) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"stays")) << WideToUtf8(text);
    Press(box, L"&OK");
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Cancelled"; })) << WideToUtf8(Status(window));
    EXPECT_EQ(0u, sheafin_->Close());
}

TEST_F(SheafinImport, ClosingTheWindowOfAStoppedRunThatWaitsForOneNoteEndsTheProcessWithinSecondsNamingWhatStaysInTheLog)
{
    Scenario("busy UpdatePageContent 2\nbusy DeleteHierarchy 100000\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt"), File(L"more.txt")}, .outputFormat = 1,
                    .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"("); }));
    Harness::PostCommand(window, 40037);
    // The stopped run waits while OneNote answers busy to the removal of the page it made.
    ASSERT_TRUE(Harness::WaitUntil([&] { return CallCount(L"DeleteHierarchy") > 0; }, 20s));
    PostMessageW(window, WM_CLOSE, 0, 0);
    const HWND question = WaitForDialog(L"Import in Progress");
    ASSERT_NE(question, nullptr);
    Press(question, L"&Yes");
    EXPECT_EQ(std::optional<DWORD>(0), sheafin_->WaitForExit(10s)) << "the process outlived its window";
    const std::wstring log = Harness::ReadLogFile(profile_.Temp() / L"Quillora_SHF.log");
    EXPECT_NE(std::wstring::npos, log.find(L"untitled page made for")) << WideToUtf8(log);
    EXPECT_NE(std::wstring::npos, log.find(L"stays")) << WideToUtf8(log);
}

// A base element without an address (or with one only in a comment) leaves the file's own folder as
// the base of its pictures; a relative address leads on from that folder.
TEST_F(SheafinImport, AnHtmlFileWhoseBaseElementGivesNoAddressOrARelativeOneShowsThePicturesItLeadsTo)
{
    fs::create_directories(files_ / L"Pages" / L"assets");
    fs::create_directories(files_ / L"Pages" / L"images");
    std::ofstream(files_ / L"Pages" / L"assets" / L"pic.png", std::ios::binary) << "a picture";
    std::ofstream(files_ / L"Pages" / L"images" / L"pic.png", std::ios::binary) << "a picture";
    const struct
    {
        const wchar_t* name;
        const char* head;
        const char* source;
    } pages[] = {
        {L"no-href.htm", "<base target=\"_blank\">", "images/pic.png"},
        {L"empty-href.htm", "<base href=\"\">", "images/pic.png"},
        {L"in-a-comment.htm", "<!-- <base href=\"http://example.org/\"> -->", "images/pic.png"},
        {L"assets-base.htm", "<base href=\"assets/\">", "pic.png"},
        {L"own-folder-base.htm", "<base href=\"./\">", "images/pic.png"},
    };
    std::vector<std::wstring> paths;
    for (const auto& page : pages)
    {
        std::ofstream(files_ / L"Pages" / page.name, std::ios::binary)
            << "<html><head><title>t</title>" << page.head << "</head><body><p>Before</p><img src=\"" << page.source
            << "\"><p>After</p></body></html>";
        paths.push_back((files_ / L"Pages" / page.name).wstring());
    }
    WriteWorkspace({.paths = paths, .outputFormat = 1, .withTarget = true, .content = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 60s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(L"Imported " + std::to_wstring(std::size(pages)) + L" items", Status(window));
    EXPECT_EQ(0u, sheafin_->Close());

    auto application = Connect();
    const std::wstring stored = Hierarchy(application, sectionId_, ON16::hsPages);
    for (const auto& page : pages)
    {
        const std::wstring id = FirstId(stored, L"Page", page.name);
        ASSERT_FALSE(id.empty()) << WideToUtf8(page.name);
        const std::wstring content = Content(application, id);
        EXPECT_NE(std::wstring::npos, content.find(L"<one:Image")) << WideToUtf8(page.name) << "\n" << WideToUtf8(content);
    }
}

TEST_F(SheafinImport, AFailedRunShowsImportFailedWithTheMessageInAnErrorBox)
{
    Scenario("create 0x80080005\n");
    WriteWorkspace({.paths = {File(L"notes.txt")}, .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    const HWND box = WaitForDialog(L"Error");
    ASSERT_NE(box, nullptr);
    std::wstring text;
    for (const HWND label : Harness::Children(box, L"SysLink"))
        text += Harness::TextOf(label);
    EXPECT_TRUE(text.starts_with(L"Import failed with:\n\n")) << WideToUtf8(text);
    Press(box, L"&OK");
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Import failed"); }));
    EXPECT_EQ(text, Status(window));
    EXPECT_EQ(0u, sheafin_->Close());
}

namespace
{
struct DescendantSearch
{
    std::wstring className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDescendant(HWND child, LPARAM parameter)
{
    auto& search = *reinterpret_cast<DescendantSearch*>(parameter);
    if (Harness::ClassOf(child) == search.className && IsWindowVisible(child))
        search.found.push_back(child);
    return TRUE;
}

// The descendants of a window of a class, visible ones only.
std::vector<HWND> VisibleDescendants(HWND parent, const std::wstring& className)
{
    DescendantSearch search{className, {}};
    EnumChildWindows(parent, &CollectDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class SheafinEndToEnd : public SheafinImport, public testing::WithParamInterface<bool>
{
protected:
    std::wstring ThemeName() const { return GetParam() ? L"dark" : L"light"; }

    // Picks one file in the program's open dialog by typing its path, as a person would.
    void AddThroughTheOpenDialog(HWND window, const std::wstring& path)
    {
        Harness::PostCommand(window, 40006);
        const HWND dialog = WaitForDialog(L"Select Files to Import");
        ASSERT_NE(dialog, nullptr);
        HWND name = nullptr;
        ASSERT_TRUE(Harness::WaitUntil([&] {
            const std::vector<HWND> edits = VisibleDescendants(dialog, L"Edit");
            name = edits.empty() ? nullptr : edits.back();
            return name != nullptr;
        }));
        const std::wstring typed = fs::path(path).make_preferred().wstring();
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        PostMessageW(Harness::ChildrenWithId(dialog, IDOK).front(), BM_CLICK, 0, 0);
        const bool closed = Harness::WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
        ASSERT_TRUE(closed) << WideToUtf8(typed);
    }

    // What the theme gives the main window once its picture is taken: the window's own colour
    // around its controls, and in the dark theme a dark column header and text that stands out.
    void ExpectTheThemesLooks(HWND window)
    {
        const bool dark = GetParam();
        // A window of another process may still be painting after its picture was taken.
        int foreign = 0;
        EXPECT_TRUE(Harness::WaitUntil([&] {
            foreign = WindowLooks::ForeignBackground(window, WindowLooks::ThemeColour(dark, COLOR_BTNFACE));
            return foreign == 0;
        }, 5s)) << foreign << " pixels between the controls in another colour than the window's";
        if (!dark)
            return;
        EXPECT_EQ(WindowLooks::HeaderColour(window), WindowLooks::ThemeColour(true, COLOR_BTNFACE));
        EXPECT_EQ(TextChecks::FaintText(window), std::vector<std::string>());
    }
};

int Rows(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
} // namespace

TEST_P(SheafinEndToEnd, FilesAndAFolderAddedLikeAPersonAreImportedIntoThePickedNotebook)
{
    const fs::path folder = files_ / L"Minutes";
    fs::create_directories(folder);
    for (const wchar_t* name : {L"monday.txt", L"tuesday.txt"})
        std::ofstream(folder / name, std::ios::binary) << "Minutes of " << WideToUtf8(name);
    std::ofstream(files_ / L"vanishing.txt", std::ios::binary) << "soon gone";
    // The picker is the stand-in's window; OneNote is busy at the first save, so the run lasts.
    Scenario("quickfiling picker\nbusy UpdatePageContent 2\n");
    WriteWorkspace({.paths = {}, .theme = ThemeName()});
    auto application = Connect();
    const std::set<std::wstring> before = StoredPages::PageIds(*application);
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    const HWND list = Harness::Children(window, L"SysListView32").front();

    // The folder is dropped on the list.
    ASSERT_TRUE(Harness::BringToFront(window));
    RECT bounds{};
    GetWindowRect(list, &bounds);
    // Near a corner: the empty list's placeholder covers its middle.
    const POINT corner{bounds.left + 6, bounds.top + 6};
    SetCursorPos(corner.x, corner.y);
    ASSERT_TRUE(Harness::WaitUntil([&] {
        POINT at{};
        return GetCursorPos(&at) && at.x == corner.x && at.y == corner.y && WindowFromPoint(at) == list;
    })) << "the pointer is not over the list";
    DWORD effect = DROPEFFECT_NONE;
    EXPECT_EQ(DRAGDROP_S_DROP, DropFilesAtCursor({folder.wstring()}, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect));
    ASSERT_TRUE(Harness::WaitUntil([&] { return Rows(list) == 1; })) << "the dropped folder is listed";

    // Two files come through the open dialog; one of them is gone by the time it is imported.
    AddThroughTheOpenDialog(window, File(L"notes.txt"));
    ASSERT_TRUE(Harness::WaitUntil([&] { return Rows(list) == 2; }));
    AddThroughTheOpenDialog(window, File(L"vanishing.txt"));
    ASSERT_TRUE(Harness::WaitUntil([&] { return Rows(list) == 3; }));
    fs::remove(files_ / L"vanishing.txt");

    // Each file on a page of its own; Start asks for the target first.
    Harness::PostCommand(window, 40019);
    Harness::PostCommand(window, 40036);
    const HWND picker = WaitForDialog(L"Choose Target Location");
    ASSERT_NE(picker, nullptr);
    const HWND tree = Harness::Children(picker, L"SysTreeView32").front();
    const auto notebook = static_cast<LPARAM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    ASSERT_NE(0, notebook);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, notebook);
    Harness::SaveWindow(picker, L"picker-" + ThemeName());
    PostMessageW(Harness::Child(picker, L"Button", L"Select Import Location"), BM_CLICK, 0, 0);

    // The vanished file is asked about while the run goes on; it is skipped.
    const HWND prompt = WaitForDialog(L"Error", 60s);
    ASSERT_NE(prompt, nullptr);
    SaveUnderItsQuestion(window, L"running-" + ThemeName());
    Harness::SaveWindow(prompt, L"prompt-" + ThemeName());
    EXPECT_GT(WindowLooks::RoomAboveProgress(window), 0) << "the progress bar touches the button above it";
    if (GetParam())
    {
        EXPECT_EQ(TextChecks::FaintText(prompt), std::vector<std::string>()) << "the prompt";
    }
    Press(prompt, L"  S&kip this file");
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 90s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(L"Imported 4 items", Status(window)) << "the folder, its two files and notes.txt";
    Harness::SaveWindow(window, L"imported-" + ThemeName());
    ExpectTheThemesLooks(window);
    if (!GetParam())
    {
        EXPECT_EQ(WindowLooks::PictureTile(window), 0) << "the picture of Start Import stands on a tile of its own";
    }
    EXPECT_EQ(0u, sheafin_->Close());

    // The pages are in the stand-in's store, valid against OneNote's schema.
    const std::wstring pages = Hierarchy(application, L"", ON16::hsPages);
    for (const wchar_t* name : {L"monday.txt", L"tuesday.txt", L"notes.txt"})
    {
        const std::wstring id = FirstId(pages, L"Page", name);
        ASSERT_FALSE(id.empty()) << WideToUtf8(name);
        EXPECT_TRUE(IsValid(Content(application, id), ON16::xs2013, name));
    }
    // In the new section of the picked notebook: the folder's page, then one page for each file.
    EXPECT_EQ((std::vector<std::wstring>{L"Imported Files / Minutes:",
                                         L"Imported Files / monday.txt: monday.txt \"Minutes of monday.txt\"",
                                         L"Imported Files / tuesday.txt: tuesday.txt \"Minutes of tuesday.txt\"",
                                         L"Imported Files / notes.txt: notes.txt \"Some text of notes.txt\""}),
              StoredPages::NewPages(*application, before));
}

INSTANTIATE_TEST_SUITE_P(Themes, SheafinEndToEnd, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Dark" : "Light"; });

namespace
{
// Occurrences of text in xml.
size_t CountOf(const std::wstring& xml, const std::wstring& text)
{
    size_t count = 0;
    for (size_t at = xml.find(text); at != std::wstring::npos; at = xml.find(text, at + text.size()))
        ++count;
    return count;
}

// A PDF of this many letter-sized pages, encrypted with a user password by the host's qpdf.
fs::path WriteProtectedPdf(const fs::path& folder, int pages, const std::string& password)
{
    const fs::path plain = folder / L"plain.pdf";
    const fs::path locked = folder / L"protected.pdf";
    std::vector<PdfWriter::Page> content;
    for (int page = 1; page <= pages; ++page)
        content.push_back({612, 792, {"Page " + std::to_string(page)}});
    std::ofstream(plain, std::ios::binary) << PdfWriter::MakePdf(content);
    const SchemaCheck::HostResult result =
        SchemaCheck::RunHostShell("qpdf --encrypt '" + password + "' owner-secret 256 -- '" +
                                  SchemaCheck::UnixPath(plain) + "' '" + SchemaCheck::UnixPath(locked) + "'");
    EXPECT_EQ(0, result.exitCode) << result.output;
    fs::remove(plain);
    return locked;
}
} // namespace

TEST_F(SheafinImport, AProtectedPdfAsksForItsPasswordUntilTheRightOneAndAWordDocumentIsPrintedToo)
{
    const fs::path pdf = WriteProtectedPdf(files_, 2, "secret");
    const fs::path word = files_ / L"report.docx";
    std::ofstream(word, std::ios::binary) << "PK a document";
    WriteWorkspace({.paths = {pdf.wstring(), word.wstring()}, .outputFormat = 1, .withTarget = true,
                    .content = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);

    HWND dialog = WaitForDialog(L"Password Required", 60s);
    ASSERT_NE(dialog, nullptr);
    std::wstring text;
    for (const HWND label : Harness::Children(dialog, L"Static"))
        text += Harness::TextOf(label);
    // The path is long: its folder gives way in the middle, its file name stays.
    EXPECT_TRUE(text.starts_with(L"The PDF file at \"" + pdf.wstring().substr(0, 3))) << WideToUtf8(text);
    EXPECT_NE(std::wstring::npos, text.find(L"...\\protected.pdf\" requires a password")) << WideToUtf8(text);
    EXPECT_TRUE(Status(window).starts_with(L"(")) << "the run is under way: " << WideToUtf8(Status(window));
    Harness::SaveWindow(dialog, L"password");
    Harness::SaveWindow(GetDesktopWindow(), L"password-over-run");

    const auto answer = [&](const wchar_t* password) {
        const HWND edit = Harness::Children(dialog, L"Edit").front();
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password));
        Press(dialog, L"  &OK  ");
        return Harness::WaitUntil([&] { return !IsWindow(dialog); });
    };
    ASSERT_TRUE(answer(L"guess"));
    dialog = WaitForDialog(L"Password Required", 30s);
    ASSERT_NE(dialog, nullptr) << "a wrong password asks again";
    ASSERT_TRUE(answer(L"secret"));
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 90s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(L"Imported 2 items", Status(window));
    EXPECT_EQ(nullptr, WaitForDialog(L"Password Required", 1s)) << "the right password is not asked for again";
    EXPECT_EQ(0u, sheafin_->Close());

    // The PDF's two pages and the document's one are pictures on the files' pages.
    auto application = Connect();
    const std::wstring pages = Hierarchy(application, sectionId_, ON16::hsPages);
    for (const auto& [name, pictures] : {std::pair{L"protected.pdf", 2u}, std::pair{L"report.docx", 1u}})
    {
        const std::wstring id = FirstId(pages, L"Page", name);
        ASSERT_FALSE(id.empty()) << WideToUtf8(name);
        const std::wstring content = Content(application, id);
        EXPECT_EQ(pictures, CountOf(content, L"<one:Image")) << WideToUtf8(name);
        EXPECT_TRUE(IsValid(content, ON16::xs2013, name));
    }
}

TEST_F(SheafinImport, APrintoutIsRenderedAtTheResolutionChosenInTheOptions)
{
    const fs::path pdf = files_ / L"card.pdf";
    // Two inches by one: 192 by 96 device-independent pixels.
    std::ofstream(pdf, std::ios::binary) << PdfWriter::MakePdf({{144, 72, {"A card"}}});
    WriteWorkspace({.paths = {pdf.wstring()}, .outputFormat = 1, .withTarget = true, .content = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40039);
    const HWND options = WaitForDialog(L"Quillora Batch File Import Options");
    ASSERT_NE(options, nullptr);
    const HWND combo = Harness::Children(options, L"ComboBox").front();
    SendMessageW(combo, CB_SETCURSEL, 7, 0); // 600% (576 dpi)
    SendMessageW(options, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Harness::WaitUntil([&] { return !IsWindow(options); }));
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"Imported"); }, 90s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(0u, sheafin_->Close());
    EXPECT_EQ(600u, LoadWorkspaceConfig(SavedSettings()).printoutScale);

    auto application = Connect();
    const std::wstring id = FirstId(Hierarchy(application, sectionId_, ON16::hsPages), L"Page", L"card.pdf");
    ASSERT_FALSE(id.empty());
    ON::Page page;
    ParseElement(page, std::wstring_view(Content(application, id)));
    // OneNote read the printout when the page was saved, and hands it out by its callback ID.
    std::wstring callback;
    for (const auto& element : page.elements)
        if (element && element->image && element->image->source.callback)
            callback = element->image->source.callback->callbackID;
    ASSERT_FALSE(callback.empty());
    const std::string png = ::StandInTest::PictureBytes(*application, id, callback);
    ASSERT_GE(png.size(), 24u);
    const auto byte = [&](size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(png[at])); };
    EXPECT_EQ(192u * 6, byte(16) << 24 | byte(17) << 16 | byte(18) << 8 | byte(19)) << "pixels wide";
}

TEST_F(SheafinImport, PasswordDialogKeepsALongPathsFileNameInViewAndEveryLineWholeAt96And144Dpi)
{
    const fs::path folder = files_ / L"Scanned documents kept for the yearly tax return" / L"Statements of the bank";
    fs::create_directories(folder);
    const fs::path pdf = WriteProtectedPdf(folder, 1, "secret");
    for (const int dpi : {96, 144})
    {
        for (const bool dark : {false, true})
        {
            const std::wstring name = std::to_wstring(dpi) + L"dpi-" + (dark ? L"dark" : L"light");
            SCOPED_TRACE(WideToUtf8(name));
            WriteWorkspace({.paths = {pdf.wstring()}, .outputFormat = 1, .withTarget = true,
                            .theme = dark ? L"dark" : L"light", .content = true});
            const HWND window = StartAtDpi(dpi);
            ASSERT_NE(window, nullptr);
            ASSERT_TRUE(Harness::SetClientSize(window, 680 * dpi / 96, 440 * dpi / 96));
            Harness::PostCommand(window, 40036);
            const HWND dialog = WaitForDialog(L"Password Required", 60s);
            ASSERT_NE(dialog, nullptr) << WideToUtf8(Status(window)) << "\nlog:\n"
                                       << WideToUtf8(Harness::ReadLogFile(profile_.Temp() / L"Quillora_SHF.log"));
            Harness::SaveWindow(dialog, L"password-" + name);
            SaveUnderItsQuestion(window, L"running-" + name);
            const std::wstring text = Harness::TextOf(Harness::Children(dialog, L"Static").front());
            EXPECT_NE(std::wstring::npos, text.find(L"...\\protected.pdf\" requires a password")) << WideToUtf8(text);
            EXPECT_EQ(LabelFit::CutOff(dialog, dpi), std::vector<std::string>());

            PostMessageW(Harness::Child(dialog, L"Button", L"&Stop import"), BM_CLICK, 0, 0);
            Press(dialog, L"  &OK  ");
            EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Cancelled"; }));
            Harness::SaveWindow(window, L"cancelled-" + name);
            EXPECT_EQ(LabelFit::CutOff(window, dpi), std::vector<std::string>());
            EXPECT_EQ(0u, sheafin_->Close());
        }
    }
}
