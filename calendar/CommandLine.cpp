#include "calendar/CommandLine.h"

#include "framework/files/Files.h"
#include "update/SelfInstall.h"

#include <windows.h>

namespace
{
std::wstring FullPath(const std::wstring& path)
{
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    full.resize(written < length ? written : 0);
    return full.empty() ? path : full;
}

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring FileName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool IsExistingProgramFile(const std::wstring& path)
{
    const std::wstring name = FileName(path);
    if (name.size() <= 4 || !EqualsIgnoringCase(name.substr(name.size() - 4), L".exe"))
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

bool ParseProgramPath(const std::wstring& commandLine, std::wstring& path)
{
    if (commandLine.empty())
        return false;
    if (commandLine.front() != L'"')
    {
        path = commandLine;
        return true;
    }
    if (commandLine.size() < 2 || commandLine.back() != L'"')
        return false;
    path = commandLine.substr(1, commandLine.size() - 2);
    return true;
}

LumdayCommand ParseCommandLine(const std::wstring& commandLine, const std::wstring& runningProgram)
{
    LumdayCommand command;
    if (commandLine == ShowUpdateInfoArgument)
    {
        command.showUpdateInfo = true;
        return command;
    }
    if (commandLine.empty() || commandLine.front() == L'/')
        return command;
    std::wstring target;
    if (!ParseProgramPath(commandLine, target))
        return command;
    if (!EqualsIgnoringCase(FileName(runningProgram), L"lumday1.exe"))
        return command;
    if (!IsExistingProgramFile(target) || EqualsIgnoringCase(FullPath(target), FullPath(runningProgram)))
        return command;
    command.kind = LumdayCommand::Install;
    command.target = target;
    return command;
}
