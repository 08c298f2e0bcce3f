#include "framework/ui/Dpi.h"

#include "framework/Owners.h"

#include <atomic>
#include <cmath>

namespace
{
std::atomic<float> uiScaleFactor{1.0f};

// The process declares itself DPI-aware before any window exists, so that Windows does not
// stretch our windows' bitmaps; shcore.dll is newer than the plain user32 call.
struct DpiAwareness
{
    DpiAwareness()
    {
        Owners::Module shcore(LoadLibraryW(L"shcore.dll"));
        if (!shcore)
            return;
        using SetAwareness = HRESULT(WINAPI*)(int);
        const auto setAwareness =
            reinterpret_cast<SetAwareness>(reinterpret_cast<void*>(GetProcAddress(shcore.get(), "SetProcessDpiAwareness")));
        if (setAwareness)
            setAwareness(1); // PROCESS_SYSTEM_DPI_AWARE
        else
            SetProcessDPIAware();
    }
};
const DpiAwareness dpiAwareness;

float ScreenFactor(int index)
{
    Owners::WindowDC screen(nullptr);
    const int pixelsPerInch = screen ? GetDeviceCaps(screen.get(), index) : 96;
    return static_cast<float>(pixelsPerInch) * UI::GetUiScaleFactor() / 72.0f;
}
} // namespace

namespace UI
{
float GetUiScaleFactor() { return uiScaleFactor.load(); }
void SetUiScaleFactor(float factor) { uiScaleFactor.store(factor); }

int PointsToPixels(float points, float factor) { return static_cast<int>(std::trunc(points * factor + 0.5f)); }

int ScaleToDpi(int px, float factor)
{
    return static_cast<int>(std::trunc(factor * (static_cast<float>(px) * 3 * 0.25f) + 0.5f));
}

// Each metric has its own cache, so that two of equal value can still change apart.
int ButtonHeight()
{
    static const int value = PointsToPixels(21.0f, GetDpiScaleX());
    return value;
}
int CheckBoxHeight()
{
    static const int value = PointsToPixels(13.5f, GetDpiScaleX());
    return value;
}
int Gap()
{
    static const int value = PointsToPixels(3.75f, GetDpiScaleX());
    return value;
}
int Margin()
{
    static const int value = PointsToPixels(7.5f, GetDpiScaleX());
    return value;
}
int ControlHeight()
{
    static const int value = PointsToPixels(15.0f, GetDpiScaleX());
    return value;
}
int LargeMargin()
{
    static const int value = PointsToPixels(15.0f, GetDpiScaleX());
    return value;
}
} // namespace UI

float GetDpiScaleX()
{
    static const float factor = ScreenFactor(LOGPIXELSX);
    return factor;
}

float GetDpiScaleY()
{
    static const float factor = ScreenFactor(LOGPIXELSY);
    return factor;
}

int ScaleToDpi(int px) { return UI::ScaleToDpi(px, GetDpiScaleX()); }
