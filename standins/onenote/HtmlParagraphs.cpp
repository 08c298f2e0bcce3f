// A small HTML reader: one pass over the text, no tree and no recursion, so that neither deep
// nesting nor unclosed tags can exhaust anything; what it does not know it skips.
#include "standins/onenote/HtmlParagraphs.h"

#include "framework/files/Files.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwctype>
#include <optional>
#include <unordered_map>

namespace StandIn
{
namespace
{
bool IsHtmlSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f'; }

bool IsNameCharacter(wchar_t c) { return std::iswalnum(c) || c == L'-' || c == L':' || c == L'_' || c == L'.'; }

std::wstring Lower(std::wstring text)
{
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Characters that an XML document cannot carry, which OneNote leaves out.
bool XmlCanHold(wchar_t c)
{
    return c == L'\t' || c == L'\n' || c == L'\r' || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

void AppendCodePoint(unsigned long codePoint, std::wstring& out)
{
    if (codePoint == 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = 0xFFFD;
    if (codePoint >= 0x10000)
    {
        codePoint -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        out += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    }
    else
    {
        out += static_cast<wchar_t>(codePoint);
    }
}

const std::unordered_map<std::wstring, wchar_t>& NamedReferences()
{
    static const std::unordered_map<std::wstring, wchar_t> names{
        {L"amp", L'&'},       {L"lt", L'<'},        {L"gt", L'>'},        {L"quot", L'"'},      {L"apos", L'\''},
        {L"nbsp", 0x00A0},    {L"copy", 0x00A9},    {L"reg", 0x00AE},     {L"trade", 0x2122},   {L"hellip", 0x2026},
        {L"mdash", 0x2014},   {L"ndash", 0x2013},   {L"lsquo", 0x2018},   {L"rsquo", 0x2019},   {L"ldquo", 0x201C},
        {L"rdquo", 0x201D},   {L"sbquo", 0x201A},   {L"bdquo", 0x201E},   {L"bull", 0x2022},    {L"middot", 0x00B7},
        {L"euro", 0x20AC},    {L"pound", 0x00A3},   {L"yen", 0x00A5},     {L"cent", 0x00A2},    {L"sect", 0x00A7},
        {L"para", 0x00B6},    {L"deg", 0x00B0},     {L"plusmn", 0x00B1},  {L"times", 0x00D7},   {L"divide", 0x00F7},
        {L"laquo", 0x00AB},   {L"raquo", 0x00BB},   {L"shy", 0x00AD},     {L"iexcl", 0x00A1},   {L"iquest", 0x00BF},
        {L"auml", 0x00E4},    {L"ouml", 0x00F6},    {L"uuml", 0x00FC},    {L"Auml", 0x00C4},    {L"Ouml", 0x00D6},
        {L"Uuml", 0x00DC},    {L"szlig", 0x00DF},   {L"eacute", 0x00E9},  {L"egrave", 0x00E8},  {L"ecirc", 0x00EA},
        {L"aacute", 0x00E1},  {L"agrave", 0x00E0},  {L"acirc", 0x00E2},   {L"ccedil", 0x00E7},  {L"ntilde", 0x00F1},
        {L"oacute", 0x00F3},  {L"iacute", 0x00ED},  {L"uacute", 0x00FA},  {L"Eacute", 0x00C9},  {L"aring", 0x00E5},
        {L"oslash", 0x00F8},  {L"aelig", 0x00E6},   {L"larr", 0x2190},    {L"rarr", 0x2192},    {L"uarr", 0x2191},
        {L"darr", 0x2193},    {L"ensp", 0x2002},    {L"emsp", 0x2003},    {L"thinsp", 0x2009},  {L"zwnj", 0x200C},
        {L"zwj", 0x200D},     {L"micro", 0x00B5},   {L"frac12", 0x00BD},  {L"frac14", 0x00BC},  {L"frac34", 0x00BE},
    };
    return names;
}

// Resolves the character reference that starts at text[at] ('&'); on success appends its
// character and moves at past it, else leaves both as they were.
bool ResolveReference(const std::wstring& text, size_t& at, std::wstring& out)
{
    const size_t end = text.find(L';', at + 1);
    if (end == std::wstring::npos || end - at > 33 || end == at + 1)
        return false;
    const std::wstring name = text.substr(at + 1, end - at - 1);
    if (name[0] == L'#')
    {
        const bool hex = name.size() > 1 && (name[1] == L'x' || name[1] == L'X');
        const std::wstring digits = name.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8)
            return false;
        unsigned long value = 0;
        for (const wchar_t c : digits)
        {
            const bool digit = hex ? std::iswxdigit(c) != 0 : (c >= L'0' && c <= L'9');
            if (!digit)
                return false;
            value = value * (hex ? 16 : 10) + (c <= L'9' ? c - L'0' : (std::towlower(c) - L'a' + 10));
        }
        AppendCodePoint(value, out);
    }
    else
    {
        const auto found = NamedReferences().find(name);
        if (found == NamedReferences().end())
            return false;
        out += found->second;
    }
    at = end + 1;
    return true;
}

std::wstring DecodeReferences(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();)
    {
        if (text[at] == L'&' && ResolveReference(text, at, out))
            continue;
        out += text[at++];
    }
    return out;
}

void AppendEscaped(wchar_t c, std::wstring& out, bool inAttribute)
{
    switch (c)
    {
    case L'&': out += L"&amp;"; break;
    case L'<': out += L"&lt;"; break;
    case L'>': out += L"&gt;"; break;
    case 0x00A0: out += L"&nbsp;"; break;
    case L'"':
        if (inAttribute)
            out += L"&quot;";
        else
            out += c;
        break;
    default:
        if (XmlCanHold(c))
            out += c;
    }
}

struct Tag
{
    std::wstring name; // lower case
    bool closing = false;
    bool selfClosing = false;
    std::vector<std::pair<std::wstring, std::wstring>> attributes; // names lower case, values decoded
};

// Reads the tag that starts at html[at] ('<' followed by a letter, or "</" and a letter) and moves
// at past its '>' (or to the end when there is none).
Tag ReadTag(const std::wstring& html, size_t& at)
{
    Tag tag;
    ++at;
    if (html[at] == L'/')
    {
        tag.closing = true;
        ++at;
    }
    const size_t nameStart = at;
    while (at < html.size() && IsNameCharacter(html[at]))
        ++at;
    tag.name = Lower(html.substr(nameStart, at - nameStart));
    while (at < html.size() && html[at] != L'>')
    {
        if (IsHtmlSpace(html[at]) || html[at] == L'/')
        {
            tag.selfClosing = html[at] == L'/';
            ++at;
            continue;
        }
        tag.selfClosing = false;
        const size_t attributeStart = at;
        while (at < html.size() && !IsHtmlSpace(html[at]) && html[at] != L'>' && html[at] != L'=' &&
               !(html[at] == L'/' && at > attributeStart))
            ++at;
        if (at == attributeStart)
            ++at; // a stray '=' or the like
        std::wstring name = Lower(html.substr(attributeStart, at - attributeStart));
        while (at < html.size() && IsHtmlSpace(html[at]))
            ++at;
        std::wstring value;
        if (at < html.size() && html[at] == L'=')
        {
            ++at;
            while (at < html.size() && IsHtmlSpace(html[at]))
                ++at;
            if (at < html.size() && (html[at] == L'"' || html[at] == L'\''))
            {
                const wchar_t quote = html[at++];
                const size_t close = html.find(quote, at);
                const size_t valueEnd = close == std::wstring::npos ? html.size() : close;
                value = html.substr(at, valueEnd - at);
                at = close == std::wstring::npos ? html.size() : close + 1;
            }
            else
            {
                const size_t valueStart = at;
                while (at < html.size() && !IsHtmlSpace(html[at]) && html[at] != L'>')
                    ++at;
                value = html.substr(valueStart, at - valueStart);
            }
        }
        if (!name.empty())
            tag.attributes.emplace_back(std::move(name), DecodeReferences(value));
    }
    if (at < html.size())
        ++at;
    return tag;
}

bool IsBlockElement(const std::wstring& name)
{
    static const std::vector<std::wstring> blocks{
        L"p",       L"div",   L"ul",     L"ol",     L"li",      L"dl",       L"dt",     L"dd",
        L"table",   L"tr",    L"caption", L"blockquote", L"address", L"article", L"aside", L"section",
        L"header",  L"footer", L"nav",   L"main",   L"figure",  L"figcaption", L"hr",   L"form",
        L"fieldset", L"center", L"body",  L"html",   L"tbody",   L"thead",    L"tfoot",  L"details",
        L"summary", L"pre"};
    return std::find(blocks.begin(), blocks.end(), name) != blocks.end();
}

// Elements whose content is not shown: everything up to their end tag is passed over.
bool IsHiddenElement(const std::wstring& name)
{
    return name == L"script" || name == L"style" || name == L"title" || name == L"template";
}

unsigned HeadingLevel(const std::wstring& name)
{
    if (name.size() == 2 && name[0] == L'h' && name[1] >= L'1' && name[1] <= L'6')
        return static_cast<unsigned>(name[1] - L'0');
    return 0;
}

// Moves at past the end tag of name (case-insensitive), or to the end when there is none.
void SkipPastEndTag(const std::wstring& html, const std::wstring& name, size_t& at)
{
    for (size_t open = html.find(L"</", at); open != std::wstring::npos; open = html.find(L"</", open + 2))
    {
        const size_t after = open + 2 + name.size();
        if (after > html.size() || _wcsnicmp(html.c_str() + open + 2, name.c_str(), name.size()) != 0)
            continue;
        if (after < html.size() && IsNameCharacter(html[after]))
            continue;
        const size_t close = html.find(L'>', after);
        at = close == std::wstring::npos ? html.size() : close + 1;
        return;
    }
    at = html.size();
}

// Half a surrogate pair cannot be written as UTF-8: it reads as the replacement character.
std::wstring WithWholeSurrogatePairs(const std::wstring& text)
{
    std::wstring out = text;
    for (size_t i = 0; i < out.size(); ++i)
    {
        const bool high = out[i] >= 0xD800 && out[i] <= 0xDBFF;
        const bool low = out[i] >= 0xDC00 && out[i] <= 0xDFFF;
        if (high && i + 1 < out.size() && out[i + 1] >= 0xDC00 && out[i + 1] <= 0xDFFF)
            ++i;
        else if (high || low)
            out[i] = 0xFFFD;
    }
    return out;
}

// Collects the paragraphs as the text flows in: blanks collapse, block boundaries end a paragraph,
// and a link that spans a boundary goes on in the next paragraph.
class ParagraphCollector
{
public:
    void Text(const std::wstring& text)
    {
        for (const wchar_t c : text)
        {
            if (preformatted_ > 0)
            {
                if (c == L'\n')
                    LineBreak();
                else if (c != L'\r')
                    Visible(c);
            }
            else if (IsHtmlSpace(c))
            {
                pendingSpace_ = hasText_;
            }
            else
            {
                Visible(c);
            }
        }
    }

    // A block boundary: the paragraph ends when it holds anything.
    void Boundary()
    {
        if (hasText_)
            Finish();
    }

    // A line break: the paragraph ends even when empty, as an empty line.
    void LineBreak() { Finish(); }

    void StartLink(std::wstring href)
    {
        EndLink();
        href_ = std::move(href);
        inLink_ = true;
    }

    void EndLink()
    {
        CloseLinkMarkup();
        href_.clear();
        inLink_ = false;
    }

    // A picture ends the paragraph before it and stands in one of its own.
    void Picture(std::wstring source)
    {
        Boundary();
        paragraphs_.push_back({L"", 0, std::move(source)});
    }

    // The first <base href> of a document is the base of all its addresses.
    void Base(std::wstring href)
    {
        if (!base_)
            base_ = std::move(href);
    }
    const std::optional<std::wstring>& BaseHref() const { return base_; }

    void SetHeading(unsigned level) { heading_ = level; }
    void EnterPreformatted() { ++preformatted_; }
    void LeavePreformatted() { preformatted_ = std::max(0, preformatted_ - 1); }

    std::vector<HtmlParagraph> Take()
    {
        Boundary();
        return std::move(paragraphs_);
    }

private:
    void Visible(wchar_t c)
    {
        if (!XmlCanHold(c))
            return;
        if (pendingSpace_)
            markup_ += L' ';
        pendingSpace_ = false;
        if (inLink_ && !linkOpen_)
        {
            markup_ += L"<a href=\"";
            for (const wchar_t h : href_)
                AppendEscaped(h, markup_, true);
            markup_ += L"\">";
            linkOpen_ = true;
        }
        AppendEscaped(c, markup_, false);
        hasText_ = true;
    }

    void CloseLinkMarkup()
    {
        if (linkOpen_)
            markup_ += L"</a>";
        linkOpen_ = false;
    }

    void Finish()
    {
        CloseLinkMarkup();
        paragraphs_.push_back({std::move(markup_), heading_, {}});
        markup_.clear();
        hasText_ = false;
        pendingSpace_ = false;
    }

    std::vector<HtmlParagraph> paragraphs_;
    std::wstring markup_;
    bool hasText_ = false;
    bool pendingSpace_ = false;
    bool linkOpen_ = false;
    // The address of the link the text is in, while inLink_.
    std::wstring href_;
    bool inLink_ = false;
    unsigned heading_ = 0;
    int preformatted_ = 0;
    std::optional<std::wstring> base_;
};

void HandleTag(const Tag& tag, ParagraphCollector& collector, const std::wstring& html, size_t& at)
{
    if (!tag.closing && IsHiddenElement(tag.name))
    {
        if (!tag.selfClosing)
            SkipPastEndTag(html, tag.name, at);
        return;
    }
    if (tag.name == L"br")
    {
        collector.LineBreak();
        return;
    }
    if ((tag.name == L"img" || tag.name == L"base") && !tag.closing)
    {
        for (const auto& [name, value] : tag.attributes)
        {
            if (tag.name == L"img" && name == L"src")
                collector.Picture(value);
            else if (tag.name == L"base" && name == L"href")
                collector.Base(value);
        }
        return;
    }
    if (tag.name == L"a")
    {
        collector.EndLink();
        if (!tag.closing)
            for (const auto& [name, value] : tag.attributes)
                if (name == L"href")
                    collector.StartLink(value);
        return;
    }
    if (const unsigned level = HeadingLevel(tag.name))
    {
        collector.Boundary();
        collector.SetHeading(tag.closing ? 0 : level);
        return;
    }
    if (tag.name == L"td" || tag.name == L"th")
    {
        collector.Text(L" ");
        return;
    }
    if (IsBlockElement(tag.name))
    {
        collector.Boundary();
        if (tag.name == L"pre")
        {
            if (tag.closing)
                collector.LeavePreformatted();
            else
            {
                collector.EnterPreformatted();
                // A line break right after the start tag is not part of the text.
                if (at < html.size() && html[at] == L'\r')
                    ++at;
                if (at < html.size() && html[at] == L'\n')
                    ++at;
            }
        }
    }
}

std::wstring DecodeBytes(const std::string& bytes)
{
    auto widen = [](UINT codePage, DWORD flags, const char* data, size_t size, std::wstring& out) {
        if (size == 0)
            return true;
        const int length = MultiByteToWideChar(codePage, flags, data, static_cast<int>(size), nullptr, 0);
        if (length <= 0)
            return false;
        out.resize(static_cast<size_t>(length));
        return MultiByteToWideChar(codePage, flags, data, static_cast<int>(size), out.data(), length) == length;
    };
    std::wstring text;
    if (bytes.size() >= 2 && (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0))
    {
        const bool bigEndian = bytes[0] == '\xFE';
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            text += static_cast<wchar_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
        }
        return text;
    }
    const size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (widen(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + start, bytes.size() - start, text))
        return text;
    text.clear();
    widen(1252, 0, bytes.data() + start, bytes.size() - start, text);
    return text;
}

// The address link leads to from base, as a browser combines them.
std::wstring CombineAddress(const std::wstring& base, const std::wstring& link)
{
    std::wstring combined(4096, L'\0');
    DWORD size = static_cast<DWORD>(combined.size());
    if (FAILED(UrlCombineW(base.c_str(), link.c_str(), combined.data(), &size, 0)))
        return {};
    combined.resize(size);
    return combined;
}

// The file a file: address names; empty for any other address.
std::wstring FileOfAddress(const std::wstring& address)
{
    if (address.empty() || !UrlIsW(address.c_str(), URLIS_FILEURL))
        return {};
    std::wstring path(4096, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (FAILED(PathCreateFromUrlW(address.c_str(), path.data(), &size, 0)))
        return {};
    path.resize(size);
    return path;
}

// The file of each picture as the document's addresses resolve; pictures that lead to no file
// are left out, as a browser shows nothing of them.
void ResolvePictures(std::vector<HtmlParagraph>& paragraphs, const std::wstring& documentPath,
                     const std::optional<std::wstring>& baseHref)
{
    std::wstring base;
    if (!documentPath.empty())
    {
        std::wstring url(4096, L'\0');
        DWORD size = static_cast<DWORD>(url.size());
        if (SUCCEEDED(UrlCreateFromPathW(documentPath.c_str(), url.data(), &size, 0)))
            base = url.substr(0, size);
    }
    if (baseHref)
        base = base.empty() ? *baseHref : CombineAddress(base, *baseHref);
    std::erase_if(paragraphs, [&](HtmlParagraph& paragraph) {
        if (paragraph.picture.empty())
            return false;
        paragraph.picture = FileOfAddress(base.empty() ? paragraph.picture : CombineAddress(base, paragraph.picture));
        return paragraph.picture.empty();
    });
}
} // namespace

std::vector<HtmlParagraph> HtmlToParagraphs(const std::wstring& received, const std::wstring& documentPath)
{
    const std::wstring html = WithWholeSurrogatePairs(received);
    ParagraphCollector collector;
    size_t at = 0;
    while (at < html.size())
    {
        const size_t open = html.find(L'<', at);
        const size_t textEnd = open == std::wstring::npos ? html.size() : open;
        if (textEnd > at)
            collector.Text(DecodeReferences(html.substr(at, textEnd - at)));
        at = textEnd;
        if (at >= html.size())
            break;
        const wchar_t next = at + 1 < html.size() ? html[at + 1] : L'\0';
        if (std::iswalpha(next) || (next == L'/' && at + 2 < html.size() && std::iswalpha(html[at + 2])))
        {
            const Tag tag = ReadTag(html, at);
            HandleTag(tag, collector, html, at);
        }
        else if (html.compare(at, 4, L"<!--") == 0)
        {
            const size_t close = html.find(L"-->", at + 4);
            at = close == std::wstring::npos ? html.size() : close + 3;
        }
        else if (next == L'!' || next == L'?' || next == L'/')
        {
            // Declarations, processing instructions and "</" without a name show nothing.
            const size_t close = html.find(L'>', at);
            at = close == std::wstring::npos ? html.size() : close + 1;
        }
        else
        {
            collector.Text(L"<");
            ++at;
        }
    }
    std::vector<HtmlParagraph> paragraphs = collector.Take();
    ResolvePictures(paragraphs, documentPath, collector.BaseHref());
    return paragraphs;
}

std::wstring PlainTextOfMarkup(const std::wstring& markup)
{
    std::wstring stripped;
    bool inTag = false;
    for (const wchar_t c : markup)
    {
        if (c == L'<')
            inTag = true;
        else if (c == L'>')
            inTag = false;
        else if (!inTag)
            stripped += c;
    }
    std::wstring plain = DecodeReferences(stripped);
    std::replace(plain.begin(), plain.end(), static_cast<wchar_t>(0x00A0), L' ');
    return plain;
}

bool ReadHtmlFile(const std::wstring& path, std::wstring& html)
{
    // OneNote opens what a page names by its plain path, which Windows limits to MAX_PATH.
    if (path.size() >= MAX_PATH || !FileExists(path.c_str()))
        return false;
    // ReadFileBytes leaves out a UTF-8 mark, which DecodeBytes would take the same way.
    html = DecodeBytes(ReadFileBytes(path.c_str()));
    return true;
}
} // namespace StandIn
