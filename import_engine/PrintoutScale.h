#pragma once
// The printout scale in percent sets both the pixel width a page is rendered at and the size its
// picture is shown at. Both must use the same value, and neither may divide by zero.

#include <cstdint>

inline constexpr uint32_t DefaultPrintoutScale = 200;

// The scale to render and size printouts with: the options offer 100 to 1000, and any value in
// that range is used as it stands; anything outside it (a hand-edited settings file) gives the
// default.
constexpr uint32_t UsablePrintoutScale(uint32_t percent)
{
    return percent < 100 || percent > 1000 ? DefaultPrintoutScale : percent;
}
