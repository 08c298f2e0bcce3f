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

void LogHeld(const wchar_t* what, const std::wstring& path)
{
    GetLog(true) << what << L" " << path << L" is held by another program; trying again for "
                 << HeldFileWait / 1000 << L" seconds";
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
            LogHeld(what, path);
        Sleep(HeldFilePause);
        file = read(path);
    }
    return file;
}

bool ReplaceFileContentsWhenFree(const std::wstring& path, const void* bytes, size_t count, const wchar_t* what,
                                 const FileBytesWriter& write)
{
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
        if (GetTickCount64() - start >= HeldFileWait)
        {
            SetLastError(ERROR_SHARING_VIOLATION);
            return false;
        }
        if (!std::exchange(logged, true))
            LogHeld(what, path);
        Sleep(HeldFilePause);
    }
}
