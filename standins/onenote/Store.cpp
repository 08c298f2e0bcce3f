#include "standins/onenote/Store.h"

#include "standins/onenote/DemoStore.h"
#include "standins/onenote/Scenario.h"

#include "framework/text/Text.h"

#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <cwctype>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace StandIn
{
namespace
{
bool SameId(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && _wcsicmp(a.c_str(), b.c_str()) == 0;
}

bool IsHierarchyElement(const std::wstring& name)
{
    return name == L"Notebook" || name == L"SectionGroup" || name == L"Section" || name == L"Page" ||
           name == L"UnfiledNotes" || name == L"OpenSections";
}

int Rank(const std::wstring& name)
{
    if (name == L"Notebooks")
        return 0;
    if (name == L"Notebook" || name == L"UnfiledNotes" || name == L"OpenSections")
        return 1;
    if (name == L"SectionGroup")
        return 2;
    if (name == L"Section")
        return 3;
    return 4;
}

struct Found
{
    XNodePtr node;
    std::vector<XNodePtr> ancestors; // from the root down to the parent
};

bool FindHierarchy(const XNodePtr& node, const std::function<bool(const XNode&)>& match, Found& found,
                   std::vector<XNodePtr>& path)
{
    for (const auto& child : node->children)
    {
        if (!IsHierarchyElement(child->name))
            continue;
        if (match(*child))
        {
            found.node = child;
            found.ancestors = path;
            found.ancestors.push_back(node);
            return true;
        }
        if (child->name != L"Page")
        {
            path.push_back(node);
            const bool inside = FindHierarchy(child, match, found, path);
            path.pop_back();
            if (inside)
                return true;
        }
    }
    return false;
}

bool FindById(const XNodePtr& root, const std::wstring& id, Found& found)
{
    if (id.empty())
        return false;
    std::vector<XNodePtr> path;
    return FindHierarchy(root, [&](const XNode& node) { return SameId(node.AttributeOr(L"ID"), id); }, found,
                         path);
}

// The object whose ID begins with the GUID of a hyperlink.
bool FindByGuid(const XNodePtr& root, const std::wstring& guid, const std::wstring& kind, Found& found)
{
    std::vector<XNodePtr> path;
    return FindHierarchy(root,
                         [&](const XNode& node) {
                             const std::wstring id = node.AttributeOr(L"ID");
                             return node.name == kind && id.size() >= guid.size() &&
                                    _wcsnicmp(id.c_str(), guid.c_str(), guid.size()) == 0;
                         },
                         found, path);
}

bool FindByPath(const XNodePtr& root, const std::wstring& filePath, Found& found)
{
    std::vector<XNodePtr> path;
    std::wstring wanted = filePath;
    while (!wanted.empty() && (wanted.back() == L'\\' || wanted.back() == L'/'))
        wanted.pop_back();
    return FindHierarchy(root,
                         [&](const XNode& node) {
                             const std::wstring* p = node.Attribute(L"path");
                             return p && _wcsicmp(p->c_str(), wanted.c_str()) == 0;
                         },
                         found, path);
}

HRESULT MissingFor(const std::wstring& kind)
{
    if (kind == L"Section")
        return OneNoteError::SectionDoesNotExist;
    if (kind == L"Page")
        return OneNoteError::PageDoesNotExist;
    if (kind == L"SectionGroup")
        return OneNoteError::SectionGroupDoesNotExist;
    if (kind == L"Notebook")
        return OneNoteError::NotebookDoesNotExist;
    return OneNoteError::ObjectDoesNotExist;
}

const std::vector<std::wstring>& PageHierarchyAttributes()
{
    static const std::vector<std::wstring> names{L"ID", L"name", L"dateTime", L"lastModifiedTime", L"pageLevel",
                                                 L"isCurrentlyViewed", L"isInRecycleBin", L"isUnread",
                                                 L"isSubPage", L"isCollapsed"};
    return names;
}

XNodePtr HierarchyCopy(const XNode& node)
{
    auto copy = node.Clone(false);
    if (node.name == L"Page")
    {
        std::erase_if(copy->attributes, [](const auto& attribute) {
            const auto& allowed = PageHierarchyAttributes();
            return std::find(allowed.begin(), allowed.end(), attribute.first) == allowed.end();
        });
    }
    return copy;
}

// The part of the tree below node that a GetHierarchy scope asks for.
XNodePtr CopyForScope(const XNode& node, LONG scope, bool top)
{
    auto copy = HierarchyCopy(node);
    if (node.name == L"Page" || scope == 0)
        return copy;
    const int deepest = scope == 2 ? 1 : scope == 3 ? 3 : 4;
    for (const auto& child : node.children)
    {
        if (!IsHierarchyElement(child->name))
            continue;
        if (scope == 1)
        {
            if (top)
                copy->children.push_back(HierarchyCopy(*child));
        }
        else if (Rank(child->name) <= deepest)
        {
            copy->children.push_back(CopyForScope(*child, scope, false));
        }
    }
    return copy;
}

void ClearCurrent(XNode& node)
{
    node.RemoveAttribute(L"isCurrentlyViewed");
    if (node.name == L"Page")
        return;
    for (const auto& child : node.children)
        if (IsHierarchyElement(child->name))
            ClearCurrent(*child);
}

XNodePtr FirstSection(const XNode& node)
{
    for (const auto& child : node.children)
        if (child->name == L"Section" && child->AttributeOr(L"isDeletedPages") != L"true")
            return child;
    for (const auto& child : node.children)
        if (child->name == L"SectionGroup" && child->AttributeOr(L"isRecycleBin") != L"true")
            if (auto section = FirstSection(*child))
                return section;
    return nullptr;
}

bool ContainsNode(const XNode& parent, const XNodePtr& wanted, std::vector<XNodePtr>& chain)
{
    for (const auto& child : parent.children)
    {
        if (!IsHierarchyElement(child->name))
            continue;
        if (child == wanted)
        {
            chain.push_back(child);
            return true;
        }
        chain.push_back(child);
        if (child->name != L"Page" && ContainsNode(*child, wanted, chain))
            return true;
        chain.pop_back();
    }
    return false;
}

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

XNodePtr FindObject(const XNode& node, const std::wstring& objectId)
{
    for (const auto& child : node.children)
    {
        if (!child->IsElement())
            continue;
        if (SameId(child->AttributeOr(L"objectID"), objectId))
            return child;
        if (auto inside = FindObject(*child, objectId))
            return inside;
    }
    return nullptr;
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

bool IsPageObject(const std::wstring& name)
{
    return name == L"Outline" || name == L"Image" || name == L"InkDrawing" || name == L"InsertedFile" ||
           name == L"MediaFile" || name == L"FutureObject";
}

int PageChildRank(const std::wstring& name)
{
    static const std::map<std::wstring, int> ranks{{L"TagDef", 0},        {L"QuickStyleDef", 1}, {L"XPSFile", 2},
                                                   {L"Meta", 3},          {L"MediaPlaylist", 4}, {L"MeetingInfo", 5},
                                                   {L"PageSettings", 6},  {L"Title", 7}};
    const auto found = ranks.find(name);
    return found == ranks.end() ? 8 : found->second;
}

double Number(const std::wstring& text, double fallback)
{
    if (text.empty())
        return fallback;
    try
    {
        return std::stod(text);
    }
    catch (...)
    {
        return fallback;
    }
}

std::wstring FormatNumber(double value)
{
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%.1f", value);
    return buffer;
}

int CountOEs(const XNode& node)
{
    int count = node.name == L"OE" ? 1 : 0;
    for (const auto& child : node.children)
        if (child->IsElement())
            count += CountOEs(*child);
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
    if (!object.FirstElement(L"Size"))
    {
        auto size = MakeElement(L"Size");
        const int lines = std::max(1, CountOEs(object));
        size->SetAttribute(L"width", object.name == L"Outline" ? L"400.0" : L"200.0");
        size->SetAttribute(L"height", FormatNumber(object.name == L"Outline" ? 15.0 * lines + 5 : 100.0));
        auto at = object.children.begin();
        while (at != object.children.end() && (*at)->name == L"Position")
            ++at;
        object.children.insert(at, size);
    }
}

std::wstring StripHtml(const std::wstring& text)
{
    std::wstring plain;
    bool inTag = false;
    for (wchar_t c : text)
    {
        if (c == L'<')
            inTag = true;
        else if (c == L'>')
            inTag = false;
        else if (!inTag)
            plain += c;
    }
    const std::pair<const wchar_t*, const wchar_t*> entities[] = {
        {L"&nbsp;", L" "}, {L"&lt;", L"<"}, {L"&gt;", L">"}, {L"&quot;", L"\""}, {L"&#39;", L"'"}, {L"&amp;", L"&"}};
    for (const auto& [entity, replacement] : entities)
    {
        size_t at = 0;
        while ((at = plain.find(entity, at)) != std::wstring::npos)
        {
            plain.replace(at, wcslen(entity), replacement);
            at += wcslen(replacement);
        }
    }
    return plain;
}

void CollectLines(const XNode& node, std::vector<std::wstring>& lines)
{
    if (node.name == L"OE")
    {
        std::wstring line;
        for (const auto& child : node.children)
            if (child->name == L"T")
                line += StripHtml(child->InnerText());
        if (!line.empty())
            lines.push_back(line);
        for (const auto& child : node.children)
            if (child->name == L"OEChildren" || child->name == L"Table")
                CollectLines(*child, lines);
        return;
    }
    for (const auto& child : node.children)
        if (child->IsElement())
            CollectLines(*child, lines);
}

// The plain text of a Title element.
std::wstring TitleText(const XNode& title)
{
    std::vector<std::wstring> lines;
    CollectLines(title, lines);
    std::wstring text;
    for (const auto& line : lines)
        text += line;
    return text;
}

std::wstring Lower(std::wstring text)
{
    for (auto& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

bool IsValidName(const std::wstring& name)
{
    if (name.empty() || name.find_first_not_of(L' ') == std::wstring::npos)
        return false;
    return name.find_first_of(L"\\/*?\"|<>:%#&") == std::wstring::npos;
}

std::wstring PercentEncode(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text)
    {
        if (c == L' ')
            out += L"%20";
        else if (c == L'#')
            out += L"%23";
        else if (c == L'&')
            out += L"%26";
        else if (c == L'%')
            out += L"%25";
        else
            out += c;
    }
    return out;
}

std::wstring PercentDecode(const std::wstring& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'%' && i + 2 < text.size() + 0 && iswxdigit(text[i + 1]) && iswxdigit(text[i + 2]))
        {
            bytes += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
        else
        {
            bytes += WideToUtf8(std::wstring(1, text[i]));
        }
    }
    return Utf8ToWide(bytes);
}

std::wstring UrlValue(const std::wstring& url, const std::wstring& key)
{
    const std::wstring lowered = Lower(url);
    const size_t at = lowered.find(key + L"=");
    if (at == std::wstring::npos)
        return {};
    const size_t start = at + key.size() + 1;
    const size_t end = url.find(L'&', start);
    return url.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
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

void Downgrade(XNode& node)
{
    static const std::vector<std::wstring> elements{L"MeetingInfo", L"Printout", L"Previews", L"Preview"};
    static const std::vector<std::wstring> attributes{
        L"meetingContentType", L"meetingContentId", L"meetingTrackModifications", L"meetingIsUserEdited",
        L"hasHeaderRow",       L"shadingColor",     L"explicitExpandCollapseEnabled", L"sourceDocument",
        L"authorResolutionID", L"lastModifiedByResolutionID"};
    std::erase_if(node.children, [](const XNodePtr& child) {
        return std::find(elements.begin(), elements.end(), child->name) != elements.end();
    });
    std::erase_if(node.attributes, [](const auto& attribute) {
        return std::find(attributes.begin(), attributes.end(), attribute.first) != attributes.end();
    });
    if (node.name == L"Position")
    {
        for (auto& [name, value] : node.attributes)
            if ((name == L"x" || name == L"y") && Number(value, 0) < 0)
                value = L"0";
    }
    if (node.name == L"Title")
    {
        bool first = true;
        std::erase_if(node.children, [&](const XNodePtr& child) {
            if (child->name != L"OE")
                return false;
            const bool drop = !first;
            first = false;
            return drop;
        });
    }
    for (const auto& child : node.children)
        if (child->IsElement())
            Downgrade(*child);
}

std::wstring Hex(unsigned value)
{
    wchar_t buffer[16];
    swprintf(buffer, 16, L"%08X", value);
    return buffer;
}
} // namespace

std::wstring Environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

bool SchemaFor(LONG schema, std::wstring& ns, std::wstring& xsdFile)
{
    if (schema != 1 && schema != 2)
        return false;
    ns = schema == 1 ? Namespace2010 : Namespace2013;
    std::wstring folder = Environment(L"QUILLORA_ONENOTE_XSD");
    if (folder.empty())
    {
        const std::wstring shared = Environment(L"QUILLORA_SHARED");
        if (!shared.empty())
            folder = shared + L"\\platform\\xsd";
    }
    xsdFile = folder.empty() ? std::wstring() : folder + (schema == 1 ? L"\\onenote-2010.xsd" : L"\\onenote-2013.xsd");
    return true;
}

std::wstring WriteForSchema(const XNode& root, LONG schema)
{
    if (schema == 1)
    {
        auto copy = root.Clone(true);
        Downgrade(*copy);
        return WriteXml(*copy, Namespace2010);
    }
    return WriteXml(root, Namespace2013);
}

std::wstring XmlTime(const SYSTEMTIME& utc)
{
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%04u-%02u-%02uT%02u:%02u:%02u.000Z", utc.wYear, utc.wMonth, utc.wDay, utc.wHour,
             utc.wMinute, utc.wSecond);
    return buffer;
}

std::wstring XmlTimeNow()
{
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    return XmlTime(utc);
}

namespace
{
std::wstring NewGuid(GUID* out = nullptr)
{
    GUID guid{};
    CoCreateGuid(&guid);
    if (out)
        *out = guid;
    wchar_t buffer[40] = {};
    StringFromGUID2(guid, buffer, 40);
    return buffer;
}
} // namespace

std::wstring NewHierarchyId() { return NewGuid() + L"{1}{B0}"; }

std::wstring NewPageId()
{
    GUID guid{};
    std::wstring id = NewGuid(&guid);
    wchar_t digits[64];
    swprintf(digits, 64, L"{1}{E19%010lu%05u%05u}", static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3);
    return id + digits;
}

std::wstring NewObjectId()
{
    static std::atomic<unsigned> counter{10};
    return NewGuid() + L"{" + std::to_wstring(++counter) + L"}{B0}";
}

Store& Store::Current()
{
    static std::mutex lock;
    static std::map<std::wstring, std::unique_ptr<Store>> stores;
    const std::wstring folder = CurrentFolder();
    std::lock_guard guard(lock);
    auto& store = stores[Lower(folder)];
    if (!store)
        store = std::make_unique<Store>(folder);
    return *store;
}

std::wstring Store::CurrentFolder()
{
    std::wstring folder = Environment(L"QUILLORA_ONENOTE_STORE");
    if (folder.empty())
    {
        folder = Environment(L"USERPROFILE");
        if (folder.empty())
            folder = L"C:\\users\\Public";
        folder += L"\\OneNote Stand-in";
    }
    return folder;
}

Store::Store(std::wstring folder) : folder_(std::move(folder)), file_(folder_ + L"\\store.xml")
{
    std::wstring name = L"Local\\QuilloraOneNoteStandIn-";
    unsigned hash = 2166136261u;
    for (wchar_t c : Lower(folder_))
        hash = (hash ^ static_cast<unsigned>(c)) * 16777619u;
    name += Hex(hash);
    mutex_ = CreateMutexW(nullptr, FALSE, name.c_str());
}

HRESULT Store::Run(const std::function<HRESULT(XNode& root, bool& changed)>& operation)
{
    std::lock_guard guard(threadLock_);
    if (mutex_)
        WaitForSingleObject(mutex_, 30000);
    HRESULT hr = E_FAIL;
    try
    {
        LoadIfChanged();
        bool changed = false;
        hr = operation(*root_, changed);
        if (changed)
            Save();
    }
    catch (...)
    {
        hr = E_UNEXPECTED;
    }
    if (mutex_)
        ReleaseMutex(mutex_);
    return hr;
}

void Store::LoadIfChanged()
{
    CreateDirectoryW(folder_.c_str(), nullptr);
    // A scenario that names a starting store seeds the folder once per scenario file.
    const std::wstring seedKey = Scenario::Current().SeedKey();
    const std::wstring seedFile = folder_ + L"\\seed.txt";
    if (!seedKey.empty() && ReadUtf8File(seedFile) != seedKey)
    {
        root_ = Scenario::Current().SeedStore();
        Save();
        std::ofstream(std::filesystem::path(seedFile), std::ios::binary) << WideToUtf8(seedKey);
        return;
    }

    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &data))
    {
        root_ = BuildDemoStore();
        Save();
        return;
    }
    const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (root_ && CompareFileTime(&data.ftLastWriteTime, &loadedTime_) == 0 && size == loadedSize_)
        return;
    const ParseResult parsed = ParseXml(ReadUtf8File(file_), Namespace2013, {});
    root_ = parsed.root && parsed.root->name == L"Notebooks" ? parsed.root : MakeElement(L"Notebooks");
    loadedTime_ = data.ftLastWriteTime;
    loadedSize_ = size;
}

