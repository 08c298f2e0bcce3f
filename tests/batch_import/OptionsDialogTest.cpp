// The options dialog on the virtual display: the resolution rows and their effect on the printout
// scale, the update page's results, and installing, which closes both windows before the new
// program runs.
#include "batch_import/OptionsDialog.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextChecks.h"
#include "tests/update/ServiceScenario.h"
#include "update/DownloadProgressWindow.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using DialogTest::Child;
using DialogTest::Children;
using DialogTest::Click;
using UpdateTest::ServiceScenario;

namespace
{
const wchar_t* const title = L"Quillora Batch File Import Options";

std::vector<std::wstring> ComboRows(HWND combo)
{
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)), L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        rows.push_back(text);
    }
    return rows;
}

void PickRow(HWND dialog, HWND combo, int row)
{
    SendMessageW(combo, CB_SETCURSEL, row, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool Shows(HWND dialog, const wchar_t* className, const std::wstring& text)
{
    const HWND child = Child(dialog, className, text);
    return child && IsWindowVisible(child);
}

const std::wstring updateFound = L"\n\nAn update to ";

bool ShowsUpdateFound(HWND dialog)
{
    for (const HWND label : Children(dialog, L"Static"))
        if (IsWindowVisible(label) && UI::GetWindowTextString(label).rfind(updateFound, 0) == 0)
            return true;
    return false;
}

// The main window the dialog belongs to: counts the close requests it gets and ends on the first.
class MainWindowStandIn : public AutoLayoutWindow
{
public:
    LRESULT OnClose(bool& handled) override
    {
        ++closeRequests;
        dialogOpenAtClose = FindWindowW(L"Quillora Window", title) != nullptr;
        // The new program is started held, and runs only once this window is closed: at the close it
        // is listed with no thread that has run, and has recorded nothing.
        programRanAtClose = UpdateTest::ProgramHasRun(program) || fs::exists(programRecord);
        return AutoLayoutWindow::OnClose(handled);
    }
    fs::path program;
    fs::path programRecord;
    int closeRequests = 0;
    bool dialogOpenAtClose = true;
    bool programRanAtClose = true;
};

class OptionsDialog : public DialogTest::Fixture
{
};
} // namespace

TEST_F(OptionsDialog, ResolutionRowsShowPercentAndDpiAndPickingSetsTheScaleAtOnce)
{
    Config config;
    std::vector<std::wstring> rows;
    int selectedAtStart = -1;
    DialogTest::Driver driver(title, {[&](HWND dialog) {
                                          const HWND combo = Children(dialog, L"ComboBox").front();
                                          rows = ComboRows(combo);
                                          selectedAtStart = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
                                          Screenshot::SaveWindow(dialog, L"printouts");
                                          EXPECT_EQ(TextChecks::ShortLabels(dialog), std::vector<std::string>());
                                          PickRow(dialog, combo, 8);
                                      },
                                      [&](HWND dialog) {
                                          EXPECT_EQ(1000u, config.printoutScale) << "set at once, not when closing";
                                          PostMessageW(dialog, WM_CLOSE, 0, 0);
                                      }});
    ShowOptionsDialog(nullptr, config, 0);

    EXPECT_EQ((std::vector<std::wstring>{L"100% (96 dpi)", L"150% (144 dpi)", L"200% (192 dpi)", L"250% (240 dpi)",
                                         L"300% (288 dpi)", L"400% (384 dpi)", L"500% (480 dpi)", L"600% (576 dpi)",
                                         L"1000% (960 dpi)"}),
              rows);
    EXPECT_EQ(2, selectedAtStart);
    EXPECT_EQ(1000u, config.printoutScale);
}

TEST_F(OptionsDialog, ScaleNotOfferedSelectsTheFirstRowAndStaysUntilARowIsPicked)
{
    Config config;
    config.printoutScale = 175;
    int selected = -1;
    DialogTest::Driver driver(title, {[&](HWND dialog) {
        selected = static_cast<int>(SendMessageW(Children(dialog, L"ComboBox").front(), CB_GETCURSEL, 0, 0));
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }});
    ShowOptionsDialog(nullptr, config, 0);
    EXPECT_EQ(0, selected);
    EXPECT_EQ(175u, config.printoutScale);
}

TEST_F(OptionsDialog, UpdatePageShowsNoResultUntilAskedThenWhatTheCheckFound)
{
    ServiceScenario scenario;
    scenario.Set("getVersion.body", "1.3.0");
    Config config;
    DialogTest::Driver driver(
        title, {[&](HWND dialog) {
                    EXPECT_TRUE(Shows(dialog, L"Button", L"Check for &Updates"));
                    EXPECT_TRUE(Shows(dialog, L"Button", L"&Show What's New in 1.3.0"));
                    EXPECT_FALSE(Shows(dialog, L"Static", L"No updates found"));
                    EXPECT_FALSE(ShowsUpdateFound(dialog));
                    EXPECT_FALSE(Shows(dialog, L"Button", L"Install Latest Version"));
                    Click(Child(dialog, L"Button", L"Check for &Updates"));
                },
                [&](HWND dialog) {
                    EXPECT_TRUE(Shows(dialog, L"Static", L"No updates found"));
                    EXPECT_FALSE(ShowsUpdateFound(dialog));
                    EXPECT_FALSE(Shows(dialog, L"Button", L"Install Latest Version"));
                    scenario.Set("getVersion.body", "1.4.0");
                    Click(Child(dialog, L"Button", L"Check for &Updates"));
                },
                [&](HWND dialog) {
                    EXPECT_FALSE(Shows(dialog, L"Static", L"No updates found"));
                    EXPECT_TRUE(ShowsUpdateFound(dialog));
                    EXPECT_TRUE(Shows(dialog, L"Button", L"Install Latest Version"));
                    Screenshot::SaveWindow(dialog, L"updates");
                    EXPECT_EQ(TextChecks::ShortLabels(dialog), std::vector<std::string>());
                    PostMessageW(dialog, WM_CLOSE, 0, 0);
                }});
    ShowOptionsDialog(nullptr, config, 1);
}

TEST_F(OptionsDialog, InstallClosesTheDialogAndTheMainWindowBeforeTheNewProgramRuns)
{
    ServiceScenario scenario;
    scenario.Set("getVersion.body", "1.4.0");
    scenario.SetFile("getFile.file", UpdateTest::TestProgram());
    const fs::path downloaded = DownloadProgressWindow::DownloadPath(scenario.Identity().updateFileId);
    std::error_code ignored;
    fs::remove(downloaded.wstring() + L".args", ignored);

    auto mainWindow = std::make_shared<MainWindowStandIn>();
    mainWindow->Create(nullptr, COLOR_WINDOW, 0, 0);
    mainWindow->ShowAtLocation(L"Sheafin", 400, 300, false, nullptr, nullptr, Window::Center);
    mainWindow->program = downloaded;
    mainWindow->programRecord = downloaded.wstring() + L".args";
    Config config;
    DialogTest::Driver driver(title, {[&](HWND dialog) { Click(Child(dialog, L"Button", L"Check for &Updates")); },
                                      [&](HWND dialog) { Click(Child(dialog, L"Button", L"Install Latest Version")); }});
    ShowOptionsDialog(mainWindow->GetHwnd(), config, 1);
    UiTest::PumpUntil([&] { return !mainWindow->GetHwnd(); });

    EXPECT_EQ(1, mainWindow->closeRequests);
    EXPECT_FALSE(mainWindow->dialogOpenAtClose);
    EXPECT_FALSE(mainWindow->programRanAtClose);
    EXPECT_NE(L"", UpdateTest::WaitForRecordedCommandLine(downloaded));
    fs::remove(downloaded, ignored);
    fs::remove(downloaded.wstring() + L".args", ignored);
}
