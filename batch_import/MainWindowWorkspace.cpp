// The main window's side of the workspace: the settings file shown in the controls at start and
// written back, the switches of the Settings menu, and the weekly update check.

#include "batch_import/MainWindow.h"

#include "batch_import/SettingsFile.h"
#include "batch_import/WorkspaceConversion.h"
#include "framework/ScopeExit.h"
#include "framework/log/Log.h"
#include "update/Update.h"

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
// old as can be.
bool IsUpdateCheckDue(const SYSTEMTIME& last)
{
    FILETIME lastTime{};
    if (!SystemTimeToFileTime(&last, &lastTime))
        return true;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return Ticks(lastTime) + UpdateCheckInterval < Ticks(now);
}

// The hierarchy kinds of a picked target that decide whether a new page or section is made.
constexpr int SectionTarget = 4;
constexpr int PageTarget = 8;
} // namespace

void MainWindow::LoadWorkspace()
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
    ApplySettingsToControls();
    SetFileListView(settings_.view.fileList, false);
    fileList_->Reload();
    if (!config_.location.empty() && settings_.lastConfig)
        UpdateTargetLabel(settings_.lastConfig->targetType, settings_.lastConfig->targetName, config_.location);
    else
        UpdateTargetLabel(0, L"", L"");
    ShowPlaceholder(config_.entries.empty());
    SetWindowTitle();
    EnableControls();
    HideRunControls();
    Relayout();
    StartUpdateCheckIfDue();
    GetLog(true) << L"Loaded workspace";
}

void MainWindow::ApplySettingsToControls()
{
    ApplyTheme(true);
    const Config::ImportFormat& format = config_.importFormat;
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
    {
        SetMenuItemChecked(menu->second, Command::FileAttachment, format.fileAttachment, false);
        SetMenuItemChecked(menu->second, Command::FileContent, format.fileContent, false);
        SetMenuItemChecked(menu->second, Command::PathAsText, format.originalPath == Config::PlainTextPath, false);
        SetMenuItemChecked(menu->second, Command::PathAsLink, format.originalPath == Config::HyperlinkPath, false);
    }
    attachment_->SetChecked(format.fileAttachment);
    content_->SetChecked(format.fileContent);
    originalPath_->SetChecked(format.originalPath != Config::NoOriginalPath);
    pathKind_->SetSelection(format.originalPath == Config::HyperlinkPath ? 1 : 0);
    pathKind_->Enable(format.originalPath != Config::NoOriginalPath);
    SetOutputFormat(config_.outputFormat);
    SetFileListView(settings_.view.fileList, true);
}

void MainWindow::SaveWorkspace()
{
    GetLog(true) << L"Saving workspace";
    StoreWorkspaceConfig(settings_, config_);
    // The file written holds every change made so far, so none is left unsaved once it is there;
    // a save that fails leaves them unsaved.
    const bool changed = settings_.dirty;
    settings_.dirty = false;
    ScopeExit unsaved([this, changed] { settings_.dirty = changed; });
    if (SaveSettingsFile(settings_))
        unsaved.Dismiss();
}

bool MainWindow::ToggleFileAttachment()
{
    config_.importFormat.fileAttachment = !config_.importFormat.fileAttachment;
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
        SetMenuItemChecked(menu->second, Command::FileAttachment, config_.importFormat.fileAttachment, false);
    attachment_->SetChecked(config_.importFormat.fileAttachment);
    EnableControls();
    return true;
}

bool MainWindow::ToggleFileContent()
{
    config_.importFormat.fileContent = !config_.importFormat.fileContent;
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
        SetMenuItemChecked(menu->second, Command::FileContent, config_.importFormat.fileContent, false);
    content_->SetChecked(config_.importFormat.fileContent);
    EnableControls();
    return true;
}

