// The command vocabulary of the main window: the menu bar with its texts, ids and pictures, the
// accelerator table, the command table, and the toolbar in both themes.
#include "batch_import/CommandTable.h"
#include "batch_import/MainMenu.h"
#include "batch_import/Toolbar.h"
#include "framework/ui/ScaledBitmap.h"
#include "framework/ui/controls/Tooltip.h"
#include "framework/ui/Window.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct Item
{
    UINT id; // 0: separator; -1: popup
    std::wstring text;

    friend bool operator==(const Item&, const Item&) = default;
    friend void PrintTo(const Item& item, std::ostream* out)
    {
        *out << item.id << " " << testing::PrintToString(std::string(item.text.begin(), item.text.end()));
    }
};

std::wstring ItemText(HMENU menu, int position)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

std::vector<Item> Items(HMENU menu)
{
    std::vector<Item> items;
    for (int position = 0; position < GetMenuItemCount(menu); ++position)
    {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
        if (info.fType & MFT_SEPARATOR)
            items.push_back({0, L""});
        else if (info.hSubMenu)
            items.push_back({static_cast<UINT>(-1), ItemText(menu, position)});
        else
            items.push_back({info.wID, ItemText(menu, position)});
    }
    return items;
}

HBITMAP ItemBitmap(HMENU menu, UINT command)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    GetMenuItemInfoW(menu, command, FALSE, &info);
    return info.hbmpItem;
}

class CommandVocabulary : public DialogTest::Fixture
{
};
} // namespace

TEST_F(CommandVocabulary, MenuHasItsFivePopupsWithTheirTextsIdsAndSeparators)
{
    const MenuRecord menu = LoadMainMenu(GetCommandTable());
    ASSERT_NE(menu.menu, nullptr);
    const UINT popup = static_cast<UINT>(-1);
    EXPECT_EQ((std::vector<Item>{{popup, L"&File"}, {popup, L"&Edit"}, {popup, L"&View"}, {popup, L"Setti&ngs"},
                                 {popup, L"&Help"}}),
              Items(menu.menu));
    EXPECT_EQ((std::vector<Item>{{40036, L"Start &Import\tAlt+I"}, {40037, L"Stop Impo&rt\tCtrl+Break"}, {0, L""},
                                 {40005, L"&Exit\tAlt+F4"}}),
              Items(GetSubMenu(menu.menu, 0)));
    EXPECT_EQ((std::vector<Item>{{40006, L"Add &Files...\tCtrl+Plus"},
                                 {40007, L"Add F&olders...\tCtrl+Shift+Plus"},
                                 {40008, L"&Remove Selected Items\tDel"},
                                 {40009, L"Select &All\tCtrl+A"},
                                 {40010, L"Move &Up\tCtrl+Up"},
                                 {40011, L"Move &Down\tCtrl+Down"},
                                 {0, L""},
                                 {40038, L"&Clear File List"}}),
              Items(GetSubMenu(menu.menu, 1)));
    const HMENU view = GetSubMenu(menu.menu, 2);
    EXPECT_EQ((std::vector<Item>{{40035, L"&Icons"}, {40034, L"&List"}, {0, L""}, {popup, L"&Theme"}}), Items(view));
    EXPECT_EQ((std::vector<Item>{{40030, L"&Light"}, {40031, L"&Dark"}, {40032, L"Follow &Office Theme"}}),
              Items(GetSubMenu(view, 3)));
    EXPECT_EQ((std::vector<Item>{{40013, L"Insert as file &attachment\tAlt+A"},
                                 {40014, L"Insert file &content (text, printout, image)\tAlt+C"},
                                 {0, L""},
                                 {40016, L"Insert original file path as plain &text\tCtrl+T"},
                                 {40017, L"Insert original file path as hyper&link\tCtrl+L"},
                                 {0, L""},
                                 {40018, L"Insert all files into a &single page\tAlt+S"},
                                 {40019, L"Insert each file into a separate &page\tAlt+P"},
                                 {40020, L"Insert each print&out page into a separate page\tAlt+O"},
                                 {0, L""},
                                 {40021, L"Pic&k a location to import...\tAlt+K"},
                                 {0, L""},
                                 {40039, L"P&rintout options...\tAlt+R"}}),
              Items(GetSubMenu(menu.menu, 3)));
    EXPECT_EQ((std::vector<Item>{{40024, L"View &Help...\tF1"},
                                 {40025, L"Send &Feedback..."},
                                 {0, L""},
                                 {40023, L"Check for &Updates..."}}),
              Items(GetSubMenu(menu.menu, 4)));
}

