// What framework windows paint and answer for their children: backgrounds, the size grip, control
// colours, owner-drawn children, and the helpers for bitmaps and menus.
#include "framework/ui/Dpi.h"
#include "framework/ui/ScaledBitmap.h"
#include "framework/ui/Theme.h"
#include "framework/ui/Window.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace
{
// Keeps the theme mode of the process as it was.
class WindowPaint : public testing::Test
{
protected:
    WindowPaint() : savedMode_(GetThemeMode()) {}
    ~WindowPaint() override { SetThemeMode(savedMode_); }

    static std::shared_ptr<Window> Shown(int background, DWORD exStyle, DWORD style)
    {
        auto window = std::make_shared<Window>();
        window->Create(nullptr, background, exStyle, style);
        MoveWindow(window->GetHwnd(), 100, 100, 240, 160, FALSE);
        window->Show(L"Paint", SW_SHOW, false, nullptr, nullptr);
        return window;
    }

    // A pixel of the client area in a capture of the whole window.
    static COLORREF ClientPixel(HWND window, const Screenshot::Capture& capture, int x, int y)
    {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        RECT bounds{};
        GetWindowRect(window, &bounds);
        return capture.At(origin.x - bounds.left + x, origin.y - bounds.top + y);
    }

    Screenshot::GdiplusSession gdiplus_;
    std::optional<int> savedMode_;
};

struct DrawnItem
{
    int calls = 0;
    int background = -1;
};

void DrawItemHook(void* control, const DRAWITEMSTRUCT*, int background)
{
    auto* item = static_cast<DrawnItem*>(control);
    ++item->calls;
    item->background = background;
}
} // namespace

TEST_F(WindowPaint, DarkWindowBackgroundIsPaintedInTheThemeColour)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    SetThemeMode(UI::ThemeDark);
    auto window = Shown(COLOR_WINDOW, 0, WS_OVERLAPPED);
    const Screenshot::Capture capture = Screenshot::CaptureWindow(window->GetHwnd());
    Screenshot::Save(capture, L"dark");
    EXPECT_EQ(ClientPixel(window->GetHwnd(), capture, 50, 50), RGB(0x20, 0x20, 0x20));
    window->End(0);
}

TEST_F(WindowPaint, SizeGripSquaresAreDrawnInTheCorner)
{
    SetThemeMode(UI::ThemeLight);
    auto window = Shown(COLOR_BTNFACE, WS_EX_CLIENTEDGE, WS_OVERLAPPED | WS_THICKFRAME);
    const Screenshot::Capture capture = Screenshot::CaptureWindow(window->GetHwnd());
    Screenshot::Save(capture, L"grip");
    const UI::Rect client = UI::GetClientRectangle(window->GetHwnd());
    const float s = 1.5f * GetDpiScaleX();
    const int inLastSquare = static_cast<int>(s * 1.5f);
    EXPECT_EQ(ClientPixel(window->GetHwnd(), capture, client.width - inLastSquare, client.height - inLastSquare),
              GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(window->GetHwnd(), capture, client.width / 2, client.height / 2), GetSysColor(COLOR_BTNFACE));
    window->End(0);
}

TEST_F(WindowPaint, StaticChildrenGetTheColoursOfTheTheme)
{
    if (IsHighContrast())
        GTEST_SKIP() << "high contrast is on";
    SetThemeMode(UI::ThemeDark);
    auto window = Shown(COLOR_BTNFACE, 0, WS_OVERLAPPED);
    const HWND label = CreateWindowExW(0, L"Static", L"text", WS_CHILD, 0, 0, 10, 10, window->GetHwnd(), nullptr,
                                       nullptr, nullptr);
    Owners::WindowDC dc(label);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(window->GetHwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(label)));
    EXPECT_EQ(brush, GetThemeBrush(COLOR_BTNFACE));
    EXPECT_EQ(GetTextColor(dc.get()), 0xC1C1C1u);
    EXPECT_EQ(GetBkColor(dc.get()), 0x302D2Du);
    SendMessageW(window->GetHwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetBkColor(dc.get()), 0x202020u);
    window->End(0);
}

TEST_F(WindowPaint, OwnerDrawnChildIsDrawnThroughItsControl)
{
    auto window = Shown(COLOR_BTNFACE, 0, WS_OVERLAPPED);
    DrawnItem item;
    SetChildControlHooks({&DrawItemHook, nullptr});
    const HWND button = CreateWindowExW(0, L"Button", L"owner", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 80, 24,
                                        window->GetHwnd(), nullptr, nullptr, nullptr);
    SetWindowLongPtrW(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&item));
    InvalidateRect(button, nullptr, TRUE);
    UpdateWindow(button);
    EXPECT_TRUE(UiTest::PumpUntil([&] { return item.calls >= 1; }));
    SetChildControlHooks({});
    EXPECT_EQ(item.background, COLOR_BTNFACE);
    window->End(0);
}

TEST_F(WindowPaint, ScaledBitmapHasTheSizeOfTheScreen)
{
    Gdiplus::Bitmap picture(16, 8, PixelFormat32bppARGB);
    const SIZE size = GetImageSize(picture, true);
    EXPECT_EQ(size.cx, ScaleToDpi(16));
    EXPECT_EQ(size.cy, ScaleToDpi(8));
    EXPECT_EQ(GetImageSize(picture, false).cx, 16);
    Owners::Bitmap bitmap(CreateScaledHBitmap(picture, RGB(1, 2, 3), true));
    ASSERT_TRUE(bitmap);
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(bitmap.get(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, size.cx);
    EXPECT_EQ(info.bmHeight, size.cy);
}

TEST(MenuCommands, CheckMarkReachesEverySubmenuOfTheMenu)
{
    Owners::Menu menu(CreateMenu());
    HMENU first = CreatePopupMenu();
    HMENU second = CreatePopupMenu();
    AppendMenuW(first, MF_STRING, 40030, L"Light");
    AppendMenuW(second, MF_STRING, 40030, L"Light");
    AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(first), L"View");
    AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(second), L"Theme");
    const UI::MenuCommandPlaces places{{40030, {1, 0}}, {40030, {1, 1}}, {40030, {2, 0}}};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = MFS_CHECKED;
    UI::SetMenuCommandInfo(places, info, 40030, {1, menu.get()});
    EXPECT_EQ(GetMenuState(first, 40030, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(GetMenuState(second, 40030, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}