void Store::Save()
{
    const std::wstring temporary = file_ + L".tmp";
    {
        std::ofstream out(std::filesystem::path(temporary), std::ios::binary | std::ios::trunc);
        out << WideToUtf8(WriteXml(*root_, Namespace2013));
    }
    MoveFileExW(temporary.c_str(), file_.c_str(), MOVEFILE_REPLACE_EXISTING);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &data))
    {
        loadedTime_ = data.ftLastWriteTime;
        loadedSize_ = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
}

void Store::Replace(const XNodePtr& root)
{
    Run([&](XNode&, bool& changed) {
        root_ = root;
        changed = true;
        return S_OK;
    });
}

HRESULT Store::GetHierarchy(const std::wstring& startId, LONG scope, LONG schema, std::wstring& xml)
{
    if (scope < 0 || scope > 4)
        return E_INVALIDARG;
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    return Run([&](XNode& root, bool&) {
        XNodePtr answer;
        if (startId.empty())
        {
            answer = CopyForScope(root, scope == 0 || scope == 1 ? 2 : scope, true);
        }
        else
        {
            Found found;
            if (!FindById(root_, startId, found))
                return OneNoteError::ObjectDoesNotExist;
            answer = CopyForScope(*found.node, scope, true);
        }
        xml = WriteForSchema(*answer, schema);
        return S_OK;
    });
}

