// Sheafin's main window in this process, where a command can be made to fail in a way the real
// program leaves to chance (the message box seam throws): what the window does about it; and what
// its glyph and picture buttons show, in the fonts the program makes.
#include "batch_import/CommandTable.h"
#include "batch_import/MainWindow.h"
#include "batch_import/SettingsFile.h"

#include "framework/Owners.h"
#include "framework/ScopeExit.h"
#include "framework/files/Files.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "tests/support/FileDropList.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace
{
// What the next timer tick of this thread does, inside the window's own message loop.
std::function<void()> onTick;

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (const std::function<void()> step = std::exchange(onTick, nullptr))
        step();
}

// Counts, while it lives, the messages that reach a list view, through a window procedure put in
// front of the list's own (comctl32's subclassing or a hook would ask Wine's server at every
// message, and so slow down what it measures). One at a time.
class ListMessages
{
public:
    explicit ListMessages(HWND list) : list_(list)
    {
        count_ = 0;
        listProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountToList)));
    }
    ~ListMessages()
    {
        if (listProcedure_)
            SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProcedure_));
        listProcedure_ = nullptr;
    }
    ListMessages(const ListMessages&) = delete;
    ListMessages& operator=(const ListMessages&) = delete;

    bool Counting() const { return listProcedure_ != nullptr; }
    size_t Count() const { return count_; }

private:
    static LRESULT CALLBACK CountToList(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        ++count_;
        return CallWindowProcW(listProcedure_, window, message, wParam, lParam);
    }

    HWND list_;
    static inline WNDPROC listProcedure_ = nullptr;
    static inline size_t count_ = 0;
};

// The largest difference of a channel between two colours.
int Distance(COLORREF a, COLORREF b)
{
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// The colour most pixels of a button have: its face.
COLORREF Face(const Screenshot::Capture& capture)
{
    std::map<COLORREF, int> counts;
    for (int y = 0; y < capture.height; ++y)
        for (int x = 0; x < capture.width; ++x)
            ++counts[capture.At(x, y)];
    return std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
               return a.second < b.second;
           })->first;
}

// What is drawn on a button inside its frame: the pixels at least half as far from the face as
// the farthest one is.
struct Ink
{
    Screenshot::Capture capture;
    COLORREF face = 0;
    int inset = 0;
    int threshold = 0;

    explicit Ink(HWND button) : capture(Screenshot::CaptureWindow(button)), face(Face(capture)), inset(::ScaleToDpi(4))
    {
        int farthest = 0;
        for (int y = inset; y < capture.height - inset; ++y)
            for (int x = inset; x < capture.width - inset; ++x)
                farthest = std::max(farthest, Distance(capture.At(x, y), face));
        threshold = std::max(farthest / 2, 16);
    }
    bool At(int x, int y) const { return Distance(capture.At(x, y), face) >= threshold; }
};

// What keeps the ink of a button from being one filled triangle pointing up or down: empty when it
// is one. Each row of it is a single run, the runs widen towards the base and keep their middle,
// and the base is wider than the tip.
std::string NotATriangle(const Ink& ink, bool up)
{
    struct Row
    {
        int y, left, right;
    };
    std::vector<Row> rows;
    std::ostringstream shape;
    for (int y = ink.inset; y < ink.capture.height - ink.inset; ++y)
    {
        std::string line;
        int runs = 0, left = -1, right = -1;
        for (int x = ink.inset; x < ink.capture.width - ink.inset; ++x)
        {
            const bool on = ink.At(x, y);
            line += on ? '#' : '.';
            if (on && (x == ink.inset || !ink.At(x - 1, y)))
                ++runs;
            if (on)
            {
                left = left < 0 ? x : left;
                right = x;
            }
        }
        shape << line << '\n';
        if (runs > 1)
            return "a row of it is broken:\n" + shape.str();
        if (runs == 1)
            rows.push_back({y, left, right});
    }
    if (rows.size() < 3 || rows.back().y - rows.front().y + 1 != static_cast<int>(rows.size()))
        return "it is not one shape three rows high or more:\n" + shape.str();
    if (!up)
        std::reverse(rows.begin(), rows.end());
    for (size_t i = 1; i < rows.size(); ++i)
    {
        const bool widens = rows[i].left <= rows[i - 1].left && rows[i].right >= rows[i - 1].right;
        const int middle = rows[i].left + rows[i].right - rows[i - 1].left - rows[i - 1].right;
        if (!widens || std::abs(middle) > 2)
            return std::string("it does not widen evenly ") + (up ? "downwards" : "upwards") + ":\n" + shape.str();
    }
    if (rows.back().right - rows.back().left < rows.front().right - rows.front().left + 4)
        return "its base is not wider than its tip:\n" + shape.str();
    return {};
}

