#include "framework/ui/controls/WindowsControl.h"

#include "framework/log/Log.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/ScaledBitmap.h"
#include "framework/ui/Theme.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowHelpers.h"

#include <cmath>
#include <map>
#include <mutex>

namespace
{
// Windows whose procedure we replaced, and their controls.
std::mutex registryMutex;
std::map<HWND, UI::WindowsControl*> subclassed;

void DrawItemHook(void* control, const DRAWITEMSTRUCT* item, int background)
{
    try
    {
        static_cast<UI::WindowsControl*>(control)->DrawItem(item, background);
    }
    catch (const std::exception& error)
    {
        GetLog(true) << L"ERROR: Drawing a control failed: " << error.what();
    }
    catch (...)
    {
        GetLog(true) << L"ERROR: Drawing a control failed";
    }
}

LRESULT CustomDrawHook(void* control, NMCUSTOMDRAW* draw)
{
    try
    {
        return static_cast<UI::WindowsControl*>(control)->OnCustomDraw(draw);
    }
    catch (...)
    {
        GetLog(true) << L"ERROR: Custom drawing of a control failed";
        return 0;
    }
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    UI::WindowsControl* control = nullptr;
    {
        std::lock_guard lock(registryMutex);
        const auto entry = subclassed.find(hwnd);
        if (entry == subclassed.end())
            return 0;
        control = entry->second;
        if (message == WM_DESTROY)
        {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->previousWndProc));
            subclassed.erase(entry);
        }
    }
    try
    {
        return control->WndProc(message, wParam, lParam);
    }
    catch (...)
    {
        GetLog(true) << L"ERROR: A control's message " << message << L" failed";
        return CallWindowProcW(control->previousWndProc, hwnd, message, wParam, lParam);
    }
}

float Pixel() { return 0.75f * GetDpiScaleX(); }
} // namespace

namespace UI
{
int ComboBoxHeight()
{
    static const int value = PointsToPixels(17.25f, GetDpiScaleX());
    return value;
}

WindowsControl::WindowsControl(HWND parent, int id, DWORD exStyle, const wchar_t* className, const wchar_t* text,
                               DWORD style, int fontIndex)
    : className(className), parentWindow(parent), id(id)
{
    // Every control answers its parent's owner-draw and custom-draw questions through these.
    SetChildControlHooks({&DrawItemHook, &CustomDrawHook});
    hwnd = CreateWindowExW(exStyle, className, text ? text : L"", style, 0, 0, 300, 100, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (hwnd)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetFont(fontIndex);
}

WindowsControl::~WindowsControl()
{
    if (hwnd && IsWindow(hwnd))
    {
        // The window may outlive us for a moment while it is destroyed: it no longer reaches us.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        {
            std::lock_guard lock(registryMutex);
            if (subclassed.erase(hwnd))
                SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWndProc));
        }
        DestroyWindow(hwnd);
    }
    tooltip.reset();
}

WindowsControl* WindowsControl::FromWindow(HWND window)
{
    return window ? reinterpret_cast<WindowsControl*>(GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
}

void WindowsControl::Enable(bool enable)
{
    if (hwnd)
        EnableWindow(hwnd, enable);
}

void WindowsControl::Measure(Gdiplus::Graphics&, int availableWidth, int availableHeight)
{
    int w = width > 0 ? width : availableWidth;
    int h = height > 0 ? height : availableHeight;
    measuredSize = {std::max(w, minWidth), std::max(h, minHeight)};
    needsMeasure = false;
}

void WindowsControl::Arrange(int x, int y, int w, int h, HDWP& deferHandle, HWND& insertAfter, bool parentVisible)
{
    if (!hwnd)
        return;
    const UINT flags = SWP_NOACTIVATE | (visible && parentVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    deferHandle = DeferWindowPos(deferHandle, hwnd, insertAfter, x + margin.left, y + margin.top, w, h, flags);
    insertAfter = hwnd;
}

void WindowsControl::DrawItem(const DRAWITEMSTRUCT*, int) {}

LRESULT WindowsControl::OnCustomDraw(NMCUSTOMDRAW*) { return 0; }

std::wstring WindowsControl::GetText() { return GetWindowTextString(hwnd); }

LRESULT WindowsControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(previousWndProc, hwnd, message, wParam, lParam);
}

void WindowsControl::SetFont(int index)
{
    fontIndex = index;
    if (hwnd)
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetUiFontTable().Handle(index)), FALSE);
}

