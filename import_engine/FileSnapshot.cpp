#include "import_engine/FileSnapshot.h"

#include "import_engine/ImportErrors.h"
#include "import_engine/PdfDocument.h"

#include <windows.h>
#include <shlwapi.h>

namespace
{
// Enough numbered variants for any number of files of one name.
constexpr int MostVariants = 10000;

std::wstring Variant(const std::wstring& name, int number)
{
    if (number < 2)
        return name;
    const wchar_t* extension = PathFindExtensionW(name.c_str());
    const std::wstring stem = name.substr(0, static_cast<size_t>(extension - name.c_str()));
    return stem + L" (" + std::to_wstring(number) + L")" + extension;
}
} // namespace

TOrError<std::wstring> SnapshotFile(const std::wstring& path)
{
    const std::wstring folder = GetPrintoutFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring name = PathFindFileNameW(path.c_str());
    DWORD error = ERROR_SUCCESS;
    for (int number = 1; number <= MostVariants; ++number)
    {
        const std::wstring copy = folder + L"\\" + Variant(name, number);
        if (CopyFileW(path.c_str(), copy.c_str(), TRUE))
            return copy;
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return MakeHResultError(HRESULT_FROM_WIN32(error), L"File: " + path);
}
