#pragma once
// Sheafin's settings and workspace as they stand in "settings.xml": the root "Settings" with the
// window's view settings and placement ("View") and the last import configuration with its
// target ("LastConfig").

#include "batch_import/ConfigElements.h"
#include "framework/xml/WindowPosition.h"
#include "framework/xml/XmlElement.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace Importer
{
// A configuration with the target it was last run against.
class T_SHFN : public SchemaType
{
public:
    static constexpr std::wstring_view UnknownTargetName = L"Unknown Location";

    // 1 notebook, 2 section group, 4 section, 8 page; 0 when no target was chosen.
    std::int32_t targetType = 0;
    // The target's display name.
    std::wstring targetName{UnknownTargetName};
    Config config;

    static constexpr auto Schema()
    {
        using T = T_SHFN;
        return Xml::Schema(Xml::Attribute(L"targetType", &T::targetType, 0),
                           Xml::Attribute(L"targetName", &T::targetName, UnknownTargetName), Xml::Required(&T::config));
    }

protected:
    T_SHFN() = default;
    T_SHFN(const T_SHFN&) = default;
    T_SHFN& operator=(const T_SHFN&) = default;
    ~T_SHFN() = default;
};

class SHFN_LastConfig : public XmlElement<SHFN_LastConfig, T_SHFN>
{
public:
    static constexpr ElementName Name{L"LastConfig"};

    SHFN_LastConfig() = default;
    SHFN_LastConfig(std::wstring targetName, Config config)
    {
        this->targetName = std::move(targetName);
        this->config = std::move(config);
    }

    static constexpr auto Schema() { return T_SHFN::Schema(); }
};

class View : public XmlElement<View>
{
public:
    static constexpr ElementName Name{L"View"};
    static constexpr std::wstring_view FollowOfficeTheme = L"followOffice";
    static constexpr std::wstring_view ListView = L"list";

    // "light", "dark" or "followOffice"; kept as read.
    std::wstring theme{FollowOfficeTheme};
    // "list", or "tiles" for the icon view; kept as read.
    std::wstring fileList{ListView};
    WP::WindowPosition windowPosition;

    View() = default;
    View(std::wstring theme, std::wstring fileList, WP::WindowPosition windowPosition)
        : theme(std::move(theme)), fileList(std::move(fileList)), windowPosition(std::move(windowPosition))
    {
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"theme", &View::theme, FollowOfficeTheme),
                           Xml::Attribute(L"fileList", &View::fileList, ListView),
                           Xml::Required(&View::windowPosition));
    }
};

// The root of the file. Made from the file: the defaults first, then whatever the file holds.
class Settings : public XmlElement<Settings>
{
public:
    static constexpr ElementName Name{L"Settings"};

    // Picks the constructor that builds the defaults alone, without looking for a file.
    struct DefaultsOnly
    {
    };

    // Carried from the file back into the file; nothing in the program sets or uses it.
    std::wstring lastFilePath;
    // When the program last checked for updates (UTC); a stored text that is no valid date and
    // time reads as none.
    std::optional<SYSTEMTIME> lastUpdateCheck;
    // The user has made changes that the file does not hold yet; the main window clears it as it
    // writes them into the file.
    bool dirty = false;
    View view;
    std::shared_ptr<SHFN_LastConfig> lastConfig;
    // Not part of the file: the file could not be read (another program held it longer than the
    // read waits, the access was denied), or not copied aside when it held no settings, or there is
    // no folder for it; saving must not replace it (it may be the user's only copy of the
    // workspace). Copies of these settings keep it.
    bool keepFile = false;

    // The defaults, then the settings file at GetSettingsPath(). A roaming folder that cannot be
    // found leaves the defaults and sets keepFile.
    Settings();
    // The defaults, then the settings file at path, tried again for a while when another program
    // holds it. A missing file leaves the defaults. A file that is there but cannot be read leaves
    // the defaults and sets keepFile. One whose text holds no settings (empty, damaged, cut off, of
    // another kind) is logged and copied beside itself as "<path>.bad", and the defaults stay: a
    // later save then leaves the copy alone; when no copy can be made, keepFile is set. Those that
    // cannot be read or whose folder is missing leave a notice (TakeSettingsNotice).
    explicit Settings(const std::wstring& path);
    explicit Settings(DefaultsOnly) {}

    static constexpr auto Schema()
    {
        using S = Settings;
        return Xml::Schema(Xml::Attribute(L"lastFilePath", &S::lastFilePath),
                           Xml::Attribute(L"lastUpdateCheck", &S::lastUpdateCheck),
                           Xml::Attribute(L"dirty", &S::dirty, false), Xml::Required(&S::view),
                           Xml::Optional(&S::lastConfig));
    }

private:
    void Load(const std::wstring& path);
};
} // namespace Importer
