// Put into a program by a message hook that a test sets on the program's UI thread: counts the
// messages that this thread sends, itself, to one of its windows. The test makes the count's memory
// under a name of the hooked thread and tells the window there.
#include "framework/Owners.h"
#include "tests/batch_import/SentMessageCount.h"

#include <windows.h>

namespace
{
SentMessageCount* shared = nullptr;
bool looked = false;

void FindSharedCount()
{
    looked = true;
    const Owners::KernelHandle mapping(
        OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, SentMessageCountName(GetCurrentThreadId()).c_str()));
    if (!mapping)
        return;
    // The view keeps the memory for as long as the program runs, which keeps this library.
    shared = static_cast<SentMessageCount*>(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof *shared));
}
} // namespace

extern "C" LRESULT CALLBACK CountSentMessages(int code, WPARAM wParam, LPARAM lParam)
{
    // wParam is nonzero for a message that the hooked thread sent itself; what other threads and
    // programs send it (the test's own questions) is not counted.
    if (code == HC_ACTION && wParam)
    {
        if (!looked)
            FindSharedCount();
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (shared && reinterpret_cast<std::uint64_t>(message->hwnd) == shared->window)
            InterlockedIncrement(&shared->sent);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