HRESULT Store::UpdateHierarchy(const std::wstring& xml, LONG schema)
{
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    const ParseResult parsed = ParseXml(xml, ns, xsd);
    if (parsed.status == ParseStatus::NotWellFormed)
        return OneNoteError::NotWellFormed;
    if (parsed.status != ParseStatus::Ok)
        return OneNoteError::InvalidXml;
    const XNodePtr input = parsed.root;
    if (!IsHierarchyElement(input->name) && input->name != L"Notebooks")
        return OneNoteError::InvalidXml;

    return Run([&](XNode&, bool& changed) -> HRESULT {
        const std::wstring now = XmlTimeNow();
        // Checks first, so that a failing change leaves the store as it was.
        std::function<HRESULT(const XNode&)> check = [&](const XNode& node) -> HRESULT {
            if (node.name != L"Notebooks")
            {
                const std::wstring* id = node.Attribute(L"ID");
                if (id)
                {
                    Found found;
                    if (!FindById(root_, *id, found) || found.node->name != node.name)
                        return MissingFor(node.name);
                }
                else if (node.name == L"Section" || node.name == L"SectionGroup")
                {
                    if (!IsValidName(node.AttributeOr(L"name")))
                        return OneNoteError::InvalidName;
                }
                else
                {
                    return OneNoteError::InvalidXml;
                }
                if (const std::wstring* name = node.Attribute(L"name"); name && !IsValidName(*name) &&
                                                                       node.name != L"Page")
                    return OneNoteError::InvalidName;
            }
            std::map<std::wstring, int> names;
            for (const auto& child : node.children)
            {
                if (!IsHierarchyElement(child->name))
                    continue;
                if ((child->name == L"Section" || child->name == L"SectionGroup") && !child->Attribute(L"ID"))
                    if (++names[Lower(child->name + L"/" + child->AttributeOr(L"name"))] > 1)
                        return OneNoteError::FileAlreadyExists;
                if (const HRESULT hr = check(*child); FAILED(hr))
                    return hr;
            }
            return S_OK;
        };
        if (const HRESULT hr = check(*input); FAILED(hr))
            return hr;

        std::function<void(const XNode&, const XNodePtr&)> apply = [&](const XNode& node, const XNodePtr& target) {
            for (const auto& child : node.children)
            {
                if (!IsHierarchyElement(child->name))
                    continue;
                XNodePtr stored;
                if (const std::wstring* id = child->Attribute(L"ID"))
                {
                    Found found;
                    FindById(root_, *id, found);
                    stored = found.node;
                    if (const std::wstring* name = child->Attribute(L"name"); name && *name != stored->AttributeOr(L"name"))
                    {
                        stored->SetAttribute(L"name", *name);
                        stored->SetAttribute(L"lastModifiedTime", now);
                        changed = true;
                    }
                    if (child->name == L"Page")
                    {
                        if (const std::wstring* level = child->Attribute(L"pageLevel"))
                        {
                            stored->SetAttribute(L"pageLevel", *level);
                            changed = true;
                        }
                        continue;
                    }
                }
                else
                {
                    // A new section or section group, after the parent's existing ones of its kind.
                    const std::wstring name = child->AttributeOr(L"name");
                    for (const auto& existing : target->children)
                        if (existing->name == child->name && SameId(existing->AttributeOr(L"name"), name))
                            stored = existing;
                    if (!stored)
                    {
                        stored = MakeElement(child->name);
                        stored->SetAttribute(L"name", name);
                        stored->SetAttribute(L"ID", NewHierarchyId());
                        const std::wstring parentPath = target->AttributeOr(L"path");
                        stored->SetAttribute(L"path", parentPath + L"\\" + name +
                                                          (child->name == L"Section" ? L".one" : L""));
                        stored->SetAttribute(L"lastModifiedTime", now);
                        if (child->name == L"Section")
                            stored->SetAttribute(L"color", child->AttributeOr(L"color", L"#8AA8E4"));
                        auto at = target->children.begin();
                        if (child->name == L"Section")
                        {
                            auto last = target->children.begin();
                            for (auto it = target->children.begin(); it != target->children.end(); ++it)
                                if ((*it)->name == L"Section")
                                    last = it + 1;
                            at = last;
                        }
                        else
                        {
                            // Section groups go before the recycle bin, which stays last.
                            at = target->children.end();
                            for (auto it = target->children.begin(); it != target->children.end(); ++it)
                                if ((*it)->AttributeOr(L"isRecycleBin") == L"true")
                                {
                                    at = it;
                                    break;
                                }
                        }
                        target->children.insert(at, stored);
                        target->SetAttribute(L"lastModifiedTime", now);
                        changed = true;
                    }
                }
                apply(*child, stored);
            }
        };

        if (input->name == L"Notebooks")
        {
            apply(*input, root_);
        }
        else
        {
            Found found;
            if (FindById(root_, input->AttributeOr(L"ID"), found))
            {
                if (const std::wstring* name = input->Attribute(L"name");
                    name && input->name != L"Page" && *name != found.node->AttributeOr(L"name"))
                {
                    found.node->SetAttribute(L"name", *name);
                    changed = true;
                }
                apply(*input, found.node);
            }
        }
        return S_OK;
    });
}

