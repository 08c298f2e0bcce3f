// The base of every control that owns one Win32 child window: creating, arranging and
// subclassing it.
#include "framework/ui/controls/WindowsControl.h"

#include "framework/log/Log.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/controls/Tooltip.h"

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
} // namespace

namespace UI
{
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
} // namespace UI
