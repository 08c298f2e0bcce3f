#include "framework/xml/ElementReader.h"

#include "framework/com/ComError.h"

#include <utility>

namespace Xml
{
NodeReader::NodeReader(IXmlReaderPtr reader) : reader_(std::move(reader))
{
    if (!reader_)
        _com_issue_error(E_POINTER);
}

void NodeReader::Check(HRESULT hr) const { ThrowIfFailed(hr); }

bool NodeReader::Next(XmlNodeType& type)
{
    if (ended_)
        return false;
    const HRESULT hr = reader_->Read(&type);
    if (hr != S_OK)
    {
        ended_ = true;
        broken_ = hr != S_FALSE;
        return false;
    }
    // Two nodes in a row never start at the same place of a document.
    UINT line = 0;
    UINT position = 0;
    reader_->GetLineNumber(&line);
    reader_->GetLinePosition(&position);
    if (type == lastType_ && line == lastLine_ && position == lastPosition_)
    {
        ended_ = true;
        broken_ = true;
        return false;
    }
    lastType_ = type;
    lastLine_ = line;
    lastPosition_ = position;
    return true;
}

std::wstring_view NodeReader::LocalName() const
{
    const wchar_t* name = nullptr;
    UINT length = 0;
    Check(reader_->GetLocalName(&name, &length));
    return {name, length};
}

std::wstring_view NodeReader::Value() const
{
    const wchar_t* value = nullptr;
    UINT length = 0;
    Check(reader_->GetValue(&value, &length));
    return {value, length};
}

bool NodeReader::IsEmptyElement() const { return reader_->IsEmptyElement() != FALSE; }

void NodeReader::SkipElement()
{
    if (IsEmptyElement())
        return;
    XmlNodeType type;
    for (int depth = 1; depth > 0 && Next(type);)
    {
        if (type == XmlNodeType_Element && !IsEmptyElement())
            ++depth;
        else if (type == XmlNodeType_EndElement)
            --depth;
    }
}

namespace
{
// Gathers an element's text from its text and CDATA nodes. Indentation that a writer puts around
// a CDATA section is not part of the text; white space that is all the text is. Most texts are a
// single node: the text without blank nodes is kept apart only once a blank node has come.
class TextContent
{
public:
    explicit TextContent(std::wstring* target) : target_(target) {}

    void Add(XmlNodeType type, const NodeReader& reader)
    {
        if (!target_)
            return;
        const std::wstring_view value = reader.Value();
        const bool blank = type == XmlNodeType_Whitespace;
        if (blank && !sawBlankNode_)
        {
            withoutBlankNodes_ = everything_;
            sawBlankNode_ = true;
        }
        seen_ = true;
        everything_ += value;
        if (sawBlankNode_ && !blank)
            withoutBlankNodes_ += value;
        if (type == XmlNodeType_CDATA)
            sawCData_ = true;
    }

    void Finish()
    {
        if (target_ && seen_)
            *target_ = sawCData_ && sawBlankNode_ ? std::move(withoutBlankNodes_) : std::move(everything_);
    }

private:
    std::wstring* target_;
    std::wstring everything_;
    std::wstring withoutBlankNodes_;
    bool seen_ = false;
    bool sawBlankNode_ = false;
    bool sawCData_ = false;
};

void NotifyEnd(const ReadContext& context, const ElementLink& element)
{
    if (context.onElementEnd && *context.onElementEnd)
        (*context.onElementEnd)(element);
}

// An element the class does not take (unknown, or out of its place) is passed over whole, so that
// nothing inside it is mistaken for content of the element around it.
void ReadChild(const ElementHooks& hooks, NodeReader& reader, const ReadContext& childContext)
{
    if (!hooks.takeChild(hooks.element, reader.LocalName(), childContext))
        reader.SkipElement();
}

// The document's first element is its root: read as the object itself when it bears the object's
// name, else as a child the object takes by that name. Whatever follows the root is not read.
void ReadRoot(const ElementHooks& hooks, const ReadContext& context, const ReadContext& childContext)
{
    NodeReader& reader = *context.reader;
    XmlNodeType type;
    while (reader.Next(type))
    {
        if (type != XmlNodeType_Element)
            continue;
        if (reader.LocalName() == hooks.name)
        {
            ReadContext rootContext = context;
            rootContext.atDocumentStart = false;
            ReadElement(hooks, rootContext);
        }
        else
        {
            ReadChild(hooks, reader, childContext);
        }
        return;
    }
}
} // namespace

void ReadElement(const ElementHooks& hooks, const ReadContext& context)
{
    NodeReader& reader = *context.reader;
    const ElementLink self{&hooks.node, hooks.name};
    const ReadContext childContext{&reader, context.onElementEnd, &self, &self, false};
    if (context.atDocumentStart)
    {
        ReadRoot(hooks, context, childContext);
        return;
    }

    hooks.node.parentLink = *context.parentLink;
    hooks.node.secondLink = *context.secondLink;
    hooks.node.read = true;

    reader.ForEachAttribute([&](std::wstring_view name, std::wstring_view value) {
        hooks.setAttribute(hooks.element, name, value);
    });
    if (reader.IsEmptyElement())
    {
        NotifyEnd(context, self);
        return;
    }

    TextContent text(hooks.text);
    XmlNodeType type;
    while (reader.Next(type))
    {
        switch (type)
        {
        case XmlNodeType_Element:
            ReadChild(hooks, reader, childContext);
            break;
        case XmlNodeType_CDATA:
            hooks.node.cdata = true;
            text.Add(type, reader);
            break;
        case XmlNodeType_Text:
        case XmlNodeType_Whitespace:
            text.Add(type, reader);
            break;
        case XmlNodeType_EndElement:
            text.Finish();
            NotifyEnd(context, self);
            return;
        default:
            break;
        }
    }
    // A document cut off inside the element keeps what was read of it.
    text.Finish();
}
} // namespace Xml
