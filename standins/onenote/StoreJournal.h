#pragma once
// The records of the store's journal: the changes of one call as a small XML document (UTF-8), and
// replaying one on a tree. A record names objects by ID and places by the object before:
//
//   <one:Changes xmlns:one="...">
//     <one:Remove ID="..."/>                                 the object left the tree
//     <one:Put parent="..." after="..." fresh="true">...</one:Put>   inserted or moved there (parent
//                                                            empty: the root; no after: first)
//     <one:Put>...</one:Put>                                 changed where it is
//   </one:Changes>
//
// A Put holds the object with its attributes and content; a fresh one (new) with everything below
// it, the others without the hierarchy objects inside them, which stay as they are.

#include "standins/onenote/StoreChanges.h"

#include <string>
#include <string_view>
#include <vector>

namespace StandIn::StoreJournal
{
// The record of changes made to the tree below root; false when an object cannot be named (a
// parent or neighbour without an ID), and the whole store must be written instead.
bool Record(const XNodePtr& root, const std::vector<StoreChange>& changes, std::string& record);

// Replays a record on root, keeping the ID index up to date; false when the record does not fit
// the tree (what did fit is applied).
bool Replay(const XNodePtr& root, std::string_view record);

// Keeps the ID index up to date with changes made to the tree below root.
void Index(const XNodePtr& root, const std::vector<StoreChange>& changes);
} // namespace StandIn::StoreJournal
