#pragma once
// Runs a function when the scope ends, however it ends, unless dismissed first.

#include <functional>
#include <utility>

class ScopeExit
{
public:
    explicit ScopeExit(std::function<void()> function) : function_(std::move(function)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    // The function must not throw: it may run while an exception leaves the scope.
    ~ScopeExit()
    {
        if (!dismissed_ && function_)
            function_();
    }
    void Dismiss() noexcept { dismissed_ = true; }

private:
    std::function<void()> function_;
    bool dismissed_ = false;
};
