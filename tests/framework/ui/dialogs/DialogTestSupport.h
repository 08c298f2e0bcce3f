#pragma once
// What the dialog tests share: a driver that acts on a modal dialog from a thread timer while the
// dialog's own loop runs (the dialogs are made inside the functions under test), the lookup of
// their child windows, keys as the keyboard would send them, and the UI fonts and theme.

#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"
#include "framework/ui/WindowHelpers.h"
#include "tests/support/ProgramHarness.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace DialogTest
{
// Runs its steps one per tick, each once the dialog of the given title shows; the messages in
// between reach the dialog, so that a step sees what the one before it caused. A dialog still open
// after a while is closed, and the test fails.
class Driver
{
public:
    using Step = std::function<void(HWND dialog)>;

    Driver(const std::wstring& title, std::vector<Step> steps)
        : title_(title), steps_(std::move(steps)), started_(std::chrono::steady_clock::now())
    {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &Driver::Tick);
    }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;
    ~Driver()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
        EXPECT_EQ(next_, steps_.size()) << "steps left undone";
    }

    // The dialog, while it shows.
    HWND Dialog() const
    {
        const HWND dialog = FindWindowW(L"Quillora Window", title_.c_str());
        return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Driver* driver = current_;
        if (!driver)
            return;
        const HWND dialog = driver->Dialog();
        if (!dialog)
            return;
        if (std::chrono::steady_clock::now() - driver->started_ > std::chrono::seconds(15))
        {
            ADD_FAILURE() << "the dialog did not close";
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            return;
        }
        // A step that pumps messages itself (a screenshot waiting for the paint) must not have
        // the next step run inside it.
        if (driver->next_ < driver->steps_.size() && !driver->inStep_)
        {
            driver->inStep_ = true;
            driver->steps_[driver->next_++](dialog);
            driver->inStep_ = false;
        }
    }

    static inline Driver* current_ = nullptr;
    std::wstring title_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool inStep_ = false;
    std::chrono::steady_clock::time_point started_;
    UINT_PTR timer_ = 0;
};

// The dialog's own children of a class (and text, when given), in the order of their places: top
// to bottom, then left to right.
inline std::vector<HWND> Children(HWND dialog, const wchar_t* className, std::optional<std::wstring> text = {})
{
    return Harness::Children(dialog, className, text);
}

inline HWND Child(HWND dialog, const wchar_t* className, const std::wstring& text)
{
    const std::vector<HWND> found = Children(dialog, className, text);
    return found.empty() ? nullptr : found.front();
}

inline RECT ClientRectOf(HWND child) { return Harness::ChildRect(child); }

// A key pressed and released where the focus is (the dialog's loop translates it).
inline void PressKey(HWND dialog, WPARAM key)
{
    HWND target = GetFocus();
    if (!target || (target != dialog && !IsChild(dialog, target)))
        target = dialog;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

inline void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

inline bool IsDefaultPushButton(HWND button)
{
    return (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

class Fixture : public testing::Test
{
protected:
    Fixture() : savedMode_(GetThemeMode())
    {
        // Once for the process, whichever fixture comes first: fonts in use must not be remade.
        if (GetUiFontTable().fonts.empty())
            InitUiResources();
        SetThemeMode(UI::ThemeLight);
    }
    ~Fixture() override { SetThemeMode(savedMode_); }

private:
    std::optional<int> savedMode_;
};

// The light and the dark theme, for the screenshots.
class Themed : public Fixture, public testing::WithParamInterface<bool>
{
protected:
    Themed() { SetThemeMode(GetParam() ? UI::ThemeDark : UI::ThemeLight); }
    static std::wstring ThemeName() { return GetParam() ? L"dark" : L"light"; }
};

inline std::string ThemeTestName(const testing::TestParamInfo<bool>& info) { return info.param ? "Dark" : "Light"; }
} // namespace DialogTest
