#include "calendar/NotebookList.h"

#include "calendar/CalendarSettings.h"

#include <mutex>
#include <set>

namespace
{
struct Lists
{
    std::mutex lock;
    std::shared_ptr<const NotebookList> published; // guarded by lock
    std::shared_ptr<const NotebookList> adopted;   // UI thread only
};

Lists& GetLists()
{
    static Lists lists;
    return lists;
}

// The paths the filter selects now: those of the selected positions of the list in use, or,
// before any list, the paths of the settings file.
std::set<std::wstring> SelectedPaths(const NotebookList* current)
{
    std::set<std::wstring> paths;
    if (!current)
    {
        for (const auto& notebook : StoredNotebookPaths())
            paths.insert(notebook->text);
        return paths;
    }
    for (const auto& [position, selected] : GetCalendarSettings().notebookSelection)
        if (selected && position >= 0 && static_cast<size_t>(position) < current->Count())
            paths.insert(current->KeyAt(static_cast<size_t>(position)));
    return paths;
}

void Adopt(Lists& lists, std::shared_ptr<const NotebookList> list)
{
    const std::set<std::wstring> paths = SelectedPaths(lists.adopted.get());
    std::map<std::int32_t, bool> selection;
    std::vector<std::wstring> keys;
    for (size_t position = 0; position < list->Count(); ++position)
    {
        keys.push_back(list->KeyAt(position));
        selection[static_cast<std::int32_t>(position)] = paths.count(keys.back()) != 0;
    }
    GetCalendarSettings().notebookSelection = std::move(selection);
    SetLoadedNotebookPaths(std::move(keys));
    lists.adopted = std::move(list);
}
} // namespace

NotebookList::NotebookList(std::shared_ptr<ON::Notebooks> notebooks) : notebooks_(std::move(notebooks))
{
    for (const auto& notebook : notebooks_->notebooks)
    {
        keys_.push_back(KeyOf(*notebook));
        index_[keys_.back()] = static_cast<std::int32_t>(keys_.size() - 1);
    }
}

std::int32_t NotebookList::IndexOf(const std::wstring& key) const
{
    const auto found = index_.find(key);
    return found == index_.end() ? 0 : found->second;
}

std::wstring NotebookList::KeyOf(const ON::Notebook& notebook)
{
    // OneNote gives every notebook its path; the ID keeps one without apart from the others.
    if (notebook.path.path)
        return *notebook.path.path;
    return notebook.hierarchy.ID.value_or(L"");
}

void PublishNotebookList(std::shared_ptr<const NotebookList> list)
{
    Lists& lists = GetLists();
    const std::lock_guard guard(lists.lock);
    lists.published = std::move(list);
}

std::shared_ptr<const NotebookList> GetNotebookList()
{
    Lists& lists = GetLists();
    std::shared_ptr<const NotebookList> published;
    {
        const std::lock_guard guard(lists.lock);
        published = lists.published;
    }
    if (published && published != lists.adopted)
        Adopt(lists, std::move(published));
    return lists.adopted;
}

bool IsNotebookShown(std::int32_t position)
{
    if (GetCalendarSettings().allNotebooks)
        return true;
    GetNotebookList();
    const auto& selection = GetCalendarSettings().notebookSelection;
    const auto found = selection.find(position);
    return found != selection.end() && found->second;
}

void SetNotebookSelected(std::int32_t position, bool selected)
{
    const std::shared_ptr<const NotebookList> list = GetNotebookList();
    if (list && position >= 0 && static_cast<size_t>(position) < list->Count())
        GetCalendarSettings().notebookSelection[position] = selected;
}

void ResetNotebookLists()
{
    Lists& lists = GetLists();
    {
        const std::lock_guard guard(lists.lock);
        lists.published.reset();
    }
    lists.adopted.reset();
    SetLoadedNotebookPaths(std::nullopt);
}
