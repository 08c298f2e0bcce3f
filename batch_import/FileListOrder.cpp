#include "batch_import/FileListOrder.h"


#include <algorithm>

UI::ListView::Item MakeFileRow(const std::wstring& path)
{
    UI::ListView::Item row;
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
    {
        row.text = path;
        row.subItems.push_back(L"");
    }
    else
    {
        row.text = path.substr(separator + 1);
        row.subItems.push_back(path.substr(0, separator));
    }
    row.image = ClassifyFile(path.c_str());
    return row;
}

std::optional<EntryMove> MoveEntries(std::vector<Config::Entry>& entries, const std::set<unsigned>& selected, int delta)
{
    if (selected.empty() || entries.empty() || (delta != -1 && delta != 1))
        return std::nullopt;
    std::vector<unsigned> order(selected.begin(), selected.end());
    if (delta > 0)
        std::reverse(order.begin(), order.end());
    const unsigned last = static_cast<unsigned>(entries.size() - 1);
    if ((delta < 0 && order.front() == 0) || (delta > 0 && order.front() >= last))
        return std::nullopt;
    // A selection beyond the list (rows and entries out of step) is no move either.
    if (*selected.rbegin() > last)
        return std::nullopt;

    EntryMove move;
    for (const unsigned index : order)
    {
        const unsigned other = static_cast<unsigned>(static_cast<int>(index) + delta);
        std::swap(entries[index], entries[other]);
        move.exchanges.emplace_back(index, other);
        move.selection.insert(other);
    }
    return move;
}

std::vector<unsigned> RemoveEntries(std::vector<Config::Entry>& entries, const std::set<unsigned>& selected)
{
    std::vector<unsigned> removed;
    for (auto index = selected.rbegin(); index != selected.rend(); ++index)
    {
        if (*index >= entries.size())
            continue;
        entries.erase(entries.begin() + *index);
        removed.push_back(*index);
    }
    return removed;
}
