// Window controls in a real window: sizes, text measuring, progress, combo items, pictures, date
// pickers, the multi-line edit's Tab, and the tips of info badges.
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/ComboBox.h"
#include "framework/ui/controls/DateTimePicker.h"
#include "framework/ui/controls/EditBox.h"
#include "framework/ui/controls/Image.h"
#include "framework/ui/controls/InfoBadge.h"
#include "framework/ui/controls/Label.h"
#include "framework/ui/controls/Progress.h"
#include "framework/ui/controls/TextMeasure.h"
#include "framework/ui/controls/Tooltip.h"
#include "framework/ui/controls/WindowsControl.h"
#include "tests/framework/ui/controls/ControlTestSupport.h"

using ControlTest::Fixture;
using ControlTest::Host;

namespace
{
class WindowsControls : public Fixture
{
};

std::shared_ptr<UI::WindowsControl> StaticControl(HWND parent)
{
    return std::make_shared<UI::WindowsControl>(parent, 0, 0, L"Static", L"x", WS_CHILD, 0);
}
} // namespace

TEST_F(WindowsControls, ControlWithoutFixedSizeTakesTheAvailableSizeAndItsMinimum)
{
    Host& window = MakeHost();
    auto control = StaticControl(window.GetHwnd());
    control->Measure(Graphics(), 200, 50);
    EXPECT_EQ(control->GetDesiredSize(), (UI::Size{200, 50}));
    control->minHeight = 60;
    control->Measure(Graphics(), 200, 50);
    EXPECT_EQ(control->GetDesiredSize(), (UI::Size{200, 60}));
    EXPECT_FALSE(control->needsMeasure);
}

TEST_F(WindowsControls, InvisibleControlIsMovedAndHiddenInTheSameBatch)
{
    Host& window = MakeHost();
    auto control = StaticControl(window.GetHwnd());
    ShowWindow(control->hwnd, SW_SHOW);
    control->visible = false;
    HDWP batch = BeginDeferWindowPos(1);
    HWND after = nullptr;
    control->Arrange(10, 20, 30, 40, batch, after, true);
    EndDeferWindowPos(batch);
    EXPECT_EQ(after, control->hwnd);
    EXPECT_FALSE(IsWindowVisible(control->hwnd));
    RECT bounds{};
    GetWindowRect(control->hwnd, &bounds);
    MapWindowPoints(nullptr, window.GetHwnd(), reinterpret_cast<POINT*>(&bounds), 2);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.top, 20);
}

TEST_F(WindowsControls, ControlIsFoundByItsWindowAndTheWindowByItsControl)
{
    Host& window = MakeHost();
    auto control = StaticControl(window.GetHwnd());
    EXPECT_EQ(UI::WindowsControl::FromWindow(control->hwnd), control.get());
    EXPECT_TRUE(UI::IsControlWindow(control, control->hwnd));
    EXPECT_FALSE(UI::IsControlWindow(control, window.GetHwnd()));
    EXPECT_FALSE(UI::IsControlWindow(nullptr, control->hwnd));
}

TEST_F(WindowsControls, EmptyLabelStillMeasuresOneLineHigh)
{
    Host& window = MakeHost();
    UI::Label empty(window.GetHwnd(), L"");
    UI::Label text(window.GetHwnd(), L"Some text");
    empty.Measure(Graphics(), 300, 100);
    text.Measure(Graphics(), 300, 100);
    EXPECT_GT(empty.GetDesiredSize().height, 0);
    EXPECT_EQ(empty.GetDesiredSize().height, text.GetDesiredSize().height);
    EXPECT_EQ(text.GetDesiredSize().width, 300);
}

TEST_F(WindowsControls, LabelWithFixedHeightIsAsWideAsItsSingleLine)
{
    Host& window = MakeHost();
    UI::Label label(window.GetHwnd(), L"A &label that is one line");
    label.height = 17;
    label.Measure(Graphics(), 1000, 100);
    EXPECT_EQ(label.GetDesiredSize().height, 17);
    EXPECT_EQ(label.GetDesiredSize().width,
              UI::MeasureTextWidth(Graphics(), L"A &label that is one line", 0));
    EXPECT_LT(label.GetDesiredSize().width, 1000);
}