HRESULT Store::DeleteHierarchy(const std::wstring& id, DATE, bool permanently)
{
    return Run([&](XNode&, bool& changed) -> HRESULT {
        Found found;
        if (!FindById(root_, id, found))
            return OneNoteError::ObjectDoesNotExist;
        if (found.node->name == L"Notebook")
            return E_INVALIDARG;
        auto& siblings = found.ancestors.back()->children;
        siblings.erase(std::find(siblings.begin(), siblings.end(), found.node));
        changed = true;
        if (permanently || found.node->AttributeOr(L"isInRecycleBin") == L"true")
            return S_OK;
        // Into the notebook's recycle bin: pages to its deleted pages section, the rest beside it.
        XNodePtr notebook;
        for (const auto& ancestor : found.ancestors)
            if (ancestor->name == L"Notebook")
                notebook = ancestor;
        if (!notebook)
            return S_OK;
        XNodePtr bin;
        for (const auto& child : notebook->children)
            if (child->AttributeOr(L"isRecycleBin") == L"true")
                bin = child;
        if (!bin)
            return S_OK;
        found.node->SetAttribute(L"isInRecycleBin", L"true");
        if (found.node->name == L"Page")
        {
            for (const auto& child : bin->children)
                if (child->AttributeOr(L"isDeletedPages") == L"true")
                    child->children.push_back(found.node);
        }
        else
        {
            auto at = bin->children.begin();
            if (found.node->name == L"SectionGroup")
                at = bin->children.end();
            bin->children.insert(at, found.node);
        }
        return S_OK;
    });
}

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

