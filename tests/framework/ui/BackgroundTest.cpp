// Work on worker threads handed back to the UI thread, and questions a worker asks the user.
#include "framework/com/ComError.h"
#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"
#include "framework/ui/Window.h"
#include "tests/framework/log/LogReading.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>

using namespace std::chrono_literals;

namespace
{
std::shared_ptr<Window> MakeWindow()
{
    auto window = std::make_shared<Window>();
    window->Create(nullptr, COLOR_BTNFACE, 0, WS_OVERLAPPED);
    return window;
}

// Gives each test a log of its own to read back.
class Background : public testing::Test
{
protected:
    Background() : logPath_(TestPaths::OutputFile(L".log")) { OpenLogFile(logPath_.wstring()); }
    ~Background() override { CloseLogFile(); }

    std::vector<std::wstring> LogMessages()
    {
        CloseLogFile();
        std::vector<std::wstring> messages;
        for (const std::wstring& line : LogReading::Lines(LogReading::Text(logPath_)))
            messages.push_back(LogReading::Message(line));
        OpenLogFile(TestPaths::OutputFile(L".more.log").wstring());
        return messages;
    }

    std::filesystem::path logPath_;
};

// Waits without dispatching until the window has a posted closure in its queue.
bool ClosureIsQueued(HWND window)
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    MSG message;
    while (!PeekMessageW(&message, window, WM_RUNCLOSURE, WM_RUNCLOSURE, PM_NOREMOVE))
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        Sleep(5);
    }
    return true;
}
} // namespace

TEST_F(Background, UiPartRunsOnTheUiThreadAfterTheWorkInTheMultithreadedApartment)
{
    auto window = MakeWindow();
    std::atomic<DWORD> workerThread{0};
    std::atomic<bool> multithreaded{false};
    DWORD uiThread = 0;
    Window* received = nullptr;
    Window::RunInBackground(
        *window,
        [&] {
            workerThread = GetCurrentThreadId();
            APTTYPE type{};
            APTTYPEQUALIFIER qualifier{};
            multithreaded = SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && type == APTTYPE_MTA;
        },
        [&](Window& w) {
            uiThread = GetCurrentThreadId();
            received = &w;
        });
    ASSERT_TRUE(UiTest::PumpUntil([&] { return received != nullptr; }));
    EXPECT_EQ(received, window.get());
    EXPECT_EQ(uiThread, GetCurrentThreadId());
    EXPECT_NE(workerThread.load(), GetCurrentThreadId());
    EXPECT_TRUE(multithreaded);
}

TEST_F(Background, ResultReachesTheUiPart)
{
    auto window = MakeWindow();
    std::optional<std::optional<int>> received;
    Window::GetFromBackground(*window, [] { return 42; }, [&](Window&, std::optional<int> result) { received = result; });
    ASSERT_TRUE(UiTest::PumpUntil([&] { return received.has_value(); }));
    EXPECT_EQ(*received, 42);
}

TEST_F(Background, MoveOnlyResultIsHandedOver)
{
    auto window = MakeWindow();
    std::unique_ptr<int> received;
    Window::GetFromBackground(
        *window, [] { return std::make_unique<int>(5); },
        [&](Window&, std::optional<std::unique_ptr<int>> result) { received = std::move(*result); });
    ASSERT_TRUE(UiTest::PumpUntil([&] { return received != nullptr; }));
    EXPECT_EQ(*received, 5);
}

TEST_F(Background, ComErrorIsLoggedAndTheUiPartGetsNothing)
{
    auto window = MakeWindow();
    std::optional<std::optional<int>> received;
    Window::GetFromBackground(
        *window, []() -> int { ThrowComError(E_FAIL, L"The notebook is locked"); },
        [&](Window&, std::optional<int> result) { received = result; });
    ASSERT_TRUE(UiTest::PumpUntil([&] { return received.has_value(); }));
    EXPECT_FALSE(received->has_value());

    std::wstring expected = L"Async function failed with ";
    try
    {
        ThrowComError(E_FAIL, L"The notebook is locked");
    }
    catch (const _com_error& error)
    {
        expected += GetErrorMessage(error);
    }
    EXPECT_EQ(LogMessages(), std::vector<std::wstring>{expected});
}

TEST_F(Background, OtherExceptionIsLoggedAndTheUiPartStillRuns)
{
    auto window = MakeWindow();
    bool ran = false;
    Window::RunInBackground(*window, [] { throw std::runtime_error("disk gone"); }, [&](Window&) { ran = true; });
    ASSERT_TRUE(UiTest::PumpUntil([&] { return ran; }));
    EXPECT_EQ(LogMessages(), std::vector<std::wstring>{L"Async function failed with exception"});
}

TEST_F(Background, WindowReleasedBeforeItsJobEndsGetsNothing)
{
    auto window = MakeWindow();
    const HWND hwnd = window->GetHwnd();
    std::atomic<bool> workDone{false};
    bool uiRan = false;
    Window::RunInBackground(
        *window,
        [&] {
            Sleep(200);
            workDone = true;
        },
        [&](Window&) { uiRan = true; });
    window.reset();
    EXPECT_TRUE(workDone) << "releasing the window waits for its job";
    EXPECT_FALSE(IsWindow(hwnd));
    // The job has ended, so whatever it posted waits in the queue now.
    UiTest::PumpWaiting();
    EXPECT_FALSE(uiRan);
    EXPECT_TRUE(LogMessages().empty());
}

