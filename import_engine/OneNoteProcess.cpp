#include "import_engine/OneNoteVersion.h"

#include "framework/log/Log.h"

#include <comdef.h>
#include <psapi.h>
#include <shlwapi.h>

#include <cwctype>

namespace
{
// The lower-case file name of a process's executable; empty when it cannot be read.
std::wstring ExecutableName(HANDLE process)
{
    wchar_t image[1024] = {};
    if (K32GetProcessImageFileNameW(process, image, 1024) == 0)
        return {};
    std::wstring name = PathFindFileNameW(image);
    for (auto& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    return name;
}
} // namespace

Owners::ProcessHandle FindOneNoteProcess()
{
    GetLog(true) << L"Checking if OneNote is running";
    DWORD ids[1024] = {};
    DWORD bytes = 0;
    if (!K32EnumProcesses(ids, sizeof ids, &bytes))
    {
        const DWORD error = GetLastError();
        GetLog(true) << L"ERROR: " << L"Failed to get list of processes: " << error;
        _com_issue_error(E_UNEXPECTED);
    }
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i)
    {
        Owners::ProcessHandle process(
            OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE, FALSE, ids[i]));
        if (!process)
            continue;
        // The whole name: a program whose name only ends the same way is not OneNote.
        const std::wstring name = ExecutableName(process.get());
        if (name == L"onenote.exe")
        {
            GetLog(true) << L"Found process '" << name << L"'";
            return process;
        }
    }
    return {};
}