HRESULT Store::GetHierarchyParent(const std::wstring& id, std::wstring& parentId)
{
    return Run([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (!FindById(root_, id, found))
            return OneNoteError::ObjectDoesNotExist;
        const std::wstring* parent = found.ancestors.back()->Attribute(L"ID");
        if (!parent)
            return OneNoteError::ObjectDoesNotExist;
        parentId = *parent;
        return S_OK;
    });
}

HRESULT Store::GetPageContent(const std::wstring& pageId, LONG info, LONG schema, std::wstring& xml)
{
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    return Run([&](XNode&, bool&) -> HRESULT {
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
    return Run([&](XNode&, bool&) -> HRESULT {
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
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    const ParseResult parsed = ParseXml(xml, ns, xsd);
    if (parsed.status == ParseStatus::NotWellFormed)
        return OneNoteError::NotWellFormed;
    if (parsed.status != ParseStatus::Ok || parsed.root->name != L"Page" || !parsed.root->Attribute(L"ID"))
        return OneNoteError::InvalidXml;
    const XNodePtr input = parsed.root;

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

        RestoreBinary(*input, page);
        for (const auto& [name, value] : input->attributes)
            if (name != L"ID" && name != L"lastModifiedTime")
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
        std::stable_sort(page.children.begin(), page.children.end(), [](const XNodePtr& a, const XNodePtr& b) {
            return PageChildRank(a->name) < PageChildRank(b->name);
        });
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
                    return true;
            }
            return false;
        };
        if (!erase(*found.node))
            return OneNoteError::PageObjectDoesNotExist;
        found.node->SetAttribute(L"lastModifiedTime", XmlTimeNow());
        changed = true;
        return S_OK;
    });
}

