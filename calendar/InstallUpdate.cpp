#include "calendar/InstallUpdate.h"

#include "calendar/CommandLine.h"
#include "framework/Owners.h"
#include "framework/log/Log.h"

#include <windows.h>

bool StartProgram(const std::wstring& program, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
    {
        GetLog(true) << L"ERROR: Starting " << program << L" failed (error " << GetLastError() << L")";
        return false;
    }
    Owners::KernelHandle thread(process.hThread);
    Owners::KernelHandle started(process.hProcess);
    return true;
}

bool InstallUpdate(const std::wstring& target, const std::function<void(unsigned)>& sleep)
{
    const std::wstring self = GetProgramPath();
    for (int attempt = 0; attempt < 1000; ++attempt)
    {
        if (CopyFileW(self.c_str(), target.c_str(), FALSE))
        {
            GetLog(true) << L"Installed the update over " << target;
            return StartProgram(target, L"/showUpdateInfo");
        }
        // The old program has not ended yet.
        if (sleep)
            sleep(1000);
        else
            Sleep(1000);
    }
    GetLog(true) << L"ERROR: The update could not replace " << target;
    return false;
}