// The theme that the window follows by default: Office's, dark while this lives.
class DarkOffice
{
public:
    DarkOffice()
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\16.0\\Common", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, key_.put(), nullptr);
        const DWORD dark = 4;
        RegSetValueExW(key_.get(), L"UI Theme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dark), sizeof dark);
    }
    ~DarkOffice() { RegDeleteValueW(key_.get(), L"UI Theme"); }
    DarkOffice(const DarkOffice&) = delete;
    DarkOffice& operator=(const DarkOffice&) = delete;

private:
    Owners::RegistryKey key_;
};

// Shows the main window, in the dark theme or the light one, with three files added at the end of
// its list, and runs look while it shows. The files go again before it closes.
void WithThreeFiles(const Harness::Profile& profile, bool dark, const std::function<void(MainWindow&)>& look)
{
    std::vector<std::wstring> files;
    for (const wchar_t* name : {L"one.txt", L"two.txt", L"three.txt"})
    {
        files.push_back((profile.Root() / name).wstring());
        ASSERT_TRUE(WriteStringToFile(files.back().c_str(), "notes"));
    }
    // The fonts of the program, once for the process, as the program makes them at its start.
    static const bool fontsMade = [] {
        InitUiResources();
        return true;
    }();
    ASSERT_TRUE(fontsMade);
    const std::optional<int> mode = GetThemeMode();
    const ScopeExit restore([&] { SetThemeMode(mode); });
    const std::unique_ptr<DarkOffice> office = dark ? std::make_unique<DarkOffice>() : nullptr;
    const auto window = std::make_shared<MainWindow>(std::nullopt);
    onTick = [&] {
        EXPECT_EQ(0u, window->GetFileList()->Count()) << "the window starts from a workspace of its own";
        window->AddPaths(files);
        look(*window);
        const auto list = window->GetFileList()->GetListView();
        const int count = static_cast<int>(window->GetFileList()->Count());
        list->SetSelectedItems({list->RowId(count - 3), list->RowId(count - 2), list->RowId(count - 1)});
        SendMessageW(window->GetHwnd(), WM_COMMAND, MAKEWPARAM(Command::RemoveSelected, 0), 0);
        PostMessageW(window->GetHwnd(), WM_CLOSE, 0, 0);
    };
    SetTimer(nullptr, 0, 200, &Tick);
    EXPECT_EQ(static_cast<unsigned>(MainWindowClosed), window->Show());
}

HWND ButtonOf(MainWindow& window, int id)
{
    const std::vector<HWND> buttons = Harness::ChildrenWithId(window.GetHwnd(), id);
    return buttons.empty() ? nullptr : buttons.front();
}

// Selects exactly the row at index (none when negative), as a click would.
void SelectRow(MainWindow& window, int index)
{
    const auto list = window.GetFileList()->GetListView();
    list->SetSelectedItems(index < 0 ? std::set<unsigned>{} : std::set<unsigned>{list->RowId(index)});
    window.EnableControls();
}

// Each test's windows load and save a workspace of the test's own, which is gone again at its end.
// The process keeps the place of its workspace file from its first window on (in the profile of the
// test that made it), so the file is removed there before and after each test.
class OwnWorkspace : public testing::Test
{
protected:
    OwnWorkspace() : redirect(profile), workspace(GetSettingsPath())
    {
        std::error_code ignored;
        std::filesystem::remove(workspace, ignored);
    }
    ~OwnWorkspace() override
    {
        std::error_code error;
        std::filesystem::remove(workspace, error);
        EXPECT_FALSE(std::filesystem::exists(workspace)) << "the workspace stays: " << error.message();
    }

    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect;
    const std::filesystem::path workspace;
};

class MainWindowCommands : public OwnWorkspace
{
};

class MainWindowFileList : public OwnWorkspace
{
};

class MainWindowPictures : public OwnWorkspace
{
};
} // namespace

