// Operations on page content: new pages, reading content with binary data handed out by callback
// ID, merging updates (with the placement OneNote gives objects that arrive without one) and
// deleting page objects.
#include "standins/onenote/HtmlParagraphs.h"
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreTree.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace StandIn
{
using namespace StoreTree;

namespace
{
bool IsObjectElement(const std::wstring& name)
{
    return name == L"Outline" || name == L"OE" || name == L"Image" || name == L"InkDrawing" ||
           name == L"InsertedFile" || name == L"MediaFile" || name == L"Table" || name == L"Row" ||
           name == L"Cell";
}

void AssignObjectIds(XNode& node)
{
    if (IsObjectElement(node.name) && !node.Attribute(L"objectID"))
        node.SetAttribute(L"objectID", NewObjectId());
    for (const auto& child : node.children)
        if (child->IsElement())
            AssignObjectIds(*child);
}

// Binary data goes out as a CallbackID naming the object (piBasic), as OneNote hands it out.
void HideBinary(XNode& node)
{
    for (auto& child : node.children)
    {
        if (!child->IsElement())
            continue;
        if (child->name == L"Data" && (node.name == L"Image" || node.name == L"InkDrawing") && node.Attribute(L"objectID"))
        {
            auto callback = MakeElement(L"CallbackID");
            callback->SetAttribute(L"callbackID", node.AttributeOr(L"objectID"));
            child = callback;
        }
        else
        {
            HideBinary(*child);
        }
    }
}

// A CallbackID that comes back stands for the data it was handed out for.
void RestoreBinary(XNode& node, const XNode& page)
{
    for (auto& child : node.children)
    {
        if (!child->IsElement())
            continue;
        if (child->name == L"CallbackID")
        {
            const auto source = FindObject(page, child->AttributeOr(L"callbackID"));
            if (source)
                if (auto data = source->FirstElement(L"Data"))
                    child = data->Clone(true);
        }
        else
        {
            RestoreBinary(*child, page);
        }
    }
}

int PageChildRank(const std::wstring& name)
{
    // Most of a page is its objects: they are told apart first.
    if (IsPageObject(name))
        return 8;
    static const std::map<std::wstring, int> ranks{{L"TagDef", 0},        {L"QuickStyleDef", 1}, {L"XPSFile", 2},
                                                   {L"Meta", 3},          {L"MediaPlaylist", 4}, {L"MeetingInfo", 5},
                                                   {L"PageSettings", 6},  {L"Title", 7}};
    const auto found = ranks.find(name);
    return found == ranks.end() ? 8 : found->second;
}

std::wstring FormatNumber(double value)
{
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%.1f", value);
    return buffer;
}

// Points a line of body text takes: its height, and the width of an average character.
constexpr double LineHeight = 15;
constexpr double CharacterWidth = 6;
constexpr double DefaultOutlineWidth = 400;

// The lines a paragraph fills when wrapped at width.
int WrappedLines(const std::wstring& text, double width)
{
    const double perLine = std::max(1.0, std::floor(width / CharacterWidth));
    return std::max(1, static_cast<int>(std::ceil(static_cast<double>(text.size()) / perLine)));
}

// The lines of text an outline shows: each paragraph's text, wrapped.
int CountLines(const XNode& node, double width)
{
    int count = 0;
    if (node.name == L"OE")
    {
        std::wstring text;
        for (const auto& child : node.children)
            if (child->IsElement() && child->name == L"T")
                text += PlainTextOfMarkup(child->InnerText());
        count = WrappedLines(text, width);
    }
    for (const auto& child : node.children)
        if (child->IsElement())
            count += CountLines(*child, width);
    return count;
}

double BottomOfContent(const XNode& page)
{
    double bottom = 0;
    for (const auto& child : page.children)
    {
        if (!IsPageObject(child->name))
            continue;
        const auto position = child->FirstElement(L"Position");
        const auto size = child->FirstElement(L"Size");
        if (position && size)
            bottom = std::max(bottom, Number(position->AttributeOr(L"y"), 0) + Number(size->AttributeOr(L"height"), 0));
    }
    return bottom;
}

// OneNote lays out what arrives without a place: below the page's content, with a size it measures.
void PlaceObject(const XNode& page, XNode& object)
{
    if (!object.FirstElement(L"Position"))
    {
        auto position = MakeElement(L"Position");
        const double bottom = BottomOfContent(page);
        position->SetAttribute(L"x", L"36.0");
        position->SetAttribute(L"y", FormatNumber(std::max(86.0, bottom + 10)));
        position->SetAttribute(L"z", L"0");
        object.children.insert(object.children.begin(), position);
    }
    auto size = object.FirstElement(L"Size");
    if (!size)
    {
        size = MakeElement(L"Size");
        size->SetAttribute(L"width", FormatNumber(object.name == L"Outline" ? DefaultOutlineWidth : 200.0));
        size->SetAttribute(L"height", L"100.0");
        auto at = object.children.begin();
        while (at != object.children.end() && (*at)->name == L"Position")
            ++at;
        object.children.insert(at, size);
    }
    // An outline is as high as its text, wrapped at its width, whatever height it arrived with.
    if (object.name == L"Outline")
    {
        const double width = Number(size->AttributeOr(L"width"), DefaultOutlineWidth);
        size->SetAttribute(L"height", FormatNumber(LineHeight * std::max(1, CountLines(object, width))));
    }
}

// What OneNote keeps itself: a program that sends these back with a page changes nothing.
bool IsSetByOneNoteOnly(const std::wstring& attribute)
{
    return attribute == L"ID" || attribute == L"lastModifiedTime" || attribute == L"isCurrentlyViewed" ||
           attribute == L"isUnread" || attribute == L"isInRecycleBin";
}

double ToDate(const std::wstring& xmlTime)
{
    SYSTEMTIME utc{};
    if (swscanf(xmlTime.c_str(), L"%hu-%hu-%huT%hu:%hu:%hu", &utc.wYear, &utc.wMonth, &utc.wDay, &utc.wHour,
                &utc.wMinute, &utc.wSecond) < 6)
        return 0;
    double date = 0;
    SystemTimeToVariantTime(&utc, &date);
    return date;
}
} // namespace

HRESULT Store::CreateNewPage(const std::wstring& sectionId, LONG style, std::wstring& pageId)
{
    if (style < 0 || style > 2)
        return E_INVALIDARG;
    return Run([&](XNode&, bool& changed) -> HRESULT {
        Found found;
        if (!FindById(root_, sectionId, found) || found.node->name != L"Section")
            return OneNoteError::SectionDoesNotExist;
        if (found.node->AttributeOr(L"readOnly") == L"true")
            return static_cast<HRESULT>(0x8004200B);
        const std::wstring now = XmlTimeNow();
        auto page = MakeElement(L"Page");
        pageId = NewPageId();
        page->SetAttribute(L"ID", pageId);
        page->SetAttribute(L"name", L"");
        page->SetAttribute(L"dateTime", now);
        page->SetAttribute(L"lastModifiedTime", now);
        page->SetAttribute(L"pageLevel", L"1");
        page->SetAttribute(L"lang", L"en-US");
        auto titleStyle = MakeElement(L"QuickStyleDef");
        for (const auto& [name, value] : std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>{
                 {L"index", L"0"}, {L"name", L"PageTitle"}, {L"fontColor", L"automatic"},
                 {L"highlightColor", L"automatic"}, {L"font", L"Calibri Light"}, {L"fontSize", L"20.0"},
                 {L"spaceBefore", L"0.0"}, {L"spaceAfter", L"0.0"}})
            titleStyle->SetAttribute(name, value);
        auto bodyStyle = MakeElement(L"QuickStyleDef");
        for (const auto& [name, value] : std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>{
                 {L"index", L"1"}, {L"name", L"p"}, {L"fontColor", L"automatic"}, {L"highlightColor", L"automatic"},
                 {L"font", L"Calibri"}, {L"fontSize", L"11.0"}, {L"spaceBefore", L"0.0"}, {L"spaceAfter", L"0.0"}})
            bodyStyle->SetAttribute(name, value);
        page->children.push_back(titleStyle);
        page->children.push_back(bodyStyle);
        auto settings = MakeElement(L"PageSettings");
        settings->SetAttribute(L"RTL", L"false");
        settings->SetAttribute(L"color", L"automatic");
        auto pageSize = MakeElement(L"PageSize");
        pageSize->children.push_back(MakeElement(L"Automatic"));
        settings->children.push_back(pageSize);
        auto ruleLines = MakeElement(L"RuleLines");
        ruleLines->SetAttribute(L"visible", L"false");
        settings->children.push_back(ruleLines);
        page->children.push_back(settings);
        if (style != 2)
        {
            auto title = MakeElement(L"Title");
            title->SetAttribute(L"lang", L"en-US");
            auto oe = MakeElement(L"OE");
            oe->SetAttribute(L"author", L"Stand-in User");
            oe->SetAttribute(L"authorInitials", L"SU");
            oe->SetAttribute(L"lastModifiedBy", L"Stand-in User");
            oe->SetAttribute(L"lastModifiedByInitials", L"SU");
            oe->SetAttribute(L"creationTime", now);
            oe->SetAttribute(L"lastModifiedTime", now);
            oe->SetAttribute(L"objectID", NewObjectId());
            oe->SetAttribute(L"alignment", L"left");
            oe->SetAttribute(L"quickStyleIndex", L"0");
            auto t = MakeElement(L"T");
            t->children.push_back(MakeText(L"", true));
            oe->children.push_back(t);
            title->children.push_back(oe);
            page->children.push_back(title);
        }
        found.node->children.push_back(page);
        found.node->SetAttribute(L"lastModifiedTime", now);
        changed = true;
        return S_OK;
    });
}

HRESULT Store::GetPageContent(const std::wstring& pageId, LONG info, LONG schema, std::wstring& xml)
{
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    return Inspect([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (!FindById(root_, pageId, found) || found.node->name != L"Page")
            return OneNoteError::PageDoesNotExist;
        if ((info & 1) == 0)
        {
            auto copy = found.node->Clone(true);
            HideBinary(*copy);
            xml = WriteForSchema(*copy, schema);
        }
        else
        {
            xml = WriteForSchema(*found.node, schema);
        }
        return S_OK;
    });
}

HRESULT Store::GetBinaryPageContent(const std::wstring& pageId, const std::wstring& callbackId, std::wstring& base64)
{
    return Inspect([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (!FindById(root_, pageId, found) || found.node->name != L"Page")
            return OneNoteError::PageDoesNotExist;
        const auto object = FindObject(*found.node, callbackId);
        const auto data = object ? object->FirstElement(L"Data") : nullptr;
        if (!data)
            return static_cast<HRESULT>(0x8004200F);
        base64 = data->InnerText();
        return S_OK;
    });
}

HRESULT Store::UpdatePageContent(const std::wstring& xml, DATE expected, LONG schema, bool force)
{
    XNodePtr input;
    if (const HRESULT hr = ParseReceived(xml, schema, input); FAILED(hr))
        return hr;
    if (input->name != L"Page" || !input->Attribute(L"ID"))
        return OneNoteError::InvalidXml;

    return Run([&](XNode&, bool& changed) -> HRESULT {
        Found found;
        if (!FindById(root_, input->AttributeOr(L"ID"), found) || found.node->name != L"Page")
            return OneNoteError::PageDoesNotExist;
        XNode& page = *found.node;
        if (expected != 0 && !force)
        {
            const double stored = ToDate(page.AttributeOr(L"lastModifiedTime"));
            if (std::abs(stored - expected) > 1.0 / 86400)
                return OneNoteError::LastModifiedDateDoesNotMatch;
        }
        // Objects named by objectID must exist before anything changes.
        for (const auto& child : input->children)
            if (IsPageObject(child->name))
                if (const std::wstring* objectId = child->Attribute(L"objectID"))
                {
                    bool exists = false;
                    for (const auto& existing : page.children)
                        exists = exists || SameId(existing->AttributeOr(L"objectID"), *objectId);
                    if (!exists)
                        return OneNoteError::PageObjectDoesNotExist;
                }

        if (const HRESULT hr = ExpandHtmlBlocks(*input, page); FAILED(hr))
            return hr;
        if (const HRESULT hr = TakeInFiles(*input, folder_ + L"\\cache"); FAILED(hr))
            return hr;
        RestoreBinary(*input, page);
        for (const auto& [name, value] : input->attributes)
            if (!IsSetByOneNoteOnly(name))
                page.SetAttribute(name, value);

        for (const auto& child : input->children)
        {
            if (!child->IsElement())
                continue;
            if (child->name == L"QuickStyleDef" || child->name == L"TagDef")
            {
                // Definitions are matched by their index.
                const std::wstring index = child->AttributeOr(L"index");
                auto existing = std::find_if(page.children.begin(), page.children.end(), [&](const XNodePtr& node) {
                    return node->name == child->name && node->AttributeOr(L"index") == index;
                });
                if (existing != page.children.end())
                    *existing = child;
                else
                    page.children.push_back(child);
            }
            else if (child->name == L"Meta")
            {
                const std::wstring name = child->AttributeOr(L"name");
                auto existing = std::find_if(page.children.begin(), page.children.end(), [&](const XNodePtr& node) {
                    return node->name == L"Meta" && node->AttributeOr(L"name") == name;
                });
                if (existing != page.children.end())
                    *existing = child;
                else
                    page.children.push_back(child);
            }
            else if (!IsPageObject(child->name))
            {
                // Title, page settings and the other single children are replaced as a whole.
                AssignObjectIds(*child);
                auto existing = std::find_if(page.children.begin(), page.children.end(),
                                             [&](const XNodePtr& node) { return node->name == child->name; });
                if (existing != page.children.end() && child->name != L"XPSFile")
                    *existing = child;
                else
                    page.children.push_back(child);
                if (child->name == L"Title")
                    page.SetAttribute(L"name", TitleText(*child));
            }
            else if (const std::wstring* objectId = child->Attribute(L"objectID"))
            {
                AssignObjectIds(*child);
                for (auto& existing : page.children)
                    if (SameId(existing->AttributeOr(L"objectID"), *objectId))
                    {
                        // A replacement without a place keeps the place of what it replaces.
                        for (const wchar_t* kept : {L"Size", L"Position"})
                            if (!child->FirstElement(kept))
                                if (auto old = existing->FirstElement(kept))
                                    child->children.insert(child->children.begin(), old);
                        PlaceObject(page, *child);
                        existing = child;
                    }
            }
            else
            {
                AssignObjectIds(*child);
                PlaceObject(page, *child);
                page.children.push_back(child);
            }
        }
        const auto ranksBefore = [](const XNodePtr& a, const XNodePtr& b) {
            return PageChildRank(a->name) < PageChildRank(b->name);
        };
        if (!std::is_sorted(page.children.begin(), page.children.end(), ranksBefore))
            std::stable_sort(page.children.begin(), page.children.end(), ranksBefore);
        const std::wstring now = XmlTimeNow();
        page.SetAttribute(L"lastModifiedTime", now);
        found.ancestors.back()->SetAttribute(L"lastModifiedTime", now);
        changed = true;
        return S_OK;
    });
}

HRESULT Store::DeletePageContent(const std::wstring& pageId, const std::wstring& objectId)
{
    return Run([&](XNode&, bool& changed) -> HRESULT {
        Found found;
        if (!FindById(root_, pageId, found) || found.node->name != L"Page")
            return OneNoteError::PageDoesNotExist;
        std::function<bool(XNode&)> erase = [&](XNode& node) {
            for (auto it = node.children.begin(); it != node.children.end(); ++it)
            {
                if (SameId((*it)->AttributeOr(L"objectID"), objectId))
                {
                    node.children.erase(it);
                    return true;
                }
                if ((*it)->IsElement() && erase(**it))
                {
                    // A block whose last paragraph went is no block any more.
                    if ((*it)->name == L"OEChildren" && !(*it)->FirstElement(L"OE") && !(*it)->FirstElement(L"HTMLBlock"))
                        node.children.erase(it);
                    return true;
                }
            }
            return false;
        };
        // A page's children are replaced, never changed inside: the one holding the object is
        // replaced by a copy without it.
        auto& children = found.node->children;
        auto holder = std::find_if(children.begin(), children.end(), [&](const XNodePtr& child) {
            return SameId(child->AttributeOr(L"objectID"), objectId) || (child->IsElement() && FindObject(*child, objectId));
        });
        if (holder == children.end())
            return OneNoteError::PageObjectDoesNotExist;
        if (SameId((*holder)->AttributeOr(L"objectID"), objectId))
        {
            children.erase(holder);
        }
        else
        {
            auto copy = (*holder)->Clone(true);
            erase(*copy);
            *holder = copy;
        }
        found.node->SetAttribute(L"lastModifiedTime", XmlTimeNow());
        changed = true;
        return S_OK;
    });
}
} // namespace StandIn
