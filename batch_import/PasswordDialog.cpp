#include "batch_import/PasswordDialog.h"

#include "framework/Owners.h"
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"
#include "framework/ui/controls/TextMeasure.h"

#include <algorithm>

namespace
{
// The eye of the show-password toggle, in the light and the dark theme.
constexpr int showPasswordIcon = 393;
constexpr int showPasswordIconDark = 1393;

constexpr wchar_t passwordCharacter = L'\x25CF';
const wchar_t* const radioGroup = L"options";
} // namespace

PasswordDialog::PasswordDialog(HWND owner, const std::wstring& path, PasswordAnswer initial)
    : answer_(std::move(initial))
{
    Create(owner, COLOR_WINDOW, WS_EX_TOOLWINDOW, 0);
    const float dpi = GetDpiScaleX();
    // The dialog is at least this wide, and wider where a line of it would be cut off.
    const int least = UI::PointsToPixels(262.5f, dpi);
    int width = least;
    {
        const Owners::WindowDC screen(nullptr);
        Gdiplus::Graphics graphics(screen.get());
        // A long path keeps its file name in view: its folder gives way in the middle.
        const int quotes = UI::MeasureTextWidth(graphics, L"\"\"", UI::FontNormal);
        const std::wstring shown =
            UI::CompactPathToWidth(graphics, path, least - 2 * UI::LargeMargin() - quotes, UI::FontNormal);
        Build(shown);
        const int content = std::max(UI::MeasureTextWidth(graphics, L"\"" + shown + L"\"", UI::FontNormal),
                                     UI::MeasureUnwrappedWidth(graphics, *GetRootControl()));
        width = std::max(least, content + 2 * UI::LargeMargin());
    }

    HWND focus = passwordEdit_->hwnd;
    switch (answer_.choice)
    {
    case SkipThisFile:
    case SkipAllProtectedFiles:
    case StopTheImport:
    {
        const auto& radio = answer_.choice == SkipThisFile ? skipFile_ : answer_.choice == SkipAllProtectedFiles ? skipAll_ : stop_;
        CheckOnly(radio);
        focus = radio->hwnd;
        break;
    }
    default:
        CheckOnly(usePassword_);
        SetWindowTextW(passwordEdit_->hwnd, answer_.password.c_str());
        SendMessageW(passwordEdit_->hwnd, EM_SETSEL, 0, -1);
        useForAll_->SetChecked(answer_.useForAll);
        break;
    }

    SIZE size = LayoutWithMargin(width, 0, UI::LargeMargin(), nullptr);
    // The OK button sits at the right edge of the measured width.
    ok_->margin.left = size.cx - UI::PointsToPixels(75.0f, dpi);
    size = LayoutWithMargin(width, 0, UI::LargeMargin(), nullptr);
    ShowAtLocation(L"Password Required", size.cx, size.cy, true, focus, nullptr, Center);
}

