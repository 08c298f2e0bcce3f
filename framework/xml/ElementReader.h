#pragma once
// The one reader loop of the binding: it fills any element from an XmlLite reader through the
// element's table (attribute setter, child matching, text member).

#include "framework/xml/ChildElement.h"
#include "framework/xml/XmlLitePointers.h"

#include <string>
#include <string_view>

namespace Xml
{
// An XmlLite reader as the binding walks it: failures of name and value calls raise COM errors,
// and the walk ends quietly at the end of the input or at the first malformed place.
class NodeReader
{
public:
    explicit NodeReader(IXmlReaderPtr reader);

    // Moves to the next node; false once the input is over or broken. Wine's reader keeps handing
    // out the last node again at a cut-off document; that is taken for the end too.
    bool Next(XmlNodeType& type);
    // Whether the walk ended at a malformed or cut-off place rather than at the end of the input.
    bool Broken() const { return broken_; }

    // Of the current node; valid until the reader moves.
    std::wstring_view LocalName() const;
    std::wstring_view Value() const;
    bool IsEmptyElement() const;

    // Hands each attribute of the current element to take(localName, value), then stands on the
    // element again.
    template <typename Take>
    void ForEachAttribute(Take&& take);

    // Passes over the current element with everything inside it.
    void SkipElement();

    IXmlReader* Get() const { return reader_; }

private:
    void Check(HRESULT hr) const;

    IXmlReaderPtr reader_;
    bool ended_ = false;
    bool broken_ = false;
    XmlNodeType lastType_ = XmlNodeType_None;
    UINT lastLine_ = 0;
    UINT lastPosition_ = 0;
};

// How the reader loop reaches one element object; made by XmlElement<X> from X's table.
struct ElementHooks
{
    ElementNode& node;
    const wchar_t* name;
    void* element;
    // False for a name the class does not have.
    bool (*setAttribute)(void* element, std::wstring_view localName, std::wstring_view value);
    // Reads the child element the reader stands on when the class takes it there; false otherwise.
    bool (*takeChild)(void* element, std::wstring_view localName, const ReadContext& childContext);
    // The member that keeps the element's text; null when the class keeps none.
    std::wstring* text;
};

// Reads the element the context's reader stands on (or, at the start of a document, its root
// element) into the element described by hooks.
void ReadElement(const ElementHooks& hooks, const ReadContext& context);

template <typename Take>
void NodeReader::ForEachAttribute(Take&& take)
{
    HRESULT hr = reader_->MoveToFirstAttribute();
    Check(hr);
    while (hr == S_OK)
    {
        take(LocalName(), Value());
        hr = reader_->MoveToNextAttribute();
    }
    reader_->MoveToElement();
}
} // namespace Xml
