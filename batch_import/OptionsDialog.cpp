#include "batch_import/OptionsDialog.h"

#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"
#include "framework/ui/Containers.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/dialogs/MessageBox.h"
#include "update/Update.h"

#include <algorithm>

namespace
{
// A label placed as the framework's page labels are, in the normal font and without access keys.
std::shared_ptr<UI::Label> IndentedLabel(HWND parent, const std::wstring& text)
{
    auto label = std::make_shared<UI::Label>(parent, text, false);
    label->margin.left = UI::PointsToPixels(11.25f, GetDpiScaleX());
    return label;
}
} // namespace

std::vector<uint32_t> PrintoutResolutions() { return {100, 150, 200, 250, 300, 400, 500, 600, 1000}; }

PrintoutOptions::PrintoutOptions(Config& config, std::vector<uint32_t> resolutions)
    : config(config), resolutions(std::move(resolutions))
{
}

std::wstring PrintoutOptions::RowText(uint32_t resolution)
{
    return std::to_wstring(resolution) + L"% (" + std::to_wstring(resolution * 96 / 100) + L" dpi)";
}

std::shared_ptr<UI::IControl> PrintoutOptions::CreatePage()
{
    const int columnWidth = UI::PointsToPixels(90.0f, GetDpiScaleX());
    auto label = std::make_shared<UI::Label>(parentWindow, L"Printout &Resolution", true);
    label->width = columnWidth;
    label->height = UI::CheckBoxHeight();
    resolutionCombo = std::make_shared<UI::ComboBox>(parentWindow, 0, false);
    resolutionCombo->width = columnWidth;
    resolutionCombo->height = UI::ComboBoxHeight();
    std::vector<std::wstring> rows;
    for (const uint32_t resolution : resolutions)
        rows.push_back(RowText(resolution));
    resolutionCombo->SetItems(rows);
    const auto selected = std::find(resolutions.begin(), resolutions.end(), config.printoutScale);
    resolutionCombo->SetSelection(selected == resolutions.end() ? 0 : static_cast<int>(selected - resolutions.begin()));

    return std::make_shared<UI::BoxContainer>(
        "rootContainer", true, UI::BoxContainer::Start, UI::Gap(),
        UI::ControlList{
            CreateHeading(L"Printout Options"),
            CreateLabel(L"Word documents, PowerPoint slide decks and PDF files can be imported as printouts. You can "
                        L"choose the resolution for printouts. Larger resolution will have a crisper and more "
                        L"readable printout, but it will increase file size.",
                        false),
            std::make_shared<UI::BoxContainer>("resolutionContainer", false, UI::BoxContainer::Centre, UI::Gap(),
                                               UI::ControlList{label, resolutionCombo})});
}

bool PrintoutOptions::OnCommand(HWND control, int code)
{
    if (code == CBN_SELCHANGE && UI::IsControlWindow(resolutionCombo, control))
    {
        const int row = resolutionCombo->GetSelection();
        if (row >= 0 && row < static_cast<int>(resolutions.size()))
            config.printoutScale = resolutions[row];
    }
    return false;
}

std::shared_ptr<UI::IControl> UpdateOptions::CreatePage()
{
    const ProductIdentity& product = GetRunningProduct();
    const std::wstring version(product.version.begin(), product.version.end());
    checkButton = std::make_shared<UI::Button>(parentWindow, L"Check for &Updates");
    whatsNewButton = std::make_shared<UI::Button>(parentWindow, (L"&Show What's New in " + version).c_str());
    noUpdatesLabel = IndentedLabel(parentWindow, L"No updates found");
    cannotCheckLabel = IndentedLabel(parentWindow, CannotCheckForUpdatesText);
    checkFailedLabel = IndentedLabel(parentWindow, L"");
    updateFoundLabel = CreateLabel(L"\n\nAn update to " + product.displayName + L" is found", false);
    notInstallableLabel = IndentedLabel(parentWindow, L"");
    installButton = std::make_shared<UI::Button>(parentWindow, L"Install Latest Version");
    HideResults();

    return std::make_shared<UI::BoxContainer>(
        "rootContainer", true, UI::BoxContainer::Start, UI::Gap(),
        UI::ControlList{CreateHeading(L"Updates"),
                        std::make_shared<UI::BoxContainer>("buttons", false, UI::BoxContainer::Centre, UI::Gap(),
                                                           UI::ControlList{checkButton, whatsNewButton}),
                        noUpdatesLabel, cannotCheckLabel, checkFailedLabel, updateFoundLabel, notInstallableLabel,
                                    installButton});
}

