#pragma once
// What the control tests share: a shown host window that records the commands and notifications its
// children send, the UI fonts, and the theme restored after each test.

#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"
#include "framework/ui/Window.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace ControlTest
{
constexpr int pictureId = 4801;

class Host : public AutoLayoutWindow
{
public:
    LRESULT OnCommand(int id, HWND, int code, bool& handled) override
    {
        commands.emplace_back(id, code);
        handled = true;
        return 0;
    }
    LRESULT OnNotify(NMHDR* header) override
    {
        if (header && header->code != static_cast<UINT>(NM_CUSTOMDRAW))
            notifications.push_back(header->code);
        LRESULT result = 0;
        if (notify && notify(header, result))
            return result;
        return AutoLayoutWindow::OnNotify(header);
    }
    int Commands(int id, int code) const
    {
        int count = 0;
        for (const auto& [commandId, commandCode] : commands)
            count += commandId == id && commandCode == code;
        return count;
    }

    std::vector<std::pair<int, int>> commands;
    std::vector<UINT> notifications;
    // Answers a notification first when set and it returns true.
    std::function<bool(NMHDR*, LRESULT&)> notify;
};

class Fixture : public testing::Test
{
protected:
    Fixture() : savedMode_(GetThemeMode())
    {
        // Once for the process: GDI+ objects cached by the controls must outlive every test.
        static const bool initialised = [] {
            InitUiResources();
            return true;
        }();
        (void)initialised;
        SetThemeMode(UI::ThemeLight);
    }
    ~Fixture() override
    {
        graphics_.reset();
        if (host)
            host->End(0);
        SetThemeMode(savedMode_);
    }

    // The host is made after the theme is chosen. A dark host paints its own background
    // (COLOR_WINDOW): the class brush of the face colour is the theme's of the first window made.
    Host& MakeHost(bool dark = false, int width = 420, int height = 300)
    {
        SetThemeMode(dark ? UI::ThemeDark : UI::ThemeLight);
        host = std::make_shared<Host>();
        host->Create(nullptr, dark ? COLOR_WINDOW : COLOR_BTNFACE, 0, WS_OVERLAPPED | WS_CAPTION);
        host->ShowAtLocation(L"Controls", width, height, false, nullptr, nullptr, Window::Center);
        return *host;
    }

    Gdiplus::Graphics& Graphics()
    {
        if (!graphics_)
            graphics_ = std::make_unique<Gdiplus::Graphics>(host->GetHwnd());
        return *graphics_;
    }

    std::shared_ptr<Host> host;

private:
    std::optional<int> savedMode_;
    std::unique_ptr<Gdiplus::Graphics> graphics_;
};
} // namespace ControlTest
