#pragma once
// The stand-in's onenote.exe as the engine's process tests run it: either of its two builds, for
// as long as an object lives, and the running processes as the system lists them.

#include "framework/Owners.h"

#include <windows.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace EngineTest
{
// "inside" (a build that needs explicit positions) or "outside".
std::filesystem::path OneNoteExe(const wchar_t* variant);

std::vector<std::pair<DWORD, std::wstring>> RunningProcesses();
std::wstring ExecutableOf(DWORD id);
// Ids of the running processes named onenote.exe in any case.
std::vector<DWORD> RunningOneNotes();
// Other test programs start onenote.exe too; these checks need the machine to themselves.
bool WaitUntilNoOneNoteRuns();

class OneNoteProcess
{
public:
    explicit OneNoteProcess(const std::filesystem::path& executable);
    OneNoteProcess(const OneNoteProcess&) = delete;
    OneNoteProcess& operator=(const OneNoteProcess&) = delete;
    ~OneNoteProcess();

    DWORD Id() const { return id_; }
    HWND Window() const { return window_; }

private:
    HWND FindOwnWindow() const;

    Owners::KernelHandle process_;
    DWORD id_ = 0;
    HWND window_ = nullptr;
};
} // namespace EngineTest
