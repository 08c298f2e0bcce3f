#include "framework/Owners.h"
#include "framework/com/ComError.h"
#include "framework/files/Files.h"

#include <shobjidl.h>

_COM_SMARTPTR_TYPEDEF(IKnownFolderManager, IID_IKnownFolderManager);
_COM_SMARTPTR_TYPEDEF(IKnownFolder, IID_IKnownFolder);

std::wstring GetKnownFolderPath(REFKNOWNFOLDERID id)
{
    // A worker already in the multithreaded apartment keeps it (RPC_E_CHANGED_MODE); a thread
    // without COM gets an apartment for the length of the call.
    Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
    if (FAILED(apartment.result()) && apartment.result() != RPC_E_CHANGED_MODE)
        _com_issue_error(apartment.result());

    IUnknown* created = nullptr;
    ThrowIfFailed(CoCreateInstance(CLSID_KnownFolderManager, nullptr, CLSCTX_ALL, IID_IUnknown,
                                   reinterpret_cast<void**>(&created)));
    IKnownFolderManagerPtr manager;
    {
        const _com_ptr_t<_com_IIID<IUnknown, &IID_IUnknown>> unknown(created, false);
        ThrowIfFailed(OleRun(unknown));
        ThrowIfFailed(unknown->QueryInterface(IID_IKnownFolderManager, reinterpret_cast<void**>(&manager)));
    }
    if (!manager)
        _com_issue_error(E_POINTER);

    IKnownFolderPtr folder;
    ThrowIfFailed(manager->GetFolder(id, &folder));
    if (!folder)
        _com_issue_error(E_POINTER);
    Owners::CoTaskMemory<wchar_t> path;
    ThrowIfFailed(folder->GetPath(0, path.put()));
    if (!path.get())
        _com_issue_error(E_POINTER);
    return path.get();
}
