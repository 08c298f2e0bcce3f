#pragma once
// The question an import asks about a password-protected PDF file: use a password (perhaps for
// every later file of the run), skip this file's printout, skip the printouts of every protected
// file, or stop the import.

#include "framework/ui/Window.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/EditBox.h"
#include "framework/ui/controls/Label.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

enum PasswordChoice : int32_t
{
    UseThisPassword = 0,
    SkipThisFile = 1,
    SkipAllProtectedFiles = 2,
    StopTheImport = 3,
};

// What the user answered; also what the next question of the same run starts from.
struct PasswordAnswer
{
    int32_t choice = UseThisPassword;
    // Empty unless the choice is UseThisPassword.
    std::wstring password;
    // False unless the choice is UseThisPassword.
    bool useForAll = false;

    friend bool operator==(const PasswordAnswer&, const PasswordAnswer&) = default;
};

// Built and run modally by its constructor; every way out of it is an answer, so the close box and
// Alt+F4 do nothing.
class PasswordDialog : public AutoLayoutWindow
{
public:
    // owner may be null; the dialog belongs to its top-level window.
    PasswordDialog(HWND owner, const std::wstring& path, PasswordAnswer initial);

    LRESULT OnClose(bool& handled) override;
    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override;

    // Valid once the constructor has returned.
    const PasswordAnswer& Answer() const { return answer_; }

private:
    void Build(const std::wstring& path);
    void ShowPassword(bool plain);
    void CheckOnly(const std::shared_ptr<UI::Button>& radio);
    void Accept();

    std::shared_ptr<UI::Label> label_;
    std::shared_ptr<UI::Button> usePassword_;
    std::shared_ptr<UI::EditBox> passwordEdit_;
    std::shared_ptr<UI::Button> showPassword_;
    std::shared_ptr<UI::Button> useForAll_;
    std::shared_ptr<UI::Button> skipFile_;
    std::shared_ptr<UI::Button> skipAll_;
    std::shared_ptr<UI::Button> stop_;
    std::shared_ptr<UI::Button> ok_;
    PasswordAnswer answer_;
};

// Runs the dialog and returns its answer.
PasswordAnswer AskForPassword(HWND owner, const std::wstring& path, const PasswordAnswer& initial);
