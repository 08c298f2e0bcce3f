#include "framework/ui/controls/ListView.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/ScaledBitmap.h"
#include "framework/ui/Theme.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/controls/DarkParts.h"

#include <uxtheme.h>

#include <algorithm>

namespace
{
DWORD ListStyle(bool showHeader, bool multiSelect, bool editLabels)
{
    // The list's image lists belong to the control object (they outlive a replaced list and must
    // not be destroyed twice), so the window only borrows them.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_NOSORTHEADER | LVS_AUTOARRANGE | LVS_SHOWSELALWAYS |
                  LVS_SHAREIMAGELISTS;
    if (!showHeader)
        style |= LVS_NOCOLUMNHEADER;
    if (!multiSelect)
        style |= LVS_SINGLESEL;
    if (editLabels)
        style |= LVS_EDITLABELS;
    return style;
}

constexpr size_t markupCapacity = 2084;

// Keeps a shown list from drawing itself while rows go in or out: it would redraw at each of them,
// which for thousands of rows takes minutes. Drawn once, whole, afterwards.
class NoRedraw
{
public:
    explicit NoRedraw(HWND list) : list_((GetWindowLongW(list, GWL_STYLE) & WS_VISIBLE) ? list : nullptr)
    {
        // A hidden list draws nothing anyway, and WM_SETREDRAW would show it.
        if (list_)
            SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    }
    NoRedraw(const NoRedraw&) = delete;
    NoRedraw& operator=(const NoRedraw&) = delete;
    ~NoRedraw()
    {
        if (!list_)
            return;
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }

private:
    HWND list_;
};
} // namespace

