#include "tests/import_engine/OneNoteProcessRunner.h"

#include "tests/support/TestPaths.h"

#include <tlhelp32.h>

#include <cwctype>

namespace EngineTest
{
std::filesystem::path OneNoteExe(const wchar_t* variant)
{
    return TestPaths::StandInOneNoteExe(variant);
}

// The running processes with their executable's file name, as the system lists them.
std::vector<std::pair<DWORD, std::wstring>> RunningProcesses()
{
    std::vector<std::pair<DWORD, std::wstring>> processes;
    const Owners::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        processes.emplace_back(entry.th32ProcessID, entry.szExeFile);
    return processes;
}

std::wstring ExecutableOf(DWORD id)
{
    for (const auto& [processId, name] : RunningProcesses())
        if (processId == id)
            return name;
    return {};
}

std::vector<DWORD> RunningOneNotes()
{
    std::vector<DWORD> ids;
    for (auto [id, name] : RunningProcesses())
    {
        for (auto& c : name)
            c = static_cast<wchar_t>(std::towlower(c));
        if (name == L"onenote.exe")
            ids.push_back(id);
    }
    return ids;
}

bool WaitUntilNoOneNoteRuns()
{
    for (int i = 0; i < 600; ++i, Sleep(50))
        if (RunningOneNotes().empty())
            return true;
    return false;
}

OneNoteProcess::OneNoteProcess(const std::filesystem::path& executable)
{
    std::wstring commandLine = L"\"" + executable.wstring() + L"\" 30000";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return;
    process_.reset(started.hProcess);
    const Owners::KernelHandle thread(started.hThread);
    id_ = started.dwProcessId;
    for (int i = 0; i < 500 && !window_; ++i, Sleep(10))
        window_ = FindOwnWindow();
}

OneNoteProcess::~OneNoteProcess()
{
    if (!process_)
        return;
    if (window_)
        PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0)
        TerminateProcess(process_.get(), 1);
}

HWND OneNoteProcess::FindOwnWindow() const
{
    for (HWND window = FindWindowExW(nullptr, nullptr, L"Framework::CFrame", nullptr); window;
         window = FindWindowExW(nullptr, window, L"Framework::CFrame", nullptr))
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == id_)
            return window;
    }
    return nullptr;
}
} // namespace EngineTest