void WindowsControl::SetText(const std::wstring& text)
{
    SetWindowTextW(hwnd, text.c_str());
    needsMeasure = true;
}

bool WindowsControl::IsEnabled() const { return IsWindow(hwnd) && IsWindowEnabled(hwnd); }

void WindowsControl::RemoveStyle(DWORD bits)
{
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(GetWindowLongW(hwnd, GWL_STYLE) & ~bits));
}

void WindowsControl::SetTooltip(const std::wstring& text, int maxWidth)
{
    tooltip = std::make_shared<Tooltip>(parentWindow, hwnd, text, false);
    tooltip->SetMaxWidth(::ScaleToDpi(maxWidth));
}

void WindowsControl::Subclass()
{
    std::lock_guard lock(registryMutex);
    if (!hwnd || subclassed.contains(hwnd))
        return;
    previousWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    subclassed[hwnd] = this;
}

bool IsControlWindow(const std::shared_ptr<WindowsControl>& control, HWND hwnd)
{
    return control && control->hwnd == hwnd;
}

// Label

namespace
{
DWORD LabelStyle(bool mnemonic, int alignment, bool link)
{
    DWORD style = WS_CHILD;
    style |= alignment == Label::Right ? SS_RIGHT : alignment == Label::Centre ? SS_CENTER : SS_LEFT;
    if (!mnemonic)
    {
        style |= SS_NOPREFIX;
        if (link)
            style |= LWS_NOPREFIX;
    }
    if (link)
        style |= WS_TABSTOP;
    return style;
}
} // namespace

Label::Label(HWND parent, const std::wstring& text, bool mnemonic, int alignment, int fontIndex, bool link)
    : WindowsControl(parent, 0, 0, link ? L"SysLink" : L"Static", text.c_str(), LabelStyle(mnemonic, alignment, link),
                     fontIndex),
      link(link)
{
}

void Label::Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight)
{
    if (link && IsDarkMode())
    {
        // The link colour of the light theme is unreadable on the dark background.
        LITEM item{};
        item.mask = LIF_ITEMINDEX | LIF_STATE;
        item.iLink = 0;
        item.state = LIS_DEFAULTCOLORS;
        item.stateMask = LIS_DEFAULTCOLORS;
        SendMessageW(hwnd, LM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
    int w = 0;
    int h = 0;
    if (height > 0)
    {
        w = width > 0 ? width : MeasureWindowTextWidth(graphics, hwnd, fontIndex);
        h = height;
    }
    else
    {
        w = width > 0 ? width : availableWidth;
        const int wrapWidth = w + PointsToPixels(7.5f, GetDpiScaleX()) - padding.left - padding.right;
        h = MeasureWindowTextHeight(graphics, hwnd, wrapWidth, fontIndex) + padding.top + padding.bottom;
    }
    (void)availableHeight;
    WindowsControl::Measure(graphics, w, h);
}

// EditBox

namespace
{
DWORD EditStyle(bool multiLine)
{
    if (multiLine)
        return WS_CHILD | WS_VSCROLL | WS_TABSTOP | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE;
    return WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL;
}
} // namespace

EditBox::EditBox(HWND parent, const wchar_t* initialText, bool multiLine)
    : WindowsControl(parent, 0, IsDarkMode() ? WS_EX_STATICEDGE : WS_EX_CLIENTEDGE, L"Edit", nullptr,
                     EditStyle(multiLine), 0)
{
    minWidth = minHeight = ControlHeight();
    if (!multiLine)
        height = ControlHeight();
    SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(-1), 0);
    if (initialText)
        SetWindowTextW(hwnd, initialText);
    if (multiLine)
        Subclass();
}

LRESULT EditBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = WindowsControl::WndProc(message, wParam, lParam);
    // Tab moves the focus on rather than entering a tab character.
    if (message == WM_GETDLGCODE && wParam == VK_TAB)
        result &= ~DLGC_WANTALLKEYS;
    return result;
}

