#include "standins/common/HostShell.h"

#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace HostShell
{
namespace
{
// A loaded machine may take a while to render a page or check a large file.
constexpr DWORD LongestCommand = 120000;

// A new file name in the temporary folder for one command's script, output or status.
std::wstring CommandFile(unsigned id, const wchar_t* suffix)
{
    return GetTempFilePath(
        (L"host-shell-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(id) + suffix).c_str());
}
} // namespace

std::string UnixPath(const std::wstring& windowsPath)
{
    // Wine's own export: the one place that knows how drives map to Unix folders.
    using Converter = char*(__cdecl*)(const wchar_t*);
    static const auto convert = reinterpret_cast<Converter>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return {};
    char* unix = convert(windowsPath.c_str());
    if (!unix)
        return {};
    std::string path(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Result Run(const std::string& command)
{
    static std::atomic<unsigned> lastId{0};
    const unsigned id = ++lastId;
    const std::wstring script = CommandFile(id, L".sh");
    const std::wstring output = CommandFile(id, L".out");
    const std::wstring status = CommandFile(id, L".status");
    ::DeleteFileW(status.c_str());

    Result result;
    // The script goes to a file so that no quoting has to survive Windows command-line parsing.
    if (!WriteStringToFile(script.c_str(), "(" + command + ") >" + Quoted(UnixPath(output)) + " 2>&1\necho $? >" +
                                                Quoted(UnixPath(status)) + "\n"))
    {
        result.output = "cannot write the command's script";
        return result;
    }
    std::wstring commandLine = L"Z:\\bin\\sh \"" + Utf8ToWide(UnixPath(script)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
    {
        result.output = "cannot start /bin/sh (error " + std::to_string(::GetLastError()) + ")";
        ::DeleteFileW(script.c_str());
        return result;
    }
    // For a Unix program Wine gives no process handle, and leaves in the thread handle whatever
    // its stack held: often the value of a handle that another thread of this process owns and
    // waits on. Only a started Windows process's handles are ours to close.
    Owners::KernelHandle processHandle(process.hProcess);
    Owners::KernelHandle threadHandle(process.hProcess ? process.hThread : nullptr);
    if (process.hProcess)
        ::WaitForSingleObject(process.hProcess, LongestCommand);

    // So the shell's status file is what tells that the command has ended.
    std::string code;
    const ULONGLONG deadline = ::GetTickCount64() + LongestCommand;
    while ((code = ReadFileBytes(status.c_str())).empty() && ::GetTickCount64() < deadline)
        ::Sleep(10);
    result.exitCode = code.empty() ? -1 : std::atoi(code.c_str());
    result.output = ReadFileBytes(output.c_str());
    ::DeleteFileW(script.c_str());
    ::DeleteFileW(output.c_str());
    ::DeleteFileW(status.c_str());
    return result;
}
} // namespace HostShell
