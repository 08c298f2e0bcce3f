#include "batch_import/MainWindowLayout.h"

#include "framework/ui/Dpi.h"

#include <algorithm>

MainWindowLayout ComputeMainWindowLayout(int width, int height, float dpiScaleX, ColumnContent content)
{
    const auto px = [dpiScaleX](float points) { return UI::PointsToPixels(points, dpiScaleX); };
    MainWindowLayout layout;
    layout.tall = height >= px(252.0f);
    layout.pickLocationVisible = height >= px(150.0f);
    // The right column with the window's margins on both sides and the space between the columns.
    const int reserved = layout.tall ? px(232.5f) : px(165.0f);
    const int beside = 2 * px(7.5f) + 4 * px(3.75f);
    const int room = std::max(reserved, (layout.tall ? content.rightTall : content.rightLow) + beside);
    layout.wide = width > (layout.tall ? px(330.0f) : px(300.0f)) + (room - reserved) && width - room >= content.left;
    layout.importSettingsEnabled = !(layout.tall && layout.wide);
    if (width < px(185.25f))
        layout.smallStatusWidth = px(169.5f);
    if (layout.wide)
    {
        layout.leftWidth = width - room;
        layout.leftHeight = height;
    }
    return layout;
}
