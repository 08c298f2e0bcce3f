// The list view in a real window: rows found by id after others are removed, selection by id, the
// notifications its owner hears (sent as the control sends them where Wine's list view does not),
// the empty-list text and the dark theme's drawing.
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/ListView.h"
#include "tests/framework/ui/controls/ControlTestSupport.h"

#include <string>

using ControlTest::Fixture;
using ControlTest::Host;

namespace
{
class ListViews : public Fixture
{
protected:
    std::unique_ptr<UI::ListView> MakeList(bool useRowIds, bool multiSelect = true, bool editLabels = false)
    {
        auto list = std::make_unique<UI::ListView>(host->GetHwnd(), true, useRowIds, multiSelect, editLabels);
        SetWindowLongW(list->hwnd, GWL_STYLE, (GetWindowLongW(list->hwnd, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 120;
        column.pszText = const_cast<wchar_t*>(L"Name");
        SendMessageW(list->hwnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        column.pszText = const_cast<wchar_t*>(L"Size");
        SendMessageW(list->hwnd, LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        MoveWindow(list->hwnd, 0, 0, 300, 200, FALSE);
        ShowWindow(list->hwnd, SW_SHOW);
        return list;
    }

    static std::vector<UI::ListView::Item> Rows(int count)
    {
        std::vector<UI::ListView::Item> rows;
        for (int i = 0; i < count; ++i)
            rows.push_back({L"row " + std::to_wstring(i), 0, {std::to_wstring(i * 10)}, 0});
        return rows;
    }

    static void Select(HWND list, int index)
    {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }

    static std::wstring Text(HWND list, int index, int column)
    {
        wchar_t buffer[64] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
};
} // namespace

TEST_F(ListViews, RowsKeepTheirIdsWhenAnEarlierRowIsRemoved)
{
    MakeHost();
    auto list = MakeList(true);
    list->InsertItems(0, Rows(5));
    EXPECT_EQ(Text(list->hwnd, 3, 1), L"30");
    SendMessageW(list->hwnd, LVM_DELETEITEM, 1, 0);
    Select(list->hwnd, 1);
    Select(list->hwnd, 2);
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<unsigned>{2, 3}));
}

// The focus ends where the list itself moves it when the same rows go one by one.
TEST_F(ListViews, RowsDeletedTogetherGoInTheOrderGivenAndLeaveTheFocusWhereTheListWouldMoveIt)
{
    MakeHost();
    const auto focusedRow = [](HWND list) {
        return SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    };
    for (const int focus : {0, 1, 2, 3, 4})
    {
        auto together = MakeList(false);
        auto oneByOne = MakeList(false);
        for (UI::ListView* list : {together.get(), oneByOne.get()})
        {
            list->InsertItems(0, Rows(5));
            LVITEMW focused{};
            focused.stateMask = LVIS_FOCUSED;
            focused.state = LVIS_FOCUSED;
            SendMessageW(list->hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(focus), reinterpret_cast<LPARAM>(&focused));
        }
        together->DeleteItems({3, 1});
        for (const WPARAM row : {3, 1})
            SendMessageW(oneByOne->hwnd, LVM_DELETEITEM, row, 0);
        ASSERT_EQ(SendMessageW(together->hwnd, LVM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_EQ(Text(together->hwnd, 0, 0), L"row 0");
        EXPECT_EQ(Text(together->hwnd, 1, 0), L"row 2");
        EXPECT_EQ(Text(together->hwnd, 2, 0), L"row 4");
        EXPECT_EQ(focusedRow(together->hwnd), focusedRow(oneByOne->hwnd)) << "focus on row " << focus;
        EXPECT_TRUE(IsWindowVisible(together->hwnd));

        together->DeleteItems({2, 1, 0});
        EXPECT_EQ(SendMessageW(together->hwnd, LVM_GETITEMCOUNT, 0, 0), 0);
        EXPECT_EQ(focusedRow(together->hwnd), -1);
    }
}

TEST_F(ListViews, WithoutRowIdsTheIdIsTheIndex)
{
    MakeHost();
    auto list = MakeList(false);
    list->InsertItems(0, Rows(5));
    SendMessageW(list->hwnd, LVM_DELETEITEM, 1, 0);
    Select(list->hwnd, 1);
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<unsigned>{1}));
}

TEST_F(ListViews, RowsAreSelectedByIdAndAnEmptySetClearsTheSelection)
{
    MakeHost();
    auto list = MakeList(true);
    list->InsertItems(0, Rows(5));
    SendMessageW(list->hwnd, LVM_DELETEITEM, 0, 0);
    list->SetSelectedItems({2, 4});
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<unsigned>{2, 4}));
    EXPECT_EQ(SendMessageW(list->hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    list->SetSelectedItems({});
    EXPECT_TRUE(list->GetSelectedItems().empty());
}

// A window that is gone answers 0, not -1, to "the next selected item", as it does to everything.
TEST_F(ListViews, AListWhoseWindowIsGoneHasNothingSelected)
{
    MakeHost();
    auto list = MakeList(true);
    list->InsertItems(0, Rows(3));
    Select(list->hwnd, 1);
    DestroyWindow(list->hwnd);
    EXPECT_TRUE(list->GetSelectedItems().empty());
}

TEST_F(ListViews, SetItemReplacesTextsAndKeepsTheRowsId)
{
    MakeHost();
    auto list = MakeList(true);
    list->InsertItems(0, Rows(3));
    SendMessageW(list->hwnd, LVM_DELETEITEM, 0, 0);
    list->SetItem(0, {L"renamed", 1, {L"99"}, 0});
    EXPECT_EQ(Text(list->hwnd, 0, 0), L"renamed");
    EXPECT_EQ(Text(list->hwnd, 0, 1), L"99");
    EXPECT_EQ(list->RowId(0), 1u);
}

TEST_F(ListViews, EmptyListTextIsCentredAndCutToTheMarkupCapacity)
{
    MakeHost();
    auto list = MakeList(false);
    list->getEmptyMarkup = [] { return std::wstring(3000, L'x'); };
    NMLVEMPTYMARKUP markup{};
    markup.hdr = {list->hwnd, 0, static_cast<UINT>(LVN_GETEMPTYMARKUP)};
    bool result = false;
    EXPECT_TRUE(list->OnNotify(&markup.hdr, result));
    EXPECT_TRUE(result);
    EXPECT_EQ(markup.dwFlags, static_cast<DWORD>(EMF_CENTERED));
    EXPECT_EQ(std::wstring(markup.szMarkup), std::wstring(2083, L'x'));
}

TEST_F(ListViews, EmptyListTextIsAskedOnlyWhenTheOwnerGivesOne)
{
    MakeHost();
    auto list = MakeList(false);
    NMLVEMPTYMARKUP markup{};
    markup.hdr = {list->hwnd, 0, static_cast<UINT>(LVN_GETEMPTYMARKUP)};
    bool result = true;
    EXPECT_FALSE(list->OnNotify(&markup.hdr, result));
    EXPECT_FALSE(result);
}

TEST_F(ListViews, EditedLabelsGoToTheOwnerButACancelledEditDoesNot)
{
    MakeHost();
    auto list = MakeList(false, true, true);
    list->InsertItems(0, {{L"old", 2, {L"sub"}, 0}});
    int calls = 0;
    UI::ListView::Item edited;
    list->onEndLabelEdit = [&](int row, const UI::ListView::Item& item) {
        ++calls;
        edited = item;
        return row == 0;
    };
    NMLVDISPINFOW info{};
    info.hdr = {list->hwnd, 0, static_cast<UINT>(LVN_ENDLABELEDITW)};
    info.item.iItem = 0;
    bool result = true;
    list->OnNotify(&info.hdr, result);
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(result);

    info.item.pszText = const_cast<wchar_t*>(L"");
    list->OnNotify(&info.hdr, result);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(result);
    EXPECT_EQ(edited.text, L"");
    EXPECT_EQ(edited.indent, 2);
    EXPECT_TRUE(edited.subItems.empty());
}

TEST_F(ListViews, SelectionCallbackHearsOnlyChangesOfTheSelectedState)
{
    MakeHost();
    auto list = MakeList(false);
    int changes = 0;
    list->onSelectionChanged = [&] { ++changes; };
    NMLISTVIEW change{};
    change.hdr = {list->hwnd, 0, static_cast<UINT>(LVN_ITEMCHANGED)};
    change.uChanged = LVIF_STATE;
    change.uNewState = LVIS_FOCUSED;
    bool result = false;
    EXPECT_TRUE(list->OnNotify(&change.hdr, result));
    EXPECT_EQ(changes, 0);
    change.uNewState = LVIS_SELECTED;
    list->OnNotify(&change.hdr, result);
    EXPECT_EQ(changes, 1);
}

TEST_F(ListViews, ClickBelowTheLastRowIsAnEmptyClickAndOnALabelNoIconClick)
{
    MakeHost();
    auto list = MakeList(false);
    list->InsertItems(0, Rows(2));
    int empty = 0;
    int icon = 0;
    list->onEmptyClick = [&] { ++empty; };
    list->onIconClick = [&](int) { ++icon; };
    NMITEMACTIVATE click{};
    click.hdr = {list->hwnd, 0, static_cast<UINT>(NM_CLICK)};
    click.iItem = -1;
    click.ptAction = {20, 150};
    bool result = false;
    list->OnNotify(&click.hdr, result);
    EXPECT_EQ(empty, 1);

    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageW(list->hwnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
    click.iItem = 0;
    click.ptAction = {label.left + 5, (label.top + label.bottom) / 2};
    list->OnNotify(&click.hdr, result);
    EXPECT_EQ(icon, 0);
    EXPECT_EQ(empty, 1);
}

TEST_F(ListViews, RowClicksAndKeysReachTheirCallbacksWithTheRowIndex)
{
    MakeHost();
    auto list = MakeList(false);
    int doubleRow = -2;
    int rightRow = -2;
    WORD key = 0;
    list->onDoubleClick = [&](int row) { doubleRow = row; };
    list->onRightClick = [&](int row) { rightRow = row; };
    list->onKeyDown = [&](int virtualKey) { key = static_cast<WORD>(virtualKey); };
    NMITEMACTIVATE click{};
    click.hdr = {list->hwnd, 0, static_cast<UINT>(NM_DBLCLK)};
    click.iItem = 3;
    bool result = false;
    list->OnNotify(&click.hdr, result);
    click.hdr.code = static_cast<UINT>(NM_RCLICK);
    click.iItem = -1;
    list->OnNotify(&click.hdr, result);
    NMLVKEYDOWN keyDown{};
    keyDown.hdr = {list->hwnd, 0, static_cast<UINT>(LVN_KEYDOWN)};
    keyDown.wVKey = VK_DELETE;
    list->OnNotify(&keyDown.hdr, result);
    EXPECT_EQ(doubleRow, 3);
    EXPECT_EQ(rightRow, -2);
    EXPECT_EQ(key, VK_DELETE);
}

TEST_F(ListViews, PicturesWithoutASecondListMakeOnlyTheSmallImageList)
{
    MakeHost();
    auto list = MakeList(false);
    list->SetImages({ControlTest::pictureId, ControlTest::pictureId}, {}, 2, true);
    EXPECT_TRUE(SendMessageW(list->hwnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    EXPECT_FALSE(SendMessageW(list->hwnd, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    ASSERT_EQ(list->imageLists.size(), 1u);
    EXPECT_EQ(ImageList_GetImageCount(list->imageLists.at(LVSIL_SMALL).list), 2);
    list->InsertItems(0, {{L"pictured", 0, {}, 1}});
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    SendMessageW(list->hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 1);
    // A second call replaces the list the window shows.
    list->SetImages({ControlTest::pictureId}, {ControlTest::pictureId}, 0, false);
    EXPECT_EQ(list->imageLists.size(), 2u);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(list->hwnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              list->imageLists.at(LVSIL_SMALL).list);
}

TEST_F(ListViews, LightListIsNeitherCustomDrawnNorSubclassed)
{
    MakeHost();
    auto list = MakeList(false);
    NMCUSTOMDRAW draw{};
    draw.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(list->OnCustomDraw(&draw), 0);
    EXPECT_FALSE(list->previousWndProc);
}

TEST_F(ListViews, DarkListAsksForItemDrawingAndRecoloursItself)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    MakeHost(true);
    auto list = MakeList(false);
    NMCUSTOMDRAW draw{};
    draw.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(list->OnCustomDraw(&draw), CDRF_NOTIFYITEMDRAW);
    draw.dwDrawStage = CDDS_ITEMPREPAINT;
    EXPECT_EQ(list->OnCustomDraw(&draw), CDRF_NOTIFYPOSTPAINT);
    EXPECT_TRUE(list->previousWndProc);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->hwnd, LVM_GETBKCOLOR, 0, 0)), GetThemeColor(COLOR_WINDOW));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->hwnd, LVM_GETTEXTCOLOR, 0, 0)),
              GetThemeColor(COLOR_WINDOWTEXT));
}

namespace
{
// Answers the group questions the way comctl32 6 does for one focused group "Documents" whose
// header spans the top of the list; Wine's list view keeps no group rectangles, and lays its rows
// out there.
WNDPROC listProcedure = nullptr;
const RECT fakeHeader{0, 24, 280, 44};

LRESULT CALLBACK GroupAnswers(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case LVM_GETGROUPCOUNT: return 1;
    case LVM_GETGROUPRECT:
        if (wParam != 0)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = fakeHeader;
        return TRUE;
    case LVM_GETGROUPINFO:
    {
        auto* group = reinterpret_cast<LVGROUP*>(lParam);
        lstrcpynW(group->pszHeader, L"Documents", group->cchHeader);
        group->state = LVGS_FOCUSED & group->stateMask;
        return 0;
    }
    default: return CallWindowProcW(listProcedure, hwnd, message, wParam, lParam);
    }
}
} // namespace

TEST_F(ListViews, DarkGroupHeaderGetsTheWindowColourALineAndTheGroupGlyph)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    MakeHost(true);
    auto list = MakeList(false);
    list->InsertItems(0, Rows(2));
    const Screenshot::Capture plain = Screenshot::CaptureWindow(host->GetHwnd());
    listProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GroupAnswers)));
    const Screenshot::Capture capture = Screenshot::CaptureWindow(host->GetHwnd());
    Screenshot::Save(capture, L"group");
    SetWindowLongPtrW(list->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProcedure));

    const UI::Rect bounds = UI::GetWindowRectangle(host->GetHwnd());
    auto pixel = [&](int x, int y) {
        POINT point{x, y};
        MapWindowPoints(list->hwnd, nullptr, &point, 1);
        return capture.At(point.x - bounds.x, point.y - bounds.y);
    };
    // The header's left edge in the window colour, the rule through its middle in the text colour.
    EXPECT_EQ(pixel(2, fakeHeader.top + 2), GetThemeColor(COLOR_WINDOW));
    const int ruleEnd = fakeHeader.right - UI::LargeMargin() - UI::Gap() - 2;
    const int middle = (fakeHeader.top + fakeHeader.bottom) / 2;
    bool ruled = false;
    for (int y = middle - 1; y <= middle + 1; ++y)
        ruled = ruled || pixel(ruleEnd, y) == GetThemeColor(COLOR_WINDOWTEXT);
    EXPECT_TRUE(ruled);
    // The header is not drawn over the rows that the list lays out where it says the header is:
    // they show as they did without it.
    int changed = 0;
    for (int row = 0; row < 2; ++row)
    {
        RECT cells{};
        cells.left = LVIR_BOUNDS;
        SendMessageW(list->hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cells));
        for (int y = cells.top; y < cells.bottom; ++y)
            for (int x = cells.left; x < cells.right; ++x)
            {
                POINT point{x, y};
                MapWindowPoints(list->hwnd, nullptr, &point, 1);
                changed += capture.At(point.x - bounds.x, point.y - bounds.y) !=
                           plain.At(point.x - bounds.x, point.y - bounds.y);
            }
    }
    EXPECT_EQ(changed, 0) << "pixels of the rows under the group's header";
}
