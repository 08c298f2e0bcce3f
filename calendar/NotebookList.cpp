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
    // UI thread: the paths the filter selects that the list in use does not hold (notebooks
    // closed for now), in the order they became known.
    std::vector<std::wstring> selectedElsewhere;
};

Lists& GetLists()
{
    static Lists lists;
    return lists;
}

// The paths the filter selects now: those of the selected positions of the list in use and those
// of notebooks it lacks, or, before any list, the paths of the settings file.
std::vector<std::wstring> SelectedPaths(const Lists& lists)
{
    std::vector<std::wstring> paths;
    const NotebookList* current = lists.adopted.get();
    if (!current)
    {
        for (const auto& notebook : StoredNotebookPaths())
            paths.push_back(notebook->text);
        return paths;
    }
    for (const auto& [position, selected] : GetCalendarSettings().notebookSelection)
        if (selected && position >= 0 && static_cast<size_t>(position) < current->Count())
            paths.push_back(current->KeyAt(static_cast<size_t>(position)));
    paths.insert(paths.end(), lists.selectedElsewhere.begin(), lists.selectedElsewhere.end());
    return paths;
}

// A notebook closed for one load keeps its place in the filter: when it is listed again, it is
// shown again if it was before, and the settings file keeps it meanwhile.
void Adopt(Lists& lists, std::shared_ptr<const NotebookList> list)
{
    const std::vector<std::wstring> selectedPaths = SelectedPaths(lists);
    const std::set<std::wstring> paths(selectedPaths.begin(), selectedPaths.end());
    std::map<std::int32_t, bool> selection;
    std::vector<std::wstring> keys;
    for (size_t position = 0; position < list->Count(); ++position)
    {
        keys.push_back(list->KeyAt(position));
        selection[static_cast<std::int32_t>(position)] = paths.count(keys.back()) != 0;
    }
    const std::set<std::wstring> listed(keys.begin(), keys.end());
    std::vector<std::wstring> elsewhere;
    std::set<std::wstring> seen;
    for (const std::wstring& path : selectedPaths)
        if (!listed.contains(path) && seen.insert(path).second)
            elsewhere.push_back(path);
    GetCalendarSettings().notebookSelection = std::move(selection);
    SetLoadedNotebookPaths(std::move(keys), elsewhere);
    lists.selectedElsewhere = std::move(elsewhere);
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
    lists.selectedElsewhere.clear();
    SetLoadedNotebookPaths(std::nullopt);
}
