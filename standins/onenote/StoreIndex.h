#pragma once
// The read side's indexes of the store's tree, so that a call costs what its answer costs and not
// what the whole store holds: hierarchy objects by ID, and the words of the pages for searching.
// The ID index is built when first needed after the tree was replaced, and then kept up to date by
// the changes each operation reports (StoreChanges); the word index is built again at the first
// search after a change.

#include "standins/onenote/StoreTree.h"

#include <string>
#include <vector>

namespace StandIn::StoreIndex
{
// The tree was replaced or changed in ways no change told: everything is built again when needed.
void Reset();
// Builds the ID index for root unless it has it.
void Prepare(const XNodePtr& root);

// Changes to the tree below root, told after they were made. Added: node (and every hierarchy object
// below it) is in the tree now, below ancestors (from the root down to its parent), also when it was
// elsewhere before. Removed: node and everything below it left the tree. Changed: the attributes or
// content of node changed in place.
void Added(const XNodePtr& root, const XNodePtr& node, const std::vector<XNodePtr>& ancestors);
void Removed(const XNodePtr& root, const XNode& node);
void Changed(const XNodePtr& root);

// Whether the ID index is root's (another store's operation may have taken it meanwhile).
bool IsFor(const XNodePtr& root);
// Whether node was in the index, directly below parent (null: anywhere), before the changes now
// being made were told.
bool Holds(const XNodePtr& root, const XNode* node, const XNode* parent);

// The object with this ID below root as StoreTree::FindById finds it; false when there is none.
bool FindById(const XNodePtr& root, const std::wstring& id, StoreTree::Found& found);

// The words of a text as the search sees them: runs of letters and digits, in lower case.
std::vector<std::wstring> Words(const std::wstring& text);

// The pages below root (in document order) whose title or text holds, for every query word, a word
// that is it or starts with it; pages in a recycle bin are left out.
std::vector<StoreTree::Found> MatchPages(const XNodePtr& root, const std::vector<std::wstring>& queryWords);
} // namespace StandIn::StoreIndex
