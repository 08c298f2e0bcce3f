#include "batch_import/SheafinStartup.h"

#include "batch_import/MainWindow.h"
#include "batch_import/SheafinCommandLine.h"
#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/dialogs/MessageBoxDataProvider.h"
#include "update/DownloadProgressWindow.h"
#include "update/Update.h"

#include <commctrl.h>
#include <comdef.h>
#include <ole2.h>

void RunMainWindow(std::optional<std::wstring> previousVersion)
{
    InstallMessageBoxDataProvider(std::make_shared<DefaultMessageBoxDataProvider>());
    // A window built anew takes the settings of the one before, as its close saved them: a file
    // that could not be read stays unwritten, and the session's changes stay shown even when the
    // file could not take them.
    std::optional<Importer::Settings> settings;
    for (;;)
    {
        unsigned result;
        {
            auto window = std::make_shared<MainWindow>(std::exchange(previousVersion, std::nullopt),
                                                       std::exchange(settings, std::nullopt));
            result = window->Show();
            if (result == MainWindowNewWindow)
                settings = window->WorkspaceSettings();
        }
        if (result != MainWindowNewWindow)
            return;
    }
}

void RemoveLeftoversOfUpdates()
{
    std::wstring downloaded;
    try
    {
        downloaded = DownloadProgressWindow::DownloadPath(GetRunningProduct().updateFileId);
    }
    catch (const _com_error& error)
    {
        // A Downloads folder that is gone or out of reach holds nothing to clear away, and stops no
        // start.
        GetLog(true) << L"ERROR: " << L"The Downloads folder could not be found (" << GetErrorMessage(error)
                     << L"); the leftovers of updates there are not looked for";
    }
    RemoveUpdateLeftovers(downloaded);
}

int RunSheafin(const std::wstring& commandLine)
{
    UI::SetUiScaleFactor(1.0f);
    if (FAILED(OleInitialize(nullptr)))
        return 0;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    InitUiResources();
    SetRunningProduct(BatchImportIdentity());

    GetLog(true) << L"Quillora Batch File Import UI - Version " << L"1.3.0";
    GetLog(true) << L"Command line: " << GetProgramPath() << L" " << commandLine;

    const SheafinCommand command = ParseSheafinCommandLine(SplitCommandLine(commandLine));
    try
    {
        if (command.install)
            InstallSelfCopy(command.installTarget, command.installVersion);
        else
        {
            RemoveLeftoversOfUpdates();
            RunMainWindow(command.previousVersion);
        }
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: " << GetErrorMessage(error);
    }
    catch (const std::exception& error)
    {
        GetLog(true) << L"ERROR: " << error.what();
    }

    CloseLogFile();
    ReleaseUiResources();
    OleUninitialize();
    return 0;
}
