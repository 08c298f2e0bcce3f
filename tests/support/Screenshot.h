#pragma once
// Pictures of windows on the virtual display, saved as PNG in the test output folder so that a
// failing layout or paint can be looked at, and read back for pixel checks.

#include <windows.h>

#include <filesystem>
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
};

// Lets pending paint messages run, then copies what the window shows.
Capture CaptureWindow(HWND window);

// Saves a capture as a PNG named after the running test and name; returns the file.
std::filesystem::path Save(const Capture& capture, const std::wstring& name);

// CaptureWindow and Save in one.
std::filesystem::path SaveWindow(HWND window, const std::wstring& name);

// Runs the thread's pending messages (paints included) without blocking.
void PumpMessages();
} // namespace Screenshot
