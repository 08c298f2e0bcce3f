// The real Sheafin.exe importing into the OneNote stand-in (in its own process, sharing this test's
// store): the path reference commands, the import settings menu, the target picker, starting,
// following, stopping and closing during a run, its prompts and failures, and the pages it leaves.
#include "batch_import/SettingsFile.h"
#include "batch_import/WorkspaceConversion.h"
#include "framework/text/Text.h"
#include "tests/standins/StandInFixture.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/StandInSession.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <fstream>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{
const wchar_t* const Title = L"Quillora Batch File Import 1.3.0";

fs::path SheafinExe()
{
    return (Harness::BuildFolder() / L"tests" / L"batch_import" / L"loopback" / L"Sheafin.exe").make_preferred();
}

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class SheafinImport : public StandInTest::StandInTest
{
protected:
    SheafinImport() : redirect_(profile_) {}

    void SetUp() override
    {
        StandInTest::SetUp();
        files_ = profile_.Root() / L"Files";
        fs::create_directories(files_);
        for (const wchar_t* name : {L"notes.txt", L"todo.txt", L"more.txt"})
            std::ofstream(files_ / name, std::ios::binary) << "Some text of " << WideToUtf8(name);
        auto application = Connect();
        sectionId_ = FirstId(Hierarchy(application, L"", ON16::hsSections), L"Section");
        sectionName_ = AttributeOf(Hierarchy(application, sectionId_, ON16::hsSelf), L"Section", L"name");
        BSTR link = nullptr;
        application->GetHyperlinkToObject(_bstr_t(sectionId_.c_str()), _bstr_t(L""), &link);
        sectionLink_ = link ? link : L"";
        SysFreeString(link);
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
    };

    void WriteWorkspace(const Workspace& workspace) const
    {
        Importer::Settings settings{Importer::Settings::DefaultsOnly{}};
        Config config;
        config.importFormat.fileAttachment = true;
        config.importFormat.originalPath = workspace.originalPath;
        config.outputFormat = workspace.outputFormat;
        for (const std::wstring& path : workspace.paths)
            config.entries.push_back({path, {}, 0, 0});
        if (workspace.withTarget)
            config.location = sectionLink_;
        StoreWorkspaceConfig(settings, config);
        if (workspace.withTarget)
        {
            settings.lastConfig->targetType = 4;
            settings.lastConfig->targetName = sectionName_;
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

    // A top-level window of the program with this title, once it shows.
    HWND WaitForDialog(const std::wstring& title, std::chrono::milliseconds timeout = 20s) const
    {
        HWND found = nullptr;
        Harness::WaitUntil(
            [&] {
                for (const HWND window : sheafin_->TopLevelWindows())
                    if (Harness::TextOf(window) == title && IsWindowVisible(window))
                        found = window;
                return found != nullptr;
            },
            timeout);
        return found;
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
                 text == L"Cancelled" || text == L"Stopping import..." || text == L"Starting Import..."))
                shown = text;
        }
        return shown;
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
        Harness::PostCommand(window, 40012);
        HWND popup = nullptr;
        if (!Harness::WaitUntil([&] { return (popup = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(popup); }))
            return false;
        Harness::SaveWindow(popup, picture);
        PostMessageW(popup, WM_CHAR, key, 1);
        return Harness::WaitUntil([&] { return !IsWindowVisible(popup); }, 5s);
    }

    static void Press(HWND dialog, const std::wstring& caption)
    {
        PostMessageW(Harness::Child(dialog, L"Button", caption), BM_CLICK, 0, 0);
    }

    Harness::Profile profile_;
    Harness::ShellFolderRedirect redirect_;
    std::unique_ptr<Harness::Program> sheafin_;
    fs::path files_;
    std::wstring sectionId_;
    std::wstring sectionName_;
    std::wstring sectionLink_;
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
    Harness::WaitUntil([] { return false; }, 1s);
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

TEST_F(SheafinImport, StopDuringARunSaysStoppingThenCancelled)
{
    // OneNote answers busy twice, so the first page takes seconds: time enough to stop.
    Scenario("busy UpdatePageContent 2\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt"), File(L"more.txt")}, .outputFormat = 1,
                    .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"("); }));
    Harness::SaveWindow(window, L"running");
    Harness::PostCommand(window, 40037);
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Stopping import..."; }, 5s));
    EXPECT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s == L"Cancelled"; }, 60s))
        << WideToUtf8(Status(window));
    EXPECT_EQ(nullptr, WaitForDialog(L"Error", 1s)) << "a stop is no error";
    EXPECT_EQ(0u, sheafin_->Close());
}

TEST_F(SheafinImport, ClosingDuringARunAsksAndNoKeepsItRunningWhileYesEndsTheProgram)
{
    Scenario("busy UpdatePageContent 20\n");
    WriteWorkspace({.paths = {File(L"notes.txt"), File(L"todo.txt"), File(L"more.txt")}, .outputFormat = 1,
                    .withTarget = true});
    const HWND window = Start();
    ASSERT_NE(window, nullptr);
    Harness::PostCommand(window, 40036);
    ASSERT_TRUE(WaitForStatus(window, [](const std::wstring& s) { return s.starts_with(L"("); }));
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

TEST_F(SheafinImport, AVanishedFileIsAskedAboutAndRetryAsksAgainWhileSkipGoesOn)
{
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
