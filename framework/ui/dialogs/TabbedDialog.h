#pragma once
// A dialog with a column of tab buttons on the left, one page per tab on the right and a "Close"
// button under the pages. Each page comes from a UI::Tab that builds its controls on the dialog's
// window and handles their commands.

#include "framework/ui/Window.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/Label.h"

#include <memory>
#include <string>
#include <vector>

namespace UI
{
class ITabbedDialog
{
public:
    virtual ~ITabbedDialog() = default;
    virtual bool IsOpen() = 0;
    // Brings the dialog to the foreground.
    virtual void Activate() = 0;
    virtual void Show(const std::wstring& title, int initialTab) = 0;
    virtual void SelectTab(int index) = 0;
};

// One page. The dialog sets parentWindow before it asks for the page.
class Tab
{
public:
    virtual ~Tab() = default;
    // The text of the tab button.
    virtual std::wstring GetTitle() = 0;
    // A WM_COMMAND of one of the page's controls; true asks the dialog to lay out again.
    virtual bool OnCommand(HWND control, int code) = 0;
    // The page's control tree, created on parentWindow.
    virtual std::shared_ptr<IControl> CreatePage() = 0;

    // A label that stands out to the left of the page's other controls.
    std::shared_ptr<Label> CreateLabel(const std::wstring& text, bool mnemonic);
    // The same in the large font, without access keys.
    std::shared_ptr<Label> CreateHeading(const std::wstring& text);

    HWND parentWindow = nullptr;
};

// The creator builds the dialog, makes its window (Create with the owner: the dialog paints its
// own background, so COLOR_WINDOW serves the labels on its pages) and calls Show. A modal dialog
// returns from Show once it has been closed.
class TabbedDialog : public ITabbedDialog, public AutoLayoutWindow
{
public:
    TabbedDialog(std::vector<std::unique_ptr<Tab>> tabs, int contentWidth, int contentHeight, bool modal);
    ~TabbedDialog() override;

    bool IsOpen() override { return open; }
    void Activate() override;
    void Show(const std::wstring& title, int initialTab) override;
    void SelectTab(int index) override;

    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override;
    LRESULT OnNotify(NMHDR* header) override;
    LRESULT OnClose(bool& handled) override;
    LRESULT OnPaint(bool& handled) override;

    bool open = false;
    std::vector<std::unique_ptr<Tab>> tabs;
    std::shared_ptr<Button> closeButton;
    int32_t currentTab = 0;
    std::vector<std::shared_ptr<IControl>> pages;
    std::vector<std::shared_ptr<Button>> tabButtons;
    int32_t contentWidth;
    int32_t contentHeight;
    bool modal;

private:
    HWND CloseButtonWindow() const { return closeButton ? closeButton->hwnd : nullptr; }
    int TabWidth() const;
};
} // namespace UI
