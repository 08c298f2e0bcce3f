#pragma once
// Leaves of the control tree that own one Win32 child window of a standard class, and the simple
// controls built on them.

#include "framework/Owners.h"
#include "framework/ui/Control.h"
#include "framework/text/DateTime.h"

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace UI
{
class Tooltip;

// Height and minimum size of combo boxes and date-time pickers: 17.25 pt.
int ComboBoxHeight();

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

class Label : public WindowsControl
{
public:
    enum Alignment : int
    {
        Left = 0,
        Right = 1,
        Centre = 2,
    };

    Label(HWND parent, const std::wstring& text, bool mnemonic = false, int alignment = Left, int fontIndex = 0,
          bool link = false);

    void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override;

    bool link;
};

class EditBox : public WindowsControl
{
public:
    EditBox(HWND parent, const wchar_t* initialText, bool multiLine);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class Progress : public WindowsControl
{
public:
    explicit Progress(HWND parent);

    // Position in thousandths; false when it did not change. Posts, so a closure of a worker's
    // progress never waits on the control.
    bool SetProgress(float fraction);
    // Runs the bar as a marquee until the next SetProgress.
    void SetMarquee();

    int position = 0;
    bool marquee = false;
};

class ComboBox : public WindowsControl
{
public:
    ComboBox(HWND parent, int id, bool editable);

    void SetItems(const std::vector<std::wstring>& items);
    void SetSelection(int index);
    int GetSelection() const;
    // Empty outside the list.
    std::wstring GetItemText(int index) const;
    // The selected item's text, or the edit text when nothing is selected.
    std::wstring GetText() override;
    void DrawItem(const DRAWITEMSTRUCT* item, int backgroundColourIndex) override;

    // Created owner-drawn (dark theme).
    bool ownerDrawn;
};

class DateTimePicker : public WindowsControl
{
public:
    enum Mode : int
    {
        LongDate = 0,
        Time = 1,
        DateAndTime = 2,
    };

    DateTimePicker(HWND parent, int id, int mode, const DateTime& value);

    // The picked local time.
    SYSTEMTIME GetValue() const;
};

class Image : public WindowsControl
{
public:
    explicit Image(HWND parent, int resourceId = 0);

    // 0 clears the picture; the image then takes no space.
    void SetImage(int resourceId, COLORREF background = GetSysColor(COLOR_BTNFACE), bool useBackground = true);
    void SetBitmap(COLORREF background, bool useBackground, Gdiplus::Bitmap& bitmap);
    Size GetDesiredSize() override { return {width, height}; }
    Size GetMinSize() override { return {width, height}; }

    Owners::Bitmap bitmapHandle;
};

class Tooltip : public WindowsControl
{
public:
    // One tool: the window tool in parent. A tracking tip shows at once where it is placed.
    Tooltip(HWND parent, HWND tool, const std::wstring& text, bool tracking);

    void SetMaxWidth(int pixels);
    std::wstring GetText() override { return text; }

    std::wstring text;
    HWND tool;
    bool tracking;
};

// Single-line width of the display text in font index (0 for an empty text).
int MeasureTextWidth(Gdiplus::Graphics& graphics, const std::wstring& text, int fontIndex);
int MeasureWindowTextWidth(Gdiplus::Graphics& graphics, HWND window, int fontIndex);
// Height of the text wrapped at width; an empty window text measures one line.
int MeasureTextHeight(Gdiplus::Graphics& graphics, const std::wstring& text, int width, int fontIndex);
int MeasureWindowTextHeight(Gdiplus::Graphics& graphics, HWND window, int width, int fontIndex);

// Tips of buttons without a tab stop (info badges) show at once on focus and hover: call for the
// owner's WM_NOTIFY, and with NotificationFromCommand for BN_SETFOCUS and BN_KILLFOCUS.
bool HandleTooltipNotification(const NMHDR* header);
NMHDR NotificationFromCommand(WPARAM wParam, LPARAM lParam);
// A tracking tip of the control with text; false when it already shows that text.
bool ShowTooltipNow(WindowsControl& control, const std::wstring& text);
// The control's tracking tip below and right of it, inside the parent's right edge.
void PositionTrackingTooltip(WindowsControl& control);
} // namespace UI
