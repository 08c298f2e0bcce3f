// The task dialog on the virtual display: what each way of closing it returns, a callback that keeps
// it open, hidden texts, the command buttons' common width, and pictures in both themes.
#include "framework/ui/Dpi.h"
#include "framework/ui/dialogs/TaskDialog.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"
#include "tests/support/TextChecks.h"

#include <iterator>

using DialogTest::Children;
using DialogTest::Click;
using DialogTest::Driver;
using DialogTest::PressKey;

namespace
{
class TaskDialogs : public DialogTest::Fixture
{
};

const std::vector<std::wstring> errorChoices{L"&Retry this file", L"S&kip this file", L"&Stop import"};

std::vector<HWND> CommandButtons(HWND dialog) { return Children(dialog, L"Button"); }
} // namespace

TEST_F(TaskDialogs, EscapeReturnsTheNumberOfButtons)
{
    Driver driver(L"Error", {[](HWND dialog) { PressKey(dialog, VK_ESCAPE); }});
    EXPECT_EQ(ShowTaskDialog(nullptr, L"Error", nullptr, L"Import failed.", errorChoices, false), 3u);
}

TEST_F(TaskDialogs, CloseBoxReturnsTheNumberOfButtons)
{
    Driver driver(L"Error", {[](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }});
    EXPECT_EQ(ShowTaskDialog(nullptr, L"Error", nullptr, L"Import failed.", errorChoices, false), 3u);
}

TEST_F(TaskDialogs, PressedButtonGivesItsIndex)
{
    std::vector<std::wstring> captions;
    Driver driver(L"Error", {[&](HWND dialog) {
                                 for (const HWND button : CommandButtons(dialog))
                                     captions.push_back(UI::GetWindowTextString(button));
                                 Click(CommandButtons(dialog).at(1));
                             }});
    EXPECT_EQ(ShowTaskDialog(nullptr, L"Error", nullptr, L"Import failed.", errorChoices, false), 1u);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"  &Retry this file", L"  S&kip this file", L"  &Stop import"}));
}

TEST_F(TaskDialogs, CallbackThatAnswersNonZeroKeepsTheDialogOpen)
{
    std::vector<unsigned> pressed;
    HWND callbackWindow = nullptr;
    const auto callback = [&](HWND window, unsigned button) -> long {
        callbackWindow = window;
        pressed.push_back(button);
        return button == 0 ? 1 : 0;
    };
    Driver driver(L"Choose", {[](HWND dialog) { Click(CommandButtons(dialog).at(0)); },
                              [&](HWND dialog) {
                                  EXPECT_EQ(callbackWindow, dialog);
                                  EXPECT_TRUE(IsWindowVisible(dialog));
                                  Click(CommandButtons(dialog).at(2));
                              }});
    EXPECT_TRUE(ShowTaskDialog(nullptr, L"Choose", L"Pick one", L"Text", errorChoices, false, callback));
    EXPECT_EQ(pressed, (std::vector<unsigned>{0, 2}));

    Driver escape(L"Choose", {[](HWND dialog) { PressKey(dialog, VK_ESCAPE); }});
    EXPECT_FALSE(ShowTaskDialog(nullptr, L"Choose", L"Pick one", L"Text", errorChoices, false, callback));
}

