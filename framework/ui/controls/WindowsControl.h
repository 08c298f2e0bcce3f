#pragma once
// The base of the leaves of the control tree that own one Win32 child window of a standard class.
// Each control built on it has its own header beside this one.

#include "framework/ui/Control.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

namespace UI
{
class Tooltip;

class WindowsControl : public IControl
{
public:
    // Creates the window at (0, 0) with size 300 x 100; text may be null.
    WindowsControl(HWND parent, int id, DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                   int fontIndex);
    WindowsControl(const WindowsControl&) = delete;
    WindowsControl& operator=(const WindowsControl&) = delete;
    ~WindowsControl() override;

    bool IsWindowControl() const override { return true; }
    void Enable(bool enable) override;
    void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override;
    void Arrange(int x, int y, int w, int h, HDWP& deferHandle, HWND& insertAfter, bool parentVisible) override;
    Size GetDesiredSize() override { return measuredSize; }
    Size GetMinSize() override { return measuredSize; }

    // Owner drawing of buttons and combo boxes; background is the parent's system colour index.
    virtual void DrawItem(const DRAWITEMSTRUCT* item, int backgroundColourIndex);
    virtual LRESULT OnCustomDraw(NMCUSTOMDRAW* draw);
    virtual std::wstring GetText();
    // Messages of a subclassed control.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);

    void SetFont(int index);
    void SetText(const std::wstring& text);
    bool IsEnabled() const;
    void RemoveStyle(DWORD bits);
    // A tip that follows the mouse over the control, at most maxWidth (96-dpi pixels) wide.
    void SetTooltip(const std::wstring& text, int maxWidth);
    void Subclass();

    HWND GetHwnd() const { return hwnd; }

    std::shared_ptr<Tooltip> tooltip;
    const wchar_t* className;
    HWND parentWindow;
    HWND hwnd = nullptr;
    int32_t fontIndex = 0;
    int32_t id = 0;
    bool needsMeasure = true;
    Size measuredSize;
    WNDPROC previousWndProc = nullptr;

    // The control a window of ours belongs to (its GWLP_USERDATA), or null.
    static WindowsControl* FromWindow(HWND window);
};

// The control is set and its window is hwnd: which control sent a command or notification.
bool IsControlWindow(const std::shared_ptr<WindowsControl>& control, HWND hwnd);
} // namespace UI