namespace
{
HRESULT MakeCurrent(const XNodePtr& root, const XNodePtr& target)
{
    std::vector<XNodePtr> chain;
    if (!ContainsNode(*root, target, chain))
        return OneNoteError::ObjectDoesNotExist;
    // Opening a notebook or section group opens its first section, a section its first page.
    XNodePtr node = target;
    if (node->name == L"Notebook" || node->name == L"SectionGroup")
    {
        if (auto section = FirstSection(*node))
        {
            std::vector<XNodePtr> below;
            ContainsNode(*node, section, below);
            chain.insert(chain.end(), below.begin(), below.end());
            node = section;
        }
    }
    if (node->name == L"Section")
        if (auto first = node->FirstElement(L"Page"))
            chain.push_back(first);
    ClearCurrent(*root);
    for (const auto& link : chain)
        link->SetAttribute(L"isCurrentlyViewed", L"true");
    return S_OK;
}
} // namespace

HRESULT Store::NavigateTo(const std::wstring& hierarchyId, const std::wstring& objectId)
{
    return Run([&](XNode&, bool& changed) -> HRESULT {
        Found found;
        if (!FindById(root_, hierarchyId, found))
            return OneNoteError::ObjectDoesNotExist;
        if (!objectId.empty() && !FindObject(*found.node, objectId))
            return OneNoteError::PageObjectDoesNotExist;
        changed = true;
        return MakeCurrent(root_, found.node);
    });
}

