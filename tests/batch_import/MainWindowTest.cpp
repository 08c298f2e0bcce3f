// Sheafin's main window in this process, where a command can be made to fail in a way the real
// program leaves to chance (the message box seam throws): what the window does about it.
#include "batch_import/MainWindow.h"

#include "framework/Owners.h"
#include "framework/ScopeExit.h"
#include "framework/files/Files.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "tests/support/FileDropList.h"
#include "tests/support/ProgramHarness.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <functional>
#include <iostream>
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
} // namespace

TEST(MainWindowCommands, ACommandThatFailsIsShownAndTheWindowAndItsWorkspaceStay)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
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
TEST(MainWindowCommands, AClosedWindowEnablesNoControls)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
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

TEST(MainWindowFileList, TenThousandDroppedPathsCostTheListMessagesInProportionToThemNotToTheirSquare)
{
    const Harness::Profile profile;
    const Harness::ShellFolderRedirect redirect(profile);
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

