#pragma once
// The run's progress on its way from the import worker to the window. The latest report is all
// the window needs: the worker replaces what is waiting and posts to the window only when nothing
// is on its way yet, so that a run over thousands of files neither floods the window's message
// queue (which holds at most 10,000 posted messages) nor has it lay itself out once per file.

#include "import_engine/ImportEngine.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <utility>

class ProgressMailbox
{
public:
    // What the window has not shown yet.
    struct Waiting
    {
        // A report that starts the processing of the files (count 0 of a total): the window comes
        // forward for it, even when later reports have followed it.
        std::shared_ptr<Progress> start;
        std::shared_ptr<Progress> latest;
        // An empty report (a stop check) came after the latest one: the dots of the text move on.
        bool tick = false;
    };

    // After a post that failed, the worker waits this long before it posts again.
    static constexpr ULONGLONG RetryAfterMs = 50;

    // Worker: keeps the report (null for a stop check). True when the caller is to post a closure
    // that shows what is waiting: nothing is on its way to the window yet.
    bool Put(std::shared_ptr<Progress> report);
    // Worker: the closure could not be posted; a later report posts again.
    void PostFailed();
    // Window: takes what is waiting. With nothing waiting, false: the window stops looking, and the
    // next report posts again.
    bool Take(Waiting& waiting);
    // Window: it will not look again by itself; the next report posts.
    void StopLooking();

private:
    std::mutex lock_;
    Waiting waiting_;
    // A closure is posted, or the window looks again by itself.
    bool looking_ = false;
    ULONGLONG noPostBefore_ = 0;
};
