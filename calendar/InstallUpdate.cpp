#include "calendar/InstallUpdate.h"

#include "update/Update.h"

bool InstallUpdate(const std::wstring& target)
{
    return InstallProgramOver(GetProgramPath(), target, ShowUpdateInfoArgument);
}
