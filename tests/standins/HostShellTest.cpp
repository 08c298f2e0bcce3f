// The host's /bin/sh run from inside Wine, as the Windows Runtime stand-in and the schema checks
// run poppler and xmllint.

#include "standins/common/HostShell.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

namespace
{
TEST(HostShell, GivesTheCommandsOutputAndExitCode)
{
    const HostShell::Result result = HostShell::Run("echo out; echo err >&2; exit 3");
    EXPECT_EQ(3, result.exitCode);
    EXPECT_EQ("out\nerr\n", result.output);
}

TEST(HostShell, QuotesWhatTheShellWouldOtherwiseExpand)
{
    const HostShell::Result result = HostShell::Run("printf %s " + HostShell::Quoted("it's $HOME `x` \"y\""));
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ("it's $HOME `x` \"y\"", result.output);
}

TEST(HostShell, MapsPathsOfEveryDriveToUnixPaths)
{
    EXPECT_EQ("/tmp/a b.txt", HostShell::UnixPath(L"Z:\\tmp\\a b.txt"));
    const std::string inPrefix = HostShell::UnixPath(L"C:\\windows\\x.txt");
    EXPECT_EQ('/', inPrefix.front());
    EXPECT_NE(std::string::npos, inPrefix.find("windows/x.txt")) << inPrefix;
}

// Wine starts a Unix program without a process handle and leaves stack garbage in the thread
// handle: often the value of a handle that the runner itself has just closed, which another
// thread has meanwhile been given for a handle of its own. That handle must survive the command.
TEST(HostShell, LeavesTheHandlesOfOtherThreadsOpen)
{
    std::atomic<bool> done{false};
    std::atomic<int> lost{0};
    std::thread other([&] {
        while (!done)
        {
            HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
            bool alive = true;
            for (int check = 0; check < 100 && alive; ++check)
            {
                DWORD flags = 0;
                alive = ::GetHandleInformation(event, &flags) != FALSE;
            }
            if (alive)
                ::CloseHandle(event);
            else
                ++lost;
        }
    });
    for (int command = 0; command < 40; ++command)
        EXPECT_EQ(0, HostShell::Run("true").exitCode);
    done = true;
    other.join();
    EXPECT_EQ(0, lost.load());
}
} // namespace
