#include "batch_import/MainWindowLayout.h"

#include "framework/ui/Dpi.h"

MainWindowLayout ComputeMainWindowLayout(int width, int height, float dpiScaleX)
{
    const auto px = [dpiScaleX](float points) { return UI::PointsToPixels(points, dpiScaleX); };
    MainWindowLayout layout;
    layout.tall = height >= px(252.0f);
    layout.pickLocationVisible = height >= px(150.0f);
    layout.wide = width > (layout.tall ? px(330.0f) : px(300.0f));
    layout.importSettingsEnabled = !(layout.tall && layout.wide);
    if (width < px(185.25f))
        layout.smallStatusWidth = px(169.5f);
    if (layout.wide)
    {
        layout.leftWidth = width - (layout.tall ? px(232.5f) : px(165.0f));
        layout.leftHeight = height;
    }
    return layout;
}
