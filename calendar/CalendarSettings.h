#pragma once
// Lumday's options, notebook filter and window placement: one process-wide record, filled from
// "lumday.xml" at start-up and written back when the settings view is left and at exit.

#include "calendar/SettingsElements.h"
#include "framework/files/Files.h"
#include "framework/text/DateTime.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct CalendarSettings
{
    bool settingsOpen = false;
    float fontSize = 0;
    std::int32_t viewType = 0; // 0 month, 1 week, 2 day
    bool showPagesOnCreatedDate = false;
    bool showPagesOnLMT = false;
    bool singleInstance = false;
    bool mondayWeek = false;
    bool showPreviews = false;
    DateTime lastUpdateCheck;
    std::wstring language; // empty until the user has chosen one
    bool darkMode = false;
    bool allNotebooks = false;
    // Index of a notebook in the loaded notebook list -> shown by the filter.
    std::map<std::int32_t, bool> notebookSelection;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t flags = 0;
    std::uint32_t showCmd = 0;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
};

// The record every view and worker reads.
CalendarSettings& GetCalendarSettings();

// The paths of the notebooks last read from or written to the file, in file order.
std::vector<std::shared_ptr<S::Notebook>>& StoredNotebookPaths();
void AssignStoredNotebookPaths(const Collection<S::Notebook>& notebooks);

// The paths of the notebooks of the last hierarchy load, in their index order, and the paths the
// filter selects that the load did not list (notebooks closed for now); nothing until a load has
// numbered them. Saving writes the selected ones of the list and then the others, or, without a
// list, the paths stored earlier, so that a run without OneNote keeps the filter.
void SetLoadedNotebookPaths(std::optional<std::vector<std::wstring>> paths,
                            std::vector<std::wstring> selectedElsewhere = {});

// "lumday.xml" in the user's roaming application-data folder.
std::wstring GetSettingsFilePath();
// Where a damaged settings file is kept before the next save replaces it.
std::wstring GetDamagedSettingsFilePath();

// Reads the settings file whole: ReadWholeFile unless replaced (by a test, with a reading that
// fails in a way no file at hand can make it fail).
extern std::function<FileReadResult(const std::wstring& path)> SettingsFileReader;

// Fills the record from the file; true when the file held a whole document (the stored window
// placement then decides how the window is shown). A missing, empty, cut-off or malformed file
// gives the defaults; a damaged one is logged and kept aside. A file that another program holds is
// tried again for a while (ReadWholeFileWhenFree). A file that is there but could not be read whole
// (still held, the access is denied, its share went away, the reader failed) gives the defaults
// too, is logged, and no save of the run replaces it. A roaming folder that cannot be found gives
// the defaults, and nothing is saved. Those that save nothing leave a notice (TakeSettingsNotice).
bool LoadSettings();
// Writes the record to the file through a temporary file in the same folder, so that a failed
// write leaves the old file whole. A file that another program holds is tried again for
// heldFileWait milliseconds (ReplaceFileContentsWhenFree); one still held is left as it is. False
// when the file could not be written (logged, and a notice names the file and why:
// TakeSettingsNotice), or is not to be replaced (logged only: the load's notice told it); never
// raises.
bool SaveSettings(ULONGLONG heldFileWait = HeldFileWait);
// What the user is to be told once about the settings of this run, in the current UI language:
// that the last load could keep nothing of it, or that the last save did not land, naming the file
// and why; empty when there is nothing to tell. Empty after it has been taken.
std::wstring TakeSettingsNotice();
