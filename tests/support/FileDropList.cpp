#include "tests/support/FileDropList.h"

#include "framework/com/UnknownImpl.h"

#include <comdef.h>
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

namespace
{
class FileDataObject : public UnknownImpl<IDataObject>
{
public:
    explicit FileDataObject(std::vector<std::wstring> files) : files_(std::move(files)) {}

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        HGLOBAL global = CreateFileDropList(files_);
        if (!global)
            return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = global;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::wstring> files_;
};

// No button is held: the drag ends with a drop at once, wherever the mouse is.
class DropAtOnce : public UnknownImpl<IDropSource>
{
public:
    STDMETHODIMP QueryContinueDrag(BOOL escape, DWORD) override { return escape ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP; }
    STDMETHODIMP GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

_COM_SMARTPTR_TYPEDEF(IDataObject, IID_IDataObject);
_COM_SMARTPTR_TYPEDEF(IDropSource, IID_IDropSource);
} // namespace

HRESULT DropFilesAtCursor(const std::vector<std::wstring>& files, DWORD allowedEffects, DWORD* effect)
{
    const IDataObjectPtr data(new FileDataObject(files), false);
    const IDropSourcePtr source(new DropAtOnce, false);
    return DoDragDrop(data, source, allowedEffects, effect);
}
