// Buttons in real windows: their sizes, native and owner-drawn check state, radio groups kept by the
// parent, the keyboard and the split part's drop-down.
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/TextMeasure.h"
#include "tests/framework/ui/controls/ControlTestSupport.h"

#include <algorithm>
#include <cmath>

using ControlTest::Fixture;
using ControlTest::Host;

namespace
{
class Buttons : public Fixture
{
protected:
    // Owner-drawn buttons exist only in the dark theme.
    bool DarkUnavailable() const { return IsHighContrast(); }
};

void PressSpace(HWND button)
{
    PostMessageW(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageW(button, WM_KEYUP, VK_SPACE, 0xC0390001);
    UiTest::PumpWaiting();
}
} // namespace

TEST_F(Buttons, PushButtonIsItsTextWithMarginsAndGapAndOneButtonHigh)
{
    Host& window = MakeHost();
    UI::Button button(window.GetHwnd(), 3, UI::Button::Push, 0, L"Go", false, 2, true, false);
    button.Measure(Graphics(), 300, 100);
    const int text = UI::MeasureTextWidth(Graphics(), L"Go", 0);
    EXPECT_EQ(button.GetDesiredSize(), (UI::Size{2 * UI::Margin() + text + UI::Gap(), UI::ButtonHeight()}));
    if (GetDpiScaleX() == 96 / 72.0f)
    {
        EXPECT_EQ(button.GetDesiredSize().height, 28);
    }
}

TEST_F(Buttons, ButtonWithFixedWidthReportsItsFixedSizeEvenWithoutHeight)
{
    Host& window = MakeHost();
    UI::Button button(window.GetHwnd(), 3, UI::Button::Push, 0, L"Go", false, 2, true, false);
    button.width = 77;
    button.Measure(Graphics(), 300, 100);
    EXPECT_EQ(button.GetDesiredSize(), (UI::Size{77, 0}));
}

TEST_F(Buttons, IconOnlyButtonIsABitmapButtonWithoutSidePadding)
{
    Host& window = MakeHost();
    UI::Button button(window.GetHwnd(), 3, UI::Button::Push, ControlTest::pictureId, nullptr, false, 2, true, false);
    EXPECT_TRUE(GetWindowLongW(button.hwnd, GWL_STYLE) & BS_BITMAP);
    EXPECT_TRUE(SendMessageW(button.hwnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
    button.Measure(Graphics(), 300, 100);
    const int side = std::max(::ScaleToDpi(16), UI::ImageMinSize());
    EXPECT_EQ(button.GetDesiredSize(), (UI::Size{side, side}));
    EXPECT_EQ(button.GetMinSize(), (UI::Size{side, side}));
}

TEST_F(Buttons, IconAndTextButtonGetsASpaceBeforeItsText)
{
    Host& window = MakeHost();
    UI::Button button(window.GetHwnd(), 3, UI::Button::Push, ControlTest::pictureId, L"Add", false, 0, true, false);
    EXPECT_EQ(UI::GetWindowTextString(button.hwnd), L" Add");
    EXPECT_EQ(button.imageSize.height, UI::ButtonHeight());
}

TEST_F(Buttons, CheckBoxIsAlwaysLeftAligned)
{
    Host& window = MakeHost();
    UI::Button box(window.GetHwnd(), 4, UI::Button::CheckBox, 0, L"Check", false, 2, true, false);
    EXPECT_EQ(box.alignment, 0);
    EXPECT_EQ(GetWindowLongW(box.hwnd, GWL_STYLE) & (BS_LEFT | BS_RIGHT), static_cast<LONG>(BS_LEFT));
    box.SetChecked(true);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(SendMessageW(box.hwnd, BM_GETCHECK, 0, 0), BST_CHECKED);
    box.SetChecked(false);
    EXPECT_FALSE(box.IsChecked());
}

TEST_F(Buttons, DarkRadioShowsCheckedOnlyWhileTheParentsGroupRecordNamesIt)
{
    if (DarkUnavailable())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::Button first(window.GetHwnd(), 20, UI::Button::Radio, L"One", true, L"numbers");
    UI::Button second(window.GetHwnd(), 21, UI::Button::Radio, L"Two", false, L"numbers");
    ASSERT_TRUE(first.IsOwnerDrawn());
    first.SetChecked(true);
    EXPECT_TRUE(first.IsChecked());
    second.SetChecked(true);
    EXPECT_FALSE(first.IsChecked());
    EXPECT_TRUE(second.IsChecked());
    const std::wstring group = L"numbers";
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(window.GetHwnd(), WM_GETRADIOGROUP,
                                                  reinterpret_cast<WPARAM>(&group), 0)),
              second.hwnd);
    // A click on the first one moves the record back.
    SendMessageW(first.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(first.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(first.IsChecked());
    EXPECT_FALSE(second.IsChecked());
}

TEST_F(Buttons, SpaceOnOwnerDrawnPushButtonSendsExactlyOneClick)
{
    if (DarkUnavailable())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::Button button(window.GetHwnd(), 31, UI::Button::Push, 0, L"Push", false, 2, true, false);
    ASSERT_TRUE(button.IsOwnerDrawn());
    PressSpace(button.hwnd);
    EXPECT_EQ(window.Commands(31, BN_CLICKED), 1);
}

TEST_F(Buttons, SpaceOnOwnerDrawnCheckBoxTogglesIt)
{
    if (DarkUnavailable())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::Button box(window.GetHwnd(), 32, UI::Button::CheckBox, 0, L"Check", false, 0, true, false);
    PressSpace(box.hwnd);
    EXPECT_TRUE(box.IsChecked());
    PressSpace(box.hwnd);
    EXPECT_FALSE(box.IsChecked());
}

TEST_F(Buttons, OwnerDrawnButtonsAskForTheArrowKeys)
{
    if (DarkUnavailable())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::Button box(window.GetHwnd(), 32, UI::Button::Radio, L"Radio", true, L"g");
    EXPECT_TRUE(SendMessageW(box.hwnd, WM_GETDLGCODE, VK_DOWN, 0) & DLGC_WANTMESSAGE);
    EXPECT_FALSE(SendMessageW(box.hwnd, WM_GETDLGCODE, VK_LEFT, 0) & DLGC_WANTMESSAGE);
}

TEST_F(Buttons, SplitButtonClickAtTheRightEdgeDropsDownInsteadOfClicking)
{
    if (DarkUnavailable())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::Button split(window.GetHwnd(), 33, UI::Button::Split, ControlTest::pictureId, nullptr, false, 2, true, false);
    MoveWindow(split.hwnd, 10, 10, 60, 30, FALSE);
    const int x = 60 - UI::Margin() - UI::Gap();
    SendMessageW(split.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
    SendMessageW(split.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
    EXPECT_EQ(std::count(window.notifications.begin(), window.notifications.end(), static_cast<UINT>(BCN_DROPDOWN)),
              1);
    EXPECT_EQ(window.Commands(33, BN_CLICKED), 0);

    SendMessageW(split.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x - 1, 10));
    SendMessageW(split.hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x - 1, 10));
    EXPECT_EQ(window.Commands(33, BN_CLICKED), 1);
    EXPECT_EQ(split.imageSize.width, std::max(::ScaleToDpi(16), UI::ImageMinSize()) + UI::Margin());
}

TEST_F(Buttons, OwnerDrawnButtonTracksTheMouseForItsHoverState)
{
    if (DarkUnavailable())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::Button button(window.GetHwnd(), 34, UI::Button::Push, 0, L"Hover", false, 2, true, false);
    SendMessageW(button.hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(button.hover);
    SendMessageW(button.hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.hover);
}

TEST_F(Buttons, DisabledOwnerDrawnPictureIsGreyAndFaint)
{
    if (DarkUnavailable())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::Button button(window.GetHwnd(), 35, UI::Button::Push, ControlTest::pictureId, nullptr, false, 0, true, false);
    MoveWindow(button.hwnd, 10, 10, 40, 40, FALSE);
    ShowWindow(button.hwnd, SW_SHOW);
    button.Enable(false);
    UpdateWindow(button.hwnd);
    const Screenshot::Capture capture = Screenshot::CaptureWindow(button.hwnd);
    Screenshot::Save(capture, L"disabled");
    // The picture's blue squares (0x2080E0) turn grey, and at 40 % over the face they stay dim.
    const int offset = (40 - button.image->GetHeight()) / 2;
    const int picture = static_cast<int>(4 * button.image->GetWidth() / 16);
    const COLORREF pixel = capture.At(static_cast<int>(std::floor(1.5f * GetDpiScaleX())) + picture, offset + picture);
    EXPECT_LE(std::abs(GetRValue(pixel) - GetBValue(pixel)), 4);
    EXPECT_LE(std::abs(GetGValue(pixel) - GetBValue(pixel)), 4);
    EXPECT_LT(GetBValue(pixel), 0x80);
}
