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
// previous file as it was. A file that another program holds is tried again for a while
// (ReplaceFileContentsWhenFree). Settings whose file could not be read, or not kept aside
// (keepFile), are not written over it. A failure is logged and answers false, GetLastError telling
// why (IsHeldByAnotherProgram for a file still held). Failures of the XML writer itself raise COM
// errors.
bool SaveSettingsFile(const Importer::Settings& settings);
bool SaveSettingsFile(const Importer::Settings& settings, const std::wstring& path,
                      const FileBytesWriter& write = WriteBytesToNewFile);

// What the user is told when a save found the file at path held by another program.
std::wstring SettingsNotSavedNotice(const std::wstring& path);

// What the user is to be told once about the settings read last: that the file could not be read,
// or that there is no folder to keep it in, and that this session's changes will not be kept;
// empty when there is nothing to tell. Empty after it has been taken.
std::wstring TakeSettingsNotice();
