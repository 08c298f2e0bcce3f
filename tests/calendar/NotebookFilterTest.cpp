// The notebook list the loader publishes and the notebook filter over it: positions, keys, the
// filter following notebooks by path across loads, and loads racing the UI thread's reads.
#include "tests/calendar/OneNoteStandIn.h"

#include "calendar/CalendarSettings.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/NotebookList.h"
#include "framework/xml/XmlDocument.h"

#include <atomic>
#include <thread>

using namespace CalendarTest;

namespace
{
std::shared_ptr<const NotebookList> ListOf(const std::wstring& notebooks)
{
    auto parsed = std::make_shared<ON::Notebooks>();
    ParseElement(*parsed, L"<one:Notebooks xmlns:one=\"http://schemas.microsoft.com/office/onenote/2010/onenote\">" +
                              notebooks + L"</one:Notebooks>");
    return std::make_shared<const NotebookList>(parsed);
}

std::wstring Shown()
{
    std::wstring shown;
    const auto list = GetNotebookList();
    for (size_t position = 0; list && position < list->Count(); ++position)
        if (IsNotebookShown(static_cast<std::int32_t>(position)))
            shown += list->Notebooks().notebooks[position]->hierarchy.name.value_or(L"?") + L";";
    return shown;
}

class NotebookFilter : public OneNoteStandIn
{
protected:
    void SetUp() override
    {
        OneNoteStandIn::SetUp();
        GetCalendarSettings().allNotebooks = false;
        GetCalendarSettings().notebookSelection.clear();
        StoredNotebookPaths().clear();
    }
    void TearDown() override
    {
        GetCalendarSettings().allNotebooks = false;
        GetCalendarSettings().notebookSelection.clear();
        StoredNotebookPaths().clear();
        OneNoteStandIn::TearDown();
    }
};

TEST_F(NotebookFilter, NotebooksAreKnownByPathOrElseByIdAndTheLaterOfTwoWins)
{
    const auto list = ListOf(L"<one:Notebook name=\"A\" ID=\"{1}\" path=\"C:\\A\"/><one:Notebook name=\"B\" ID=\"{2}\"/>"
                             L"<one:Notebook name=\"A again\" ID=\"{3}\" path=\"C:\\A\"/>");
    ASSERT_EQ(list->Count(), 3u);
    EXPECT_EQ(list->KeyAt(1), L"{2}");
    EXPECT_EQ(list->IndexOf(L"C:\\A"), 2);
    EXPECT_EQ(list->IndexOf(L"{2}"), 1);
    EXPECT_EQ(list->IndexOf(L"unknown"), 0);
}

TEST_F(NotebookFilter, TheFirstListTakesTheStoredPathsAndLaterListsKeepTheSelectionByPath)
{
    StoredNotebookPaths().push_back(std::make_shared<S::Notebook>(L"C:\\Work"));
    PublishNotebookList(ListOf(L"<one:Notebook name=\"Home\" path=\"C:\\Home\"/><one:Notebook name=\"Work\" path=\"C:\\Work\"/>"));
    EXPECT_EQ(Shown(), L"Work;");
    SetNotebookSelected(0, true);
    EXPECT_EQ(Shown(), L"Home;Work;");
    SetNotebookSelected(1, false);
    EXPECT_EQ(Shown(), L"Home;");

    // A notebook added in front, and the selected one moved to the end.
    PublishNotebookList(ListOf(L"<one:Notebook name=\"New\" path=\"C:\\New\"/><one:Notebook name=\"Work\" path=\"C:\\Work\"/>"
                               L"<one:Notebook name=\"Home\" path=\"C:\\Home\"/>"));
    EXPECT_EQ(Shown(), L"Home;");
    // Home closed: nothing else becomes shown.
    PublishNotebookList(ListOf(L"<one:Notebook name=\"New\" path=\"C:\\New\"/><one:Notebook name=\"Work\" path=\"C:\\Work\"/>"));
    EXPECT_EQ(Shown(), L"");
    // Home opened again: shown again.
    PublishNotebookList(ListOf(L"<one:Notebook name=\"Home\" path=\"C:\\Home\"/><one:Notebook name=\"Work\" path=\"C:\\Work\"/>"));
    EXPECT_EQ(Shown(), L"Home;");
    GetCalendarSettings().allNotebooks = true;
    EXPECT_EQ(Shown(), L"Home;Work;");
}

TEST_F(NotebookFilter, ReloadsWhileTheUiThreadReadsTheListAndTogglesTheFilter)
{
    StoredNotebookPaths().push_back(std::make_shared<S::Notebook>(L"placeholder"));
    std::atomic<bool> done{false};
    std::atomic<int> loads{0};
    std::thread loader([&] {
        while (!done)
        {
            const HRESULT result = LoadHierarchy();
            EXPECT_EQ(result, S_OK);
            ++loads;
        }
    });
    // The UI thread: reads every notebook of the list in use, their positions and the filter,
    // and toggles notebooks, for as long as the loads go on.
    size_t reads = 0;
    const ULONGLONG deadline = GetTickCount64() + 60000;
    for (int round = 0; loads < 20 && GetTickCount64() < deadline; ++round)
    {
        const auto list = GetNotebookList();
        if (!list)
            continue;
        for (size_t position = 0; position < list->Count(); ++position)
        {
            const auto& notebook = *list->Notebooks().notebooks[position];
            reads += notebook.hierarchy.name.value_or(L"").size() + list->KeyAt(position).size();
            if (IsNotebookShown(static_cast<std::int32_t>(position)) != (round % 2 == 0))
                SetNotebookSelected(static_cast<std::int32_t>(position), round % 2 == 0);
        }
    }
    done = true;
    loader.join();
    EXPECT_GE(loads.load(), 20);
    EXPECT_GT(reads, 0u);
    const auto list = GetNotebookList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Count(), 3u);
}
} // namespace
