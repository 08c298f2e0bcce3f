#pragma once
// Pictures of windows on the virtual display, saved as PNG in the test output folder so that a
// failing layout or paint can be looked at, and read back for pixel checks.

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace Screenshot
{
// Starts GDI+ for the lifetime of the object (the PNG encoder needs it).
class GdiplusSession
{
public:
    GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ~GdiplusSession();
    bool started() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

// The pixels of a window (frame included) as 32-bit BGRA rows, top row first.
struct Capture
{
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels; // 0x00RRGGBB

    COLORREF At(int x, int y) const;
    // Whether every pixel has one colour (or there are none): no window shows so.
    bool Blank() const;
};

// What the display shows of the window now, its frame included, painting nothing first (a window
// of another process may be in the middle of painting): Wine reads it off the window's own place on
// the display, so a part that another window covers comes out black.
Capture ReadDisplay(HWND window);

// Brings the window above other programs' windows, has it paint, and copies what the display
// shows of it once it shows something and no longer changes (for at most five seconds); a picture
// that did not get so (one colour only, or still changing) fails the running test.
Capture CaptureWindow(HWND window);

// Saves a capture as a PNG named after the running test and name; returns the file.
std::filesystem::path Save(const Capture& capture, const std::wstring& name);

// CaptureWindow and Save in one.
std::filesystem::path SaveWindow(HWND window, const std::wstring& name);

// A picture of a window's client area, read in client coordinates.
class ClientPicture
{
public:
    // Of CaptureWindow, or of another capture of the window (ReadDisplay).
    explicit ClientPicture(HWND window);
    ClientPicture(HWND window, Screenshot::Capture capture);
    // CLR_INVALID beyond the picture.
    COLORREF At(int x, int y) const;
    // The first column from x on, along line y, whose pixel differs from the background's; -1 when
    // none does within limit columns.
    int FirstInk(int x, int y, COLORREF background, int limit = 200) const;
    // How many pixels of each colour the rectangle (client coordinates) shows.
    std::map<COLORREF, int> Colours(const RECT& area) const;
    const Screenshot::Capture& Capture() const { return capture_; }
    // The client area's size.
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    Screenshot::Capture capture_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
};

// Runs the thread's pending messages (paints included) without blocking.
void PumpMessages();
} // namespace Screenshot