void UpdateOptions::HideResults()
{
    noUpdatesLabel->visible = cannotCheckLabel->visible = checkFailedLabel->visible = updateFoundLabel->visible =
        notInstallableLabel->visible = installButton->visible = false;
}

void UpdateOptions::ShowResult(const VersionCheckResult& result)
{
    if (!result.failure.empty())
    {
        // The person who asked would take "No updates found" for an answer of the service.
        const std::wstring text = L"Could not check for updates: " + result.failure;
        GetLog(true) << L"ERROR: " << text;
        checkFailedLabel->SetText(text);
        checkFailedLabel->visible = true;
        return;
    }
    noUpdatesLabel->visible = !result.updateFound;
    updateFoundLabel->visible = result.updateFound;
    const std::wstring& why = result.notInstallable.empty() ? result.notDownloadable : result.notInstallable;
    if (result.updateFound && !why.empty())
    {
        // Offered, the download would fail or end in an install that cannot land: the person who
        // asked learns why and where instead.
        GetLog(true) << L"ERROR: " << why;
        notInstallableLabel->SetText(why);
        notInstallableLabel->visible = true;
        return;
    }
    installButton->visible = result.updateFound;
}

bool UpdateOptions::OnCommand(HWND control, int code)
{
    if (code != BN_CLICKED)
        return false;
    if (UI::IsControlWindow(checkButton, control))
    {
        HideResults();
        if (!CanCheckForUpdates())
        {
            // Not "No updates found": this build would say that of every version.
            GetLog(true) << CannotCheckForUpdatesText;
            cannotCheckLabel->visible = true;
            return true;
        }
        ShowResult(CheckForNewerVersion(GetProductName()));
        return true;
    }
    if (UI::IsControlWindow(whatsNewButton, control))
    {
        // The service is asked off this thread, so that the dialog answers while it does; the
        // button waits for the answer, so that one press shows one window.
        const HWND dialog = parentWindow;
        const std::shared_ptr<UI::Button> button = whatsNewButton;
        const auto done = [button] {
            if (button->hwnd && IsWindow(button->hwnd))
                EnableWindow(button->hwnd, TRUE);
        };
        EnableWindow(button->hwnd, FALSE);
        try
        {
            ShowWhatsNewWhenReady(channel, dialog, GetProductName(), std::nullopt, true,
                                  [dialog, done](const std::wstring& failure) {
                                      done();
                                      if (!failure.empty())
                                          ShowErrorMessage(dialog, failure);
                                  });
        }
        catch (const _com_error& error)
        {
            done();
            ShowComErrorMessage(dialog, error);
        }
        return false;
    }
    if (UI::IsControlWindow(installButton, control))
    {
        const HWND dialog = parentWindow;
        const HWND owner = GetWindow(dialog, GW_OWNER);
        InstallUpdates(dialog, [dialog, owner] {
            if (IsWindow(dialog))
                SendMessageW(dialog, WM_CLOSE, 0, 0);
            if (owner && IsWindow(owner))
                SendMessageW(owner, WM_CLOSE, 0, 0);
            // The main window stays when the user keeps a running import: then nothing is installed.
            return !(owner && IsWindow(owner));
        });
        return false;
    }
    return false;
}

void ShowOptionsDialog(HWND owner, Config& config, int firstPage)
{
    std::vector<std::unique_ptr<UI::Tab>> pages;
    pages.push_back(std::make_unique<PrintoutOptions>(config, PrintoutResolutions()));
    auto updates = std::make_unique<UpdateOptions>();
    UpdateOptions& updatePage = *updates;
    pages.push_back(std::move(updates));
    auto dialog = std::make_shared<UI::TabbedDialog>(std::move(pages), UI::PointsToPixels(375.0f, GetDpiScaleX()),
                                                     UI::PointsToPixels(225.0f, GetDpiScaleX()), true);
    dialog->Create(owner ? GetAncestor(owner, GA_ROOT) : nullptr, COLOR_WINDOW, WS_EX_TOOLWINDOW, 0);
    updatePage.channel = dialog->GetUiChannel();
    SetWindowTextW(dialog->GetHwnd(), L"Quillora");
    dialog->Show(L"Quillora Batch File Import Options", firstPage);
}
