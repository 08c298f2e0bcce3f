#include "calendar/CalendarSettings.h"

#include "calendar/LumdayWindow.h"
#include "calendar/UiLanguages.h"
#include "framework/com/ErrorMessage.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "framework/ui/Theme.h"
#include "framework/xml/XmlDocument.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>
#include <utility>

namespace
{
std::optional<std::vector<std::wstring>>& LoadedNotebookPaths()
{
    static std::optional<std::vector<std::wstring>> paths;
    return paths;
}

std::vector<std::wstring>& SelectedElsewhere()
{
    static std::vector<std::wstring> paths;
    return paths;
}

struct DefaultTree
{
    std::shared_ptr<S::Lumday> root = std::make_shared<S::Lumday>();
};

// A stored date the calendar can use: a real day of the Gregorian calendar that the C library's
// time functions reach; anything else counts as no date.
std::optional<DateTime> UsableDate(const SYSTEMTIME& utc)
{
    FILETIME unused;
    if (utc.wYear < 1971 || utc.wYear > 3000 || !SystemTimeToFileTime(&utc, &unused))
        return std::nullopt;
    return DateTime(utc);
}

// The file's text; nothing when it is not there. Raises a COM error carrying the reason when it is
// there but could not be read whole.
std::wstring ReadSettingsText(const std::wstring& path)
{
    // A backup, a synchronisation or a virus scanner lets go of the file in a moment.
    const FileReadResult file = ReadWholeFileWhenFree(path, L"The settings file", SettingsFileReader);
    if (file.Missing())
        return {};
    if (!file.Whole())
        _com_issue_error(HRESULT_FROM_WIN32(file.error));
    // A file of an older version in UTF-8 is converted in memory only: it is replaced at the next
    // save, never rewritten before it has been read.
    if (IsUtf8Text(file.bytes))
        return Utf8ToWide(file.bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? file.bytes.substr(3) : file.bytes);
    return Utf16Text(file.bytes);
}

// Whether the file was copied aside, so that its replacement loses nothing.
bool KeepDamagedFile(const std::wstring& path)
{
    const std::wstring kept = GetDamagedSettingsFilePath();
    if (CopyFileW(path.c_str(), kept.c_str(), FALSE))
    {
        GetLog(true) << L"ERROR: The settings file " << path << L" is damaged; starting with default settings. "
                     << L"The damaged file was kept as " << kept;
        return true;
    }
    GetLog(true) << L"ERROR: The settings file " << path << L" is damaged; starting with default settings. "
                 << L"It could not be kept (error " << GetLastError() << L")";
    return false;
}

// Set when the file is there but was not read whole and not kept aside: it may be the only copy of
// the user's settings, and no save of this run replaces it. Set too when there is no folder to keep
// the file in.
bool& SettingsFileProtected()
{
    static bool kept = false;
    return kept;
}

// What the user is told once about this run's settings: two texts of the notice table with the
// file's path and the reason put in. They are put into words when the box shows, as the language
// is chosen only after the file is read.
struct SettingsNoticeParts
{
    int first = -1;
    int second = -1;
    std::wstring path;
    std::wstring reason;
};

SettingsNoticeParts& SettingsNotice()
{
    static SettingsNoticeParts notice;
    return notice;
}

void SetNotice(int first, int second, const std::wstring& path, const std::wstring& reason = {})
{
    SettingsNotice() = {first, second, path, reason};
}

// The path of the file that the last load found: a save that cannot find the folder any more
// names the file it meant to write.
std::wstring& KnownSettingsPath()
{
    static std::wstring path;
    return path;
}

// text with [1], [2] and [3] replaced in one pass, so that a path holding such a text keeps it.
std::wstring FillNotice(const std::wstring& text, const std::wstring& path, const std::wstring& reason)
{
    std::wstring filled;
    for (size_t at = 0; at < text.size();)
    {
        const std::wstring_view rest = std::wstring_view(text).substr(at);
        if (rest.size() >= 3 && rest[0] == L'[' && rest[2] == L']' && rest[1] >= L'1' && rest[1] <= L'3')
        {
            filled += rest[1] == L'1' ? path : rest[1] == L'2' ? reason : std::wstring(ProductName);
            at += 3;
        }
        else
            filled += text[at++];
    }
    return filled;
}

std::wstring Win32Reason(DWORD error) { return GetSystemErrorMessage(HRESULT_FROM_WIN32(error)); }

void TakeValues(const S::Lumday& root, CalendarSettings& settings)
{
    const S::Settings& stored = root.settings;
    settings.settingsOpen = stored.settingsOpen;
    settings.fontSize = stored.fontSize;
    settings.darkMode = stored.darkMode ? *stored.darkMode : IsDarkTheme();
    // A view the calendar does not have reads as the month view.
    settings.viewType = stored.viewType >= 0 && stored.viewType <= 2 ? stored.viewType : 0;
    settings.showPagesOnCreatedDate = stored.showPagesOnCreatedDate;
    settings.showPagesOnLMT = stored.showPagesOnLMT;
    settings.singleInstance = stored.singleInstance;
    settings.mondayWeek = stored.mondayWeek;
    settings.showPreviews = stored.showPreviews;
    if (stored.lastUpdateCheck)
    {
        if (const std::optional<DateTime> date = UsableDate(*stored.lastUpdateCheck))
            settings.lastUpdateCheck = *date;
    }
    settings.language = stored.language.value_or(L"");
    if (!IsKnownLanguage(settings.language))
        settings.language.clear();
    settings.allNotebooks = stored.notebooks.all;
    AssignStoredNotebookPaths(stored.notebooks.notebooks);

    const WP::WindowPosition& placement = root.window.placement;
    settings.x = placement.x;
    settings.y = placement.y;
    settings.width = placement.width;
    settings.height = placement.height;
    settings.flags = placement.flags;
    settings.showCmd = placement.showCmd;
    settings.minX = placement.minX;
    settings.minY = placement.minY;
    settings.maxX = placement.maxX;
    settings.maxY = placement.maxY;
}
} // namespace

