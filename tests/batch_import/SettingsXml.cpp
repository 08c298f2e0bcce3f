#include "tests/batch_import/SettingsXml.h"

#include "framework/xml/XmlDocument.h"

namespace SettingsXml
{
std::wstring Compact(std::wstring_view xml)
{
    std::wstring text(xml);
    for (size_t found = text.find(L" />"); found != std::wstring::npos; found = text.find(L" />", found))
        text.erase(found, 1);
    std::wstring compact;
    for (size_t i = 0; i < text.size(); ++i)
    {
        compact += text[i];
        if (text[i] != L'>')
            continue;
        const size_t next = text.find_first_not_of(L" \t\r\n", i + 1);
        if (next != std::wstring::npos && text[next] == L'<')
            i = next - 1;
    }
    const size_t start = compact.find_first_not_of(L" \t\r\n");
    const size_t end = compact.find_last_not_of(L" \t\r\n");
    return start == std::wstring::npos ? std::wstring() : compact.substr(start, end - start + 1);
}

std::wstring Written(const ChildElement& element)
{
    const _bstr_t text = WriteElement(element, nullptr, false, false);
    return Compact(std::wstring_view(static_cast<const wchar_t*>(text), text.length()));
}

Importer::Settings Read(std::wstring_view xml)
{
    Importer::Settings settings{Importer::Settings::DefaultsOnly{}};
    ParseElement(settings, xml);
    return settings;
}

Importer::Settings FullWorkspace()
{
    Importer::Settings settings{Importer::Settings::DefaultsOnly{}};
    settings.lastFilePath = L"C:\\Users\\Ann\\Documents\\last.pdf";
    settings.lastUpdateCheck = SYSTEMTIME{2024, 3, 0, 5, 7, 8, 9, 10};
    settings.dirty = true;
    settings.view.theme = L"dark";
    settings.view.fileList = L"tiles";
    WP::WindowPosition& placement = settings.view.windowPosition;
    placement.x = 120;
    placement.y = -8;
    placement.width = 900;
    placement.height = 640;
    placement.flags = 2;
    placement.showCmd = 3;
    placement.minX = -1;
    placement.minY = -1;
    placement.maxX = -9;
    placement.maxY = -9;

    Config config;
    config.importFormat = {.fileAttachment = true, .fileContent = true, .originalPath = Config::HyperlinkPath};
    config.outputFormat = Config::InsertEachFileOnASeparatePage;
    config.createNew = true;
    config.location = L"onenote:https://d.docs.live.net/abc/Notes/&section-id={1A2B}&end";
    config.printoutScale = 300;
    config.entries = {
        {L"C:\\Data\\report \"final\" <v2>.pdf", {}, 0},
        {L"C:\\Data\\Folder",
         {{L"C:\\Data\\Folder\\a.txt", {}, 0},
          {L"C:\\Data\\Folder\\Sub", {{L"C:\\Data\\Folder\\Sub\\b.docx", {}, 0}}, 0},
          {L"C:\\Data\\Folder\\Empty", {}, 0}},
         0},
        {L"D:\\\u5199\u771f\\\u732b.png", {}, 0},
    };
    StoreWorkspaceConfig(settings, config);
    settings.lastConfig->targetType = 4;
    settings.lastConfig->targetName = L"Notes \u203a Travel & Plans";
    return settings;
}
} // namespace SettingsXml
