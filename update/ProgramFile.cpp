#include "update/ProgramFile.h"

#include "framework/Owners.h"

#include <algorithm>
#include <atomic>

ProgramBytesWriter ProgramFileWriter = [](HANDLE file, const std::string& bytes) {
    size_t total = 0;
    while (total < bytes.size())
    {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - total, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + total, chunk, &written, nullptr))
            return false;
        if (written == 0)
        {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        total += written;
    }
    return true;
};

namespace
{
// Each name is tried with CREATE_NEW, so a name that another writer took is never shared.
std::wstring CandidateName(const std::wstring& path)
{
    static std::atomic<unsigned> counter{0};
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".partial";
}
} // namespace

std::wstring WriteBesideUnderNameOfItsOwn(const std::wstring& path, const std::string& bytes)
{
    std::wstring name;
    Owners::FileHandle file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt)
    {
        name = CandidateName(path);
        file.reset(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
    if (!file)
        return {};
    SetLastError(ERROR_SUCCESS);
    // A disk that fills up may tell only when the data goes out, or when the file is closed.
    bool whole = ProgramFileWriter(file.get(), bytes) && FlushFileBuffers(file.get());
    DWORD error = GetLastError();
    if (!CloseHandle(file.release()) && whole)
    {
        whole = false;
        error = GetLastError();
    }
    if (whole)
        return name;
    DeleteFileW(name.c_str());
    SetLastError(error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error);
    return {};
}

bool MoveOver(const std::wstring& written, const std::wstring& path)
{
    return MoveFileExW(written.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

DWORD CheckProgramReplaceable(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError();
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return ERROR_ACCESS_DENIED;
    // The move that puts the new program in place removes this one: a program the user may not
    // remove (its access list, one that another program holds without letting it go) refuses this
    // open as it would refuse the move. A program that runs opens so all the same: Windows shares
    // its file for removal.
    if (const Owners::FileHandle program(CreateFileW(path.c_str(), DELETE,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                     OPEN_EXISTING, 0, nullptr));
        !program)
        return GetLastError();
    return CheckWritableBeside(path);
}

DWORD CheckWritableBeside(const std::wstring& path)
{
    // Under the name a write beside it takes, so that a trial cut off with its process goes with the
    // pieces of ended writers.
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const std::wstring name = CandidateName(path);
        const Owners::FileHandle trial(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (trial)
            return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return error;
    }
    return ERROR_FILE_EXISTS;
}
