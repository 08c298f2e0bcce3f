#include "framework/ui/dialogs/TaskDialog.h"

#include "framework/streams/Base64Stream.h"
#include "framework/streams/MemoryStream.h"
#include "framework/text/Text.h"
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/Image.h"
#include "framework/ui/controls/Label.h"

#include <comdef.h>

#include <algorithm>
#include <memory>

namespace
{
// A right-pointing arrow, 24 x 16 pixels, drawn in front of every command button's text.
constexpr wchar_t arrowGlyph[] =
    L"iVBORw0KGgoAAAANSUhEUgAAABgAAAAQCAYAAAAMJL+VAAAAKUlEQVR42mNgGAX0AMZpZ/6D8KglQ8wSmCJK8cBZMGjjYdTwgUv7uAAA"
    L"3oCF4SdMJqgAAAAASUVORK5CYII=";

constexpr int programIconId = 100;
constexpr int commandIdBase = 100;

std::unique_ptr<Gdiplus::Bitmap> LoadArrowGlyph()
{
    // The owner takes over the new stream's own reference.
    const IStreamPtr stream(new Base64Stream(std::wstring(arrowGlyph)), false);
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(stream.GetInterfacePtr());
    if (bitmap->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return bitmap;
}

class TaskDialogWindow : public AutoLayoutWindow
{
public:
    TaskDialogWindow(HWND parent, const wchar_t* mainInstruction, const wchar_t* content,
                     const std::vector<std::wstring>& buttons, TaskDialogCallback callback);

    void Run(const wchar_t* title);
    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override;

private:
    std::shared_ptr<UI::Image> icon_;
    std::shared_ptr<UI::Label> mainInstruction_;
    std::shared_ptr<UI::Label> content_;
    std::vector<std::shared_ptr<UI::Button>> commandButtons_;
    bool modal_ = true;
    TaskDialogCallback callback_;
    SIZE size_{};
};

TaskDialogWindow::TaskDialogWindow(HWND parent, const wchar_t* mainInstruction, const wchar_t* content,
                                   const std::vector<std::wstring>& buttons, TaskDialogCallback callback)
    : callback_(std::move(callback))
{
    Create(parent, COLOR_WINDOW, WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE, WS_POPUP | WS_BORDER);
    const std::unique_ptr<Gdiplus::Bitmap> arrow = LoadArrowGlyph();

    UI::ControlList buttonControls;
    for (size_t index = 0; index < buttons.size(); ++index)
    {
        const std::wstring text = L"  " + buttons[index];
        auto button = std::make_shared<UI::Button>(hwnd_, commandIdBase + static_cast<int>(index), UI::Button::Push, 0,
                                                   text.c_str(), false, 0, true, false);
        button->SetFont(UI::FontMedium);
        if (arrow)
            button->SetImage(std::nullopt, *arrow, true);
        commandButtons_.push_back(button);
        buttonControls.push_back(std::move(button));
    }
    auto buttonBox = std::make_shared<UI::BoxContainer>("buttons", true, UI::BoxContainer::Start, UI::Gap(),
                                                        std::move(buttonControls));

    mainInstruction_ = std::make_shared<UI::Label>(hwnd_, HasText(mainInstruction) ? mainInstruction : L"", false,
                                                   UI::Label::Left, UI::FontMedium);
    mainInstruction_->visible = HasText(mainInstruction);
    content_ = std::make_shared<UI::Label>(hwnd_, HasText(content) ? content : L"", false, UI::Label::Left,
                                           UI::FontNormal, true);
    content_->visible = HasText(content);

    const int iconSize = UI::PointsToPixels(24.0f, GetDpiScaleX());
    icon_ = std::make_shared<UI::Image>(hwnd_);
    SetWindowLongW(icon_->hwnd, GWL_STYLE,
                   static_cast<LONG>((GetWindowLongW(icon_->hwnd, GWL_STYLE) & ~SS_TYPEMASK) | SS_ICON));
    // Shared: the system keeps the icon, and it must not be destroyed with the control.
    const HANDLE programIcon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(programIconId), IMAGE_ICON,
                                          iconSize, iconSize, LR_SHARED);
    SendMessageW(icon_->hwnd, STM_SETICON, reinterpret_cast<WPARAM>(programIcon), 0);
    icon_->width = iconSize;
    icon_->height = iconSize;

    auto column = std::make_shared<UI::BoxContainer>("column", true, UI::BoxContainer::Start, UI::Margin(),
                                                     UI::ControlList{mainInstruction_, content_, buttonBox});
    SetRootControl(std::make_shared<UI::BoxContainer>("rootContainer", false, UI::BoxContainer::Start, UI::Margin(),
                                                      UI::ControlList{icon_, column}));

    // The widest command decides the width; then every command button is made as wide as the rest.
    LayoutWithMargin(2000, 0, UI::LargeMargin(), nullptr);
    const int iconColumn = iconSize + UI::Margin();
    int width = UI::PointsToPixels(262.5f, GetDpiScaleX());
    for (const auto& button : commandButtons_)
        width = std::max(width, button->GetDesiredSize().width + 2 * UI::LargeMargin() + iconColumn);
    for (const auto& button : commandButtons_)
    {
        button->width = width - 2 * UI::LargeMargin() - iconColumn;
        button->height = 2 * UI::ControlHeight();
    }
    size_ = LayoutWithMargin(width, 0, UI::LargeMargin(), nullptr);
}

void TaskDialogWindow::Run(const wchar_t* title)
{
    const HWND focus = commandButtons_.empty() ? nullptr : commandButtons_.front()->hwnd;
    ShowAtLocation(title ? title : L"", size_.cx, size_.cy, modal_, focus, nullptr, Center);
}

LRESULT TaskDialogWindow::OnCommand(int id, HWND control, int code, bool& handled)
{
    if (code != BN_CLICKED)
        return 0;
    handled = true;
    for (size_t index = 0; index < commandButtons_.size(); ++index)
        if (UI::IsControlWindow(commandButtons_[index], control))
        {
            if (callback_(hwnd_, static_cast<unsigned>(index)) == 0)
                OnClose(handled);
            return 0;
        }
    if (id == IDCANCEL && !control)
        OnClose(handled);
    return 0;
}
} // namespace

void ShowTaskDialog(HWND parent, const wchar_t* title, const wchar_t* mainInstruction, const wchar_t* content,
                    Window::Location, const std::vector<std::wstring>& buttons, bool, bool,
                    const TaskDialogCallback& callback)
{
    auto dialog = std::make_shared<TaskDialogWindow>(parent, mainInstruction, content, buttons, callback);
    dialog->Run(title);
}

bool ShowTaskDialog(HWND parent, const wchar_t* title, const wchar_t* mainInstruction, const wchar_t* content,
                    const std::vector<std::wstring>& buttons, bool, const TaskDialogCallback& callback)
{
    bool chosen = false;
    ShowTaskDialog(parent, title, mainInstruction, content, Window::Center, buttons, true, true,
                   [&](HWND window, unsigned button) {
                       const long result = callback(window, button);
                       chosen = result == 0;
                       return result;
                   });
    return chosen;
}

unsigned ShowTaskDialog(HWND parent, const wchar_t* title, const wchar_t* mainInstruction, const wchar_t* content,
                        const std::vector<std::wstring>& buttons, bool flag)
{
    auto choice = static_cast<unsigned>(buttons.size());
    ShowTaskDialog(parent, title, mainInstruction, content, buttons, flag, [&](HWND, unsigned button) {
        choice = button;
        return 0L;
    });
    return choice;
}
