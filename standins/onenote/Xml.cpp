// The stand-in's XML tree: parsing with MSXML (checked against a namespace and schema), writing
// as OneNote writes, and reading UTF-8 files.
#include "standins/onenote/Xml.h"

#include "framework/files/Files.h"
#include "framework/xml/XmlDocument.h"
#include "framework/text/Text.h"

#include <comdef.h>
#include <msxml2.h>

namespace StandIn
{
namespace
{
// mingw has msxml2.h but no msxml6.h and no symbols for these: the values are MSXML 6's.
constexpr CLSID CLSID_DOMDocument60_ = {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
constexpr CLSID CLSID_XMLSchemaCache60_ = {0x88D96A07, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
constexpr IID IID_IXMLDOMDocument2_ = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
constexpr IID IID_IXMLDOMSchemaCollection_ = {0x373984C8, 0xB845, 0x449B, {0x91, 0xE7, 0x45, 0xAC, 0x83, 0x03, 0x6A, 0xDE}};

template <typename T>
class Ref
{
public:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    ~Ref() { reset(); }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put()
    {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    explicit operator bool() const { return p_ != nullptr; }
    void reset()
    {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

std::wstring Take(BSTR text)
{
    std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return result;
}

struct Converter
{
    std::wstring expectedNamespace;
    bool wrongNamespace = false;
    std::wstring reason;

    XNodePtr Convert(IXMLDOMNode* node)
    {
        auto element = std::make_shared<XNode>();
        BSTR text = nullptr;
        node->get_baseName(&text);
        element->name = Take(text);
        text = nullptr;
        node->get_namespaceURI(&text);
        const std::wstring ns = Take(text);
        if (!expectedNamespace.empty() && ns != expectedNamespace && !wrongNamespace)
        {
            wrongNamespace = true;
            reason = L"element " + element->name + L" is in namespace \"" + ns + L"\"";
        }

        Ref<IXMLDOMNamedNodeMap> attributes;
        if (SUCCEEDED(node->get_attributes(attributes.put())) && attributes)
        {
            long count = 0;
            attributes->get_length(&count);
            for (long i = 0; i < count; ++i)
            {
                Ref<IXMLDOMNode> attribute;
                if (FAILED(attributes->get_item(i, attribute.put())) || !attribute)
                    continue;
                text = nullptr;
                attribute->get_nodeName(&text);
                const std::wstring name = Take(text);
                if (name == L"xmlns" || name.rfind(L"xmlns:", 0) == 0)
                    continue;
                text = nullptr;
                attribute->get_text(&text);
                element->attributes.emplace_back(name, Take(text));
            }
        }

        Ref<IXMLDOMNodeList> children;
        if (SUCCEEDED(node->get_childNodes(children.put())) && children)
        {
            long count = 0;
            children->get_length(&count);
            for (long i = 0; i < count; ++i)
            {
                Ref<IXMLDOMNode> child;
                if (FAILED(children->get_item(i, child.put())) || !child)
                    continue;
                DOMNodeType type = NODE_INVALID;
                child->get_nodeType(&type);
                if (type == NODE_ELEMENT)
                {
                    element->children.push_back(Convert(child.get()));
                }
                else if (type == NODE_TEXT || type == NODE_CDATA_SECTION)
                {
                    text = nullptr;
                    child->get_text(&text);
                    element->children.push_back(MakeText(Take(text), type == NODE_CDATA_SECTION));
                }
            }
        }
        // Whitespace between elements is layout, not content.
        bool hasElements = false;
        for (const auto& child : element->children)
            hasElements = hasElements || child->IsElement();
        if (hasElements)
        {
            std::erase_if(element->children, [](const XNodePtr& child) {
                return !child->IsElement() && !child->cdata &&
                       child->text.find_first_not_of(L" \t\r\n") == std::wstring::npos;
            });
        }
        return element;
    }
};

// OneNote keeps a carriage return in a text; a reader would turn a literal one into a line feed.
void AppendText(std::wstring& out, std::wstring_view text)
{
    size_t start = 0;
    for (size_t cr; (cr = text.find(L'\r', start)) != std::wstring_view::npos; start = cr + 1)
    {
        AppendXmlEscaped(out, text.substr(start, cr - start), false);
        out += L"&#13;";
    }
    AppendXmlEscaped(out, text.substr(start), false);
}

// spill, when given, takes what is written so far as UTF-8 after each whole element once it has grown,
// so that a large tree is never held as UTF-16 text whole.
void Write(std::wstring& out, const XNode& node, const std::wstring* ns, bool indent, int depth,
           std::string* spill = nullptr)
{
    const std::wstring pad = indent ? std::wstring(static_cast<size_t>(depth) * 2, L' ') : std::wstring();
    out += pad + L"<one:" + node.name;
    if (ns)
        out += L" xmlns:one=\"" + *ns + L"\"";
    for (const auto& [name, value] : node.attributes)
    {
        out += L" " + name + L"=\"";
        AppendXmlEscaped(out, value, true);
        out += L"\"";
    }
    if (node.children.empty())
    {
        out += L"/>";
        if (indent)
            out += L"\n";
        return;
    }
    out += L">";
    bool elementsOnly = true;
    for (const auto& child : node.children)
        elementsOnly = elementsOnly && child->IsElement();
    if (elementsOnly && indent)
        out += L"\n";
    for (const auto& child : node.children)
    {
        if (child->IsElement())
        {
            Write(out, *child, nullptr, indent && elementsOnly, depth + 1, spill);
            if (spill && out.size() > 65536)
            {
                *spill += WideToUtf8(out);
                out.clear();
            }
        }
        else if (child->cdata)
        {
            // "]]>" cannot stand inside one CDATA section: split it over two.
            std::wstring text = child->text;
            size_t at = 0;
            while ((at = text.find(L"]]>", at)) != std::wstring::npos)
            {
                text.replace(at, 3, L"]]]]><![CDATA[>");
                at += 15;
            }
            out += L"<![CDATA[" + text + L"]]>";
        }
        else
        {
            AppendText(out, child->text);
        }
    }
    if (elementsOnly && indent)
        out += pad;
    out += L"</one:" + node.name + L">";
    if (indent)
        out += L"\n";
}
} // namespace

const std::wstring* XNode::Attribute(const std::wstring& attributeName) const
{
    for (const auto& [name, value] : attributes)
        if (name == attributeName)
            return &value;
    return nullptr;
}

std::wstring XNode::AttributeOr(const std::wstring& attributeName, const std::wstring& fallback) const
{
    const std::wstring* value = Attribute(attributeName);
    return value ? *value : fallback;
}

void XNode::SetAttribute(const std::wstring& attributeName, const std::wstring& value)
{
    for (auto& [name, existing] : attributes)
        if (name == attributeName)
        {
            existing = value;
            return;
        }
    attributes.emplace_back(attributeName, value);
}

void XNode::RemoveAttribute(const std::wstring& attributeName)
{
    std::erase_if(attributes, [&](const auto& attribute) { return attribute.first == attributeName; });
}

std::vector<XNodePtr> XNode::Elements(const std::wstring& elementName) const
{
    std::vector<XNodePtr> result;
    for (const auto& child : children)
        if (child->name == elementName)
            result.push_back(child);
    return result;
}

XNodePtr XNode::FirstElement(const std::wstring& elementName) const
{
    for (const auto& child : children)
        if (child->name == elementName)
            return child;
    return nullptr;
}

std::wstring XNode::InnerText() const
{
    if (!IsElement())
        return text;
    std::wstring result;
    for (const auto& child : children)
        result += child->InnerText();
    return result;
}

XNodePtr XNode::Clone(bool deep) const
{
    auto copy = std::make_shared<XNode>();
    copy->name = name;
    copy->text = text;
    copy->cdata = cdata;
    copy->attributes = attributes;
    if (deep)
        for (const auto& child : children)
            copy->children.push_back(child->Clone(true));
    return copy;
}

XNodePtr MakeElement(const std::wstring& name)
{
    auto node = std::make_shared<XNode>();
    node->name = name;
    return node;
}

XNodePtr MakeText(const std::wstring& text, bool cdata)
{
    auto node = std::make_shared<XNode>();
    node->text = text;
    node->cdata = cdata;
    return node;
}

ParseResult ParseXml(const std::wstring& text, const std::wstring& expectedNamespace, const std::wstring& schemaFile)
{
    ParseResult result;
    Ref<IXMLDOMDocument2> document;
    HRESULT hr = CoCreateInstance(CLSID_DOMDocument60_, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument2_,
                                  document.putVoid());
    if (FAILED(hr))
    {
        result.status = ParseStatus::NotWellFormed;
        result.reason = L"MSXML 6 is not available";
        return result;
    }
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_TRUE);

    // The text is already decoded: an encoding named in its declaration (XmlLite writes
    // "UTF-16" or "UTF-8") must not make the parser decode it again.
    std::wstring body = text;
    if (!body.empty() && body.front() == 0xFEFF)
        body.erase(0, 1);
    if (body.rfind(L"<?xml", 0) == 0)
    {
        const size_t end = body.find(L"?>");
        if (end != std::wstring::npos)
            body.erase(0, end + 2);
    }
    BSTR source = SysAllocStringLen(body.data(), static_cast<UINT>(body.size()));
    VARIANT_BOOL loaded = VARIANT_FALSE;
    hr = document->loadXML(source, &loaded);
    SysFreeString(source);
    Ref<IXMLDOMElement> root;
    if (FAILED(hr) || loaded != VARIANT_TRUE || FAILED(document->get_documentElement(root.put())) || !root)
    {
        result.status = ParseStatus::NotWellFormed;
        Ref<IXMLDOMParseError> error;
        if (SUCCEEDED(document->get_parseError(error.put())) && error)
        {
            BSTR reason = nullptr;
            error->get_reason(&reason);
            result.reason = Take(reason);
        }
        return result;
    }

    Converter converter;
    converter.expectedNamespace = expectedNamespace;
    result.root = converter.Convert(root.get());
    if (converter.wrongNamespace)
    {
        result.status = ParseStatus::WrongNamespace;
        result.reason = converter.reason;
        return result;
    }

    if (schemaFile.empty())
        return result;
    // A check that cannot be made is told, never passed over: a caller relying on it must know.
    const auto notValidated = [&](HRESULT hr, const std::wstring& why) {
        result.notValidatedResult = hr;
        result.notValidated = why;
        return result;
    };
    if (GetFileAttributesW(schemaFile.c_str()) == INVALID_FILE_ATTRIBUTES)
        return notValidated(HRESULT_FROM_WIN32(GetLastError()), schemaFile + L" cannot be found");
    Ref<IXMLDOMSchemaCollection> schemas;
    hr = CoCreateInstance(CLSID_XMLSchemaCache60_, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMSchemaCollection_,
                          schemas.putVoid());
    if (FAILED(hr))
        return notValidated(hr, L"MSXML 6's schema cache is not available");
    VARIANT location;
    VariantInit(&location);
    location.vt = VT_BSTR;
    location.bstrVal = SysAllocString(schemaFile.c_str());
    BSTR ns = SysAllocString(expectedNamespace.c_str());
    hr = schemas->add(ns, location);
    SysFreeString(ns);
    VariantClear(&location);
    if (FAILED(hr))
        return notValidated(hr, L"MSXML 6 could not load " + schemaFile + L" as a schema");
    VARIANT collection;
    VariantInit(&collection);
    collection.vt = VT_DISPATCH;
    collection.pdispVal = schemas.get();
    hr = document->putref_schemas(collection);
    if (FAILED(hr))
        return notValidated(hr, L"MSXML 6 did not take the schema " + schemaFile);
    Ref<IXMLDOMParseError> error;
    if (document->validate(error.put()) != S_OK)
    {
        result.status = ParseStatus::Invalid;
        if (error)
        {
            BSTR reason = nullptr;
            error->get_reason(&reason);
            result.reason = Take(reason);
        }
    }
    return result;
}

std::wstring WriteXml(const XNode& root, const std::wstring& ns, bool indent)
{
    std::wstring out = L"<?xml version=\"1.0\"?>\n";
    Write(out, root, &ns, indent, 0);
    return out;
}

void WriteXmlUtf8(const XNode& root, const std::wstring& ns, std::string& out, bool indent)
{
    std::wstring text = L"<?xml version=\"1.0\"?>\n";
    Write(text, root, &ns, indent, 0, &out);
    out += WideToUtf8(text);
}

std::wstring ReadUtf8File(const std::wstring& path) { return Utf8ToWide(ReadFileBytes(path.c_str())); }
} // namespace StandIn
