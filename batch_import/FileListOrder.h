#pragma once
// The order rules of the file list, on the entries alone: which rows a move or a removal touches
// and what stays selected. The list view follows what these report.

#include "framework/ui/controls/ListView.h"
#include "import_engine/ImportEngine.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

// A row of the list for a path: its file name, its containing folder (without the last separator;
// empty when the path has none) and its file kind as the picture.
UI::ListView::Item MakeFileRow(const std::wstring& path);

struct EntryMove
{
    // Where the selected entries are now.
    std::set<unsigned> selection;
    // Each exchange of two neighbours, in the order made: (index, index + delta).
    std::vector<std::pair<unsigned, unsigned>> exchanges;
};

// Moves the selected entries one place up (delta -1) or down (+1). Nothing moves, and the answer
// is empty, when nothing is selected or the selection touches the edge it moves toward; a block
// of neighbours moves as one, and gaps between selected entries stay as they were.
std::optional<EntryMove> MoveEntries(std::vector<Config::Entry>& entries, const std::set<unsigned>& selected, int delta);

// Erases the selected entries, the highest first, and returns their indices in that order (the
// order their rows leave the list). Indices past the end are passed over.
std::vector<unsigned> RemoveEntries(std::vector<Config::Entry>& entries, const std::set<unsigned>& selected);
