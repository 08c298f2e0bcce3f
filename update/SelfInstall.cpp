#include "update/SelfInstall.h"

#include "framework/Owners.h"
#include "framework/log/Log.h"
#include "update/ProgramFile.h"

#include <tlhelp32.h>

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

// The same file under any spelling of its path: its volume and file index.
bool SameFile(const std::wstring& a, const std::wstring& b)
{
    const auto identity = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
        const Owners::FileHandle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return file && GetFileInformationByHandle(file.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    if (!identity(a, first) || !identity(b, second))
        return SamePath(a, b);
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

DWORD ParentProcessId()
{
    const Owners::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID == GetCurrentProcessId())
            return entry.th32ParentProcessID;
    return 0;
}

ULONGLONG CreationTime(HANDLE process)
{
    FILETIME created{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}
} // namespace

Owners::ProcessHandle OpenStartingProgram(const std::wstring& program)
{
    // The program that hands over starts this one: its process is this one's parent, and no
    // argument has to name it, so that every older program's command line still serves.
    const DWORD id = ParentProcessId();
    if (id == 0)
        return {};
    Owners::ProcessHandle parent(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!parent)
        return {};
    // A parent that has ended may have left its number to a process started later, and one started
    // by hand (from a folder window) runs another program: neither is waited for.
    const ULONGLONG parentCreated = CreationTime(parent.get());
    if (parentCreated == 0 || parentCreated > CreationTime(GetCurrentProcess()))
        return {};
    std::vector<wchar_t> image(1024);
    DWORD length = static_cast<DWORD>(image.size());
    if (!QueryFullProcessImageNameW(parent.get(), 0, image.data(), &length) ||
        !SameFile(std::wstring(image.data(), length), program))
        return {};
    return parent;
}

bool WaitForOldProgramToEnd(const std::wstring& target, DWORD milliseconds)
{
    const Owners::ProcessHandle old = OpenStartingProgram(target);
    if (!old)
        return true;
    GetLog(true) << L"Waiting for the old program to end: " << target;
    return WaitForSingleObject(old.get(), milliseconds) == WAIT_OBJECT_0;
}

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
    // Its window may be gone long before the old program ends (it finishes its background work
    // first), and a file replaced under a running program would start beside it.
    if (!WaitForOldProgramToEnd(target, OldProgramEndWait))
    {
        DeleteFileW(written.c_str());
        GetLog(true) << L"ERROR: " << L"The old program did not end within " << OldProgramEndWait / 1000 << L" seconds: "
                     << target;
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

bool InstallProgramOver(const std::wstring& source, const std::wstring& target, const std::wstring& restartArguments)
{
    if (!IsReplaceableProgram(source, target))
    {
        GetLog(true) << L"ERROR: " << L"Not installing over " << target;
        return false;
    }
    if (ReplaceProgramFile(source, target))
    {
        GetLog(true) << L"Installed the update over " << target;
        if (LaunchProcess(target, restartArguments))
            return true;
        GetLog(true) << L"ERROR: " << L"Failed to start " << target << L": " << GetLastError();
        return false;
    }
    // The old program is still whole: the user gets it back rather than no program at all.
    GetLog(true) << L"Starting the old program again: " << target;
    if (!LaunchProcess(target, L""))
        GetLog(true) << L"ERROR: " << L"Failed to start " << target << L": " << GetLastError();
    return false;
}

void InstallSelfCopyFrom(const std::wstring& source, const std::wstring& target, const std::wstring& version)
{
    InstallProgramOver(source, target, L"/showUpdateInfo " + version);
}

void InstallSelfCopy(const std::wstring& target, const std::wstring& version)
{
    InstallSelfCopyFrom(GetProgramPath(), target, version);
}

void RemoveUpdateLeftovers(const std::wstring& downloadedProgram)
{
    // Most starts find no downloaded program: only then are the processes looked through.
    if (GetFileAttributesW(downloadedProgram.c_str()) != INVALID_FILE_ATTRIBUTES)
    {
        // Right after an install the program that installed this one may still be ending: it cannot
        // be removed while it runs.
        if (const Owners::ProcessHandle installer = OpenStartingProgram(downloadedProgram))
            WaitForSingleObject(installer.get(), 10000);
        // A downloaded program started by hand is the running one, which stays.
        if (!SameFile(downloadedProgram, GetProgramPath()) && DeleteFileW(downloadedProgram.c_str()))
            GetLog(true) << L"Removed the downloaded update " << downloadedProgram;
    }
    // The pieces of downloads and installs that were cut off. One that a download or an install
    // still writes is open without sharing, and stays.
    for (const std::wstring& program : {downloadedProgram, GetProgramPath()})
    {
        const size_t slash = program.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? std::wstring() : program.substr(0, slash + 1);
        WIN32_FIND_DATAW found{};
        const Owners::FindHandle search(FindFirstFileW((program + L".*.partial").c_str(), &found));
        if (!search)
            continue;
        do
        {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder + found.cFileName).c_str());
        } while (FindNextFileW(search.get(), &found));
    }
}
