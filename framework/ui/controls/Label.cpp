// A label: static text, or a link (SysLink), measured to wrap at the width it is given as it is drawn.
#include "framework/ui/controls/Label.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/controls/LinkAccessible.h"
#include "framework/ui/controls/LinkText.h"
#include "framework/ui/controls/TextMeasure.h"

#include <algorithm>
#include <utility>
#include <vector>
#include <cmath>

namespace UI
{
namespace
{
// LM_GETIDEALSIZE: the message of LM_GETIDEALHEIGHT, given a maximum width and a SIZE to fill.
constexpr UINT getIdealSize = WM_USER + 0x301;

POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

DWORD LabelStyle(bool mnemonic, int alignment, bool link)
{
    DWORD style = WS_CHILD;
    style |= alignment == Label::Right ? SS_RIGHT : alignment == Label::Centre ? SS_CENTER : SS_LEFT;
    if (!mnemonic)
    {
        style |= SS_NOPREFIX;
        if (link)
            style |= LWS_NOPREFIX;
    }
    if (link)
        style |= WS_TABSTOP;
    return style;
}

// The DrawText flags a static control of this style draws its text with.
UINT StaticTextFormat(HWND label)
{
    const LONG style = GetWindowLongW(label, GWL_STYLE);
    const LONG type = style & SS_TYPEMASK;
    UINT format = DT_EXPANDTABS | DT_WORDBREAK;
    format |= type == SS_RIGHT ? DT_RIGHT : type == SS_CENTER ? DT_CENTER : DT_LEFT;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    return format;
}

// WCAG's relative luminance of a colour, 0 (black) to 1 (white).
double Luminance(COLORREF colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(colour)) + 0.7152 * channel(GetGValue(colour)) +
           0.0722 * channel(GetBValue(colour));
}

double Contrast(COLORREF one, COLORREF other)
{
    const double a = Luminance(one);
    const double b = Luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The system's link colour; where it hardly stands out from the window (Wine's theme makes it the
// light grey of hot tracking), the selection colour, which Wine's own link control takes.
COLORREF LinkColour()
{
    const COLORREF link = GetThemeColor(COLOR_HOTLIGHT);
    if (IsDarkMode() || Contrast(link, GetThemeColor(COLOR_WINDOW)) >= 3.0)
        return link;
    return GetThemeColor(COLOR_HIGHLIGHT);
}

// The control's font, or the system's when it has none.
// Draws text with each character where GetTextExtentExPoint puts it: Wine draws a run of text a
// little wider than it measures it, which would eat the blank before a link that follows and cut
// the last glyph of a line at the edge the measure keeps clear.
void DrawAsMeasured(HDC dc, int x, int y, const std::wstring& text)
{
    const int count = static_cast<int>(text.size());
    if (count == 0)
        return;
    std::vector<INT> ends(text.size());
    SIZE size{};
    GetTextExtentExPointW(dc, text.c_str(), count, 0, nullptr, ends.data(), &size);
    std::vector<INT> advances(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        advances[i] = ends[i] - (i ? ends[i - 1] : 0);
    ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(count), advances.data());
}

HFONT FontOf(HWND window)
{
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The label's window DC with its font chosen, as its text is measured.
class MeasuringDC
{
public:
    explicit MeasuringDC(HWND label) : dc_(label), font_(dc_.get(), FontOf(label)) {}
    explicit operator bool() const { return static_cast<bool>(dc_); }
    HDC get() const { return dc_.get(); }

private:
    Owners::WindowDC dc_;
    Owners::SelectedObject font_;
};
} // namespace

Label::Label(HWND parent, const std::wstring& text, bool mnemonic, int alignment, int fontIndex, bool link)
    : WindowsControl(parent, 0, 0, link ? L"SysLink" : L"Static", text.c_str(), LabelStyle(mnemonic, alignment, link),
                     fontIndex),
      link(link)
{
    if (link)
        Subclass();
}

Label::~Label() { ReleaseSharedFont(); }

// Some link controls delete the font they were last given when they are destroyed, and that font
// is the shared UI font every later window draws with: the control is left without one first.
void Label::ReleaseSharedFont()
{
    if (link && hwnd && IsWindow(hwnd))
        SendMessageW(hwnd, WM_SETFONT, 0, FALSE);
}

LRESULT Label::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The link control beneath keeps its links where its own layout would draw them: the pointer
    // is answered from the layout drawn instead, and the keyboard is left to the control.
    switch (message)
    {
    case WM_DESTROY: ReleaseSharedFont(); break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(hwnd, &paint);
        if (dc)
            PaintLink(dc);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintLink(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_NCHITTEST:
    {
        // As the control does: only its links take the pointer, its plain text lets it through.
        POINT point = PointOf(lParam);
        ScreenToClient(hwnd, &point);
        RECT client{};
        GetClientRect(hwnd, &client);
        if (!PtInRect(&client, point))
            return HTNOWHERE;
        return LinkAt(point) >= 0 ? HTCLIENT : HTTRANSPARENT;
    }
    case WM_SETCURSOR:
    {
        POINT point{};
        if (LOWORD(lParam) == HTCLIENT && GetCursorPos(&point) && ScreenToClient(hwnd, &point) && LinkAt(point) >= 0)
        {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_MOUSEMOVE: return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_GETOBJECT:
        if (const LRESULT object = LinkLabelObject(hwnd, wParam, lParam))
            return object;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressedLink_ = LinkAt(PointOf(lParam));
        if (pressedLink_ >= 0)
        {
            SetFocus(hwnd);
            FocusLink(pressedLink_);
        }
        return 0;
    case WM_LBUTTONUP:
    {
        const int pressed = std::exchange(pressedLink_, -1);
        if (pressed >= 0 && pressed == LinkAt(PointOf(lParam)))
            return ClickLink(pressed);
        return 0;
    }
    case LM_HITTEST:
    {
        auto* test = reinterpret_cast<LHITTESTINFO*>(lParam);
        if (!test)
            return FALSE;
        const int link = LinkAt(test->pt);
        if (link < 0)
            return FALSE;
        test->item.mask = LIF_ITEMINDEX | LIF_STATE | LIF_ITEMID | LIF_URL;
        test->item.iLink = link;
        test->item.stateMask = static_cast<UINT>(-1);
        return WindowsControl::WndProc(LM_GETITEM, 0, reinterpret_cast<LPARAM>(&test->item));
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_UPDATEUISTATE:
    case LM_SETITEM:
    {
        // The control repaints the places of its own layout: the focus rectangle is drawn at ours.
        const LRESULT result = WindowsControl::WndProc(message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    default: break;
    }
    return WindowsControl::WndProc(message, wParam, lParam);
}

const LinkLines& Label::DrawnLines(HDC dc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const int width = static_cast<int>(client.right) - Gap();
    std::wstring text = GetWindowTextString(hwnd);
    const HFONT font = FontOf(hwnd);
    if (drawn_ && drawn_->text == text && drawn_->width == width && drawn_->font == font)
        return drawn_->lines;
    std::optional<MeasuringDC> measuring;
    if (!dc)
    {
        measuring.emplace(hwnd);
        if (!*measuring)
        {
            static const LinkLines none;
            return none;
        }
        dc = measuring->get();
    }
    LinkLines lines = LayOutLinkText(dc, ParseLinkMarkup(text), width);
    drawn_ = DrawnLayout{std::move(text), width, font, std::move(lines)};
    return drawn_->lines;
}

const LinkLines& Label::DrawnLinks() { return DrawnLines(nullptr); }

int Label::LinkAt(POINT point) { return UI::LinkAt(DrawnLinks(), point.x, point.y); }

int Label::LinkCount()
{
    int links = 0;
    for (const LinkRun& run : ParseLinkMarkup(GetWindowTextString(hwnd)))
        links = std::max(links, run.link + 1);
    return links;
}

int Label::FocusedLink()
{
    for (int index = 0, links = LinkCount(); index < links; ++index)
    {
        LITEM item{};
        item.mask = LIF_ITEMINDEX | LIF_STATE;
        item.iLink = index;
        item.stateMask = LIS_FOCUSED;
        if (SendMessageW(hwnd, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)) && (item.state & LIS_FOCUSED))
            return index;
    }
    return -1;
}

// Makes the link the control's focused one, as a click on it in the control would.
void Label::FocusLink(int link)
{
    for (int index = 0, links = LinkCount(); index < links; ++index)
    {
        LITEM item{};
        item.mask = LIF_ITEMINDEX | LIF_STATE;
        item.iLink = index;
        item.stateMask = LIS_FOCUSED;
        item.state = index == link ? LIS_FOCUSED : 0;
        SendMessageW(hwnd, LM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
}

LRESULT Label::ClickLink(int link)
{
    NMLINK notification{};
    notification.hdr.hwndFrom = hwnd;
    notification.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(hwnd, GWLP_ID));
    notification.hdr.code = static_cast<UINT>(NM_CLICK);
    notification.item.mask = LIF_ITEMINDEX | LIF_ITEMID | LIF_URL;
    notification.item.iLink = link;
    if (!SendMessageW(hwnd, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&notification.item)))
        return 0;
    notification.item.mask = 0;
    return SendMessageW(GetParent(hwnd), WM_NOTIFY, notification.hdr.idFrom, reinterpret_cast<LPARAM>(&notification));
}

HFONT Label::LinkFont(HFONT font)
{
    if (!linkFont_ || linkFontOf_ != font)
    {
        LOGFONTW description{};
        GetObjectW(font, sizeof description,
                   &description);
        description.lfUnderline = TRUE;
        linkFont_.reset(CreateFontIndirectW(&description));
        linkFontOf_ = font;
    }
    return linkFont_.get();
}

void Label::PaintLink(HDC dc)
{
    if (!dc)
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    // The parent chooses the background and the text's colour, as it does for its other labels.
    const HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    FillRect(dc, &client, brush ? brush : GetThemeBrush(COLOR_WINDOW));
    const bool enabled = IsWindowEnabled(hwnd);
    const COLORREF textColour = enabled ? GetTextColor(dc) : GetThemeColor(COLOR_GRAYTEXT);
    const COLORREF linkColour = enabled ? LinkColour() : GetThemeColor(COLOR_GRAYTEXT);

    const HFONT font = FontOf(hwnd);
    const Owners::SelectedObject selected(dc, font);
    const LinkLines& lines = DrawnLines(dc);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    // The focused link shows its rectangle once the keyboard is in use, as the control's did.
    const bool focused =
        GetFocus() == hwnd && !(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    for (const LinkPiece& piece : lines.pieces)
    {
        const bool isLink = piece.link >= 0;
        SetTextColor(dc, isLink ? linkColour : textColour);
        SelectObject(dc, isLink ? LinkFont(font) : font);
        DrawAsMeasured(dc, piece.x, piece.y, piece.text);
        if (!isLink || !focused)
            continue;
        LITEM item{};
        item.mask = LIF_ITEMINDEX | LIF_STATE;
        item.iLink = piece.link;
        item.stateMask = LIS_FOCUSED;
        if (SendMessageW(hwnd, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)) && (item.state & LIS_FOCUSED))
        {
            RECT around{piece.x, piece.y, piece.x + piece.width, piece.y + lines.lineHeight};
            DrawFocusRect(dc, &around);
        }
    }
    SetBkMode(dc, oldMode);
}

int Label::TextHeight(int width)
{
    const MeasuringDC dc(hwnd);
    if (!dc)
        return 0;
    if (link)
    {
        const int laidOut =
            LayOutLinkText(dc.get(), ParseLinkMarkup(GetWindowTextString(hwnd)), width - Gap()).Height();
        // As tall as the control would make itself too: at some sizes its lines leave a row below
        // the descenders of the last one, which the lines drawn reach.
        SIZE ideal{};
        SendMessageW(hwnd, getIdealSize, static_cast<WPARAM>(std::max(width, 1)), reinterpret_cast<LPARAM>(&ideal));
        return std::max(laidOut, static_cast<int>(ideal.cy));
    }
    std::wstring text = GetWindowTextString(hwnd);
    if (text.empty())
        text = L" ";
    RECT bounds{0, 0, std::max(width, 1), 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | StaticTextFormat(hwnd));
    return static_cast<int>(bounds.bottom - bounds.top);
}

int Label::TextWidth(Gdiplus::Graphics& graphics)
{
    const std::wstring text = GetWindowTextString(hwnd);
    if (text.empty())
        return 0;
    const MeasuringDC dc(hwnd);
    if (!dc)
        return 0;
    if (link)
    {
        int widest = 0;
        for (const LinkPiece& piece : LayOutLinkText(dc.get(), ParseLinkMarkup(text), 0x7FFFFFF).pieces)
            widest = std::max(widest, piece.x + piece.width);
        return widest + Gap();
    }
    // The measure of the text's shapes is the wider of the two: either way the line is whole.
    RECT bounds{0, 0, 0, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | (StaticTextFormat(hwnd) & ~static_cast<UINT>(DT_WORDBREAK)));
    return std::max(static_cast<int>(bounds.right - bounds.left), MeasureWindowTextWidth(graphics, hwnd, fontIndex));
}

void Label::Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight)
{
    if (link && IsDarkMode())
    {
        // The link colour of the light theme is unreadable on the dark background.
        LITEM item{};
        item.mask = LIF_ITEMINDEX | LIF_STATE;
        item.iLink = 0;
        item.state = LIS_DEFAULTCOLORS;
        item.stateMask = LIS_DEFAULTCOLORS;
        SendMessageW(hwnd, LM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
    int w = 0;
    int h = 0;
    if (height > 0)
    {
        w = width > 0 ? width : TextWidth(graphics);
        h = height;
    }
    else
    {
        w = width > 0 ? width : availableWidth;
        h = TextHeight(w - padding.left - padding.right) + padding.top + padding.bottom;
    }
    (void)availableHeight;
    WindowsControl::Measure(graphics, w, h);
}
} // namespace UI
