#include "tests/tools/TreeMutator.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

using XmlTree::Attribute;
using XmlTree::Node;

namespace
{
// Mutated documents stay below this many characters, so that a run's memory does not depend on
// its luck.
constexpr size_t LargestText = 400000;

struct EdgeValue
{
    const wchar_t* text;
    bool raw;
};

// Values that converters, writers and readers have to survive. Raw ones are written as they are:
// references to characters XML cannot hold make the document malformed at that place.
const std::vector<EdgeValue>& EdgeValues()
{
    static const std::vector<EdgeValue> values = {
        {L"", false},
        {L" ", false},
        {L"\t\n\r", false},
        {L"0", false},
        {L"-1", false},
        {L"4294967295", false},
        {L"4294967296", false},
        {L"-2147483649", false},
        {L"99999999999999999999999999999999999999", false},
        {L"1e308", false},
        {L"1e400", false},
        {L"-1e400", false},
        {L"1e-400", false},
        {L"3.4028236e38", false},
        {L"NaN", false},
        {L"nan(123)", false},
        {L"INF", false},
        {L"-Infinity", false},
        {L"0x1p4", false},
        {L"1,5", false},
        {L" 12.5pt", false},
        {L"true", false},
        {L"True", false},
        {L"TRUE", false},
        {L"{00000000-0000-0000-0000-000000000000}", false},
        {L"{ZZZZZZZZ-ZZZZ-ZZZZ-ZZZZ-ZZZZZZZZZZZZ}", false},
        {L"{6F0D3C2A-8B41-4E57-9A1C-2D7E5B90C13", false},
        {L"6F0D3C2A-8B41-4E57-9A1C-2D7E5B90C134", false},
        {L"{6f0d3c2a-8b41-4e57-9a1c-2d7e5b90c134}", false},
        {L"{}", false},
        {L"2026-13-45T25:61:61.000Z", false},
        {L"9999-99-99T99:99:99.999Z", false},
        {L"65535-65535-65535T65535:65535:65535", false},
        {L"0000-00-00T00:00:00", false},
        {L"2026-12-08T16:02:47.123456+14:00", false},
        {L"0001-01-01T00:00:00.000-14:00", false},
        {L"2026-12-08", false},
        {L"yesterday", false},
        {L"#", false},
        {L"#GGGGGG", false},
        {L"#12345678", false},
        {L"#FFF", false},
        {L"#ffffff", false},
        {L"Transparent", false},
        {L"DARKSEAGREEN", false},
        {L"notacolour", false},
        {L"automatic", false},
        {L"none", false},
        {L"<>&\"'", false},
        {L"]]>", false},
        {L"\xD83D\xDE00 \x00E9\x4E2D", false},
        {L"&#1;", true},
        {L"a&#x0;b", true},
        {L"&#xFFFE;", true},
        {L"&#xD800;", true},
        {L"&#x1F;&#x7F;", true},
        {L"&#xE9;&#x1F600;", true},
        {L"&#9;&#10;&#13;", true},
        {L"&lt;![CDATA[&amp;]]&gt;", true},
    };
    return values;
}

std::wstring LongText(size_t length, wchar_t seed)
{
    std::wstring text;
    text.reserve(length);
    for (size_t i = 0; i < length; ++i)
        text += static_cast<wchar_t>(L'a' + (seed + i) % 26);
    return text;
}

bool IsAncestor(const Node& ancestor, const Node* node)
{
    for (const Node& child : ancestor.children)
        if (&child == node || IsAncestor(child, node))
            return true;
    return false;
}

size_t TextSize(const Node& node)
{
    size_t size = node.name.size() + node.text.size() + 8;
    for (const Attribute& attribute : node.attributes)
        size += attribute.name.size() + attribute.value.size() + 4;
    for (const Node& child : node.children)
        size += TextSize(child);
    return size;
}

void InsertChild(Node& parent, size_t at, Node child)
{
    parent.children.insert(parent.children.begin() + static_cast<std::ptrdiff_t>(at), std::move(child));
}

void RemoveChild(Node& parent, size_t at)
{
    parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(at));
}

Node Shallow(const Node& node)
{
    Node copy;
    copy.name = node.name;
    copy.attributes = node.attributes;
    return copy;
}
} // namespace

TreeMutator::TreeMutator(std::mt19937& random, std::vector<Node> donors) : random_(random), donors_(std::move(donors))
{
}

int TreeMutator::Below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }

std::vector<TreeMutator::Place> TreeMutator::Places(Node& root)
{
    std::vector<Place> places;
    std::vector<Node*> open{&root};
    while (!open.empty())
    {
        Node* node = open.back();
        open.pop_back();
        for (size_t i = 0; i < node->children.size(); ++i)
            if (node->children[i].IsElement())
            {
                places.push_back({node, i});
                open.push_back(&node->children[i]);
            }
    }
    return places;
}

