// The ID index of the store's tree, kept up to date change by change, and the word index, built
// again at the first search after a change.
#include "standins/onenote/StoreIndex.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <mutex>
#include <unordered_map>

namespace StandIn::StoreIndex
{
using namespace StoreTree;

namespace
{
struct Index
{
    const XNode* root = nullptr;
    std::unordered_map<std::wstring, Found> byId;            // lower-case ID -> object
    bool wordsBuilt = false;
    std::vector<Found> pages;                                 // document order, outside recycle bins
    std::map<std::wstring, std::vector<size_t>> pagesByWord; // word -> pages, ascending
};

std::mutex indexLock;
Index index;

void Add(const XNodePtr& node, const std::vector<XNodePtr>& ancestors)
{
    const std::wstring id = Lower(node->AttributeOr(L"ID"));
    if (!id.empty())
    {
        Found found{node, ancestors};
        const auto [entry, added] = index.byId.try_emplace(id, found);
        // The first object of an ID keeps it, as a walk from the root finds that one first.
        if (!added && entry->second.node == node)
            entry->second = std::move(found);
    }
    if (node->name == L"Page")
        return;
    std::vector<XNodePtr> path = ancestors;
    path.push_back(node);
    for (const auto& child : node->children)
        if (IsHierarchyElement(child->name))
            Add(child, path);
}

void Remove(const XNode& node)
{
    const auto entry = index.byId.find(Lower(node.AttributeOr(L"ID")));
    if (entry != index.byId.end() && entry->second.node.get() == &node)
        index.byId.erase(entry);
    if (node.name == L"Page")
        return;
    for (const auto& child : node.children)
        if (IsHierarchyElement(child->name))
            Remove(*child);
}

// Builds the ID index for root unless it has it; the lock is held.
void EnsureIds(const XNodePtr& root)
{
    if (index.root == root.get())
        return;
    index = Index{};
    index.root = root.get();
    for (const auto& child : root->children)
        if (IsHierarchyElement(child->name))
            Add(child, {root});
}

bool StillThere(const XNodePtr& root, const Found& found, const std::wstring& id)
{
    if (found.ancestors.empty() || found.ancestors.front() != root || !SameId(found.node->AttributeOr(L"ID"), id))
        return false;
    for (size_t level = 0; level < found.ancestors.size(); ++level)
    {
        const XNodePtr& child = level + 1 < found.ancestors.size() ? found.ancestors[level + 1] : found.node;
        const auto& siblings = found.ancestors[level]->children;
        if (std::find(siblings.begin(), siblings.end(), child) == siblings.end())
            return false;
    }
    return true;
}

bool InRecycleBin(const XNode& node)
{
    return node.AttributeOr(L"isInRecycleBin") == L"true" || node.AttributeOr(L"isRecycleBin") == L"true" ||
           node.AttributeOr(L"isDeletedPages") == L"true";
}

void CollectPages(const XNodePtr& node, std::vector<XNodePtr>& path)
{
    path.push_back(node);
    for (const auto& child : node->children)
    {
        if (!IsHierarchyElement(child->name) || InRecycleBin(*child))
            continue;
        if (child->name == L"Page")
            index.pages.push_back({child, path});
        else
            CollectPages(child, path);
    }
    path.pop_back();
}

void EnsureWords(const XNodePtr& root)
{
    if (index.wordsBuilt)
        return;
    index.wordsBuilt = true;
    std::vector<XNodePtr> path;
    CollectPages(root, path);
    for (size_t position = 0; position < index.pages.size(); ++position)
    {
        const XNode& page = *index.pages[position].node;
        std::vector<std::wstring> lines{page.AttributeOr(L"name")};
        CollectLines(page, lines);
        for (const auto& line : lines)
            for (const auto& word : Words(line))
            {
                auto& pages = index.pagesByWord[word];
                if (pages.empty() || pages.back() != position)
                    pages.push_back(position);
            }
    }
}

void ForgetWords()
{
    index.wordsBuilt = false;
    index.pages.clear();
    index.pagesByWord.clear();
}
} // namespace

void Reset()
{
    const std::lock_guard guard(indexLock);
    index = Index{};
}

void Prepare(const XNodePtr& root)
{
    const std::lock_guard guard(indexLock);
    EnsureIds(root);
}

void Added(const XNodePtr& root, const XNodePtr& node, const std::vector<XNodePtr>& ancestors)
{
    const std::lock_guard guard(indexLock);
    if (index.root != root.get())
        return;
    ForgetWords();
    Add(node, ancestors);
}

void Removed(const XNodePtr& root, const XNode& node)
{
    const std::lock_guard guard(indexLock);
    if (index.root != root.get())
        return;
    ForgetWords();
    Remove(node);
}

void Changed(const XNodePtr& root)
{
    const std::lock_guard guard(indexLock);
    if (index.root == root.get())
        ForgetWords();
}

bool IsFor(const XNodePtr& root)
{
    const std::lock_guard guard(indexLock);
    return index.root == root.get();
}

bool Holds(const XNodePtr& root, const XNode* node, const XNode* parent)
{
    const std::lock_guard guard(indexLock);
    if (index.root != root.get())
        return false;
    const auto entry = index.byId.find(Lower(node->AttributeOr(L"ID")));
    return entry != index.byId.end() && entry->second.node.get() == node && !entry->second.ancestors.empty() &&
           (!parent || entry->second.ancestors.back().get() == parent);
}

std::vector<std::wstring> Words(const std::wstring& text)
{
    std::vector<std::wstring> words;
    std::wstring word;
    for (const wchar_t c : text)
    {
        if (std::iswalnum(c))
        {
            word += static_cast<wchar_t>(std::towlower(c));
        }
        else if (!word.empty())
        {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

bool FindById(const XNodePtr& root, const std::wstring& id, Found& found)
{
    if (id.empty())
        return false;
    const std::lock_guard guard(indexLock);
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        EnsureIds(root);
        const auto hit = index.byId.find(Lower(id));
        if (hit == index.byId.end())
            return false;
        if (StillThere(root, hit->second, id))
        {
            found = hit->second;
            return true;
        }
        // A change no one told of: the index is built again once.
        index.root = nullptr;
    }
    return false;
}

std::vector<Found> MatchPages(const XNodePtr& root, const std::vector<std::wstring>& queryWords)
{
    const std::lock_guard guard(indexLock);
    EnsureIds(root);
    EnsureWords(root);
    std::vector<size_t> matches;
    bool first = true;
    for (const auto& query : queryWords)
    {
        std::vector<size_t> pages;
        for (auto word = index.pagesByWord.lower_bound(query);
             word != index.pagesByWord.end() && word->first.compare(0, query.size(), query) == 0; ++word)
            pages.insert(pages.end(), word->second.begin(), word->second.end());
        std::sort(pages.begin(), pages.end());
        pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
        if (first)
        {
            matches = std::move(pages);
            first = false;
        }
        else
        {
            std::vector<size_t> both;
            std::set_intersection(matches.begin(), matches.end(), pages.begin(), pages.end(),
                                  std::back_inserter(both));
            matches = std::move(both);
        }
    }
    std::vector<Found> found;
    for (const size_t position : matches)
        found.push_back(index.pages[position]);
    return found;
}
} // namespace StandIn::StoreIndex
