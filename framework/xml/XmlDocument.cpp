#include "framework/xml/XmlDocument.h"

#include "framework/com/ComError.h"
#include "framework/com/UnknownImpl.h"
#include "framework/xml/ElementReader.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include <cstdint>
#include <optional>
#include <string>

namespace
{
// The input and output objects that XmlLite wraps around a stream are plain IUnknowns.
const IID& UnknownIid() { return IID_IUnknown; }
const IID& SequentialStreamIid() { return IID_ISequentialStream; }
using UnknownPtr = _com_ptr_t<_com_IIID_getter<IUnknown, UnknownIid>>;

std::wstring EscapeAttributeValue(std::wstring_view value)
{
    std::wstring escaped;
    escaped.reserve(value.size() + 16);
    AppendXmlEscaped(escaped, value, true);
    return escaped;
}

// The whole text, NUL characters included; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    if (text.size() > INT_MAX / 3)
        _com_issue_error(E_OUTOFMEMORY);
    const int length = static_cast<int>(text.size());
    std::string bytes(static_cast<size_t>(length) * 3, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), static_cast<int>(bytes.size()),
                                         nullptr, nullptr);
    if (size <= 0)
        _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
    bytes.resize(static_cast<size_t>(size));
    return bytes;
}

// Wine's reader ends the whole process on a text that ends inside a processing instruction or
// the XML declaration. A text that ends inside markup (a "<" after its last ">") is cut off at
// that "<": it is malformed from that place on anyway, and is read up to it as before.
std::wstring_view WithoutUnfinishedMarkup(std::wstring_view text)
{
    const size_t lastClose = text.rfind(L'>');
    const size_t open = text.find(L'<', lastClose == std::wstring_view::npos ? 0 : lastClose + 1);
    if (open != std::wstring_view::npos)
        text = text.substr(0, open);
    // It does the same for a declaration with nothing after it.
    const size_t declarationEnd = text.starts_with(L"<?xml") ? text.find(L"?>") : std::wstring_view::npos;
    if (declarationEnd != std::wstring_view::npos && text.find(L'<', declarationEnd) == std::wstring_view::npos)
        return {};
    return text;
}

// Windows' writer escapes attribute values; Wine's writes them as they are. Asked once, of a
// writer of the system's own.
bool SystemWriterEscapesAttributes()
{
    static const bool escapes = [] {
        try
        {
            XmlWriterHolder probe = CreateWriter(true, false, false, false);
            ThrowIfFailed(probe.writer->WriteStartElement(nullptr, L"a", nullptr));
            ThrowIfFailed(probe.writer->WriteAttributeString(nullptr, L"b", nullptr, L"&"));
            ThrowIfFailed(probe.writer->WriteEndElement());
            ThrowIfFailed(probe.writer->Flush());
            const _bstr_t text = StreamToBstr(probe.stream);
            return std::wstring_view(text, text.length()).find(L"&amp;") != std::wstring_view::npos;
        }
        catch (const _com_error&)
        {
            return true;
        }
    }();
    return escapes;
}

// The reader's input, handed out in pieces that end just after a '>' where the piece holds one, and
// never on a ']': Wine's reader takes a "]]>" split between two of its reads for part of the CDATA
// section, which then runs on to the next section's end. Nor does a piece end with the XML
// declaration when more follows: Wine's reader then keeps the declaration in its buffer and ends
// the process when the next piece stops inside a start tag (one with an attribute value longer
// than its buffer).
class MarkupAlignedInput : public UnknownImpl<ISequentialStream>
{
public:
    explicit MarkupAlignedInput(std::string bytes) : bytes_(std::move(bytes))
    {
        if (bytes_.starts_with("<?xml"))
            if (const size_t end = bytes_.find("?>"); end != std::string::npos)
                declarationEnd_ = end + 1;
    }

    STDMETHODIMP Read(void* buffer, ULONG size, ULONG* read) override
    {
        const size_t available = bytes_.size() - position_;
        size_t count = std::min<size_t>(size, available);
        if (count < available)
        {
            const size_t tagEnd = bytes_.rfind('>', position_ + count - 1);
            if (tagEnd != std::string::npos && tagEnd >= position_ && tagEnd != declarationEnd_)
                count = tagEnd + 1 - position_;
            else
                while (count > 1 && bytes_[position_ + count - 1] == ']')
                    --count;
        }
        if (count > 0)
            std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        if (read)
            *read = static_cast<ULONG>(count);
        return count > 0 ? S_OK : S_FALSE;
    }

