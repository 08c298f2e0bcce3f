// Operations on the hierarchy: reading it by scope, creating and renaming sections and section
// groups, deleting into the recycle bin, parents, kinds and the special locations.
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreTree.h"

#include <algorithm>
#include <map>

namespace StandIn
{
using namespace StoreTree;

namespace
{
HRESULT MissingFor(const std::wstring& kind)
{
    if (kind == L"Section")
        return OneNoteError::SectionDoesNotExist;
    if (kind == L"Page")
        return OneNoteError::PageDoesNotExist;
    if (kind == L"SectionGroup")
        return OneNoteError::SectionGroupDoesNotExist;
    if (kind == L"Notebook")
        return OneNoteError::NotebookDoesNotExist;
    return OneNoteError::ObjectDoesNotExist;
}

bool IsValidName(const std::wstring& name)
{
    if (name.empty() || name.find_first_not_of(L' ') == std::wstring::npos)
        return false;
    return name.find_first_of(L"\\/*?\"|<>:%#&") == std::wstring::npos;
}

int Rank(const std::wstring& name)
{
    if (name == L"Notebooks")
        return 0;
    if (name == L"Notebook" || name == L"UnfiledNotes" || name == L"OpenSections")
        return 1;
    if (name == L"SectionGroup")
        return 2;
    if (name == L"Section")
        return 3;
    return 4;
}

// The part of the tree below node that a GetHierarchy scope asks for.
XNodePtr CopyForScope(const XNode& node, LONG scope, bool top)
{
    auto copy = HierarchyCopy(node);
    if (node.name == L"Page" || scope == 0)
        return copy;
    const int deepest = scope == 2 ? 1 : scope == 3 ? 3 : 4;
    for (const auto& child : node.children)
    {
        if (!IsHierarchyElement(child->name))
            continue;
        if (scope == 1)
        {
            if (top)
                copy->children.push_back(HierarchyCopy(*child));
        }
        else if (Rank(child->name) <= deepest)
        {
            copy->children.push_back(CopyForScope(*child, scope, false));
        }
    }
    return copy;
}
} // namespace

HRESULT Store::GetHierarchy(const std::wstring& startId, LONG scope, LONG schema, std::wstring& xml)
{
    if (scope < 0 || scope > 4)
        return E_INVALIDARG;
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    return Inspect([&](XNode& root, bool&) {
        XNodePtr answer;
        if (startId.empty())
        {
            answer = CopyForScope(root, scope == 0 || scope == 1 ? 2 : scope, true);
        }
        else
        {
            Found found;
            if (!FindById(root_, startId, found))
                return OneNoteError::ObjectDoesNotExist;
            answer = CopyForScope(*found.node, scope, true);
        }
        xml = WriteForSchema(*answer, schema);
        return S_OK;
    });
}

HRESULT Store::UpdateHierarchy(const std::wstring& xml, LONG schema)
{
    XNodePtr input;
    if (const HRESULT hr = ParseReceived(xml, schema, input); FAILED(hr))
        return hr;
    if (!IsHierarchyElement(input->name) && input->name != L"Notebooks")
        return OneNoteError::InvalidXml;

    return Run([&](XNode&, bool& changed) -> HRESULT {
        WatchTarget(*input);
        const std::wstring now = XmlTimeNow();
        // Checks first, so that a failing change leaves the store as it was.
        std::function<HRESULT(const XNode&)> check = [&](const XNode& node) -> HRESULT {
            // What the node stands for in the store, when it is there already.
            XNodePtr stored = node.name == L"Notebooks" ? root_ : nullptr;
            if (node.name != L"Notebooks")
            {
                const std::wstring* id = node.Attribute(L"ID");
                if (id)
                {
                    Found found;
                    if (!FindById(root_, *id, found) || found.node->name != node.name)
                        return MissingFor(node.name);
                    stored = found.node;
                }
                else if (node.name == L"Section" || node.name == L"SectionGroup")
                {
                    if (!IsValidName(node.AttributeOr(L"name")))
                        return OneNoteError::InvalidName;
                }
                else
                {
                    return OneNoteError::InvalidXml;
                }
                if (const std::wstring* name = node.Attribute(L"name"); name && !IsValidName(*name) &&
                                                                       node.name != L"Page")
                    return OneNoteError::InvalidName;
            }
            std::map<std::wstring, int> names;
            for (const auto& child : node.children)
            {
                if (!IsHierarchyElement(child->name))
                    continue;
                if ((child->name == L"Section" || child->name == L"SectionGroup") && !child->Attribute(L"ID"))
                {
                    if (++names[Lower(child->name + L"/" + child->AttributeOr(L"name"))] > 1)
                        return OneNoteError::FileAlreadyExists;
                    // Sections are files: a name in other letter case is the same file.
                    if (stored)
                        for (const auto& existing : stored->children)
                            if (existing->name == child->name &&
                                Lower(existing->AttributeOr(L"name")) == Lower(child->AttributeOr(L"name")) &&
                                existing->AttributeOr(L"name") != child->AttributeOr(L"name"))
                                return OneNoteError::FileAlreadyExists;
                }
                if (const HRESULT hr = check(*child); FAILED(hr))
                    return hr;
            }
            return S_OK;
        };
        if (const HRESULT hr = check(*input); FAILED(hr))
            return hr;

        std::function<void(const XNode&, const XNodePtr&)> apply = [&](const XNode& node, const XNodePtr& target) {
            for (const auto& child : node.children)
            {
                if (!IsHierarchyElement(child->name))
                    continue;
                XNodePtr stored;
                if (const std::wstring* id = child->Attribute(L"ID"))
                {
                    Found found;
                    FindById(root_, *id, found);
                    stored = found.node;
                    if (const std::wstring* name = child->Attribute(L"name"); name && *name != stored->AttributeOr(L"name"))
                    {
                        stored->SetAttribute(L"name", *name);
                        stored->SetAttribute(L"lastModifiedTime", now);
                        changed = true;
                    }
                    if (child->name == L"Page")
                    {
                        if (const std::wstring* level = child->Attribute(L"pageLevel"))
                        {
                            stored->SetAttribute(L"pageLevel", *level);
                            changed = true;
                        }
                        continue;
                    }
                }
                else
                {
                    // A new section or section group, after the parent's existing ones of its kind.
                    const std::wstring name = child->AttributeOr(L"name");
                    for (const auto& existing : target->children)
                        if (existing->name == child->name && existing->AttributeOr(L"name") == name)
                            stored = existing;
                    if (!stored)
                    {
                        stored = MakeElement(child->name);
                        stored->SetAttribute(L"name", name);
                        stored->SetAttribute(L"ID", NewHierarchyId());
                        const std::wstring parentPath = target->AttributeOr(L"path");
                        stored->SetAttribute(L"path", parentPath + L"\\" + name +
                                                          (child->name == L"Section" ? L".one" : L""));
                        stored->SetAttribute(L"lastModifiedTime", now);
                        if (child->name == L"Section")
                            stored->SetAttribute(L"color", child->AttributeOr(L"color", L"#8AA8E4"));
                        auto at = target->children.begin();
                        if (child->name == L"Section")
                        {
                            auto last = target->children.begin();
                            for (auto it = target->children.begin(); it != target->children.end(); ++it)
                                if ((*it)->name == L"Section")
                                    last = it + 1;
                            at = last;
                        }
                        else
                        {
                            // Section groups go before the recycle bin, which stays last.
                            at = target->children.end();
                            for (auto it = target->children.begin(); it != target->children.end(); ++it)
                                if ((*it)->AttributeOr(L"isRecycleBin") == L"true")
                                {
                                    at = it;
                                    break;
                                }
                        }
                        target->children.insert(at, stored);
                        target->SetAttribute(L"lastModifiedTime", now);
                        changed = true;
                    }
                }
                apply(*child, stored);
            }
        };

        if (input->name == L"Notebooks")
        {
            apply(*input, root_);
        }
        else
        {
            Found found;
            if (FindById(root_, input->AttributeOr(L"ID"), found))
            {
                if (const std::wstring* name = input->Attribute(L"name");
                    name && input->name != L"Page" && *name != found.node->AttributeOr(L"name"))
                {
                    found.node->SetAttribute(L"name", *name);
                    changed = true;
                }
                apply(*input, found.node);
            }
        }
        return S_OK;
    });
}

HRESULT Store::DeleteHierarchy(const std::wstring& id, DATE, bool permanently)
{
    return Run([&](XNode&, bool& changed) -> HRESULT {
        Found found;
        if (!FindById(root_, id, found))
            return OneNoteError::ObjectDoesNotExist;
        if (found.node->name == L"Notebook")
            return E_INVALIDARG;
        WatchNotebookOf(found);
        auto& siblings = found.ancestors.back()->children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), found.node));
        changed = true;
        if (permanently || found.node->AttributeOr(L"isInRecycleBin") == L"true")
            return S_OK;
        // Into the notebook's recycle bin: pages to its deleted pages section, the rest beside it.
        XNodePtr notebook;
        for (const auto& ancestor : found.ancestors)
            if (ancestor->name == L"Notebook")
                notebook = ancestor;
        if (!notebook)
            return S_OK;
        XNodePtr bin;
        for (const auto& child : notebook->children)
            if (child->AttributeOr(L"isRecycleBin") == L"true")
                bin = child;
        if (!bin)
            return S_OK;
        found.node->SetAttribute(L"isInRecycleBin", L"true");
        if (found.node->name == L"Page")
        {
            for (const auto& child : bin->children)
                if (child->AttributeOr(L"isDeletedPages") == L"true")
                    child->children.push_back(found.node);
        }
        else
        {
            auto at = bin->children.begin();
            if (found.node->name == L"SectionGroup")
                at = bin->children.end();
            bin->children.insert(at, found.node);
        }
        return S_OK;
    });
}

