#pragma once
// What the store's operations share inside the stand-in: finding objects in the store's tree,
// copying hierarchy objects for answers, and reading the text of pages. Not part of the store's
// face (Store.h).

#include "standins/onenote/Xml.h"

#include <functional>
#include <string>
#include <vector>

namespace StandIn::StoreTree
{
// IDs compare without regard to case, as OneNote compares them.
bool SameId(const std::wstring& a, const std::wstring& b);
// Notebook, SectionGroup, Section, Page and the unfiled and open sections elements.
bool IsHierarchyElement(const std::wstring& name);
// Outline, Image, InkDrawing, InsertedFile, MediaFile and FutureObject: the objects placed on a page.
bool IsPageObject(const std::wstring& name);

struct Found
{
    XNodePtr node;
    std::vector<XNodePtr> ancestors; // from the root down to the parent
};

// The first hierarchy object below node (depth first, not into pages) that matches; path holds the
// ancestors of node from the root.
bool FindHierarchy(const XNodePtr& node, const std::function<bool(const XNode&)>& match, Found& found,
                   std::vector<XNodePtr>& path);
bool FindById(const XNodePtr& root, const std::wstring& id, Found& found);
// The element below node whose objectID is objectId, or null.
XNodePtr FindObject(const XNode& node, const std::wstring& objectId);

// A hierarchy object without its children; a page keeps only the attributes GetHierarchy shows.
XNodePtr HierarchyCopy(const XNode& node);

// The lines of text below node: one per OE, HTML tags and entities removed.
void CollectLines(const XNode& node, std::vector<std::wstring>& lines);
// The plain text of a Title element.
std::wstring TitleText(const XNode& title);

// Turns each HTMLBlock below received (its Data, or the file its File names) into the paragraphs
// it shows, in its place, as OneNote converts HTML it is sent; the heading and body styles they use
// are added to received as QuickStyleDefs unless page or received already define them. Fails
// with FileDoesNotExist, changing nothing, when a named file cannot be read.
HRESULT ExpandHtmlBlocks(XNode& received, const XNode& page);

// Reads every picture and attached file that received names by path, as OneNote does when it
// stores a page: a picture's bytes take the place of its File, an attached file gets a copy in
// cacheFolder as its pathCache. Fails with FileDoesNotExist, changing nothing, when a named file
// cannot be read (gone, or locked by another program).
HRESULT TakeInFiles(XNode& received, const std::wstring& cacheFolder);

// The bytes of a file, read whole, as Base64; false when it cannot be read (gone, locked by
// another program, or too large).
bool ReadFileAsBase64(const std::wstring& path, std::wstring& base64);

// Parses XML a call received in the schema it names: InvalidSchema, NotWellFormed or InvalidXml
// (wrong namespace or invalid against the schema) when it cannot be used.
HRESULT ParseReceived(const std::wstring& xml, LONG schema, XNodePtr& root);

// A number attribute's value, or fallback when it is empty or not a number.
double Number(const std::wstring& text, double fallback);
std::wstring Lower(std::wstring text);
} // namespace StandIn::StoreTree
