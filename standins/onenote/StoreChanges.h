#pragma once
// What an operation on the store changed, told without looking at the whole store: the objects it
// found by ID (with the objects above them), and those it names itself, are watched before it
// changes them and compared afterwards (their attributes, and which children they hold). The changes found keep the ID index up to date and are what
// the journal records, so that a call costs what it touches.

#include "standins/onenote/StoreTree.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace StandIn
{
struct StoreChange
{
    enum class Kind
    {
        Put,    // node is in the tree as it is now: attributes and content, and its place when placed
        Remove, // node left the tree
    };
    Kind kind = Kind::Put;
    XNodePtr node;
    // Put: the parent it is in, and whether it was inserted or moved there (else its place is as it
    // was); fresh: it is new, and so is everything below it.
    XNodePtr parent;
    bool placed = false;
    bool fresh = false;
    // A page changed in place: for each of its children now, which child it was before (its
    // position then), or -1 for a new one. Empty: the page is told whole.
    std::vector<long> sources;
    // Put placed: where node is among the children of parent.
    size_t position = 0;
};

class StoreChanges
{
public:
    // The changes watched by the operation running on this thread, or null.
    static StoreChanges* Active();

    // Watches an operation on root from now on this thread (the ID index is built first).
    void Begin(const XNodePtr& root);
    // Stops watching.
    void End();

    // node may change: its attributes, its content (a page) and which hierarchy objects are directly
    // in it. The first watch of a node counts; watching again changes nothing.
    void Watch(const XNodePtr& node, const XNodePtr& parent);
    // The object found and every object above it.
    void Watch(const StoreTree::Found& found);
    // node and every section group and section below it, for operations that find objects by name.
    void WatchContainers(const XNodePtr& node, const XNodePtr& parent);

    // What the watched objects show changed, in an order that can be replayed; false when that cannot
    // be told (the operation replaced root, or an object left a watched one unseen), and the whole
    // store must be written.
    bool Finish(const XNodePtr& root, std::vector<StoreChange>& changes);

private:
    struct Watched
    {
        XNodePtr node;
        XNodePtr parent;
        std::uint64_t attributes = 0; // a hash of the attributes
        // Its children as they were. A page's content changes only by children being replaced,
        // added or taken away (never inside one), so these tell what is new there as well.
        std::vector<const XNode*> children;
    };

    XNodePtr root_;
    std::vector<Watched> watched_;
    std::unordered_map<const XNode*, size_t> byNode_;
};
} // namespace StandIn
