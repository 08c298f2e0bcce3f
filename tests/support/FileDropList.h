#pragma once
// Files dropped as the shell drops them: the CF_HDROP form of a list of files, and a real OLE
// drag and drop of such a list onto whatever window is under the mouse.

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

// A movable global block holding DROPFILES and the wide, double-NUL-terminated paths; the caller
// owns it. Null when it cannot be made.
HGLOBAL CreateFileDropList(const std::vector<std::wstring>& files);

// Drags files (a data object holding their CF_HDROP list) with DoDragDrop and lets go at once, so
// that they drop on the window under the mouse, in this process or another. OLE must be
// initialised on the calling thread. Returns DoDragDrop's result.
HRESULT DropFilesAtCursor(const std::vector<std::wstring>& files, DWORD allowedEffects, DWORD* effect);