size_t TreeMutator::AnyPosition(const Node& parent)
{
    return static_cast<size_t>(Below(static_cast<int>(parent.children.size()) + 1));
}

std::optional<TreeMutator::Place> TreeMutator::PickPlace(Node& root)
{
    const std::vector<Place> places = Places(root);
    if (places.empty())
        return std::nullopt;
    return Pick(places);
}

std::vector<Node*> TreeMutator::Elements(Node& root)
{
    std::vector<Node*> elements{&root};
    for (const Place& place : Places(root))
        elements.push_back(&place.parent->children[place.index]);
    return elements;
}

void TreeMutator::InsertAnywhere(Node& root, Node node)
{
    Node* target = Pick(Elements(root));
    const size_t at = AnyPosition(*target);
    InsertChild(*target, at, std::move(node));
}

Node TreeMutator::Donated()
{
    Node& donor = donors_[static_cast<size_t>(Below(static_cast<int>(donors_.size())))];
    const std::vector<Place> places = Places(donor);
    if (places.empty())
        return Shallow(donor);
    const Place& place = Pick(places);
    return place.parent->children[place.index];
}

void TreeMutator::Move(Node& root)
{
    const std::optional<Place> place = PickPlace(root);
    if (!place)
        return;
    Node moved = std::move(place->parent->children[place->index]);
    RemoveChild(*place->parent, place->index);
    InsertAnywhere(root, std::move(moved));
}

void TreeMutator::Duplicate(Node& root)
{
    const std::optional<Place> place = PickPlace(root);
    if (!place)
        return;
    Node copy = place->parent->children[place->index];
    if (Below(2) == 0)
        InsertChild(*place->parent, place->index, std::move(copy));
    else
        InsertAnywhere(root, std::move(copy));
}

void TreeMutator::Drop(Node& root)
{
    const std::optional<Place> place = PickPlace(root);
    if (!place)
        return;
    RemoveChild(*place->parent, place->index);
}

void TreeMutator::Swap(Node& root)
{
    const std::vector<Node*> elements = Elements(root);
    Node* a = Pick(elements);
    Node* b = Pick(elements);
    if (a == b || a == &root || b == &root || IsAncestor(*a, b) || IsAncestor(*b, a))
        return;
    std::swap(*a, *b);
}

void TreeMutator::Plant(Node& root) { InsertAnywhere(root, Donated()); }

// A known name in a place where another element stood, or a name that differs only in case.
void TreeMutator::Rename(Node& root)
{
    const std::optional<Place> place = PickPlace(root);
    if (!place)
        return;
    Node& node = place->parent->children[place->index];
    if (Below(4) == 0)
        std::transform(node.name.begin(), node.name.end(), node.name.begin(), towlower);
    else
        node.name = Donated().name;
}

void TreeMutator::InsertUnknownElement(Node& root)
{
    static const std::vector<std::wstring> names = {L"one:Unknown", L"Unknown", L"one:OutlineX", L"one:oe",
                                                    L"one:Ink", L"one:Bullets"};
    Node unknown;
    if (Below(4) == 0)
    {
        unknown.name = L"x:Extension";
        unknown.attributes.push_back({L"xmlns:x", L"urn:example:extension", false});
    }
    else
    {
        unknown.name = Pick(names);
    }
    if (Below(2) == 0)
        unknown.attributes.push_back({L"name", L"not a known element", false});
    switch (Below(4))
    {
    case 0: break;
    case 1: unknown.children.push_back({Node::Kind::Text, {}, {}, {}, L"text of an unknown element", false}); break;
    default:
        // Known elements inside an unknown one must not be taken for content of the element around it.
        unknown.children.push_back(Donated());
        if (Below(2) == 0)
            unknown.children.push_back(Donated());
        break;
    }
    InsertAnywhere(root, std::move(unknown));
}

void TreeMutator::InsertUnknownAttribute(Node& root)
{
    Node* element = Pick(Elements(root));
    switch (Below(3))
    {
    case 0: element->attributes.push_back({L"unknownAttribute", L"1", false}); break;
    case 1:
        element->attributes.push_back({L"xmlns:z", L"urn:example:z", false});
        element->attributes.push_back({L"z:name", L"an attribute of another namespace", false});
        break;
    default: {
        // A known attribute name with a foreign prefix: readers compare local names only.
        if (element->attributes.empty())
            return;
        const std::wstring name = Pick(element->attributes).name;
        if (name.starts_with(L"xmlns") || name.find(L':') != std::wstring::npos)
            return;
        element->attributes.push_back({L"xmlns:q", L"urn:example:q", false});
        element->attributes.push_back({L"q:" + name, L"42", false});
        break;
    }
    }
}

