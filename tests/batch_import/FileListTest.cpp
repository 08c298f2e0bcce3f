// The file list on a real list view: rows and entries in step through additions, moves, removals
// and Select All, and files dropped on it through OLE drag and drop.
#include "batch_import/FileList.h"
#include "framework/ui/Window.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"
#include "tests/support/FileDropList.h"

#include <gtest/gtest.h>

namespace
{
std::wstring RowText(HWND list, int row, int column)
{
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

int RowImage(HWND list, int row)
{
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

class FileListWindow : public DialogTest::Fixture
{
protected:
    FileListWindow()
    {
        oleResult = OleInitialize(nullptr);
        window = std::make_shared<AutoLayoutWindow>();
        window->Create(nullptr, COLOR_BTNFACE, 0, WS_OVERLAPPEDWINDOW);
        SetWindowPos(window->GetHwnd(), HWND_TOPMOST, 100, 100, 600, 400, SWP_SHOWWINDOW);
        list = std::make_unique<FileList>(window->GetHwnd(), entries);
        SetWindowPos(List(), nullptr, 0, 0, 560, 340, SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    ~FileListWindow() override
    {
        list.reset();
        DestroyWindow(window->GetHwnd());
        window.reset();
        if (SUCCEEDED(oleResult))
            OleUninitialize();
    }

    HWND List() const { return list->GetListView()->GetHwnd(); }
    int Rows() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (int row = 0; row < Rows(); ++row)
            names.push_back(RowText(List(), row, 0));
        return names;
    }
    std::vector<std::wstring> EntryNames() const
    {
        std::vector<std::wstring> names;
        for (const auto& entry : entries)
            names.push_back(entry.path.substr(entry.path.find_last_of(L'\\') + 1));
        return names;
    }
    std::vector<unsigned> Selected() const { return list->GetListView()->GetSelectedItems(); }
    void Select(std::set<unsigned> rows) { list->GetListView()->SetSelectedItems(rows); }

    HRESULT oleResult = E_FAIL;
    std::vector<Config::Entry> entries;
    std::shared_ptr<AutoLayoutWindow> window;
    std::unique_ptr<FileList> list;
};
} // namespace

TEST_F(FileListWindow, AddedPathsAppendRowsWithNameFolderAndKindAndAreSelected)
{
    list->AddFiles({L"C:\\Notes\\todo.txt", L"C:\\windows"});
    list->AddFiles({L"C:\\Notes\\todo.txt"});
    ASSERT_EQ(3, Rows());
    EXPECT_EQ(3u, entries.size()) << "a repeated path is added again";
    EXPECT_EQ(L"todo.txt", RowText(List(), 0, 0));
    EXPECT_EQ(L"C:\\Notes", RowText(List(), 0, 1));
    EXPECT_EQ(6, RowImage(List(), 0));
    EXPECT_EQ(L"windows", RowText(List(), 1, 0));
    EXPECT_EQ(0, RowImage(List(), 1)) << "a folder shows the folder kind";
    EXPECT_EQ((std::vector<unsigned>{2}), Selected()) << "exactly the new rows";
    list->AddFiles({});
    EXPECT_EQ(3, Rows());
}

TEST_F(FileListWindow, MovesKeepRowsEntriesAndSelectionInStep)
{
    list->AddFiles({L"C:\\a.txt", L"C:\\b.txt", L"C:\\c.txt", L"C:\\d.txt", L"C:\\e.txt"});
    Select({1, 2, 4});
    EXPECT_TRUE(list->MoveSelected(-1));
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt", L"c.txt", L"a.txt", L"e.txt", L"d.txt"}), Names());
    EXPECT_EQ(Names(), EntryNames());
    EXPECT_EQ((std::vector<unsigned>{0, 1, 3}), Selected());
    EXPECT_FALSE(list->MoveSelected(-1)) << "the block touches the top";
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt", L"c.txt", L"a.txt", L"e.txt", L"d.txt"}), Names());

    Select({2, 3});
    EXPECT_TRUE(list->MoveSelected(1));
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt", L"c.txt", L"d.txt", L"a.txt", L"e.txt"}), Names());
    EXPECT_EQ(Names(), EntryNames());
    EXPECT_EQ((std::vector<unsigned>{3, 4}), Selected());
    EXPECT_FALSE(list->MoveSelected(1));

    Select({});
    EXPECT_FALSE(list->MoveSelected(1));
}

TEST_F(FileListWindow, RemovalLeavesTheOtherRowsInOrderAndSelectAllTakesEveryRow)
{
    list->AddFiles({L"C:\\a.txt", L"C:\\b.txt", L"C:\\c.txt", L"C:\\d.txt", L"C:\\e.txt"});
    Select({});
    EXPECT_FALSE(list->RemoveSelected());
    Select({1, 3});
    EXPECT_TRUE(list->RemoveSelected());
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"c.txt", L"e.txt"}), Names());
    EXPECT_EQ(Names(), EntryNames());
    list->SelectAll();
    EXPECT_EQ((std::vector<unsigned>{0, 1, 2}), Selected());
    EXPECT_TRUE(list->RemoveSelected());
    EXPECT_EQ(0, Rows());
    EXPECT_TRUE(entries.empty());
}

TEST_F(FileListWindow, ReloadRebuildsEveryRowFromTheEntriesAndTellsTheWindow)
{
    list->AddFiles({L"C:\\a.txt", L"C:\\b.pdf"});
    int changes = 0;
    list->SetChangedCallback([&] { ++changes; });
    std::swap(entries[0], entries[1]);
    list->Reload();
    EXPECT_EQ((std::vector<std::wstring>{L"b.pdf", L"a.txt"}), Names());
    EXPECT_EQ(3, RowImage(List(), 0));
    EXPECT_GE(changes, 1);
}

TEST_F(FileListWindow, FilesDroppedOnTheListReachTheWindowThroughOle)
{
    ASSERT_TRUE(SUCCEEDED(oleResult));
    std::vector<std::vector<std::wstring>> drops;
    list->SetDropCallback([&](const std::vector<std::wstring>& paths) { drops.push_back(paths); });
    SetForegroundWindow(window->GetHwnd());
    RECT bounds{};
    GetWindowRect(List(), &bounds);
    SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
    Screenshot::PumpMessages();

    const std::vector<std::wstring> files{L"C:\\Notes\\todo.txt", L"C:\\Notes\\Report.pdf"};
    DWORD effect = DROPEFFECT_NONE;
    EXPECT_EQ(DRAGDROP_S_DROP, DropFilesAtCursor(files, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect));
    EXPECT_EQ(DROPEFFECT_COPY, effect);
    ASSERT_EQ(1u, drops.size());
    EXPECT_EQ(files, drops[0]);

    // Without a handler the list takes no drop, and nothing happens.
    list->SetDropCallback({});
    EXPECT_EQ(DRAGDROP_S_DROP, DropFilesAtCursor(files, DROPEFFECT_COPY, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
    EXPECT_EQ(1u, drops.size());
}
