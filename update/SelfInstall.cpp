#include "update/SelfInstall.h"

#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "update/HttpResponse.h"
#include "update/ProgramFile.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstring>
#include <cwchar>
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
            WaitForSingleObject(processHandle.get(), 10000);
            throw;
        }
        if (!go)
        {
            // Ended, not only told to end: its file is free for the caller to remove.
            TerminateProcess(processHandle.get(), ERROR_CANCELLED);
            WaitForSingleObject(processHandle.get(), 10000);
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

std::wstring ProgramProductName(const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return {};
    // The strings of the block's first language and code page.
    void* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &length) || !translations ||
        length < 2 * sizeof(WORD))
        return {};
    WORD translation[2] = {};
    std::memcpy(translation, translations, sizeof translation);
    wchar_t key[64] = {};
    swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", translation[0], translation[1]);
    void* name = nullptr;
    if (!VerQueryValueW(block.data(), key, &name, &length) || !name || length == 0)
        return {};
    return std::wstring(static_cast<const wchar_t*>(name), wcsnlen(static_cast<const wchar_t*>(name), length));
}

namespace
{
// The old program lets go of its file only once it has ended, and until then no one may replace it
// (Windows refuses to replace a running program): while the file is held without letting others
// write, the install waits.
bool IsHeldByAnother(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// The target's product name, looked for again once a second (InstallRetryPause) as long as another
// holds the file without letting it be read, up to InstallTries times.
std::wstring TargetProductName(const std::wstring& target)
{
    for (int attempt = 1;; ++attempt)
    {
        const Owners::FileHandle reader(CreateFileW(target.c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                    OPEN_EXISTING, 0, nullptr));
        if (reader || !IsHeldByAnother(GetLastError()) || attempt == InstallTries)
            return ProgramProductName(target);
        InstallRetryPause(1000);
    }
}
} // namespace

bool IsReplaceableProgram(const std::wstring& source, const std::wstring& target)
{
    if (!IsProgramFile(target) || SamePath(source, target))
        return false;
    // Only a program of the same product: whatever other program the target names stays as it is.
    const std::wstring product = ProgramProductName(source);
    return !product.empty() && TargetProductName(target) == product;
}

namespace
{
std::string ReadProgram(const std::wstring& path)
{
    Owners::FileHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        static_cast<uint64_t>(size.QuadPart) > LargestProgramSize)
        return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        return {};
    return bytes;
}

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

namespace
{
enum class Replacement
{
    Done,
    // Target is as it was, and the old program has ended, or never ran.
    Failed,
    // Target is as it was, and the old program still runs.
    OldProgramRuns,
};

bool HasEnded(HANDLE old, DWORD milliseconds)
{
    if (!old)
        return true;
    return WaitForSingleObject(old, milliseconds) == WAIT_OBJECT_0;
}

// Puts source in place of target (see InstallProgramOver). old is the old program that started this
// one (null when none did), opened by the caller, so that the install waits for it once, however the
// replacement goes.
Replacement Replace(const std::wstring& source, const std::wstring& target, HANDLE old)
{
    const std::string program = ReadProgram(source);
    if (program.size() < 2 || program.compare(0, 2, "MZ") != 0)
    {
        GetLog(true) << L"ERROR: " << L"Failed to read the new program " << source << L": " << GetLastError();
        return Replacement::Failed;
    }
    // Written beside the old program first: a disk that fills up or a folder that cannot be written
    // leaves the old program as it was.
    const std::wstring written = WriteBesideUnderNameOfItsOwn(target, program);
    if (written.empty())
    {
        GetLog(true) << L"ERROR: " << L"Failed to write the new program beside " << target << L": " << GetLastError();
        return Replacement::Failed;
    }
    // Its window may be gone long before the old program ends (it finishes its background work
    // first), and a file replaced under a running program would start beside it.
    if (old)
        GetLog(true) << L"Waiting for the old program to end: " << target;
    if (!HasEnded(old, OldProgramEndWait))
    {
        DeleteFileW(written.c_str());
        GetLog(true) << L"ERROR: " << L"The old program did not end within " << OldProgramEndWait / 1000 << L" seconds: "
                     << target;
        return Replacement::OldProgramRuns;
    }
    for (int attempt = 1;; ++attempt)
    {
        const DWORD error = MoveOverWhenFree(written, target);
        if (error == ERROR_SUCCESS)
            return Replacement::Done;
        // Anything but the old program still running (a folder or file that may not be written, a
        // full disk) will not pass by waiting.
        if (!IsHeldByAnother(error) || attempt == InstallTries)
        {
            DeleteFileW(written.c_str());
            GetLog(true) << L"ERROR: " << L"Failed to install over " << target << L": " << error;
            return Replacement::Failed;
        }
        InstallRetryPause(1000);
    }
}
} // namespace

bool InstallProgramOver(const std::wstring& source, const std::wstring& target, const std::wstring& restartArguments)
{
    // The target comes from a command line anyone can write: never overwrite what is not an
    // installed program of this product, and never the program itself.
    if (!IsReplaceableProgram(source, target))
    {
        GetLog(true) << L"ERROR: " << L"Not installing over " << target;
        return false;
    }
    // Looked up at once, while the old program surely is the process that started this one.
    const Owners::ProcessHandle old = OpenStartingProgram(target);
    const Replacement replacement = Replace(source, target, old.get());
    if (replacement == Replacement::Done)
    {
        GetLog(true) << L"Installed the update over " << target;
        if (LaunchProcess(target, restartArguments))
            return true;
        GetLog(true) << L"ERROR: " << L"Failed to start " << target << L": " << GetLastError();
        return false;
    }
    // A program started beside the old one would find its window and end (single instance), or
    // check for updates before the old one has saved that it just did, and install again.
    if (replacement == Replacement::OldProgramRuns || !HasEnded(old.get(), OldProgramEndWait))
    {
        GetLog(true) << L"ERROR: " << L"The old program still runs; nothing is started: " << target;
        return false;
    }
    // The old program is still whole: the user gets it back rather than no program at all, told
    // not to install the update that has just failed.
    GetLog(true) << L"Starting the old program again: " << target;
    if (!LaunchProcess(target, UpdateNotInstalledArgument))
        GetLog(true) << L"ERROR: " << L"Failed to start " << target << L": " << GetLastError();
    return false;
}

void InstallSelfCopyFrom(const std::wstring& source, const std::wstring& target, const std::wstring& version)
{
    InstallProgramOver(source, target, std::wstring(ShowUpdateInfoArgument) + L" " + version);
}

void InstallSelfCopy(const std::wstring& target, const std::wstring& version)
{
    InstallSelfCopyFrom(GetProgramPath(), target, version);
}

namespace
{
// Whether an install started this program: only an install gives it these first arguments.
bool StartedByAnInstall()
{
    int count = 0;
    const Owners::LocalMemory vector(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!vector || count < 2)
        return false;
    const std::wstring first = static_cast<wchar_t* const*>(vector.get())[1];
    return first == ShowUpdateInfoArgument || first == UpdateNotInstalledArgument;
}
} // namespace

void RemoveUpdateLeftovers(const std::wstring& downloadedProgram)
{
    // A file of that name is an update's on the start that the install which ran it made, and is
    // not needed after it; any other time it may be the user's, such as a download of the program
    // by hand. The install may still be ending, and cannot be removed while it runs.
    if (!downloadedProgram.empty() && StartedByAnInstall() &&
        GetFileAttributesW(downloadedProgram.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !SameFile(downloadedProgram, GetProgramPath()))
    {
        if (const Owners::ProcessHandle installer = OpenStartingProgram(downloadedProgram))
            WaitForSingleObject(installer.get(), 10000);
        if (DeleteFileW(downloadedProgram.c_str()))
            GetLog(true) << L"Removed the downloaded update " << downloadedProgram;
    }
    // The pieces of downloads and installs that were cut off; one whose download or install still
    // runs (waiting for the old program to end) stays.
    if (!downloadedProgram.empty())
        RemovePiecesOfEndedWriters(downloadedProgram, L".partial");
    RemovePiecesOfEndedWriters(GetProgramPath(), L".partial");
}