TEST_F(CommandVocabulary, CommandTableNamesEveryMenuCommandButThePrintoutOptionsInItsPopup)
{
    const MenuRecord menu = LoadMainMenu(GetCommandTable());
    size_t rows = 0;
    for (int popup = 0; popup < 5; ++popup)
    {
        std::vector<HMENU> menus{GetSubMenu(menu.menu, popup)};
        for (size_t m = 0; m < menus.size(); ++m)
        {
            const std::vector<Item> items = Items(menus[m]);
            for (size_t position = 0; position < items.size(); ++position)
            {
                const Item& item = items[position];
                if (item.id == static_cast<UINT>(-1))
                    menus.push_back(GetSubMenu(menus[m], static_cast<int>(position)));
                if (item.id == 0 || item.id == static_cast<UINT>(-1))
                    continue;
                SCOPED_TRACE(item.id);
                const auto row = GetCommandTable().find(item.id);
                if (item.id == 40039)
                {
                    EXPECT_EQ(row, GetCommandTable().end());
                    continue;
                }
                ASSERT_NE(row, GetCommandTable().end());
                EXPECT_EQ(static_cast<unsigned>(popup), row->second.popup);
                EXPECT_EQ(101u, row->second.menu);
                ++rows;
            }
        }
    }
    EXPECT_EQ(GetCommandTable().size(), rows);
}

TEST_F(CommandVocabulary, MenuShowsTheLightPicturesOfItsCommandsOnceLoaded)
{
    const MenuRecord menu = LoadMainMenu(GetCommandTable());
    const std::map<UINT, int> pictures{{40036, 390}, {40006, 354}, {40007, 355},
                                       {40008, 357}, {40010, 386}, {40011, 387}};
    for (const auto& [command, row] : GetCommandTable())
    {
        SCOPED_TRACE(command);
        const HBITMAP bitmap = ItemBitmap(menu.menu, command);
        if (const auto picture = pictures.find(command); picture != pictures.end())
        {
            EXPECT_EQ(static_cast<unsigned>(picture->second), row.image);
            EXPECT_EQ(GetMenuBitmap(row.image), bitmap) << "one bitmap per picture, made once";
        }
        else
            EXPECT_EQ(nullptr, bitmap);
    }
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE;
    GetMenuInfo(GetSubMenu(menu.menu, 1), &info);
    EXPECT_TRUE(info.dwStyle & MNS_CHECKORBMP);
    EXPECT_FALSE(info.dwStyle & MNS_NOCHECK);
}

TEST_F(CommandVocabulary, AcceleratorsAreTheTwelveShortcutsWithTheKeypadPlus)
{
    const Owners::AcceleratorTable table(LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(103)));
    ASSERT_TRUE(table);
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableW(table.get(), nullptr, 0)));
    CopyAcceleratorTableW(table.get(), entries.data(), static_cast<int>(entries.size()));
    struct Expected
    {
        BYTE modifiers;
        WORD key;
        WORD command;
    };
    const Expected expected[] = {
        {FALT, VK_F4, 40005},    {FCONTROL, VK_ADD, 40006}, {FCONTROL | FSHIFT, VK_ADD, 40007},
        {0, VK_DELETE, 40008},   {FCONTROL, 'A', 40009},    {FCONTROL, VK_UP, 40010},
        {FCONTROL, VK_DOWN, 40011}, {0, VK_F1, 40024},      {FCONTROL, VK_CANCEL, 40037},
        {FCONTROL, 'T', 40016},  {FCONTROL, 'L', 40017},    {FALT, 'R', 40039},
    };
    ASSERT_EQ(std::size(expected), entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(FVIRTKEY | FNOINVERT | expected[i].modifiers, entries[i].fVirt & 0x7F);
        EXPECT_EQ(expected[i].key, entries[i].key);
        EXPECT_EQ(expected[i].command, entries[i].cmd);
        EXPECT_NE(VK_OEM_PLUS, entries[i].key) << "the main keyboard's plus adds nothing";
    }
}

