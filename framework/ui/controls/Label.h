#pragma once
// A label: static text, or a link (SysLink) when link is set.

#include "framework/Owners.h"
#include "framework/ui/controls/LinkText.h"
#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

#include <optional>
#include <string>

namespace UI
{
class Label : public WindowsControl
{
public:
    enum Alignment : int
    {
        Left = 0,
        Right = 1,
        Centre = 2,
    };

    Label(HWND parent, const std::wstring& text, bool mnemonic = false, int alignment = Left, int fontIndex = 0,
          bool link = false);
    ~Label() override;

    void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The height of the text wrapped at width, and the width of its longest line, as the label
    // draws them (a static label as DrawText draws it, a link label as it lays its text out).
    int TextHeight(int width);
    int TextWidth(Gdiplus::Graphics& graphics);

    // A link label's lines as it draws them, in its client area, and its links: the control
    // beneath keeps a layout of its own, which neither the pointer nor accessibility is given.
    const LinkLines& DrawnLinks();
    int LinkCount();
    // The link the control has focused, -1 for none.
    int FocusedLink();
    void FocusLink(int link);
    // Tells the parent of a click on the link, with the control's own notification.
    LRESULT ClickLink(int link);

    bool link;

private:
    void ReleaseSharedFont();
    // A link label draws itself: the link control's own drawing loses the colour of its plain
    // text, the blanks next to its links and the last pixels of each line.
    void PaintLink(HDC dc);
    HFONT LinkFont(HFONT font);
    // The lines for the label's text, width and font, laid out again only when one of them changed:
    // the pointer asks at every move. dc, when given, has the font chosen.
    const LinkLines& DrawnLines(HDC dc);
    int LinkAt(POINT point);

    Owners::Font linkFont_;
    HFONT linkFontOf_ = nullptr;
    // The link the left button went down on, -1 for none.
    int pressedLink_ = -1;
    struct DrawnLayout
    {
        std::wstring text;
        int width = 0;
        HFONT font = nullptr;
        LinkLines lines;
    };
    std::optional<DrawnLayout> drawn_;
};
} // namespace UI
