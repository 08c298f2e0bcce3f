#include "framework/ui/dialogs/TabbedDialog.h"

#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"
#include "framework/ui/controls/PaintBuffer.h"
#include "framework/ui/controls/Tooltip.h"

#include <algorithm>

namespace UI
{
namespace
{
int Pt(float points) { return PointsToPixels(points, GetDpiScaleX()); }
} // namespace

std::shared_ptr<Label> Tab::CreateLabel(const std::wstring& text, bool mnemonic)
{
    auto label = std::make_shared<Label>(parentWindow, text, mnemonic, Label::Left, FontNormal, false);
    label->margin.left = -Pt(11.25f);
    return label;
}

std::shared_ptr<Label> Tab::CreateHeading(const std::wstring& text)
{
    auto label = std::make_shared<Label>(parentWindow, text, false, Label::Left, FontLarge, false);
    label->margin.left = -Pt(11.25f);
    return label;
}

TabbedDialog::TabbedDialog(std::vector<std::unique_ptr<Tab>> tabs, int contentWidth, int contentHeight, bool modal)
    : tabs(std::move(tabs)), contentWidth(contentWidth), contentHeight(contentHeight), modal(modal)
{
}

TabbedDialog::~TabbedDialog()
{
    // The controls go while their parent window still exists, before the tabs that made them.
    root_.reset();
    tabButtons.clear();
    pages.clear();
    closeButton.reset();
    tabs.clear();
}

void TabbedDialog::Activate() { SetForegroundWindow(hwnd_); }

void TabbedDialog::Show(const std::wstring& title, int initialTab)
{
    for (const std::unique_ptr<Tab>& tab : tabs)
    {
        tab->parentWindow = hwnd_;
        std::shared_ptr<IControl> page = tab->CreatePage();
        page->padding = {LargeMargin() + Margin(), 0, LargeMargin(), 0};
        pages.push_back(std::move(page));
        const std::wstring title = tab->GetTitle();
        tabButtons.push_back(
            std::make_shared<Button>(hwnd_, 0, Button::PushLikeRadio, 0, title.c_str(), false, 2, true, false));
    }
    auto buttonsContainer = std::make_shared<BoxContainer>("buttonsContainer", true, BoxContainer::Start, Gap(),
                                                           ControlList(tabButtons.begin(), tabButtons.end()));
    auto pageArea = std::make_shared<OverlappingContainer>(0, 0, ControlList(pages.begin(), pages.end()));
    closeButton = std::make_shared<Button>(hwnd_, L"Close");
    auto mainArea = std::make_shared<BoxContainer>("mainArea", true, BoxContainer::Start, Gap(),
                                                   ControlList{pageArea, closeButton});
    SetRootControl(std::make_shared<BoxContainer>("rootContainer", false, BoxContainer::Start, LargeMargin(),
                                                  ControlList{buttonsContainer, mainArea}));

    const SIZE size = LayoutWithMargin(contentWidth, contentHeight, Pt(11.25f), CloseButtonWindow());
    int tabWidth = 0;
    for (const auto& button : tabButtons)
        tabWidth = std::max(tabWidth, button->GetDesiredSize().width);
    for (const auto& button : tabButtons)
    {
        button->width = tabWidth;
        button->height = ButtonHeight();
    }
    closeButton->margin = {contentWidth - Pt(82.5f) - tabWidth, -Pt(15.0f), 0, 0};
    SelectTab(initialTab);
    // Open before a modal loop starts: closing it is what clears the flag.
    open = true;
    ShowAtLocation(title, size.cx, size.cy, modal, CloseButtonWindow(), nullptr, Center);
}

void TabbedDialog::SelectTab(int index)
{
    for (size_t i = 0; i < tabButtons.size(); ++i)
    {
        tabButtons[i]->SetChecked(static_cast<int>(i) == index);
        pages[i]->visible = static_cast<int>(i) == index;
    }
    currentTab = index;
    LayoutToClient(CloseButtonWindow());
}

int TabbedDialog::TabWidth() const { return tabButtons.empty() ? 0 : tabButtons.front()->width; }

LRESULT TabbedDialog::OnCommand(int id, HWND control, int code, bool& handled)
{
    handled = true;
    if (code == BN_SETFOCUS || code == BN_KILLFOCUS)
    {
        const NMHDR header = NotificationFromCommand(MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
        if (HandleTooltipNotification(&header))
            return 1;
    }
    for (size_t i = 0; i < tabButtons.size(); ++i)
        if (IsControlWindow(tabButtons[i], control))
        {
            SelectTab(static_cast<int>(i));
            LayoutToClient(CloseButtonWindow());
            return 0;
        }
    if (id != IDCANCEL && control != CloseButtonWindow())
    {
        if (currentTab >= 0 && static_cast<size_t>(currentTab) < tabs.size() &&
            tabs[static_cast<size_t>(currentTab)]->OnCommand(control, code))
            LayoutToClient(CloseButtonWindow());
        return 0;
    }
    OnClose(handled);
    return 0;
}

LRESULT TabbedDialog::OnNotify(NMHDR* header)
{
    if (HandleTooltipNotification(header))
        return 0;
    return AutoLayoutWindow::OnNotify(header);
}

LRESULT TabbedDialog::OnClose(bool& handled)
{
    End(2);
    open = false;
    handled = true;
    return 0;
}

LRESULT TabbedDialog::OnPaint(bool& handled)
{
    handled = true;
    PaintBuffer buffer(hwnd_, offscreen_);
    if (!buffer.graphics)
        return 0;
    buffer.graphics->Clear(Gdiplus::Color(GetThemeArgb(COLOR_BTNFACE)));
    const Gdiplus::SolidBrush pageBrush{Gdiplus::Color(GetThemeArgb(COLOR_WINDOW))};
    buffer.graphics->FillRectangle(&pageBrush, TabWidth() + Margin() + LargeMargin(), Pt(1.5f), buffer.width,
                                   buffer.height);
    return 0;
}
} // namespace UI
