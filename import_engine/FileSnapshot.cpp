#include "import_engine/FileSnapshot.h"

#include "import_engine/ImportErrors.h"
#include "import_engine/PdfDocument.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>

#include <cwchar>

namespace
{
// Enough tries for a folder name that no earlier copy took.
constexpr int MostTries = 100;

// A folder of its own for one copy, below the printouts' folder: the copy keeps its file's name
// and still never meets an earlier copy, a rendered page or a document exported there (which
// would replace a copy of the same name before OneNote read it).
bool MakeFolderForCopy(std::wstring& folder)
{
    const std::wstring printouts = GetPrintoutFolder();
    const std::wstring copies = printouts + L"\\copies";
    CreateDirectoryW(printouts.c_str(), nullptr);
    CreateDirectoryW(copies.c_str(), nullptr);
    for (int tries = 0; tries < MostTries; ++tries)
    {
        // The GUID's first part: short, so that the path of a file with a long name stays in bounds.
        GUID id{};
        if (FAILED(CoCreateGuid(&id)))
            return false;
        wchar_t name[16] = {};
        std::swprintf(name, 16, L"%08lX", static_cast<unsigned long>(id.Data1));
        folder = copies + L"\\" + name;
        if (CreateDirectoryW(folder.c_str(), nullptr))
            return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}
} // namespace

TOrError<std::wstring> SnapshotFile(const std::wstring& path)
{
    std::wstring folder;
    if (!MakeFolderForCopy(folder))
        return MakeHResultError(HRESULT_FROM_WIN32(GetLastError()), L"File: " + path);
    const std::wstring copy = folder + L"\\" + PathFindFileNameW(path.c_str());
    if (CopyFileW(path.c_str(), copy.c_str(), TRUE))
        return copy;
    const DWORD error = GetLastError();
    RemoveDirectoryW(folder.c_str());
    return MakeHResultError(HRESULT_FROM_WIN32(error), L"File: " + path);
}