HRESULT Store::GetHierarchyParent(const std::wstring& id, std::wstring& parentId)
{
    return Inspect([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (!FindById(root_, id, found))
            return OneNoteError::ObjectDoesNotExist;
        const std::wstring* parent = found.ancestors.back()->Attribute(L"ID");
        if (!parent)
            return OneNoteError::ObjectDoesNotExist;
        parentId = *parent;
        return S_OK;
    });
}

HRESULT Store::GetSpecialLocation(LONG which, std::wstring& path)
{
    const std::wstring profile = Environment(L"USERPROFILE");
    switch (which)
    {
    case 0:
        path = profile + L"\\AppData\\Local\\Microsoft\\OneNote\\16.0\\Backup";
        return S_OK;
    case 1:
        path = profile + L"\\Documents\\OneNote Notebooks\\Quick Notes.one";
        return S_OK;
    case 2:
        path = profile + L"\\Documents\\OneNote Notebooks";
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

bool Store::Exists(const std::wstring& id) { return !KindOf(id).empty(); }

std::wstring Store::KindOf(const std::wstring& id)
{
    std::wstring kind;
    KindOf(id, kind);
    return kind;
}

HRESULT Store::KindOf(const std::wstring& id, std::wstring& kind)
{
    kind.clear();
    return Inspect([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (FindById(root_, id, found))
            kind = found.node->name;
        return S_OK;
    });
}

XNodePtr Store::Snapshot()
{
    XNodePtr copy;
    Inspect([&](XNode& root, bool&) -> HRESULT {
        copy = CopyForScope(root, 4, true);
        return S_OK;
    });
    return copy;
}
} // namespace StandIn