TEST_F(MainWindowCommands, ACommandThatFailsIsShownAndTheWindowAndItsWorkspaceStay)
{
    const std::wstring file = (profile.Root() / L"notes.txt").wstring();
    ASSERT_TRUE(WriteStringToFile(file.c_str(), "notes"));
    std::vector<std::wstring> shown;
    MessageBoxOverride = [&](HWND, const wchar_t* title, std::vector<MessageItem>*, bool, int,
                             const MessageWndCallback&, const std::set<int>&, int, IMessageBoxDataProvider*,
                             const std::wstring& text) -> int {
        if (std::wstring(title) == L"Clear File List")
            throw std::runtime_error("The list is locked");
        shown.push_back(std::wstring(title) + L": " + text);
        return MessageButtonOK;
    };
    const ScopeExit restore([] { MessageBoxOverride = nullptr; });

    const auto window = std::make_shared<MainWindow>(std::nullopt);
    bool stayed = false;
    onTick = [&] {
        window->AddPaths({file}); // a change, so that clearing asks first
        SendMessageW(window->GetHwnd(), WM_COMMAND, MAKEWPARAM(40038, 0), 0);
        stayed = IsWindow(window->GetHwnd()) && window->GetFileList()->Count() == 1;
        PostMessageW(window->GetHwnd(), WM_CLOSE, 0, 0);
    };
    SetTimer(nullptr, 0, 200, &Tick);
    unsigned result = 0;
    EXPECT_NO_THROW(result = window->Show());
    EXPECT_EQ(static_cast<unsigned>(MainWindowClosed), result) << "closed by the user, not ended by the failure";
    EXPECT_TRUE(stayed);
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Error: The list is locked"}));
}

// The file list reports its rows going while the window is destroyed; nothing is enabled then.
TEST_F(MainWindowCommands, AClosedWindowEnablesNoControls)
{
    const std::wstring file = (profile.Root() / L"notes.txt").wstring();
    ASSERT_TRUE(WriteStringToFile(file.c_str(), "notes"));

    const auto window = std::make_shared<MainWindow>(std::nullopt);
    onTick = [&] {
        window->AddPaths({file});
        PostMessageW(window->GetHwnd(), WM_CLOSE, 0, 0);
    };
    SetTimer(nullptr, 0, 200, &Tick);
    EXPECT_EQ(static_cast<unsigned>(MainWindowClosed), window->Show());
    ASSERT_FALSE(IsWindow(window->GetHwnd()));

    window->EnableControls(); // returns, and touches no window
}

TEST_F(MainWindowFileList, TheListsSelectionHandlerIsNotReplacedWhileItRuns)
{
    const std::wstring file = (profile.Root() / L"notes.txt").wstring();
    ASSERT_TRUE(WriteStringToFile(file.c_str(), "notes"));
    const auto window = std::make_shared<MainWindow>(std::nullopt);
    bool ran = false;
    bool kept = false;
    onTick = [&] {
        window->AddPaths({file});
        SelectRow(*window, -1);
        const auto list = window->GetFileList()->GetListView();
        // The window's handler, watched: its last holder goes once it is replaced.
        auto watch = std::make_shared<int>(0);
        const std::weak_ptr<int> watched = watch;
        list->onSelectionChanged = [watch = std::move(watch), own = list->onSelectionChanged, target = window.get(), &ran] {
            // What it uses once the window has followed the selection is its own, held here: where
            // the handler is replaced meanwhile, its captures are gone.
            const std::function<void()> handler = own;
            MainWindow* const followed = target;
            bool* const done = &ran;
            handler();
            // The window follows the selection at once, inside the handler, when it cannot post to
            // itself (its queue full, on Windows).
            followed->EnableControls();
            *done = true;
        };
        list->SetSelectedItems({list->RowId(0)});
        kept = !watched.expired();
        PostMessageW(window->GetHwnd(), WM_CLOSE, 0, 0);
    };
    SetTimer(nullptr, 0, 200, &Tick);
    EXPECT_EQ(static_cast<unsigned>(MainWindowClosed), window->Show());
    EXPECT_TRUE(ran);
    EXPECT_TRUE(kept) << "the handler was replaced while it ran";
}

TEST_F(MainWindowFileList, TenThousandDroppedPathsCostTheListMessagesInProportionToThemNotToTheirSquare)
{
    const Owners::OleApartment ole;
    ASSERT_TRUE(SUCCEEDED(ole.result()));
    const auto window = std::make_shared<MainWindow>(std::nullopt);
    struct Drop
    {
        size_t files = 0;
        double seconds = 0;
        size_t toList = 0;
        DWORD effect = DROPEFFECT_NONE;
        size_t rows = 0;
    };
    // Drops that many new paths on the list, counting what the list is sent meanwhile.
    const auto drop = [&](size_t files) {
        Drop result{files};
        std::vector<std::wstring> paths;
        for (size_t index = 0; index < files; ++index)
            paths.push_back((profile.Root() / L"Dropped" / (L"file " + std::to_wstring(files) + L"-" +
                                                            std::to_wstring(index) + L".txt"))
                                .wstring());
        const HWND list = window->GetFileList()->GetListView()->GetHwnd();
        SetForegroundWindow(window->GetHwnd());
        RECT bounds{};
        GetWindowRect(list, &bounds);
        // Near a corner: the empty list's invitation covers its middle.
        SetCursorPos(bounds.left + 6, bounds.top + 6);
        const size_t before = window->GetFileList()->Count();
        const ListMessages counted(list);
        EXPECT_TRUE(counted.Counting());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(DRAGDROP_S_DROP, DropFilesAtCursor(paths, DROPEFFECT_COPY | DROPEFFECT_LINK, &result.effect));
        result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        result.toList = counted.Count();
        result.rows = window->GetFileList()->Count() - before;
        std::cout << result.files << " paths dropped in " << result.seconds << " s: " << result.toList
                  << " messages to the list\n";
        return result;
    };
    // Inserting, selecting and reading a row back are a few messages each; a selection that walks
    // every selected row again for each new one costs files * files / 2.
    const auto expectInProportion = [](const Drop& made) {
        EXPECT_EQ(DROPEFFECT_COPY, made.effect);
        EXPECT_EQ(made.files, made.rows);
        EXPECT_LT(made.toList, 10 * made.files);
        return made.toList < 10 * made.files;
    };
    bool small = false;
    Drop large;
    onTick = [&] {
        // A hundred first, so that a list that costs the square of its rows fails in seconds.
        small = expectInProportion(drop(100));
        if (small)
            large = drop(10000);
        PostMessageW(window->GetHwnd(), WM_CLOSE, 0, 0);
    };
    SetTimer(nullptr, 0, 200, &Tick);
    EXPECT_EQ(static_cast<unsigned>(MainWindowClosed), window->Show());
    ASSERT_TRUE(small);
    expectInProportion(large);
}