// Progress

Progress::Progress(HWND parent) : WindowsControl(parent, 0, WS_EX_CLIENTEDGE, PROGRESS_CLASSW, nullptr, WS_CHILD, 0)
{
    minWidth = minHeight = ControlHeight();
    height = ControlHeight();
    SendMessageW(hwnd, PBM_SETRANGE32, 0, 1000);
}

bool Progress::SetProgress(float fraction)
{
    if (marquee)
    {
        SendMessageW(hwnd, PBM_SETMARQUEE, FALSE, 0);
        RemoveStyle(PBS_MARQUEE);
        marquee = false;
    }
    const int newPosition = static_cast<int>(std::lround(fraction * 1000.0f));
    if (newPosition == position)
        return false;
    position = newPosition;
    PostMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    return true;
}

void Progress::SetMarquee()
{
    SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | PBS_MARQUEE);
    SendMessageW(hwnd, PBM_SETMARQUEE, TRUE, 0);
    marquee = true;
}

// ComboBox

namespace
{
DWORD ComboStyle(bool editable)
{
    DWORD style = WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS;
    style |= editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    if (IsDarkMode())
        style |= CBS_OWNERDRAWFIXED;
    return style;
}

// Shared by every owner-drawn combo box item: one is drawn at a time.
Window::Offscreen& ItemBuffer()
{
    static Window::Offscreen buffer;
    return buffer;
}
} // namespace

ComboBox::ComboBox(HWND parent, int id, bool editable)
    : WindowsControl(parent, id, WS_EX_CLIENTEDGE, L"ComboBox", nullptr, ComboStyle(editable), 0),
      ownerDrawn(IsDarkMode())
{
    minWidth = minHeight = ComboBoxHeight();
    height = ComboBoxHeight();
}

void ComboBox::SetItems(const std::vector<std::wstring>& items)
{
    SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items)
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::SetSelection(int index) { SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

int ComboBox::GetSelection() const { return static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)); }

