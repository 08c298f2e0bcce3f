#pragma once
// Background jobs of a window: the templates behind Window::RunInBackground and
// Window::GetFromBackground. Included by Window.h.

#include "framework/Owners.h"
#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"

#include <comdef.h>

#include <future>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace Detail
{
// What a job keeps of its background part's result; a part without one leaves a marker.
template <typename Background>
using StoredResult = std::conditional_t<std::is_void_v<std::invoke_result_t<Background&>>, std::monostate,
                                        std::invoke_result_t<Background&>>;

inline void LogFailure(const wchar_t* prefix, const std::wstring& text) noexcept
{
    try
    {
        GetLog(true) << prefix << text;
    }
    catch (...)
    {
    }
}

// Runs background in the multithreaded COM apartment (balanced whatever happens); every exception
// ends in the log. An empty result means that it failed.
template <typename Background>
std::optional<StoredResult<Background>> RunBackgroundPart(Background& background) noexcept
{
    try
    {
        const Owners::ComApartment apartment(COINIT_MULTITHREADED);
        if (FAILED(apartment.result()))
            _com_issue_error(apartment.result());
        if constexpr (std::is_void_v<std::invoke_result_t<Background&>>)
        {
            background();
            return std::monostate{};
        }
        else
            return background();
    }
    catch (const _com_error& error)
    {
        LogFailure(L"Async function failed with ", GetErrorMessage(error));
    }
    catch (...)
    {
        LogFailure(L"Async function failed with exception", L"");
    }
    return std::nullopt;
}
} // namespace Detail

template <typename W, typename Background, typename Ui>
void Window::StartJob(W& window, Background&& background, Ui&& ui)
{
    static_assert(std::is_base_of_v<Window, W>);
    using Result = std::invoke_result_t<std::decay_t<Background>&>;

    // The job keeps the window only weakly: a window released before the job ends gets nothing.
    std::weak_ptr<W> weak = std::static_pointer_cast<W>(window.shared_from_this());
    UiChannel channel = window.GetUiChannel();
    auto job = [weak = std::move(weak), channel = std::move(channel), background = std::forward<Background>(background),
                ui = std::make_shared<std::decay_t<Ui>>(std::forward<Ui>(ui))]() mutable noexcept {
        auto result = std::make_shared<std::optional<Detail::StoredResult<std::decay_t<Background>>>>(
            Detail::RunBackgroundPart(background));
        if (weak.expired())
            return;
        try
        {
            channel.Post([weak, ui, result] {
                const std::shared_ptr<W> window = weak.lock();
                if (!window)
                    return;
                window->RemoveFinishedTasks();
                if constexpr (std::is_void_v<Result>)
                    (*ui)(*window);
                else
                    (*ui)(*window, std::move(*result));
            });
        }
        catch (...)
        {
            // Out of memory for the closure: the UI part is lost, the worker still ends.
        }
    };
    static_cast<Window&>(window).backgroundTasks_.push_back(std::async(std::launch::async, std::move(job)));
}

template <typename W, typename Background, typename Ui>
void Window::RunInBackground(W& window, Background&& background, Ui&& ui)
{
    static_assert(std::is_void_v<std::invoke_result_t<std::decay_t<Background>&>>,
                  "RunInBackground's background part returns nothing; use GetFromBackground");
    StartJob(window, std::forward<Background>(background), std::forward<Ui>(ui));
}

template <typename W, typename Background, typename Ui>
void Window::GetFromBackground(W& window, Background&& background, Ui&& ui)
{
    static_assert(!std::is_void_v<std::invoke_result_t<std::decay_t<Background>&>>,
                  "GetFromBackground's background part returns its result");
    StartJob(window, std::forward<Background>(background), std::forward<Ui>(ui));
}
