#include "batch_import/ProgressMailbox.h"

bool ProgressMailbox::Put(std::shared_ptr<Progress> report)
{
    std::lock_guard guard(lock_);
    if (report)
    {
        if (report->done == 0 && report->total != 0 && !report->text.empty())
            waiting_.start = report;
        waiting_.latest = std::move(report);
        waiting_.tick = false;
    }
    else
        waiting_.tick = true;
    if (looking_ || ::GetTickCount64() < noPostBefore_)
        return false;
    looking_ = true;
    return true;
}

void ProgressMailbox::PostFailed()
{
    std::lock_guard guard(lock_);
    looking_ = false;
    noPostBefore_ = ::GetTickCount64() + RetryAfterMs;
}

bool ProgressMailbox::Take(Waiting& waiting)
{
    std::lock_guard guard(lock_);
    if (!waiting_.start && !waiting_.latest && !waiting_.tick)
    {
        looking_ = false;
        return false;
    }
    waiting = std::exchange(waiting_, Waiting{});
    return true;
}

void ProgressMailbox::StopLooking()
{
    std::lock_guard guard(lock_);
    looking_ = false;
}
