#include "import_engine/HierarchyObject.h"

#include "import_engine/OneNoteCalls.h"
#include "onenote_model/Hierarchy.h"

#include <string_view>

namespace
{
template <typename Element>
std::wstring NameIn(const _bstr_t& xml)
{
    Element element;
    ParseElement(element, xml);
    return element.hierarchy.name.value_or(L"");
}
} // namespace

HierarchyObject ResolveHierarchyObject(ON16::IApplication& application, const _bstr_t& id)
{
    _bstr_t xml;
    GetHierarchyWithRetry(application, id, ON16::hsSelf, xml);
    const std::wstring_view text(xml.length() ? static_cast<const wchar_t*>(xml) : L"");
    const auto contains = [&](const wchar_t* marker) { return text.find(marker) != std::wstring_view::npos; };

    HierarchyObject object;
    // "<one:Section" begins "<one:SectionGroup" too, so groups are told first.
    if (contains(L"<one:Notebook"))
        object = {ON16::heNotebooks, NameIn<ON::Notebook>(xml), {}};
    else if (contains(L"<one:SectionGroup"))
        object = {ON16::heSectionGroups, NameIn<ON::SectionGroup>(xml), {}};
    else if (contains(L"<one:Section"))
        object = {ON16::heSections, NameIn<ON::Section>(xml), {}};
    else if (contains(L"<one:Page"))
        object = {ON16::hePages, NameIn<ON::Page>(xml), {}};
    else
        _com_issue_error(E_UNEXPECTED);

    const _bstr_t link = GetHyperlinkToObjectWithRetry(application, id);
    object.link = link.length() ? static_cast<const wchar_t*>(link) : L"";
    return object;
}
