#pragma once
// One double-buffered WM_PAINT: drawn on a memory DC of the client's size, copied to the screen
// once when finished.

#include "framework/ui/Window.h"

#include <memory>

namespace UI
{
class PaintBuffer
{
public:
    // BeginPaint, the buffer sized to the client rectangle and a graphics object on it.
    PaintBuffer(HWND window, Window::Offscreen& buffer);
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;
    ~PaintBuffer() { Finish(); }

    // Copies the buffer to the window and ends painting; later calls do nothing.
    void Finish();
    bool IsFinished() const { return finished_; }

    PAINTSTRUCT paint{};
    HWND window;
    HDC dc = nullptr;
    int width = 0;
    int height = 0;
    std::unique_ptr<Gdiplus::Graphics> graphics;

private:
    bool finished_ = false;
};
} // namespace UI
