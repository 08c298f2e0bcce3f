// Where the main window's controls appear and give way, at the sizes where they change.
#include "batch_import/MainWindowLayout.h"

#include <gtest/gtest.h>

TEST(MainWindowLayout, RightColumnShowsFromOnePixelPastTheWidthLimit)
{
    const MainWindowLayout at440 = ComputeMainWindowLayout(440, 336, 1.0f / 0.75f);
    EXPECT_TRUE(at440.tall);
    EXPECT_FALSE(at440.wide);
    EXPECT_EQ(0, at440.leftWidth);
    EXPECT_TRUE(at440.importSettingsEnabled);

    const MainWindowLayout at441 = ComputeMainWindowLayout(441, 336, 1.0f / 0.75f);
    EXPECT_TRUE(at441.wide);
    EXPECT_EQ(441 - 310, at441.leftWidth);
    EXPECT_EQ(336, at441.leftHeight);
    EXPECT_FALSE(at441.importSettingsEnabled);
}

TEST(MainWindowLayout, UnderTheTallHeightTheLimitIsFourHundredAndTheSettingsGiveWay)
{
    const MainWindowLayout at400 = ComputeMainWindowLayout(400, 335, 1.0f / 0.75f);
    EXPECT_FALSE(at400.tall);
    EXPECT_FALSE(at400.wide);
    const MainWindowLayout at401 = ComputeMainWindowLayout(401, 335, 1.0f / 0.75f);
    EXPECT_TRUE(at401.wide);
    EXPECT_EQ(401 - 220, at401.leftWidth);
    EXPECT_TRUE(at401.importSettingsEnabled);
}

TEST(MainWindowLayout, PickLocationShowsFromTwoHundredPixelsHigh)
{
    EXPECT_TRUE(ComputeMainWindowLayout(600, 200, 1.0f / 0.75f).pickLocationVisible);
    EXPECT_FALSE(ComputeMainWindowLayout(600, 199, 1.0f / 0.75f).pickLocationVisible);
}

TEST(MainWindowLayout, NarrowWindowsGiveTheSmallStatusAFixedWidth)
{
    EXPECT_EQ(226, ComputeMainWindowLayout(246, 400, 1.0f / 0.75f).smallStatusWidth);
    EXPECT_EQ(0, ComputeMainWindowLayout(247, 400, 1.0f / 0.75f).smallStatusWidth);
}

TEST(MainWindowLayout, ThresholdsScaleWithTheScreenAt144Dpi)
{
    const float scale = 2.0f; // 144 dpi: two pixels a point
    EXPECT_FALSE(ComputeMainWindowLayout(660, 504, scale).wide);
    EXPECT_TRUE(ComputeMainWindowLayout(661, 504, scale).wide);
    EXPECT_EQ(661 - 465, ComputeMainWindowLayout(661, 504, scale).leftWidth);
    EXPECT_FALSE(ComputeMainWindowLayout(661, 503, scale).tall);
    EXPECT_FALSE(ComputeMainWindowLayout(800, 299, scale).pickLocationVisible);
}

TEST(MainWindowLayout, AColumnWhoseContentIsWiderTakesItsRoomAndShowsAsMuchLater)
{
    const float scale = 1.0f / 0.75f;
    // 300 pixels of check box text and the 10 + 10 + 4 x 5 beside it need 30 more than the 310.
    const ColumnContent content{.rightTall = 300, .rightLow = 180};
    EXPECT_FALSE(ComputeMainWindowLayout(440 + 30, 336, scale, content).wide);
    const MainWindowLayout wide = ComputeMainWindowLayout(441 + 30, 336, scale, content);
    EXPECT_TRUE(wide.wide);
    EXPECT_EQ(441 + 30 - 310 - 30, wide.leftWidth);

    // Without the settings box, 180 and 40 fit in the 220 of a low window.
    EXPECT_TRUE(ComputeMainWindowLayout(401, 335, scale, content).wide);
    EXPECT_EQ(401 - 220, ComputeMainWindowLayout(401, 335, scale, content).leftWidth);
    // Content narrower than the column changes nothing.
    EXPECT_EQ(441 - 310, ComputeMainWindowLayout(441, 336, scale, {.rightTall = 200, .rightLow = 100}).leftWidth);
}

TEST(MainWindowLayout, TheRightColumnShowsOnlyWhereTheLeftOneKeepsWhatItNeeds)
{
    const float scale = 1.0f / 0.75f;
    // The list needs 180: with the 310 of the right column, the window needs 490.
    const ColumnContent content{.rightTall = 200, .rightLow = 180, .left = 180};
    EXPECT_FALSE(ComputeMainWindowLayout(180 + 310 - 1, 336, scale, content).wide);
    EXPECT_TRUE(ComputeMainWindowLayout(180 + 310, 336, scale, content).wide);
    EXPECT_EQ(180, ComputeMainWindowLayout(180 + 310, 336, scale, content).leftWidth);
    EXPECT_FALSE(ComputeMainWindowLayout(180 + 220 - 1, 335, scale, content).wide);
    EXPECT_TRUE(ComputeMainWindowLayout(180 + 220 + 1, 335, scale, content).wide);
}
