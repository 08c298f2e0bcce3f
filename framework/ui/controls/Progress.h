#pragma once
// A progress bar in thousandths, or a marquee while the amount is not known.

#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

namespace UI
{
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
} // namespace UI
