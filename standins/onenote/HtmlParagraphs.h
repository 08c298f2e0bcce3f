#pragma once
// How OneNote reads HTML it is handed: the paragraphs a person sees, each as the text markup that
// OneNote keeps in a paragraph's text ("T"): the text escaped, with its links as <a href> elements.
// Forgiving like a browser: unknown tags are ignored, broken markup is read as far as it makes
// sense, and no input makes it fail.

#include <string>
#include <vector>

namespace StandIn
{
struct HtmlParagraph
{
    std::wstring markup;  // escaped text; links as <a href="...">text</a>
    unsigned heading = 0; // 1 to 6 for h1 to h6, else 0
    // A picture (<img>) shows in a paragraph of its own: the file its address leads to, resolved
    // as a browser resolves it (against the document's <base href>, else the document's own
    // place); empty for a paragraph of text.
    std::wstring picture;
};

// documentPath: the file the HTML was read from, against whose folder relative addresses resolve;
// empty for HTML handed over as text. A picture whose address leads to no file is left out.
std::vector<HtmlParagraph> HtmlToParagraphs(const std::wstring& html, const std::wstring& documentPath = {});

// The text a person reads in a paragraph's markup: tags removed, character references resolved.
std::wstring PlainTextOfMarkup(const std::wstring& markup);

// The text of an HTML file: a UTF-8 or UTF-16 byte order mark decides, else UTF-8 when the bytes
// are UTF-8, else Windows-1252. False when the file cannot be read (its path as long as MAX_PATH
// or longer included).
bool ReadHtmlFile(const std::wstring& path, std::wstring& html);
} // namespace StandIn
