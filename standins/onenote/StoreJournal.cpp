// Writing the changes of a call as a journal record and replaying records in another process.
#include "standins/onenote/StoreJournal.h"

#include "standins/onenote/StoreIndex.h"

#include <algorithm>

namespace StandIn::StoreJournal
{
using namespace StoreTree;

namespace
{
// The object without the hierarchy objects inside it (they are shared, not copied).
XNodePtr Shallow(const XNode& node)
{
    auto copy = node.Clone(false);
    for (const auto& child : node.children)
        if (!IsHierarchyElement(child->name))
            copy->children.push_back(child);
    return copy;
}

// Where node is: the ancestors of an object found by ID, with the object itself.
bool PathTo(const XNodePtr& root, const XNodePtr& node, std::vector<XNodePtr>& path)
{
    if (node == root)
    {
        path = {root};
        return true;
    }
    Found found;
    if (!FindById(root, node->AttributeOr(L"ID"), found) || found.node != node)
        return false;
    path = found.ancestors;
    path.push_back(node);
    return true;
}

// The object before child among the hierarchy objects of parent; null when it is the first.
// position: where child is, as far as is known.
XNodePtr Before(const XNode& parent, const XNodePtr& child, size_t position)
{
    if (position < parent.children.size() && parent.children[position] == child)
    {
        for (size_t at = position; at-- > 0;)
            if (IsHierarchyElement(parent.children[at]->name))
                return parent.children[at];
        return nullptr;
    }
    XNodePtr before;
    for (const auto& sibling : parent.children)
    {
        if (sibling == child)
            return before;
        if (IsHierarchyElement(sibling->name))
            before = sibling;
    }
    return before;
}

void Detach(const XNodePtr& parent, const XNodePtr& node)
{
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
}

// The name of the marker that stands, in a page told in part, for children it kept.
constexpr const wchar_t* Kept = L"StandInKept";

// The page with its new children, and markers for runs of those it kept.
XNodePtr PagePart(const XNode& page, const std::vector<long>& sources)
{
    auto copy = page.Clone(false);
    for (size_t at = 0; at < page.children.size(); ++at)
    {
        if (sources[at] < 0)
        {
            copy->children.push_back(page.children[at]);
            continue;
        }
        const long from = sources[at];
        long count = 1;
        while (at + 1 < page.children.size() && sources[at + 1] == from + count)
        {
            ++at;
            ++count;
        }
        auto kept = MakeElement(Kept);
        kept->SetAttribute(L"from", std::to_wstring(from));
        kept->SetAttribute(L"count", std::to_wstring(count));
        copy->children.push_back(kept);
    }
    return copy;
}

// Takes the attributes and the content of from; the hierarchy objects in to stay. Children kept
// by a page told in part are taken from to as it was.
void Merge(XNode& to, const XNode& from)
{
    const std::vector<XNodePtr> old = to.children;
    for (const auto& child : from.children)
        if (child->name == Kept)
        {
            to.attributes = from.attributes;
            to.children.clear();
            for (const auto& part : from.children)
            {
                if (part->name != Kept)
                {
                    to.children.push_back(part);
                    continue;
                }
                const size_t start = static_cast<size_t>(Number(part->AttributeOr(L"from"), 0));
                const size_t count = static_cast<size_t>(Number(part->AttributeOr(L"count"), 0));
                for (size_t at = start; at < start + count && at < old.size(); ++at)
                    to.children.push_back(old[at]);
            }
            return;
        }
    to.attributes = from.attributes;
    std::vector<XNodePtr> children;
    for (const auto& child : from.children)
        if (!IsHierarchyElement(child->name))
            children.push_back(child);
    for (const auto& child : to.children)
        if (IsHierarchyElement(child->name))
            children.push_back(child);
    to.children = std::move(children);
}

bool ReplayPut(const XNodePtr& root, const XNode& put)
{
    XNodePtr object;
    for (const auto& child : put.children)
        if (child->IsElement())
            object = child;
    if (!object)
        return false;
    Found existing;
    const bool exists = FindById(root, object->AttributeOr(L"ID"), existing);
    const std::wstring* parentId = put.Attribute(L"parent");
    if (!parentId)
    {
        if (!exists)
            return false;
        Merge(*existing.node, *object);
        StoreIndex::Changed(root);
        return true;
    }
    std::vector<XNodePtr> path;
    if (parentId->empty())
    {
        path = {root};
    }
    else
    {
        Found parent;
        if (!FindById(root, *parentId, parent))
            return false;
        path = parent.ancestors;
        path.push_back(parent.node);
    }
    const XNodePtr& parent = path.back();
    XNodePtr placed = object;
    if (exists)
    {
        Detach(existing.ancestors.back(), existing.node);
        StoreIndex::Removed(root, *existing.node);
        Merge(*existing.node, *object);
        placed = existing.node;
    }
    auto at = parent->children.begin();
    if (const std::wstring* after = put.Attribute(L"after"))
    {
        Found before;
        if (!FindById(root, *after, before))
            return false;
        at = std::find(parent->children.begin(), parent->children.end(), before.node);
        if (at == parent->children.end())
            return false;
        ++at;
    }
    parent->children.insert(at, placed);
    StoreIndex::Added(root, placed, path);
    return true;
}
} // namespace

bool Record(const XNodePtr& root, const std::vector<StoreChange>& changes, std::string& record)
{
    auto document = MakeElement(L"Changes");
    for (const StoreChange& change : changes)
    {
        if (change.kind == StoreChange::Kind::Remove)
        {
            auto remove = MakeElement(L"Remove");
            remove->SetAttribute(L"ID", change.node->AttributeOr(L"ID"));
            document->children.push_back(remove);
            continue;
        }
        auto put = MakeElement(L"Put");
        if (change.placed)
        {
            const std::wstring* parentId = change.parent == root ? nullptr : change.parent->Attribute(L"ID");
            if (change.parent != root && !parentId)
                return false;
            put->SetAttribute(L"parent", parentId ? *parentId : std::wstring());
            if (const XNodePtr before = Before(*change.parent, change.node, change.position))
            {
                const std::wstring* beforeId = before->Attribute(L"ID");
                if (!beforeId)
                    return false;
                put->SetAttribute(L"after", *beforeId);
            }
            if (change.fresh)
                put->SetAttribute(L"fresh", L"true");
        }
        if (!change.node->Attribute(L"ID"))
            return false;
        put->children.push_back(change.fresh            ? change.node
                                : change.sources.empty() ? Shallow(*change.node)
                                                         : PagePart(*change.node, change.sources));
        document->children.push_back(put);
    }
    record.clear();
    WriteXmlUtf8(*document, Namespace2013, record, false);
    return true;
}

bool Replay(const XNodePtr& root, std::string_view record)
{
    const ParseResult parsed = ParseXmlUtf8(record, Namespace2013);
    if (parsed.status != ParseStatus::Ok || parsed.root->name != L"Changes")
        return false;
    bool fits = true;
    for (const auto& change : parsed.root->children)
    {
        if (change->name == L"Remove")
        {
            Found found;
            if (!FindById(root, change->AttributeOr(L"ID"), found))
            {
                fits = false;
                continue;
            }
            Detach(found.ancestors.back(), found.node);
            StoreIndex::Removed(root, *found.node);
        }
        else if (change->name == L"Put")
        {
            fits = ReplayPut(root, *change) && fits;
        }
    }
    return fits;
}

void Index(const XNodePtr& root, const std::vector<StoreChange>& changes)
{
    for (const StoreChange& change : changes)
    {
        if (change.kind == StoreChange::Kind::Remove)
        {
            StoreIndex::Removed(root, *change.node);
        }
        else if (change.placed)
        {
            std::vector<XNodePtr> path;
            if (PathTo(root, change.parent, path))
                StoreIndex::Added(root, change.node, path);
            else
                StoreIndex::Reset();
        }
        else
        {
            StoreIndex::Changed(root);
        }
    }
}
} // namespace StandIn::StoreJournal
