#include "framework/Owners.h"
#include "framework/files/Files.h"

#include <algorithm>
#include <cwctype>

namespace
{
// Folders first; then by name, character by character in lower case, a prefix first.
bool ComesBefore(const FolderEntry& a, const FolderEntry& b)
{
    if (a.isFolder != b.isFolder)
        return a.isFolder;
    const size_t common = std::min(a.name.size(), b.name.size());
    for (size_t i = 0; i < common; ++i)
    {
        const auto x = static_cast<unsigned short>(towlower(a.name[i]));
        const auto y = static_cast<unsigned short>(towlower(b.name[i]));
        if (x != y)
            return x < y;
    }
    return a.name.size() < b.name.size();
}
} // namespace

std::vector<FolderEntry> ListFolder(const std::wstring& folder, DWORD* error)
{
    std::vector<FolderEntry> entries;
    DWORD result = ERROR_SUCCESS;
    WIN32_FIND_DATAW found{};
    const bool endsWithSeparator = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
    const std::wstring pattern = folder + (endsWithSeparator ? L"*.*" : L"\\*.*");
    Owners::FindHandle find(FindFirstFileW(pattern.c_str(), &found));
    if (!find)
    {
        result = GetLastError();
        // Only "nothing matched" is an empty folder (a drive root has no "." entry to find).
        if (result == ERROR_FILE_NOT_FOUND || result == ERROR_NO_MORE_FILES)
            result = ERROR_SUCCESS;
    }
    else
    {
        do
        {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                               (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
        } while (FindNextFileW(find.get(), &found));
        const DWORD last = GetLastError();
        if (last != ERROR_NO_MORE_FILES)
        {
            // A listing cut short is a folder that could not be read, not a smaller folder.
            result = last;
            entries.clear();
        }
    }
    std::sort(entries.begin(), entries.end(), ComesBefore);
    if (error)
        *error = result;
    return entries;
}