    STDMETHODIMP Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }

private:
    std::string bytes_;
    size_t position_ = 0;
    size_t declarationEnd_ = std::string::npos;
};

using SequentialStreamPtr = _com_ptr_t<_com_IIID_getter<ISequentialStream, SequentialStreamIid>>;

void WriteElementTo(IXmlWriter* writer, const ChildElement& element, bool contentOnly, bool indent)
{
    if (!contentOnly)
    {
        element.WriteStartElement(writer);
        element.WriteAttributes(writer);
    }
    element.WriteChildren(writer, indent);
    if (!contentOnly)
        ThrowIfFailed(writer->WriteEndElement());
}
} // namespace

XmlWriterHolder CreateWriter(bool utf16, bool writeDeclaration, bool asDocument, bool indent)
{
    XmlWriterHolder holder;
    ThrowIfFailed(CreateXmlWriter(IID_IXmlWriter, reinterpret_cast<void**>(&holder.writer), nullptr));
    holder.stream = CreateMemoryStream();
    UnknownPtr output;
    ThrowIfFailed(CreateXmlWriterOutputWithEncodingName(holder.stream, nullptr, utf16 ? L"utf-16" : L"utf-8", &output));
    ThrowIfFailed(holder.writer->SetOutput(output));
    ThrowIfFailed(holder.writer->SetProperty(XmlWriterProperty_Indent, indent));
    ThrowIfFailed(holder.writer->SetProperty(XmlWriterProperty_ByteOrderMark, FALSE));
    // Wine's writer knows no conformance levels; it writes what it is given either way.
    const HRESULT conformance = holder.writer->SetProperty(
        XmlWriterProperty_ConformanceLevel, asDocument ? XmlConformanceLevel_Document : XmlConformanceLevel_Fragment);
    if (FAILED(conformance) && conformance != E_NOTIMPL)
        _com_issue_error(conformance);
    if (writeDeclaration)
        ThrowIfFailed(holder.writer->WriteStartDocument(XmlStandalone_Omit));
    return holder;
}

IXmlReaderPtr CreateReader(std::wstring_view text)
{
    IXmlReaderPtr reader;
    ThrowIfFailed(CreateXmlReader(IID_IXmlReader, reinterpret_cast<void**>(&reader), nullptr));
    // The reader is given the text as UTF-8, the encoding named authoritative whatever the text's
    // declaration says: Wine's reader loses its place in UTF-16 input longer than its first buffer.
    // Text that ends inside markup is cut there first, since Wine's reader aborts the process on it.
    const SequentialStreamPtr stream(new MarkupAlignedInput(ToUtf8(WithoutUnfinishedMarkup(text))), false);
    UnknownPtr input;
    ThrowIfFailed(CreateXmlReaderInputWithEncodingName(stream, nullptr, L"utf-8", FALSE, nullptr, &input));
    ThrowIfFailed(reader->SetInput(input));
    ThrowIfFailed(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit));
    return reader;
}

_bstr_t WriteElement(const ChildElement& element, IXmlWriter* writer, bool contentOnly, bool endDocument, bool indent)
{
    if (writer)
    {
        WriteElementTo(writer, element, contentOnly, indent);
        return {};
    }
    // Content alone is a fragment: no declaration, and no document to end.
    const bool document = endDocument && !contentOnly;
    XmlWriterHolder own = CreateWriter(true, document, !contentOnly, indent);
    WriteElementTo(own.writer, element, contentOnly, indent);
    if (document)
        ThrowIfFailed(own.writer->WriteEndDocument());
    ThrowIfFailed(own.writer->Flush());
    return StreamToBstr(own.stream);
}

std::string WriteUtf8Document(const ChildElement& root)
{
    XmlWriterHolder holder = CreateWriter(false, true, true, true);
    WriteElementTo(holder.writer, root, false, true);
    ThrowIfFailed(holder.writer->WriteEndDocument());
    ThrowIfFailed(holder.writer->Flush());
    return StreamToBytes(holder.stream);
}

