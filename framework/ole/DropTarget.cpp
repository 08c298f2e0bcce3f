#include "framework/ole/DropTarget.h"

#include "framework/ScopeExit.h"
#include "framework/log/Log.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
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
    // DragQueryFileW looks for the n-th name from the start of the list each time, which for a drop
    // of thousands of files costs seconds: the list is read once, as DragQueryFileW reads it.
    std::vector<std::wstring> paths;
    const SIZE_T size = GlobalSize(drop);
    const auto* block = static_cast<const BYTE*>(GlobalLock(drop));
    if (!block)
        return paths;
    const ScopeExit unlock([drop] { GlobalUnlock(drop); });
    if (size < sizeof(DROPFILES))
        return paths;
    DROPFILES header{};
    std::memcpy(&header, block, sizeof header);
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles >= size)
        return paths;
    if (header.fWide)
    {
        // Names of wide characters, each ended by a NUL, the list by an empty name.
        const size_t count = (size - header.pFiles) / sizeof(wchar_t);
        std::wstring names(count, L'\0');
        std::memcpy(names.data(), block + header.pFiles, count * sizeof(wchar_t));
        for (size_t at = 0; at < count && names[at];)
        {
            const size_t end = std::min(names.find(L'\0', at), count);
            paths.push_back(names.substr(at, end - at));
            at = end + 1;
        }
        return paths;
    }
    const auto* names = reinterpret_cast<const char*>(block + header.pFiles);
    const size_t count = size - header.pFiles;
    for (size_t at = 0; at < count && names[at];)
    {
        const size_t end = std::find(names + at, names + count, '\0') - names;
        const int length = static_cast<int>(end - at);
        std::wstring path(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, names + at, length, nullptr, 0)), L'\0');
        MultiByteToWideChar(CP_ACP, 0, names + at, length, path.data(), static_cast<int>(path.size()));
        paths.push_back(std::move(path));
        at = end + 1;
    }
    return paths;
}

DWORD DropTarget::Effect() const { return !takesDrops || takesDrops() ? DROPEFFECT_COPY : DROPEFFECT_NONE; }

STDMETHODIMP DropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect)
{
    if (effect)
        *effect = Effect();
    return S_OK;
}

STDMETHODIMP DropTarget::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (effect)
        *effect = Effect();
    return S_OK;
}

STDMETHODIMP DropTarget::DragLeave() { return S_OK; }

STDMETHODIMP DropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    if (effect)
        *effect = DROPEFFECT_NONE;
    if (!data || Effect() == DROPEFFECT_NONE)
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
