#include "tests/support/FileDropList.h"

#include <shlobj.h>

#include <cstring>

HGLOBAL CreateFileDropList(const std::vector<std::wstring>& files)
{
    std::wstring list;
    for (const auto& file : files)
        list += file + L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL global = GlobalAlloc(GHND, bytes);
    if (!global)
        return nullptr;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(global));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(global);
    return global;
}
