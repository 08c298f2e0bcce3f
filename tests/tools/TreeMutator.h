#pragma once
// Mutations of a document's element tree that keep it well-formed: elements moved, duplicated,
// dropped and swapped across levels; elements of this and of other documents put in unknown or
// wrong places; unknown elements and attributes inserted; attributes dropped or given edge values
// (empty, huge numbers, NaN and infinities, bad GUIDs, dates and colours, characters XML cannot
// hold written as references, very long texts); elements nested deeply.

#include "tests/tools/XmlTree.h"

#include <optional>
#include <random>
#include <vector>

class TreeMutator
{
public:
    // donors: documents whose elements may be planted anywhere in the mutated ones.
    TreeMutator(std::mt19937& random, std::vector<XmlTree::Node> donors);

    XmlTree::Node Mutate(XmlTree::Node root);

private:
    struct Place
    {
        XmlTree::Node* parent;
        size_t index;
    };

    int Below(int n);
    template <typename T>
    const T& Pick(const std::vector<T>& items)
    {
        return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
    }

    // Every element below the root, where it stands.
    std::vector<Place> Places(XmlTree::Node& root);
    std::optional<Place> PickPlace(XmlTree::Node& root);
    // A place among the parent's children, before the first up to after the last.
    size_t AnyPosition(const XmlTree::Node& parent);
    std::vector<XmlTree::Node*> Elements(XmlTree::Node& root);
    void InsertAnywhere(XmlTree::Node& root, XmlTree::Node node);
    XmlTree::Node Donated();

    void Move(XmlTree::Node& root);
    void Duplicate(XmlTree::Node& root);
    void Drop(XmlTree::Node& root);
    void Swap(XmlTree::Node& root);
    void Plant(XmlTree::Node& root);
    void Rename(XmlTree::Node& root);
    void InsertUnknownElement(XmlTree::Node& root);
    void InsertUnknownAttribute(XmlTree::Node& root);
    void DropAttribute(XmlTree::Node& root);
    void SetEdgeValue(XmlTree::Node& root);
    void CopyAttribute(XmlTree::Node& root);
    void SetEdgeText(XmlTree::Node& root);
    void NestDeeply(XmlTree::Node& root);
    void InsertComment(XmlTree::Node& root);

    std::mt19937& random_;
    std::vector<XmlTree::Node> donors_;
};
