// Stands for a downloaded program version: writes its command line to its own path + ".args"
// (UTF-16LE) and ends.
#include <windows.h>

#include <string>
#include <vector>

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
    return 0;
}
