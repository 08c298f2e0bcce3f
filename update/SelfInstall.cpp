#include "update/SelfInstall.h"

#include "framework/Owners.h"
#include "framework/log/Log.h"

#include <cwctype>
#include <vector>

std::function<void(DWORD milliseconds)> InstallRetryPause = [](DWORD milliseconds) { Sleep(milliseconds); };

bool LaunchProcess(const std::wstring& path, const std::wstring& args, const std::function<void()>& beforeRun)
{
    std::wstring commandLine = path;
    if (commandLine.empty() || commandLine.front() != L'"')
        commandLine.insert(commandLine.begin(), L'"');
    if (commandLine.size() < 2 || commandLine.back() != L'"')
        commandLine += L'"';
    if (!args.empty())
        commandLine += L" " + args;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const DWORD flags = beforeRun ? CREATE_SUSPENDED : 0;
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &process))
        return false;
    Owners::KernelHandle processHandle(process.hProcess);
    Owners::KernelHandle threadHandle(process.hThread);
    if (beforeRun)
    {
        try
        {
            beforeRun();
        }
        catch (...)
        {
            TerminateProcess(processHandle.get(), ERROR_CANCELLED);
            throw;
        }
        ResumeThread(threadHandle.get());
    }
    return true;
}

std::wstring GetProgramPath()
{
    std::vector<wchar_t> buffer(1024);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

namespace
{
std::wstring FullPath(const std::wstring& path)
{
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::vector<wchar_t> buffer(length);
    const DWORD written = GetFullPathNameW(path.c_str(), length, buffer.data(), nullptr);
    return written == 0 || written >= length ? path : std::wstring(buffer.data(), written);
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(FullPath(a).c_str(), -1, FullPath(b).c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool IsProgramFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    return path.size() > 4 && CompareStringOrdinal(path.c_str() + path.size() - 4, -1, L".exe", -1, TRUE) == CSTR_EQUAL;
}
} // namespace

bool ReplaceProgramFile(const std::wstring& source, const std::wstring& target)
{
    // The target comes from a command line anyone can write: never overwrite what is not an
    // installed program, and never the program itself.
    if (!IsProgramFile(target) || SamePath(source, target))
    {
        GetLog(true) << L"ERROR: " << L"Not installing over " << target;
        return false;
    }
    constexpr int tries = 1000;
    for (int attempt = 1;; ++attempt)
    {
        if (CopyFileW(source.c_str(), target.c_str(), FALSE))
            return true;
        if (attempt == tries)
        {
            GetLog(true) << L"ERROR: " << L"Failed to install over " << target << L": " << GetLastError();
            return false;
        }
        InstallRetryPause(1000);
    }
}

void InstallSelfCopyFrom(const std::wstring& source, const std::wstring& target, const std::wstring& version)
{
    if (ReplaceProgramFile(source, target))
        LaunchProcess(target, L"/showUpdateInfo " + version);
}

void InstallSelfCopy(const std::wstring& target, const std::wstring& version)
{
    InstallSelfCopyFrom(GetProgramPath(), target, version);
}
