#pragma once
// The memory that sent_message_counter.dll, put into a program by a message hook, shares with the
// test that set the hook: the window whose messages are counted, and their count.

#include <windows.h>

#include <cstdint>
#include <string>

struct SentMessageCount
{
    // An HWND, the same in every process.
    std::uint64_t window;
    LONG sent;
};

// The name of the count of the messages that thread sends.
inline std::wstring SentMessageCountName(DWORD thread) { return L"QuilloraSentMessages-" + std::to_wstring(thread); }
