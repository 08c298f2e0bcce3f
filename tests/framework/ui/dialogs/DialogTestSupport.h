#pragma once
// What the dialog tests share: a driver that acts on a modal dialog from a thread timer while the
// dialog's own loop runs (the dialogs are made inside the functions under test), the lookup of
// their child windows, keys as the keyboard would send them, and the UI fonts and theme.

#include "framework/Owners.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/OffscreenBitmap.h"
#include "framework/ui/Theme.h"
#include "framework/ui/WindowHelpers.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace DialogTest
{
// Runs its steps one per tick, each once the dialog of the given title shows; the messages in
// between reach the dialog, so that a step sees what the one before it caused. A dialog still open
// after a while is closed, and the test fails.
class Driver
{
public:
    using Step = std::function<void(HWND dialog)>;

    Driver(const std::wstring& title, std::vector<Step> steps)
        : title_(title), steps_(std::move(steps)), started_(std::chrono::steady_clock::now())
    {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &Driver::Tick);
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;
    ~Driver()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
        EXPECT_EQ(next_, steps_.size()) << "steps left undone";
    }

    // The dialog, while it shows.
    HWND Dialog() const
    {
        const HWND dialog = FindWindowW(L"Quillora Window", title_.c_str());
        return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Driver* driver = current_;
        if (!driver)
            return;
        const HWND dialog = driver->Dialog();
        if (!dialog)
            return;
        if (std::chrono::steady_clock::now() - driver->started_ > std::chrono::seconds(15))
        {
            ADD_FAILURE() << "the dialog did not close";
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            return;
        }
        // A step that pumps messages itself (a screenshot waiting for the paint) must not have
        // the next step run inside it.
        if (driver->next_ < driver->steps_.size() && !driver->inStep_)
        {
            driver->inStep_ = true;
            driver->steps_[driver->next_++](dialog);
            driver->inStep_ = false;
        }
    }

    static inline Driver* current_ = nullptr;
    std::wstring title_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool inStep_ = false;
    std::chrono::steady_clock::time_point started_;
    UINT_PTR timer_ = 0;
};

// The dialog's own children of a class (and text, when given), in the order of their places: top
// to bottom, then left to right.
inline std::vector<HWND> Children(HWND dialog, const wchar_t* className, std::optional<std::wstring> text = {})
{
    return Harness::Children(dialog, className, text);
}

inline HWND Child(HWND dialog, const wchar_t* className, const std::wstring& text)
{
    const std::vector<HWND> found = Children(dialog, className, text);
    return found.empty() ? nullptr : found.front();
}

inline RECT ClientRectOf(HWND child) { return Harness::ChildRect(child); }

