// Scaling from points to pixels, the UI fonts, and the light and dark theme from the registry.
#include "framework/Owners.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <comdef.h>

#include <cmath>
#include <optional>

namespace
{
const wchar_t officeKey[] = L"Software\\Microsoft\\Office\\16.0\\Common";
const wchar_t personalizeKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// Sets and removes the two registry values the theme is read from; leaves the mode as it found it.
class Theme : public testing::Test
{
protected:
    Theme() : savedMode_(GetThemeMode()) { Clear(); }
    ~Theme() override
    {
        Clear();
        SetThemeMode(savedMode_);
    }

    static void SetDword(const wchar_t* key, const wchar_t* name, DWORD value)
    {
        Owners::RegistryKey opened;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, opened.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(opened.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
                  ERROR_SUCCESS);
    }
    static void SetOfficeTheme(DWORD value) { SetDword(officeKey, L"UI Theme", value); }
    static void Clear()
    {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, officeKey, L"UI Theme");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, personalizeKey, L"AppsUseLightTheme");
    }

    std::optional<int> savedMode_;
};
} // namespace

TEST(Dpi, MetricsFollowTheScreensPixelsPerInch)
{
    Owners::WindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    EXPECT_FLOAT_EQ(GetDpiScaleX(), dpi / 72.0f);
    EXPECT_EQ(UI::Margin(), UI::PointsToPixels(7.5f, GetDpiScaleX()));
    if (dpi != 96)
        GTEST_SKIP() << "the screen has " << dpi << " dpi; the pixel values below are those of 96 dpi";
    EXPECT_EQ(UI::ButtonHeight(), 28);
    EXPECT_EQ(UI::CheckBoxHeight(), 18);
    EXPECT_EQ(UI::Gap(), 5);
    EXPECT_EQ(UI::Margin(), 10);
    EXPECT_EQ(UI::ControlHeight(), 20);
    EXPECT_EQ(UI::LargeMargin(), 20);
    EXPECT_EQ(ScaleToDpi(16), 16);
}

TEST(Dpi, At144DpiEveryLengthIsHalfAsLargeAgain)
{
    const float factor = 144 / 72.0f;
    EXPECT_EQ(UI::PointsToPixels(7.5f, factor), 15);
    EXPECT_EQ(UI::PointsToPixels(21, factor), 42);
    EXPECT_EQ(UI::PointsToPixels(13.5f, factor), 27);
    EXPECT_EQ(UI::PointsToPixels(3.75f, factor), 8);
    EXPECT_EQ(UI::ScaleToDpi(16, factor), 24);
    EXPECT_EQ(UI::ScaleToDpi(9, 96 / 72.0f), 9);
}

TEST(Fonts, TableHoldsEightFontsOfTheScaledSizes)
{
    InitUiResources();
    const UiFontTable& table = GetUiFontTable();
    ASSERT_EQ(table.fonts.size(), 8u);
    for (int index = 0; index < 8; ++index)
    {
        EXPECT_TRUE(table.Font(index)) << "font " << index;
        EXPECT_TRUE(table.Handle(index)) << "font " << index;
    }
    EXPECT_FLOAT_EQ(table.Font(UI::FontNormal)->GetSize(), std::trunc(GetDpiScaleY() * 9 + 0.5f));
    EXPECT_FLOAT_EQ(table.Font(UI::FontCode)->GetSize(), std::trunc(GetDpiScaleY() * 10 + 0.5f));
    EXPECT_TRUE(table.Font(UI::FontBold)->GetStyle() & Gdiplus::FontStyleBold);

    LOGFONTW logFont{};
    ASSERT_TRUE(GetObjectW(table.Handle(UI::FontNormal), sizeof logFont, &logFont));
    EXPECT_EQ(std::abs(logFont.lfHeight), static_cast<LONG>(std::trunc(GetDpiScaleY() * 9 + 0.5f)));
    ReleaseUiResources();
    EXPECT_FALSE(GetUiFontTable().Handle(0));
}

TEST(Fonts, MissingFamilyFallsBackToAnInstalledOne)
{
    Screenshot::GdiplusSession gdiplus;
    for (const bool monospace : {false, true})
    {
        auto font = CreateUiFont(L"Quillora No Such Family", Gdiplus::FontStyleBold, 12, monospace);
        ASSERT_TRUE(font) << "monospace " << monospace;
        EXPECT_TRUE(font->IsAvailable());
        EXPECT_FLOAT_EQ(font->GetSize(), 12);
        Gdiplus::FontFamily family;
        font->GetFamily(&family);
        wchar_t name[LF_FACESIZE] = {};
        family.GetFamilyName(name);
        EXPECT_STRNE(name, L"Quillora No Such Family");
    }
}

TEST_F(Theme, OfficeThemeDecidesLightAndDark)
{
    EXPECT_FALSE(IsDarkTheme()) << "no value is the light theme";
    SetOfficeTheme(3);
    EXPECT_TRUE(IsDarkTheme());
    SetOfficeTheme(4);
    EXPECT_TRUE(IsDarkTheme());
    SetOfficeTheme(0);
    EXPECT_FALSE(IsDarkTheme());
}

