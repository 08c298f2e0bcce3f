#pragma once
// The read side's indexes of the store's tree, so that a call costs what its answer costs and not
// what the whole store holds: hierarchy objects by ID, and the words of the pages for searching.
// Both are built when first needed after the tree was replaced or changed; a lookup is checked
// against the tree itself, so an index that an operation's own change made stale is never trusted.

#include "standins/onenote/StoreTree.h"

#include <string>
#include <vector>

namespace StandIn::StoreIndex
{
// The tree of the store changed in place (any operation that saves).
void NoteChange();

// The object with this ID below root as StoreTree::FindById finds it; false when there is none.
bool FindById(const XNodePtr& root, const std::wstring& id, StoreTree::Found& found);

// The words of a text as the search sees them: runs of letters and digits, in lower case.
std::vector<std::wstring> Words(const std::wstring& text);

// The pages below root (in document order) whose title or text holds, for every query word, a word
// that is it or starts with it; pages in a recycle bin are left out.
std::vector<StoreTree::Found> MatchPages(const XNodePtr& root, const std::vector<std::wstring>& queryWords);
} // namespace StandIn::StoreIndex