std::function<FileReadResult(const std::wstring& path)> SettingsFileReader = [](const std::wstring& path) {
    return ReadWholeFile(path.c_str());
};

CalendarSettings& GetCalendarSettings()
{
    static CalendarSettings settings;
    return settings;
}

std::vector<std::shared_ptr<S::Notebook>>& StoredNotebookPaths()
{
    static std::vector<std::shared_ptr<S::Notebook>> paths;
    return paths;
}

void AssignStoredNotebookPaths(const Collection<S::Notebook>& notebooks)
{
    StoredNotebookPaths().assign(notebooks.begin(), notebooks.end());
}

void SetLoadedNotebookPaths(std::optional<std::vector<std::wstring>> paths, std::vector<std::wstring> selectedElsewhere)
{
    LoadedNotebookPaths() = std::move(paths);
    SelectedElsewhere() = std::move(selectedElsewhere);
}

std::wstring GetSettingsFilePath()
{
    std::wstring path = GetKnownFolderPath(FOLDERID_RoamingAppData);
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return path + L"lumday.xml";
}

std::wstring GetDamagedSettingsFilePath()
{
    std::wstring path = GetSettingsFilePath();
    return path.substr(0, path.size() - 4) + L".damaged.xml";
}

bool LoadSettings()
{
    CalendarSettings& settings = GetCalendarSettings();
    settings = CalendarSettings();
    DefaultTree tree;
    bool whole = false;
    SettingsFileProtected() = false;
    SettingsNotice() = {};
    KnownSettingsPath().clear();
    std::wstring path;
    try
    {
        path = GetSettingsFilePath();
    }
    catch (const _com_error& error)
    {
        // A roaming folder that cannot be resolved (removed, or redirected to a share that is
        // offline) stops no start: the calendar runs on its defaults, and nothing is written.
        const std::wstring reason = GetErrorMessage(error);
        GetLog(true) << L"ERROR: The folder of the settings could not be found (" << reason
                     << L"); starting with default settings, which cannot be kept";
        SettingsFileProtected() = true;
        SetNotice(NoticeFolderNotFound, NoticeSettingsNotKept, {}, reason);
        TakeValues(*tree.root, settings);
        return false;
    }
    KnownSettingsPath() = path;
    try
    {
        const std::wstring text = ReadSettingsText(path);
        if (!text.empty())
        {
            if (IsWholeDocument(text))
            {
                ParseElement(*tree.root, text);
                whole = true;
            }
            else if (!KeepDamagedFile(path))
            {
                SettingsFileProtected() = true;
                SetNotice(NoticeDamagedNotKept, NoticeChangesNotSaved, path);
            }
        }
    }
    catch (const _com_error& error)
    {
        // Not read is not damaged: held by another program, denied, on a share that went away, or
        // a reader that failed. The file may hold all the user set, and no save of this run
        // replaces it.
        const std::wstring reason = GetErrorMessage(error);
        GetLog(true) << L"ERROR: The settings file " << path << L" could not be read (" << reason
                     << L"); starting with default settings, and the file is not replaced";
        tree = DefaultTree();
        whole = false;
        SettingsFileProtected() = true;
        const bool held = HRESULT_FACILITY(error.Error()) == FACILITY_WIN32 &&
                          IsHeldByAnotherProgram(static_cast<DWORD>(HRESULT_CODE(error.Error())));
        SetNotice(held ? NoticeNotReadHeld : NoticeNotRead, NoticeChangesNotSaved, path, reason);
    }
    settings = CalendarSettings();
    TakeValues(*tree.root, settings);
    return whole;
}

