// Reading the stand-in's own files (the store and its journal) straight from their UTF-8 bytes into
// the tree, in one pass and without a DOM beside the tree: a store of a hundred thousand pages is
// over a hundred megabytes of text, more than a 32-bit process can hold twice over. What it accepts
// and gives is what ParseXml gives for the same text: local element names, qualified attribute
// names without the namespace declarations, references resolved, line ends normalised, and
// whitespace between elements dropped.
#include "standins/onenote/Xml.h"

#include <cstring>

namespace StandIn
{
namespace
{
class Reader
{
public:
    Reader(std::string_view text, const std::wstring& expectedNamespace)
        : p_(text.data()), end_(text.data() + text.size()), expected_(expectedNamespace)
    {
    }

    ParseResult Read()
    {
        ParseResult result;
        if (Remaining() >= 3 && std::memcmp(p_, "\xEF\xBB\xBF", 3) == 0)
            p_ += 3;
        if (!Prolog() || !Element(result.root) || !Misc() || p_ != end_)
        {
            result.status = ParseStatus::NotWellFormed;
            result.root = nullptr;
            result.reason = reason_.empty() ? L"the text is not well-formed XML" : reason_;
            return result;
        }
        if (!wrongNamespace_.empty())
        {
            result.status = ParseStatus::WrongNamespace;
            result.reason = wrongNamespace_;
        }
        return result;
    }

private:
    size_t Remaining() const { return static_cast<size_t>(end_ - p_); }
    bool At(const char* literal) const
    {
        const size_t length = std::strlen(literal);
        return Remaining() >= length && std::memcmp(p_, literal, length) == 0;
    }
    bool Fail(const wchar_t* why)
    {
        if (reason_.empty())
            reason_ = why;
        return false;
    }
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    void SkipSpace()
    {
        while (p_ != end_ && IsSpace(*p_))
            ++p_;
    }
    // Passes over everything up to and including terminator.
    bool SkipPast(const char* terminator)
    {
        const size_t length = std::strlen(terminator);
        for (; Remaining() >= length; ++p_)
            if (std::memcmp(p_, terminator, length) == 0)
            {
                p_ += length;
                return true;
            }
        return Fail(L"the text ends inside markup");
    }

    // Comments and processing instructions (the declaration among them) before and after the root.
    bool Misc()
    {
        for (;;)
        {
            SkipSpace();
            if (At("<!--"))
            {
                if (!SkipPast("-->"))
                    return false;
            }
            else if (At("<?"))
            {
                if (!SkipPast("?>"))
                    return false;
            }
            else
            {
                return true;
            }
        }
    }
    bool Prolog()
    {
        if (!Misc())
            return false;
        if (At("<!DOCTYPE"))
            return Fail(L"document type declarations are not read");
        return true;
    }

    // UTF-8 to UTF-16, appended.
    static void Append(std::wstring& out, const char* from, const char* to)
    {
        while (from != to)
        {
            const unsigned char c = static_cast<unsigned char>(*from);
            if (c < 0x80)
            {
                out += static_cast<wchar_t>(c);
                ++from;
                continue;
            }
            unsigned count = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
            unsigned long code = count == 3 ? c & 0x07 : count == 2 ? c & 0x0F : c & 0x1F;
            ++from;
            for (; count > 0 && from != to && (static_cast<unsigned char>(*from) & 0xC0) == 0x80; --count, ++from)
                code = (code << 6) | (static_cast<unsigned char>(*from) & 0x3F);
            if (count != 0 || c < 0xC0)
                code = 0xFFFD;
            if (code >= 0x10000)
            {
                code -= 0x10000;
                out += static_cast<wchar_t>(0xD800 + (code >> 10));
                out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            }
            else
            {
                out += static_cast<wchar_t>(code);
            }
        }
    }

