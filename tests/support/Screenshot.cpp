#include "tests/support/Screenshot.h"

#include "framework/Owners.h"
#include "tests/support/TestPaths.h"

#include <objidl.h>
#include <gdiplus.h>

#include <stdexcept>

namespace Screenshot
{
GdiplusSession::GdiplusSession()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok)
        token_ = 0;
}

GdiplusSession::~GdiplusSession()
{
    if (token_)
        Gdiplus::GdiplusShutdown(token_);
}

COLORREF Capture::At(int x, int y) const
{
    const DWORD pixel = pixels.at(static_cast<size_t>(y) * width + x);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

ClientPicture::ClientPicture(HWND window) : capture_(CaptureWindow(window))
{
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT frame{};
    GetWindowRect(window, &frame);
    left_ = origin.x - frame.left;
    top_ = origin.y - frame.top;
}

COLORREF ClientPicture::At(int x, int y) const { return capture_.At(left_ + x, top_ + y); }

int ClientPicture::FirstInk(int x, int y, COLORREF background, int limit) const
{
    for (int i = 0; i < limit; ++i)
        if (At(x + i, y) != background)
            return x + i;
    return -1;
}

std::map<COLORREF, int> ClientPicture::Colours(const RECT& area) const
{
    std::map<COLORREF, int> colours;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            ++colours[At(x, y)];
    return colours;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

Capture CaptureWindow(HWND window)
{
    // Paints the window and its children now, in the thread that owns them: RDW_UPDATENOW sends
    // each its WM_PAINT and waits for it.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    // The window of another process paints into a surface of that process, which Wine puts on the
    // display when the thread next waits for a message: the answer to a message sent after the
    // paint comes only once it has (a picture read before shows what was there, black for a new
    // window).
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);

    RECT bounds{};
    GetWindowRect(window, &bounds);
    Capture capture;
    capture.width = bounds.right - bounds.left;
    capture.height = bounds.bottom - bounds.top;
    if (capture.width <= 0 || capture.height <= 0)
        return capture;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    Owners::WindowDC screen(nullptr);
    Owners::MemoryDC memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    Owners::Bitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap)
        throw std::runtime_error("no memory for a window capture");
    {
        Owners::SelectedObject selected(memory.get(), bitmap.get());
        // Wine draws child windows on their parent's surface, so the window's own DC shows them;
        // PrintWindow there leaves the children out.
        HDC windowDc = GetWindowDC(window);
        BitBlt(memory.get(), 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
        ReleaseDC(window, windowDc);
    }
    GdiFlush();
    const DWORD* first = static_cast<const DWORD*>(bits);
    capture.pixels.assign(first, first + static_cast<size_t>(capture.width) * capture.height);
    for (DWORD& pixel : capture.pixels)
        pixel &= 0x00FFFFFF;
    return capture;
}

std::filesystem::path Save(const Capture& capture, const std::wstring& name)
{
    GdiplusSession gdiplus;
    const std::filesystem::path file = TestPaths::OutputFile(L"." + name + L".png");
    if (!gdiplus.started() || capture.pixels.empty())
        return {};

    std::vector<DWORD> opaque(capture.pixels);
    for (DWORD& pixel : opaque)
        pixel |= 0xFF000000;
    Gdiplus::Bitmap bitmap(capture.width, capture.height, capture.width * 4, PixelFormat32bppARGB,
                           reinterpret_cast<BYTE*>(opaque.data()));

    UINT count = 0;
    UINT size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i)
    {
        if (std::wstring(encoders[i].MimeType) == L"image/png")
        {
            if (bitmap.Save(file.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok)
                return file;
        }
    }
    return {};
}

std::filesystem::path SaveWindow(HWND window, const std::wstring& name) { return Save(CaptureWindow(window), name); }
} // namespace Screenshot
