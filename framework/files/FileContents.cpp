#include "framework/Owners.h"
#include "framework/files/Files.h"

#include <algorithm>
#include <atomic>
#include <cstring>

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

bool ReplaceFileContents(const std::wstring& path, const void* bytes, size_t count, const FileBytesWriter& write)
{
    // A name that a write which never ended left behind (the same process id and count) is passed
    // over, never taken or removed.
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
