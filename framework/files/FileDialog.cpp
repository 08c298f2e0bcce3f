#include "framework/Owners.h"
#include "framework/com/ComError.h"
#include "framework/com/ErrorMessage.h"
#include "framework/files/Files.h"
#include "framework/log/Log.h"

#include <shlwapi.h>
#include <shobjidl.h>

_COM_SMARTPTR_TYPEDEF(IFileDialog, IID_IFileDialog);
_COM_SMARTPTR_TYPEDEF(IFileOpenDialog, IID_IFileOpenDialog);
_COM_SMARTPTR_TYPEDEF(IShellItemArray, IID_IShellItemArray);
_COM_SMARTPTR_TYPEDEF(IShellItem, IID_IShellItem);

namespace
{
void ShowAndCollect(HWND owner, const wchar_t* title, const std::map<std::wstring, std::wstring>& filters,
                    bool pickFolders, std::vector<std::wstring>& paths)
{
    IUnknown* created = nullptr;
    ThrowIfFailed(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_ALL, IID_IUnknown,
                                   reinterpret_cast<void**>(&created)));
    IFileDialogPtr dialog;
    {
        const _com_ptr_t<_com_IIID<IUnknown, &IID_IUnknown>> unknown(created, false);
        ThrowIfFailed(OleRun(unknown));
        ThrowIfFailed(unknown->QueryInterface(IID_IFileDialog, reinterpret_cast<void**>(&dialog)));
    }
    if (title)
        ThrowIfFailed(dialog->SetTitle(title));

    FILEOPENDIALOGOPTIONS options = 0;
    ThrowIfFailed(dialog->GetOptions(&options));
    options |= FOS_FORCEFILESYSTEM | FOS_ALLOWMULTISELECT | FOS_FILEMUSTEXIST;
    if (pickFolders)
        options |= FOS_PICKFOLDERS;
    ThrowIfFailed(dialog->SetOptions(options));

    if (!pickFolders && !filters.empty())
    {
        std::vector<COMDLG_FILTERSPEC> specs;
        for (const auto& [name, pattern] : filters)
            specs.push_back({name.c_str(), pattern.c_str()});
        ThrowIfFailed(dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data()));
        // The dialog wants the extension without its dot.
        const wchar_t* extension = PathFindExtensionW(filters.begin()->second.c_str());
        if (*extension == L'.')
            ++extension;
        ThrowIfFailed(dialog->SetDefaultExtension(extension));
    }

    ThrowIfFailed(dialog->Show(owner));

    IFileOpenDialogPtr openDialog;
    ThrowIfFailed(dialog->QueryInterface(IID_IFileOpenDialog, reinterpret_cast<void**>(&openDialog)));
    IShellItemArrayPtr results;
    ThrowIfFailed(openDialog->GetResults(&results));
    DWORD count = 0;
    ThrowIfFailed(results->GetCount(&count));
    for (DWORD i = 0; i < count; ++i)
    {
        IShellItemPtr item;
        ThrowIfFailed(results->GetItemAt(i, &item));
        Owners::CoTaskMemory<wchar_t> path;
        ThrowIfFailed(item->GetDisplayName(SIGDN_FILESYSPATH, path.put()));
        paths.emplace_back(path.get() ? path.get() : L"");
    }
}
} // namespace

std::vector<std::wstring> ShowOpenFileDialog(HWND owner, const wchar_t* title,
                                             const std::map<std::wstring, std::wstring>& filters, bool pickFolders)
{
    std::vector<std::wstring> paths;
    try
    {
        ShowAndCollect(owner, title, filters, pickFolders, paths);
    }
    catch (const _com_error& error)
    {
        GetLog(true) << L"ERROR: " << GetErrorMessage(error);
    }
    return paths;
}