void PasswordDialog::Build(const std::wstring& path)
{
    const HWND window = GetHwnd();
    label_ = std::make_shared<UI::Label>(
        window, L"The PDF file at \"" + path + L"\" requires a password to open. Choose an option below:", false);
    usePassword_ = std::make_shared<UI::Button>(window, 0, UI::Button::Radio, L"Use this &password:", true, radioGroup);
    passwordEdit_ = std::make_shared<UI::EditBox>(window, nullptr, false);
    passwordEdit_->width = UI::PointsToPixels(90.0f, GetDpiScaleX());
    passwordEdit_->height = UI::ControlHeight();
    SendMessageW(passwordEdit_->hwnd, EM_SETPASSWORDCHAR, passwordCharacter, 0);
    showPassword_ = std::make_shared<UI::Button>(window, 0, UI::Button::PushLikeCheckBox,
                                                 IsDarkMode() ? showPasswordIconDark : showPasswordIcon, nullptr,
                                                 false, 0, true, false);
    showPassword_->width = showPassword_->height = UI::ControlHeight();
    auto row = std::make_shared<UI::BoxContainer>("row1", false, UI::BoxContainer::Centre, UI::Gap(),
                                                  UI::ControlList{usePassword_, passwordEdit_, showPassword_});
    useForAll_ = std::make_shared<UI::Button>(window, 0, UI::Button::CheckBox, 0,
                                              L"&Use this password for all remaining PDF files", false, 0, true, false);
    // Indented under the password row, which it belongs to.
    useForAll_->margin = {UI::LargeMargin(), -UI::Gap(), 0, 0};
    skipFile_ = std::make_shared<UI::Button>(window, 0, UI::Button::Radio, L"Skip printout import for &this file",
                                             false, radioGroup);
    skipAll_ = std::make_shared<UI::Button>(
        window, 0, UI::Button::Radio, L"Skip printout import for &all password protected files", false, radioGroup);
    stop_ = std::make_shared<UI::Button>(window, 0, UI::Button::Radio, L"&Stop import", false, radioGroup);
    ok_ = std::make_shared<UI::Button>(window, IDOK, UI::Button::Push, 0, L"  &OK  ", false, 0, true, false);
    SetRootControl(std::make_shared<UI::BoxContainer>(
        "rootContainer", true, UI::BoxContainer::Start, UI::Margin(),
        UI::ControlList{label_, row, useForAll_, skipFile_, skipAll_, stop_, ok_}));
}

LRESULT PasswordDialog::OnClose(bool& handled)
{
    handled = true;
    return 0;
}

LRESULT PasswordDialog::OnCommand(int id, HWND control, int code, bool& handled)
{
    if (!ok_)
        return 0;
    if (code == BN_CLICKED && UI::IsControlWindow(showPassword_, control))
    {
        handled = true;
        ShowPassword(showPassword_->IsChecked());
        return 0;
    }
    if (code == EN_CHANGE && UI::IsControlWindow(passwordEdit_, control))
    {
        handled = true;
        if (!usePassword_->IsChecked())
            CheckOnly(usePassword_);
        return 0;
    }
    if (code == BN_DOUBLECLICKED &&
        (UI::IsControlWindow(skipFile_, control) || UI::IsControlWindow(skipAll_, control) ||
         UI::IsControlWindow(stop_, control)))
    {
        handled = true;
        Accept();
        return 0;
    }
    if (id == IDOK && code == BN_CLICKED)
    {
        handled = true;
        Accept();
    }
    return 0;
}

void PasswordDialog::ShowPassword(bool plain)
{
    SendMessageW(passwordEdit_->hwnd, EM_SETPASSWORDCHAR, plain ? 0 : passwordCharacter, 0);
    InvalidateRect(passwordEdit_->hwnd, nullptr, TRUE);
    SetFocus(passwordEdit_->hwnd);
}

void PasswordDialog::CheckOnly(const std::shared_ptr<UI::Button>& radio)
{
    for (const auto& each : {usePassword_, skipFile_, skipAll_, stop_})
        if (each != radio)
            each->SetChecked(false);
    radio->SetChecked(true);
}

void PasswordDialog::Accept()
{
    answer_ = PasswordAnswer{};
    if (usePassword_->IsChecked())
    {
        answer_.password = passwordEdit_->GetText();
        answer_.useForAll = useForAll_->IsChecked();
    }
    else if (skipFile_->IsChecked())
        answer_.choice = SkipThisFile;
    else if (skipAll_->IsChecked())
        answer_.choice = SkipAllProtectedFiles;
    else if (stop_->IsChecked())
        answer_.choice = StopTheImport;
    End(IDOK);
}

PasswordAnswer AskForPassword(HWND owner, const std::wstring& path, const PasswordAnswer& initial)
{
    const auto dialog = std::make_shared<PasswordDialog>(owner, path, initial);
    return dialog->Answer();
}
