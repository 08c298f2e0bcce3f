#include "standins/winrt_pdf/HostTools.h"

#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"

#include <windows.h>

#include <atomic>

namespace WinRtStandIn
{
namespace
{
// A new file name in the temporary folder for one command's script, output or status.
std::wstring CommandFile(unsigned id, const wchar_t* suffix)
{
    return GetTempFilePath((L"winrt-standin-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(id) + suffix)
                               .c_str());
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

std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

HostResult RunHostCommand(const std::string& command)
{
    static std::atomic<unsigned> lastId{0};
    const unsigned id = ++lastId;
    const std::wstring script = CommandFile(id, L".sh");
    const std::wstring output = CommandFile(id, L".out");
    const std::wstring status = CommandFile(id, L".status");
    ::DeleteFileW(status.c_str());

    HostResult result;
    // The script goes to a file so that no quoting has to survive Windows command-line parsing.
    if (!WriteStringToFile(script.c_str(), "(" + command + ") >" + ShellQuoted(UnixPath(output)) + " 2>&1\necho $? >" +
                                                ShellQuoted(UnixPath(status)) + "\n"))
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
        result.output = "cannot start /bin/sh";
        return result;
    }
    Owners::KernelHandle processHandle(process.hProcess);
    Owners::KernelHandle threadHandle(process.hThread);
    // Wine hands out no process handle for a Unix program (the wait returns at once), so the
    // shell's status file is what tells that the command has ended; a loaded machine may take a
    // while to render a page.
    if (process.hProcess)
        ::WaitForSingleObject(process.hProcess, INFINITE);
    std::string code;
    for (int attempt = 0; attempt < 12000 && (code = ReadFileBytes(status.c_str())).empty(); ++attempt)
        ::Sleep(10);
    result.exitCode = code.empty() ? -1 : std::atoi(code.c_str());
    result.output = ReadFileBytes(output.c_str());
    ::DeleteFileW(script.c_str());
    ::DeleteFileW(output.c_str());
    ::DeleteFileW(status.c_str());
    return result;
}
} // namespace WinRtStandIn