    // A reference after its '&': appends what it stands for.
    bool Reference(std::wstring& out)
    {
        const char* semicolon = static_cast<const char*>(std::memchr(p_, ';', std::min<size_t>(Remaining(), 12)));
        if (!semicolon)
            return Fail(L"an unfinished reference");
        const std::string_view name(p_, static_cast<size_t>(semicolon - p_));
        p_ = semicolon + 1;
        if (name == "lt")
            out += L'<';
        else if (name == "gt")
            out += L'>';
        else if (name == "amp")
            out += L'&';
        else if (name == "quot")
            out += L'"';
        else if (name == "apos")
            out += L'\'';
        else if (name.size() > 1 && name[0] == '#')
        {
            const bool hex = name[1] == 'x';
            unsigned long code = 0;
            for (size_t i = hex ? 2 : 1; i < name.size(); ++i)
            {
                const char c = name[i];
                const int digit = c >= '0' && c <= '9'                 ? c - '0'
                                  : hex && c >= 'a' && c <= 'f'      ? c - 'a' + 10
                                  : hex && c >= 'A' && c <= 'F'      ? c - 'A' + 10
                                                                     : -1;
                if (digit < 0 || code > 0x10FFFF)
                    return Fail(L"a bad character reference");
                code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
            }
            if (code == 0 || code > 0x10FFFF)
                return Fail(L"a bad character reference");
            if (code >= 0x10000)
            {
                code -= 0x10000;
                out += static_cast<wchar_t>(0xD800 + (code >> 10));
                out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            }
            else
            {
                out += static_cast<wchar_t>(code);
            }
        }
        else
        {
            return Fail(L"an unknown entity");
        }
        return true;
    }

    // Character data up to stop (exclusive), references resolved and line ends made line feeds;
    // in an attribute, white space characters written as themselves become blanks.
    bool CharacterData(std::wstring& out, char stop, bool attribute)
    {
        for (;;)
        {
            const char* run = p_;
            while (p_ != end_ && *p_ != stop && *p_ != '&' && *p_ != '\r' && *p_ != '<' &&
                   !(attribute && (*p_ == '\n' || *p_ == '\t')))
                ++p_;
            Append(out, run, p_);
            if (p_ == end_)
                return attribute ? Fail(L"the text ends inside an attribute") : true;
            const char c = *p_;
            if (c == stop)
                return true;
            if (c == '<')
                return attribute ? Fail(L"'<' inside an attribute") : true;
            ++p_;
            if (c == '&')
            {
                if (!Reference(out))
                    return false;
            }
            else if (c == '\r')
            {
                if (p_ != end_ && *p_ == '\n')
                    ++p_;
                out += attribute ? L' ' : L'\n';
            }
            else
            {
                out += L' ';
            }
        }
    }

    bool Name(std::string_view& name)
    {
        const char* start = p_;
        while (p_ != end_ && !IsSpace(*p_) && *p_ != '/' && *p_ != '>' && *p_ != '=')
            ++p_;
        name = std::string_view(start, static_cast<size_t>(p_ - start));
        return !name.empty() || Fail(L"a name is missing");
    }

    const std::wstring* Lookup(std::string_view prefix) const
    {
        for (auto binding = bindings_.rbegin(); binding != bindings_.rend(); ++binding)
            if (binding->first == prefix)
                return &binding->second;
        return nullptr;
    }