std::wstring ComboBox::GetItemText(int index) const
{
    if (index < 0 || index >= static_cast<int>(SendMessageW(hwnd, CB_GETCOUNT, 0, 0)))
        return {};
    const LRESULT length = SendMessageW(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring ComboBox::GetText()
{
    const int selection = GetSelection();
    if (selection == CB_ERR)
        return GetWindowTextString(hwnd);
    return GetItemText(selection);
}

void ComboBox::DrawItem(const DRAWITEMSTRUCT* item, int)
{
    if (!ownerDrawn || !item || item->itemID == static_cast<UINT>(-1))
        return;
    const int w = item->rcItem.right - item->rcItem.left;
    const int h = item->rcItem.bottom - item->rcItem.top;
    Window::Offscreen& buffer = ItemBuffer();
    if (w <= 0 || h <= 0 || !buffer.Prepare(item->hDC, w, h))
        return;
    const bool selected = item->itemState & ODS_SELECTED;
    const int fill = selected ? SelectThemeColor(COLOR_BTNFACE, COLOR_HIGHLIGHT, COLOR_BTNFACE) : COLOR_BTNFACE;
    {
        Gdiplus::Graphics graphics(buffer.dc.get());
        graphics.Clear(Gdiplus::Color(GetThemeArgb(fill)));
        const float px = Pixel();
        const Gdiplus::SolidBrush text{
            Gdiplus::Color(GetThemeArgb(item->itemState & ODS_DISABLED ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT))};
        const std::wstring itemText = GetItemText(static_cast<int>(item->itemID));
        if (Gdiplus::Font* font = GetUiFontTable().Font(0))
            graphics.DrawString(itemText.c_str(), static_cast<INT>(itemText.size()), font, Gdiplus::PointF(px, 0),
                                &text);
        if (selected && GetFocus() == hwnd)
        {
            Gdiplus::Pen pen(Gdiplus::Color(SelectThemeColor<Gdiplus::ARGB>(
                                 GetThemeArgb(COLOR_WINDOWFRAME), 0xFF4C9CF0, GetThemeArgb(COLOR_WINDOWFRAME))),
                             1);
            if (!IsHighContrast())
                pen.SetDashStyle(Gdiplus::DashStyleDot);
            graphics.DrawRectangle(&pen, px, px, w - 3 * px, h - 3 * px);
        }
    }
    BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, w, h, buffer.dc.get(), 0, 0, SRCCOPY);
}

// DateTimePicker

namespace
{
DWORD PickerStyle(int mode)
{
    const DWORD style = WS_CHILD | WS_TABSTOP;
    switch (mode)
    {
    case DateTimePicker::Time: return style | DTS_TIMEFORMAT;
    case DateTimePicker::DateAndTime: return style | DTS_SHORTDATEFORMAT;
    default: return style | DTS_LONGDATEFORMAT;
    }
}
} // namespace

DateTimePicker::DateTimePicker(HWND parent, int id, int mode, const DateTime& value)
    : WindowsControl(parent, id, WS_EX_CLIENTEDGE, DATETIMEPICK_CLASSW, nullptr, PickerStyle(mode), 0)
{
    minWidth = minHeight = ComboBoxHeight();
    height = ComboBoxHeight();
    if (mode == DateAndTime)
        SendMessageW(hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"MMMM dd', 'yyy' 'hh':'mm':'ss' 'tt"));
    SYSTEMTIME local = value.ToLocalSystemTime();
    local.wMilliseconds = 0;
    SendMessageW(hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
}

SYSTEMTIME DateTimePicker::GetValue() const
{
    SYSTEMTIME value{};
    SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}

// Image

Image::Image(HWND parent, int resourceId)
    : WindowsControl(parent, 0, 0, L"Static", nullptr, WS_CHILD | WS_CLIPCHILDREN | SS_NOPREFIX | SS_BITMAP, 0)
{
    if (resourceId)
        SetImage(resourceId);
}

void Image::SetImage(int resourceId, COLORREF background, bool useBackground)
{
    if (resourceId)
    {
        if (const std::unique_ptr<Gdiplus::Bitmap> bitmap = LoadFileResourceBitmap(resourceId))
            SetBitmap(background, useBackground, *bitmap);
        return;
    }
    SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, 0);
    bitmapHandle.reset();
    width = height = 0;
}

void Image::SetBitmap(COLORREF background, bool useBackground, Gdiplus::Bitmap& bitmap)
{
    const SIZE size = GetImageSize(bitmap, true);
    width = size.cx;
    height = size.cy;
    Owners::Bitmap handle(CreateScaledHBitmap(bitmap, size, background, useBackground));
    SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(handle.get()));
    bitmapHandle = std::move(handle);
}

// Tooltip