bool MainWindow::SetOriginalPathReference(int mode)
{
    config_.importFormat.originalPath = mode;
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
    {
        SetMenuItemChecked(menu->second, Command::PathAsText, mode == Config::PlainTextPath, false);
        SetMenuItemChecked(menu->second, Command::PathAsLink, mode == Config::HyperlinkPath, false);
    }
    originalPath_->SetChecked(mode != Config::NoOriginalPath);
    pathKind_->Enable(mode != Config::NoOriginalPath);
    if (mode != Config::NoOriginalPath)
        pathKind_->SetSelection(mode == Config::PlainTextPath ? 0 : 1);
    EnableControls();
    return true;
}

bool MainWindow::SetOutputFormat(int format)
{
    config_.outputFormat = format;
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
    {
        SetMenuItemChecked(menu->second, Command::SinglePage, format == 0, true);
        SetMenuItemChecked(menu->second, Command::PagePerFile, format == 1, true);
        SetMenuItemChecked(menu->second, Command::PagePerPrintoutPage, format == 2, true);
    }
    singlePage_->SetChecked(format == 0);
    pagePerFile_->SetChecked(format == 1);
    pagePerPrintoutPage_->SetChecked(format == 2);
    const int target = settings_.lastConfig ? settings_.lastConfig->targetType : 0;
    config_.createNew = format == 0 ? target != PageTarget : target != SectionTarget && target != PageTarget;
    return true;
}

int MainWindow::PathKindShown() const
{
    return pathKind_->GetSelection() == 0 ? Config::PlainTextPath : Config::HyperlinkPath;
}

void MainWindow::UpdateTargetLabel(int kind, const std::wstring& name, const std::wstring& link)
{
    if (kind == 0)
    {
        targetLabel_->SetText(L"");
        targetLabel_->visible = false;
    }
    else
    {
        const HierarchyObject target{static_cast<ON16::HierarchyElement>(kind), name, link};
        targetLabel_->SetText(TargetLabelMarkup(target));
        targetLabel_->visible = true;
        if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
        {
            SetMenuItemText(menu->second, Command::PickLocation, TargetMenuText(target));
            DrawMenuBar(hwnd_);
        }
        config_.location = link;
        if (!settings_.lastConfig)
            settings_.lastConfig = std::make_shared<Importer::SHFN_LastConfig>();
        settings_.lastConfig->targetName = name;
        settings_.lastConfig->targetType = kind;
    }
    SetOutputFormat(config_.outputFormat);
    Relayout();
}

void MainWindow::StartUpdateCheckIfDue()
{
    if (!settings_.lastUpdateCheck)
    {
        settings_.lastUpdateCheck = Now();
        return;
    }
    if (!IsUpdateCheckDue(*settings_.lastUpdateCheck))
        return;
    // Stamped before it runs, so that a check that fails waits a week like one that succeeds.
    settings_.lastUpdateCheck = Now();
    std::weak_ptr<Window> weak = weak_from_this();
    GetUiChannel().Post([weak] {
        if (const auto window = std::static_pointer_cast<MainWindow>(weak.lock()))
            window->CheckForUpdates();
    });
}

void MainWindow::CheckForUpdates()
{
    GetFromBackground(
        *this,
        [] {
            GetLog(true) << L"Checking for updates";
            return IsNewerVersionAvailable(GetProductName());
        },
        [](MainWindow& window, std::optional<bool> found) {
            if (found && *found)
            {
                GetLog(true) << L"Update found, installing";
                window.InstallUpdates();
            }
            else
                GetLog(true) << L"No updates found";
        });
}

void MainWindow::InstallUpdates()
{
    std::weak_ptr<Window> weak = weak_from_this();
    ::InstallUpdates(hwnd_, [weak] {
        const auto window = std::static_pointer_cast<MainWindow>(weak.lock());
        if (!window || !window->GetHwnd())
            return true;
        // Through the close handler, so that a running import is asked about as at any close; the
        // user who keeps it keeps this program, and the install is called off.
        SendMessageW(window->GetHwnd(), WM_CLOSE, 0, 0);
        return window->GetHwnd() == nullptr;
    });
}
