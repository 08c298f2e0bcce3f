#include "framework/ole/DropTarget.h"

#include "framework/log/Log.h"

#include <shellapi.h>

#include <exception>

namespace
{
// A medium that GetData filled, given back when the drop is done.
class FilledMedium
{
public:
    FilledMedium() = default;
    FilledMedium(const FilledMedium&) = delete;
    FilledMedium& operator=(const FilledMedium&) = delete;
    ~FilledMedium()
    {
        if (filled_)
            ReleaseStgMedium(&medium_);
    }
    // Filled only when GetData succeeds: a medium it did not fill holds nothing of ours to release.
    HRESULT Fill(IDataObject* data, FORMATETC& format)
    {
        const HRESULT hr = data->GetData(&format, &medium_);
        filled_ = SUCCEEDED(hr);
        return hr;
    }
    const STGMEDIUM& get() const { return medium_; }

private:
    STGMEDIUM medium_{};
    bool filled_ = false;
};
} // namespace

std::vector<std::wstring> GetDroppedPaths(HDROP drop)
{
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> paths(count);
    for (UINT i = 0; i < count; ++i)
    {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(copied <= length ? copied : length);
        paths[i] = std::move(path);
    }
    return paths;
}

STDMETHODIMP DropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect)
{
    if (effect)
        *effect = DROPEFFECT_COPY;
    return S_OK;
}

STDMETHODIMP DropTarget::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (effect)
        *effect = DROPEFFECT_COPY;
    return S_OK;
}

STDMETHODIMP DropTarget::DragLeave() { return S_OK; }

STDMETHODIMP DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    if (!data)
        return S_OK;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    FilledMedium medium;
    if (FAILED(medium.Fill(data, format)))
        return S_OK;
    if (effect)
        *effect = DROPEFFECT_COPY;
    if (medium.get().tymed != TYMED_HGLOBAL || !medium.get().hGlobal)
        return S_OK;
    try
    {
        const std::vector<std::wstring> paths = GetDroppedPaths(static_cast<HDROP>(medium.get().hGlobal));
        if (!paths.empty() && onDrop)
            onDrop(paths);
    }
    catch (const std::exception& error)
    {
        GetLog(true) << L"ERROR: dropping files failed: " << error.what();
    }
    catch (...)
    {
        GetLog(true) << L"ERROR: dropping files failed";
    }
    return S_OK;
}