TEST_F(TaskDialogs, EmptyMainInstructionLeavesOnlyTheContentShown)
{
    bool instructionShown = true;
    bool contentShown = false;
    Driver driver(L"Error", {[&](HWND dialog) {
                                 const std::vector<HWND> statics = Children(dialog, L"Static");
                                 instructionShown = false;
                                 for (const HWND label : statics)
                                     if ((GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
                                         instructionShown = instructionShown || IsWindowVisible(label);
                                 const std::vector<HWND> links = Children(dialog, L"SysLink");
                                 contentShown = links.size() == 1 && IsWindowVisible(links[0]);
                                 PressKey(dialog, VK_ESCAPE);
                             }});
    ShowTaskDialog(nullptr, L"Error", L"", L"Import failed.", errorChoices, false);
    EXPECT_FALSE(instructionShown);
    EXPECT_TRUE(contentShown);
}

TEST_F(TaskDialogs, CommandButtonsShareOneWidthAndTheDialogKeepsItsMinimumWidth)
{
    std::vector<int> widths;
    int clientWidth = 0;
    int height = 0;
    Driver driver(L"Widths", {[&](HWND dialog) {
                                  for (const HWND button : CommandButtons(dialog))
                                  {
                                      const RECT bounds = DialogTest::ClientRectOf(button);
                                      widths.push_back(bounds.right - bounds.left);
                                      height = bounds.bottom - bounds.top;
                                  }
                                  RECT client{};
                                  GetClientRect(dialog, &client);
                                  clientWidth = client.right;
                                  PressKey(dialog, VK_ESCAPE);
                              }});
    ShowTaskDialog(nullptr, L"Widths", nullptr, L"Short", {L"A", L"A much longer choice than the other"}, false);
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_EQ(widths[0], widths[1]);
    EXPECT_EQ(height, 2 * UI::ControlHeight());
    EXPECT_GE(clientWidth, UI::PointsToPixels(262.5f, GetDpiScaleX()));
}

TEST_F(TaskDialogs, ContentOfSeveralParagraphsKeepsAllItsLines)
{
    int shown = 0;
    int needed = 0;
    Driver driver(L"Error", {[&](HWND dialog) {
                                 const HWND content = Children(dialog, L"SysLink").at(0);
                                 const RECT bounds = DialogTest::ClientRectOf(content);
                                 shown = bounds.bottom - bounds.top;
                                 SIZE ideal{};
                                 SendMessageW(content, WM_USER + 0x301, static_cast<WPARAM>(bounds.right - bounds.left),
                                              reinterpret_cast<LPARAM>(&ideal));
                                 needed = ideal.cy;
                                 PressKey(dialog, VK_ESCAPE);
                             }});
    ShowTaskDialog(nullptr, L"Error", nullptr,
                   L"Import of file \"C:\\Documents\\Quarterly report of the northern region.pdf\" failed with: "
                   L"\n\nThe file is protected by a password.\n\nHow would you like to proceed?",
                   errorChoices, false);
    EXPECT_GT(needed, 0);
    EXPECT_GE(shown, needed);
}

TEST_F(TaskDialogs, ExceptionOfTheCallbackLeavesTheDialogAndReachesTheCaller)
{
    Driver driver(L"Error", {[](HWND dialog) { Click(CommandButtons(dialog).at(0)); }});
    EXPECT_THROW(ShowTaskDialog(nullptr, L"Error", nullptr, L"Text", errorChoices, false,
                                [](HWND, unsigned) -> long { throw std::runtime_error("callback failed"); }),
                 std::runtime_error);
    EXPECT_FALSE(FindWindowW(L"Quillora Window", L"Error"));
}

namespace
{
class TaskDialogScreenshot : public DialogTest::Themed
{
};
} // namespace

namespace
{
// The question about a file that failed, and the one about the last save, which ends a line near the
// edge at 96 dpi.
const wchar_t* const questions[] = {
    L"Import of file \"C:\\Documents\\report.pdf\" failed with: \n\nThe file is protected by a password.\n\nHow would "
    L"you like to proceed?",
    L"Saving the imported files' page failed with: \n\nOneNote is busy.\n\nRetry sends the page again; Stop import "
    L"gives up what has not reached OneNote. How would you like to proceed?",
};

// Shows each question and looks at its content: cut lines and glyphs, labels too low for their text
// and, in the dark theme, text that does not stand out; the pictures are saved.
std::vector<std::string> QuestionsShownWhole(const std::wstring& picture, bool dark)
{
    std::vector<std::string> found;
    for (size_t index = 0; index < std::size(questions); ++index)
    {
        Driver driver(L"Error", {[&](HWND dialog) {
                          Screenshot::SaveWindow(dialog, picture + (index ? L"-last-save" : L""));
                          const HWND content = Children(dialog, L"SysLink").at(0);
                          std::vector<std::string> seen = DialogTest::TextAtTheEdges(dialog, content);
                          for (const std::vector<std::string>& more :
                               {TextChecks::ShortLabels(dialog),
                                dark ? TextChecks::FaintText(dialog) : std::vector<std::string>()})
                              seen.insert(seen.end(), more.begin(), more.end());
                          for (const std::string& fault : seen)
                              found.push_back("question " + std::to_string(index) + ": " + fault);
                          PressKey(dialog, VK_ESCAPE);
                      }});
        const std::vector<std::wstring> choices =
            index ? std::vector<std::wstring>{L"&Retry saving the page", L"&Stop import"} : errorChoices;
        const wchar_t* const instruction = index ? L"" : L"An import failed";
        EXPECT_EQ(ShowTaskDialog(nullptr, L"Error", instruction, questions[index], choices, false), choices.size());
    }
    return found;
}
} // namespace

TEST_P(TaskDialogScreenshot, ImportErrorQuestion)
{
    EXPECT_EQ(QuestionsShownWhole(L"task-" + ThemeName(), GetParam()), std::vector<std::string>());
}

// Runs only as the other process of MessageBoxAt144Dpi.AnErrorThatNamesWhatStaysShowsEveryLineWholeAt144Dpi,
// whose screen is one of 144 dpi.
TEST(TaskDialogAt144Dpi, DISABLED_EveryQuestionShowsEveryLineWholeInBothThemes)
{
    DialogTest::ZoomTo144Dpi();
    ASSERT_FLOAT_EQ(2.0f, GetDpiScaleX());
    const std::optional<int> mode = GetThemeMode();
    for (const bool dark : {false, true})
    {
        SCOPED_TRACE(dark ? "dark" : "light");
        SetThemeMode(dark ? UI::ThemeDark : UI::ThemeLight);
        EXPECT_EQ(QuestionsShownWhole(std::wstring(L"task-144dpi-") + (dark ? L"dark" : L"light"), dark),
                  std::vector<std::string>());
    }
    SetThemeMode(mode);
}

INSTANTIATE_TEST_SUITE_P(Themes, TaskDialogScreenshot, testing::Bool(), DialogTest::ThemeTestName);

TEST_F(TaskDialogs, ClosingLeavesTheUiFontToTheWindowsThatComeAfter)
{
    Driver driver(L"Error", {[](HWND dialog) { PressKey(dialog, VK_ESCAPE); }});
    ShowTaskDialog(nullptr, L"Error", nullptr, L"Import failed.", errorChoices, false);
    LOGFONTW font{};
    EXPECT_EQ(static_cast<int>(sizeof font),
              GetObjectW(GetUiFontTable().Handle(UI::FontNormal), sizeof font, &font));
}