void ParseElement(ChildElement& element, std::wstring_view text, const ElementEndCallback& onElementEnd)
{
    Xml::NodeReader reader(CreateReader(text));
    const ElementLink none;
    element.Read(ReadContext{&reader, &onElementEnd, &none, &none, true});
}

void ParseElement(ChildElement& element, const wchar_t* text, const ElementEndCallback& onElementEnd)
{
    ParseElement(element, std::wstring_view(text ? text : L""), onElementEnd);
}

void ParseElement(ChildElement& element, const _bstr_t& text, const ElementEndCallback& onElementEnd)
{
    const wchar_t* characters = text;
    ParseElement(element, std::wstring_view(characters ? characters : L"", text.length()), onElementEnd);
}

namespace
{
// Wine's reader closes the elements still open at the end of a cut-off text by itself: the root's
// end tag must really be there.
bool EndsWithEndTagOf(std::wstring_view text, std::wstring_view root)
{
    const size_t lastEndTag = text.rfind(L"</");
    if (lastEndTag == std::wstring_view::npos)
        return false;
    std::wstring_view name = text.substr(lastEndTag + 2);
    name = name.substr(0, name.find_first_of(L" \t\r\n>"));
    if (const size_t colon = name.find(L':'); colon != std::wstring_view::npos)
        name = name.substr(colon + 1);
    return name == root;
}
} // namespace

DocumentOutline SurveyDocument(std::wstring_view text)
{
    Xml::NodeReader reader(CreateReader(text));
    DocumentOutline outline;
    int depth = 0;
    bool rootClosed = false;
    bool rootEmpty = false;
    bool secondRoot = false;
    XmlNodeType type = XmlNodeType_None;
    while (reader.Next(type))
    {
        if (type == XmlNodeType_Element)
        {
            if (rootClosed)
            {
                secondRoot = true;
                break;
            }
            if (depth == 0)
            {
                outline.rootName = reader.LocalName();
                const wchar_t* uri = nullptr;
                UINT length = 0;
                ThrowIfFailed(reader.Get()->GetNamespaceUri(&uri, &length));
                outline.rootNamespace.assign(uri ? uri : L"", length);
            }
            if (reader.IsEmptyElement())
                rootEmpty = rootClosed = depth == 0;
            else
                ++depth;
        }
        else if (type == XmlNodeType_EndElement)
        {
            if (--depth == 0)
                rootClosed = true;
        }
    }
    UINT line = 0;
    UINT position = 0;
    reader.Get()->GetLineNumber(&line);
    reader.Get()->GetLinePosition(&position);
    outline.line = line;
    outline.position = position;
    outline.whole = !secondRoot && !reader.Broken() && rootClosed && depth == 0 &&
                    (rootEmpty || EndsWithEndTagOf(text, outline.rootName));
    return outline;
}

bool IsWholeDocument(std::wstring_view text) { return SurveyDocument(text).whole; }

// The one escaper of the XML we write ourselves: the markup characters always, and in an attribute
// value also the white space characters that a reader would otherwise turn into spaces.
void AppendXmlEscaped(std::wstring& escaped, std::wstring_view text, bool attributeValue)
{
    for (wchar_t c : text)
    {
        switch (c)
        {
        case L'&': escaped += L"&amp;"; break;
        case L'<': escaped += L"&lt;"; break;
        case L'>': escaped += L"&gt;"; break;
        case L'"': escaped += L"&quot;"; break;
        case L'\t': escaped += attributeValue ? L"&#9;" : L"\t"; break;
        case L'\n': escaped += attributeValue ? L"&#10;" : L"\n"; break;
        case L'\r': escaped += attributeValue ? L"&#13;" : L"\r"; break;
        default: escaped += c; break;
        }
    }
}

std::wstring XmlEscape(std::wstring text)
{
    if (text.find_first_of(L"<>\"&") == std::wstring::npos)
        return text;
    std::wstring escaped;
    escaped.reserve(text.size() + 5);
    AppendXmlEscaped(escaped, text, false);
    return escaped;
}