TEST_F(Background, EachUiPartPrunesTheFinishedJobs)
{
    auto window = MakeWindow();
    int uiParts = 0;
    for (int i = 0; i < 3; ++i)
        Window::RunInBackground(*window, [i] { Sleep(20 * i); }, [&](Window&) { ++uiParts; });
    EXPECT_EQ(window->RunningTaskCount(), 3u);
    ASSERT_TRUE(UiTest::PumpUntil([&] { return uiParts == 3; }));
    EXPECT_LE(window->RunningTaskCount(), 1u) << "the job that posted last may still be returning";
    EXPECT_TRUE(UiTest::PumpUntil([&] {
        window->RemoveFinishedTasks();
        return window->RunningTaskCount() == 0;
    }));
}

TEST_F(Background, QuestionAnsweredOnTheUiThreadReachesTheWorker)
{
    auto window = MakeWindow();
    const UiChannel channel = window->GetUiChannel();
    std::optional<std::optional<int>> received;
    Window::GetFromBackground(
        *window, [channel] { return channel.Ask(-1, [] { return IsUiThread() ? 2 : -2; }); },
        [&](Window&, std::optional<int> answer) { received = answer; });
    ASSERT_TRUE(UiTest::PumpUntil([&] { return received.has_value(); }));
    EXPECT_EQ(*received, 2);
}

TEST_F(Background, QuestionToAWindowThatIsGoneGetsTheCautiousAnswer)
{
    auto window = MakeWindow();
    const UiChannel channel = window->GetUiChannel();
    window->End(0);
    auto answer = std::async(std::launch::async, [channel] {
        return channel.Ask(std::optional<std::wstring>(), [] { return std::optional<std::wstring>(L"secret"); });
    });
    ASSERT_EQ(answer.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(answer.get().has_value());
}

TEST_F(Background, QuestionDroppedUnrunWhenTheWindowIsDestroyedUnblocksTheWorker)
{
    auto window = MakeWindow();
    const UiChannel channel = window->GetUiChannel();
    bool asked = false;
    auto answer = std::async(std::launch::async, [channel, &asked] {
        return channel.Ask(2, [&asked] {
            asked = true;
            return 0;
        });
    });
    ASSERT_TRUE(ClosureIsQueued(window->GetHwnd()));
    DestroyWindow(window->GetHwnd());
    ASSERT_EQ(answer.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(answer.get(), 2) << "stop the import";
    UiTest::PumpWaiting();
    EXPECT_FALSE(asked);
}

TEST_F(Background, QuestionThatThrowsGetsTheCautiousAnswer)
{
    auto window = MakeWindow();
    const UiChannel channel = window->GetUiChannel();
    auto answer = std::async(std::launch::async, [channel] {
        return channel.Ask(2, []() -> int { throw std::runtime_error("no dialog"); });
    });
    ASSERT_TRUE(UiTest::PumpUntil([&] { return answer.wait_for(0s) == std::future_status::ready; }));
    EXPECT_EQ(answer.get(), 2);
    EXPECT_FALSE(Window::TakePendingException()) << "a failed question ends no loop";
}

TEST_F(Background, QuestionAskedOnTheUiThreadIsAnsweredAtOnce)
{
    auto window = MakeWindow();
    EXPECT_EQ(window->GetUiChannel().Ask(2, [] { return 1; }), 1);
    EXPECT_EQ(window->GetUiChannel().Ask(2, []() -> int { throw std::runtime_error("no dialog"); }), 2);
}

TEST_F(Background, PostedClosureRunsOnceAndIsFreed)
{
    auto window = MakeWindow();
    auto marker = std::make_shared<int>(0);
    int runs = 0;
    ASSERT_TRUE(window->GetUiChannel().Post([marker, &runs] { ++runs; }));
    EXPECT_EQ(marker.use_count(), 2);
    ASSERT_TRUE(UiTest::PumpUntil([&] { return runs == 1; }));
    EXPECT_EQ(marker.use_count(), 1);
    UiTest::PumpWaiting();
    EXPECT_EQ(runs, 1);
}

TEST_F(Background, ClosureForADestroyedWindowIsFreedUnrun)
{
    auto window = MakeWindow();
    auto marker = std::make_shared<int>(0);
    bool ran = false;
    const UiChannel channel = window->GetUiChannel();
    ASSERT_TRUE(channel.Post([marker, &ran] { ran = true; }));
    window->End(0);
    EXPECT_EQ(marker.use_count(), 1);
    EXPECT_FALSE(channel.Post([marker, &ran] { ran = true; })) << "a post after the end fails";
    EXPECT_EQ(marker.use_count(), 1) << "and its closure is freed";
    UiTest::PumpWaiting();
    EXPECT_FALSE(ran);
}

TEST_F(Background, ClosureWhoseWindowObjectExpiredDoesNothing)
{
    auto window = MakeWindow();
    const UiChannel channel = window->GetUiChannel();
    bool ran = false;
    std::weak_ptr<Window> weak = window;
    window.reset();
    EXPECT_FALSE(channel.Post([weak, &ran] {
        if (weak.lock())
            ran = true;
    }));
    EXPECT_FALSE(ran);
}

TEST_F(Background, SenderOwnedClosureRunsAndStaysWithTheSender)
{
    auto window = MakeWindow();
    int runs = 0;
    std::function<void()> closure = [&runs] { ++runs; };
    SendMessageW(window->GetHwnd(), WM_RUNCLOSURE, 0, reinterpret_cast<LPARAM>(&closure));
    EXPECT_EQ(runs, 1);
    closure();
    EXPECT_EQ(runs, 2);
}