TEST_F(WindowsControls, LongLabelWrapsIntoMoreLinesWhenNarrow)
{
    Host& window = MakeHost();
    UI::Label label(window.GetHwnd(), L"Words that wrap when the label is narrow enough to need more lines");
    label.Measure(Graphics(), 1000, 100);
    const int oneLine = label.GetDesiredSize().height;
    label.Measure(Graphics(), 80, 100);
    EXPECT_GT(label.GetDesiredSize().height, 2 * oneLine);
}

TEST_F(WindowsControls, ProgressPostsEachNewPositionOnce)
{
    Host& window = MakeHost();
    UI::Progress progress(window.GetHwnd());
    EXPECT_TRUE(progress.SetProgress(0.5f));
    EXPECT_FALSE(progress.SetProgress(0.5f));
    UiTest::PumpWaiting();
    EXPECT_EQ(SendMessageW(progress.hwnd, PBM_GETPOS, 0, 0), 500);
    EXPECT_EQ(SendMessageW(progress.hwnd, PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_TRUE(progress.SetProgress(0.0005f));
    EXPECT_EQ(progress.position, 1);
}

TEST_F(WindowsControls, ProgressLeavesMarqueeOnTheNextPosition)
{
    Host& window = MakeHost();
    UI::Progress progress(window.GetHwnd());
    progress.SetMarquee();
    EXPECT_TRUE(GetWindowLongW(progress.hwnd, GWL_STYLE) & PBS_MARQUEE);
    progress.SetProgress(0.25f);
    EXPECT_FALSE(progress.marquee);
    EXPECT_FALSE(GetWindowLongW(progress.hwnd, GWL_STYLE) & PBS_MARQUEE);
}

TEST_F(WindowsControls, ComboBoxItemTextsOutsideTheListAreEmpty)
{
    Host& window = MakeHost();
    UI::ComboBox combo(window.GetHwnd(), 12, false);
    combo.SetItems({L"First", L"Second", L"Third"});
    EXPECT_EQ(combo.GetItemText(1), L"Second");
    EXPECT_EQ(combo.GetItemText(-1), L"");
    EXPECT_EQ(combo.GetItemText(3), L"");
    EXPECT_EQ(combo.GetSelection(), CB_ERR);
    combo.SetSelection(2);
    EXPECT_EQ(combo.GetText(), L"Third");
    combo.SetItems({L"Only"});
    EXPECT_EQ(combo.GetItemText(0), L"Only");
    EXPECT_EQ(combo.GetItemText(1), L"");
}

TEST_F(WindowsControls, EditableComboBoxWithoutSelectionGivesItsEditText)
{
    Host& window = MakeHost();
    UI::ComboBox combo(window.GetHwnd(), 12, true);
    combo.SetItems({L"First"});
    SetWindowTextW(combo.hwnd, L"typed");
    EXPECT_EQ(combo.GetText(), L"typed");
    EXPECT_EQ(combo.GetDesiredSize().height, 0);
    EXPECT_EQ(combo.height, UI::ComboBoxHeight());
}

TEST_F(WindowsControls, DarkComboBoxIsOwnerDrawnAndItemsAreAsHighAsCheckBoxes)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::ComboBox combo(window.GetHwnd(), 12, false);
    EXPECT_TRUE(combo.ownerDrawn);
    EXPECT_TRUE(GetWindowLongW(combo.hwnd, GWL_STYLE) & CBS_OWNERDRAWFIXED);
    combo.SetItems({L"First"});
    EXPECT_EQ(SendMessageW(combo.hwnd, CB_GETITEMHEIGHT, 0, 0), UI::CheckBoxHeight());
}

TEST_F(WindowsControls, MultiLineEditLetsTabMoveTheFocus)
{
    Host& window = MakeHost();
    UI::EditBox edit(window.GetHwnd(), L"text", true);
    EXPECT_EQ(UI::GetWindowTextString(edit.hwnd), L"text");
    const LRESULT code = SendMessageW(edit.hwnd, WM_GETDLGCODE, VK_TAB, 0);
    EXPECT_FALSE(code & DLGC_WANTALLKEYS);
    EXPECT_EQ(edit.minHeight, UI::ControlHeight());
    EXPECT_EQ(edit.height, 0);
    UI::EditBox single(window.GetHwnd(), nullptr, false);
    EXPECT_EQ(single.height, UI::ControlHeight());
}

TEST_F(WindowsControls, DatePickerStartsOnTheGivenLocalDay)
{
    Host& window = MakeHost();
    const DateTime value(2026, 3, 14, 15);
    UI::DateTimePicker picker(window.GetHwnd(), 7, UI::DateTimePicker::DateAndTime, value);
    const SYSTEMTIME shown = picker.GetValue();
    EXPECT_EQ(shown.wYear, 2026);
    EXPECT_EQ(shown.wMonth, 3);
    EXPECT_EQ(shown.wDay, 14);
    EXPECT_EQ(shown.wMilliseconds, 0);
}

TEST_F(WindowsControls, ImageTakesTheScaledPictureSizeAndNoneWhenCleared)
{
    Host& window = MakeHost();
    UI::Image image(window.GetHwnd(), ControlTest::pictureId);
    EXPECT_EQ(image.GetDesiredSize(), (UI::Size{::ScaleToDpi(16), ::ScaleToDpi(16)}));
    EXPECT_TRUE(SendMessageW(image.hwnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
    image.SetImage(0);
    EXPECT_EQ(image.GetDesiredSize(), (UI::Size{0, 0}));
    EXPECT_FALSE(SendMessageW(image.hwnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

TEST_F(WindowsControls, InfoBadgeIsAThirteenPixelButtonWithoutTabStop)
{
    Host& window = MakeHost();
    auto box = UI::CreateControlWithInfo(window.GetHwnd(), StaticControl(window.GetHwnd()), L"What this is");
    EXPECT_STREQ(box->name, "controlWithInfo");
    EXPECT_TRUE(box->horizontal);
    ASSERT_EQ(box->Children().size(), 2u);
    auto badge = std::dynamic_pointer_cast<UI::Button>(box->Children()[1]);
    ASSERT_TRUE(badge);
    EXPECT_EQ(badge->width, static_cast<int>(9.75f * GetDpiScaleX() + 0.5f));
    EXPECT_EQ(badge->width, badge->height);
    EXPECT_FALSE(GetWindowLongW(badge->hwnd, GWL_STYLE) & WS_TABSTOP);
    ASSERT_TRUE(badge->tooltip);
    EXPECT_EQ(badge->tooltip->text, L"What this is");
    if (GetDpiScaleX() == 96 / 72.0f)
    {
        EXPECT_EQ(badge->width, 13);
    }
}

TEST_F(WindowsControls, BadgeTipShowsAtOnceOnFocusAndReturnsToHoverOnLeaving)
{
    Host& window = MakeHost();
    auto box = UI::CreateControlWithInfo(window.GetHwnd(), StaticControl(window.GetHwnd()), L"Explained");
    auto badge = std::dynamic_pointer_cast<UI::Button>(box->Children()[1]);
    NMHDR focus = UI::NotificationFromCommand(MAKEWPARAM(0, BN_SETFOCUS), reinterpret_cast<LPARAM>(badge->hwnd));
    EXPECT_TRUE(UI::HandleTooltipNotification(&focus));
    ASSERT_TRUE(badge->tooltip);
    EXPECT_TRUE(badge->tooltip->tracking);
    EXPECT_FALSE(UI::ShowTooltipNow(*badge, L"Explained"));
    NMHDR leave = UI::NotificationFromCommand(MAKEWPARAM(0, BN_KILLFOCUS), reinterpret_cast<LPARAM>(badge->hwnd));
    EXPECT_TRUE(UI::HandleTooltipNotification(&leave));
    ASSERT_TRUE(badge->tooltip);
    EXPECT_FALSE(badge->tooltip->tracking);
    EXPECT_EQ(badge->tooltip->text, L"Explained");
}

TEST_F(WindowsControls, ButtonWithTabStopKeepsItsOrdinaryTip)
{
    Host& window = MakeHost();
    UI::Button button(window.GetHwnd(), 5, UI::Button::Push, 0, L"OK", false, 2, true, true);
    button.SetTooltip(L"tip", 400);
    NMHDR focus = UI::NotificationFromCommand(MAKEWPARAM(5, BN_SETFOCUS), reinterpret_cast<LPARAM>(button.hwnd));
    EXPECT_FALSE(UI::HandleTooltipNotification(&focus));
    EXPECT_FALSE(button.tooltip->tracking);
}

TEST_F(WindowsControls, DarkLinkLeavesTheWindowsBackgroundBrushIntact)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    Host& window = MakeHost(true);
    UI::Label link(window.GetHwnd(), L"See <a>the link</a>", false, 0, 0, true);
    MoveWindow(link.hwnd, 10, 10, 150, 20, FALSE);
    ShowWindow(link.hwnd, SW_SHOW);
    UpdateWindow(link.hwnd);
    // Wine's link control deletes the brush its parent gives it.
    const Screenshot::Capture capture = Screenshot::CaptureWindow(window.GetHwnd());
    POINT corner{2, 2};
    ClientToScreen(window.GetHwnd(), &corner);
    const UI::Rect bounds = UI::GetWindowRectangle(window.GetHwnd());
    EXPECT_EQ(capture.At(corner.x - bounds.x, corner.y - bounds.y), GetThemeColor(COLOR_WINDOW));
}

TEST_F(WindowsControls, BadgeTipShowsWhenTheMouseEntersAndReturnsWhenItLeaves)
{
    Host& window = MakeHost();
    auto box = UI::CreateControlWithInfo(window.GetHwnd(), StaticControl(window.GetHwnd()), L"Hovered");
    auto badge = std::dynamic_pointer_cast<UI::Button>(box->Children()[1]);
    NMBCHOTITEM hot{};
    hot.hdr = {badge->hwnd, 0, static_cast<UINT>(BCN_HOTITEMCHANGE)};
    hot.dwFlags = HICF_ENTERING;
    EXPECT_TRUE(UI::HandleTooltipNotification(&hot.hdr));
    EXPECT_TRUE(badge->tooltip->tracking);
    hot.dwFlags = HICF_LEAVING;
    EXPECT_TRUE(UI::HandleTooltipNotification(&hot.hdr));
    EXPECT_FALSE(badge->tooltip->tracking);
    NMHDR other{badge->hwnd, 0, static_cast<UINT>(NM_CLICK)};
    EXPECT_FALSE(UI::HandleTooltipNotification(&other));
}

TEST_F(WindowsControls, TrackingTipNearTheRightEdgeIsShiftedLeftToFit)
{
    Host& window = MakeHost(false, 300, 100);
    auto control = StaticControl(window.GetHwnd());
    MoveWindow(control->hwnd, 250, 10, 20, 20, FALSE);
    ASSERT_TRUE(UI::ShowTooltipNow(*control, L"A tip"));
    UI::PositionTrackingTooltip(*control);
    UiTest::PumpWaiting();
    const UI::Rect parent = UI::GetWindowRectangle(window.GetHwnd());
    const UI::Rect own = UI::GetWindowRectangle(control->hwnd);
    const int maxWidth = static_cast<int>(SendMessageW(control->tooltip->hwnd, TTM_GETMAXTIPWIDTH, 0, 0));
    EXPECT_EQ(maxWidth, ::ScaleToDpi(400));
    const int expectedX = parent.x + parent.width - maxWidth - 2 * UI::LargeMargin() +
                          UI::PointsToPixels(15.0f, GetDpiScaleX());
    const UI::Rect tip = UI::GetWindowRectangle(control->tooltip->hwnd);
    // The tip's own frame may sit a pixel beside the tracked point.
    if (IsWindowVisible(control->tooltip->hwnd))
    {
        EXPECT_NEAR(tip.x, std::max(expectedX, 0), 2);
    }
    EXPECT_LT(expectedX, own.x);
}
