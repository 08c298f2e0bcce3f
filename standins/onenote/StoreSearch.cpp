// The text of pages and searching it: the lines of a page's outlines and title, and the pages
// whose title and text hold every word of a query.
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreTree.h"

#include <functional>

namespace StandIn
{
namespace
{
std::wstring StripHtml(const std::wstring& text)
{
    std::wstring plain;
    bool inTag = false;
    for (wchar_t c : text)
    {
        if (c == L'<')
            inTag = true;
        else if (c == L'>')
            inTag = false;
        else if (!inTag)
            plain += c;
    }
    const std::pair<const wchar_t*, const wchar_t*> entities[] = {
        {L"&nbsp;", L" "}, {L"&lt;", L"<"}, {L"&gt;", L">"}, {L"&quot;", L"\""}, {L"&#39;", L"'"}, {L"&amp;", L"&"}};
    for (const auto& [entity, replacement] : entities)
    {
        size_t at = 0;
        while ((at = plain.find(entity, at)) != std::wstring::npos)
        {
            plain.replace(at, wcslen(entity), replacement);
            at += wcslen(replacement);
        }
    }
    return plain;
}
} // namespace

namespace StoreTree
{
void CollectLines(const XNode& node, std::vector<std::wstring>& lines)
{
    if (node.name == L"OE")
    {
        std::wstring line;
        for (const auto& child : node.children)
            if (child->name == L"T")
                line += StripHtml(child->InnerText());
        if (!line.empty())
            lines.push_back(line);
        for (const auto& child : node.children)
            if (child->name == L"OEChildren" || child->name == L"Table")
                CollectLines(*child, lines);
        return;
    }
    for (const auto& child : node.children)
        if (child->IsElement())
            CollectLines(*child, lines);
}

// The plain text of a Title element.
std::wstring TitleText(const XNode& title)
{
    std::vector<std::wstring> lines;
    CollectLines(title, lines);
    std::wstring text;
    for (const auto& line : lines)
        text += line;
    return text;
}
} // namespace StoreTree

using namespace StoreTree;

HRESULT Store::FindPages(const std::wstring& startId, const std::wstring& query, LONG schema, std::wstring& xml)
{
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    std::vector<std::wstring> words;
    {
        std::wstring word;
        for (wchar_t c : Lower(query) + L" ")
        {
            if (c == L' ' || c == L'"' || c == L'\t')
            {
                if (!word.empty())
                    words.push_back(word);
                word.clear();
            }
            else
            {
                word += c;
            }
        }
    }
    if (words.empty())
        return OneNoteError::InvalidQuery;
    return Run([&](XNode&, bool&) -> HRESULT {
        XNodePtr start;
        if (startId.empty())
            start = root_;
        else
        {
            Found found;
            if (!FindById(root_, startId, found))
                return OneNoteError::ObjectDoesNotExist;
            start = found.node;
        }

        // Keeps the pages that hold every word in their title or text, and what leads to them.
        std::function<XNodePtr(const XNode&)> filter = [&](const XNode& node) -> XNodePtr {
            if (node.name == L"Page")
            {
                std::vector<std::wstring> lines;
                CollectLines(node, lines);
                std::wstring text = Lower(node.AttributeOr(L"name"));
                for (const auto& line : lines)
                    text += L"\n" + Lower(line);
                for (const auto& word : words)
                    if (text.find(word) == std::wstring::npos)
                        return nullptr;
                return HierarchyCopy(node);
            }
            auto copy = HierarchyCopy(node);
            for (const auto& child : node.children)
                if (IsHierarchyElement(child->name))
                    if (auto kept = filter(*child))
                        copy->children.push_back(kept);
            if (copy->children.empty() && node.name != L"Notebooks" && &node != start.get())
                return nullptr;
            return copy;
        };
        xml = WriteForSchema(*filter(*start), schema);
        return S_OK;
    });
}

HRESULT Store::GetPageText(const std::wstring& pageId, PageText& text)
{
    return Run([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (!FindById(root_, pageId, found) || found.node->name != L"Page")
            return OneNoteError::PageDoesNotExist;
        text.title = found.node->AttributeOr(L"name");
        if (text.title.empty())
            if (const auto title = found.node->FirstElement(L"Title"))
                text.title = TitleText(*title);
        text.lines.clear();
        for (const auto& child : found.node->children)
            if (IsPageObject(child->name))
                CollectLines(*child, text.lines);
        return S_OK;
    });
}
} // namespace StandIn
