#include "import_engine/OneNoteVersion.h"

#include "import_engine/OneNoteCalls.h"

namespace
{
// The process that owns OneNote's current window; empty when OneNote has no window.
Owners::ProcessHandle OpenWindowProcess(ON16::IApplication& application, BusyPatience* patience)
{
    const ON16::WindowsPtr windows = GetWindowsWithRetry(application, patience);
    if (!windows)
        _com_issue_error(E_POINTER);
    const ON16::WindowPtr window = GetCurrentWindowWithRetry(*windows, patience);
    if (!window)
        return {};
    const auto handle =
        reinterpret_cast<HWND>(static_cast<ULONG_PTR>(GetWindowHandleWithRetry(*window, patience) & 0xFFFFFFFF));
    DWORD processId = 0;
    GetWindowThreadProcessId(GetAncestor(handle, GA_ROOT), &processId);
    if (processId == 0)
        return {};
    // A OneNote served in this process (an add-in's host) is read through the pseudo-handle.
    if (processId == GetCurrentProcessId())
        return Owners::ProcessHandle(GetCurrentProcess());
    return Owners::ProcessHandle(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
}
} // namespace

FileVersion GetOneNoteVersion(ON16::IApplication& application, BusyPatience* patience)
{
    Owners::ProcessHandle process = OpenWindowProcess(application, patience);
    if (!process)
        process = FindOneNoteProcess();
    if (!process)
        return std::nullopt;
    wchar_t path[1024] = {};
    DWORD size = 1024;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size))
        return std::nullopt;
    return GetFileVersion(path);
}

bool IsAffectedOneNoteBuild(const FileVersion& version)
{
    if (!version)
        return false;
    const WORD major = HIWORD(version->dwFileVersionMS);
    const WORD build = HIWORD(version->dwFileVersionLS);
    return major == 16 && build >= 16328 && build <= 16614;
}

bool IsAffectedOneNoteVersion(ON16::IApplication& application, BusyPatience* patience)
{
    return IsAffectedOneNoteBuild(GetOneNoteVersion(application, patience));
}
