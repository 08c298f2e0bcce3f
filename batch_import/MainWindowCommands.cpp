// The main window's commands: every id of the command table reaches RunCommand, from the menu, an
// accelerator or a button; and the file list operations they start.

#include "batch_import/MainWindow.h"

#include "batch_import/OptionsDialog.h"
#include "framework/com/ComError.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "framework/ui/controls/Tooltip.h"
#include "framework/ui/dialogs/MessageBox.h"

#include <comdef.h>
#include <shellapi.h>

#include <exception>

namespace
{
const wchar_t* const HelpAddress = L"https://www.quillora.com/how-to/batch-file-import";
const wchar_t* const FeedbackAddress =
    L"mailto:support@quillora.com?subject=Quillora Batch File Import Feedback (v1.3.0)";
} // namespace

LRESULT MainWindow::OnCommand(int id, HWND control, int code, bool& handled)
{
    if (code == CBN_SELCHANGE && pathKind_ && control == pathKind_->GetHwnd())
    {
        handled = true;
        if (!importing_)
            SetOriginalPathReference(pathKind_->GetSelection() == 0 ? Config::PlainTextPath : Config::HyperlinkPath);
        return 0;
    }
    if (control)
    {
        if (code == BN_SETFOCUS || code == BN_KILLFOCUS)
        {
            const NMHDR header = UI::NotificationFromCommand(MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
            if (UI::HandleTooltipNotification(&header))
            {
                handled = true;
                return 1;
            }
            return 0;
        }
        if (code != BN_CLICKED)
            return 0;
    }

    handled = true;
    // What the importing rule turned off stays off until the run has ended, however the command
    // arrives: a theme change would end the window, and the run with it, without asking.
    if (importing_ && IsIdleCommand(static_cast<unsigned>(id)))
        return 0;
    bool refresh = true;
    // A command that fails is told about, and the window with its workspace stays.
    try
    {
        if (RunCommand(static_cast<unsigned>(id), refresh))
            workspace_.MarkChanged();
    }
    catch (const _com_error& error)
    {
        ShowComErrorMessage(hwnd_, error);
    }
    catch (const std::exception& error)
    {
        const std::wstring message = Utf8ToWide(error.what());
        GetLog(true) << L"ERROR: Command " << id << L" failed: " << message;
        ShowErrorMessage(hwnd_, message);
    }
    catch (...)
    {
        GetLog(true) << L"ERROR: Command " << id << L" failed";
        ShowComErrorMessage(hwnd_, _com_error(E_UNEXPECTED));
    }
    if (refresh && !closed_ && !importing_ && hwnd_)
    {
        SetWindowTitle();
        EnableControls();
    }
    return 0;
}

bool MainWindow::RunCommand(unsigned id, bool& refresh)
{
    const Config& config = workspace_.GetConfig();
    switch (id)
    {
    case Command::Exit:
    {
        bool handled = false;
        OnClose(handled);
        return false;
    }
    case Command::AddFiles: return SelectAndAddPaths(false);
    case Command::AddFolders: return SelectAndAddPaths(true);
    case Command::RemoveSelected: return RemoveSelected();
    case Command::SelectAll: fileList_->SelectAll(); return false;
    case Command::MoveUp: return fileList_->MoveSelected(-1);
    case Command::MoveDown: return fileList_->MoveSelected(1);
    case Command::FileAttachment: return ToggleFileAttachment();
    case Command::FileContent: return ToggleFileContent();
    case Command::OriginalPath:
        if (config.importFormat.originalPath == Config::NoOriginalPath)
            return SetOriginalPathReference(PathKindShown());
        return SetOriginalPathReference(Config::NoOriginalPath);
    case Command::PathAsText:
        return SetOriginalPathReference(config.importFormat.originalPath == Config::PlainTextPath ? Config::NoOriginalPath
                                                                                              : Config::PlainTextPath);
    case Command::PathAsLink:
        return SetOriginalPathReference(config.importFormat.originalPath == Config::HyperlinkPath ? Config::NoOriginalPath
                                                                                              : Config::HyperlinkPath);
    case Command::SinglePage: return SetOutputFormat(0);
    case Command::PagePerFile: return SetOutputFormat(1);
    case Command::PagePerPrintoutPage: return SetOutputFormat(2);
    case Command::CheckForUpdates: ShowOptionsDialog(hwnd_, workspace_.GetConfig(), 1); return false;
    case Command::PrintoutOptions:
        ShowOptionsDialog(hwnd_, workspace_.GetConfig(), 0);
        SaveWorkspace();
        return false;
    case Command::ViewHelp:
        ShellExecuteW(hwnd_, nullptr, HelpAddress, nullptr, nullptr, SW_SHOW);
        refresh = false;
        return false;
    case Command::SendFeedback:
        ShellExecuteW(hwnd_, nullptr, FeedbackAddress, nullptr, nullptr, SW_SHOW);
        refresh = false;
        return false;
    case Command::ThemeLight:
    case Command::ThemeDark:
    case Command::ThemeFollowOffice:
        workspace_.SetTheme(id == Command::ThemeLight  ? L"light"
                            : id == Command::ThemeDark ? L"dark"
                                                       : std::wstring(Importer::View::FollowOfficeTheme));
        // The new colours take a new window: it is built from the workspace this one saves.
        CloseWithResult(MainWindowNewWindow);
        return false;
    case Command::ListView: SetFileListView(std::wstring(Importer::View::ListView), false); return false;
    case Command::IconView: SetFileListView(L"tiles", false); return false;
    case Command::ClearFileList: return ClearFileList();
    case Command::ImportSettings: return ShowImportSettingsMenu();
    case Command::PickLocation: PickTargetLocation(false); return false;
    case Command::StartImport: StartImport(); return false;
    case Command::StopImport: StopImport(); return false;
    default: return false;
    }
}

bool MainWindow::SelectAndAddPaths(bool pickFolders)
{
    return AddPaths(ShowOpenFileDialog(hwnd_, pickFolders ? L"Select Folders to Import" : L"Select Files to Import", {},
                                       pickFolders));
}

bool MainWindow::AddPaths(const std::vector<std::wstring>& paths)
{
    if (paths.empty())
        return false;
    const bool wasEmpty = workspace_.GetConfig().entries.empty();
    fileList_->AddFiles(paths);
    if (wasEmpty)
    {
        SetFileListView(workspace_.FileListView(), false);
        ShowPlaceholder(false);
        Relayout();
    }
    workspace_.MarkChanged();
    SetWindowTitle();
    EnableControls();
    return true;
}

bool MainWindow::RemoveSelected()
{
    // Nothing selected changes nothing, and so leaves the workspace as unchanged as it was.
    if (!fileList_->RemoveSelected())
        return false;
    if (workspace_.GetConfig().entries.empty())
    {
        SetFileListView(workspace_.FileListView(), false);
        ShowPlaceholder(true);
        Relayout();
    }
    workspace_.MarkChanged();
    SetWindowTitle();
    EnableControls();
    return true;
}

bool MainWindow::ClearFileList()
{
    if (workspace_.GetConfig().entries.empty())
        return false;
    // Changes the workspace file does not hold yet are not dropped without asking; a list that
    // is kept there as it stands is cleared at once.
    if (workspace_.IsChanged() &&
        ShowMessage(hwnd_, L"Clear File List", {MessageButtonYes, MessageButtonNo}, MessageButtonYes, nullptr,
                    L"Do you want to remove all files?") != MessageButtonYes)
        return false;
    workspace_.GetConfig().entries.clear();
    fileList_->Reload();
    HideRunControls();
    SetFileListView(workspace_.FileListView(), false);
    ShowPlaceholder(true);
    Relayout();
    return true;
}
