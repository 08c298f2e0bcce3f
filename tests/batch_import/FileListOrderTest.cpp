// The order rules of the file list: moves of selected blocks, removals from the highest index
// down, and the row made from a path.
#include "batch_import/FileListOrder.h"

#include <gtest/gtest.h>

namespace
{
std::vector<Config::Entry> Entries(std::initializer_list<const wchar_t*> paths)
{
    std::vector<Config::Entry> entries;
    for (const wchar_t* path : paths)
    {
        Config::Entry entry;
        entry.path = path;
        entries.push_back(entry);
    }
    return entries;
}

std::vector<std::wstring> Paths(const std::vector<Config::Entry>& entries)
{
    std::vector<std::wstring> paths;
    for (const auto& entry : entries)
        paths.push_back(entry.path);
    return paths;
}
} // namespace

TEST(FileListOrder, SelectedRowsMoveByOnePlaceAndStaySelected)
{
    struct Case
    {
        std::set<unsigned> selected;
        int delta;
        std::vector<std::wstring> order;
        std::set<unsigned> selection;
    };
    const Case cases[] = {
        {{1, 2, 4}, -1, {L"b", L"c", L"a", L"e", L"d"}, {0, 1, 3}},
        {{0, 2}, 1, {L"b", L"a", L"d", L"c", L"e"}, {1, 3}},
        {{2, 3}, 1, {L"a", L"b", L"e", L"c", L"d"}, {3, 4}},
        {{3}, -1, {L"a", L"b", L"d", L"c", L"e"}, {2}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(c.selected) + " by " + std::to_string(c.delta));
        auto entries = Entries({L"a", L"b", L"c", L"d", L"e"});
        const auto move = MoveEntries(entries, c.selected, c.delta);
        ASSERT_TRUE(move.has_value());
        EXPECT_EQ(c.order, Paths(entries));
        EXPECT_EQ(c.selection, move->selection);
    }
}

TEST(FileListOrder, ASelectionTouchingTheEdgeItMovesTowardDoesNotMoveAtAll)
{
    const std::pair<std::set<unsigned>, int> cases[] = {{{0, 2}, -1}, {{0}, -1}, {{1, 4}, 1}, {{4}, 1}, {{}, 1}};
    for (const auto& [selected, delta] : cases)
    {
        SCOPED_TRACE(testing::PrintToString(selected) + " by " + std::to_string(delta));
        auto entries = Entries({L"a", L"b", L"c", L"d", L"e"});
        EXPECT_FALSE(MoveEntries(entries, selected, delta).has_value());
        EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"e"}), Paths(entries));
    }
}

TEST(FileListOrder, MovedUpTwiceABlockAtTheTopStaysWhereItIs)
{
    auto entries = Entries({L"a", L"b", L"c", L"d", L"e"});
    const auto first = MoveEntries(entries, {1, 2, 4}, -1);
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(MoveEntries(entries, first->selection, -1).has_value());
    EXPECT_EQ((std::vector<std::wstring>{L"b", L"c", L"a", L"e", L"d"}), Paths(entries));
}

TEST(FileListOrder, ASelectionBeyondTheEntriesMovesNothing)
{
    auto entries = Entries({L"a", L"b"});
    EXPECT_FALSE(MoveEntries(entries, {1, 5}, -1).has_value());
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), Paths(entries));
}

TEST(FileListOrder, RemovalErasesFromTheHighestIndexDownAndKeepsTheRestInOrder)
{
    auto entries = Entries({L"a", L"b", L"c", L"d", L"e"});
    EXPECT_EQ((std::vector<unsigned>{3, 1}), RemoveEntries(entries, {1, 3}));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"c", L"e"}), Paths(entries));

    auto four = Entries({L"a", L"b", L"c", L"d"});
    EXPECT_EQ((std::vector<unsigned>{3, 1}), RemoveEntries(four, {1, 3, 9}));
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"c"}), Paths(four));
}

TEST(FileListOrder, RowShowsNameFolderAndKindOfThePath)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* name;
        const wchar_t* folder;
        int kind;
    };
    const Case cases[] = {
        {L"C:\\Notes\\todo.txt", L"todo.txt", L"C:\\Notes", 6},
        {L"C:\\Notes\\Report.PDF", L"Report.PDF", L"C:\\Notes", 3},
        {L"C:\\Notes\\deck.pptx", L"deck.pptx", L"C:\\Notes", 5},
        {L"C:\\Notes\\letter.docx", L"letter.docx", L"C:\\Notes", 4},
        {L"C:\\Notes\\photo.jpg", L"photo.jpg", L"C:\\Notes", 2},
        {L"C:\\Notes\\page.html", L"page.html", L"C:\\Notes", 7},
        {L"C:\\Notes\\data.bin", L"data.bin", L"C:\\Notes", 1},
        {L"C:\\Windows", L"Windows", L"C:", 0},
        {L"notes.txt", L"notes.txt", L"", 6},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
        const UI::ListView::Item row = MakeFileRow(c.path);
        EXPECT_EQ(c.name, row.text);
        EXPECT_EQ(0, row.indent);
        EXPECT_EQ(std::vector<std::wstring>{c.folder}, row.subItems);
        EXPECT_EQ(c.kind, row.image);
    }
}
