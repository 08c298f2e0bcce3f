// Telling what an operation changed by comparing what it may have changed, before and after: a hash
// of each watched object's attributes, and its children. Children that arrived in a watched object
// lie between those it kept at its start and at its end; the ID index, which still shows the tree
// as it was before the operation, tells which of them are new.
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

void StoreChanges::Watch(const XNodePtr& node, const XNodePtr& parent)
{
    if (!node || byNode_.count(node.get()))
        return;
    Watched watched{node, parent, HashAttributes(*node), {}};
    watched.children.reserve(node->children.size());
    for (const auto& child : node->children)
        watched.children.push_back(child.get());
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
        const XNode& node = *watched.node;
        if (node.name == L"Page")
            continue;
        const auto& now = node.children;
        const auto& before = watched.children;
        // What it kept at its start and at its end stayed; what lies between came or went.
        size_t start = 0;
        while (start < now.size() && start < before.size() && now[start].get() == before[start])
            ++start;
        if (start == now.size() && start == before.size())
            continue;
        size_t end = 0;
        while (end < now.size() - start && end < before.size() - start &&
               now[now.size() - 1 - end].get() == before[before.size() - 1 - end])
            ++end;
        const std::unordered_set<const XNode*> went(before.begin() + static_cast<long>(start),
                                                    before.end() - static_cast<long>(end));
        std::unordered_set<const XNode*> came;
        for (size_t at = start; at < now.size() - end; ++at)
        {
            const XNodePtr& child = now[at];
            if (!IsHierarchyElement(child->name))
                return false;
            came.insert(child.get());
            const bool known = went.count(child.get()) || StoreIndex::Holds(root_, child.get(), nullptr);
            placed.push_back({StoreChange::Kind::Put, child, watched.node, true, !known, {}, at});
            arrived.insert(child.get());
        }
        // What went was watched, as operations find what they take away; anything else is unknown.
        for (const XNode* gone : went)
            if (!came.count(gone))
            {
                if (!byNode_.count(gone))
                    return false;
                left.insert(gone);
            }
    }
    for (const Watched& watched : watched_)
    {
        const XNode* node = watched.node.get();
        if (left.count(node) && !arrived.count(node))
        {
            removed.push_back({StoreChange::Kind::Remove, watched.node, nullptr, false, false, {}, 0});
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
                changedInPlace.push_back({StoreChange::Kind::Put, watched.node, watched.parent, false, false, {}, 0});
            continue;
        }
        // The children it kept at its start and at its end are where they were; of those between,
        // some may have been there before elsewhere.
        const auto& now = node->children;
        const auto& before = watched.children;
        size_t start = 0;
        while (start < now.size() && start < before.size() && now[start].get() == before[start])
            ++start;
        size_t end = 0;
        while (end < now.size() - start && end < before.size() - start &&
               now[now.size() - 1 - end].get() == before[before.size() - 1 - end])
            ++end;
        const bool same = start == now.size() && start == before.size();
        StoreChange change{StoreChange::Kind::Put, watched.node, watched.parent, false, false, {}, 0};
        std::unordered_map<const XNode*, long> between;
        for (size_t at = start; at < before.size() - end; ++at)
            between.emplace(before[at], static_cast<long>(at));
        change.sources.resize(now.size());
        for (size_t at = 0; at < now.size(); ++at)
        {
            if (at < start)
            {
                change.sources[at] = static_cast<long>(at);
            }
            else if (at >= now.size() - end)
            {
                change.sources[at] = static_cast<long>(before.size() - (now.size() - at));
            }
            else
            {
                const auto found = between.find(now[at].get());
                change.sources[at] = found == between.end() ? -1 : found->second;
            }
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
