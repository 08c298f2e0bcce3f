// Links and navigation: the onenote: links of objects and the URL codec they use, navigating to an
// object or a link, and the current view that navigation leaves in the store.
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreChanges.h"
#include "standins/onenote/StoreTree.h"

#include "framework/text/Text.h"

#include <cwctype>

namespace StandIn
{
using namespace StoreTree;

namespace
{
// The object whose ID begins with the GUID of a hyperlink.
bool FindByGuid(const XNodePtr& root, const std::wstring& guid, const std::wstring& kind, Found& found)
{
    std::vector<XNodePtr> path;
    return FindHierarchy(root,
                         [&](const XNode& node) {
                             const std::wstring id = node.AttributeOr(L"ID");
                             return node.name == kind && id.size() >= guid.size() &&
                                    _wcsnicmp(id.c_str(), guid.c_str(), guid.size()) == 0;
                         },
                         found, path);
}

bool FindByPath(const XNodePtr& root, const std::wstring& filePath, Found& found)
{
    std::vector<XNodePtr> path;
    std::wstring wanted = filePath;
    while (!wanted.empty() && (wanted.back() == L'\\' || wanted.back() == L'/'))
        wanted.pop_back();
    return FindHierarchy(root,
                         [&](const XNode& node) {
                             const std::wstring* p = node.Attribute(L"path");
                             return p && _wcsicmp(p->c_str(), wanted.c_str()) == 0;
                         },
                         found, path);
}

void ClearCurrent(const XNodePtr& node, const XNodePtr& parent)
{
    if (node->Attribute(L"isCurrentlyViewed"))
    {
        if (StoreChanges* changes = StoreChanges::Active())
            changes->Watch(node, parent);
        node->RemoveAttribute(L"isCurrentlyViewed");
    }
    if (node->name == L"Page")
        return;
    for (const auto& child : node->children)
        if (IsHierarchyElement(child->name))
            ClearCurrent(child, node);
}

XNodePtr FirstSection(const XNode& node)
{
    for (const auto& child : node.children)
        if (child->name == L"Section" && child->AttributeOr(L"isDeletedPages") != L"true")
            return child;
    for (const auto& child : node.children)
        if (child->name == L"SectionGroup" && child->AttributeOr(L"isRecycleBin") != L"true")
            if (auto section = FirstSection(*child))
                return section;
    return nullptr;
}

bool ContainsNode(const XNode& parent, const XNodePtr& wanted, std::vector<XNodePtr>& chain)
{
    for (const auto& child : parent.children)
    {
        if (!IsHierarchyElement(child->name))
            continue;
        if (child == wanted)
        {
            chain.push_back(child);
            return true;
        }
        chain.push_back(child);
        if (child->name != L"Page" && ContainsNode(*child, wanted, chain))
            return true;
        chain.pop_back();
    }
    return false;
}

std::wstring PercentEncode(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text)
    {
        if (c == L' ')
            out += L"%20";
        else if (c == L'#')
            out += L"%23";
        else if (c == L'&')
            out += L"%26";
        else if (c == L'%')
            out += L"%25";
        else
            out += c;
    }
    return out;
}

std::wstring PercentDecode(const std::wstring& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'%' && i + 2 < text.size() + 0 && iswxdigit(text[i + 1]) && iswxdigit(text[i + 2]))
        {
            bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
        else
        {
            bytes += WideToUtf8(std::wstring(1, text[i]));
        }
    }
    return Utf8ToWide(bytes);
}

std::wstring UrlValue(const std::wstring& url, const std::wstring& key)
{
    const std::wstring lowered = Lower(url);
    const size_t at = lowered.find(key + L"=");
    if (at == std::wstring::npos)
        return {};
    const size_t start = at + key.size() + 1;
    const size_t end = url.find(L'&', start);
    return url.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

HRESULT MakeCurrent(const XNodePtr& root, const Found& found)
{
    if (found.ancestors.empty() || found.ancestors.front() != root)
        return OneNoteError::ObjectDoesNotExist;
    std::vector<XNodePtr> chain(found.ancestors.begin() + 1, found.ancestors.end());
    chain.push_back(found.node);
    // Opening a notebook or section group opens its first section, a section its first page.
    XNodePtr node = found.node;
    if (node->name == L"Notebook" || node->name == L"SectionGroup")
    {
        if (auto section = FirstSection(*node))
        {
            std::vector<XNodePtr> below;
            ContainsNode(*node, section, below);
            chain.insert(chain.end(), below.begin(), below.end());
            node = section;
        }
    }
    if (node->name == L"Section")
        if (auto first = node->FirstElement(L"Page"))
            chain.push_back(first);
    ClearCurrent(root, nullptr);
    XNodePtr parent = root;
    for (const auto& link : chain)
    {
        if (StoreChanges* changes = StoreChanges::Active())
            changes->Watch(link, parent);
        link->SetAttribute(L"isCurrentlyViewed", L"true");
        parent = link;
    }
    return S_OK;
}
} // namespace

