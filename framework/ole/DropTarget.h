#pragma once
// Accepts files dropped from the shell by OLE drag and drop: offers to copy while its owner takes
// drops, and hands the full paths of a drop to onDrop. Its owner registers it with RegisterDragDrop on a window of the
// UI thread (OLE initialised there).

#include "framework/com/UnknownImpl.h"

#include <ole2.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

class DropTarget : public UnknownImpl<IDropTarget>
{
public:
    // The dropped paths in the shell's order; runs on the UI thread inside the drag loop, so it
    // must not block.
    std::function<void(const std::vector<std::wstring>&)> onDrop;
    // Whether a drop is taken now (unset: always). While it is not, the cursor shows that nothing
    // can be dropped here and a drop is refused, rather than lost while the cursor said "copy".
    std::function<bool()> takesDrops;

    STDMETHODIMP DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    DWORD Effect() const;
};

// The paths of a CF_HDROP file list, in its order.
std::vector<std::wstring> GetDroppedPaths(HDROP drop);
