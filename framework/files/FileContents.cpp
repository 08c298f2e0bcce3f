#include "framework/Owners.h"
#include "framework/files/Files.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>

namespace
{
Owners::FileHandle OpenForReading(const wchar_t* path)
{
    if (!path)
        return Owners::FileHandle();
    return Owners::FileHandle(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Up to count bytes from the current position; fewer at the end of the file. False when a read
// failed (GetLastError tells why).
bool ReadUpTo(HANDLE file, void* target, size_t count, size_t& total)
{
    total = 0;
    while (total < count)
    {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 20));
        DWORD read = 0;
        if (!ReadFile(file, static_cast<char*>(target) + total, chunk, &read, nullptr))
            return false;
        if (read == 0)
            break;
        total += read;
    }
    return true;
}

std::string ReadAll(const wchar_t* path) { return ReadWholeFile(path).bytes; }

// The UTF-16LE characters of bytes, after a leading FF FE mark; an odd last byte is no character.
size_t Utf16Start(const std::string& bytes)
{
    return bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 0;
}

// The file's bytes on the disk itself, not only in the system's cache: a file moved over another
// before that may be empty after a power loss, with the old one gone.
bool FlushToDisk(const wchar_t* path)
{
    const Owners::FileHandle file(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.get());
}
} // namespace

namespace
{
bool WriteBytes(const wchar_t* path, const void* bytes, size_t count, DWORD share, DWORD disposition)
{
    if (!path || (!bytes && count > 0))
        return false;
    Owners::FileHandle file(CreateFileW(path, GENERIC_WRITE, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    size_t total = 0;
    while (total < count)
    {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - total, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.get(), static_cast<const char*>(bytes) + total, chunk, &written, nullptr) || written == 0)
            return false;
        total += written;
    }
    // A disk that fills up or goes away may report it only when the file is closed.
    return CloseHandle(file.release()) != FALSE;
}

std::atomic<unsigned> temporaryFiles{0};

// A name beside path that no other write takes: every instance saves at once at log-off, and
// every thread of one may.
std::wstring TemporaryPathFor(const std::wstring& path)
{
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++temporaryFiles) + L".tmp";
}
} // namespace

bool WriteBytesToFile(const wchar_t* path, const void* bytes, size_t count)
{
    return WriteBytes(path, bytes, count, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, CREATE_ALWAYS);
}

bool WriteBytesToNewFile(const wchar_t* path, const void* bytes, size_t count)
{
    return WriteBytes(path, bytes, count, 0, CREATE_NEW);
}

bool WriteStringToFile(const wchar_t* path, const std::string& bytes)
{
    return WriteBytesToFile(path, bytes.data(), bytes.size());
}

namespace
{
// The number of the process that wrote name, when name is "<file>.<process id>-<count><suffix>".
std::optional<DWORD> WriterOf(const std::wstring& name, const std::wstring& file, const std::wstring& suffix)
{
    const auto equal = [](const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength) {
        return CompareStringOrdinal(a, static_cast<int>(aLength), b, static_cast<int>(bLength), TRUE) == CSTR_EQUAL;
    };
    if (name.size() <= file.size() + suffix.size() + 3 || name[file.size()] != L'.' ||
        !equal(name.c_str(), file.size(), file.c_str(), file.size()) ||
        !equal(name.c_str() + name.size() - suffix.size(), suffix.size(), suffix.c_str(), suffix.size()))
        return std::nullopt;
    const std::wstring middle = name.substr(file.size() + 1, name.size() - file.size() - 1 - suffix.size());
    const size_t dash = middle.find(L'-');
    const auto digits = [](const std::wstring& text) {
        return !text.empty() && text.size() <= 10 &&
               std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    };
    if (dash == std::wstring::npos || !digits(middle.substr(0, dash)) || !digits(middle.substr(dash + 1)))
        return std::nullopt;
    const unsigned long long id = std::stoull(middle.substr(0, dash));
    if (id > MAXDWORD)
        return std::nullopt;
    return static_cast<DWORD>(id);
}

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Whether the process numbered id, which wrote a file made at created, still runs. A number that a
// process started later has taken names a writer that has ended. One that may not be looked into
// is taken to run.
bool WriterRuns(DWORD id, const FILETIME& created)
{
    const Owners::ProcessHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0)
        return false;
    FILETIME started{};
    FILETIME exited{};
    FILETIME kernel{};
    FILETIME user{};
    if (!GetProcessTimes(process.get(), &started, &exited, &kernel, &user))
        return true;
    // The file system's clock may run a little behind the one that stamped the process's start.
    constexpr ULONGLONG Slack = 2ull * 10'000'000ull;
    return Ticks(started) <= Ticks(created) + Slack;
}
} // namespace

