#include "calendar/InstallUpdate.h"

#include "calendar/SelfUpdate.h"
#include "framework/log/Log.h"
#include "update/Update.h"

bool InstallUpdate(const std::wstring& target)
{
    if (!ReplaceProgramFile(GetProgramPath(), target))
        return false;
    GetLog(true) << L"Installed the update over " << target;
    return StartProgram(target, L"/showUpdateInfo");
}
