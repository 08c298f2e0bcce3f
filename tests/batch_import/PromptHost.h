#pragma once
// What the tests of an import's questions share: a window that owns them, questions asked from a
// worker thread while this thread runs the window's messages, and the task dialog's parts.

#include "framework/ui/Window.h"
#include "tests/framework/ui/UiTestSupport.h"
#include "tests/framework/ui/dialogs/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>

namespace PromptTest
{
// The UI fonts (made once for the process) and the light theme, as the dialog tests have them.
inline void UseUiResources()
{
    if (GetUiFontTable().fonts.empty())
        InitUiResources();
    SetThemeMode(UI::ThemeLight);
}

// A plain top-level window, shown, that owns the questions.
inline std::shared_ptr<AutoLayoutWindow> MakeOwner()
{
    auto window = std::make_shared<AutoLayoutWindow>();
    window->Create(nullptr, COLOR_WINDOW, 0, WS_OVERLAPPEDWINDOW);
    window->ShowAtLocation(L"Sheafin", 400, 300, false, nullptr, nullptr, Window::Center);
    return window;
}

// Runs question on a worker while this thread dispatches messages, and hands back its result (or
// raises what it raised).
template <typename Question>
auto AskFromWorker(Question&& question)
{
    auto answer = std::async(std::launch::async, std::forward<Question>(question));
    const bool answered = UiTest::PumpUntil(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        std::chrono::seconds(30));
    EXPECT_TRUE(answered) << "the worker still waits";
    return answer.get();
}

// The task dialog's content: its link label.
inline std::wstring TaskDialogText(HWND dialog)
{
    for (const HWND label : DialogTest::Children(dialog, L"SysLink"))
        if (IsWindowVisible(label))
            return UI::GetWindowTextString(label);
    return {};
}

// A command button of the task dialog, by its caption.
inline HWND TaskDialogButton(HWND dialog, const std::wstring& caption)
{
    return DialogTest::Child(dialog, L"Button", L"  " + caption);
}
} // namespace PromptTest