HRESULT Store::NavigateToUrl(const std::wstring& url)
{
    return Run([&](XNode&, bool& changed) -> HRESULT {
        if (_wcsnicmp(url.c_str(), L"onenote:", 8) != 0)
            return OneNoteError::ObjectDoesNotExist;
        Found found;
        const std::wstring pageGuid = UrlValue(url, L"page-id");
        const std::wstring sectionGuid = UrlValue(url, L"section-id");
        bool resolved = false;
        if (!pageGuid.empty())
            resolved = FindByGuid(root_, pageGuid, L"Page", found);
        else if (!sectionGuid.empty())
            resolved = FindByGuid(root_, sectionGuid, L"Section", found);
        else
        {
            std::wstring path = url.substr(8);
            while (!path.empty() && path.front() == L'/')
                path.erase(0, 1);
            path = PercentDecode(path.substr(0, path.find(L'#')));
            resolved = FindByPath(root_, path, found);
        }
        if (!resolved)
            return OneNoteError::ObjectDoesNotExist;
        changed = true;
        return MakeCurrent(root_, found.node);
    });
}

HRESULT Store::GetHyperlinkToObject(const std::wstring& hierarchyId, const std::wstring& objectId, std::wstring& link)
{
    return Run([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (!FindById(root_, hierarchyId, found))
            return OneNoteError::ObjectDoesNotExist;
        const XNode& node = *found.node;
        const auto guidOf = [](const std::wstring& id) { return id.substr(0, 38); };
        if (node.name == L"Notebook" || node.name == L"SectionGroup")
        {
            link = L"onenote:///" + PercentEncode(node.AttributeOr(L"path"));
        }
        else if (node.name == L"Section")
        {
            link = L"onenote:///" + PercentEncode(node.AttributeOr(L"path")) + L"#section-id=" +
                   guidOf(node.AttributeOr(L"ID")) + L"&end";
        }
        else
        {
            const XNode& section = *found.ancestors.back();
            link = L"onenote:///" + PercentEncode(section.AttributeOr(L"path")) + L"#" +
                   PercentEncode(node.AttributeOr(L"name")) + L"&section-id=" + guidOf(section.AttributeOr(L"ID")) +
                   L"&page-id=" + guidOf(node.AttributeOr(L"ID"));
            if (!objectId.empty())
            {
                if (!FindObject(node, objectId))
                    return OneNoteError::PageObjectDoesNotExist;
                link += L"&object-id=" + guidOf(objectId);
            }
            link += L"&end";
        }
        return S_OK;
    });
}

