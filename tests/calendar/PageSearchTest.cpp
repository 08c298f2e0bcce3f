// The page search against the registered OneNote stand-in: what it asks OneNote, the results it
// keeps, how a newer search supersedes older ones, and how failures and quitting end a search.
#include "tests/calendar/OneNoteStandIn.h"

#include "calendar/CalendarState.h"
#include "calendar/PageSearch.h"

#include <thread>

using namespace CalendarTest;

namespace
{
class PageSearch : public OneNoteStandIn
{
protected:
    static std::set<std::wstring> Results()
    {
        const std::lock_guard guard(GetSearchResultsLock());
        return GetSearchResults();
    }

    // Runs one search worker for text on a thread of its own, as the thread pool would, queued
    // first, as QueueSearch does.
    static std::thread Worker(const std::wstring& text)
    {
        return std::thread([search = NewSearch(text).release()] { SearchWorker(search); });
    }

    // The IDs of the pages of the demo store whose name is given, through a search of their own.
    std::set<std::wstring> Found(const std::wstring& text)
    {
        RunSearch(text, GetSearchGeneration().load());
        return Results();
    }
};

TEST_F(PageSearch, AsksOneNoteForAllNotebooksInThe2010SchemaAndKeepsThePageIds)
{
    const std::set<std::wstring> found = Found(L"sourdough");
    ASSERT_EQ(found.size(), 1u);
    const auto calls = Calls(L"FindPages");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments, (std::vector<std::wstring>{L"", L"sourdough", L"false", L"false", L"1"}));
    EXPECT_TRUE(ShownFailures().empty());
}

TEST_F(PageSearch, AnEmptyTextClearsTheResultsWithoutAskingOneNote)
{
    ASSERT_FALSE(Found(L"bread").empty());
    EXPECT_TRUE(Found(L"").empty());
    EXPECT_EQ(Calls(L"FindPages").size(), 1u);
}

TEST_F(PageSearch, ANewerSearchSupersedesTheOlderOnes)
{
    const std::set<std::wstring> expected = Found(L"lisbon");
    ASSERT_EQ(expected.size(), 2u);
    Found(L"");
    const size_t before = Calls(L"FindPages").size();

    // Typing quickly: the first search has its answer but not yet the results lock when the next
    // two start.
    std::vector<std::thread> workers;
    {
        const std::lock_guard guard(GetSearchResultsLock());
        workers.push_back(Worker(L"l"));
        for (int wait = 0; wait < 400 && Calls(L"FindPages").size() == before; ++wait)
            Sleep(10);
        workers.push_back(Worker(L"li"));
        Sleep(30);
        workers.push_back(Worker(L"lisbon"));
        Sleep(50);
    }
    for (auto& worker : workers)
        worker.join();

    EXPECT_EQ(Results(), expected);
    const auto calls = Calls(L"FindPages");
    ASSERT_GT(calls.size(), before);
    EXPECT_EQ(calls.size() - before, 2u) << "the middle search never asks OneNote";
    EXPECT_EQ(calls.back().arguments[1], L"lisbon");
    EXPECT_TRUE(ShownFailures().empty()) << "superseded searches end silently";
    EXPECT_FALSE(GetCalendarState().searching);
    EXPECT_EQ(GetRunningSearches().load(), 0);
    EXPECT_EQ(GetSearchWorkers().load(), 0);
}

TEST_F(PageSearch, TheSearchQueuedLastWinsWhicheverTheThreadPoolStartsFirst)
{
    const std::set<std::wstring> lisbon = Found(L"lisbon");
    ASSERT_FALSE(lisbon.empty());
    Found(L"");
    std::unique_ptr<QueuedSearch> older = NewSearch(L"bread");
    std::unique_ptr<QueuedSearch> newer = NewSearch(L"lisbon");
    // The newer search starts and ends before the older one starts.
    SearchWorker(newer.release());
    SearchWorker(older.release());
    EXPECT_EQ(Results(), lisbon);
    EXPECT_EQ(Calls(L"FindPages").back().arguments[1], L"lisbon") << "the older search never asks OneNote";
    EXPECT_EQ(GetSearchWorkers().load(), 0);
}

TEST_F(PageSearch, ANewerSearchStopsAnOlderOneInTheMiddleOfItsAnswer)
{
    constexpr int Pages = 3000;
    std::wstring pages;
    for (int i = 0; i < Pages; ++i)
        pages += StorePage(L"{" + std::to_wstring(i) + L"}{1}{E1}", L"apple " + std::to_wstring(i),
                           L"2026-03-01T08:00:00.000Z");
    UseStore(L"<one:Notebook ID=\"{N}{1}{B0}\" name=\"N\" path=\"C:\\N\"><one:Section ID=\"{S}{1}{B0}\" "
             L"name=\"S\" path=\"C:\\N\\S.one\">" +
             pages + L"</one:Section></one:Notebook>");
    std::thread older = Worker(L"apple");
    std::unique_ptr<QueuedSearch> newer;
    size_t filed = 0;
    for (int wait = 0; wait < 60000 && filed == 0; ++wait)
    {
        {
            const std::lock_guard guard(GetSearchResultsLock());
            filed = GetSearchResults().size();
            // Queued while the older search reads its answer.
            if (filed > 0)
                newer = NewSearch(L"bread");
        }
        if (filed == 0)
            Sleep(1);
    }
    older.join();
    ASSERT_GT(filed, 0u);
    EXPECT_LT(filed, static_cast<size_t>(Pages)) << "superseded before the end of its answer";
    EXPECT_EQ(Results().size(), filed) << "no page of the older search after the newer one was queued";
    EXPECT_TRUE(ShownFailures().empty());
    SearchWorker(newer.release());
    EXPECT_EQ(GetSearchWorkers().load(), 0);
}

TEST_F(PageSearch, AFailedSearchIsShownOnceAndKeepsThePreviousResults)
{
    const std::set<std::wstring> previous = Found(L"cake");
    ASSERT_FALSE(previous.empty());
    UseScenario("fail FindPages 0x80042019\n");
    Worker(L"cake OR").join();
    ASSERT_EQ(ShownFailures().size(), 1u);
    EXPECT_EQ(ShownFailures()[0].caption, L"Error");
    EXPECT_EQ(ShownFailures()[0].text.rfind(L"Failed to load pages:\r\n", 0), 0u);
    EXPECT_EQ(Results(), previous);
}

TEST_F(PageSearch, QuittingEndsASearchSilently)
{
    GetCalendarState().quitting = true;
    Worker(L"bread").join();
    EXPECT_TRUE(ShownFailures().empty());
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ(GetSearchWorkers().load(), 0);
    // Nor is a search that fails once the window has closed shown: no one would expect its box.
    UseScenario("store demo\nfail FindPages 0x80042019\n");
    Worker(L"cake OR").join();
    EXPECT_TRUE(ShownFailures().empty());
    EXPECT_EQ(GetSearchWorkers().load(), 0);
}

TEST_F(PageSearch, QueueingTheTextLastQueuedAgainQueuesNothing)
{
    QueueSearch(L"apple");
    QueueSearch(L"apple");
    QueueSearch(L"");
    // Waits as the exit does: by the count of queued and running searches.
    for (int wait = 0; wait < 200 && GetSearchWorkers() > 0; ++wait)
        Sleep(50);
    EXPECT_EQ(GetSearchWorkers().load(), 0);
    EXPECT_LE(Calls(L"FindPages").size(), 1u);
    EXPECT_TRUE(Results().empty());
}
} // namespace