// The arrows of Move Up and Move Down are the glyph font's "5" and "6", which only that font draws
// as triangles.
TEST_F(MainWindowPictures, MoveUpAndMoveDownShowTrianglesInBothThemes)
{
    for (const bool dark : {false, true})
    {
        SCOPED_TRACE(dark ? "dark" : "light");
        WithThreeFiles(profile, dark, [&](MainWindow& window) {
            SelectRow(window, static_cast<int>(window.GetFileList()->Count()) - 2);
            for (const auto& [id, up] : {std::pair{Command::MoveUp, true}, std::pair{Command::MoveDown, false}})
            {
                SCOPED_TRACE(up ? "Move Up" : "Move Down");
                const HWND button = ButtonOf(window, static_cast<int>(id));
                ASSERT_TRUE(button && IsWindowEnabled(button));
                EXPECT_EQ("", NotATriangle(Ink(button), up));
            }
            Screenshot::SaveWindow(window.GetHwnd(), dark ? L"dark" : L"light");
        });
    }
}

// A disabled picture button shows its picture's shape in grey: what is background around the
// picture stays the face, and what is picture stays drawn, without colour.
TEST_F(MainWindowPictures, ADisabledPictureButtonShowsThePicturesShapeInGreyInBothThemes)
{
    for (const bool dark : {false, true})
    {
        SCOPED_TRACE(dark ? "dark" : "light");
        WithThreeFiles(profile, dark, [&](MainWindow& window) {
            const HWND remove = ButtonOf(window, static_cast<int>(Command::RemoveSelected));
            ASSERT_TRUE(remove);
            SelectRow(window, 0);
            ASSERT_TRUE(IsWindowEnabled(remove));
            const Ink enabled(remove);
            SelectRow(window, -1);
            ASSERT_FALSE(IsWindowEnabled(remove));
            const Ink disabled(remove);
            Screenshot::Save(enabled.capture, dark ? L"dark-enabled" : L"light-enabled");
            Screenshot::Save(disabled.capture, dark ? L"dark-disabled" : L"light-disabled");
            ASSERT_EQ(enabled.capture.width, disabled.capture.width);
            ASSERT_EQ(enabled.capture.height, disabled.capture.height);
            int background = 0, backgroundKept = 0, picture = 0, pictureKept = 0, coloured = 0;
            for (int y = enabled.inset; y < enabled.capture.height - enabled.inset; ++y)
                for (int x = enabled.inset; x < enabled.capture.width - enabled.inset; ++x)
                {
                    const COLORREF shown = disabled.capture.At(x, y);
                    const bool drawn = Distance(shown, enabled.face) >= 16;
                    if (enabled.At(x, y))
                    {
                        ++picture;
                        pictureKept += drawn;
                        coloured += drawn && (std::abs(GetRValue(shown) - GetGValue(shown)) > 8 ||
                                              std::abs(GetGValue(shown) - GetBValue(shown)) > 8);
                    }
                    else if (Distance(enabled.capture.At(x, y), enabled.face) == 0)
                    {
                        ++background;
                        backgroundKept += !drawn;
                    }
                }
            ASSERT_GT(picture, 0);
            EXPECT_GE(backgroundKept * 10, background * 9) << backgroundKept << " of " << background;
            EXPECT_GE(pictureKept * 10, picture * 8) << pictureKept << " of " << picture;
            EXPECT_EQ(0, coloured);
        });
    }
}