namespace UI
{
ListView::ImageListOwner& ListView::ImageListOwner::operator=(ImageListOwner&& other) noexcept
{
    if (this != &other)
    {
        if (list)
            ImageList_Destroy(list);
        side = other.side;
        list = std::exchange(other.list, nullptr);
    }
    return *this;
}

ListView::ImageListOwner::~ImageListOwner()
{
    if (list)
        ImageList_Destroy(list);
}

ListView::ListView(HWND parent, bool showHeader, bool useRowIds, bool multiSelect, bool editLabels)
    : WindowsControl(parent, 0, WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, ListStyle(showHeader, multiSelect, editLabels),
                     0),
      useRowIds(useRowIds), dark(IsDarkMode())
{
    SetWindowTheme(hwnd, L"Explorer", nullptr);
    const LPARAM extended = LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT | LVS_EX_AUTOSIZECOLUMNS;
    SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    if (dark)
    {
        SendMessageW(hwnd, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(GetThemeColor(COLOR_WINDOW)));
        SendMessageW(hwnd, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(GetThemeColor(COLOR_WINDOW)));
        SendMessageW(hwnd, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(GetThemeColor(COLOR_WINDOWTEXT)));
        Subclass();
    }
}

unsigned ListView::RowId(int index) const
{
    if (!useRowIds)
        return static_cast<unsigned>(index);
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    SendMessageW(hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<unsigned>(item.lParam);
}

void ListView::InsertItems(int first, const std::vector<Item>& items)
{
    if (items.empty())
        return;
    const NoRedraw quiet(hwnd);
    for (size_t k = 0; k < items.size(); ++k)
    {
        const Item& source = items[k];
        const int index = first + static_cast<int>(k);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_INDENT | (imageLists.empty() ? 0 : LVIF_IMAGE);
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(source.text.c_str());
        item.lParam = index;
        item.iIndent = source.indent;
        item.iImage = source.image;
        const int inserted = static_cast<int>(SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        for (size_t j = 0; j < source.subItems.size(); ++j)
        {
            LVITEMW sub{};
            sub.iSubItem = static_cast<int>(j + 1);
            sub.pszText = const_cast<wchar_t*>(source.subItems[j].c_str());
            SendMessageW(hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(inserted), reinterpret_cast<LPARAM>(&sub));
        }
    }
}

void ListView::DeleteItems(const std::vector<unsigned>& indices)
{
    if (indices.empty())
        return;
    const NoRedraw quiet(hwnd);
    // The list moves its focus along at each row that goes before or at the focused one, and
    // moving it costs as much as drawing a row: the focus is taken away while the rows go, and then
    // given once to the row the list would have moved it to.
    int focus = static_cast<int>(SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focus >= 0)
    {
        LVITEMW unfocused{};
        unfocused.stateMask = LVIS_FOCUSED;
        SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(focus), reinterpret_cast<LPARAM>(&unfocused));
    }
    int count = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    for (const unsigned index : indices)
    {
        if (!SendMessageW(hwnd, LVM_DELETEITEM, index, 0))
            continue;
        --count;
        if (focus > static_cast<int>(index))
            --focus;
        else if (focus == static_cast<int>(index))
            focus = std::min(focus, count - 1);
    }
    if (focus >= 0)
    {
        LVITEMW focused{};
        focused.stateMask = LVIS_FOCUSED;
        focused.state = LVIS_FOCUSED;
        SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(focus), reinterpret_cast<LPARAM>(&focused));
    }
}

void ListView::SetItem(int index, const Item& source)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_INDENT | (imageLists.empty() ? 0 : LVIF_IMAGE);
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(source.text.c_str());
    item.iIndent = source.indent;
    item.iImage = source.image;
    SendMessageW(hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (size_t j = 0; j < source.subItems.size(); ++j)
    {
        LVITEMW sub{};
        sub.iSubItem = static_cast<int>(j + 1);
        sub.pszText = const_cast<wchar_t*>(source.subItems[j].c_str());
        SendMessageW(hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    }
}

std::vector<unsigned> ListView::GetSelectedItems() const
{
    // A window that is gone answers 0 to every message, never -1: only the items the list holds
    // are asked for, each once.
    std::vector<unsigned> ids;
    const int count = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    int index = -1;
    while (static_cast<int>(ids.size()) < count)
    {
        const int next = static_cast<int>(
            SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED));
        if (next <= index || next >= count)
            break;
        index = next;
        ids.push_back(RowId(index));
    }
    return ids;
}

void ListView::SetSelectedItems(const std::set<unsigned>& ids)
{
    // The list tells of each row whose state changes, and the owner's handler may look at every
    // selected row: run once per row, it would cost the square of the rows.
    const int count = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    std::vector<int> rows;
    if (useRowIds)
    {
        for (int index = 0; index < count; ++index)
            if (ids.contains(RowId(index)))
                rows.push_back(index);
    }
    else
        for (const unsigned id : ids)
            if (id < static_cast<unsigned>(count))
                rows.push_back(static_cast<int>(id));
    settingSelection_ = true;
    selectionChanged_ = false;
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    // The focus ends on the last selected row.
    for (const int row : rows)
    {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | (row == rows.back() ? LVIS_FOCUSED : 0);
        SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    settingSelection_ = false;
    if (selectionChanged_ && onSelectionChanged)
        onSelectionChanged();
    EnsureSelectionVisible();
}

void ListView::EnsureSelectionVisible()
{
    if (SendMessageW(hwnd, LVM_GETSELECTEDCOUNT, 0, 0) <= 0)
        return;
    const LRESULT first = SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    SendMessageW(hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(first), FALSE);
}

void ListView::SetImages(const std::vector<int>& first, const std::vector<int>& second, int value, bool useValue)
{
    auto load = [](const std::vector<int>& ids) {
        std::vector<std::unique_ptr<Gdiplus::Bitmap>> bitmaps;
        for (int id : ids)
            bitmaps.push_back(LoadFileResourceBitmap(id));
        return bitmaps;
    };
    const auto small = load(first);
    const auto large = load(second);
    std::vector<int> values;
    if (useValue)
        values.assign(std::max(first.size(), second.size()), value);

    auto makeList = [&](int kind, int side, const std::vector<std::unique_ptr<Gdiplus::Bitmap>>& bitmaps) {
        ImageListOwner owner(side, ImageList_Create(side, side, ILC_COLOR32, static_cast<int>(bitmaps.size()), 0));
        for (size_t i = 0; i < bitmaps.size(); ++i)
        {
            if (!bitmaps[i])
                continue;
            const int padding = i < values.size() ? values[i] : 0;
            Owners::Bitmap converted(CreateScaledHBitmap(*bitmaps[i], SIZE{side, side}, 0, false, padding));
            ImageList_Add(owner.list, converted.get(), nullptr);
        }
        SendMessageW(hwnd, LVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(owner.list));
        // Replaces (and so destroys) a list of the same kind made earlier, now that the window
        // holds the new one.
        imageLists[kind] = std::move(owner);
    };
    if (!second.empty())
        makeList(LVSIL_NORMAL, PointsToPixels(24.0f, GetDpiScaleX()), large);
    makeList(LVSIL_SMALL, PointsToPixels(12.0f, GetDpiScaleX()), small);
}

bool ListView::OnNotify(NMHDR* header, bool& result)
{
    result = false;
    if (!header)
        return false;
    switch (header->code)
    {
    case LVN_GETEMPTYMARKUP:
        if (getEmptyMarkup)
        {
            auto* markup = reinterpret_cast<NMLVEMPTYMARKUP*>(header);
            markup->dwFlags = EMF_CENTERED;
            const std::wstring text = getEmptyMarkup();
            const size_t length = std::min(text.size(), markupCapacity - 1);
            std::copy_n(text.c_str(), length, markup->szMarkup);
            markup->szMarkup[length] = L'\0';
            result = true;
            return true;
        }
        break;
    case LVN_ENDLABELEDITW:
        if (onEndLabelEdit)
        {
            const auto* info = reinterpret_cast<const NMLVDISPINFOW*>(header);
            if (!info->item.pszText)
                break;
            LVITEMW row{};
            row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
            row.iItem = info->item.iItem;
            wchar_t buffer[2] = {};
            row.pszText = buffer;
            row.cchTextMax = 2;
            SendMessageW(hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row));
            Item item;
            item.text = info->item.pszText;
            item.indent = row.iIndent;
            item.image = row.iImage;
            result = onEndLabelEdit(info->item.iItem, item);
        }
        break;
    case LVN_KEYDOWN:
        if (onKeyDown)
            onKeyDown(reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey);
        break;
    case LVN_ITEMCHANGED:
        if (onSelectionChanged)
        {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
            if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
            {
                if (settingSelection_)
                    selectionChanged_ = true;
                else
                    onSelectionChanged();
            }
            return true;
        }
        break;
    case NM_RCLICK:
        if (onRightClick && reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem >= 0)
            onRightClick(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
        break;
    case NM_DBLCLK:
        if (onDoubleClick && reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem >= 0)
            onDoubleClick(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
        break;
    case NM_CLICK:
        if (onIconClick || onEmptyClick)
        {
            const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
            LVHITTESTINFO hit{};
            hit.pt = click->ptAction;
            const int row = static_cast<int>(SendMessageW(hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (click->iItem >= 0 && hit.flags == LVHT_ONITEMICON)
            {
                if (onIconClick)
                    onIconClick(row);
            }
            else if (hit.flags == LVHT_NOWHERE && onEmptyClick)
                onEmptyClick();
        }
        break;
    default: break;
    }
    return false;
}

LRESULT ListView::OnCustomDraw(NMCUSTOMDRAW* draw)
{
    if (!dark || !draw)
        return 0;
    switch (draw->dwDrawStage)
    {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        if (draw->hdr.hwndFrom == hwnd &&
            (SendMessageW(hwnd, LVM_GETITEMSTATE, draw->dwItemSpec, LVIS_SELECTED) & LVIS_SELECTED))
        {
            // The list would draw the selection in the system's colours (light grey while it has
            // no focus): the row is drawn as a plain one in the theme's selection colours.
            auto* row = reinterpret_cast<NMLVCUSTOMDRAW*>(draw);
            row->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
            row->clrText = GetThemeColor(COLOR_HIGHLIGHTTEXT);
            row->clrTextBk = GetThemeColor(COLOR_HIGHLIGHT);
            return (draw->dwDrawStage & CDDS_SUBITEM) ? CDRF_NEWFONT : CDRF_NOTIFYPOSTPAINT | CDRF_NOTIFYSUBITEMDRAW;
        }
        return (draw->dwDrawStage & CDDS_SUBITEM) ? CDRF_DODEFAULT : CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
    {
        // The separators the light theme draws in its own colours.
        Owners::Pen pen(CreatePen(PS_SOLID, 1, GetThemeColor(COLOR_BTNFACE)));
        const Owners::SelectedObject selected(draw->hdc, pen.get());
        const Rect client = GetClientRectangle(hwnd);
        MoveToEx(draw->hdc, 0, draw->rc.top, nullptr);
        LineTo(draw->hdc, client.width, draw->rc.top);
        MoveToEx(draw->hdc, 0, draw->rc.bottom, nullptr);
        LineTo(draw->hdc, client.width, draw->rc.bottom);
        return 0;
    }
    default: return 0;
    }
}

LRESULT ListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = WindowsControl::WndProc(message, wParam, lParam);
    if (dark && !darkHeader_)
    {
        // The list makes its column header once it is first shown in the details view.
        if (const auto header = reinterpret_cast<HWND>(SendMessageW(hwnd, LVM_GETHEADER, 0, 0)))
        {
            PaintHeaderDark(header);
            darkHeader_ = header;
            InvalidateRect(header, nullptr, TRUE);
        }
    }
    if (message == WM_PAINT && dark)
        PaintDarkParts();
    return result;
}

void ListView::PaintDarkParts()
{
    const Owners::WindowDC dc(hwnd);
    if (!dc)
        return;
    Gdiplus::Graphics graphics(dc.get());
    Gdiplus::Pen pen(Gdiplus::Color(GetThemeArgb(COLOR_WINDOWTEXT)), 1);
    Gdiplus::SolidBrush textBrush{Gdiplus::Color(GetThemeArgb(COLOR_WINDOWTEXT))};
    Gdiplus::SolidBrush window{Gdiplus::Color(GetThemeArgb(COLOR_WINDOW))};
    Gdiplus::Font* font = GetUiFontTable().Font(0);
    Gdiplus::Font* glyphs = GetUiFontTable().Font(5);

    const int groups = static_cast<int>(SendMessageW(hwnd, LVM_GETGROUPCOUNT, 0, 0));
    if (groups > 0)
    {
        // A group's header stands above its rows; where a list lays its rows out without room for
        // the headers (Wine's keeps no group layout), a header is drawn only where no row is.
        const int count = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
        const int top = std::max(0, static_cast<int>(SendMessageW(hwnd, LVM_GETTOPINDEX, 0, 0)));
        const int shown = static_cast<int>(SendMessageW(hwnd, LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
        for (int row = top; row < count && row <= top + shown; ++row)
        {
            RECT bounds{};
            bounds.left = LVIR_BOUNDS;
            if (SendMessageW(hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds)))
                graphics.ExcludeClip(Gdiplus::Rect(bounds.left, bounds.top, bounds.right - bounds.left,
                                                   bounds.bottom - bounds.top));
        }
    }
    for (int index = 0; index < groups; ++index)
    {
        RECT header{};
        header.top = LVGGR_HEADER;
        if (!SendMessageW(hwnd, LVM_GETGROUPRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&header)))
            continue;
        const Gdiplus::RectF headerRect(static_cast<float>(header.left), static_cast<float>(header.top),
                                        static_cast<float>(header.right - header.left),
                                        static_cast<float>(header.bottom - header.top));
        graphics.FillRectangle(&window, headerRect);

        wchar_t text[1024] = {};
        LVGROUP group{};
        static_assert(sizeof group == (sizeof(void*) == 4 ? 0x60 : 0x98), "the group record of comctl32 version 6");
        group.cbSize = sizeof group;
        group.mask = LVGF_HEADER | LVGF_STATE;
        group.stateMask = LVGS_COLLAPSED | LVGS_FOCUSED;
        group.pszHeader = text;
        group.cchHeader = 1024;
        SendMessageW(hwnd, LVM_GETGROUPINFO, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&group));

        const Gdiplus::RectF textRect(headerRect.X + static_cast<float>(Margin()), headerRect.Y,
                                      headerRect.Width - static_cast<float>(LargeMargin() + Gap() + Margin()),
                                      headerRect.Height);
        Gdiplus::StringFormat format;
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
        format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap);
        const int length = lstrlenW(text);
        Gdiplus::RectF measured = textRect;
        if (font)
        {
            graphics.DrawString(text, length, font, textRect, &format, &textBrush);
            graphics.MeasureString(text, length, font, textRect, &format, &measured);
        }
        const float middle = headerRect.Y + headerRect.Height / 2;
        graphics.DrawLine(&pen, measured.GetRight(), middle, textRect.GetRight(), middle);
        if (glyphs)
        {
            const wchar_t* glyph = (group.state & LVGS_COLLAPSED) ? L"6" : L"5";
            graphics.DrawString(glyph, 1, glyphs,
                                Gdiplus::PointF(textRect.GetRight() + static_cast<float>(Gap()),
                                                headerRect.Y + static_cast<float>(PointsToPixels(3.0f, GetDpiScaleX()))),
                                &textBrush);
        }
        if (group.state & LVGS_FOCUSED)
        {
            Gdiplus::Pen dotted(Gdiplus::Color(GetThemeArgb(COLOR_WINDOWTEXT)), 1);
            dotted.SetDashStyle(Gdiplus::DashStyleDot);
            graphics.DrawRectangle(&dotted, measured);
        }
    }

    graphics.ResetClip();
    if (GetFocus() != hwnd)
    {
        // Without the focus the list would show the selection in the light theme's grey.
        Gdiplus::Pen dotted(Gdiplus::Color(GetThemeArgb(COLOR_WINDOWTEXT)), 1);
        dotted.SetDashStyle(Gdiplus::DashStyleDot);
        int index = -1;
        while ((index = static_cast<int>(SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(index),
                                                      LVNI_SELECTED))) != -1)
        {
            RECT bounds{};
            bounds.left = LVIR_SELECTBOUNDS;
            if (!SendMessageW(hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&bounds)))
                continue;
            graphics.DrawRectangle(&dotted, static_cast<INT>(bounds.left), static_cast<INT>(bounds.top),
                                   static_cast<INT>(bounds.right - 1 - bounds.left),
                                   static_cast<INT>(bounds.bottom - 1 - bounds.top));
        }
    }
}
} // namespace UI
