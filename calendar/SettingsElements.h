#pragma once
// The elements of "lumday.xml": the root "Lumday" with the options ("Settings", holding the
// notebook filter "Notebooks") and the main window's placement ("Window").

#include "framework/xml/WindowPosition.h"
#include "framework/xml/XmlElement.h"

#include <cstdint>
#include <optional>
#include <string>

namespace S
{
// One selected notebook, known by its path.
class Notebook : public XmlElement<Notebook>
{
public:
    static constexpr ElementName Name{L"Notebook"};
    std::wstring text;

    Notebook() = default;
    explicit Notebook(std::wstring path) : text(std::move(path)) {}

    static constexpr auto Schema() { return Xml::Schema(Xml::Text(&Notebook::text)); }
};

class Notebooks : public XmlElement<Notebooks>
{
public:
    static constexpr ElementName Name{L"Notebooks"};
    bool all = true;
    Collection<Notebook> notebooks;

    std::shared_ptr<Notebook>& AddNew()
    {
        std::shared_ptr<Notebook>& added = notebooks.AddNew();
        added->parentLink = ElementLink{this, Name.localName.data()};
        return added;
    }

    static constexpr auto Schema()
    {
        return Xml::Schema(Xml::Attribute(L"all", &Notebooks::all, true), Xml::List(&Notebooks::notebooks));
    }
};

class Settings : public XmlElement<Settings>
{
public:
    static constexpr ElementName Name{L"Settings"};
    static constexpr float DefaultFontSize = 12.0f;

    bool settingsOpen = false;
    float fontSize = DefaultFontSize;
    std::int32_t viewType = 0;
    bool showPagesOnCreatedDate = true;
    bool showPagesOnLMT = true;
    bool singleInstance = false;
    bool mondayWeek = false;
    bool showPreviews = true;
    std::optional<SYSTEMTIME> lastUpdateCheck;
    std::optional<std::wstring> language;
    std::optional<bool> darkMode;
    Notebooks notebooks;

    static constexpr auto Schema()
    {
        using Xml::Attribute;
        return Xml::Schema(Attribute(L"settingsOpen", &Settings::settingsOpen, false),
                           Attribute(L"fontSize", &Settings::fontSize, DefaultFontSize),
                           Attribute(L"viewType", &Settings::viewType, 0),
                           Attribute(L"showPagesOnCreatedDate", &Settings::showPagesOnCreatedDate, true),
                           Attribute(L"showPagesOnLMT", &Settings::showPagesOnLMT, true),
                           Attribute(L"singleInstance", &Settings::singleInstance, false),
                           Attribute(L"mondayWeek", &Settings::mondayWeek, false),
                           Attribute(L"showPreviews", &Settings::showPreviews, true),
                           Attribute(L"lastUpdateCheck", &Settings::lastUpdateCheck),
                           Attribute(L"language", &Settings::language), Attribute(L"darkMode", &Settings::darkMode),
                           Xml::Required(&Settings::notebooks));
    }
};

// The main window's placement: the attributes of WP::WindowPosition under the name "Window".
class Window : public XmlElement<Window>
{
public:
    static constexpr ElementName Name{L"Window"};
    WP::WindowPosition placement;

    static constexpr auto Schema() { return Xml::Schema(Xml::Group(&Window::placement)); }
};

class Lumday : public XmlElement<Lumday>
{
public:
    static constexpr ElementName Name{L"Lumday"};
    Settings settings;
    Window window;

    static constexpr auto Schema() { return Xml::Schema(Xml::Required(&Lumday::settings), Xml::Required(&Lumday::window)); }
};
} // namespace S
