// The colour dialog's start and answer in both themes, the colour values it stores, and painting
// through a paint buffer.
#include "framework/log/Log.h"
#include "framework/ui/controls/ColorPicker.h"
#include "framework/ui/controls/PaintBuffer.h"

#include <cderr.h>
#include "tests/framework/log/LogReading.h"
#include "tests/framework/ui/controls/ControlTestSupport.h"
#include "tests/support/TestPaths.h"

using ControlTest::Fixture;

namespace
{
class ColorPicking : public Fixture
{
protected:
    ~ColorPicking() override { SetChooseColorFunction(nullptr); }

    // The dialog's start colour, answering with answer (or cancelling when empty).
    COLORREF Pick(std::optional<COLORREF> initial, std::optional<COLORREF> answer, std::optional<COLORREF>& result)
    {
        COLORREF started = CLR_INVALID;
        SetChooseColorFunction([&](CHOOSECOLORW& choose) {
            started = choose.rgbResult;
            EXPECT_EQ(choose.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR));
            EXPECT_EQ(choose.lpCustColors, custom_);
            if (!answer)
                return FALSE;
            choose.rgbResult = *answer;
            return TRUE;
        });
        result = PickColor(nullptr, initial, custom_);
        return started;
    }

    COLORREF custom_[16] = {};
};
} // namespace

TEST_F(ColorPicking, WithoutInitialColourTheDialogOpensOnWhiteAndCancelLogsNothing)
{
    const std::wstring path = TestPaths::OutputFile(L".log").wstring();
    ASSERT_TRUE(OpenLogFile(path));
    std::optional<COLORREF> result;
    EXPECT_EQ(Pick(std::nullopt, std::nullopt, result), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_FALSE(result);
    CloseLogFile();
    EXPECT_TRUE(LogReading::Lines(LogReading::Text(path)).empty());
}

TEST_F(ColorPicking, FailingDialogIsLoggedWithItsErrorCode)
{
    const std::wstring path = TestPaths::OutputFile(L".log").wstring();
    ASSERT_TRUE(OpenLogFile(path));
    // The real dialog refuses a template it cannot find and says why.
    SetChooseColorFunction([](CHOOSECOLORW& choose) {
        CHOOSECOLORW missing = choose;
        missing.Flags |= CC_ENABLETEMPLATE;
        missing.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
        missing.lpTemplateName = L"NoSuchColorDialog";
        return ChooseColorW(&missing);
    });
    COLORREF custom[16] = {};
    EXPECT_FALSE(PickColor(nullptr, RGB(1, 2, 3), custom));
    CloseLogFile();
    const auto lines = LogReading::Lines(LogReading::Text(path));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(LogReading::Message(lines[0]), L"ChooseColor error: " + std::to_wstring(CDERR_FINDRESFAILURE));
}

TEST_F(ColorPicking, PickedBlackIsStoredAsOpaqueBlackNotAutomatic)
{
    std::optional<COLORREF> result;
    Pick(std::nullopt, RGB(0, 0, 0), result);
    ASSERT_TRUE(result);
    EXPECT_EQ(ColorToString(ColorOfColorRef(*result)), L"#000000");
    EXPECT_EQ(ColorOfColorRef(RGB(0x12, 0x34, 0x56)), static_cast<Color>(0xFF123456u));
}

TEST_F(ColorPicking, StoredColoursStartTheDialogWithoutAlphaAndAutomaticStartsOnWhite)
{
    EXPECT_EQ(ColorRefOfColor(ParseColor(L"red")), std::optional<COLORREF>(RGB(0xFF, 0, 0)));
    EXPECT_EQ(ColorRefOfColor(static_cast<Color>(0x80123456u)), std::optional<COLORREF>(RGB(0x12, 0x34, 0x56)));
    EXPECT_FALSE(ColorRefOfColor(ParseColor(L"automatic")));
    EXPECT_FALSE(ColorRefOfColor(ParseColor(L"none")));
}

TEST_F(ColorPicking, DarkThemeShowsColoursWithInvertedLightnessAndRedStaysRed)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    SetThemeMode(UI::ThemeDark);
    std::optional<COLORREF> result;
    // White is shown as black, and what is picked there comes back in the light theme's terms.
    EXPECT_EQ(Pick(std::nullopt, RGB(0, 0, 0), result), RGB(0, 0, 0));
    EXPECT_EQ(result, std::optional<COLORREF>(RGB(0xFF, 0xFF, 0xFF)));
    EXPECT_EQ(Pick(RGB(0xFF, 0, 0), RGB(0xFF, 0, 0), result), RGB(0xFF, 0, 0));
    EXPECT_EQ(ColorToString(ColorOfColorRef(*result)), L"#ff0000");
}

namespace
{
class BufferedWindow : public Window
{
public:
    LRESULT OnPaint(bool& handled) override
    {
        UI::PaintBuffer buffer(hwnd_, offscreen_);
        if (buffer.graphics)
            buffer.graphics->Clear(Gdiplus::Color(0xFF, 0xC0, 0x20, 0x40));
        buffer.Finish();
        finishedOnce = buffer.IsFinished() && !buffer.graphics;
        // A second finish must not copy again or end painting twice.
        buffer.Finish();
        ++paints;
        handled = true;
        return 0;
    }
    int paints = 0;
    bool finishedOnce = false;
};

class PaintBuffers : public Fixture
{
};
} // namespace

TEST_F(PaintBuffers, FinishedBufferShowsWhatWasDrawnAndFinishingAgainDoesNothing)
{
    auto window = std::make_shared<BufferedWindow>();
    window->Create(nullptr, COLOR_BTNFACE, 0, WS_POPUP);
    MoveWindow(window->GetHwnd(), 50, 50, 120, 80, FALSE);
    window->Show(L"Buffered", SW_SHOW, false, nullptr, nullptr);
    UpdateWindow(window->GetHwnd());
    const Screenshot::Capture capture = Screenshot::CaptureWindow(window->GetHwnd());
    EXPECT_GE(window->paints, 1);
    EXPECT_TRUE(window->finishedOnce);
    EXPECT_EQ(capture.At(60, 40), RGB(0xC0, 0x20, 0x40));
    window->End(0);
}
