// The text of pages and searching it: the lines of a page's outlines and title, and the pages
// whose title and text hold every word of a query, as a word or the start of one.
#include "standins/onenote/HtmlParagraphs.h"
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreTree.h"

#include "standins/onenote/StoreIndex.h"

#include <algorithm>
#include <map>

namespace StandIn
{
namespace StoreTree
{
void CollectLines(const XNode& node, std::vector<std::wstring>& lines)
{
    if (node.name == L"OE")
    {
        std::wstring line;
        for (const auto& child : node.children)
            if (child->name == L"T")
                line += PlainTextOfMarkup(child->InnerText());
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
    const std::vector<std::wstring> words = StoreIndex::Words(query);
    if (words.empty())
        return OneNoteError::InvalidQuery;
    return Inspect([&](XNode&, bool&) -> HRESULT {
        XNodePtr start = root_;
        if (!startId.empty())
        {
            Found found;
            if (!FindById(root_, startId, found))
                return OneNoteError::ObjectDoesNotExist;
            start = found.node;
        }
        // The answer holds the start and, below it, each page found with what leads to it, in the
        // order of the store.
        auto answer = HierarchyCopy(*start);
        std::map<const XNode*, XNodePtr> copies{{start.get(), answer}};
        for (const Found& page : StoreIndex::MatchPages(root_, words))
        {
            const auto below = std::find(page.ancestors.begin(), page.ancestors.end(), start);
            if (below == page.ancestors.end())
                continue;
            XNodePtr parent = answer;
            for (auto ancestor = below + 1; ancestor != page.ancestors.end(); ++ancestor)
            {
                XNodePtr& copy = copies[ancestor->get()];
                if (!copy)
                {
                    copy = HierarchyCopy(**ancestor);
                    parent->children.push_back(copy);
                }
                parent = copy;
            }
            parent->children.push_back(HierarchyCopy(*page.node));
        }
        xml = WriteForSchema(*answer, schema);
        return S_OK;
    });
}

HRESULT Store::GetPageText(const std::wstring& pageId, PageText& text)
{
    return Inspect([&](XNode&, bool&) -> HRESULT {
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
