// The XML schemas of the calls: the namespace and XSD file of an XMLSchema argument, checking the
// XML a call receives against them, and the conversion of the store's 2013 tree for callers that
// ask for the 2010 schema.
#include "standins/onenote/CallLog.h"
#include "standins/onenote/Store.h"
#include "standins/onenote/StoreTree.h"

#include <algorithm>

namespace StandIn
{
using namespace StoreTree;

namespace
{
void LogNotValidated(const std::wstring& xsd, HRESULT why, const std::wstring& reason)
{
    AppendCall({NotValidatedRecord, why, {xsd, reason}});
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
} // namespace

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

HRESULT StoreTree::ParseReceived(const std::wstring& xml, LONG schema, XNodePtr& root)
{
    std::wstring ns, xsd;
    if (!SchemaFor(schema, ns, xsd))
        return OneNoteError::InvalidSchema;
    const ParseResult parsed = ParseXml(xml, ns, xsd);
    if (parsed.status == ParseStatus::NotWellFormed)
        return OneNoteError::NotWellFormed;
    if (parsed.status != ParseStatus::Ok)
        return OneNoteError::InvalidXml;
    // OneNote checks every document it receives against its schema. Where the stand-in cannot, it
    // says so beside the call, so that a test relying on the check reports it as not made.
    if (xsd.empty())
        LogNotValidated(L"", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND),
                        L"no folder of OneNote's schemas is named (QUILLORA_ONENOTE_XSD, QUILLORA_SHARED)");
    else if (!parsed.notValidated.empty())
        LogNotValidated(xsd, parsed.notValidatedResult, parsed.notValidated);
    root = parsed.root;
    return S_OK;
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
} // namespace StandIn
