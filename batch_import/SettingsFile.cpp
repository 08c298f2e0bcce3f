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
std::wstring MakeSettingsPath()
{
    std::wstring path = GetKnownFolderPath(FOLDERID_RoamingAppData);
    for (const wchar_t* folder : {L"\\quillora", L"\\sheafin"})
    {
        path += folder;
        // An existing folder is no failure; a folder that cannot be made shows at the first save.
        CreateDirectoryW(path.c_str(), nullptr);
    }
    return path + L"\\settings.xml";
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

std::wstring Win32ErrorText(DWORD error) { return GetSystemErrorMessage(HRESULT_FROM_WIN32(error)); }

// What the user is to be told once about the settings read last; empty when all is well.
std::wstring& SettingsNotice()
{
    static std::wstring notice;
    return notice;
}

const wchar_t* const ProgramName = L"Quillora Batch File Import";
const wchar_t* const HeldReason = L" because another program holds it.";

// The file is left where it is, so that nothing is lost before the copy exists: the next save
// replaces it. False when no copy could be made.
bool KeepUnreadableFile(const std::wstring& path, const std::wstring& problem)
{
    const std::wstring kept = GetUnreadableSettingsPath(path);
    if (CopyFileW(path.c_str(), kept.c_str(), FALSE))
    {
        GetLog(true) << L"ERROR: The settings file " << path << L" " << problem
                     << L"; Sheafin starts with its default settings. The file was kept as " << kept;
        return true;
    }
    const DWORD error = GetLastError();
    GetLog(true) << L"ERROR: The settings file " << path << L" " << problem
                 << L"; Sheafin starts with its default settings. The file could not be kept as " << kept << L": "
                 << Win32ErrorText(error) << L"; it is not saved over";
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
                           ProgramName +
                           L" starts with its default settings, and the changes of this session will not be saved.";
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

bool SaveSettingsFile(const Importer::Settings& settings)
{
    std::wstring path;
    try
    {
        path = GetSettingsPath();
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: The settings were not saved: their folder could not be found ("
                     << GetErrorMessage(error) << L")";
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    return SaveSettingsFile(settings, path);
}

bool SaveSettingsFile(const Importer::Settings& settings, const std::wstring& path, const FileBytesWriter& write)
{
    if (settings.keepFile)
    {
        GetLog(true) << L"ERROR: The settings were not saved to " << path
                     << L": it holds a file that could not be read, or not kept aside";
        SetLastError(ERROR_CANCELLED);
        return false;
    }
    const std::string bytes = WriteUtf8Document(settings);
    if (ReplaceFileContentsWhenFree(path, bytes.data(), bytes.size(), L"The settings file", write))
        return true;
    const DWORD error = GetLastError();
    GetLog(true) << L"ERROR: The settings could not be saved to " << path << L"; the file was left unchanged: "
                 << Win32ErrorText(error);
    SetLastError(error);
    return false;
}

std::wstring SettingsNotSavedNotice(const std::wstring& path)
{
    return L"The settings could not be saved to " + path + HeldReason + L"\r\n\r\nThe file was left as it was.";
}
