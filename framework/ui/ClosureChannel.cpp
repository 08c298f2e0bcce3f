#include "framework/ui/ClosureChannel.h"

#include <vector>

bool ClosureChannel::Post(Closure closure)
{
    auto owned = std::make_unique<Closure>(std::move(closure));
    {
        std::lock_guard lock(mutex_);
        if (!closed_)
        {
            // Registered before the post, so that the UI thread finds it however soon it runs.
            pending_.insert(owned.get());
            if (PostMessageW(window_, WM_RUNCLOSURE, 1, reinterpret_cast<LPARAM>(owned.get())))
            {
                owned.release();
                return true;
            }
            pending_.erase(owned.get());
        }
    }
    // Freed outside the lock: its destructor may answer a waiting worker.
    owned.reset();
    return false;
}

std::unique_ptr<ClosureChannel::Closure> ClosureChannel::Take(LPARAM closure)
{
    Closure* pointer = reinterpret_cast<Closure*>(closure);
    std::lock_guard lock(mutex_);
    if (pending_.erase(pointer) == 0)
        return nullptr;
    return std::unique_ptr<Closure>(pointer);
}

void ClosureChannel::Close()
{
    std::vector<std::unique_ptr<Closure>> orphans;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        for (Closure* closure : pending_)
            orphans.emplace_back(closure);
        pending_.clear();
    }
}

bool ClosureChannel::IsClosed() const
{
    std::lock_guard lock(mutex_);
    return closed_;
}
