#pragma once
// The main window's list of files and folders to import: a list view over the window's entries,
// which it alone adds to, removes from and reorders, keeping rows and entries in step (row i
// shows entry i). Files dropped on it go to the window through a callback.

#include "framework/ole/DropTarget.h"
#include "framework/ui/controls/ListView.h"
#include "import_engine/ImportEngine.h"

#include <comdef.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

_COM_SMARTPTR_TYPEDEF(IDropTarget, IID_IDropTarget);

class FileList
{
public:
    using DropCallback = std::function<void(const std::vector<std::wstring>&)>;

    // Makes the list view on parent over entries, which the caller keeps alive as long as the list.
    FileList(HWND parent, std::vector<Config::Entry>& entries);
    ~FileList();
    FileList(const FileList&) = delete;
    FileList& operator=(const FileList&) = delete;

    // Appends the paths as they are (folders and repeats too) and selects exactly them.
    void AddFiles(const std::vector<std::wstring>& paths);
    // False when nothing was selected.
    bool RemoveSelected();
    // -1 up, +1 down; false when nothing moved.
    bool MoveSelected(int delta);
    // Rebuilds every row from the entries.
    void Reload();
    void SelectAll();
    void SetChangedCallback(std::function<void()> callback);
    // Without a callback the list takes no drop, and the cursor over it says so.
    void SetDropCallback(DropCallback callback) { onDrop_ = std::move(callback); }
    // Files dropped on window (a control that lies over the list, such as the empty list's
    // invitation to drop files) count as dropped on the list.
    void AcceptDropsOn(HWND window);
    // Only in the details view, which has a header.
    void AutoSizeColumns();

    std::shared_ptr<UI::ListView> GetListView() const { return listView_; }
    size_t Count() const { return entries_.size(); }

    // The window shows icons instead of the list.
    bool tiles = false;

private:
    void Select(const std::set<unsigned>& rows);

    std::shared_ptr<UI::ListView> listView_;
    std::vector<Config::Entry>& entries_;
    DropCallback onDrop_;
    IDropTargetPtr dropTarget_;
    std::vector<HWND> otherDropWindows_;
};
