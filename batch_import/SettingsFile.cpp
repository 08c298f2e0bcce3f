#include "batch_import/SettingsFile.h"

#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"
#include "framework/text/DateTime.h"
#include "framework/text/Text.h"
#include "framework/xml/XmlDocument.h"

#include <knownfolders.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <utility>

namespace
{
std::wstring Win32ErrorText(DWORD error) { return GetSystemErrorMessage(HRESULT_FROM_WIN32(error)); }

// Makes the folders of the settings file below the roaming folder that are missing; an existing
// folder is no failure. One that cannot be made is logged, and the save into it fails.
void MakeSettingsFolders(const std::wstring& roaming)
{
    std::wstring path = roaming;
    for (const wchar_t* folder : {L"\\quillora", L"\\sheafin"})
    {
        path += folder;
        if (CreateDirectoryW(path.c_str(), nullptr))
            continue;
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        GetLog(true) << L"ERROR: The settings folder " << path << L" could not be made: " << Win32ErrorText(error);
        return;
    }
}

// The roaming folder is the one the path was first found in: the folders below it are made again
// at each save, so that one removed while the program runs does not lose the session's changes.
const std::wstring& RoamingFolder()
{
    static const std::wstring folder = GetKnownFolderPath(FOLDERID_RoamingAppData);
    return folder;
}

std::wstring MakeSettingsPath()
{
    MakeSettingsFolders(RoamingFolder());
    return RoamingFolder() + L"\\quillora\\sheafin\\settings.xml";
}

// The text of the file's bytes: UTF-8 (a leading mark left out) or else UTF-16LE.
std::wstring SettingsText(const std::string& bytes)
{
    if (IsUtf8Text(bytes))
        return Utf8ToWide(bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes);
    return Utf16Text(bytes);
}

bool IsBlank(const std::wstring& text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswspace(c) != 0; });
}

// What the user is to be told once about the settings read last; empty when all is well.
std::wstring& SettingsNotice()
{
    static std::wstring notice;
    return notice;
}

const wchar_t* const ProgramName = L"Quillora Batch File Import";
const wchar_t* const HeldReason = L" because another program holds it.";

const wchar_t* const NotSavedThisSession =
    L" starts with its default settings, and the changes of this session will not be saved.";

// The file is left where it is, so that nothing is lost before the copy exists: the next save
// replaces it. False when no copy could be made: the user is told, as no change of the session
// will be kept.
bool KeepUnreadableFile(const std::wstring& path, const std::wstring& problem)
{
    const std::wstring kept = GetUnreadableSettingsPath(path);
    if (CopyFileW(path.c_str(), kept.c_str(), FALSE))
    {
        GetLog(true) << L"ERROR: The settings file " << path << L" " << problem
                     << L"; Sheafin starts with its default settings. The file was kept as " << kept;
        return true;
    }
    const std::wstring reason = Win32ErrorText(GetLastError());
    GetLog(true) << L"ERROR: The settings file " << path << L" " << problem
                 << L"; Sheafin starts with its default settings. The file could not be kept as " << kept << L": "
                 << reason << L"; it is not saved over";
    SettingsNotice() = L"The settings file " + path + L" " + problem + L", and no copy of it could be kept as " + kept +
                       L": " + reason + L"\r\n\r\n" + ProgramName + NotSavedThisSession;
    return false;
}
} // namespace

std::wstring GetSettingsPath()
{
    static const std::wstring path = MakeSettingsPath();
    return path;
}

std::wstring GetUnreadableSettingsPath(const std::wstring& path) { return path + L".bad"; }

std::wstring TakeSettingsNotice() { return std::exchange(SettingsNotice(), std::wstring()); }