TEST_F(Theme, OfficeFollowingWindowsTakesTheAppTheme)
{
    SetOfficeTheme(6);
    EXPECT_TRUE(IsDarkTheme()) << "no AppsUseLightTheme value counts as dark";
    SetDword(personalizeKey, L"AppsUseLightTheme", 1);
    EXPECT_FALSE(IsDarkTheme());
    SetDword(personalizeKey, L"AppsUseLightTheme", 0);
    EXPECT_TRUE(IsDarkTheme());
}

TEST_F(Theme, UnsetModeReadsTheRegistryOnceFollowOfficeReadsEveryTime)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    SetOfficeTheme(4);
    SetThemeMode(std::nullopt);
    EXPECT_TRUE(IsDarkMode());
    SetOfficeTheme(0);
    EXPECT_TRUE(IsDarkMode()) << "the first answer was stored";

    SetThemeMode(UI::ThemeFollowOffice);
    EXPECT_FALSE(IsDarkMode());
    SetOfficeTheme(3);
    EXPECT_TRUE(IsDarkMode());
}

TEST_F(Theme, ValueOfAnotherTypeRaisesWhenReadAndCountsAsLight)
{
    Owners::RegistryKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, officeKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    const BYTE bytes[] = {4, 0, 0, 0};
    ASSERT_EQ(RegSetValueExW(key.get(), L"UI Theme", 0, REG_BINARY, bytes, sizeof bytes), ERROR_SUCCESS);
    RegistryValue value(HKEY_CURRENT_USER, officeKey, L"UI Theme");
    try
    {
        value.Read();
        ADD_FAILURE() << "a binary value was read";
    }
    catch (const _com_error& error)
    {
        EXPECT_EQ(error.Error(), E_UNEXPECTED);
    }
    EXPECT_FALSE(IsDarkTheme());
}

TEST(RegistryValueText, MultiStringKeepsEveryStringSeparatedBySemicolons)
{
    const std::wstring key = L"Software\\QuilloraTests\\MultiString" + std::to_wstring(GetCurrentProcessId());
    {
        Owners::RegistryKey created;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, created.put(),
                                  nullptr),
                  ERROR_SUCCESS);
        const wchar_t data[] = L"1041\0" L"1031\0" L"1036\0";
        ASSERT_EQ(RegSetValueExW(created.get(), L"List", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data),
                                 sizeof data),
                  ERROR_SUCCESS);
    }
    RegistryValue value(HKEY_CURRENT_USER, key, L"List");
    EXPECT_TRUE(value.Read());
    EXPECT_EQ(value.type(), static_cast<DWORD>(REG_MULTI_SZ));
    EXPECT_EQ(value.text(), L"1041;1031;1036");
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

TEST_F(Theme, DarkModeReplacesSystemColoursAndBrushes)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    SetThemeMode(UI::ThemeDark);
    EXPECT_EQ(GetThemeColor(COLOR_WINDOW), 0x202020u);
    EXPECT_EQ(GetThemeColor(COLOR_BTNFACE), 0x302D2Du);
    EXPECT_EQ(GetThemeColor(COLOR_MENU), GetSysColor(COLOR_MENU)) << "indices without a dark value stay";
    EXPECT_EQ(GetThemeArgb(COLOR_WINDOWTEXT), 0xFFC1C1C1u);
    LOGBRUSH brush{};
    ASSERT_TRUE(GetObjectW(GetThemeBrush(COLOR_WINDOW), sizeof brush, &brush));
    EXPECT_EQ(brush.lbColor, 0x202020u);
    EXPECT_EQ(GetThemeBrush(COLOR_WINDOW), GetThemeBrush(COLOR_WINDOW)) << "made once";
    EXPECT_EQ(SelectThemeColor(1, 2, 3), 2);

    SetThemeMode(UI::ThemeLight);
    EXPECT_EQ(GetThemeColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(GetThemeBrush(COLOR_WINDOW), GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(SelectThemeColor(1, 2, 3), 1);
}

TEST_F(Theme, DarkModeInvertsLightnessOfDrawnColours)
{
    EXPECT_EQ(InvertLightness(0xFFFFFFFF), 0xFF000000u);
    EXPECT_EQ(InvertLightness(0xFF000000), 0xFFFFFFFFu);
    EXPECT_EQ(InvertLightness(0xFF808080), 0xFF7F7F7Fu);
    EXPECT_EQ(InvertLightness(0xFFFF0000), 0xFFFF0000u) << "pure red keeps hue and saturation";
    EXPECT_EQ(InvertLightness(0x80FFFFFF), 0x80000000u) << "alpha is kept";
    const unsigned long darkBlue = InvertLightness(0xFF000080);
    EXPECT_EQ(darkBlue & 0xFF, 0xFFu) << "a dark blue becomes a light one";
    EXPECT_GT((darkBlue >> 8) & 0xFF, 0x70u);

    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on: drawn colours are left as they are, so their adjustment to the dark "
                        "theme was not checked";
    SetThemeMode(UI::ThemeDark);
    EXPECT_EQ(AdjustColorForTheme(0xFFFFFFFF), 0xFF000000u);
    SetThemeMode(UI::ThemeLight);
    EXPECT_EQ(AdjustColorForTheme(0xFFFFFFFF), 0xFFFFFFFFu);
}

TEST(ThemeColours, ColorRefBecomesOpaqueArgb)
{
    EXPECT_EQ(ColorRefToArgb(RGB(0x12, 0x34, 0x56)), 0xFF123456u);
}
