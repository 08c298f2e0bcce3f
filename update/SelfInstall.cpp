#include "update/SelfInstall.h"

#include "framework/Owners.h"
#include "framework/log/Log.h"
#include "update/ProgramFile.h"

#include <cwctype>
#include <vector>

std::function<void(DWORD milliseconds)> InstallRetryPause = [](DWORD milliseconds) { Sleep(milliseconds); };

bool LaunchProcess(const std::wstring& path, const std::wstring& args, const std::function<bool()>& beforeRun)
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
        bool go = false;
        try
        {
            go = beforeRun();
        }
        catch (...)
        {
            TerminateProcess(processHandle.get(), ERROR_CANCELLED);
            throw;
        }
        if (!go)
        {
            TerminateProcess(processHandle.get(), ERROR_CANCELLED);
            threadHandle.reset();
            processHandle.reset();
            SetLastError(ERROR_CANCELLED);
            return false;
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

bool IsReplaceableProgram(const std::wstring& source, const std::wstring& target)
{
    return IsProgramFile(target) && !SamePath(source, target);
}

namespace
{
std::string ReadProgram(const std::wstring& path)
{
    Owners::FileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x40000000)
        return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        return {};
    return bytes;
}

// The old program lets go of its file only once it has ended, and until then no one may replace it
// (Windows refuses to replace a running program): while the file is held without letting others
// write, the install waits.
bool IsHeldByAnother(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// The written file moved over target once target may be written. ERROR_SUCCESS, or why not.
DWORD MoveOverWhenFree(const std::wstring& written, const std::wstring& target)
{
    {
        const Owners::FileHandle probe(
            CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe)
            return GetLastError();
    }
    return MoveOver(written, target) ? ERROR_SUCCESS : GetLastError();
}
} // namespace

bool ReplaceProgramFile(const std::wstring& source, const std::wstring& target)
{
    // The target comes from a command line anyone can write: never overwrite what is not an
    // installed program, and never the program itself.
    if (!IsReplaceableProgram(source, target))
    {
        GetLog(true) << L"ERROR: " << L"Not installing over " << target;
        return false;
    }
    const std::string program = ReadProgram(source);
    if (program.size() < 2 || program.compare(0, 2, "MZ") != 0)
    {
        GetLog(true) << L"ERROR: " << L"Failed to read the new program " << source << L": " << GetLastError();
        return false;
    }
    // Written beside the old program first: a disk that fills up or a folder that cannot be written
    // leaves the old program as it was.
    const std::wstring written = WriteBesideUnderNameOfItsOwn(target, program);
    if (written.empty())
    {
        GetLog(true) << L"ERROR: " << L"Failed to write the new program beside " << target << L": " << GetLastError();
        return false;
    }
    for (int attempt = 1;; ++attempt)
    {
        const DWORD error = MoveOverWhenFree(written, target);
        if (error == ERROR_SUCCESS)
            return true;
        // Anything but the old program still running (a folder or file that may not be written, a
        // full disk) will not pass by waiting.
        if (!IsHeldByAnother(error) || attempt == InstallTries)
        {
            DeleteFileW(written.c_str());
            GetLog(true) << L"ERROR: " << L"Failed to install over " << target << L": " << error;
            return false;
        }
        InstallRetryPause(1000);
    }
}

void InstallSelfCopyFrom(const std::wstring& source, const std::wstring& target, const std::wstring& version)
{
    if (!IsReplaceableProgram(source, target))
    {
        GetLog(true) << L"ERROR: " << L"Not installing over " << target;
        return;
    }
    if (ReplaceProgramFile(source, target))
    {
        LaunchProcess(target, L"/showUpdateInfo " + version);
        return;
    }
    // The old program is still whole: the user gets it back rather than no program at all.
    GetLog(true) << L"Starting the old program again: " << target;
    if (!LaunchProcess(target, L""))
        GetLog(true) << L"ERROR: " << L"Failed to start " << target << L": " << GetLastError();
}

void InstallSelfCopy(const std::wstring& target, const std::wstring& version)
{
    InstallSelfCopyFrom(GetProgramPath(), target, version);
}
