#pragma once
// The notebooks of the last hierarchy load, numbered in the order OneNote lists them, and the
// notebook filter over them. The loader builds a list of its own and publishes it whole; the UI
// thread adopts a published list at its next read, so no reader ever sees a list half replaced.
// The filter follows notebooks by their path: a notebook added, closed or moved between two loads
// never changes which notebooks are shown, itself included once it is listed again.

#include "onenote_model/Hierarchy.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class NotebookList
{
public:
    // Numbers the notebooks of the answer; a notebook is known by its path (by its ID when it has
    // none), and of two with one key the later one's position counts.
    explicit NotebookList(std::shared_ptr<ON::Notebooks> notebooks);

    const ON::Notebooks& Notebooks() const { return *notebooks_; }
    size_t Count() const { return keys_.size(); }
    const std::wstring& KeyAt(size_t position) const { return keys_.at(position); }
    // The position filed for a notebook key, or 0 when the key is unknown.
    std::int32_t IndexOf(const std::wstring& key) const;

    static std::wstring KeyOf(const ON::Notebook& notebook);

private:
    std::shared_ptr<ON::Notebooks> notebooks_;
    std::vector<std::wstring> keys_;
    std::map<std::wstring, std::int32_t> index_;
};

// Any thread: makes list the one the UI thread adopts next.
void PublishNotebookList(std::shared_ptr<const NotebookList> list);

// UI thread: the list in use, after adopting a newer published one, whose filter table is then
// built from the paths selected in the list it replaces and those selected before but missing from
// it (or, before the first list, from the settings file). Null until a load has listed the
// notebooks.
std::shared_ptr<const NotebookList> GetNotebookList();

// UI thread: whether the filter shows the notebook at this position of the list in use.
bool IsNotebookShown(std::int32_t position);
// UI thread: selects or clears one notebook of the list in use.
void SetNotebookSelected(std::int32_t position, bool selected);

// Forgets every list (published and adopted).
void ResetNotebookLists();