namespace
{
bool IsXmlCharacter(wchar_t c)
{
    return c == L'\t' || c == L'\n' || c == L'\r' || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD);
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The writer refuses characters that XML cannot hold (control characters, lone surrogates, U+FFFE
// and U+FFFF) and would fail the whole document for one of them: they are left out. Nothing when
// the text has none, so that the common case copies nothing.
std::optional<std::wstring> WithoutNonXmlCharacters(std::wstring_view text)
{
    const auto allowedAt = [&](size_t i) {
        const wchar_t c = text[i];
        if (c >= 0x20 && c < 0xD800)
            return true;
        if (IsHighSurrogate(c))
            return i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
        if (IsLowSurrogate(c))
            return i > 0 && IsHighSurrogate(text[i - 1]);
        return IsXmlCharacter(c);
    };
    size_t i = 0;
    while (i < text.size() && allowedAt(i))
        ++i;
    if (i == text.size())
        return std::nullopt;
    std::wstring cleaned(text.substr(0, i));
    for (; i < text.size(); ++i)
        if (allowedAt(i))
            cleaned += text[i];
    return cleaned;
}

// What an attribute value needs before the writer takes it. Attributes are most of what a document
// writes, and nearly all their values (numbers, dates, GUIDs, names) need nothing: one pass over
// the characters finds that, rather than one pass per question.
struct ValueNeeds
{
    bool cleaning = false; // characters XML cannot hold
    bool escaping = false; // markup, and white space that a reader would turn into spaces
};

ValueNeeds InspectAttributeValue(const wchar_t* value)
{
    ValueNeeds needs;
    for (const wchar_t* c = value; *c; ++c)
    {
        // Everything above '>' and below the surrogates is plain.
        if (*c > L'>' && *c < 0xD800)
            continue;
        switch (*c)
        {
        case L'&':
        case L'<':
        case L'>':
        case L'"':
        case L'\t':
        case L'\n':
        case L'\r': needs.escaping = true; continue;
        default: break;
        }
        if (IsHighSurrogate(*c) && IsLowSurrogate(c[1]))
            ++c;
        else if (*c < 0x20 || *c >= 0xFFFE || IsHighSurrogate(*c) || IsLowSurrogate(*c))
            needs.cleaning = true;
    }
    return needs;
}
} // namespace

void WriteTextContent(IXmlWriter* writer, const std::wstring& original, bool raw, bool cdata)
{
    const std::optional<std::wstring> cleaned = WithoutNonXmlCharacters(original);
    const std::wstring& text = cleaned ? *cleaned : original;
    if (raw)
    {
        if (!text.empty())
            ThrowIfFailed(writer->WriteRaw(text.c_str()));
        return;
    }
    if (cdata)
    {
        // "]]>" cannot stand inside a section: it ends one section after "]]" and starts the next.
        constexpr std::wstring_view end = L"]]>";
        size_t start = 0;
        for (size_t found = text.find(end); found != std::wstring::npos; found = text.find(end, start))
        {
            ThrowIfFailed(writer->WriteCData(text.substr(start, found + 2 - start).c_str()));
            start = found + 2;
        }
        ThrowIfFailed(writer->WriteCData(start == 0 ? text.c_str() : text.substr(start).c_str()));
        return;
    }
    if (!text.empty())
        ThrowIfFailed(writer->WriteString(text.c_str()));
}

namespace Xml
{
void WriteStartElement(IXmlWriter* writer, const ElementName& name)
{
    ThrowIfFailed(writer->WriteStartElement(name.prefix, name.localName.data(), name.namespaceUri));
}

void WriteAttributeValue(IXmlWriter* writer, std::wstring_view localName, const wchar_t* value)
{
    // Attribute values come from outside too (a page name, a file path): a character XML cannot
    // hold is left out as in text content, rather than failing the whole document.
    const ValueNeeds needs = InspectAttributeValue(value);
    std::optional<std::wstring> cleaned;
    if (needs.cleaning && (cleaned = WithoutNonXmlCharacters(value)))
        value = cleaned->c_str();
    if (needs.escaping && !SystemWriterEscapesAttributes())
    {
        ThrowIfFailed(writer->WriteAttributeString(nullptr, localName.data(), nullptr, EscapeAttributeValue(value).c_str()));
        return;
    }
    ThrowIfFailed(writer->WriteAttributeString(nullptr, localName.data(), nullptr, value));
}

void WriteChild(IXmlWriter* writer, const ChildElement& child) { WriteElementTo(writer, child, false, true); }
} // namespace Xml
