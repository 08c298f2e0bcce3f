#pragma once
// The new program of an update: fetched whole from the update service and written so that its
// file only ever holds a whole program.

#include "update/HttpResponse.h"

#include <string>

// The bytes of "getFile" for the product's update file id; raises a COM error for a failed answer,
// one without a Content-Length, one shorter than its Content-Length (also when the progress
// callback stopped the reading) and one that is not a Windows program.
std::string RequestProgramFile(const std::string& updateFileId, ProgressCallback progress);

// Writes the program beside path under a name of its own (see ProgramFile.h), then moves it over
// path, replacing an earlier file; when that fails (COM error) path is as it was and nothing is
// left beside it.
void WriteProgramFile(const std::wstring& path, const std::string& program);
