#include "framework/ui/controls/ColorPicker.h"

#include "framework/log/Log.h"
#include "framework/ui/Theme.h"

#include <utility>

namespace
{
ChooseColorFunction& Dialog()
{
    static ChooseColorFunction function;
    return function;
}

COLORREF AdjustColorRef(COLORREF color)
{
    const unsigned long argb = AdjustColorForTheme(ColorRefToArgb(color));
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}
} // namespace

void SetChooseColorFunction(ChooseColorFunction function) { Dialog() = std::move(function); }

std::optional<COLORREF> PickColor(HWND owner, std::optional<COLORREF> initial, COLORREF customColors[16])
{
    CHOOSECOLORW choose{};
    static_assert(sizeof choose == (sizeof(void*) == 4 ? 36 : 72), "the colour dialog record");
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.rgbResult = AdjustColorRef(initial.value_or(RGB(0xFF, 0xFF, 0xFF)));
    choose.lpCustColors = customColors;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR;
    const BOOL picked = Dialog() ? Dialog()(choose) : ChooseColorW(&choose);
    if (picked)
        return AdjustColorRef(choose.rgbResult);
    if (const DWORD error = CommDlgExtendedError())
        GetLog(true) << L"ChooseColor error: " << std::dec << error;
    return std::nullopt;
}

std::optional<COLORREF> ColorRefOfColor(Color color)
{
    if (color == Color::Automatic || color == Color::None)
        return std::nullopt;
    const auto argb = static_cast<std::uint32_t>(color);
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

Color ColorOfColorRef(COLORREF color) { return static_cast<Color>(ColorRefToArgb(color)); }
