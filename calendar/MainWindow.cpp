#include "calendar/MainWindow.h"

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DrawingResources.h"
#include "calendar/HitArea.h"
#include "calendar/LumdayWindow.h"
#include "calendar/Startup.h"
#include "framework/ui/Theme.h"
#include "framework/ui/WindowPosition.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace
{
// How long the end of the session waits for a worker's OneNote call to return before the
// settings are written. Windows waits about five seconds for the answer before it tells the user
// that the program holds up the sign-out: the wait and the save, which waits for nothing, fit well
// inside that.
constexpr DWORD SessionEndWaitLimit = 2500;

// Clicks and mouse moves are handed to the views in content coordinates.
POINT ContentPoint(LPARAM lParam)
{
    const SCROLLINFO horizontal = GetScrollBar(SB_HORZ);
    const SCROLLINFO vertical = GetScrollBar(SB_VERT);
    return {static_cast<short>(GET_X_LPARAM(lParam) + horizontal.nPos),
            static_cast<short>(GET_Y_LPARAM(lParam) + vertical.nPos)};
}

// Where a scroll request moves a bar: a line is line pixels, a page the bar's page, top and bottom
// its ends, and the result stays within the bar's range (the bar itself keeps its last page in
// sight).
int ScrollPosition(const SCROLLINFO& bar, int request, int line)
{
    int position = bar.nPos;
    switch (request)
    {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= static_cast<int>(bar.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(bar.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = bar.nTrackPos; break;
    case SB_TOP: position = bar.nMin; break;
    case SB_BOTTOM: position = bar.nMax; break;
    default: break;
    }
    return std::clamp(position, bar.nMin, std::max(bar.nMin, bar.nMax));
}

// Where the pointer last moved over the client area (its mouse message's client point), or none
// before the first move.
std::optional<LPARAM>& LastPointer()
{
    static std::optional<LPARAM> point;
    return point;
}

// The tooltip's one tool covers the hot area (client coordinates).
void PlaceTooltip(const Gdiplus::RectF& area)
{
    const CalendarState& state = GetCalendarState();
    if (!state.tooltip)
        return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = state.mainWindow;
    tool.uId = 0;
    tool.rect = {static_cast<LONG>(area.X), static_cast<LONG>(area.Y), static_cast<LONG>(area.X + area.Width),
                 static_cast<LONG>(area.Y + area.Height)};
    SendMessageW(state.tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// After a paint, the hot area is the area drawn under the pointer now: a wheel notch, search
// results, a load or F5 may have put another page, or none, where the pointer rests without
// moving, and a click, the underline and the tooltip are about what is drawn. When the paint drew
// another area as hot, the view is painted again with the new area underlined, a tooltip still
// showing the old area's text is taken down (the next move shows the new one's), and the tooltip
// covers the new area.
void FollowPointer(const HitArea& drawnHot)
{
    if (!LastPointer())
        return;
    CalendarState& state = GetCalendarState();
    const POINT point = ContentPoint(*LastPointer());
    const bool over = HitTest(static_cast<float>(point.x), static_cast<float>(point.y));
    const HitArea& hot = GetHotArea();
    if (hot.kind == drawnHot.kind && hot.IsSame(drawnHot) && hot.rect.Equals(drawnHot.rect))
        return;
    RequestRepaint();
    if (state.tooltip && IsWindowVisible(state.tooltip))
        SendMessageW(state.tooltip, TTM_POP, 0, 0);
    if (over)
        PlaceTooltip(hot.rect);
    else if (state.currentView)
        state.currentView->OnMouseMove(false);
}

void Paint(HWND window)
{
    const HitArea drawnHot = GetHotArea();
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (LumdayWindow* view = GetCalendarState().currentView)
    {
        if (std::unique_ptr<Gdiplus::Bitmap> bitmap = view->OnPaint())
        {
            Gdiplus::Graphics graphics(dc);
            RECT client;
            GetClientRect(window, &client);
            graphics.DrawImage(bitmap.get(), static_cast<INT>(client.left), static_cast<INT>(client.top),
                               static_cast<INT>(client.right - client.left), static_cast<INT>(client.bottom - client.top));
        }
    }
    EndPaint(window, &paint);
    FollowPointer(drawnHot);
}

// The hot area is painted again, without its highlight.
void InvalidateHotArea(HWND window)
{
    const Gdiplus::RectF hot = GetHotArea().rect;
    RECT old{static_cast<LONG>(hot.X), static_cast<LONG>(hot.Y), static_cast<LONG>(std::ceil(hot.X + hot.Width)),
             static_cast<LONG>(std::ceil(hot.Y + hot.Height))};
    InvalidateRect(window, &old, FALSE);
}

void OnMouseMoveMessage(LPARAM lParam)
{
    CalendarState& state = GetCalendarState();
    InvalidateHotArea(state.mainWindow);
    LastPointer() = lParam;
    // Windows says when the pointer leaves the calendar (for the search box, another window, or
    // off the window), which sends no move of its own.
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, state.mainWindow, 0};
    TrackMouseEvent(&track);
    const POINT point = ContentPoint(lParam);
    if (HitTest(static_cast<float>(point.x), static_cast<float>(point.y)))
    {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        RequestRepaint();
        PlaceTooltip(GetHotArea().rect);
    }
    else
    {
        if (state.currentView)
            state.currentView->OnMouseMove(false);
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
}

// The pointer has left the calendar: no place of it is under the pointer any more, so no paint
// (a search, F5, another period) may find a page at the point it left, underline it or preview it.
void OnMouseLeaveMessage()
{
    CalendarState& state = GetCalendarState();
    LastPointer().reset();
    InvalidateHotArea(state.mainWindow);
    SetHotArea(HitArea());
    if (state.tooltip && IsWindowVisible(state.tooltip))
        SendMessageW(state.tooltip, TTM_POP, 0, 0);
    if (state.currentView)
        state.currentView->OnMouseMove(false);
}
} // namespace

SIZE GetMinimumWindowSize()
{
    const float scale = GetDpiScale();
    return {static_cast<LONG>(scale * 282 * 3 * 0.25f + 0.5f), static_cast<LONG>(scale * 340 * 3 * 0.25f + 0.5f)};
}

void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(100), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(100), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = MainWindowClass;
    RegisterClassExW(&windowClass);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CalendarState& state = GetCalendarState();
    LumdayWindow* view = state.currentView;
    bool handled = false;
    LRESULT result = 0;
    switch (message)
    {
    case WM_DESTROY:
        GetWindowPosition(window, GetCalendarSettings());
        PostQuitMessage(0);
        break;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows ends the process once this returns: the settings changed since the last Back
        // (theme, view, text size, placement, the last update check) are written now.
        if (wParam)
        {
            GetWindowPosition(window, GetCalendarSettings());
            // A file that another program holds is not waited for: the save replaces it whole or
            // not at all, so it stays as it was, and the log tells it, as no box can show now.
            StopWorkAndSaveSettings(SessionEndWaitLimit, 0);
            TakeSettingsNotice();
        }
        else
        {
            // The session goes on after all: so does the program, with loads and searches again.
            state.quitting = false;
        }
        return 0;
    case WM_SIZE:
        if (view && state.mainWindow)
            view->Layout();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            state.savedFocus = GetFocus();
        break;
    case WM_SETFOCUS:
        if (state.savedFocus)
            SetFocus(state.savedFocus);
        break;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ACTIVATEAPP:
        if (wParam && state.mainWindow)
            SetActiveWindow(state.mainWindow);
        break;
    case WM_GETMINMAXINFO:
    {
        const SIZE minimum = GetMinimumWindowSize();
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = minimum.cx;
        info->ptMinTrackSize.y = minimum.cy;
        return 0;
    }
    case WM_NOTIFY:
    {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (view && header->code == TTN_POP)
            view->OnMouseMove(false);
        else if (view && header->code == TTN_GETDISPINFOW)
        {
            if (view->OnMouseMove(true) && !GetHotArea().tooltip.empty())
                reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = const_cast<wchar_t*>(GetHotArea().tooltip.c_str());
        }
        break;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (view)
            result = view->OnKeyDown(wParam, handled);
        if (handled)
            return result;
        break;
    case WM_COMMAND:
        if (view)
            result = view->OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam), handled);
        if (handled)
            return result;
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    {
        // Scrolling by the bars moves the content; the views lay it out from the positions.
        const int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
        SCROLLINFO info = GetScrollBar(bar);
        info.fMask = SIF_POS;
        info.nPos = ScrollPosition(info, LOWORD(wParam), static_cast<int>(UnitsToPixels(30) + 0.5f));
        SetScrollInfo(window, bar, &info, TRUE);
        RequestRepaint();
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            HandleCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), COLOR_WINDOW));
    case WM_MOUSEMOVE:
        if (state.mainWindow)
            OnMouseMoveMessage(lParam);
        break;
    case WM_MOUSELEAVE:
        if (state.mainWindow)
            OnMouseLeaveMessage();
        break;
    case WM_LBUTTONDOWN:
        if (view)
        {
            // A click is about what is drawn: a paint still to come (the lines a wheel notch
            // scrolled, search results, a load) is made first, and its hit test of the pointer
            // gives the hot area the click acts on.
            UpdateWindow(window);
            const POINT point = ContentPoint(lParam);
            result = view->OnClick(static_cast<short>(point.x), static_cast<short>(point.y), handled);
            if (handled)
                return result;
        }
        break;
    case WM_MOUSEWHEEL:
        if (view)
        {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window, &point);
            result = view->OnMouseWheel(point, GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA, wParam, handled);
            if (handled)
                return result;
        }
        break;
    case WM_REPAINT_REQUEST:
        RequestRepaint();
        break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
