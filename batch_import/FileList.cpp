#include "batch_import/FileList.h"

#include "batch_import/FileListOrder.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Theme.h"

#include <cmath>

namespace
{
int Scaled(float pixelsAt96) { return static_cast<int>(std::trunc(GetDpiScaleX() * pixelsAt96 * 0.75f + 0.5f)); }

std::vector<int> KindPictures(int first)
{
    const int offset = IsDarkMode() ? 1000 : 0;
    std::vector<int> ids;
    for (int kind = 0; kind < 8; ++kind)
        ids.push_back(first + offset + kind);
    return ids;
}

void InsertColumn(HWND list, int index, const wchar_t* title, int width, int minimumWidth)
{
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_SUBITEM | (minimumWidth > 0 ? LVCF_MINWIDTH : 0);
    column.pszText = const_cast<wchar_t*>(title);
    column.iSubItem = index;
    column.cxMin = minimumWidth;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), width);
}
} // namespace

FileList::FileList(HWND parent, std::vector<Config::Entry>& entries)
    : listView_(std::make_shared<UI::ListView>(parent, true, false, true, false)), entries_(entries)
{
    const HWND list = listView_->GetHwnd();
    const int spacing = Scaled(80); // 60 pt
    SendMessageW(list, LVM_SETVIEW, LV_VIEW_ICON, 0);
    SendMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(spacing, spacing));
    SendMessageW(list, LVM_SETVIEW, LV_VIEW_DETAILS, 0);
    while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0))
    {
    }
    if (!IsDarkMode())
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
    InsertColumn(list, 0, L"Name", LVSCW_AUTOSIZE, Scaled(80));
    InsertColumn(list, 1, L"Containing Folder", LVSCW_AUTOSIZE_USEHEADER, 0);
    listView_->SetImages(KindPictures(300), KindPictures(200), 0, false);

    auto* target = new DropTarget;
    dropTarget_.Attach(target);
    target->onDrop = [this](const std::vector<std::wstring>& paths) {
        // The window installs its handler anew while it adds the files: the one running is a copy.
        const DropCallback handler = onDrop_;
        if (!paths.empty() && handler)
            handler(paths);
    };
    // The window takes no drop while a run goes on: it clears the handler meanwhile.
    target->takesDrops = [this] { return static_cast<bool>(onDrop_); };
    RegisterDragDrop(list, target);
}

void FileList::AcceptDropsOn(HWND window)
{
    if (window && dropTarget_ && SUCCEEDED(RegisterDragDrop(window, dropTarget_)))
        otherDropWindows_.push_back(window);
}

FileList::~FileList()
{
    for (const HWND window : otherDropWindows_)
        if (IsWindow(window))
            RevokeDragDrop(window);
    if (listView_ && listView_->GetHwnd())
        RevokeDragDrop(listView_->GetHwnd());
    if (dropTarget_)
    {
        auto* target = static_cast<DropTarget*>(dropTarget_.GetInterfacePtr());
        target->onDrop = nullptr;
        target->takesDrops = [] { return false; };
    }
}

void FileList::AddFiles(const std::vector<std::wstring>& paths)
{
    if (paths.empty())
        return;
    const HWND list = listView_->GetHwnd();
    if (entries_.empty() && !tiles)
    {
        SendMessageW(list, LVM_SETVIEW, LV_VIEW_DETAILS, 0);
        AutoSizeColumns();
    }
    const unsigned first = static_cast<unsigned>(entries_.size());
    std::vector<UI::ListView::Item> rows;
    std::set<unsigned> added;
    for (const std::wstring& path : paths)
    {
        added.insert(static_cast<unsigned>(entries_.size()));
        Config::Entry entry;
        entry.path = path;
        entries_.push_back(std::move(entry));
        rows.push_back(MakeFileRow(path));
    }
    listView_->InsertItems(static_cast<int>(first), rows);
    Select(added);
    AutoSizeColumns();
}

bool FileList::RemoveSelected()
{
    const std::vector<unsigned> ids = listView_->GetSelectedItems();
    if (ids.empty())
        return false;
    listView_->DeleteItems(RemoveEntries(entries_, std::set<unsigned>(ids.begin(), ids.end())));
    return true;
}

bool FileList::MoveSelected(int delta)
{
    const std::vector<unsigned> ids = listView_->GetSelectedItems();
    const std::optional<EntryMove> move = MoveEntries(entries_, std::set<unsigned>(ids.begin(), ids.end()), delta);
    if (!move)
        return false;
    for (const auto& [from, to] : move->exchanges)
    {
        listView_->SetItem(static_cast<int>(from), MakeFileRow(entries_[from].path));
        listView_->SetItem(static_cast<int>(to), MakeFileRow(entries_[to].path));
    }
    Select(move->selection);
    return true;
}

void FileList::Reload()
{
    std::vector<UI::ListView::Item> rows;
    rows.reserve(entries_.size());
    for (const Config::Entry& entry : entries_)
        rows.push_back(MakeFileRow(entry.path));
    SendMessageW(listView_->GetHwnd(), LVM_DELETEALLITEMS, 0, 0);
    listView_->InsertItems(0, rows);
    if (listView_->onSelectionChanged)
        listView_->onSelectionChanged();
    AutoSizeColumns();
}

void FileList::SelectAll()
{
    std::set<unsigned> all;
    for (unsigned index = 0; index < entries_.size(); ++index)
        all.insert(index);
    Select(all);
}

void FileList::SetChangedCallback(std::function<void()> callback) { listView_->onSelectionChanged = std::move(callback); }

void FileList::AutoSizeColumns()
{
    const HWND list = listView_->GetHwnd();
    if (!SendMessageW(list, LVM_GETHEADER, 0, 0))
        return;
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
}

void FileList::Select(const std::set<unsigned>& rows) { listView_->SetSelectedItems(rows); }
