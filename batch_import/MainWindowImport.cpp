// The main window's import side: starting a run (after picking a target when there is none),
// stopping it, the run controls it shows meanwhile, the target picker and the import settings
// menu.

#include "batch_import/MainWindow.h"

#include "batch_import/ImportSettingsMenu.h"
#include "framework/com/ErrorMessage.h"
#include "framework/onenote/OneNoteApplication.h"
#include "framework/ui/dialogs/MessageBox.h"

#include <comdef.h>

#include <vector>


void MainWindow::CreateImportSide()
{
    import_ = std::make_shared<ImportController>(*this, *this);
    picker_ = std::make_shared<TargetPicker>(hwnd_, [this](const TargetPicker::Choice& choice) {
        OnTargetChosen(choice);
    });
}

void MainWindow::StartImport()
{
    if (import_)
        import_->Start(workspace_.GetConfig());
}

void MainWindow::StopImport()
{
    if (import_)
        import_->Stop();
}

void MainWindow::PickTargetLocation(bool startWhenChosen)
{
    if (picker_)
        picker_->Pick(workspace_.GetConfig().outputFormat, startWhenChosen);
}

void MainWindow::PickTargetThenStart() { PickTargetLocation(true); }

void MainWindow::OnTargetChosen(const TargetPicker::Choice& choice)
{
    UpdateTargetLabel(choice.target.kind, choice.target.name, choice.target.link);
    workspace_.SetTargetId(choice.id);
    workspace_.MarkChanged();
    SetWindowTitle();
    EnableControls();
    Relayout();
    if (choice.startImport)
        StartImport();
}

void MainWindow::OpenTarget(const std::wstring& link)
{
    try
    {
        const HRESULT created = CreateOneNoteApplication(oneNote_);
        if (FAILED(created))
            _com_issue_error(created);
        NavigateToUrlWithRetry(*oneNote_, _bstr_t(link.c_str()));
    }
    catch (const _com_error& error)
    {
        ShowErrorMessage(hwnd_, GetErrorMessage(error.Error()));
    }
    oneNote_ = nullptr;
}

void MainWindow::ShowImportStarted()
{
    importing_ = true;
    stopRequested_ = false;
    for (const auto& control : std::initializer_list<std::shared_ptr<UI::WindowsControl>>{
             progress_, smallProgress_, status_, smallStatus_, stop_, smallStop_})
        control->visible = true;
    for (const auto& progress : {progress_, smallProgress_})
        progress->SetProgress(0.0f);
    stop_->Enable(true);
    smallStop_->Enable(true);
    DisableControls();
}

void MainWindow::SetImportStatus(const std::wstring& text)
{
    status_->SetText(text);
    smallStatus_->SetText(text);
    Relayout();
}

void MainWindow::SetImportProgress(float fraction)
{
    progress_->SetProgress(fraction);
    smallProgress_->SetProgress(fraction);
}

void MainWindow::ShowImportStopping()
{
    stopRequested_ = true;
    stop_->Enable(false);
    smallStop_->Enable(false);
    EnableCommand(Command::StopImport, false);
}

void MainWindow::ShowImportWaiting()
{
    stop_->Enable(true);
    smallStop_->Enable(true);
    EnableCommand(Command::StopImport, true);
}

void MainWindow::ShowImportEnded(bool hideProgress)
{
    importing_ = false;
    stopRequested_ = false;
    if (hideProgress)
        progress_->visible = smallProgress_->visible = false;
    stop_->visible = smallStop_->visible = false;
    clear_->visible = smallClear_->visible = true;
    EnableControls();
    Relayout();
}

bool MainWindow::ShowImportSettingsMenu()
{
    const std::shared_ptr<UI::Button> anchor =
        toolbar_.importFormat && IsWindowVisible(toolbar_.importFormat->GetHwnd()) ? toolbar_.importFormat
                                                                                   : importSettings_;
    RECT bounds{};
    GetWindowRect(anchor->GetHwnd(), &bounds);

    int chosen = 0;
    {
        const Owners::Menu popup(CreatePopupMenu());
        if (!popup)
            return false;
        const std::vector<ImportSettingsItem> items =
            ImportSettingsItems(workspace_.GetConfig(), GetDisplayText(targetLabel_->GetHwnd()));
        for (size_t index = 0; index < items.size(); ++index)
        {
            const ImportSettingsItem::Mark mark = items[index].mark;
            std::wstring text = items[index].text;
            MENUITEMINFOW item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
            // The item's answer is its position from 1. A negative one would make the first item's
            // answer -1, which the menu returns as "nothing chosen".
            item.wID = static_cast<UINT>(index + 1);
            item.fType = mark == ImportSettingsItem::Radio       ? MFT_RADIOCHECK
                         : mark == ImportSettingsItem::Separator ? MFT_SEPARATOR
                                                                 : MFT_STRING;
            item.fState = mark == ImportSettingsItem::Check || mark == ImportSettingsItem::Radio ? MFS_CHECKED : 0;
            item.dwTypeData = text.data();
            InsertMenuItemW(popup.get(), static_cast<UINT>(index), TRUE, &item);
        }
        chosen = TrackPopupMenu(popup.get(), TPM_RETURNCMD, bounds.left, bounds.bottom, 0, hwnd_, nullptr);
    }
    bool refresh = true;
    return RunCommand(ImportSettingsCommand(chosen), refresh);
}
