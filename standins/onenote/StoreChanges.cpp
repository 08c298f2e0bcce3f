// Telling what an operation changed by comparing what it may have changed, before and after: a hash
// of each watched object's attributes and of which hierarchy objects are directly in it. Objects
// that arrived in a watched object are told apart from those that stayed by the ID index, which
// still shows the tree as it was before the operation.
#include "standins/onenote/StoreChanges.h"

#include "standins/onenote/StoreIndex.h"

#include <unordered_set>

namespace StandIn
{
using namespace StoreTree;

namespace
{
thread_local StoreChanges* active = nullptr;

constexpr std::uint64_t FnvOffset = 14695981039346656037ULL;
constexpr std::uint64_t FnvPrime = 1099511628211ULL;

void Mix(std::uint64_t& hash, const std::wstring& text)
{
    for (const wchar_t c : text)
        hash = (hash ^ static_cast<std::uint64_t>(c)) * FnvPrime;
    hash = (hash ^ 0xFFFFu) * FnvPrime;
}

std::uint64_t HashAttributes(const XNode& node)
{
    std::uint64_t hash = FnvOffset;
    for (const auto& [name, value] : node.attributes)
    {
        Mix(hash, name);
        Mix(hash, value);
    }
    return hash;
}
} // namespace

StoreChanges* StoreChanges::Active() { return active; }

void StoreChanges::Begin(const XNodePtr& root)
{
    root_ = root;
    watched_.clear();
    byNode_.clear();
    StoreIndex::Prepare(root);
    Watch(root, nullptr);
    active = this;
}

void StoreChanges::End()
{
    if (active == this)
        active = nullptr;
}

void StoreChanges::Measure(const XNode& node, size_t& count, std::uint64_t& members)
{
    count = 0;
    members = FnvOffset;
    if (node.name == L"Page")
        return;
    for (const auto& child : node.children)
        if (IsHierarchyElement(child->name))
        {
            ++count;
            members = (members ^ reinterpret_cast<std::uintptr_t>(child.get())) * FnvPrime;
        }
}

void StoreChanges::Watch(const XNodePtr& node, const XNodePtr& parent)
{
    if (!node || byNode_.count(node.get()))
        return;
    Watched watched{node, parent, HashAttributes(*node), 0, 0, {}};
    Measure(*node, watched.count, watched.members);
    if (node->name == L"Page")
        for (const auto& child : node->children)
            watched.content.push_back(child.get());
    byNode_.emplace(node.get(), watched_.size());
    watched_.push_back(std::move(watched));
}

void StoreChanges::Watch(const Found& found)
{
    for (size_t level = 0; level < found.ancestors.size(); ++level)
        Watch(found.ancestors[level], level > 0 ? found.ancestors[level - 1] : nullptr);
    Watch(found.node, found.ancestors.empty() ? nullptr : found.ancestors.back());
}

void StoreChanges::WatchContainers(const XNodePtr& node, const XNodePtr& parent)
{
    Watch(node, parent);
    for (const auto& child : node->children)
        if (IsHierarchyElement(child->name) && child->name != L"Page")
            WatchContainers(child, node);
}

bool StoreChanges::Finish(const XNodePtr& root, std::vector<StoreChange>& changes)
{
    changes.clear();
    if (root != root_ || !StoreIndex::IsFor(root))
        return false;
    std::vector<StoreChange> removed, placed, changedInPlace;
    std::unordered_set<const XNode*> arrived, left;
    for (const Watched& watched : watched_)
    {
        size_t count = 0;
        std::uint64_t members = 0;
        Measure(*watched.node, count, members);
        if (count == watched.count && members == watched.members)
            continue;
        // Which objects arrived, in their order; the rest stayed.
        size_t stayed = 0;
        std::unordered_set<const XNode*> present;
        for (const auto& child : watched.node->children)
        {
            if (!IsHierarchyElement(child->name))
                continue;
            present.insert(child.get());
            if (StoreIndex::Holds(root_, child.get(), watched.node.get()))
            {
                ++stayed;
                continue;
            }
            const bool known = StoreIndex::Holds(root_, child.get(), nullptr);
            placed.push_back({StoreChange::Kind::Put, child, watched.node, true, !known, {}});
            arrived.insert(child.get());
        }
        // Which ones left: they were watched, as operations find what they take away.
        size_t named = 0;
        for (const Watched& other : watched_)
            if (other.parent == watched.node && !present.count(other.node.get()))
            {
                ++named;
                left.insert(other.node.get());
            }
        if (named != watched.count - stayed)
            return false;
    }
    for (const Watched& watched : watched_)
    {
        const XNode* node = watched.node.get();
        if (left.count(node) && !arrived.count(node))
        {
            removed.push_back({StoreChange::Kind::Remove, watched.node, nullptr, false, false, {}});
            continue;
        }
        if (arrived.count(node))
            continue;
        const bool differs = HashAttributes(*node) != watched.attributes;
        if (node == root_.get())
        {
            if (differs)
                return false;
            continue;
        }
        if (node->name != L"Page")
        {
            if (differs)
                changedInPlace.push_back({StoreChange::Kind::Put, watched.node, watched.parent, false, false, {}});
            continue;
        }
        StoreChange change{StoreChange::Kind::Put, watched.node, watched.parent, false, false, {}};
        std::unordered_map<const XNode*, long> before;
        for (size_t position = 0; position < watched.content.size(); ++position)
            before.emplace(watched.content[position], static_cast<long>(position));
        bool same = node->children.size() == watched.content.size();
        for (const auto& child : node->children)
        {
            const auto found = before.find(child.get());
            change.sources.push_back(found == before.end() ? -1 : found->second);
            same = same && found != before.end() && found->second == static_cast<long>(change.sources.size() - 1);
        }
        if (differs || !same)
            changedInPlace.push_back(std::move(change));
    }
    changes = std::move(removed);
    changes.insert(changes.end(), placed.begin(), placed.end());
    changes.insert(changes.end(), changedInPlace.begin(), changedInPlace.end());
    return true;
}
} // namespace StandIn
