// HTML sent in a page: OneNote does not keep HTMLBlocks, it reads them once into paragraphs with
// the styles of their headings, so that what is stored is what a person sees and finds.
#include "standins/onenote/HtmlParagraphs.h"
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreTree.h"

#include <algorithm>
#include <map>

namespace StandIn::StoreTree
{
namespace
{
struct StyleLook
{
    const wchar_t* font;
    const wchar_t* fontSize;
    const wchar_t* fontColor;
    bool italic;
};

// OneNote's own heading styles, and its body text.
StyleLook LookOf(const std::wstring& name)
{
    static const std::map<std::wstring, StyleLook> looks{
        {L"h1", {L"Calibri Light", L"16.0", L"#1e4e79", false}}, {L"h2", {L"Calibri Light", L"14.0", L"#2e75b5", false}},
        {L"h3", {L"Calibri Light", L"12.0", L"#1f3763", false}}, {L"h4", {L"Calibri", L"12.0", L"#2f5496", true}},
        {L"h5", {L"Calibri", L"11.0", L"#2e75b5", false}},       {L"h6", {L"Calibri", L"11.0", L"#1f3763", true}},
    };
    const auto found = looks.find(name);
    return found == looks.end() ? StyleLook{L"Calibri", L"11.0", L"automatic", false} : found->second;
}

// The quick style indexes of the page as it will be once received is merged into it.
class QuickStyles
{
public:
    QuickStyles(XNode& received, const XNode& page) : received_(received)
    {
        for (const auto& style : page.Elements(L"QuickStyleDef"))
            byIndex_[Index(*style)] = style->AttributeOr(L"name");
        // What is received replaces the page's definition of the same index.
        for (const auto& style : received.Elements(L"QuickStyleDef"))
            byIndex_[Index(*style)] = style->AttributeOr(L"name");
    }

    std::wstring IndexOf(const std::wstring& name)
    {
        for (const auto& [index, styleName] : byIndex_)
            if (styleName == name)
                return std::to_wstring(index);
        const unsigned long index = byIndex_.empty() ? 0 : byIndex_.rbegin()->first + 1;
        byIndex_[index] = name;
        const StyleLook look = LookOf(name);
        auto style = MakeElement(L"QuickStyleDef");
        style->SetAttribute(L"index", std::to_wstring(index));
        style->SetAttribute(L"name", name);
        style->SetAttribute(L"fontColor", look.fontColor);
        style->SetAttribute(L"highlightColor", L"automatic");
        style->SetAttribute(L"font", look.font);
        style->SetAttribute(L"fontSize", look.fontSize);
        if (look.italic)
            style->SetAttribute(L"italic", L"true");
        style->SetAttribute(L"spaceBefore", L"0.0");
        style->SetAttribute(L"spaceAfter", L"0.0");
        received_.children.insert(received_.children.begin(), style);
        return std::to_wstring(index);
    }

private:
    static unsigned long Index(const XNode& style)
    {
        return static_cast<unsigned long>(std::max(0.0, Number(style.AttributeOr(L"index"), 0)));
    }

    XNode& received_;
    std::map<unsigned long, std::wstring> byIndex_;
};

// A paragraph of text, or of a picture, whose bytes OneNote keeps in the page; null for a picture
// that cannot be read, which a browser would not show either.
XNodePtr ParagraphElement(const HtmlParagraph& paragraph, QuickStyles& styles)
{
    auto oe = MakeElement(L"OE");
    oe->SetAttribute(L"quickStyleIndex",
                     styles.IndexOf(paragraph.heading ? L"h" + std::to_wstring(paragraph.heading) : L"p"));
    if (!paragraph.picture.empty())
    {
        std::wstring base64;
        if (!ReadFileAsBase64(paragraph.picture, base64))
            return nullptr;
        auto image = MakeElement(L"Image");
        auto data = MakeElement(L"Data");
        data->children.push_back(MakeText(base64, false));
        image->children.push_back(data);
        oe->children.push_back(image);
        return oe;
    }
    auto t = MakeElement(L"T");
    t->children.push_back(MakeText(paragraph.markup, true));
    oe->children.push_back(t);
    return oe;
}

// The block's HTML, and the file it was read from (empty for HTML sent as text).
HRESULT HtmlOf(const XNode& block, std::wstring& html, std::wstring& documentPath)
{
    documentPath.clear();
    if (const auto data = block.FirstElement(L"Data"))
    {
        html = data->InnerText();
        return S_OK;
    }
    if (const auto file = block.FirstElement(L"File"))
    {
        documentPath = file->AttributeOr(L"path");
        return ReadHtmlFile(documentPath, html) ? S_OK : OneNoteError::FileDoesNotExist;
    }
    html.clear();
    return S_OK;
}

HRESULT Expand(XNode& node, QuickStyles& styles)
{
    for (const auto& child : node.children)
        if (child->IsElement())
            if (const HRESULT hr = Expand(*child, styles); FAILED(hr))
                return hr;
    if (node.name != L"OEChildren")
        return S_OK;
    std::vector<XNodePtr> children;
    bool hadBlock = false;
    for (const auto& child : node.children)
    {
        if (child->name != L"HTMLBlock")
        {
            children.push_back(child);
            continue;
        }
        hadBlock = true;
        std::wstring html;
        std::wstring documentPath;
        if (const HRESULT hr = HtmlOf(*child, html, documentPath); FAILED(hr))
            return hr;
        for (const HtmlParagraph& paragraph : HtmlToParagraphs(html, documentPath))
            if (XNodePtr element = ParagraphElement(paragraph, styles))
                children.push_back(std::move(element));
    }
    // A block of paragraphs is never empty: HTML that shows nothing leaves an empty line.
    const bool hasParagraph = std::any_of(children.begin(), children.end(),
                                          [](const XNodePtr& child) { return child->name == L"OE"; });
    if (hadBlock && !hasParagraph)
        children.push_back(ParagraphElement({}, styles));
    node.children = std::move(children);
    return S_OK;
}
} // namespace

HRESULT ExpandHtmlBlocks(XNode& received, const XNode& page)
{
    QuickStyles styles(received, page);
    return Expand(received, styles);
}
} // namespace StandIn::StoreTree
