#include "batch_import/Toolbar.h"

#include "batch_import/CommandTable.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/controls/Tooltip.h"

#include <cmath>

namespace
{
void SetTip(UI::Button& button, const wchar_t* text)
{
    button.SetTooltip(text, 300);
    SendMessageW(button.tooltip->GetHwnd(), TTM_SETDELAYTIME, TTDT_INITIAL, ToolbarTooltipDelay);
}

std::shared_ptr<UI::Button> ImageButton(HWND parent, unsigned id, int image, const wchar_t* tip)
{
    auto button = std::make_shared<UI::Button>(parent, static_cast<int>(id), UI::Button::Push, image, nullptr, false,
                                               2, true, false);
    SetTip(*button, tip);
    return button;
}

// The glyph font's "5" and "6" are its up and down triangles.
std::shared_ptr<UI::Button> GlyphButton(HWND parent, unsigned id, const wchar_t* glyph, const wchar_t* tip)
{
    auto button = std::make_shared<UI::Button>(parent, static_cast<int>(id), UI::Button::Push, 0, glyph, true, 2, true,
                                               false);
    button->width = UI::ButtonHeight();
    button->height = UI::ButtonHeight();
    SetTip(*button, tip);
    return button;
}
} // namespace

std::shared_ptr<UI::BoxContainer> BuildToolbar(HWND parent, int imageOffset, ToolbarButtons& buttons)
{
    buttons.addFiles = ImageButton(parent, Command::AddFiles, Image::AddFiles + imageOffset, L"Add Files");
    buttons.addFolders = ImageButton(parent, Command::AddFolders, Image::AddFolders + imageOffset, L"Add Folders");
    buttons.remove = ImageButton(parent, Command::RemoveSelected, Image::Remove + imageOffset, L"Remove Selected Items");
    buttons.moveUp = GlyphButton(parent, Command::MoveUp, L"5", L"Move Up");
    buttons.moveDown = GlyphButton(parent, Command::MoveDown, L"6", L"Move Down");
    buttons.importFormat =
        ImageButton(parent, Command::ImportSettings, Image::ImportFormat + imageOffset, L"Import Format");
    buttons.start = ImageButton(parent, Command::StartImport, Image::StartImportToolbar + imageOffset, L"Start Import");
    buttons.start->width = static_cast<int>(std::trunc(GetDpiScaleX() * 43.5f + 0.5f));
    buttons.start->height = UI::ButtonHeight();

    auto toolbar = std::make_shared<UI::BoxContainer>(
        "toolbar", false, UI::BoxContainer::Centre, 0,
        UI::ControlList{buttons.addFiles, buttons.addFolders, buttons.remove, buttons.moveUp, buttons.moveDown,
                        std::make_shared<UI::HorizontalSpacer>(), buttons.importFormat, buttons.start});
    toolbar->stretch[5] = 1.0f;
    return toolbar;
}
