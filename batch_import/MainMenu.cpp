#include "batch_import/MainMenu.h"

#include "framework/com/ComError.h"
#include "framework/ui/ScaledBitmap.h"

#include <map>
#include <memory>

namespace
{
// Menus show their pictures for as long as the program runs, in every window it makes.
std::map<unsigned, Owners::Bitmap>& BitmapCache()
{
    static std::map<unsigned, Owners::Bitmap> cache;
    return cache;
}

void SetItemInfo(const MenuRecord& menu, unsigned command, const MENUITEMINFOW& info)
{
    UI::SetMenuCommandInfo(menu.places, info, command, {static_cast<int>(menu.id), menu.menu});
}
} // namespace

HBITMAP GetMenuBitmap(unsigned imageId)
{
    auto& cache = BitmapCache();
    if (auto found = cache.find(imageId); found != cache.end())
        return found->second.get();
    const std::unique_ptr<Gdiplus::Bitmap> image = LoadFileResourceBitmap(static_cast<int>(imageId));
    if (!image)
        ThrowComError(E_FAIL, L"The menu picture " + std::to_wstring(imageId) + L" cannot be read");
    Owners::Bitmap bitmap(CreateScaledHBitmap(*image, 0, false));
    return cache.emplace(imageId, std::move(bitmap)).first->second.get();
}

MenuRecord LoadMainMenu(const CommandTable& table)
{
    MenuRecord record;
    record.id = MainMenuId;
    record.table = &table;
    record.places = GetMenuCommandPlaces(table);
    record.owned.reset(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(MainMenuId)));
    record.menu = record.owned.get();
    if (!record.menu)
        return record;
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_STYLE | MIM_APPLYTOSUBMENUS;
    GetMenuInfo(record.menu, &info);
    info.dwStyle = (info.dwStyle & ~MNS_NOCHECK) | MNS_CHECKORBMP;
    info.fMask = MIM_STYLE | MIM_APPLYTOSUBMENUS;
    SetMenuInfo(record.menu, &info);

    for (const auto& [command, row] : table)
    {
        if (row.menu != MainMenuId || row.image == 0)
            continue;
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP;
        item.hbmpItem = GetMenuBitmap(row.image);
        SetItemInfo(record, command, item);
    }
    return record;
}

void MenuRecord::AttachTo(HWND window)
{
    if (SetMenu(window, menu))
        owned.release();
}

void SetMenuItemText(const MenuRecord& menu, unsigned command, const std::wstring& text)
{
    if (!menu.menu)
        return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    std::wstring copy = text;
    item.dwTypeData = copy.data();
    SetItemInfo(menu, command, item);
}

void SetMenuItemEnabled(const MenuRecord& menu, unsigned command, bool enabled)
{
    if (!menu.menu)
        return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    // The check mark is kept: the state word carries both.
    item.fState = GetMenuState(menu.menu, command, MF_BYCOMMAND) & MFS_CHECKED;
    if (!enabled)
        item.fState |= MFS_DISABLED | MFS_GRAYED;
    SetItemInfo(menu, command, item);
}

void SetMenuItemChecked(const MenuRecord& menu, unsigned command, bool checked, bool radio)
{
    if (!menu.menu)
        return;
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE | (radio ? MIIM_FTYPE : 0);
    item.fType = radio ? MFT_RADIOCHECK : 0;
    const UINT state = GetMenuState(menu.menu, command, MF_BYCOMMAND);
    item.fState = (state == static_cast<UINT>(-1) ? 0 : state & (MFS_DISABLED | MFS_GRAYED)) |
                  (checked ? MFS_CHECKED : 0);
    SetItemInfo(menu, command, item);
}
