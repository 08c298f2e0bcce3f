#pragma once
// File-system helpers shared by both programs.

#include <string>

// The user's temporary folder as GetTempPathW gives it (ending in a backslash), read once per run.
const std::wstring& GetTempFolder();
// The temporary folder followed by name.
std::wstring GetTempFilePath(const wchar_t* name);
