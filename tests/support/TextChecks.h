#pragma once
// Whether a window's labels can be read, judged from its picture as a person would see it: the text
// of each label stands out from the label's background, and (for a window of this process, whose
// fonts the test can use) each label is as tall as its text needs, wrapped at the label's width as
// a label draws it.

#include "framework/Owners.h"
#include "framework/text/Text.h"
#include "framework/ui/WindowHelpers.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace TextChecks
{
// WCAG's relative luminance (0 black, 1 white) and the contrast ratio of two colours (1 to 21).
inline double Luminance(COLORREF colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(colour)) + 0.7152 * channel(GetGValue(colour)) +
           0.0722 * channel(GetBValue(colour));
}

inline double Contrast(COLORREF one, COLORREF other)
{
    const double a = Luminance(one);
    const double b = Luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

inline std::string Hex(COLORREF colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

// A label: a link control, or a static control that shows text.
inline bool IsTextLabel(HWND child)
{
    const std::wstring className = Harness::ClassOf(child);
    if (className == L"SysLink")
        return true;
    if (className != L"Static")
        return false;
    const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

// The shown labels of the window that have text, its direct children.
inline std::vector<HWND> ShownLabels(HWND window)
{
    std::vector<HWND> labels;
    for (const HWND child : Harness::Children(window))
        if (IsWindowVisible(child) && IsTextLabel(child) && !Harness::TextOf(child).empty())
            labels.push_back(child);
    return labels;
}

// What the window's client area shows now, as it is (nothing is painted again first: a window of
// another process may be in the middle of painting after a request), in client coordinates.
class Shown : public Screenshot::ClientPicture
{
public:
    explicit Shown(HWND window) : ClientPicture(window, Screenshot::ReadDisplay(window)) {}
};

inline COLORREF CommonColour(const Shown& picture, const RECT& area)
{
    const std::map<COLORREF, int> colours = picture.Colours(area);
    const auto most = std::max_element(colours.begin(), colours.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == colours.end() ? CLR_INVALID : most->first;
}

// One line per enabled label whose text, lighter or darker than the label's background, reaches
// less than 4.5:1 against it (a label of mixed colours is judged by each of its two kinds of ink).
// The window must have painted: its picture is taken first (Screenshot::SaveWindow, or
// Harness::SaveWindow for a window of another process), which waits for that.
inline std::vector<std::string> FaintText(HWND window)
{
    std::vector<std::string> faint;
    const Shown picture(window);
    // A display that shows one colour where the window is has no text to judge: the window is not
    // on it (behind another, or not painted yet), and nothing would be found faint.
    if (picture.Capture().Blank())
    {
        faint.push_back("the window shows one colour only on the display: no text could be judged");
        return faint;
    }
    for (const HWND label : ShownLabels(window))
    {
        if (!IsWindowEnabled(label))
            continue;
        const RECT area = Harness::ChildRect(label);
        const COLORREF background = CommonColour(picture, area);
        struct Ink
        {
            int pixels = 0;
            COLORREF strongest = CLR_INVALID;
            double contrast = 1;
        } lighter, darker;
        for (const auto& [colour, count] : picture.Colours(area))
        {
            const int difference = std::max({std::abs(GetRValue(colour) - GetRValue(background)),
                                             std::abs(GetGValue(colour) - GetGValue(background)),
                                             std::abs(GetBValue(colour) - GetBValue(background))});
            if (difference < 16)
                continue;
            Ink& ink = Luminance(colour) > Luminance(background) ? lighter : darker;
            ink.pixels += count;
            if (const double contrast = Contrast(colour, background); contrast > ink.contrast)
            {
                ink.contrast = contrast;
                ink.strongest = colour;
            }
        }
        for (const Ink* ink : {&lighter, &darker})
            if (ink->pixels >= 8 && ink->contrast < 4.5)
                faint.push_back("\"" + WideToUtf8(GetDisplayText(label)) + "\" is drawn in " + Hex(ink->strongest) +
                                " on " + Hex(background) + ", " + std::to_string(ink->contrast).substr(0, 4) + ":1");
    }
    return faint;
}

// The DrawText flags a label's text is laid out with.
inline UINT LabelFormat(HWND label)
{
    UINT format = DT_WORDBREAK | DT_EXPANDTABS;
    if (Harness::ClassOf(label) == L"SysLink" || (GetWindowLongW(label, GWL_STYLE) & SS_NOPREFIX))
        format |= DT_NOPREFIX;
    return format;
}

// One line per label of a window of this process that is lower than its text, wrapped at the
// label's width in its own font, needs: its last lines would be cut off.
inline std::vector<std::string> ShortLabels(HWND window)
{
    std::vector<std::string> shortOnes;
    for (const HWND label : ShownLabels(window))
    {
        RECT client{};
        GetClientRect(label, &client);
        const std::wstring text = GetDisplayText(label);
        const Owners::WindowDC dc(label);
        const Owners::SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        RECT needed{0, 0, client.right, 0};
        DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | LabelFormat(label));
        if (client.bottom < needed.bottom)
            shortOnes.push_back("\"" + WideToUtf8(text) + "\" is " + std::to_string(client.bottom) + " high at " +
                                std::to_string(client.right) + " wide for " + std::to_string(needed.bottom));
    }
    return shortOnes;
}
} // namespace TextChecks
