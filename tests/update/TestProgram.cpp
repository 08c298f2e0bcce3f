// Stands for a downloaded program version: writes its command line to its own path + ".args"
// (UTF-16LE) and ends. Given "/handOver <milliseconds> <command line>", it stands for an old program
// that hands an update over as well: it starts the command line, as its child, and ends the
// milliseconds later, as a program whose window has closed may still be finishing its work.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace
{
void HandOver(const std::wstring& commandLine)
{
    const size_t at = commandLine.find(L" /handOver ");
    if (at == std::wstring::npos)
        return;
    wchar_t* end = nullptr;
    const unsigned long milliseconds = std::wcstoul(commandLine.c_str() + at + 11, &end, 10);
    if (!end || *end != L' ')
        return;
    const wchar_t* const rest = end + 1;
    std::vector<wchar_t> started(rest, commandLine.c_str() + commandLine.size());
    started.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, started.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Sleep(milliseconds);
}
} // namespace

int wmain()
{
    std::vector<wchar_t> path(1024);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::wstring record = std::wstring(path.data(), length) + L".args";
    const std::wstring commandLine = GetCommandLineW();
    const HANDLE file = CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, commandLine.data(), static_cast<DWORD>(commandLine.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    HandOver(commandLine);
    return 0;
}
