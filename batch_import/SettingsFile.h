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
// previous file as it was. A file that another program holds is tried again for heldFileWait
// milliseconds (ReplaceFileContentsWhenFree). Settings whose file could not be read, or not kept
// aside, or whose folder could not be found (keepFile), are not written (ERROR_CANCELLED). The
// folders of GetSettingsPath() are made again when missing. A failure is logged and answers false,
// GetLastError telling why (IsHeldByAnotherProgram for a file still held). Failures of the XML
// writer itself raise COM errors.
bool SaveSettingsFile(const Importer::Settings& settings, ULONGLONG heldFileWait = HeldFileWait);
bool SaveSettingsFile(const Importer::Settings& settings, const std::wstring& path,
                      const FileBytesWriter& write = WriteBytesToNewFile, ULONGLONG heldFileWait = HeldFileWait);

// What the user is told when a save to path failed with error (GetLastError of SaveSettingsFile):
// the file and why, and that a file that was there was left as it was; empty for settings that
// were not to be written (ERROR_CANCELLED), which the user was told of at the start.
std::wstring SettingsNotSavedNotice(const std::wstring& path, DWORD error);

// What the user is to be told once about the settings read last: that the file could not be read,
// or that there is no folder to keep it in, and that this session's changes will not be kept;
// empty when there is nothing to tell. Empty after it has been taken.
std::wstring TakeSettingsNotice();