HRESULT Store::FindPages(const std::wstring& startId, const std::wstring& query, LONG schema, std::wstring& xml)
{
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    std::vector<std::wstring> words;
    {
        std::wstring word;
        for (wchar_t c : Lower(query) + L" ")
        {
            if (c == L' ' || c == L'"' || c == L'\t')
            {
                if (!word.empty())
                    words.push_back(word);
                word.clear();
            }
            else
            {
                word += c;
            }
        }
    }
    if (words.empty())
        return OneNoteError::InvalidQuery;
    return Run([&](XNode&, bool&) -> HRESULT {
        XNodePtr start;
        if (startId.empty())
            start = root_;
        else
        {
            Found found;
            if (!FindById(root_, startId, found))
                return OneNoteError::ObjectDoesNotExist;
            start = found.node;
        }
    
        // Keeps the pages that hold every word in their title or text, and what leads to them.
        std::function<XNodePtr(const XNode&)> filter = [&](const XNode& node) -> XNodePtr {
            if (node.name == L"Page")
            {
                std::vector<std::wstring> lines;
                CollectLines(node, lines);
                std::wstring text = Lower(node.AttributeOr(L"name"));
                for (const auto& line : lines)
                    text += L"\n" + Lower(line);
                for (const auto& word : words)
                    if (text.find(word) == std::wstring::npos)
                        return nullptr;
                return HierarchyCopy(node);
            }
            auto copy = HierarchyCopy(node);
            for (const auto& child : node.children)
                if (IsHierarchyElement(child->name))
                    if (auto kept = filter(*child))
                        copy->children.push_back(kept);
            if (copy->children.empty() && node.name != L"Notebooks" && &node != start.get())
                return nullptr;
            return copy;
        };
        xml = WriteForSchema(*filter(*start), schema);
        return S_OK;
    });
}

HRESULT Store::GetPageText(const std::wstring& pageId, PageText& text)
{
    return Run([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (!FindById(root_, pageId, found) || found.node->name != L"Page")
            return OneNoteError::PageDoesNotExist;
        text.title = found.node->AttributeOr(L"name");
        if (text.title.empty())
            if (const auto title = found.node->FirstElement(L"Title"))
                text.title = TitleText(*title);
        text.lines.clear();
        for (const auto& child : found.node->children)
            if (IsPageObject(child->name))
                CollectLines(*child, text.lines);
        return S_OK;
    });
}

HRESULT Store::GetSpecialLocation(LONG which, std::wstring& path)
{
    const std::wstring profile = Environment(L"USERPROFILE");
    switch (which)
    {
    case 0:
        path = profile + L"\\AppData\\Local\\Microsoft\\OneNote\\16.0\\Backup";
        return S_OK;
    case 1:
        path = profile + L"\\Documents\\OneNote Notebooks\\Quick Notes.one";
        return S_OK;
    case 2:
        path = profile + L"\\Documents\\OneNote Notebooks";
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

CurrentView Store::GetCurrentView()
{
    CurrentView view;
    Run([&](XNode& root, bool&) -> HRESULT {
        const XNode* node = &root;
        for (;;)
        {
            const XNode* next = nullptr;
            for (const auto& child : node->children)
                if (IsHierarchyElement(child->name) && child->AttributeOr(L"isCurrentlyViewed") == L"true")
                    next = child.get();
            if (!next)
                break;
            const std::wstring id = next->AttributeOr(L"ID");
            if (next->name == L"Notebook")
                view.notebookId = id;
            else if (next->name == L"SectionGroup")
                view.sectionGroupId = id;
            else if (next->name == L"Section")
                view.sectionId = id;
            else if (next->name == L"Page")
                view.pageId = id;
            if (next->name == L"Page")
                break;
            node = next;
        }
        return S_OK;
    });
    return view;
}

bool Store::Exists(const std::wstring& id) { return !KindOf(id).empty(); }

std::wstring Store::KindOf(const std::wstring& id)
{
    std::wstring kind;
    Run([&](XNode&, bool&) -> HRESULT {
        Found found;
        if (FindById(root_, id, found))
            kind = found.node->name;
        return S_OK;
    });
    return kind;
}

XNodePtr Store::Snapshot()
{
    XNodePtr copy;
    Run([&](XNode& root, bool&) -> HRESULT {
        copy = CopyForScope(root, 4, true);
        return S_OK;
    });
    return copy;
}
} // namespace StandIn
