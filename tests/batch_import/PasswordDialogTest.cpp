// The password dialog on the virtual display: how each remembered answer presets it, what typing,
// the show-password toggle and double clicks do, and that only an answer leaves it.
#include "batch_import/PasswordDialog.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <utility>
#include <vector>

using DialogTest::Child;
using DialogTest::Children;
using DialogTest::Click;

namespace
{
const wchar_t* const title = L"Password Required";
const std::wstring path = L"C:\\Files\\Locked report.pdf";

HWND Radio(HWND dialog, const std::wstring& text) { return Child(dialog, L"Button", text); }
HWND UsePassword(HWND dialog) { return Radio(dialog, L"Use this &password:"); }
HWND SkipFile(HWND dialog) { return Radio(dialog, L"Skip printout import for &this file"); }
HWND SkipAll(HWND dialog) { return Radio(dialog, L"Skip printout import for &all password protected files"); }
HWND Stop(HWND dialog) { return Radio(dialog, L"&Stop import"); }
HWND UseForAll(HWND dialog) { return Child(dialog, L"Button", L"&Use this password for all remaining PDF files"); }
HWND Ok(HWND dialog) { return Child(dialog, L"Button", L"  &OK  "); }
HWND Edit(HWND dialog) { return Children(dialog, L"Edit").front(); }
// The push-like toggle is the one button without text.
HWND Toggle(HWND dialog) { return Child(dialog, L"Button", L""); }

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::pair<DWORD, DWORD> Selection(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

void Type(HWND edit, const std::wstring& text)
{
    for (const wchar_t c : text)
        PostMessageW(edit, WM_CHAR, c, 1);
}

class PasswordDialogs : public DialogTest::Fixture
{
};

class PasswordDialogPictures : public DialogTest::Themed
{
};

int Distance(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}
} // namespace

TEST_F(PasswordDialogs, RememberedPasswordIsPresetSelectedAndFocusedWithItsUseForAllState)
{
    bool usePassword = false;
    bool useForAll = false;
    std::wstring text;
    std::pair<DWORD, DWORD> selection;
    bool editHasFocus = false;
    std::wstring label;
    DialogTest::Driver driver(title, {[&](HWND dialog) {
        usePassword = Checked(UsePassword(dialog));
        useForAll = Checked(UseForAll(dialog));
        text = UI::GetWindowTextString(Edit(dialog));
        selection = Selection(Edit(dialog));
        editHasFocus = GetFocus() == Edit(dialog);
        label = UI::GetWindowTextString(Children(dialog, L"Static").front());
        Click(Ok(dialog));
    }});
    const PasswordAnswer answer = AskForPassword(nullptr, path, {UseThisPassword, L"secret", true});

    EXPECT_TRUE(usePassword);
    EXPECT_TRUE(useForAll);
    EXPECT_EQ(L"secret", text);
    EXPECT_EQ(std::make_pair(DWORD{0}, DWORD{6}), selection);
    EXPECT_TRUE(editHasFocus);
    EXPECT_EQ(L"The PDF file at \"C:\\Files\\Locked report.pdf\" requires a password to open. Choose an option below:",
              label);
    EXPECT_EQ((PasswordAnswer{UseThisPassword, L"secret", true}), answer);
}

TEST_F(PasswordDialogs, EachOtherRememberedChoiceChecksAndFocusesItsRadioAndIsAnsweredAgainByOk)
{
    for (const int32_t choice : {SkipThisFile, SkipAllProtectedFiles, StopTheImport})
    {
        SCOPED_TRACE(choice);
        HWND checked = nullptr;
        HWND focused = nullptr;
        std::wstring text;
        DialogTest::Driver driver(title, {[&](HWND dialog) {
            for (const HWND radio : {UsePassword(dialog), SkipFile(dialog), SkipAll(dialog), Stop(dialog)})
                if (Checked(radio))
                    checked = radio;
            focused = GetFocus();
            text = UI::GetWindowTextString(Edit(dialog));
            EXPECT_EQ(checked, focused);
            Click(Ok(dialog));
        }});
        // A remembered password of an earlier answer does not come back with another choice.
        const PasswordAnswer answer = AskForPassword(nullptr, path, {choice, L"old", true});
        EXPECT_NE(nullptr, checked);
        EXPECT_EQ(L"", text);
        EXPECT_EQ((PasswordAnswer{choice, L"", false}), answer);
    }
}

TEST_F(PasswordDialogs, TypingChoosesUsePasswordAndOkAnswersWhatWasTyped)
{
    bool usePasswordAfterTyping = false;
    bool skipAfterTyping = true;
    DialogTest::Driver driver(title, {[&](HWND dialog) { Type(Edit(dialog), L"pw1"); },
                                      [&](HWND dialog) {
                                          usePasswordAfterTyping = Checked(UsePassword(dialog));
                                          skipAfterTyping = Checked(SkipAll(dialog));
                                          Click(UseForAll(dialog));
                                      },
                                      [&](HWND dialog) { Click(Ok(dialog)); }});
    const PasswordAnswer answer = AskForPassword(nullptr, path, {SkipAllProtectedFiles, L"", false});
    EXPECT_TRUE(usePasswordAfterTyping);
    EXPECT_FALSE(skipAfterTyping);
    EXPECT_EQ((PasswordAnswer{UseThisPassword, L"pw1", true}), answer);
}

TEST_F(PasswordDialogs, OkWithAnEmptyPasswordAnswersUsePasswordWithNone)
{
    DialogTest::Driver driver(title, {[&](HWND dialog) { Click(Ok(dialog)); }});
    EXPECT_EQ((PasswordAnswer{UseThisPassword, L"", false}), AskForPassword(nullptr, path, {}));
}

TEST_F(PasswordDialogs, EnterAcceptsLikeOk)
{
    DialogTest::Driver driver(title, {[&](HWND dialog) { Type(Edit(dialog), L"x"); },
                                      [&](HWND dialog) { DialogTest::PressKey(dialog, VK_RETURN); }});
    EXPECT_EQ((PasswordAnswer{UseThisPassword, L"x", false}), AskForPassword(nullptr, path, {}));
}

TEST_F(PasswordDialogs, DoubleClickingStopAnswersAtOnceButDoubleClickingUsePasswordDoesNothing)
{
    bool openAfterUsePassword = false;
    DialogTest::Driver driver(title, {[&](HWND dialog) {
                                          PostMessageW(UsePassword(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
                                          PostMessageW(UsePassword(dialog), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
                                      },
                                      [&](HWND dialog) {
                                          openAfterUsePassword = IsWindowVisible(dialog);
                                          PostMessageW(Stop(dialog), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
                                          PostMessageW(Stop(dialog), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
                                          PostMessageW(Stop(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
                                          PostMessageW(Stop(dialog), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
                                      }});
    const PasswordAnswer answer = AskForPassword(nullptr, path, {UseThisPassword, L"pw", false});
    EXPECT_TRUE(openAfterUsePassword);
    EXPECT_EQ((PasswordAnswer{StopTheImport, L"", false}), answer);
}

TEST_F(PasswordDialogs, CloseBoxAndAltF4LeaveTheDialogOpen)
{
    bool openAfterClose = false;
    bool openAfterAltF4 = false;
    DialogTest::Driver driver(title, {[&](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
                                      [&](HWND dialog) {
                                          openAfterClose = IsWindowVisible(dialog);
                                          PostMessageW(dialog, WM_CLOSE, 0, 0);
                                          PostMessageW(dialog, WM_SYSKEYDOWN, VK_F4, 0x20000001);
                                          PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 1);
                                      },
                                      [&](HWND dialog) {
                                          openAfterAltF4 = IsWindowVisible(dialog);
                                          Click(SkipFile(dialog));
                                      },
                                      [&](HWND dialog) { Click(Ok(dialog)); }});
    const PasswordAnswer answer = AskForPassword(nullptr, path, {});
    EXPECT_TRUE(openAfterClose);
    EXPECT_TRUE(openAfterAltF4);
    EXPECT_EQ(SkipThisFile, answer.choice);
}

TEST_F(PasswordDialogs, ShowPasswordToggleSwitchesBetweenPlainAndMaskedTextAndGivesTheFocusBack)
{
    WPARAM before = 0;
    WPARAM shown = 1;
    WPARAM hiddenAgain = 0;
    bool focusBack = false;
    DialogTest::Driver driver(title, {[&](HWND dialog) {
                                          before = SendMessageW(Edit(dialog), EM_GETPASSWORDCHAR, 0, 0);
                                          Click(Toggle(dialog));
                                      },
                                      [&](HWND dialog) {
                                          shown = SendMessageW(Edit(dialog), EM_GETPASSWORDCHAR, 0, 0);
                                          focusBack = GetFocus() == Edit(dialog);
                                          Click(Toggle(dialog));
                                      },
                                      [&](HWND dialog) {
                                          hiddenAgain = SendMessageW(Edit(dialog), EM_GETPASSWORDCHAR, 0, 0);
                                          Click(Ok(dialog));
                                      }});
    const PasswordAnswer answer = AskForPassword(nullptr, path, {UseThisPassword, L"abc", false});
    EXPECT_EQ(WPARAM{0x25CF}, before);
    EXPECT_EQ(WPARAM{0}, shown);
    EXPECT_TRUE(focusBack);
    EXPECT_EQ(WPARAM{0x25CF}, hiddenAgain);
    EXPECT_EQ(L"abc", answer.password) << "showing the password does not change it";
}

TEST_F(PasswordDialogs, BelongsToTheTopLevelWindowOfItsOwnerAndKeepsItDisabledWhileOpen)
{
    const HWND top = CreateWindowExW(0, L"Static", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    const HWND child = CreateWindowExW(0, L"Static", L"child", WS_CHILD, 0, 0, 10, 10, top, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    HWND owner = nullptr;
    bool ownerEnabled = true;
    DialogTest::Driver driver(title, {[&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        ownerEnabled = IsWindowEnabled(top);
        Click(Ok(dialog));
    }});
    AskForPassword(child, path, {});
    EXPECT_EQ(top, owner);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(top));
    DestroyWindow(top);
}

// What the picture shows in each theme: the dialog and its password box in the theme's window
// colour, the remembered password selected and masked (six marks of one width, not its letters),
// and the picture on the show-password toggle.
TEST_P(PasswordDialogPictures, PresetWithARememberedPassword)
{
    std::optional<Screenshot::ClientPicture> picture;
    RECT edit{};
    RECT toggle{};
    DialogTest::Driver driver(title, {[&](HWND dialog) {
        picture.emplace(dialog);
        Screenshot::Save(picture->Capture(), ThemeName());
        edit = DialogTest::ClientRectOf(Edit(dialog));
        toggle = DialogTest::ClientRectOf(Toggle(dialog));
        Click(Ok(dialog));
    }});
    AskForPassword(nullptr, path, {UseThisPassword, L"secret", true});
    ASSERT_TRUE(picture);

    const COLORREF window = GetThemeColor(COLOR_WINDOW);
    EXPECT_EQ(picture->At(2, 2), window) << "the dialog";
    const int inset = 3;
    // Right of the selected password, inside the frame, the box's own colour.
    ASSERT_EQ(picture->At(edit.right - 2 * inset, (edit.top + edit.bottom) / 2), window) << "the password box";

    // Inside the box's frame, the row with the most pixels that are neither the box's colour nor
    // the selection's runs through the marks.
    std::map<COLORREF, int> colours;
    for (int y = edit.top + inset; y < edit.bottom - inset; ++y)
        for (int x = edit.left + inset; x < edit.right - inset; ++x)
            ++colours[picture->At(x, y)];
    colours.erase(window);
    ASSERT_FALSE(colours.empty()) << "the password box shows nothing but its colour";
    const auto fewer = [](const auto& a, const auto& b) { return a.second < b.second; };
    const COLORREF selection = std::max_element(colours.begin(), colours.end(), fewer)->first;
    struct Row
    {
        int y = 0;
        int first = 0;
        int last = 0;
        std::vector<int> runs;
    };
    Row marks;
    int marked = 0;
    for (int y = edit.top + inset; y < edit.bottom - inset; ++y)
    {
        Row row{y, -1, -1, {}};
        for (int x = edit.left + inset; x < edit.right - inset; ++x)
            if (picture->At(x, y) == selection)
            {
                row.first = row.first < 0 ? x : row.first;
                row.last = x;
            }
        if (row.first < 0)
            continue;
        int farthest = 0;
        for (int x = row.first; x <= row.last; ++x)
            farthest = std::max(farthest, Distance(picture->At(x, y), selection));
        int count = 0;
        int run = 0;
        for (int x = row.first; x <= row.last + 1; ++x)
        {
            const bool on = x <= row.last && farthest > 0 && Distance(picture->At(x, y), selection) * 2 >= farthest;
            if (on)
            {
                ++run;
                ++count;
            }
            else if (run > 0)
            {
                row.runs.push_back(std::exchange(run, 0));
            }
        }
        if (count > marked)
        {
            marked = count;
            marks = row;
        }
    }
    ASSERT_EQ(marks.runs.size(), 6u) << "marks in the row at " << marks.y << " of the password box";
    const auto [narrowest, widest] = std::minmax_element(marks.runs.begin(), marks.runs.end());
    EXPECT_LE(*widest - *narrowest, 1) << "the marks differ in width: letters rather than a masked password";

    // The toggle shows its picture: pixels far from its face.
    std::map<COLORREF, int> face;
    for (int y = toggle.top + inset; y < toggle.bottom - inset; ++y)
        for (int x = toggle.left + inset; x < toggle.right - inset; ++x)
            ++face[picture->At(x, y)];
    const COLORREF faceColour = std::max_element(face.begin(), face.end(), fewer)->first;
    int drawn = 0;
    for (const auto& [colour, count] : face)
        if (Distance(colour, faceColour) > 150)
            drawn += count;
    EXPECT_GT(drawn, 10) << "the show-password toggle shows no picture";
}

INSTANTIATE_TEST_SUITE_P(Themes, PasswordDialogPictures, testing::Bool(), DialogTest::ThemeTestName);