TEST_F(CommandVocabulary, MenuItemStatesChangeTheirItemWhereverItSits)
{
    const MenuRecord menu = LoadMainMenu(GetCommandTable());
    SetMenuItemChecked(menu, 40031, true, true);
    SetMenuItemEnabled(menu, 40031, false);
    const UINT state = GetMenuState(menu.menu, 40031, MF_BYCOMMAND);
    EXPECT_TRUE(state & MF_CHECKED) << "the check stays when the item is disabled";
    EXPECT_TRUE(state & MF_GRAYED);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu.menu, 40031, FALSE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    SetMenuItemEnabled(menu, 40031, true);
    EXPECT_EQ(MF_CHECKED, GetMenuState(menu.menu, 40031, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED));
}

class Toolbar : public DialogTest::Themed
{
};

TEST_P(Toolbar, HoldsItsButtonsInOrderWithThePicturesOfTheTheme)
{
    auto window = std::make_shared<AutoLayoutWindow>();
    window->Create(nullptr, COLOR_BTNFACE, 0, WS_OVERLAPPEDWINDOW);
    const int offset = GetParam() ? DarkImageOffset : 0;
    ToolbarButtons buttons;
    const auto toolbar = BuildToolbar(window->GetHwnd(), offset, buttons);
    ASSERT_EQ(8u, toolbar->Children().size());
    const std::vector<std::shared_ptr<UI::Button>> order{buttons.addFiles, buttons.addFolders, buttons.remove,
                                                         buttons.moveUp,   buttons.moveDown,   nullptr,
                                                         buttons.importFormat, buttons.start};
    const std::vector<int> ids{40006, 40007, 40008, 40010, 40011, 0, 40012, 40036};
    for (size_t i = 0; i < order.size(); ++i)
    {
        SCOPED_TRACE(i);
        if (!order[i])
        {
            EXPECT_TRUE(std::dynamic_pointer_cast<UI::HorizontalSpacer>(toolbar->Children()[i]));
            EXPECT_EQ(1.0f, toolbar->stretch.at(i));
            continue;
        }
        EXPECT_EQ(order[i], toolbar->Children()[i]);
        EXPECT_EQ(ids[i], GetDlgCtrlID(order[i]->GetHwnd()));
        ASSERT_TRUE(order[i]->tooltip);
        EXPECT_EQ(800, SendMessageW(order[i]->tooltip->GetHwnd(), TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    }
    EXPECT_EQ(L"Add Files", buttons.addFiles->tooltip->text);
    EXPECT_EQ(L"Start Import", buttons.start->tooltip->text);
    EXPECT_EQ(58, buttons.start->width) << "43.5 pt at 96 dpi";

    if (GetParam())
    {
        // Dark buttons draw their pictures themselves: the pixels are those of the dark pictures.
        const std::pair<std::shared_ptr<UI::Button>, int> pictures[] = {
            {buttons.addFiles, 1354}, {buttons.addFolders, 1355}, {buttons.remove, 1357},
            {buttons.importFormat, 1359}, {buttons.start, 1392}};
        for (const auto& [button, id] : pictures)
        {
            SCOPED_TRACE(id);
            ASSERT_TRUE(button->image);
            const auto dark = LoadFileResourceBitmap(id);
            const auto light = LoadFileResourceBitmap(id - 1000);
            ASSERT_TRUE(dark && light);
            int sameAsDark = 0;
            int sameAsLight = 0;
            for (UINT y = 0; y < dark->GetHeight(); ++y)
                for (UINT x = 0; x < dark->GetWidth(); ++x)
                {
                    Gdiplus::Color shown, d, l;
                    button->image->GetPixel(static_cast<INT>(x), static_cast<INT>(y), &shown);
                    dark->GetPixel(static_cast<INT>(x), static_cast<INT>(y), &d);
                    light->GetPixel(static_cast<INT>(x), static_cast<INT>(y), &l);
                    sameAsDark += shown.GetValue() == d.GetValue();
                    sameAsLight += shown.GetValue() == l.GetValue();
                }
            EXPECT_GT(sameAsDark, sameAsLight);
        }
    }
    DestroyWindow(window->GetHwnd());
}

INSTANTIATE_TEST_SUITE_P(Themes, Toolbar, testing::Bool(), DialogTest::ThemeTestName);
