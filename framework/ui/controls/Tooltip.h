#pragma once
// A tooltip control of one tool, and the tips of info badges (buttons without a tab stop) that
// show at once on focus and hover.

#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

#include <string>

namespace UI
{
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

// Tips of buttons without a tab stop (info badges) show at once on focus and hover: call for the
// owner's WM_NOTIFY, and with NotificationFromCommand for BN_SETFOCUS and BN_KILLFOCUS.
bool HandleTooltipNotification(const NMHDR* header);
NMHDR NotificationFromCommand(WPARAM wParam, LPARAM lParam);
// A tracking tip of the control with text; false when it already shows that text.
bool ShowTooltipNow(WindowsControl& control, const std::wstring& text);
// The control's tracking tip below and right of it, inside the parent's right edge.
void PositionTrackingTooltip(WindowsControl& control);
} // namespace UI
