#pragma once
// The options dialog: the resolution of printouts, and the update check, What's New and install.

#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/ComboBox.h"
#include "framework/ui/controls/Label.h"
#include "framework/ui/dialogs/TabbedDialog.h"
#include "import_engine/ImportEngine.h"
#include "update/VersionCheck.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// "Printouts": the printout scale of the run configuration, in percent of 96 dpi, changed in place
// as soon as a row is picked.
class PrintoutOptions : public UI::Tab
{
public:
    PrintoutOptions(Config& config, std::vector<uint32_t> resolutions);

    std::wstring GetTitle() override { return L"Printouts"; }
    bool OnCommand(HWND control, int code) override;
    std::shared_ptr<UI::IControl> CreatePage() override;

    // "v% (v x 96 / 100 dpi)".
    static std::wstring RowText(uint32_t resolution);

    std::shared_ptr<UI::ComboBox> resolutionCombo;
    Config& config;
    std::vector<uint32_t> resolutions;
};

// "Updates": checks for another version, shows what is new and installs the latest version; a build
// without the update service's key says that it cannot check, and a check that could not be made
// says why.
class UpdateOptions : public UI::Tab
{
public:
    std::wstring GetTitle() override { return L"Updates"; }
    bool OnCommand(HWND control, int code) override;
    std::shared_ptr<UI::IControl> CreatePage() override;

    std::shared_ptr<UI::Button> checkButton;
    std::shared_ptr<UI::Button> whatsNewButton;
    std::shared_ptr<UI::Label> noUpdatesLabel;
    // Shown instead of a result by a build that cannot ask the update service.
    std::shared_ptr<UI::Label> cannotCheckLabel;
    // Shown instead of a result when the service could not be asked, with the reason.
    std::shared_ptr<UI::Label> checkFailedLabel;
    std::shared_ptr<UI::Label> updateFoundLabel;
    // Shown under an update found that cannot be installed where the program is: why and where.
    std::shared_ptr<UI::Label> notInstallableLabel;
    std::shared_ptr<UI::Button> installButton;
    // The dialog's, to which What's New comes back from the service.
    UiChannel channel;

private:
    void HideResults();
    void ShowResult(const VersionCheckResult& result);
};

// The resolutions offered, in percent.
std::vector<uint32_t> PrintoutResolutions();

// Runs the dialog modally over the top-level window of owner, first showing page 0 ("Printouts") or
// 1 ("Updates"). Installing closes the dialog and then the owner through their close handlers
// before the new program starts.
void ShowOptionsDialog(HWND owner, Config& config, int firstPage);
