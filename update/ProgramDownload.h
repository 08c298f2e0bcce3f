#pragma once
// The new program of an update: fetched whole from the update service and written so that its
// file only ever holds a whole program.

#include "update/HttpResponse.h"

#include <string>

// The bytes of "getFile" for the product's update file id; raises a COM error for a failed or
// cut-short answer and for one that is not a Windows program.
std::string RequestProgramFile(const std::string& updateFileId, ProgressCallback progress);

// Writes the program to path + ".download", then renames it to path, replacing an earlier file;
// nothing is left at either name when that fails (COM error).
void WriteProgramFile(const std::wstring& path, const std::string& program);