    bool Element(XNodePtr& element)
    {
        if (!At("<") || At("</"))
            return Fail(L"an element is missing");
        ++p_;
        std::string_view qualified;
        if (!Name(qualified))
            return false;
        const size_t scope = bindings_.size();
        element = std::make_shared<XNode>();
        // Attributes first: they may declare the element's own prefix.
        for (;;)
        {
            SkipSpace();
            if (p_ == end_)
                return Fail(L"the text ends inside a start tag");
            if (*p_ == '>' || At("/>"))
                break;
            std::string_view name;
            if (!Name(name))
                return false;
            SkipSpace();
            if (p_ == end_ || *p_ != '=')
                return Fail(L"an attribute without a value");
            ++p_;
            SkipSpace();
            if (p_ == end_ || (*p_ != '"' && *p_ != '\''))
                return Fail(L"an attribute value without quotes");
            const char quote = *p_++;
            std::wstring value;
            if (!CharacterData(value, quote, true))
                return false;
            ++p_;
            if (name == "xmlns" || name.starts_with("xmlns:"))
            {
                bindings_.emplace_back(name.size() > 5 ? name.substr(6) : std::string_view(), std::move(value));
                continue;
            }
            std::wstring wideName;
            Append(wideName, name.data(), name.data() + name.size());
            element->attributes.emplace_back(std::move(wideName), std::move(value));
        }
        const size_t colon = qualified.find(':');
        const std::string_view prefix = colon == std::string_view::npos ? std::string_view() : qualified.substr(0, colon);
        const std::string_view local = colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
        Append(element->name, local.data(), local.data() + local.size());
        const std::wstring* ns = Lookup(prefix);
        if (!ns && !prefix.empty())
            return Fail(L"an element prefix that is not declared");
        if (!expected_.empty() && wrongNamespace_.empty() && (!ns || *ns != expected_))
            wrongNamespace_ = L"element " + element->name + L" is in namespace \"" + (ns ? *ns : std::wstring()) + L"\"";

        if (At("/>"))
        {
            p_ += 2;
            bindings_.resize(scope);
            return true;
        }
        ++p_;
        bool hasElements = false;
        for (;;)
        {
            if (p_ == end_)
                return Fail(L"the text ends inside an element");
            if (At("</"))
                break;
            if (At("<![CDATA["))
            {
                p_ += 9;
                const char* start = p_;
                if (!SkipPast("]]>"))
                    return false;
                auto text = std::make_shared<XNode>();
                text->cdata = true;
                // Line ends inside the section are normalised as everywhere else.
                for (const char* c = start; c != p_ - 3; ++c)
                {
                    if (*c == '\r')
                    {
                        Append(text->text, start, c);
                        text->text += L'\n';
                        if (c + 1 != p_ - 3 && c[1] == '\n')
                            ++c;
                        start = c + 1;
                    }
                }
                Append(text->text, start, p_ - 3);
                element->children.push_back(std::move(text));
            }
            else if (At("<!--"))
            {
                if (!SkipPast("-->"))
                    return false;
            }
            else if (At("<?"))
            {
                if (!SkipPast("?>"))
                    return false;
            }
            else if (*p_ == '<')
            {
                XNodePtr child;
                if (!Element(child))
                    return false;
                element->children.push_back(std::move(child));
                hasElements = true;
            }
            else
            {
                std::wstring text;
                if (!CharacterData(text, '<', false))
                    return false;
                // Text beside text (around a comment) is one text, as in a DOM.
                if (!element->children.empty() && !element->children.back()->IsElement() &&
                    !element->children.back()->cdata)
                    element->children.back()->text += text;
                else
                    element->children.push_back(MakeText(text, false));
            }
        }
        p_ += 2;
        std::string_view closing;
        if (!Name(closing))
            return false;
        if (closing != qualified)
            return Fail(L"an end tag that does not match its start tag");
        SkipSpace();
        if (p_ == end_ || *p_ != '>')
            return Fail(L"an unfinished end tag");
        ++p_;
        bindings_.resize(scope);
        // Whitespace between elements is layout, not content.
        if (hasElements)
            std::erase_if(element->children, [](const XNodePtr& child) {
                return !child->IsElement() && !child->cdata &&
                       child->text.find_first_not_of(L" \t\r\n") == std::wstring::npos;
            });
        return true;
    }

    const char* p_;
    const char* end_;
    const std::wstring& expected_;
    std::vector<std::pair<std::string_view, std::wstring>> bindings_{{"xml", L"http://www.w3.org/XML/1998/namespace"}};
    std::wstring reason_;
    std::wstring wrongNamespace_;
};
} // namespace

ParseResult ParseXmlUtf8(std::string_view text, const std::wstring& expectedNamespace)
{
    return Reader(text, expectedNamespace).Read();
}
} // namespace StandIn
