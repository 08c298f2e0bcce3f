// Tooltips: the tip control, and the tips of info badges that show at once on focus and hover.
#include "framework/ui/controls/Tooltip.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/WindowHelpers.h"

namespace UI
{
Tooltip::Tooltip(HWND parent, HWND tool, const std::wstring& text, bool tracking)
    : WindowsControl(parent, 0, 0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0), text(text),
      tool(tool), tracking(tracking)
{
    TOOLINFOW info{};
    static_assert(sizeof info == (sizeof(void*) == 4 ? 48 : 72), "the tool record of comctl32 version 6");
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
