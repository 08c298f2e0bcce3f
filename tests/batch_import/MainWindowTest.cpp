// Sheafin's main window in this process, where a command can be made to fail in a way the real
// program leaves to chance (the message box seam throws): what the window does about it.
#include "batch_import/MainWindow.h"

#include "framework/ScopeExit.h"
#include "framework/files/Files.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "tests/support/ProgramHarness.h"

#include <gtest/gtest.h>

#include <functional>
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
