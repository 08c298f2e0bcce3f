#include "framework/files/Files.h"

const std::wstring& GetTempFolder()
{
    // A function-local static: workers may ask for it first, at the same time as the UI thread.
    static const std::wstring folder = [] {
        wchar_t buffer[1024] = {};
        const DWORD length = GetTempPathW(1024, buffer);
        return std::wstring(buffer, length < 1024 ? length : 0);
    }();
    return folder;
}

std::wstring GetTempFilePath(const wchar_t* name) { return GetTempFolder() + (name ? name : L""); }
