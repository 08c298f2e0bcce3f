#pragma once
// Where Sheafin keeps "settings.xml" and how it writes it. Reading is done by the Settings
// constructors (SettingsFile.cpp).

#include "batch_import/SettingsElements.h"
#include "framework/files/Files.h"

#include <string>

// "settings.xml" in the folders "quillora" and "sheafin" of the user's roaming application data;
// the folders are made when missing. Found once per process.
std::wstring GetSettingsPath();

// Where a settings file that could not be read is kept: its path followed by ".bad".
std::wstring GetUnreadableSettingsPath(const std::wstring& path);

// Writes settings to GetSettingsPath(), or to path. The file is replaced whole or not at all: it
// is written beside itself first and then moved over the old one, so a failed write leaves the
// previous file as it was. Settings read from a file that could neither be read nor kept aside
// (keepFile) are not written over it. A failure is logged and answers false. Failures of the XML
// writer itself raise COM errors.
bool SaveSettingsFile(const Importer::Settings& settings);
bool SaveSettingsFile(const Importer::Settings& settings, const std::wstring& path,
                      const FileBytesWriter& write = WriteBytesToNewFile);
