#include "framework/Owners.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"

#include <utility>

namespace
{
// Whether the file cannot be replaced because another program has it open without letting it be
// deleted: moving a file over it then fails as a denied access, not as a sharing violation.
bool HeldAgainstReplacing(const std::wstring& path)
{
    const Owners::FileHandle file(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && IsHeldByAnotherProgram(GetLastError());
}

void LogHeld(const wchar_t* what, const std::wstring& path, ULONGLONG wait)
{
    if (wait == 0)
        GetLog(true) << what << L" " << path << L" is held by another program; there is no time to wait for it";
    else
        GetLog(true) << what << L" " << path << L" is held by another program; trying again for "
                     << wait / 1000.0 << L" seconds";
}
} // namespace

bool IsHeldByAnotherProgram(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

FileReadResult ReadWholeFileWhenFree(const std::wstring& path, const wchar_t* what, const WholeFileReader& read)
{
    const ULONGLONG start = GetTickCount64();
    FileReadResult file = read(path);
    for (bool logged = false; IsHeldByAnotherProgram(file.error) && GetTickCount64() - start < HeldFileWait;)
    {
        if (!std::exchange(logged, true))
            LogHeld(what, path, HeldFileWait);
        Sleep(HeldFilePause);
        file = read(path);
    }
    return file;
}

bool ReplaceFileContentsWhenFree(const std::wstring& path, const void* bytes, size_t count, const wchar_t* what,
                                 const FileBytesWriter& write, ULONGLONG wait)
{
    // A file marked read-only is not replaced, whatever the file system lets a move do: Windows'
    // own move refuses it so.
    if (const DWORD attributes = GetFileAttributesW(path.c_str());
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const ULONGLONG start = GetTickCount64();
    for (bool logged = false;;)
    {
        if (ReplaceFileContents(path, bytes, count, write))
            return true;
        const DWORD error = GetLastError();
        if (!IsHeldByAnotherProgram(error) && !(error == ERROR_ACCESS_DENIED && HeldAgainstReplacing(path)))
        {
            SetLastError(error);
            return false;
        }
        if (!std::exchange(logged, true))
            LogHeld(what, path, wait);
        if (GetTickCount64() - start >= wait)
        {
            SetLastError(ERROR_SHARING_VIOLATION);
            return false;
        }
        Sleep(HeldFilePause);
    }
}