void RemovePiecesOfEndedWriters(const std::wstring& path, const std::wstring& suffix)
{
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    const std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
    WIN32_FIND_DATAW found{};
    const Owners::FindHandle search(FindFirstFileW((path + L".*" + suffix).c_str(), &found));
    if (!search)
        return;
    do
    {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::optional<DWORD> writer = WriterOf(found.cFileName, file, suffix);
        if (writer && !WriterRuns(*writer, found.ftCreationTime))
            DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search.get(), &found));
}

bool ReplaceFileContents(const std::wstring& path, const void* bytes, size_t count, const FileBytesWriter& write)
{
    // What saves cut off with their process left goes first. A name that is still there (the same
    // process id and count, left by an earlier process of that number that could not be told from
    // this one) is passed over, never taken.
    RemovePiecesOfEndedWriters(path, L".tmp");
    std::wstring temporary;
    bool written = false;
    for (int attempt = 0; attempt < 100 && !written; ++attempt)
    {
        temporary = TemporaryPathFor(path);
        SetLastError(ERROR_SUCCESS);
        written = write(temporary.c_str(), bytes, count);
        if (!written && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (written && FlushToDisk(temporary.c_str()) &&
        MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DWORD error = GetLastError();
    if (error == ERROR_SUCCESS)
        error = ERROR_WRITE_FAULT;
    if (error != ERROR_FILE_EXISTS)
        DeleteFileW(temporary.c_str());
    SetLastError(error);
    return false;
}

std::wstring ReadTextFile(const wchar_t* path) { return Utf16Text(ReadAll(path)); }

_bstr_t ReadTextFileToBstr(const wchar_t* path)
{
    const std::string bytes = ReadAll(path);
    const size_t start = Utf16Start(bytes);
    const size_t characters = (bytes.size() - start) / 2;
    if (bytes.empty())
        return _bstr_t();
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(characters));
    if (!text)
        _com_issue_error(E_OUTOFMEMORY);
    std::memcpy(text, bytes.data() + start, characters * sizeof(wchar_t));
    return _bstr_t(text, false);
}

std::string ReadFileBytes(const wchar_t* path)
{
    std::string bytes = ReadAll(path);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    return bytes;
}

namespace
{
bool IsUtf8Start(const unsigned char* start, size_t read)
{
    if (read >= 3 && start[0] == 0xEF && start[1] == 0xBB && start[2] == 0xBF)
        return true;
    // A single byte cannot be UTF-16; two zero-free bytes other than the UTF-16 mark are not either.
    if (read == 1)
        return start[0] != 0;
    return read >= 2 && start[0] != 0 && start[1] != 0 && !(start[0] == 0xFF && start[1] == 0xFE);
}
} // namespace

bool IsUtf8File(const wchar_t* path)
{
    const Owners::FileHandle file = OpenForReading(path);
    if (!file)
        return false;
    unsigned char start[3] = {};
    size_t read = 0;
    ReadUpTo(file.get(), start, 3, read);
    return IsUtf8Start(start, read);
}

bool IsUtf8Text(const std::string& bytes)
{
    return IsUtf8Start(reinterpret_cast<const unsigned char*>(bytes.data()), std::min<size_t>(bytes.size(), 3));
}

std::wstring Utf16Text(const std::string& bytes)
{
    const size_t start = Utf16Start(bytes);
    std::wstring text((bytes.size() - start) / 2, L'\0');
    std::memcpy(text.data(), bytes.data() + start, text.size() * sizeof(wchar_t));
    return text;
}

FileReadResult ReadWholeFile(const wchar_t* path)
{
    FileReadResult result;
    const Owners::FileHandle file = OpenForReading(path);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size))
    {
        result.error = path ? GetLastError() : ERROR_INVALID_PARAMETER;
        if (result.error == ERROR_SUCCESS)
            result.error = ERROR_READ_FAULT;
        return result;
    }
    if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX / 2)
    {
        result.error = ERROR_FILE_TOO_LARGE;
        return result;
    }
    result.bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t read = 0;
    if (!ReadUpTo(file.get(), result.bytes.data(), result.bytes.size(), read))
    {
        result.error = GetLastError() == ERROR_SUCCESS ? ERROR_READ_FAULT : GetLastError();
        result.bytes.clear();
        return result;
    }
    // A file that grew shorter meanwhile ends where it now ends.
    result.bytes.resize(read);
    return result;
}

bool FileExists(const wchar_t* path) { return static_cast<bool>(OpenForReading(path)); }
