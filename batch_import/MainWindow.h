#pragma once
// Sheafin's one top-level window: the file list on the left, the import settings and the start
// button on the right, the progress of a running import, and the menu, accelerators and toolbar
// that command them. Always held by a shared pointer; shown by Show, which runs its message loop.

#include "batch_import/CommandTable.h"
#include "batch_import/ImportController.h"
#include "batch_import/FileList.h"
#include "batch_import/MainMenu.h"
#include "batch_import/MainWindowLayout.h"
#include "batch_import/TargetPicking.h"
#include "batch_import/Toolbar.h"
#include "batch_import/Workspace.h"
#include "framework/ui/Window.h"
#include "framework/ui/controls/Button.h"
#include "framework/ui/controls/ComboBox.h"
#include "framework/ui/controls/Label.h"
#include "framework/ui/controls/Progress.h"
#include "import_engine/ImportEngine.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What MainWindow::Show answers; the run loop makes a new window only for NewWindow.
enum MainWindowResult : unsigned
{
    MainWindowQuit = 0,
    MainWindowClosed = 1,
    MainWindowNewWindow = 2,
};

// The window's title, also its product name and version as the user sees them.
extern const wchar_t* const MainWindowTitle;

class MainWindow : public AutoLayoutWindow, public ImportDisplay
{
public:
    // Reads the workspace, or takes settings of the window it replaces; previousVersion is the
    // version an update replaced, whose changes the window then shows.
    explicit MainWindow(std::optional<std::wstring> previousVersion,
                        std::optional<Importer::Settings> settings = std::nullopt);
    ~MainWindow() override;

    // Builds, shows and runs the window until it ends; returns MainWindowResult.
    unsigned Show();
    // Saves the placement and the workspace, then ends the window with result.
    void CloseWithResult(unsigned result);

    // The end of the session (log-off, shutdown) saves the workspace, as closing does.
    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSize(int width, int height, bool& handled) override;
    LRESULT OnClose(bool& handled) override;
    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override;
    LRESULT OnNotify(NMHDR* header) override;
    HBRUSH OnCtlColor(HWND hwnd, UINT message, HDC dc, HWND control, int background) override;

    // The menu bar's record, loaded (with its pictures) on the first call only.
    MenuRecord& GetMainMenu();

    // The theme of the settings becomes the program's (unless menuOnly) and is marked in the menu.
    void ApplyTheme(bool menuOnly);
    // "list" shows the details view, anything else icons ("tiles").
    void SetFileListView(const std::wstring& view, bool menuOnly);
    // The idle rule: what may be done now, from the file list and the settings.
    void EnableControls();
    // The idle rule once the changes of the list's selection now under way have all been told:
    // a click or a key may change thousands of rows, each told on its own.
    void EnableControlsLater();
    // The importing rule: only stopping remains.
    void DisableControls();
    void Relayout();

    // The workspace into the controls at start, and back into its file; a file that another
    // program holds is kept as it is, and a box says so.
    void LoadWorkspace();
    void ApplySettingsToControls();
    void SaveWorkspace();
    // The settings as the last save wrote them, for the window that replaces this one.
    const Importer::Settings& WorkspaceSettings() const { return workspace_.GetSettings(); }

    // The switches of the Settings menu, told to the workspace and kept in step in the menu and the
    // controls. Each answers true (the workspace changed).
    bool ToggleFileAttachment();
    bool ToggleFileContent();
    bool SetOriginalPathReference(int mode);
    bool SetOutputFormat(int format);

    // Shows the import target in the link label; kind 0 (none) hides it.
    void UpdateTargetLabel(int kind, const std::wstring& name, const std::wstring& link);

    // File list commands; each answers whether the workspace changed.
    bool AddPaths(const std::vector<std::wstring>& paths);
    bool SelectAndAddPaths(bool pickFolders);
    bool RemoveSelected();
    bool ClearFileList();

    // Downloads and starts the newer version; the window closes before the installer runs.
    void InstallUpdates();

