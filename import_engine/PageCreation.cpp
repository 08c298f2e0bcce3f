#include "import_engine/PageCreation.h"

#include "framework/log/Log.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/PageBuilders.h"
#include "import_engine/PageContent.h"
#include "onenote_model/Hierarchy.h"

#include <algorithm>

namespace
{

bool SameSectionName(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool IsTaken(const std::vector<std::wstring>& taken, const std::wstring& candidate)
{
    return std::any_of(taken.begin(), taken.end(),
                       [&](const std::wstring& name) { return SameSectionName(name, candidate); });
}

// Saves the page being filled and continues the file on page n, one level below its first page.
void ContinueOnNextPage(ON16::IApplication& application, const std::wstring& title, Target& target, unsigned n)
{
    GetLog(true) << L"Saving page contents";
    SavePage(application, target);
    NoteSavedPage(target.changes, target.pageId);
    const int32_t level = std::min(target.page->pageLevel.value_or(1) + (n == 2 ? 1 : 0), DeepestPageLevel);
    CreateNewPage(application, target, title + L" - Page " + std::to_wstring(n), false);
    target.page->pageLevel = level;
}

template <typename Parent>
std::vector<std::wstring> SectionNames(const Parent& parent)
{
    std::vector<std::wstring> names;
    for (const auto& section : parent.sections)
        if (section && section->hierarchy.name)
            names.push_back(*section->hierarchy.name);
    return names;
}

// Writes the parent back with one new section and finds the section OneNote made by its name.
template <typename Parent>
_bstr_t CreateSectionIn(ON16::IApplication& application, const _bstr_t& parentXml, const std::wstring& name,
                        const std::wstring& suffix, const std::shared_ptr<AttemptChanges>& changes)
{
    GetLog(true) << L"Creating new section";
    Parent parent;
    ParseElement(parent, parentXml);
    const std::wstring chosen = ChooseSectionName(SectionNames(parent), name, suffix);
    auto& section = parent.sections.AddNew();
    GetLog(true) << L"Setting section name to \"" << chosen << L"\"";
    section->hierarchy.name = chosen;
    UpdateHierarchyWithRetry(application, WriteElement(parent));
    // From here on the section exists, whatever fails next.
    NoteCreatedSection(changes, parent.hierarchy.ID.value_or(L"").c_str(), chosen);

    GetLog(true) << L"Retrieving id of new section";
    _bstr_t updatedXml;
    GetHierarchyWithRetry(application, parent.hierarchy.ID.value_or(L"").c_str(), ON16::hsChildren, updatedXml);
    Parent updated;
    ParseElement(updated, updatedXml);
    const ON::Section* created = nullptr;
    for (const auto& candidate : updated.sections)
        if (candidate && candidate->hierarchy.name == chosen && candidate->hierarchy.ID)
        {
            created = candidate.get();
            break;
        }
    if (!created)
    {
        // Writing into any other section would put the import where the user did not ask for it.
        GetLog(true) << L"ERROR: the new section \"" << chosen << L"\" is not among the parent's sections";
        _com_issue_error(E_UNEXPECTED);
    }
    const _bstr_t id(created->hierarchy.ID->c_str());
    FoundCreatedSection(changes, id);
    return id;
}
} // namespace

void CreateNewPage(ON16::IApplication& application, Target& target, const std::wstring& title, bool installGenerator)
{
    GetLog(true) << L"Creating new page";
    _bstr_t pageId;
    CallWithRetry(application, [&] {
        BSTR received = nullptr;
        const HRESULT hr = application.CreateNewPage(target.sectionId, &received, ON16::npsDefault);
        pageId.Attach(received);
        return hr;
    });
    target.pageId = pageId;
    NoteCreatedPage(target.changes, pageId, title);
    target.pageSaved = false;
    // The new page's content and running position are objects of its own: a copy of the target
    // made before keeps its page (the run's target while a printout continues on a copy).
    target.page.reset();
    if (target.position)
        target.position = std::make_shared<ON::Position>(*target.position);
    RetrievePageContents(application, target, false);

    GetLog(true) << L"Setting page title to \"" << title << L"\"";
    ON::Page& page = *target.page;
    if (!page.title)
        page.title = std::make_shared<ON::Title>();
    if (!page.title->oe)
        page.title->oe = std::make_shared<ON::OE>();
    page.title->parentLink = ElementLink{&page, ON::Page::Name.localName.data()};
    page.title->secondLink = page.title->parentLink;
    page.title->oe->parentLink = ElementLink{page.title.get(), ON::Title::Name.localName.data()};
    page.title->oe->secondLink = page.title->oe->parentLink;
    SetOEText(*page.title->oe, title);
    page.hierarchy.name = title;

    if (installGenerator)
    {
        // The run keeps the application alive as long as any target of it.
        ON16::IApplication* app = &application;
        target.pageGenerator = [app, title](Target& next, unsigned n) { ContinueOnNextPage(*app, title, next, n); };
    }
}

void CreateNewSection(ON16::IApplication& application, Target& target, const std::wstring& name,
                      const std::wstring& suffix)
{
    GetLog(true) << L"Retrieving notebook or section group details";
    _bstr_t parentXml;
    GetHierarchyWithRetry(application, target.parentId, ON16::hsChildren, parentXml);
    const std::wstring_view text(parentXml.length() ? static_cast<const wchar_t*>(parentXml) : L"");
    target.sectionId = text.find(L"<one:Notebook") != std::wstring_view::npos
                           ? CreateSectionIn<ON::Notebook>(application, parentXml, name, suffix, target.changes)
                           : CreateSectionIn<ON::SectionGroup>(application, parentXml, name, suffix, target.changes);
    target.page.reset();
    target.pageSaved = false;
    target.position.reset();
    target.startPosition.reset();
    target.pageId = L"";

    GetLog(true) << L"Navigating to Section \"" << name << L"\"";
    NavigateToWithRetry(application, target.sectionId);
}

std::wstring ChooseSectionName(const std::vector<std::wstring>& taken, const std::wstring& name,
                               const std::wstring& suffix)
{
    if (!IsTaken(taken, name))
        return name;
    std::wstring candidate = suffix.empty() ? name + L" (2)" : name + L" " + suffix;
    const std::wstring a1 = suffix.empty() ? std::wstring() : L" " + suffix;
    for (int k = 2; IsTaken(taken, candidate); ++k)
        candidate = name + FormatNameTemplate(L"[1] ([2])", a1, k);
    return candidate;
}

std::wstring FormatNameTemplate(const std::wstring& text, const std::wstring& a1, const int& a2)
{
    std::wstring result;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'[' && i + 2 < text.size() && text[i + 2] == L']' && (text[i + 1] == L'1' || text[i + 1] == L'2'))
        {
            result += text[i + 1] == L'1' ? a1 : std::to_wstring(a2);
            i += 2;
            continue;
        }
        result += text[i];
    }
    return result;
}
