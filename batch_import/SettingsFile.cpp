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

std::wstring SettingsText(const std::wstring& path)
{
    if (IsUtf8File(path.c_str()))
        return Utf8ToWide(ReadFileBytes(path.c_str()));
    return ReadTextFile(path.c_str());
}

bool IsBlank(const std::wstring& text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswspace(c) != 0; });
}

std::wstring Win32ErrorText(DWORD error) { return GetSystemErrorMessage(HRESULT_FROM_WIN32(error)); }

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
        GetLog(true) << L"ERROR: The settings folder could not be found (" << GetErrorMessage(error)
                     << L"); Sheafin starts with its default settings";
        return;
    }
    Load(path);
}

Settings::Settings(const std::wstring& path) { Load(path); }

void Settings::Load(const std::wstring& path)
{
    if (!FileExists(path.c_str()))
        return;
    std::wstring problem;
    try
    {
        const std::wstring text = SettingsText(path);
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

bool SaveSettingsFile(const Importer::Settings& settings) { return SaveSettingsFile(settings, GetSettingsPath()); }

bool SaveSettingsFile(const Importer::Settings& settings, const std::wstring& path, const FileBytesWriter& write)
{
    if (settings.keepFile)
    {
        GetLog(true) << L"ERROR: The settings were not saved to " << path
                     << L": it holds a file that could not be read nor kept aside";
        return false;
    }
    const std::string bytes = WriteUtf8Document(settings);
    if (ReplaceFileContents(path, bytes.data(), bytes.size(), write))
        return true;
    const DWORD error = GetLastError();
    GetLog(true) << L"ERROR: The settings could not be saved to " << path << L"; the file was left unchanged: "
                 << Win32ErrorText(error);
    return false;
}