namespace Importer
{
Settings::Settings()
{
    std::wstring path;
    try
    {
        path = GetSettingsPath();
    }
    catch (const _com_error& error)
    {
        // A roaming folder that is gone, or redirected to a share that is offline, stops no start:
        // the program runs on its defaults, and nothing is written.
        const std::wstring reason = GetErrorMessage(error);
        GetLog(true) << L"ERROR: The settings folder could not be found (" << reason
                     << L"); Sheafin starts with its default settings, which cannot be kept";
        keepFile = true;
        SettingsNotice() = L"The application data folder, where " + std::wstring(ProgramName) +
                           L" keeps its settings, could not be found: " + reason + L"\r\n\r\n" + ProgramName +
                           L" starts with its default settings, and settings cannot be kept.";
        return;
    }
    Load(path);
}

Settings::Settings(const std::wstring& path) { Load(path); }

void Settings::Load(const std::wstring& path)
{
    // A backup, a synchronisation or a virus scanner lets go of the file in a moment.
    const FileReadResult file = ReadWholeFileWhenFree(path, L"The settings file");
    if (file.Missing())
        return;
    if (!file.Whole())
    {
        // Not read is not damaged: the file may hold the user's whole workspace, and nothing of
        // this session writes over it.
        const bool held = IsHeldByAnotherProgram(file.error);
        GetLog(true) << L"ERROR: The settings file " << path << L" could not be read ("
                     << Win32ErrorText(file.error)
                     << L"); Sheafin starts with its default settings, and the file is not saved over";
        keepFile = true;
        SettingsNotice() = L"The settings file " + path + L" could not be read" +
                           (held ? std::wstring(HeldReason) : L": " + Win32ErrorText(file.error)) + L"\r\n\r\n" +
                           ProgramName + NotSavedThisSession;
        return;
    }
    std::wstring problem;
    try
    {
        const std::wstring text = SettingsText(file.bytes);
        const DocumentOutline outline = SurveyDocument(text);
        if (IsBlank(text))
            problem = L"is empty";
        else if (!outline.whole)
            problem = L"is damaged or cut off (the reading stopped at line " + std::to_wstring(outline.line) +
                      L", position " + std::to_wstring(outline.position) + L")";
        else if (outline.rootName != Name.localName)
            problem = L"holds \"" + outline.rootName + L"\" rather than settings";
        else
        {
            ParseElement(*this, text);
            if (lastUpdateCheck && !IsValidSystemTime(*lastUpdateCheck))
                lastUpdateCheck.reset();
            return;
        }
    }
    catch (const _com_error& error)
    {
        *this = Settings(DefaultsOnly{});
        problem = L"could not be read (" + GetErrorMessage(error) + L")";
    }
    keepFile = !KeepUnreadableFile(path, problem);
}
} // namespace Importer

bool SaveSettingsFile(const Importer::Settings& settings, ULONGLONG heldFileWait)
{
    if (settings.keepFile)
    {
        GetLog(true) << L"ERROR: The settings were not saved: their file could not be read, or not kept aside, "
                     << L"or their folder could not be found";
        SetLastError(ERROR_CANCELLED);
        return false;
    }
    std::wstring path;
    try
    {
        path = GetSettingsPath();
        MakeSettingsFolders(RoamingFolder());
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: The settings were not saved: their folder could not be found ("
                     << GetErrorMessage(error) << L")";
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    return SaveSettingsFile(settings, path, WriteBytesToNewFile, heldFileWait);
}

bool SaveSettingsFile(const Importer::Settings& settings, const std::wstring& path, const FileBytesWriter& write,
                      ULONGLONG heldFileWait)
{
    if (settings.keepFile)
    {
        GetLog(true) << L"ERROR: The settings were not saved to " << path
                     << L": it holds a file that could not be read, or not kept aside";
        SetLastError(ERROR_CANCELLED);
        return false;
    }
    const std::string bytes = WriteUtf8Document(settings);
    if (ReplaceFileContentsWhenFree(path, bytes.data(), bytes.size(), L"The settings file", write, heldFileWait))
        return true;
    const DWORD error = GetLastError();
    GetLog(true) << L"ERROR: The settings could not be saved to " << path << L"; the file was left unchanged: "
                 << Win32ErrorText(error);
    SetLastError(error);
    return false;
}

std::wstring SettingsNotSavedNotice(const std::wstring& path, DWORD error)
{
    if (error == ERROR_CANCELLED)
        return {};
    if (IsHeldByAnotherProgram(error))
        return L"The settings could not be saved to " + path + HeldReason + L"\r\n\r\nThe file was left as it was.";
    if (error == ERROR_PATH_NOT_FOUND)
    {
        const size_t slash = path.find_last_of(L'\\');
        return L"The settings could not be saved to " + path + L": its folder " +
               (slash == std::wstring::npos ? path : path.substr(0, slash)) + L" is missing and could not be made.";
    }
    // Nothing is replaced but whole, so a file that was there still holds what it held.
    return L"The settings could not be saved to " + path + L": " + Win32ErrorText(error) +
           (FileExists(path.c_str()) ? L"\r\n\r\nThe file was left as it was." : L"");
}