    // The import side: a run over a copy of the configuration (the picker first while there is no
    // target), its stop, the picker, and the import settings menu (true: the workspace changed).
    void StartImport();
    void StopImport();
    void PickTargetLocation(bool startWhenChosen);
    bool ShowImportSettingsMenu();

    void ShowImportStarted() override;
    void SetImportStatus(const std::wstring& text) override;
    void SetImportProgress(float fraction) override;
    void ShowImportStopping() override;
    void ShowImportWaiting() override;
    void ShowImportEnded(bool hideProgress) override;
    void PickTargetThenStart() override;

    FileList* GetFileList() const { return fileList_.get(); }
    bool IsImporting() const { return importing_; }

protected:
    // The rows of the command table, one action each. Commands that start, stop or aim an import
    // belong to the import side of the window and do nothing until it is there.
    bool RunCommand(unsigned id, bool& refresh);

private:
    void BuildControls();
    void StartUpdateCheckIfDue();
    void CheckForUpdates();
    void ShowPlaceholder(bool show);
    void HideRunControls();
    void CreateImportSide();
    void OnTargetChosen(const TargetPicker::Choice& choice);
    // The target label's link opens the target in OneNote.
    void OpenTarget(const std::wstring& link);
    void SetWindowTitle();
    void EnableCommand(unsigned command, bool enabled);
    int PathKindShown() const;
    // A command that the importing rule turns off.
    static bool IsIdleCommand(unsigned id);
    // What the columns' lines need, so that none is cut off.
    ColumnContent MeasureColumns() const;

    std::map<unsigned, MenuRecord> menus_;
    CommandTable commands_;

    std::shared_ptr<UI::Label> heading_;
    ToolbarButtons toolbar_;
    std::shared_ptr<UI::Label> placeholderTitle_;
    std::shared_ptr<UI::Label> placeholderText_;
    std::shared_ptr<UI::Button> selectFiles_;
    std::shared_ptr<UI::Button> selectFolders_;
    std::shared_ptr<UI::Button> importSettings_;
    std::shared_ptr<UI::Button> attachment_;
    std::shared_ptr<UI::Button> content_;
    std::shared_ptr<UI::Button> originalPath_;
    std::shared_ptr<UI::ComboBox> pathKind_;
    std::shared_ptr<UI::Button> singlePage_;
    std::shared_ptr<UI::Button> pagePerFile_;
    std::shared_ptr<UI::Button> pagePerPrintoutPage_;
    std::shared_ptr<UI::Button> pickLocation_;
    std::shared_ptr<UI::Label> targetLabel_;
    std::shared_ptr<UI::Button> start_;
    std::shared_ptr<UI::Button> stop_;
    std::shared_ptr<UI::Button> smallStop_;
    std::shared_ptr<UI::Button> clear_;
    std::shared_ptr<UI::Button> smallClear_;
    std::shared_ptr<UI::Progress> progress_;
    std::shared_ptr<UI::Progress> smallProgress_;
    std::shared_ptr<UI::Label> status_;
    std::shared_ptr<UI::Label> smallStatus_;

    Workspace workspace_;
    std::unique_ptr<FileList> fileList_;
    int imageOffset_ = 0;

    std::shared_ptr<UI::BoxContainer> main_;
    std::shared_ptr<UI::BoxContainer> left_;
    std::shared_ptr<UI::BoxContainer> right_;
    std::shared_ptr<UI::BoxContainer> center_;
    std::shared_ptr<UI::BoxContainer> smallProgressBox_;
    std::shared_ptr<UI::BoxContainer> settingsBox_;

    std::shared_ptr<ImportController> import_;
    std::shared_ptr<TargetPicker> picker_;
    // Kept from the link's click until OneNote has shown the target.
    ON16::ApplicationPtr oneNote_;

    // The selection changed since the controls last followed it; and a message that makes them
    // follow is on its way.
    bool controlsBehind_ = false;
    bool controlsUpdatePosted_ = false;
    // Whether the list's selection handler is set (outside a run).
    bool followingList_ = false;

    bool closed_ = false;
    bool stopRequested_ = false;
    bool importing_ = false;
    std::optional<std::wstring> previousVersion_;
};
