#pragma once
// The one way from a worker thread to a window: closures posted with WM_RUNCLOSURE. The channel
// knows every closure it has posted and not yet run, so that none is lost when the window goes:
// a closure whose post fails, or that is still waiting when the window is destroyed, is freed at
// once (its destructor runs; a blocking question then gets its cautious answer). A closed channel
// frees whatever is posted to it.

#include <windows.h>

#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <type_traits>

// WM_USER+0x104: runs the std::function<void()> in lParam; frees it when wParam is nonzero.
constexpr UINT WM_RUNCLOSURE = WM_USER + 0x104;
// WM_USER+0x108 / 0x109: record and report the checked button of a named radio group.
constexpr UINT WM_SETRADIOGROUP = WM_USER + 0x108;
constexpr UINT WM_GETRADIOGROUP = WM_USER + 0x109;

class ClosureChannel
{
public:
    using Closure = std::function<void()>;

    // A closed channel, for a window that has no HWND.
    ClosureChannel() = default;
    explicit ClosureChannel(HWND window) : window_(window), closed_(window == nullptr) {}
    ClosureChannel(const ClosureChannel&) = delete;
    ClosureChannel& operator=(const ClosureChannel&) = delete;
    ~ClosureChannel() { Close(); }

    // Posts closure to the window; false when it could not be delivered (and it is already freed).
    bool Post(Closure closure);
    // The UI side: takes back a closure that this channel posted; null when it is not (or no
    // longer) one of ours.
    std::unique_ptr<Closure> Take(LPARAM closure);
    // Frees every closure still waiting; later posts fail.
    void Close();
    bool IsClosed() const;
    HWND Window() const { return window_; }

private:
    mutable std::mutex mutex_;
    HWND window_ = nullptr;
    bool closed_ = true;
    std::set<Closure*> pending_;
};

// What a worker keeps of a window: a handle that can be copied to any thread and never keeps the
// window alive.
class UiChannel
{
public:
    UiChannel() = default;
    explicit UiChannel(std::shared_ptr<ClosureChannel> channel) : channel_(std::move(channel)) {}

    // Runs closure on the UI thread later; false when the window is gone.
    bool Post(ClosureChannel::Closure closure) const
    {
        return channel_ ? channel_->Post(std::move(closure)) : false;
    }

    // Asks question on the UI thread and waits for its answer. Never waits for ever: when the
    // question cannot be delivered, is dropped unrun (the window went away) or throws, the answer
    // is cautious.
    template <typename T, typename Question>
    T Ask(T cautious, Question&& question) const;

private:
    std::shared_ptr<ClosureChannel> channel_;
};

namespace Detail
{
// Keeps the promise of a question; whoever lets go of it last without answering answers
// cautiously.
template <typename T>
class PendingAnswer
{
public:
    explicit PendingAnswer(T cautious) : cautious_(std::move(cautious)) {}
    PendingAnswer(const PendingAnswer&) = delete;
    PendingAnswer& operator=(const PendingAnswer&) = delete;
    ~PendingAnswer()
    {
        if (!answered_)
            promise_.set_value(std::move(cautious_));
    }
    std::future<T> Future() { return promise_.get_future(); }
    void Answer(T value)
    {
        answered_ = true;
        promise_.set_value(std::move(value));
    }

private:
    std::promise<T> promise_;
    T cautious_;
    bool answered_ = false;
};
} // namespace Detail

template <typename T, typename Question>
T UiChannel::Ask(T cautious, Question&& question) const
{
    // Asked on the window's own thread, waiting for a posted question would wait for ever.
    if (channel_ && GetWindowThreadProcessId(channel_->Window(), nullptr) == GetCurrentThreadId())
    {
        try
        {
            return std::forward<Question>(question)();
        }
        catch (...)
        {
            return cautious;
        }
    }
    std::future<T> answer;
    {
        auto pending = std::make_shared<Detail::PendingAnswer<T>>(std::move(cautious));
        answer = pending->Future();
        auto ask = std::make_shared<std::decay_t<Question>>(std::forward<Question>(question));
        Post([pending, ask] { pending->Answer((*ask)()); });
    }
    return answer.get();
}