// A key pressed and released where the focus is (the dialog's loop translates it).
inline void PressKey(HWND dialog, WPARAM key)
{
    HWND target = GetFocus();
    if (!target || (target != dialog && !IsChild(dialog, target)))
        target = dialog;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

inline bool IsDefaultPushButton(HWND button)
{
    return (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// Text pixels: far from the form's colour in some channel.
inline bool IsInk(COLORREF pixel, COLORREF form)
{
    return std::max({std::abs(GetRValue(pixel) - GetRValue(form)), std::abs(GetGValue(pixel) - GetGValue(form)),
                     std::abs(GetBValue(pixel) - GetBValue(form))}) >= 32;
}

// How many pixels of the text, in the colour ink on background, show when DrawText draws it whole in
// the label's font wrapped at its width (on a canvas large enough for every line and every word).
inline int InkOfWholeText(HWND label, COLORREF ink, COLORREF background)
{
    RECT client{};
    GetClientRect(label, &client);
    const int width = client.right + 2000;
    const int height = 4 * client.bottom + 400;
    const BITMAPINFO info = UI::TopDownDibInfo(width, height, 32);
    const Owners::WindowDC screen(nullptr);
    Owners::MemoryDC memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    Owners::Bitmap canvas(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !canvas || !bits)
        return -1;
    const Owners::SelectedObject selected(memory.get(), canvas.get());
    const Owners::Brush fill(CreateSolidBrush(background));
    RECT whole{0, 0, width, height};
    FillRect(memory.get(), &whole, fill.get());
    const Owners::SelectedObject font(memory.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SetBkMode(memory.get(), TRANSPARENT);
    SetTextColor(memory.get(), ink);
    const std::wstring text = GetDisplayText(label);
    RECT bounds{0, 0, client.right, height};
    DrawTextW(memory.get(), text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_NOCLIP);
    GdiFlush();
    int count = 0;
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
    {
        const DWORD pixel = pixels[i];
        count += RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF) != background;
    }
    return count;
}

// Where a dialog's message label shows less than its whole text: a line that comes within a gap
// of the label's right edge or past it (a line that touches the edge is cut there), an inked last
// row (a line cut at the bottom), and fewer pixels of text than the text drawn whole has (a glyph
// cut anywhere, such as the last one of a line). One line each, empty when every line shows whole.
inline std::vector<std::string> TextAtTheEdges(HWND dialog, HWND messageLabel)
{
    std::vector<std::string> found;
    const RECT label = ClientRectOf(messageLabel);
    RECT client{};
    GetClientRect(dialog, &client);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const Screenshot::Capture capture = Screenshot::CaptureWindow(dialog);
    const auto at = [&](int x, int y) { return capture.At(x + origin.x - frame.left, y + origin.y - frame.top); };
    const COLORREF form = at(label.left - 2, label.top);
    // The dark form is inset from the window's sides by a pixel.
    const int right = client.right - ::ScaleToDpi(2);
    int inkedRows = 0;
    int rightmost = 0;
    for (int y = label.top; y < label.bottom; ++y)
    {
        int inked = 0;
        for (int x = label.right - UI::Gap(); x < right; ++x)
            if (IsInk(at(x, y), form))
                inked = x;
        inkedRows += inked > 0;
        rightmost = std::max(rightmost, inked);
    }
    if (inkedRows > 0)
        found.push_back(std::to_string(inkedRows) + " rows are inked up to " + std::to_string(rightmost) +
                        ", within a gap of the label's right edge at " + std::to_string(label.right));
    for (int x = label.left; x < label.right; ++x)
        if (IsInk(at(x, label.bottom - 1), form))
        {
            found.push_back("the label's last row is inked at " + std::to_string(x));
            break;
        }
    // The text's own colour is the one farthest from the form's.
    COLORREF ink = form;
    int farthest = 0;
    int shown = 0;
    for (int y = label.top; y < label.bottom; ++y)
        for (int x = label.left; x < label.right; ++x)
        {
            const COLORREF pixel = at(x, y);
            shown += pixel != form;
            const int distance = std::abs(GetRValue(pixel) - GetRValue(form)) +
                                 std::abs(GetGValue(pixel) - GetGValue(form)) +
                                 std::abs(GetBValue(pixel) - GetBValue(form));
            if (distance > farthest)
            {
                farthest = distance;
                ink = pixel;
            }
        }
    if (const int whole = InkOfWholeText(messageLabel, ink, form); shown < whole)
        found.push_back(std::to_string(whole - shown) + " of the text's " + std::to_string(whole) +
                        " pixels are missing: glyphs are cut");
    return found;
}

// Makes this process's screen one of 144 dpi through the program's own zoom, before anything
// measures it, and the UI fonts for it; once per process.
inline void ZoomTo144Dpi()
{
    static const bool zoomed = [] {
        UI::SetUiScaleFactor(1.5f);
        InitUiResources();
        return true;
    }();
    (void)zoomed;
}

class Fixture : public testing::Test
{
protected:
    Fixture() : savedMode_(GetThemeMode())
    {
        // Once for the process, whichever fixture comes first: fonts in use must not be remade.
        if (GetUiFontTable().fonts.empty())
            InitUiResources();
        SetThemeMode(UI::ThemeLight);
    }
    ~Fixture() override { SetThemeMode(savedMode_); }

private:
    std::optional<int> savedMode_;
};

// The light and the dark theme, for the screenshots.
class Themed : public Fixture, public testing::WithParamInterface<bool>
{
protected:
    Themed() { SetThemeMode(GetParam() ? UI::ThemeDark : UI::ThemeLight); }
    static std::wstring ThemeName() { return GetParam() ? L"dark" : L"light"; }
};

inline std::string ThemeTestName(const testing::TestParamInfo<bool>& info) { return info.param ? "Dark" : "Light"; }
} // namespace DialogTest
