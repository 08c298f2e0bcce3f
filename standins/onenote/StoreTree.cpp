// Finding objects in the store's tree: hierarchy objects by ID, page objects by objectID, and the
// copies of hierarchy objects that answers are made of.
#include "standins/onenote/StoreTree.h"

#include "standins/onenote/StoreChanges.h"
#include "standins/onenote/StoreIndex.h"

#include <algorithm>
#include <cwctype>

namespace StandIn::StoreTree
{
namespace
{
const std::vector<std::wstring>& PageHierarchyAttributes()
{
    static const std::vector<std::wstring> names{L"ID", L"name", L"dateTime", L"lastModifiedTime", L"pageLevel",
                                                 L"isCurrentlyViewed", L"isInRecycleBin", L"isUnread",
                                                 L"isSubPage", L"isCollapsed"};
    return names;
}
} // namespace

bool SameId(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && _wcsicmp(a.c_str(), b.c_str()) == 0;
}

bool IsHierarchyElement(const std::wstring& name)
{
    return name == L"Notebook" || name == L"SectionGroup" || name == L"Section" || name == L"Page" ||
           name == L"UnfiledNotes" || name == L"OpenSections";
}

bool FindHierarchy(const XNodePtr& node, const std::function<bool(const XNode&)>& match, Found& found,
                   std::vector<XNodePtr>& path)
{
    for (const auto& child : node->children)
    {
        if (!IsHierarchyElement(child->name))
            continue;
        if (match(*child))
        {
            found.node = child;
            found.ancestors = path;
            found.ancestors.push_back(node);
            return true;
        }
        if (child->name != L"Page")
        {
            path.push_back(node);
            const bool inside = FindHierarchy(child, match, found, path);
            path.pop_back();
            if (inside)
                return true;
        }
    }
    return false;
}

bool FindById(const XNodePtr& root, const std::wstring& id, Found& found)
{
    if (!StoreIndex::FindById(root, id, found))
        return false;
    // What an operation finds is what it may change.
    if (StoreChanges* changes = StoreChanges::Active())
        changes->Watch(found);
    return true;
}

XNodePtr HierarchyCopy(const XNode& node)
{
    auto copy = node.Clone(false);
    if (node.name == L"Page")
    {
        std::erase_if(copy->attributes, [](const auto& attribute) {
            const auto& allowed = PageHierarchyAttributes();
            return std::find(allowed.begin(), allowed.end(), attribute.first) == allowed.end();
        });
    }
    return copy;
}

XNodePtr FindObject(const XNode& node, const std::wstring& objectId)
{
    for (const auto& child : node.children)
    {
        if (!child->IsElement())
            continue;
        if (SameId(child->AttributeOr(L"objectID"), objectId))
            return child;
        if (auto inside = FindObject(*child, objectId))
            return inside;
    }
    return nullptr;
}

bool IsPageObject(const std::wstring& name)
{
    return name == L"Outline" || name == L"Image" || name == L"InkDrawing" || name == L"InsertedFile" ||
           name == L"MediaFile" || name == L"FutureObject";
}

double Number(const std::wstring& text, double fallback)
{
    if (text.empty())
        return fallback;
    try
    {
        return std::stod(text);
    }
    catch (...)
    {
        return fallback;
    }
}

std::wstring Lower(std::wstring text)
{
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}
} // namespace StandIn::StoreTree
