// Framework windows on the virtual display: modal results, owners, placement, layout of real child
// windows, keyboard navigation of modeless windows, placements saved and applied.
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Window.h"
#include "framework/ui/WindowPosition.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <stdexcept>

namespace
{
constexpr DWORD frameStyle = WS_OVERLAPPED | WS_THICKFRAME;

template <typename W = Window>
std::shared_ptr<W> MakeWindow(HWND parent = nullptr, DWORD exStyle = 0, DWORD style = frameStyle)
{
    auto window = std::make_shared<W>();
    window->Create(parent, COLOR_BTNFACE, exStyle, style);
    return window;
}

// A window whose command handler fails.
class FailingCommandWindow : public Window
{
public:
    LRESULT OnCommand(int, HWND, int, bool&) override { throw std::runtime_error("handler failed"); }
};

HWND MakeEdit(HWND parent)
{
    return CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100, 20, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void PressTab(HWND target)
{
    PostMessageW(target, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(target, WM_KEYUP, VK_TAB, 0xC00F0001);
}

POINT ClientOrigin(HWND window)
{
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

UI::Rect ChildRect(HWND child)
{
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
    return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}
} // namespace

TEST(ModalWindow, ShowReturnsTheValueGivenToEnd)
{
    auto window = MakeWindow();
    ASSERT_TRUE(window->GetHwnd());
    DWORD closureThread = 0;
    window->GetUiChannel().Post([&] {
        closureThread = GetCurrentThreadId();
        window->End(7);
    });
    EXPECT_EQ(window->Show(L"Modal", SW_SHOW, true, nullptr, nullptr), 7u);
    EXPECT_EQ(closureThread, GetCurrentThreadId());
    EXPECT_FALSE(window->GetHwnd());
}

TEST(ModalWindow, CloseBoxOfLaidOutWindowGivesTwoAndFreesTheOwner)
{
    auto owner = MakeWindow();
    owner->Show(L"Owner", SW_SHOW, false, nullptr, nullptr);
    auto dialog = MakeWindow<AutoLayoutWindow>(owner->GetHwnd());
    EXPECT_EQ(dialog->GetOwner(), owner->GetHwnd());
    bool ownerWasDisabled = false;
    dialog->GetUiChannel().Post([&] {
        ownerWasDisabled = !IsWindowEnabled(owner->GetHwnd());
        PostMessageW(dialog->GetHwnd(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(dialog->Show(L"Dialog", SW_SHOW, true, nullptr, nullptr), 2u);
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner->GetHwnd()));
    owner->End(0);
}

TEST(ModalWindow, PlainWindowClosedWithoutEndFreesItsOwner)
{
    auto owner = MakeWindow();
    auto dialog = MakeWindow(owner->GetHwnd());
    dialog->GetUiChannel().Post([&] { PostMessageW(dialog->GetHwnd(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog->Show(L"Dialog", SW_SHOW, true, nullptr, nullptr), 0u);
    EXPECT_FALSE(IsWindow(dialog->GetHwnd()));
    EXPECT_TRUE(IsWindowEnabled(owner->GetHwnd()));
}

TEST(ModalWindow, QuitEndsTheLoopWithZeroAndReachesTheOuterLoop)
{
    auto window = MakeWindow();
    const HWND hwnd = window->GetHwnd();
    window->GetUiChannel().Post([] { PostQuitMessage(42); });
    EXPECT_EQ(window->Show(L"Modal", SW_SHOW, true, nullptr, nullptr), 0u);
    EXPECT_FALSE(IsWindow(hwnd));
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 42u);
}

TEST(ModalWindow, ExceptionOfAHandlerIsRaisedAgainAfterTheLoop)
{
    auto owner = MakeWindow();
    auto dialog = MakeWindow<FailingCommandWindow>(owner->GetHwnd());
    const HWND hwnd = dialog->GetHwnd();
    PostMessageW(hwnd, WM_COMMAND, 1, 0);
    EXPECT_THROW(dialog->Show(L"Dialog", SW_SHOW, true, nullptr, nullptr), std::runtime_error);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(IsWindowEnabled(owner->GetHwnd()));
    EXPECT_FALSE(Window::TakePendingException());
}

TEST(ModalWindow, ClosureThatThrowsIsLoggedAndTheLoopGoesOn)
{
    auto window = MakeWindow();
    const auto channel = window->GetUiChannel();
    channel.Post([] { throw std::runtime_error("work of a worker failed"); });
    bool ranAfter = false;
    channel.Post([&ranAfter, &window] {
        ranAfter = true;
        window->End(7);
    });
    EXPECT_EQ(window->Show(L"Modal", SW_SHOW, true, nullptr, nullptr), 7u);
    EXPECT_TRUE(ranAfter);
    EXPECT_FALSE(Window::TakePendingException());
}

TEST(WindowLifetime, ReleasedWindowDestroysItsHwnd)
{
    auto window = MakeWindow();
    const HWND hwnd = window->GetHwnd();
    ASSERT_TRUE(IsWindow(hwnd));
    window.reset();
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WindowLifetime, RadioGroupsAreRecordedPerName)
{
    auto window = MakeWindow();
    const HWND button = MakeEdit(window->GetHwnd());
    const std::wstring group = L"format";
    const std::wstring other = L"other";
    SendMessageW(window->GetHwnd(), WM_SETRADIOGROUP, reinterpret_cast<WPARAM>(&group), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(window->GetHwnd(), WM_GETRADIOGROUP, reinterpret_cast<WPARAM>(&group), 0)),
              button);
    EXPECT_EQ(SendMessageW(window->GetHwnd(), WM_GETRADIOGROUP, reinterpret_cast<WPARAM>(&other), 0), 0);
}

TEST(WindowLifetime, SizeGripAnswersTheHitTestOfTheCorner)
{
    auto window = MakeWindow(nullptr, WS_EX_CLIENTEDGE, frameStyle);
    MoveWindow(window->GetHwnd(), 100, 100, 300, 200, FALSE);
    window->Show(L"Grip", SW_SHOW, false, nullptr, nullptr);
    const UI::Rect bounds = UI::GetWindowRectangle(window->GetHwnd());
    const int right = bounds.x + bounds.width;
    const int bottom = bounds.y + bounds.height;
    EXPECT_EQ(SendMessageW(window->GetHwnd(), WM_NCHITTEST, 0, MAKELPARAM(right - 3, bottom - 3)), HTBOTTOMRIGHT);
    EXPECT_NE(SendMessageW(window->GetHwnd(), WM_NCHITTEST, 0, MAKELPARAM(bounds.x + 150, bounds.y + 100)), HTBOTTOMRIGHT);
    Screenshot::SaveWindow(window->GetHwnd(), L"grip");
    window->End(0);
}

TEST(Placement, NineLocationsInTheReference)
{
    const UI::Rect reference{100, 50, 400, 300};
    struct Case
    {
        Window::Location location;
        POINT expected;
    };
    const Case cases[] = {
        {Window::TopLeft, {120, 70}},      {Window::Top, {250, 70}},     {Window::TopRight, {380, 70}},
        {Window::Right, {380, 170}},       {Window::BottomRight, {380, 270}}, {Window::Bottom, {250, 270}},
        {Window::BottomLeft, {120, 270}},  {Window::Left, {120, 170}},   {Window::Center, {250, 170}},
        {static_cast<Window::Location>(9), {120, 70}},
    };
    for (const Case& c : cases)
    {
        const POINT point = Window::GetPointForLocation(c.location, reference, 100, 60, 20);
        EXPECT_EQ(point.x, c.expected.x) << "location " << c.location;
        EXPECT_EQ(point.y, c.expected.y) << "location " << c.location;
    }
    const POINT odd = Window::GetPointForLocation(Window::Center, {0, 0, 101, 51}, 100, 50, 0);
    EXPECT_EQ(odd.x, 0) << "the centre is found by truncating division";
}

TEST(Placement, ShownAtLocationOfARealOwner)
{
    auto owner = MakeWindow();
    MoveWindow(owner->GetHwnd(), 200, 150, 600, 400, FALSE);
    owner->Show(L"Owner", SW_SHOW, false, nullptr, nullptr);
    const UI::Rect ownerRect = UI::GetWindowRectangle(owner->GetHwnd());

    for (const Window::Location location : {Window::Center, Window::BottomRight, Window::Left})
    {
        auto placed = MakeWindow(owner->GetHwnd());
        placed->ShowAtLocation(L"Placed", 200, 100, false, nullptr, nullptr, location);
        const POINT expected = Window::GetPointForLocation(location, ownerRect, 200, 100, UI::LargeMargin());
        const POINT origin = ClientOrigin(placed->GetHwnd());
        EXPECT_EQ(origin.x, expected.x) << "location " << location;
        EXPECT_EQ(origin.y, expected.y) << "location " << location;
        const UI::Rect client = UI::GetClientRectangle(placed->GetHwnd());
        EXPECT_EQ(client.width, 200);
        EXPECT_EQ(client.height, 100);
        placed->End(0);
    }
    owner->End(0);
}

TEST(Placement, CaptionStaysBelowTheTopOfTheReference)
{
    auto owner = MakeWindow();
    MoveWindow(owner->GetHwnd(), 200, 150, 600, 400, FALSE);
    auto placed = MakeWindow(owner->GetHwnd(), 0, WS_OVERLAPPED);
    placed->ShowAtLocation(L"Placed", 200, 100, false, nullptr, nullptr, Window::TopLeft);
    EXPECT_GE(UI::GetWindowRectangle(placed->GetHwnd()).y, UI::GetWindowRectangle(owner->GetHwnd()).y);
    placed->End(0);
}

TEST(LaidOutWindow, ChildWindowsGetTheRectanglesOfTheLayout)
{
    auto window = MakeWindow<AutoLayoutWindow>();
    const HWND hwnd = window->GetHwnd();
    auto first = std::make_shared<UiTest::ChildWindowLeaf>(hwnd, 20);
    auto second = std::make_shared<UiTest::ChildWindowLeaf>(hwnd, 30);
    auto hidden = std::make_shared<UiTest::ChildWindowLeaf>(hwnd, 40);
    hidden->visible = false;
    window->SetRootControl(std::make_shared<UI::BoxContainer>("rootContainer", true, 0, 5,
                                                              UI::ControlList{first, second, hidden}));
    window->ShowAtLocation(L"Layout", 300, 200, false, nullptr, nullptr, Window::Center);

    const int m = UI::Margin();
    EXPECT_EQ(ChildRect(first->hwnd), (UI::Rect{m, m, 300 - 2 * m, 20}));
    EXPECT_EQ(ChildRect(second->hwnd), (UI::Rect{m, m + 20 + 5, 300 - 2 * m, 30}));
    EXPECT_TRUE(IsWindowVisible(first->hwnd));
    EXPECT_FALSE(IsWindowVisible(hidden->hwnd));
    Screenshot::SaveWindow(hwnd, L"layout");

    const SIZE content = window->LayoutWithMargin(300, 0, 12, nullptr);
    EXPECT_EQ(content.cx, 300);
    EXPECT_EQ(content.cy, 12 + 20 + 5 + 30 + 12) << "height 0 sizes the window to its content";
    EXPECT_EQ(ChildRect(first->hwnd).x, 12);
    window->End(0);
}

TEST(LaidOutWindow, WithoutRootTheSizeIsKept)
{
    auto window = MakeWindow<AutoLayoutWindow>();
    const SIZE size = window->Layout(123, 45, nullptr);
    EXPECT_EQ(size.cx, 123);
    EXPECT_EQ(size.cy, 45);
}

TEST(ModelessWindow, HookGivesTabNavigationWhileAnyModelessWindowIsOpen)
{
    auto first = MakeWindow();
    auto second = MakeWindow();
    const HWND a = MakeEdit(second->GetHwnd());
    const HWND b = MakeEdit(second->GetHwnd());
    first->Show(L"First", SW_SHOW, false, nullptr, nullptr);
    second->Show(L"Second", SW_SHOW, false, a, nullptr);
    EXPECT_TRUE(Window::HasModelessHook());

    first->End(0);
    EXPECT_TRUE(Window::HasModelessHook()) << "the second window still needs it";
    SetFocus(a);
    PressTab(a);
    EXPECT_TRUE(UiTest::PumpUntil([&] { return GetFocus() == b; }, std::chrono::seconds(2)));

    second->End(0);
    EXPECT_FALSE(Window::HasModelessHook());
}

TEST(ModelessWindow, KeysInAComboBoxEditReachTheWindowButNotDuringAMenu)
{
    auto window = MakeWindow();
    const HWND hwnd = window->GetHwnd();
    const HWND combo = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, 10, 40, 100,
                                       100, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    const HWND after = MakeEdit(hwnd);
    const HWND comboEdit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(comboEdit);
    window->Show(L"Combo", SW_SHOW, false, comboEdit, nullptr);

    SendMessageW(hwnd, WM_ENTERMENULOOP, FALSE, 0);
    SetFocus(comboEdit);
    PressTab(comboEdit);
    UiTest::PumpWaiting();
    EXPECT_EQ(GetFocus(), comboEdit) << "keys pass untouched while the menu is open";

    SendMessageW(hwnd, WM_EXITMENULOOP, FALSE, 0);
    PressTab(comboEdit);
    EXPECT_TRUE(UiTest::PumpUntil([&] { return GetFocus() == after; }, std::chrono::seconds(2)));
    window->End(0);
}

TEST(ModelessWindow, DestroyedWithoutEndLeavesNoHookBehind)
{
    auto window = MakeWindow();
    window->Show(L"Modeless", SW_SHOW, false, nullptr, nullptr);
    ASSERT_TRUE(Window::HasModelessHook());
    DestroyWindow(window->GetHwnd());
    EXPECT_FALSE(Window::HasModelessHook());
}

TEST(WindowPosition, SavedFromAWindowAndAppliedAgainGivesTheSamePlacement)
{
    auto original = MakeWindow();
    EXPECT_EQ(SetWindowPosition(original->GetHwnd(), 150, 120, 420, 260, SW_SHOWNORMAL, 0, 0, 0, 0, 0),
              static_cast<unsigned>(SW_SHOWNORMAL));
    struct Stored
    {
        int x, y, width, height;
        unsigned flags, showCmd;
        int minX, minY, maxX, maxY;
    } stored{};
    GetWindowPosition(original->GetHwnd(), stored);
    EXPECT_EQ(stored.x, 150);
    EXPECT_EQ(stored.y, 120);
    EXPECT_EQ(stored.width, 420);
    EXPECT_EQ(stored.height, 260);

    auto restored = MakeWindow();
    const unsigned show = SetWindowPosition(restored->GetHwnd(), stored);
    EXPECT_EQ(show, stored.showCmd);
    EXPECT_EQ(UI::GetWindowRectangle(restored->GetHwnd()), UI::GetWindowRectangle(original->GetHwnd()));
}

TEST(WindowPosition, IncompletePlacementIsNotApplied)
{
    auto window = MakeWindow();
    MoveWindow(window->GetHwnd(), 10, 20, 300, 200, FALSE);
    const UI::Rect before = UI::GetWindowRectangle(window->GetHwnd());
    EXPECT_EQ(SetWindowPosition(window->GetHwnd(), 100, WindowPositionUnset, 400, 300, 1, 0, 0, 0, 0, 0), 5u);
    EXPECT_EQ(SetWindowPosition(window->GetHwnd(), 100, 100, WindowPositionUnset, 300, 1, 0, 0, 0, 0, 0), 5u);
    EXPECT_EQ(SetWindowPosition(window->GetHwnd(), 100, 100, 0, 300, 1, 0, 0, 0, 0, 0), 5u);
    EXPECT_EQ(SetWindowPosition(window->GetHwnd(), 100, 100, 400, -5, 1, 0, 0, 0, 0, 0), 5u);
    EXPECT_EQ(UI::GetWindowRectangle(window->GetHwnd()), before);
}

TEST(WindowPosition, MinimisedComesBackShownAndMaximisedStays)
{
    auto window = MakeWindow();
    EXPECT_EQ(SetWindowPosition(window->GetHwnd(), 100, 100, 400, 300, SW_SHOWMINIMIZED, 0, 0, 0, 0, 0), 5u);
    EXPECT_EQ(SetWindowPosition(window->GetHwnd(), 100, 100, 400, 300, SW_SHOWMAXIMIZED, 0, 0, 0, 0, 0), 3u);
}

TEST(WindowText, DisplayTextDropsMnemonicsAndLinkMarkup)
{
    auto window = MakeWindow();
    const HWND hwnd = window->GetHwnd();
    const HWND label = CreateWindowExW(0, L"Static", L"&Save && go", WS_CHILD, 0, 0, 10, 10, hwnd, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetDisplayText(label), L"Save  go");
    const HWND plain =
        CreateWindowExW(0, L"Static", L"R&D", WS_CHILD | SS_NOPREFIX, 0, 0, 10, 10, hwnd, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetDisplayText(plain), L"R&D");
    EXPECT_EQ(UI::GetClassNameString(plain), L"Static");

    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LINK_CLASS};
    InitCommonControlsEx(&classes);
    const HWND link = CreateWindowExW(0, L"SysLink", L"See <A HREF=\"https://a.example/x\">the page</A> or <A HREF=\"b\">more</A>.",
                                      WS_CHILD, 0, 0, 10, 10, hwnd, nullptr, nullptr, nullptr);
    if (!link)
        GTEST_SKIP() << "no link control here";
    EXPECT_EQ(GetDisplayText(link), L"See the page or more.");
    SetWindowTextW(link, L"<a href=\"x\">lower</a> case");
    EXPECT_EQ(GetDisplayText(link), L"lower case");
}