std::wstring TakeSettingsNotice()
{
    const SettingsNoticeParts notice = std::exchange(SettingsNotice(), SettingsNoticeParts());
    if (notice.first < 0)
        return {};
    std::wstring text = FillNotice(GetNoticeString(notice.first), notice.path, notice.reason);
    if (notice.second >= 0)
        text += L"\r\n\r\n" + FillNotice(GetNoticeString(notice.second), notice.path, notice.reason);
    return text;
}

bool SaveSettings(ULONGLONG heldFileWait)
{
    const CalendarSettings& settings = GetCalendarSettings();
    DefaultTree tree;
    S::Settings& stored = tree.root->settings;
    stored.settingsOpen = settings.settingsOpen;
    stored.fontSize = settings.fontSize;
    stored.viewType = settings.viewType;
    stored.showPagesOnCreatedDate = settings.showPagesOnCreatedDate;
    stored.showPagesOnLMT = settings.showPagesOnLMT;
    stored.singleInstance = settings.singleInstance;
    stored.mondayWeek = settings.mondayWeek;
    stored.showPreviews = settings.showPreviews;
    stored.lastUpdateCheck = settings.lastUpdateCheck.ToUtcSystemTime();
    stored.language = settings.language;
    stored.darkMode = settings.darkMode;
    stored.notebooks.all = settings.allNotebooks;

    if (const std::optional<std::vector<std::wstring>>& loaded = LoadedNotebookPaths())
    {
        for (const auto& [index, selected] : settings.notebookSelection)
        {
            if (selected && index >= 0 && static_cast<size_t>(index) < loaded->size())
                stored.notebooks.AddNew()->text = (*loaded)[static_cast<size_t>(index)];
        }
        for (const std::wstring& path : SelectedElsewhere())
            stored.notebooks.AddNew()->text = path;
    }
    else
    {
        for (const std::shared_ptr<S::Notebook>& notebook : StoredNotebookPaths())
            stored.notebooks.AddNew()->text = notebook->text;
    }
    AssignStoredNotebookPaths(stored.notebooks.notebooks);

    WP::WindowPosition& placement = tree.root->window.placement;
    placement.x = settings.x;
    placement.y = settings.y;
    placement.width = settings.width;
    placement.height = settings.height;
    placement.flags = settings.flags;
    placement.showCmd = settings.showCmd;
    placement.minX = settings.minX;
    placement.minY = settings.minY;
    placement.maxX = settings.maxX;
    placement.maxY = settings.maxY;

    if (SettingsFileProtected())
    {
        // The load told the user so.
        GetLog(true) << L"ERROR: The settings were not saved: the file was not read whole and not kept aside, "
                     << L"or there is no folder to keep it in";
        return false;
    }
    // Each save that does not land is told once, by whoever saved, naming the file and why.
    std::wstring path = KnownSettingsPath();
    try
    {
        path = GetSettingsFilePath();
        const _bstr_t text = WriteElement(*tree.root);
        const wchar_t* characters = text;
        if (!ReplaceFileContentsWhenFree(path, characters ? characters : L"", text.length() * sizeof(wchar_t),
                                         L"The settings file", WriteBytesToNewFile, heldFileWait))
        {
            const DWORD error = GetLastError();
            const std::wstring reason = Win32Reason(error);
            GetLog(true) << L"ERROR: The settings file " << path << L" could not be replaced (error " << error
                         << L": " << reason << L")";
            // Nothing is replaced but whole: a file that was there still holds what it held.
            if (IsHeldByAnotherProgram(error))
                SetNotice(NoticeNotSavedHeld, NoticeFileLeft, path);
            else
                SetNotice(NoticeNotSaved, FileExists(path.c_str()) ? NoticeFileLeft : -1, path, reason);
            return false;
        }
        return true;
    }
    catch (const _com_error& error)
    {
        // The roaming folder gone since the start (a share that went offline), or the writer failed.
        const std::wstring reason = GetErrorMessage(error);
        GetLog(true) << L"ERROR: Saving the settings to " << path << L" failed with " << reason;
        SetNotice(NoticeNotSaved, -1, path, reason);
        return false;
    }
}