void TreeMutator::DropAttribute(Node& root)
{
    Node* element = Pick(Elements(root));
    if (element->attributes.empty())
        return;
    const size_t at = static_cast<size_t>(Below(static_cast<int>(element->attributes.size())));
    if (element->attributes[at].name.starts_with(L"xmlns"))
        return;
    element->attributes.erase(element->attributes.begin() + static_cast<std::ptrdiff_t>(at));
}

void TreeMutator::SetEdgeValue(Node& root)
{
    Node* element = Pick(Elements(root));
    if (element->attributes.empty())
        return;
    Attribute& attribute = element->attributes[static_cast<size_t>(Below(static_cast<int>(element->attributes.size())))];
    if (attribute.name.starts_with(L"xmlns"))
    {
        // The 2010 namespace is read as well; any other leaves no element OneNote's.
        attribute.value = Below(2) == 0 ? L"http://schemas.microsoft.com/office/onenote/2010/onenote" : L"urn:other";
        return;
    }
    if (Below(10) == 0)
    {
        attribute.value = LongText(static_cast<size_t>(1000 + Below(100000)), static_cast<wchar_t>(Below(26)));
        attribute.raw = false;
        return;
    }
    const EdgeValue& value = Pick(EdgeValues());
    attribute.value = value.text;
    attribute.raw = value.raw;
}

// A known attribute of one element on another, where it may mean nothing or something else.
void TreeMutator::CopyAttribute(Node& root)
{
    const std::vector<Node*> elements = Elements(root);
    Node* from = Pick(elements);
    Node* to = Pick(elements);
    if (from->attributes.empty())
        return;
    const Attribute& attribute = Pick(from->attributes);
    if (attribute.name.starts_with(L"xmlns"))
        return;
    const auto same = std::find_if(to->attributes.begin(), to->attributes.end(),
                                   [&](const Attribute& existing) { return existing.name == attribute.name; });
    if (same != to->attributes.end())
        same->value = attribute.value;
    else
        to->attributes.push_back(attribute);
}

void TreeMutator::SetEdgeText(Node& root)
{
    Node* element = Pick(Elements(root));
    Node text;
    text.kind = Below(2) == 0 ? Node::Kind::Text : Node::Kind::CData;
    if (Below(6) == 0)
    {
        text.text = LongText(static_cast<size_t>(1000 + Below(200000)), static_cast<wchar_t>(Below(26)));
    }
    else
    {
        const EdgeValue& value = Pick(EdgeValues());
        text.text = value.text;
        text.raw = value.raw;
        if (text.raw)
            text.kind = Node::Kind::Text;
    }
    // Either in place of the element's content or beside its children.
    if (Below(2) == 0)
    {
        element->children.clear();
        element->children.push_back(std::move(text));
    }
    else
    {
        const size_t at = AnyPosition(*element);
        InsertChild(*element, at, std::move(text));
    }
}

// The element wrapped again and again in copies of its parent and of itself, as OE and
// OEChildren nest; sometimes deeper than a reader allows.
void TreeMutator::NestDeeply(Node& root)
{
    const std::optional<Place> place = PickPlace(root);
    if (!place)
        return;
    Node& element = place->parent->children[place->index];
    static const int depths[] = {8, 40, 100, 120, 300};
    const int depth = depths[Below(static_cast<int>(std::size(depths)))];
    const Node self = Shallow(element);
    const Node parent = Shallow(*place->parent);
    Node chain = std::move(element);
    for (int level = 0; level < depth; ++level)
    {
        Node wrapper = level % 2 == 0 ? parent : self;
        wrapper.children.push_back(std::move(chain));
        chain = std::move(wrapper);
    }
    element = std::move(chain);
}

void TreeMutator::InsertComment(Node& root)
{
    Node* element = Pick(Elements(root));
    const size_t at = AnyPosition(*element);
    InsertChild(*element, at, {Node::Kind::Comment, {}, {}, {}, L" a comment <one:OE> ", false});
}

Node TreeMutator::Mutate(Node root)
{
    const int rounds = 1 + Below(4);
    for (int round = 0; round < rounds; ++round)
    {
        Node before = root;
        switch (Below(14))
        {
        case 0: Move(root); break;
        case 1: Duplicate(root); break;
        case 2: Drop(root); break;
        case 3: Swap(root); break;
        case 4: Plant(root); break;
        case 5: Rename(root); break;
        case 6: InsertUnknownElement(root); break;
        case 7: InsertUnknownAttribute(root); break;
        case 8: DropAttribute(root); break;
        case 9: SetEdgeValue(root); break;
        case 10: CopyAttribute(root); break;
        case 11: SetEdgeText(root); break;
        case 12: NestDeeply(root); break;
        default: InsertComment(root); break;
        }
        if (TextSize(root) > LargestText)
            root = std::move(before);
    }
    return root;
}
