#pragma once
// Whether another process's window shows every line of its controls whole: each visible control
// lies inside the client area, and each button is wide enough for its text in the font the prefix
// gives "Segoe UI" 9 pt at the window's dpi (with room for a check box or radio mark before it).

#include "framework/Owners.h"
#include "framework/text/Text.h"
#include "tests/support/ProgramHarness.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace LabelFit
{
// The text a control shows: the access-key ampersands left out.
inline std::wstring Shown(const std::wstring& text)
{
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] != L'&' || (i + 1 < text.size() && text[++i] == L'&'))
            shown += text[i];
    return shown;
}

// One line per control that is cut off, empty when none is.
inline std::vector<std::string> CutOff(HWND window, int dpi)
{
    std::vector<std::string> cut;
    RECT client{};
    GetClientRect(window, &client);
    const Owners::WindowDC screen(nullptr);
    const Owners::Font font(CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                        0, 0, 0, 0, L"Segoe UI"));
    const HGDIOBJ previous = SelectObject(screen.get(), font.get());
    for (const HWND child : Harness::Children(window))
    {
        if (!IsWindowVisible(child))
            continue;
        const RECT r = Harness::ChildRect(child);
        const std::wstring text = Harness::TextOf(child);
        const std::string name = WideToUtf8(Harness::ClassOf(child) == L"Button" ? text : Harness::ClassOf(child) + L" " + text);
        if (r.left < 0 || r.right > client.right || r.bottom > client.bottom)
            cut.push_back("\"" + name + "\" reaches past the window");
        if (Harness::ClassOf(child) == L"Static")
        {
            // A label wraps between words: a word wider than the label is cut off.
            std::wstring spaced = text;
            std::replace_if(spaced.begin(), spaced.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
            for (const std::wstring& word : Split(spaced, L' '))
            {
                SIZE extent{};
                GetTextExtentPoint32W(screen.get(), word.c_str(), static_cast<int>(word.size()), &extent);
                if (extent.cx > r.right - r.left)
                    cut.push_back("\"" + WideToUtf8(word) + "\" does not fit its label of " +
                                  std::to_string(r.right - r.left));
            }
        }
        if (Harness::ClassOf(child) != L"Button" || text.empty())
            continue;
        const std::wstring shown = Shown(text);
        SIZE extent{};
        GetTextExtentPoint32W(screen.get(), shown.c_str(), static_cast<int>(shown.size()), &extent);
        const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        const bool pushButton = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
        const int mark = pushButton ? 0 : MulDiv(18, dpi, 96);
        if (r.right - r.left < extent.cx + mark)
            cut.push_back("\"" + name + "\" is " + std::to_string(r.right - r.left) + " wide for " +
                          std::to_string(extent.cx + mark));
    }
    SelectObject(screen.get(), previous);
    return cut;
}
} // namespace LabelFit
