#include "framework/ui/controls/PaintBuffer.h"

namespace UI
{
PaintBuffer::PaintBuffer(HWND window, Window::Offscreen& buffer) : window(window)
{
    const HDC screen = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    if (buffer.Prepare(screen, width, height))
    {
        dc = buffer.dc.get();
        graphics = std::make_unique<Gdiplus::Graphics>(dc);
    }
}

void PaintBuffer::Finish()
{
    if (finished_)
        return;
    finished_ = true;
    graphics.reset();
    if (dc)
        BitBlt(paint.hdc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
}
} // namespace UI
