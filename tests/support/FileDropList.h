#pragma once
// The CF_HDROP form of a list of files, as the shell hands one over in a drag or on the clipboard.

#include <windows.h>

#include <string>
#include <vector>

// A movable global block holding DROPFILES and the wide, double-NUL-terminated paths; the caller
// owns it. Null when it cannot be made.
HGLOBAL CreateFileDropList(const std::vector<std::wstring>& files);
