#include "calendar/SelfUpdate.h"

#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "framework/Owners.h"
#include "framework/com/ErrorMessage.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "update/Update.h"

#include <shellapi.h>

#include <comdef.h>

namespace
{
constexpr const wchar_t* UpdateFileName = L"lumday1.exe";

void OnUpdateProgress(float progress)
{
    GetCalendarState().updateProgress = progress;
    RequestRepaint();
}

DWORD WINAPI UpdateCheckWorker(void*)
{
    {
        const Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
        RunUpdateCheck(CheckForUpdate);
    }
    GetCalendarState().updateRunning = false;
    return 0;
}
} // namespace

void RunUpdateCheck(const std::function<bool(const std::function<void(float)>&)>& check)
{
    try
    {
        if (check(OnUpdateProgress))
            RequestRepaint();
    }
    catch (...)
    {
        // Nothing may leave a thread-pool work item; the update fails silently, and the calendar
        // comes back from its progress with its buttons.
        OnUpdateProgress(0.0f);
    }
}

bool IsUpdateCheckDue(const DateTime& last, const DateTime& now)
{
    // A check stored later than now comes from a clock that was wrong once: waiting for that day
    // would silence the checks for as long.
    return last.time > now.time || now.time >= NextUpdateCheck(last).time;
}

DateTime NextUpdateCheck(const DateTime& last)
{
    // Counted on the local clock, so that a change of daylight saving time moves it by no hour.
    tm next = last.local;
    next.tm_sec += 7 * 24 * 60 * 60;
    next.tm_isdst = -1;
    const __time64_t seconds = _mktime64(&next);
    return seconds == -1 ? last.AddSeconds(7 * 24 * 60 * 60) : DateTime(seconds);
}

std::string RequestLatestVersion() { return GetLatestVersion(GetRunningProduct().name); }

std::wstring DownloadUpdate(const std::function<void(float)>& progress)
{
    const std::wstring path = GetTempFilePath(UpdateFileName);
    // A program left from an earlier update is never started in place of this one.
    DeleteFileW(path.c_str());
    CalendarState& state = GetCalendarState();
    // The calendar stays in use while the bytes arrive: it gives way to the update only once the
    // whole program is here.
    const std::string program =
        RequestProgramFile(GetRunningProduct().updateFileId, [&](uint64_t, uint64_t) { return !state.quitting; });
    // A download stopped by the exit holds only part of the program.
    if (state.quitting)
        _com_issue_error(E_ABORT);
    progress(0.5f);
    WriteProgramFile(path, program);
    progress(1.0f);
    return path;
}

bool StartProgram(const std::wstring& program, const std::wstring& arguments)
{
    if (!LaunchProcess(program, arguments))
    {
        GetLog(true) << L"ERROR: Starting " << program << L" failed (error " << GetLastError() << L")";
        return false;
    }
    GetLog(true) << L"Started " << program << L" " << arguments;
    if (const HWND window = GetCalendarState().mainWindow)
        PostMessageW(window, WM_DESTROY, 0, 0);
    return true;
}

bool CheckForUpdate(const std::function<void(float)>& progress)
{
    CalendarSettings& settings = GetCalendarSettings();
    const DateTime now;
    if (!IsUpdateCheckDue(settings.lastUpdateCheck, now))
        return false;
    // A build without the service's key would ask for nothing it may have: it says so, and the next
    // start says so again.
    if (!CanCheckForUpdates())
    {
        GetLog(true) << CannotCheckForUpdatesText;
        return false;
    }
    // Taken before the request, so that a failed check waits seven days as well.
    settings.lastUpdateCheck = now;
    try
    {
        const std::string latest = RequestLatestVersion();
        GetLog(true) << L"Latest version: " << Utf8ToWide(latest);
        // Any other version is installed (the service decides which one is current), but an empty
        // or garbled answer is no version at all.
        if (!IsOfferedVersion(latest))
            return false;
        // Where the program cannot be replaced, the download would close the calendar for an install
        // that cannot land: nothing is fetched, and only the log says why.
        if (const std::wstring why = WhyUpdateCannotBeInstalled(); !why.empty())
        {
            GetLog(true) << L"ERROR: The update to " << Utf8ToWide(latest) << L" is not installed: " << why;
            return false;
        }
        const std::wstring path = DownloadUpdate(progress);
        if (StartProgram(path, L"\"" + GetProgramPath() + L"\""))
            return true;
        // No install will run it, and no later start takes a file of that name for an update's.
        DeleteFileW(path.c_str());
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: The update failed: " << GetErrorMessage(error);
    }
    // The calendar goes on as it was: no bar of an update that is not coming.
    progress(0.0f);
    return false;
}

void RemoveDownloadedUpdate() { RemoveUpdateLeftovers(GetTempFilePath(UpdateFileName)); }

void StartUpdateCheck()
{
    CalendarState& state = GetCalendarState();
    if (state.updateChecked.exchange(true))
        return;
    // Set before the work is queued, so that an exit right after start-up waits for it.
    state.updateRunning = true;
    if (!QueueUserWorkItem(UpdateCheckWorker, nullptr, WT_EXECUTEDEFAULT))
        state.updateRunning = false;
}

std::wstring GetUpdateInfoAddress()
{
    const ServiceEndpoint service = GetUpdateServiceEndpoint();
    std::wstring address = L"https://" + service.host;
    if (service.port != INTERNET_DEFAULT_HTTPS_PORT)
        address += L":" + std::to_wstring(service.port);
    return address + L"/recordUpdate.php?ver=" + Utf8ToWide(GetRunningProduct().version);
}

void ShowUpdateInfo()
{
    const std::wstring address = GetUpdateInfoAddress();
    GetLog(true) << L"Opening " << address;
    ShellExecuteW(GetCalendarState().mainWindow, nullptr, address.c_str(), nullptr, nullptr, SW_SHOW);
}
