// The ID and word indexes of the store's tree, rebuilt lazily after a change.
#include "standins/onenote/StoreIndex.h"

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <map>
#include <mutex>
#include <unordered_map>

namespace StandIn::StoreIndex
{
using namespace StoreTree;

namespace
{
std::atomic<unsigned long long> changes{0};

struct Index
{
    const XNode* root = nullptr;
    unsigned long long generation = ~0ULL;
    std::vector<Found> objects;                           // document order
    std::unordered_map<std::wstring, size_t> byId;        // lower-case ID -> first object
    bool wordsBuilt = false;
    std::map<std::wstring, std::vector<size_t>> pagesByWord; // word -> pages (objects), ascending
};

std::mutex indexLock;
Index index;

void Collect(const XNodePtr& node, std::vector<XNodePtr>& path)
{
    for (const auto& child : node->children)
    {
        if (!IsHierarchyElement(child->name))
            continue;
        Found found{child, path};
        found.ancestors.push_back(node);
        index.objects.push_back(std::move(found));
        const std::wstring id = Lower(child->AttributeOr(L"ID"));
        if (!id.empty())
            index.byId.emplace(id, index.objects.size() - 1);
        if (child->name != L"Page")
        {
            path.push_back(node);
            Collect(child, path);
            path.pop_back();
        }
    }
}

// Builds the ID index for root unless it is current; the lock is held.
void EnsureIds(const XNodePtr& root)
{
    const unsigned long long generation = changes.load();
    if (index.root == root.get() && index.generation == generation)
        return;
    index = Index{};
    index.root = root.get();
    index.generation = generation;
    std::vector<XNodePtr> path;
    Collect(root, path);
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

bool InRecycleBin(const Found& page)
{
    if (page.node->AttributeOr(L"isInRecycleBin") == L"true")
        return true;
    for (const auto& ancestor : page.ancestors)
        if (ancestor->AttributeOr(L"isRecycleBin") == L"true" || ancestor->AttributeOr(L"isDeletedPages") == L"true" ||
            ancestor->AttributeOr(L"isInRecycleBin") == L"true")
            return true;
    return false;
}

void EnsureWords()
{
    if (index.wordsBuilt)
        return;
    index.wordsBuilt = true;
    for (size_t position = 0; position < index.objects.size(); ++position)
    {
        const Found& object = index.objects[position];
        if (object.node->name != L"Page" || InRecycleBin(object))
            continue;
        std::vector<std::wstring> lines{object.node->AttributeOr(L"name")};
        CollectLines(*object.node, lines);
        for (const auto& line : lines)
            for (const auto& word : Words(line))
            {
                auto& pages = index.pagesByWord[word];
                if (pages.empty() || pages.back() != position)
                    pages.push_back(position);
            }
    }
}
} // namespace

void NoteChange() { ++changes; }

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
        if (hit != index.byId.end() && StillThere(root, index.objects[hit->second], id))
        {
            found = index.objects[hit->second];
            return true;
        }
        if (hit == index.byId.end() && attempt == 0 && index.generation == changes.load())
            break;
        // The tree changed under the index within the operation: build it again once.
        if (attempt == 0)
            index.root = nullptr;
    }
    // An object the operation itself just made is found the slow way.
    std::vector<XNodePtr> path;
    return FindHierarchy(root, [&](const XNode& node) { return SameId(node.AttributeOr(L"ID"), id); }, found, path);
}

std::vector<Found> MatchPages(const XNodePtr& root, const std::vector<std::wstring>& queryWords)
{
    const std::lock_guard guard(indexLock);
    EnsureIds(root);
    EnsureWords();
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
        found.push_back(index.objects[position]);
    return found;
}
} // namespace StandIn::StoreIndex