HRESULT Store::NavigateTo(const std::wstring& hierarchyId, const std::wstring& objectId)
{
    return Run([&](XNode&, bool& changed) -> HRESULT {
        Found found;
        if (!FindById(root_, hierarchyId, found))
            return OneNoteError::ObjectDoesNotExist;
        if (!objectId.empty() && !FindObject(*found.node, objectId))
            return OneNoteError::PageObjectDoesNotExist;
        changed = true;
        return MakeCurrent(root_, found);
    });
}

HRESULT Store::NavigateToUrl(const std::wstring& url)
{
    return Run([&](XNode&, bool& changed) -> HRESULT {
        if (_wcsnicmp(url.c_str(), L"onenote:", 8) != 0)
            return OneNoteError::ObjectDoesNotExist;
        Found found;
        const std::wstring pageGuid = UrlValue(url, L"page-id");
        const std::wstring sectionGuid = UrlValue(url, L"section-id");
        bool resolved = false;
        if (!pageGuid.empty())
            resolved = FindByGuid(root_, pageGuid, L"Page", found);
        else if (!sectionGuid.empty())
            resolved = FindByGuid(root_, sectionGuid, L"Section", found);
        else
        {
            std::wstring path = url.substr(8);
            while (!path.empty() && path.front() == L'/')
                path.erase(0, 1);
            path = PercentDecode(path.substr(0, path.find(L'#')));
            resolved = FindByPath(root_, path, found);
        }
        if (!resolved)
            return OneNoteError::ObjectDoesNotExist;
        changed = true;
        return MakeCurrent(root_, found);
    });
}

HRESULT Store::GetHyperlinkToObject(const std::wstring& hierarchyId, const std::wstring& objectId, std::wstring& link)
{
    return Inspect([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (!FindById(root_, hierarchyId, found))
            return OneNoteError::ObjectDoesNotExist;
        const XNode& node = *found.node;
        const auto guidOf = [](const std::wstring& id) { return id.substr(0, 38); };
        if (node.name == L"Notebook" || node.name == L"SectionGroup")
        {
            link = L"onenote:///" + PercentEncode(node.AttributeOr(L"path"));
        }
        else if (node.name == L"Section")
        {
            link = L"onenote:///" + PercentEncode(node.AttributeOr(L"path")) + L"#section-id=" +
                   guidOf(node.AttributeOr(L"ID")) + L"&end";
        }
        else
        {
            const XNode& section = *found.ancestors.back();
            link = L"onenote:///" + PercentEncode(section.AttributeOr(L"path")) + L"#" +
                   PercentEncode(node.AttributeOr(L"name")) + L"&section-id=" + guidOf(section.AttributeOr(L"ID")) +
                   L"&page-id=" + guidOf(node.AttributeOr(L"ID"));
            if (!objectId.empty())
            {
                if (!FindObject(node, objectId))
                    return OneNoteError::PageObjectDoesNotExist;
                link += L"&object-id=" + guidOf(objectId);
            }
            link += L"&end";
        }
        return S_OK;
    });
}

CurrentView Store::GetCurrentView()
{
    CurrentView view;
    GetCurrentView(view);
    return view;
}

HRESULT Store::GetCurrentView(CurrentView& view)
{
    view = {};
    return Inspect([&](XNode& root, bool&) -> HRESULT {
        const XNode* node = &root;
        for (;;)
        {
            const XNode* next = nullptr;
            // One object of each level is current: the first one found is it.
            for (const auto& child : node->children)
                if (IsHierarchyElement(child->name) && child->AttributeOr(L"isCurrentlyViewed") == L"true")
                {
                    next = child.get();
                    break;
                }
            if (!next)
                break;
            const std::wstring id = next->AttributeOr(L"ID");
            if (next->name == L"Notebook")
                view.notebookId = id;
            else if (next->name == L"SectionGroup")
                view.sectionGroupId = id;
            else if (next->name == L"Section")
                view.sectionId = id;
            else if (next->name == L"Page")
                view.pageId = id;
            if (next->name == L"Page")
                break;
            node = next;
        }
        return S_OK;
    });
}
} // namespace StandIn
