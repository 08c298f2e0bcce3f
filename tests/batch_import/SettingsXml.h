#pragma once
// What the settings tests share: element trees as compact text, settings read from text, and a
// full workspace to write and read.

#include "batch_import/BatchImport.h"

#include <string>
#include <string_view>

namespace SettingsXml
{
// The XML without the white space between tags and with "<a/>" for "<a />", so that expectations
// do not depend on the writer's indentation.
std::wstring Compact(std::wstring_view xml);

// The element as the settings writer writes it (no declaration), compacted.
std::wstring Written(const ChildElement& element);

// Default settings filled from document text, as the settings file's reader fills them.
Importer::Settings Read(std::wstring_view xml);

// Settings with every value set away from its default: view, placement, update check, a last
// target and a configuration with nested folders.
Importer::Settings FullWorkspace();
} // namespace SettingsXml
