#include "batch_import/Workspace.h"

#include "batch_import/SettingsFile.h"
#include "batch_import/WorkspaceConversion.h"
#include "framework/ScopeExit.h"
#include "framework/log/Log.h"

#include <windows.h>

#include <comdef.h>

#include <memory>
#include <utility>

namespace
{
// Seven days, in the 100-nanosecond steps of a FILETIME.
constexpr ULONGLONG UpdateCheckInterval = 604800ull * 10'000'000ull;

ULONGLONG Ticks(const FILETIME& time) { return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

SYSTEMTIME Now()
{
    SYSTEMTIME now{};
    GetSystemTime(&now);
    now.wMilliseconds = 0;
    return now;
}

// Whether the check stamped at last is at least a week old. A stamp that is no valid time is as
// old as can be, and so is one later than now: a clock that was wrong once would silence the checks
// until that day.
bool IsUpdateCheckDue(const SYSTEMTIME& last)
{
    FILETIME lastTime{};
    if (!SystemTimeToFileTime(&last, &lastTime))
        return true;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return Ticks(lastTime) > Ticks(now) || Ticks(lastTime) + UpdateCheckInterval < Ticks(now);
}

// The hierarchy kinds of a picked target that decide whether a new page or section is made.
constexpr int SectionTarget = 4;
constexpr int PageTarget = 8;
} // namespace

Workspace::Workspace(std::optional<Importer::Settings> settings)
    : settings_(settings ? std::move(*settings) : Importer::Settings()), config_(LoadWorkspaceConfig(settings_))
{
}

void Workspace::Load()
{
    if (!settings_.lastConfig)
    {
        config_.importFormat.fileAttachment = true;
        config_.importFormat.fileContent = false;
        config_.importFormat.originalPath = Config::NoOriginalPath;
        config_.outputFormat = Config::InsertAllFilesIntoASinglePage;
    }
    if (config_.outputFormat < 0 || config_.outputFormat > 2)
        config_.outputFormat = Config::InsertAllFilesIntoASinglePage;
    SetOutputFormat(config_.outputFormat);
}

std::wstring Workspace::Save(ULONGLONG heldFileWait)
{
    GetLog(true) << L"Saving workspace";
    StoreWorkspaceConfig(settings_, config_);
    // The file written holds every change made so far, so none is left unsaved once it is there;
    // a save that fails leaves them unsaved.
    const bool changed = settings_.dirty;
    settings_.dirty = false;
    ScopeExit unsaved([this, changed] { settings_.dirty = changed; });
    if (SaveSettingsFile(settings_, heldFileWait))
    {
        unsaved.Dismiss();
        return {};
    }
    const DWORD error = GetLastError();
    std::wstring path;
    try
    {
        path = GetSettingsPath();
    }
    catch (const _com_error&)
    {
        // Settings whose folder was never found are not written, and the start said so.
        return {};
    }
    return SettingsNotSavedNotice(path, error);
}

void Workspace::ToggleFileAttachment() { config_.importFormat.fileAttachment = !config_.importFormat.fileAttachment; }

void Workspace::ToggleFileContent() { config_.importFormat.fileContent = !config_.importFormat.fileContent; }

void Workspace::SetOriginalPathReference(int mode) { config_.importFormat.originalPath = mode; }

void Workspace::SetOutputFormat(int format)
{
    config_.outputFormat = format;
    const int target = TargetKind();
    config_.createNew = format == 0 ? target != PageTarget : target != SectionTarget && target != PageTarget;
}

int Workspace::TargetKind() const { return settings_.lastConfig ? settings_.lastConfig->targetType : 0; }

const std::wstring& Workspace::TargetName() const
{
    static const std::wstring none;
    return settings_.lastConfig ? settings_.lastConfig->targetName : none;
}

void Workspace::SetTarget(int kind, const std::wstring& name, const std::wstring& link)
{
    config_.location = link;
    if (!settings_.lastConfig)
        settings_.lastConfig = std::make_shared<Importer::SHFN_LastConfig>();
    settings_.lastConfig->targetName = name;
    settings_.lastConfig->targetType = kind;
    SetOutputFormat(config_.outputFormat);
}

void Workspace::SetTargetId(const std::wstring& id) { config_.locationId = id; }

bool Workspace::TakeUpdateCheckIfDue()
{
    if (!settings_.lastUpdateCheck)
    {
        settings_.lastUpdateCheck = Now();
        return false;
    }
    if (!IsUpdateCheckDue(*settings_.lastUpdateCheck))
        return false;
    settings_.lastUpdateCheck = Now();
    return true;
}
