#pragma once
// What the window tests share: running the thread's messages until something has happened, and a
// leaf of the control tree that owns a real child window.

#include "framework/ui/Control.h"

#include <windows.h>

#include <chrono>
#include <functional>

namespace UiTest
{
// Dispatches this thread's messages until done() holds; false when timeout passes first.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done())
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Dispatches what is waiting, for a while.
inline void PumpFor(std::chrono::milliseconds time)
{
    PumpUntil([] { return false; }, time);
}

// Dispatches every message waiting in this thread's queue now, and what they post in turn, then
// returns: all that messages posted so far lead to has happened.
inline void PumpWaiting()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A leaf with a "Static" child window: as wide as it is given, as high as its fixed height.
class ChildWindowLeaf : public UI::IControl
{
public:
    ChildWindowLeaf(HWND parent, int fixedHeight)
        : hwnd(CreateWindowExW(0, L"Static", L"leaf", WS_CHILD, 0, 0, 1, 1, parent, nullptr, GetModuleHandleW(nullptr),
                               nullptr))
    {
        height = fixedHeight;
    }
    ~ChildWindowLeaf() override { DestroyWindow(hwnd); }

    bool IsWindowControl() const override { return true; }
    void Enable(bool enable) override { EnableWindow(hwnd, enable); }
    void Measure(Gdiplus::Graphics&, int availableWidth, int) override { measured = {availableWidth, height}; }
    void Arrange(int x, int y, int w, int h, HDWP& deferHandle, HWND& insertAfter, bool parentVisible) override
    {
        const UINT flags = SWP_NOACTIVATE | (visible && parentVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
        deferHandle = DeferWindowPos(deferHandle, hwnd, insertAfter, x + margin.left, y + margin.top, w, h, flags);
        insertAfter = hwnd;
    }
    UI::Size GetDesiredSize() override { return measured; }
    UI::Size GetMinSize() override { return measured; }

    HWND hwnd;
    UI::Size measured;
};
} // namespace UiTest
