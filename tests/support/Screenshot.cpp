#include "tests/support/Screenshot.h"

#include "framework/Owners.h"
#include "framework/ui/OffscreenBitmap.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
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

ClientPicture::ClientPicture(HWND window) : ClientPicture(window, CaptureWindow(window)) {}

ClientPicture::ClientPicture(HWND window, Screenshot::Capture capture) : capture_(std::move(capture))
{
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT frame{};
    GetWindowRect(window, &frame);
    left_ = origin.x - frame.left;
    top_ = origin.y - frame.top;
}

COLORREF ClientPicture::At(int x, int y) const
{
    x += left_;
    y += top_;
    return x < 0 || y < 0 || x >= capture_.width || y >= capture_.height ? CLR_INVALID : capture_.At(x, y);
}

int ClientPicture::FirstInk(int x, int y, COLORREF background, int limit) const
{
    for (int i = 0; i < limit; ++i)
        if (At(x + i, y) != background)
            return x + i;
    return -1;
}

std::map<COLORREF, int> ClientPicture::Colours(const RECT& area) const
{
    // Only what the picture holds: a child may reach beyond the window.
    std::map<COLORREF, int> colours;
    for (int y = std::max<int>(area.top, -top_); y < std::min<int>(area.bottom, capture_.height - top_); ++y)
        for (int x = std::max<int>(area.left, -left_); x < std::min<int>(area.right, capture_.width - left_); ++x)
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

Capture ReadDisplay(HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    Capture capture;
    capture.width = bounds.right - bounds.left;
    capture.height = bounds.bottom - bounds.top;
    if (capture.width <= 0 || capture.height <= 0)
        return capture;

    const BITMAPINFO info = UI::TopDownDibInfo(capture.width, capture.height, 32);

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

bool Capture::Blank() const
{
    return std::all_of(pixels.begin(), pixels.end(), [&](DWORD pixel) { return pixel == pixels.front(); });
}

namespace
{
// The picture of CaptureWindow; settled tells whether it showed something and stayed the same.
Capture CaptureOnceSettled(HWND window, bool& settled)
{
    // The picture is read off the display: the window goes above other programs' windows (a
    // OneNote that an import brought forward) with the windows it belongs to and owns, without
    // taking the activation. (Wine, with no window manager, reorders the display only for the
    // window that ends up on top of all: a window under a question it owns stays where it was.)
    SetWindowPos(GetAncestor(window, GA_ROOTOWNER), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Paints the window and its children now, in the thread that owns them: RDW_UPDATENOW sends
    // each its WM_PAINT and waits for it.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    // The window of another process paints into a surface of that process, which Wine puts on the
    // display only once that thread waits for its next message, and nothing tells another process
    // when that was: a picture read before shows what was there, black for a window just shown or
    // uncovered. So the picture is read until it shows something and stays the same between two
    // answers of the window's thread.
    Capture capture; // none yet: the first reading is compared with the next
    settled = Harness::PollUntil(
        [&] {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
            PumpMessages();
            Capture again = ReadDisplay(window);
            const bool settled = !again.Blank() && again.pixels == capture.pixels;
            capture = std::move(again);
            return settled;
        },
        std::chrono::seconds(5), std::chrono::milliseconds(20));
    return capture;
}

// A picture that never settled is no picture of the window: one colour is a window not on the
// display, and one that kept changing was read in the middle of a paint.
void ReportUnsettled(const Capture& capture, HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    ADD_FAILURE() << "the picture of the window at (" << bounds.left << ", " << bounds.top << ")-(" << bounds.right
                  << ", " << bounds.bottom << ") "
                  << (capture.Blank() ? "shows one colour only: the window is not on the display"
                                      : "still changed after five seconds: it was read before the window settled");
}
} // namespace

Capture CaptureWindow(HWND window)
{
    bool settled = false;
    Capture capture = CaptureOnceSettled(window, settled);
    if (!settled)
        ReportUnsettled(capture, window);
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

std::filesystem::path SaveWindow(HWND window, const std::wstring& name)
{
    bool settled = false;
    const Capture capture = CaptureOnceSettled(window, settled);
    if (!settled && !capture.Blank())
        ReportUnsettled(capture, window);
    // A window that never reached the display (one behind another, or never painted) would leave
    // a picture of nothing.
    if (capture.Blank())
    {
        // What the display showed instead, for the failure's reader.
        const std::filesystem::path display = Save(ReadDisplay(GetDesktopWindow()), name + L"-display");
        RECT bounds{};
        GetWindowRect(window, &bounds);
        ADD_FAILURE() << "the picture \"" << std::filesystem::path(name).string()
                      << "\" shows one colour only: the window at (" << bounds.left << ", " << bounds.top << ")-("
                      << bounds.right << ", " << bounds.bottom << ") is not on the display (the display: "
                      << display.string() << ")";
    }
    return Save(capture, name);
}
} // namespace Screenshot
