#pragma once
// Sheafin's workspace: the settings file and the run configuration read from it, the import
// settings the user switches, the picked target, the view, and whether anything changed since
// the file was written. The main window shows it and tells it what the user did; nothing here
// touches a window or OneNote.

#include "batch_import/SettingsElements.h"
#include "framework/files/Files.h"
#include "import_engine/ImportEngine.h"

#include <optional>
#include <string>
#include <vector>

class Workspace
{
public:
    // The run configuration of settings, or, without them, of the settings file read now. A window
    // built anew in the same session takes the settings of the one it replaces, with what they may
    // not write over.
    explicit Workspace(std::optional<Importer::Settings> settings = std::nullopt);

    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // A workspace without a last configuration imports each file as an attachment into a single
    // page; an output format the program does not know becomes the single page.
    void Load();
    // Writes the run configuration into the settings and the settings into the file, waiting up to
    // heldFileWait milliseconds for a file that another program holds. The changed flag is cleared
    // only when the file holds every change. What the user is to be told of a save that did not
    // land: the file and why (SettingsNotSavedNotice); empty when it landed, or when the settings
    // were not to be written, which the start told.
    std::wstring Save(ULONGLONG heldFileWait = HeldFileWait);

    // The settings, with the run configuration as the last save wrote it into them.
    const Importer::Settings& GetSettings() const { return settings_; }

    bool IsChanged() const { return settings_.dirty; }
    void MarkChanged() { settings_.dirty = true; }

    // The run configuration; its entries are the file list's rows.
    Config& GetConfig() { return config_; }
    const Config& GetConfig() const { return config_; }

    void ToggleFileAttachment();
    void ToggleFileContent();
    // Config::OriginalPath.
    void SetOriginalPathReference(int mode);
    // Config::OutputFormat. Whether a new page or section is made follows from it and the target.
    void SetOutputFormat(int format);

    // The picked target: its hierarchy kind (0 when there is none), name and OneNote hyperlink.
    int TargetKind() const;
    const std::wstring& TargetName() const;
    void SetTarget(int kind, const std::wstring& name, const std::wstring& link);
    // The OneNote ID of the picked target, by which it is found again after a restart.
    void SetTargetId(const std::wstring& id);

    // "light", "dark" or "followOffice".
    const std::wstring& Theme() const { return settings_.view.theme; }
    void SetTheme(const std::wstring& theme) { settings_.view.theme = theme; }
    // Importer::View::ListView, or "tiles".
    const std::wstring& FileListView() const { return settings_.view.fileList; }
    void SetFileListView(const std::wstring& view) { settings_.view.fileList = view; }
    WP::WindowPosition& WindowPosition() { return settings_.view.windowPosition; }

    // Whether the weekly update check is due, which it is once the last one is a week old or
    // stamped later than now. A due
    // check is stamped with the time now before it runs, so that one that fails waits a week like
    // one that succeeds; the first start only stamps it.
    bool TakeUpdateCheckIfDue();

private:
    Importer::Settings settings_;
    Config config_;
};