Tooltip::Tooltip(HWND parent, HWND tool, const std::wstring& text, bool tracking)
    : WindowsControl(parent, 0, 0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0), text(text),
      tool(tool), tracking(tracking)
{
    TOOLINFOW info{};
    static_assert(sizeof info == 48, "the tool record of comctl32 version 6");
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | (tracking ? TTF_TRACK | TTF_ABSOLUTE : TTF_SUBCLASS);
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = this->text.data();
    SendMessageW(hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SetMaxWidth(::ScaleToDpi(800));
    if (tracking)
        SendMessageW(hwnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void Tooltip::SetMaxWidth(int pixels) { SendMessageW(hwnd, TTM_SETMAXTIPWIDTH, 0, pixels); }

// Measuring

int MeasureTextWidth(Gdiplus::Graphics& graphics, const std::wstring& text, int fontIndex)
{
    Gdiplus::Font* font = GetUiFontTable().Font(fontIndex);
    if (!font)
        return 0;
    const float side = 10000.0f * 0.75f * GetDpiScaleX();
    Gdiplus::RectF bounds;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), font, Gdiplus::RectF(0, 0, side, side),
                           nullptr, &bounds);
    return static_cast<int>(bounds.Width);
}

int MeasureWindowTextWidth(Gdiplus::Graphics& graphics, HWND window, int fontIndex)
{
    const std::wstring text = GetDisplayText(window);
    return text.empty() ? 0 : MeasureTextWidth(graphics, text, fontIndex);
}

int MeasureTextHeight(Gdiplus::Graphics& graphics, const std::wstring& text, int width, int fontIndex)
{
    Gdiplus::Font* font = GetUiFontTable().Font(fontIndex);
    if (!font)
        return 0;
    Gdiplus::RectF bounds;
    graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), font,
                           Gdiplus::RectF(0, 0, static_cast<float>(width), 10000.0f), nullptr, &bounds);
    return static_cast<int>(bounds.Height + 0.5f);
}

int MeasureWindowTextHeight(Gdiplus::Graphics& graphics, HWND window, int width, int fontIndex)
{
    const std::wstring text = GetDisplayText(window);
    return MeasureTextHeight(graphics, text.empty() ? L" " : text, width, fontIndex);
}

// Tooltips of badges

NMHDR NotificationFromCommand(WPARAM wParam, LPARAM lParam)
{
    NMHDR header{};
    header.hwndFrom = reinterpret_cast<HWND>(lParam);
    header.idFrom = LOWORD(wParam);
    header.code = HIWORD(wParam);
    return header;
}

bool HandleTooltipNotification(const NMHDR* header)
{
    if (!header)
        return false;
    const bool hot = header->code == static_cast<UINT>(BCN_HOTITEMCHANGE);
    if (!hot && header->code != BN_SETFOCUS && header->code != BN_KILLFOCUS)
        return false;
    if (lstrcmpiW(GetClassNameString(header->hwndFrom).c_str(), L"Button") != 0 ||
        (GetWindowLongW(header->hwndFrom, GWL_STYLE) & WS_TABSTOP))
        return false;
    WindowsControl* control = WindowsControl::FromWindow(header->hwndFrom);
    if (!control || !control->tooltip || control->tooltip->text.empty())
        return false;
    const std::wstring text = control->tooltip->text;
    control->tooltip.reset();
    const bool entering = header->code == BN_SETFOCUS ||
                          (hot && (reinterpret_cast<const NMBCHOTITEM*>(header)->dwFlags & HICF_ENTERING));
    if (entering)
    {
        ShowTooltipNow(*control, text);
        PositionTrackingTooltip(*control);
    }
    else
        control->SetTooltip(text, 400);
    return true;
}

bool ShowTooltipNow(WindowsControl& control, const std::wstring& text)
{
    if (control.tooltip && control.tooltip->tracking && control.tooltip->text == text)
        return false;
    auto tip = std::make_shared<Tooltip>(control.parentWindow, control.hwnd, text, true);
    tip->SetMaxWidth(::ScaleToDpi(400));
    control.tooltip = std::move(tip);
    return true;
}

void PositionTrackingTooltip(WindowsControl& control)
{
    if (!control.tooltip)
        return;
    const Rect c = GetWindowRectangle(control.hwnd);
    const Rect p = GetWindowRectangle(control.parentWindow);
    int x = c.x;
    const int maxWidth = static_cast<int>(SendMessageW(control.tooltip->hwnd, TTM_GETMAXTIPWIDTH, 0, 0));
    const int excess = c.x + maxWidth + 2 * LargeMargin() - (p.x + p.width);
    if (excess > 0)
        x -= excess;
    const int offset = PointsToPixels(15.0f, GetDpiScaleX());
    SendMessageW(control.tooltip->hwnd, TTM_TRACKPOSITION, 0, MAKELPARAM(x + offset, c.y + offset));
}
} // namespace UI
