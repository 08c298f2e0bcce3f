#include "framework/ui/controls/InfoBadge.h"

#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/Tooltip.h"

#include <cmath>
#include <map>
#include <mutex>

namespace
{
int ParentBackground(HWND parent)
{
    if (!parent || lstrcmpW(UI::GetClassNameString(parent).c_str(), L"Quillora Window") != 0)
        return COLOR_WINDOW;
    const auto* window = reinterpret_cast<const Window*>(GetWindowLongPtrW(parent, 0));
    return window ? window->GetBackground() : COLOR_WINDOW;
}

std::shared_ptr<Gdiplus::Bitmap> DrawBadge(COLORREF background)
{
    const float s = 9.75f * GetDpiScaleX();
    const float u = 0.75f * GetDpiScaleX();
    const int side = static_cast<int>(s);
    auto bitmap = std::make_shared<Gdiplus::Bitmap>(side, side, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(bitmap.get());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.Clear(Gdiplus::Color(ColorRefToArgb(background)));
    const Gdiplus::Color badge(
        SelectThemeColor<Gdiplus::ARGB>(0xFF1E8BCD, 0xFF3B9ADC, GetThemeArgb(COLOR_HOTLIGHT)));
    Gdiplus::SolidBrush badgeBrush(badge);
    Gdiplus::SolidBrush inside{Gdiplus::Color(GetThemeArgb(COLOR_WINDOW))};
    graphics.FillEllipse(&badgeBrush, 0.0f, 0.0f, s - u, s - u);
    graphics.FillEllipse(&inside, u, u, s - 3 * u, s - 3 * u);
    const float x = (s - 2 * u) / 2;
    // The dot of the "i" is round only where it is large enough to show it.
    if (u > 2)
        graphics.FillEllipse(&badgeBrush, x, 3 * u + 0.5f, u, u);
    else
        graphics.FillRectangle(&badgeBrush, x, 3 * u + 0.5f, u, u);
    graphics.FillRectangle(&badgeBrush, x, 5 * u + 0.5f, u, 4 * u);
    return bitmap;
}

std::shared_ptr<Gdiplus::Bitmap> BadgeFor(COLORREF background)
{
    // Kept for the life of the process (GDI+ objects must not be freed after GDI+ is shut down).
    static auto* cache = new std::map<COLORREF, std::shared_ptr<Gdiplus::Bitmap>>();
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    auto& bitmap = (*cache)[background];
    if (!bitmap)
        bitmap = DrawBadge(background);
    return bitmap;
}
} // namespace

namespace UI
{
std::shared_ptr<BoxContainer> CreateControlWithInfo(HWND parent, std::shared_ptr<IControl> control,
                                                    const std::wstring& infoText)
{
    const COLORREF background = GetThemeColor(ParentBackground(parent));
    const float s = 9.75f * GetDpiScaleX();
    const std::shared_ptr<Gdiplus::Bitmap> picture = BadgeFor(background);
    auto badge = std::make_shared<Button>(parent, 0, Button::Push, 0, nullptr, false, 2, true, true);
    badge->SetImage(background, *picture, false);
    badge->SetTooltip(infoText, 400);
    badge->width = badge->height = static_cast<int>(s + 0.5f);
    // Without a tab stop the tip shows at once on focus and hover (HandleTooltipNotification).
    badge->RemoveStyle(WS_TABSTOP);
    return std::make_shared<BoxContainer>("controlWithInfo", false, BoxContainer::Centre, 0,
                                          ControlList{std::move(control), std::move(badge)});
}
} // namespace UI
