#include "framework/ui/controls/Button.h"

#include "framework/text/Text.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/OffscreenBitmap.h"
#include "framework/ui/ScaledBitmap.h"
#include "framework/ui/Theme.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/controls/TextMeasure.h"

#include <algorithm>
#include <cmath>

namespace
{
DWORD AlignmentStyle(int alignment)
{
    return alignment == 1 ? BS_RIGHT : alignment == 2 ? BS_CENTER : BS_LEFT;
}

DWORD ButtonStyle(int kind, const wchar_t* text, int alignment, bool customDraw, bool notify)
{
    DWORD style = WS_CHILD | WS_TABSTOP;
    if (notify)
        style |= BS_NOTIFY;
    if (customDraw && IsDarkMode())
        return style | BS_OWNERDRAW;
    style |= UI::ButtonKindStyle(kind) | AlignmentStyle(alignment);
    if (!HasText(text))
        style |= BS_BITMAP;
    return style;
}

std::wstring WindowText(int iconId, const wchar_t* text)
{
    if (!HasText(text))
        return {};
    return iconId ? L" " + std::wstring(text) : std::wstring(text);
}

float Pixel() { return 0.75f * GetDpiScaleX(); }

Gdiplus::Color Theme(int index) { return Gdiplus::Color(GetThemeArgb(index)); }

Gdiplus::RectF Shrunk(const Gdiplus::RectF& rect, float by)
{
    return {rect.X + by, rect.Y + by, rect.Width - 2 * by, rect.Height - 2 * by};
}

// Draws a picture grey and faint: each of red, green and blue becomes the mean of the three, and
// alpha 40 % of its own.
void DrawGreyed(Gdiplus::Graphics& graphics, Gdiplus::Image& picture, int width, int height)
{
    const float third = 1.0f / 3;
    Gdiplus::ColorMatrix grey = {{{third, third, third, 0, 0},
                                  {third, third, third, 0, 0},
                                  {third, third, third, 0, 0},
                                  {0, 0, 0, 0.4f, 0},
                                  {0, 0, 0, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetColorMatrix(&grey);
    graphics.DrawImage(&picture, Gdiplus::Rect(0, 0, width, height), 0, 0, static_cast<INT>(picture.GetWidth()),
                       static_cast<INT>(picture.GetHeight()), Gdiplus::UnitPixel, &attributes);
}

// The picture at size on nothing, its alpha kept (not premultiplied) in a 32-bit bitmap: an image
// list blends it over the face the button draws, whatever colour its theme gives that face.
Owners::Bitmap TransparentPicture(Gdiplus::Image& picture, SIZE size, bool greyed)
{
    const int width = std::max<int>(size.cx, 1);
    const int height = std::max<int>(size.cy, 1);
    Gdiplus::Bitmap canvas(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&canvas);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        if (greyed)
            DrawGreyed(graphics, picture, size.cx, size.cy);
        else
            graphics.DrawImage(&picture, Gdiplus::Rect(0, 0, size.cx, size.cy));
    }
    const BITMAPINFO info = UI::TopDownDibInfo(width, height, 32);
    void* bits = nullptr;
    Owners::Bitmap handle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    Gdiplus::BitmapData data{};
    const Gdiplus::Rect whole(0, 0, width, height);
    if (!handle || !bits ||
        canvas.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return {};
    for (int row = 0; row < height; ++row)
        std::copy_n(static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(row) * data.Stride, width * 4,
                    static_cast<BYTE*>(bits) + static_cast<ptrdiff_t>(row) * width * 4);
    canvas.UnlockBits(&data);
    GdiFlush();
    return handle;
}

// The picture at size over the face, every pixel opaque: an image list blends a picture by its
// alpha, which Wine's GDI+ leaves in the bitmaps it makes over a background.
Owners::Bitmap OpaquePicture(Gdiplus::Image& picture, SIZE size, COLORREF face, bool greyed)
{
    Gdiplus::Bitmap canvas(std::max<INT>(size.cx, 1), std::max<INT>(size.cy, 1), PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&canvas);
    const Gdiplus::Color background(ColorRefToArgb(face));
    graphics.Clear(background);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    if (greyed)
        DrawGreyed(graphics, picture, size.cx, size.cy);
    else
        graphics.DrawImage(&picture, Gdiplus::Rect(0, 0, size.cx, size.cy));
    HBITMAP handle = nullptr;
    if (canvas.GetHBITMAP(background, &handle) != Gdiplus::Ok)
        return {};
    return Owners::Bitmap(handle);
}
} // namespace

namespace UI
{
int ImageMinSize()
{
    static const int value = PointsToPixels(15.0f, GetDpiScaleX());
    return value;
}

DWORD ButtonKindStyle(int kind)
{
    switch (kind)
    {
    case Button::Push: return BS_PUSHBUTTON;
    case Button::DefaultPush: return BS_DEFPUSHBUTTON;
    case Button::CheckBox: return BS_AUTOCHECKBOX;
    case Button::Radio: return BS_NOTIFY | BS_AUTORADIOBUTTON;
    case Button::PushLikeCheckBox: return BS_PUSHLIKE | BS_AUTOCHECKBOX;
    case Button::PushLikeRadio: return BS_PUSHLIKE | BS_AUTORADIOBUTTON;
    case Button::Split: return BS_SPLITBUTTON;
    default: return 0;
    }
}

Button::Button(HWND parent, int id, int kind, int iconId, const wchar_t* text, bool glyphFont, int alignment,
               bool customDraw, bool notify)
    : WindowsControl(parent, id, 0, L"Button", WindowText(iconId, text).c_str(),
                     ButtonStyle(kind, text, kind == CheckBox ? 0 : alignment, customDraw, notify), glyphFont ? 5 : 0),
      customDraw(customDraw), noText(!HasText(text)), glyphFont(glyphFont), splitWidth(kind == Split ? Margin() : 0),
      alignment(kind == CheckBox ? 0 : alignment), kind(kind), ownerDrawn(customDraw && IsDarkMode())
{
    if (ownerDrawn)
        Subclass();
    if (iconId)
        SetIcon(iconId);
}

Button::Button(HWND parent, int id, int kind, const wchar_t* text, bool startsGroup, const std::wstring& groupName)
    : WindowsControl(parent, id, 0, L"Button", text,
                     ButtonStyle(kind, text, 0, true, false) | (startsGroup ? WS_GROUP : 0), 0),
      customDraw(true), noText(!HasText(text)), glyphFont(false), splitWidth(kind == Split ? Margin() : 0),
      alignment(0), kind(kind), radioGroup(groupName), ownerDrawn(IsDarkMode())
{
    if (ownerDrawn)
        Subclass();
}

Button::Button(HWND parent, const wchar_t* text)
    : WindowsControl(parent, 9, 0, L"Button", text,
                     IsDarkMode() ? WS_CHILD | WS_TABSTOP | BS_OWNERDRAW
                                  : WS_CHILD | WS_TABSTOP | BS_CENTER | (HasText(text) ? 0 : BS_BITMAP),
                     0),
      customDraw(true), noText(!HasText(text)), glyphFont(false), splitWidth(0), alignment(2), kind(Push),
      ownerDrawn(IsDarkMode())
{
    if (ownerDrawn)
        Subclass();
}

void Button::SetChecked(bool check)
{
    checked = check;
    if (!ownerDrawn)
        SendMessageW(hwnd, BM_SETCHECK, check ? BST_CHECKED : BST_UNCHECKED, 0);
    else if ((kind == Radio || kind == PushLikeRadio) && check)
        SendMessageW(parentWindow, WM_SETRADIOGROUP, reinterpret_cast<WPARAM>(&radioGroup),
                     reinterpret_cast<LPARAM>(hwnd));
    InvalidateRect(hwnd, nullptr, FALSE);
}

bool Button::IsChecked() const
{
    if (!ownerDrawn)
        return SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (kind == Radio || kind == PushLikeRadio)
        return reinterpret_cast<HWND>(SendMessageW(parentWindow, WM_GETRADIOGROUP,
                                                   reinterpret_cast<WPARAM>(&radioGroup), 0)) == hwnd;
    return checked;
}

void Button::SetIcon(int resourceId, std::optional<COLORREF> background)
{
    if (resourceId)
    {
        if (const std::unique_ptr<Gdiplus::Bitmap> bitmap = LoadFileResourceBitmap(resourceId))
            SetImage(background, *bitmap, true);
        return;
    }
    SendMessageW(hwnd, BM_SETIMAGE, IMAGE_BITMAP, 0);
    imageHandle.reset();
    BUTTON_IMAGELIST none{nullptr, {}, BUTTON_IMAGELIST_ALIGN_CENTER};
    SendMessageW(hwnd, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&none));
    stateImages.reset();
}

void Button::SetImage(std::optional<COLORREF> background, Gdiplus::Bitmap& bitmap, bool scale)
{
    const SIZE size = GetImageSize(bitmap, scale);
    imageSize = {std::max<int32_t>(size.cx, ImageMinSize()), std::max<int32_t>(size.cy, ImageMinSize())};
    if (!noText)
    {
        imageSize.width = std::max(imageSize.width, ButtonHeight());
        imageSize.height = std::max(imageSize.height, ButtonHeight());
    }
    imageSize.width += splitWidth;
    if (ownerDrawn)
    {
        image = RescaleBitmap(bitmap, size);
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    // The picture over the face is made once: the button's own picture is the normal one of its
    // pictures by state too.
    const COLORREF face = background.value_or(GetSysColor(COLOR_BTNFACE));
    Owners::Bitmap handle(OpaquePicture(bitmap, size, face, false));
    SendMessageW(hwnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(handle.get()));
    imageHandle = std::move(handle);
    SetStateImages(bitmap, size);
}

void Button::SetStateImages(Gdiplus::Bitmap& bitmap, SIZE size)
{
    const Owners::Bitmap picture = TransparentPicture(bitmap, size, false);
    const HBITMAP normal = picture.get();
    const Owners::Bitmap greyed = TransparentPicture(bitmap, size, true);
    Owners::ImageList list(ImageList_Create(std::max<int>(size.cx, 1), std::max<int>(size.cy, 1), ILC_COLOR32, 6, 0));
    if (!normal || !greyed || !list)
        return;
    // A picture for each state a button is drawn in: normal, hot, pressed, disabled, default and
    // hot under a pen, in that order.
    for (int state = 0; state < 6; ++state)
        if (ImageList_Add(list.get(), state == 3 ? greyed.get() : normal, nullptr) < 0)
            return;
    BUTTON_IMAGELIST images{list.get(), {}, static_cast<UINT>(noText ? BUTTON_IMAGELIST_ALIGN_CENTER
                                                                      : BUTTON_IMAGELIST_ALIGN_LEFT)};
    SendMessageW(hwnd, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    stateImages = std::move(list);
}

void Button::Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight)
{
    if (glyphFont)
        textSize = {ControlHeight(), ControlHeight()};
    else if (needsMeasure)
    {
        const int textWidth =
            noText ? 0 : (image || imageHandle ? 0 : 2 * Margin()) + MeasureWindowTextWidth(graphics, hwnd, fontIndex) + Gap();
        const int textHeight =
            textWidth == 0 ? 0 : (kind == CheckBox || kind == Radio ? CheckBoxHeight() : ButtonHeight());
        textSize = {textWidth, textHeight};
    }
    WindowsControl::Measure(graphics, availableWidth, availableHeight);
}

Size Button::GetDesiredSize()
{
    if (width != 0)
        return {width, height};
    return {textSize.width + imageSize.width, std::max(textSize.height, imageSize.height)};
}

Size Button::GetMinSize() { return imageSize.width != 0 ? imageSize : textSize; }

void Button::DrawItem(const DRAWITEMSTRUCT* item, int backgroundColourIndex)
{
    if (!ownerDrawn || !item)
        return;
    const float u = Pixel();
    const bool focus = item->itemState & ODS_FOCUS;
    const bool disabled = item->itemState & ODS_DISABLED;
    const bool pushStyle = kind != CheckBox && kind != Radio;
    const bool isChecked = IsChecked();
    const Gdiplus::Color textColour = Theme(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    const Gdiplus::Color fillColour = Theme(focus || hover || isChecked ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    const float border = pushStyle ? (kind == DefaultPush || focus ? 2 * u : u) : 0;

    const RECT& r = item->rcItem;
    const Gdiplus::RectF itemRect(static_cast<float>(r.left), static_cast<float>(r.top),
                                  static_cast<float>(r.right - r.left), static_cast<float>(r.bottom - r.top));
    Gdiplus::Graphics graphics(item->hDC);
    graphics.Clear(Theme(pushStyle ? COLOR_BTNFACE : backgroundColourIndex));

    if (pushStyle)
    {
        Gdiplus::RectF area = Shrunk(itemRect, u);
        if (!isChecked)
        {
            Gdiplus::SolidBrush frame(textColour);
            graphics.FillRectangle(&frame, area);
            area = Shrunk(area, border);
            Gdiplus::SolidBrush fill(fillColour);
            graphics.FillRectangle(&fill, area);
        }
        else
        {
            Gdiplus::SolidBrush frame{Gdiplus::Color(0xFF3399FF)};
            graphics.FillRectangle(&frame, area);
            area = Shrunk(area, 2 * border);
            Gdiplus::SolidBrush fill(Theme(focus ? COLOR_HIGHLIGHT : COLOR_WINDOW));
            graphics.FillRectangle(&fill, area);
        }
    }

    const std::wstring windowText = GetWindowTextString(hwnd);
    Gdiplus::RectF textArea = itemRect;
    const float splitStep = static_cast<float>(PointsToPixels(1.5f, GetDpiScaleX()));
    if (image)
    {
        const float w = static_cast<float>(image->GetWidth());
        const float h = static_cast<float>(image->GetHeight());
        float offsetX = 2 * u;
        if (alignment == 2)
        {
            float textWidth = 0;
            if (!windowText.empty() && windowText != L" ")
                textWidth = static_cast<float>(MeasureTextWidth(graphics, GetDisplayText(hwnd), fontIndex));
            offsetX = (itemRect.Width - w - (splitWidth > 0 ? splitWidth + 6 * u : 0) - textWidth) / 2;
        }
        const float offsetY = std::floor((itemRect.Height - h) / 2);
        offsetX = std::floor(offsetX);
        const Gdiplus::GraphicsState state = graphics.Save();
        graphics.TranslateTransform(itemRect.X + offsetX, itemRect.Y + offsetY);
        if (disabled)
            DrawGreyed(graphics, *image, static_cast<int>(w), static_cast<int>(h));
        else
            graphics.DrawImage(image.get(), 0.0f, 0.0f, w, h);
        graphics.Restore(state);
        textArea.X += w;
        textArea.Width -= w;
        if (kind == Split)
        {
            textArea.X += offsetX + splitStep;
            textArea.Width -= offsetX + splitStep;
        }
    }

    Gdiplus::Pen pen(textColour, u);
    const float splitLine = textArea.X;
    if (kind == Split)
    {
        graphics.DrawLine(&pen, textArea.X, itemRect.Y + 4 * u, textArea.X, itemRect.GetBottom() - 4 * u);
        textArea.X -= splitStep;
        textArea.Width += splitStep;
    }

    if (kind == CheckBox || kind == Radio)
    {
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        const float left = itemRect.X + 3 * u;
        const float top = itemRect.Y + 3 * u;
        const float side = 12 * u;
        if (kind == Radio)
        {
            graphics.DrawEllipse(&pen, left, top, side, side);
            if (isChecked)
            {
                Gdiplus::SolidBrush dot(textColour);
                graphics.FillEllipse(&dot, left + 2 * u, top + 2 * u, side - 4 * u, side - 4 * u);
            }
        }
        else
        {
            graphics.DrawRectangle(&pen, left, top, side, side);
            if (isChecked)
            {
                // The tick's points are measured from the item's corner, which puts it inside the box.
                const float x = itemRect.X;
                const float y = itemRect.Y;
                const Gdiplus::PointF tick[] = {{x + 5 * u, y + 8 * u}, {x + 8 * u, y + 11 * u}, {x + 13 * u, y + 6 * u}};
                graphics.DrawLines(&pen, tick, 3);
            }
        }
        textArea.X += side + 6 * u;
        textArea.Width -= side + 6 * u;
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    }

    if (!windowText.empty() || kind == Split)
    {
        std::wstring text = windowText;
        if (text.size() > 1 && text[0] == L' ')
            text.erase(0, 1);
        Gdiplus::StringFormat format;
        format.SetAlignment(alignment == 1   ? Gdiplus::StringAlignmentFar
                            : alignment == 2 ? Gdiplus::StringAlignmentCenter
                                             : Gdiplus::StringAlignmentNear);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        format.SetHotkeyPrefix(item->itemState & ODS_NOACCEL ? Gdiplus::HotkeyPrefixHide : Gdiplus::HotkeyPrefixShow);
        format.SetTrimming(Gdiplus::StringTrimmingCharacter);
        format.SetFormatFlags(format.GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap);
        Gdiplus::SolidBrush brush(textColour);
        if (kind == Split)
        {
            // Centred on the split part from a point: a layout rectangle narrower than the glyph
            // would trim it away.
            Gdiplus::StringFormat centred;
            centred.SetAlignment(Gdiplus::StringAlignmentCenter);
            centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
            if (Gdiplus::Font* font = GetUiFontTable().Font(5))
                graphics.DrawString(L"6", 1, font,
                                    Gdiplus::PointF((splitLine + itemRect.GetRight()) / 2,
                                                    itemRect.Y + itemRect.Height / 2),
                                    &centred, &brush);
        }
        else if (Gdiplus::Font* font = GetUiFontTable().Font(fontIndex))
            graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), font, textArea, &format, &brush);
    }

    if (focus && kind != PushLikeCheckBox && !(item->itemState & ODS_NOFOCUSRECT))
    {
        pen.SetDashStyle(Gdiplus::DashStyleDot);
        Gdiplus::RectF outline = Shrunk(itemRect, u + border);
        outline.Width -= u;
        outline.Height -= u;
        if (splitWidth > 0)
            outline.Width -= splitWidth + 4 * u;
        graphics.DrawRectangle(&pen, outline);
    }
}

void Button::ClickChecks()
{
    if (kind == Radio || kind == PushLikeRadio)
        SetChecked(true);
    else if (kind == CheckBox || kind == PushLikeCheckBox)
        SetChecked(!IsChecked());
}

LRESULT Button::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_GETDLGCODE:
    {
        LRESULT code = WindowsControl::WndProc(message, wParam, lParam);
        if (wParam == VK_UP || wParam == VK_DOWN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE || wParam == VK_RETURN)
        {
            if (kind == Push || kind == DefaultPush)
                // The button's own press-and-release would click a second time on key-up.
                return SendMessageW(parentWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                    reinterpret_cast<LPARAM>(hwnd));
            if (kind != Split)
                ClickChecks();
        }
        break;
    case WM_MOUSEMOVE:
        if (!hover)
        {
            hover = true;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, HOVER_DEFAULT};
            TrackMouseEvent(&track);
        }
        break;
    case WM_MOUSELEAVE:
        if (hover)
        {
            hover = false;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (kind == Split)
        {
            const Rect client = GetClientRectangle(hwnd);
            const int x = static_cast<short>(LOWORD(lParam));
            if (x >= client.width - Margin() - Gap())
            {
                NMBCDROPDOWN dropDown{};
                dropDown.hdr.hwndFrom = hwnd;
                dropDown.hdr.idFrom = 0;
                dropDown.hdr.code = BCN_DROPDOWN;
                GetClientRect(hwnd, &dropDown.rcButton);
                SendMessageW(parentWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&dropDown));
                return 0;
            }
        }
        else
            ClickChecks();
        break;
    default: break;
    }
    return WindowsControl::WndProc(message, wParam, lParam);
}
} // namespace UI
