#pragma once
// The parts every XML element object is made of: the four operations through which it is written
// and read, the links to its parents that a reader fills in, and the list that holds repeated
// children. Element classes are written with XmlElement<X> (XmlElement.h), which supplies all of
// this from the class's table.

#include <xmllite.h>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

// An element's name as written: its local name (a literal, so that it ends in a zero), and the
// prefix and namespace of its start tag, or none.
struct ElementName
{
    std::wstring_view localName;
    const wchar_t* prefix = nullptr;
    const wchar_t* namespaceUri = nullptr;
};

class ElementNode;

// Names an element that is being or has been read: its node (whose own links lead further up)
// and its element name, which tells which class the node belongs to.
struct ElementLink
{
    const ElementNode* node = nullptr;
    const wchar_t* name = nullptr;

    // The linked element as its class X, which the caller knows from the name.
    template <typename X>
    X& As() const;
};

// Called once for each element when its reading ends (end tag or empty element tag). It may throw
// to abandon the whole reading.
using ElementEndCallback = std::function<void(const ElementLink&)>;

namespace Xml
{
class NodeReader;
}

// What an element's Read is handed: the reader standing on the element's start tag, the callback,
// and the two links the element keeps.
struct ReadContext
{
    Xml::NodeReader* reader = nullptr;
    const ElementEndCallback* onElementEnd = nullptr;
    const ElementLink* parentLink = nullptr;
    // The nearest enclosing element: the parent itself, except inside a choice holder, where the
    // parent link names the holder.
    const ElementLink* secondLink = nullptr;
    // The reader stands before the document: the element finds its root element first.
    bool atDocumentStart = false;
};

// The base of every element class. An element is always owned through the shared pointer of its
// concrete class, never deleted through this base.
class ChildElement
{
public:
    virtual void WriteAttributes(IXmlWriter* writer) const = 0;
    // indent is the flag of the WriteElement call that writes this element.
    virtual void WriteChildren(IXmlWriter* writer, bool indent) const = 0;
    virtual void WriteStartElement(IXmlWriter* writer) const = 0;
    virtual bool Read(const ReadContext& context) = 0;

protected:
    ChildElement() = default;
    ChildElement(const ChildElement&) = default;
    ChildElement& operator=(const ChildElement&) = default;
    ~ChildElement() = default;
};

// The base of every abstract class T_<Type> of a named schema type: its elements say themselves
// how their text is written.
class SchemaType : public ChildElement
{
public:
    // The text is written as a CDATA section (it was read from one).
    virtual bool IsCData() const = 0;
    // The text is already XML and is written unchanged.
    virtual bool IsRaw() const = 0;

protected:
    ~SchemaType() = default;
};

// What a reader records in each element and choice holder. The links are plain pointers into the
// parents, valid while the parents live (during reading and its callbacks).
class ElementNode
{
public:
    ElementLink parentLink;
    ElementLink secondLink;
    // Set when the element's reader starts; never cleared, so that a single child is taken once.
    bool read = false;
    // A CDATA section was among the element's own content.
    bool cdata = false;
    // The element's text is already XML and is written unchanged; only code sets it.
    bool raw = false;
};

template <typename T>
class Collection;

// The per-class part of an element (or choice holder) X.
template <typename X>
class Child : public ElementNode
{
public:
    // The list that holds this element, when it was added to one with Collection<X>::AddNew.
    Collection<X>* parentList = nullptr;
};

// A repeated child: its elements in document order, and whether the run of them is over (another
// member of the parent came after them, so later ones are out of place).
template <typename T>
class Collection : public std::vector<std::shared_ptr<T>>
{
public:
    bool closed = false;

    // Appends a new default element and returns its pointer in the list.
    std::shared_ptr<T>& AddNew()
    {
        std::shared_ptr<T>& added = this->emplace_back(std::make_shared<T>());
        added->parentList = this;
        return added;
    }
};

template <typename X>
X& ElementLink::As() const
{
    return static_cast<X&>(static_cast<Child<X>&>(const_cast<ElementNode&>(*node)));
}
