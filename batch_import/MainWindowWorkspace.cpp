// The main window's side of the workspace: the workspace shown in the controls at start and after
// every change, the switches of the Settings menu, the picked target, and the weekly update check.

#include "batch_import/MainWindow.h"

#include "batch_import/SettingsFile.h"
#include "framework/log/Log.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "update/Update.h"

void MainWindow::LoadWorkspace()
{
    workspace_.Load();
    ApplySettingsToControls();
    SetFileListView(workspace_.FileListView(), false);
    fileList_->Reload();
    const Config& config = workspace_.GetConfig();
    if (!config.location.empty())
        UpdateTargetLabel(workspace_.TargetKind(), workspace_.TargetName(), config.location);
    else
        UpdateTargetLabel(0, L"", L"");
    ShowPlaceholder(config.entries.empty());
    SetWindowTitle();
    EnableControls();
    HideRunControls();
    Relayout();
    StartUpdateCheckIfDue();
    // Told once, over the window once it shows: a session whose settings are not kept would
    // otherwise lose them without a word.
    if (const std::wstring notice = TakeSettingsNotice(); !notice.empty())
    {
        std::weak_ptr<Window> weak = weak_from_this();
        GetUiChannel().Post([weak, notice] {
            if (const auto window = weak.lock(); window && window->GetHwnd())
                ShowErrorMessage(window->GetHwnd(), notice);
        });
    }
    GetLog(true) << L"Loaded workspace";
}

void MainWindow::ApplySettingsToControls()
{
    ApplyTheme(true);
    const Config::ImportFormat& format = workspace_.GetConfig().importFormat;
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
    SetOutputFormat(workspace_.GetConfig().outputFormat);
    SetFileListView(workspace_.FileListView(), true);
}

void MainWindow::SaveWorkspace()
{
    if (const std::wstring notice = workspace_.Save(); !notice.empty())
        ShowErrorMessage(hwnd_, notice);
}

bool MainWindow::ToggleFileAttachment()
{
    workspace_.ToggleFileAttachment();
    const bool attach = workspace_.GetConfig().importFormat.fileAttachment;
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
        SetMenuItemChecked(menu->second, Command::FileAttachment, attach, false);
    attachment_->SetChecked(attach);
    EnableControls();
    return true;
}

bool MainWindow::ToggleFileContent()
{
    workspace_.ToggleFileContent();
    const bool content = workspace_.GetConfig().importFormat.fileContent;
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
        SetMenuItemChecked(menu->second, Command::FileContent, content, false);
    content_->SetChecked(content);
    EnableControls();
    return true;
}

bool MainWindow::SetOriginalPathReference(int mode)
{
    workspace_.SetOriginalPathReference(mode);
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
    workspace_.SetOutputFormat(format);
    if (auto menu = menus_.find(MainMenuId); menu != menus_.end())
    {
        SetMenuItemChecked(menu->second, Command::SinglePage, format == 0, true);
        SetMenuItemChecked(menu->second, Command::PagePerFile, format == 1, true);
        SetMenuItemChecked(menu->second, Command::PagePerPrintoutPage, format == 2, true);
    }
    singlePage_->SetChecked(format == 0);
    pagePerFile_->SetChecked(format == 1);
    pagePerPrintoutPage_->SetChecked(format == 2);
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
        workspace_.SetTarget(kind, name, link);
    }
    SetOutputFormat(workspace_.GetConfig().outputFormat);
    Relayout();
}

void MainWindow::StartUpdateCheckIfDue()
{
    if (!workspace_.TakeUpdateCheckIfDue())
        return;
    std::weak_ptr<Window> weak = weak_from_this();
    GetUiChannel().Post([weak] {
        if (const auto window = std::static_pointer_cast<MainWindow>(weak.lock()))
            window->CheckForUpdates();
    });
}

void MainWindow::CheckForUpdates()
{
    if (!CanCheckForUpdates())
    {
        GetLog(true) << CannotCheckForUpdatesText;
        return;
    }
    GetFromBackground(
        *this,
        [] {
            GetLog(true) << L"Checking for updates";
            return CheckForNewerVersion(GetProductName());
        },
        [](MainWindow& window, std::optional<VersionCheckResult> found) {
            if (!found || !found->updateFound)
                GetLog(true) << L"No updates found";
            // The weekly check stays silent about an update that could not land here: nothing is
            // downloaded and nothing closes, and only the log says why.
            else if (!found->notInstallable.empty())
                GetLog(true) << L"ERROR: " << L"Update found, but not installed: " << found->notInstallable;
            else if (!found->notDownloadable.empty())
                GetLog(true) << L"ERROR: " << L"Update found, but not downloaded: " << found->notDownloadable;
            else
            {
                GetLog(true) << L"Update found, installing";
                window.InstallUpdates();
            }
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
