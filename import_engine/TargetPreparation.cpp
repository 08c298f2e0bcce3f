#include "import_engine/TargetPreparation.h"

#include "framework/log/Log.h"
#include "framework/text/DateTime.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/PageContent.h"
#include "import_engine/PageCreation.h"

#include <algorithm>

namespace
{
// OneNote's own answer for a page that is not there.
constexpr HRESULT OneNotePageDoesNotExist = static_cast<HRESULT>(0x80042005);

ON16::WindowPtr CurrentWindow(ON16::IApplication& application)
{
    const ON16::WindowsPtr windows = GetWindowsWithRetry(application);
    if (!windows)
        _com_issue_error(E_POINTER);
    ON16::WindowPtr window = GetCurrentWindowWithRetry(*windows);
    if (!window)
        _com_issue_error(E_POINTER);
    return window;
}

// One ID that OneNote's current window shows, read afresh.
_bstr_t ReadWindowId(ON16::IApplication& application, HRESULT (STDMETHODCALLTYPE ON16::Window::*property)(BSTR*))
{
    const ON16::WindowPtr window = CurrentWindow(application);
    _bstr_t id;
    CallWithRetry(*window, [&] {
        BSTR received = nullptr;
        const HRESULT hr = ((*window).*property)(&received);
        id.Attach(received);
        return hr;
    });
    return id;
}

void BringOneNoteToFront(ON16::IApplication& application)
{
    const ON16::WindowPtr window = CurrentWindow(application);
    const auto handle = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(GetWindowHandleWithRetry(*window) & 0xFFFFFFFF));
    ShowWindow(GetAncestor(handle, GA_ROOT), SW_SHOWMAXIMIZED);
}

// A picked notebook or section group receives the new sections itself; for a picked section or
// page the window's section group or notebook does.
bool IsSectionParent(ON16::IApplication& application, const std::wstring& id)
{
    _bstr_t xml;
    GetHierarchyWithRetry(application, id.c_str(), ON16::hsSelf, xml);
    const std::wstring_view text(xml.length() ? static_cast<const wchar_t*>(xml) : L"");
    const size_t start = text.find(L"<one:");
    return start != std::wstring_view::npos &&
           (text.substr(start).starts_with(L"<one:Notebook ") || text.substr(start).starts_with(L"<one:SectionGroup "));
}

_bstr_t HierarchyParentOf(ON16::IApplication& application, const _bstr_t& id)
{
    _bstr_t parent;
    CallWithRetry(application, [&] {
        BSTR received = nullptr;
        const HRESULT hr = application.GetHierarchyParent(id, &received);
        parent.Attach(received);
        return hr;
    });
    return parent;
}

// The notebook or section group that receives new sections: the picked one itself when the user
// picked a notebook or section group, else the one that holds the picked section or page.
_bstr_t ParentForNewSections(ON16::IApplication& application, const Config& config)
{
    if (!config.locationId.empty() && IsSectionParent(application, config.locationId))
        return config.locationId.c_str();
    const _bstr_t group = ReadWindowId(application, &ON16::Window::get_CurrentSectionGroupId);
    const _bstr_t notebook =
        group.length() > 0 && config.outputFormat == Config::InsertAllFilesIntoASinglePage
            ? _bstr_t()
            : ReadWindowId(application, &ON16::Window::get_CurrentNotebookId);
    if (config.outputFormat != Config::InsertAllFilesIntoASinglePage)
    {
        // Opening a notebook or section group opens a section somewhere inside it. Without the
        // picked object's ID (a workspace read at start-up keeps only its link), the groups that
        // hold the opened section and its notebook are told by their links.
        const _bstr_t location(config.location.c_str());
        constexpr int DeepestNesting = 256;
        _bstr_t candidate = group;
        for (int depth = 0; depth < DeepestNesting && candidate.length() > 0 && candidate != notebook; ++depth)
        {
            if (GetHyperlinkToObjectWithRetry(application, candidate) == location)
                return candidate;
            candidate = HierarchyParentOf(application, candidate);
        }
        if (notebook.length() > 0 && GetHyperlinkToObjectWithRetry(application, notebook) == location)
            return notebook;
    }
    return group.length() > 0 ? group : notebook;
}

std::wstring NewPageTitle()
{
    const SYSTEMTIME time = DateTime().ToLocalSystemTime();
    wchar_t timeText[256] = {};
    wchar_t dateText[256] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, timeText, 255);
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, dateText, 255);
    return std::wstring(L"Files Imported on ") + dateText + L" " + timeText;
}

void UseCurrentSection(ON16::IApplication& application, Target& target)
{
    GetLog(true) << L"Using current section";
    target.sectionId = ReadWindowId(application, &ON16::Window::get_CurrentSectionId);
}

// A file in a row of its own: the first file the user gave after other kinds, or the first file
// inside a folder after the folder.
bool StartsNewGroup(EntryKind kind, EntryKind last)
{
    return (kind == TopFile && last != TopFile) || (kind == InnerFile && IsFolderKind(last));
}

std::optional<int32_t> NextPageLevel(EntryKind kind, std::optional<EntryKind> last, std::optional<int32_t> saved)
{
    const bool lastWasFolder = last && IsFolderKind(*last);
    if (IsFolderKind(kind))
    {
        if (lastWasFolder)
            return saved;
        return saved && *saved - 1 > 1 ? *saved - 1 : 1;
    }
    const std::optional<int32_t> start = kind == TopFile ? std::optional<int32_t>(1) : saved;
    if (lastWasFolder)
        return std::min(start.value_or(1) + 1, DeepestPageLevel);
    return start;
}
} // namespace

Target PrepareTarget(ON16::IApplication& application, const std::wstring& dateText, const Config& config,
                     const std::shared_ptr<AttemptChanges>& made)
{
    Target target;
    target.changes = made;
    GetLog(true) << L"Navigating to \"" << config.location << L"\"";
    NavigateToUrlWithRetry(application, config.location.c_str());
    BringOneNoteToFront(application);

    target.parentId = ParentForNewSections(application, config);

    if (config.outputFormat == Config::InsertAllFilesIntoASinglePage)
    {
        UseCurrentSection(application, target);
        if (config.createNew)
        {
            CreateNewPage(application, target, NewPageTitle(), true);
            GetLog(true) << L"Navigating to newly created page";
            NavigateToWithRetry(application, target.pageId);
        }
        else
        {
            GetLog(true) << L"Using current page";
            target.pageId = ReadWindowId(application, &ON16::Window::get_CurrentPageId);
            if (target.pageId.length() == 0)
            {
                // The picked page has gone, or the location is no page at all: there is nothing
                // to fill, and the user is told so.
                GetLog(true) << L"ERROR: OneNote shows no page at \"" << config.location << L"\"";
                _com_issue_error(OneNotePageDoesNotExist);
            }
            RetrievePageContents(application, target, false);
        }
    }
    else if (config.createNew)
    {
        CreateNewSection(application, target, L"Imported Files", dateText);
    }
    else
    {
        UseCurrentSection(application, target);
    }

    target.outputFormat = config.outputFormat;
    target.createNew = config.createNew;
    target.location = config.location;
    target.printoutScale = config.printoutScale;
    target.changes.reset();
    return target;
}

Target PrepareNextTarget(ON16::IApplication& application, EntryKind kind, const std::wstring& displayName,
                         const std::wstring& dateText, Target& current)
{
    Target target(current);
    if (target.outputFormat == Config::InsertAllFilesIntoASinglePage)
    {
        if (target.lastEntryKind && !IsFolderKind(kind) && target.position && target.startPosition &&
            StartsNewGroup(kind, *target.lastEntryKind))
        {
            target.position->x = target.startPosition->x;
            target.position->y = target.startPosition->y;
            target.position->z = target.startPosition->z;
        }
    }
    else
    {
        std::optional<int32_t> level;
        if (target.page)
        {
            if (!current.pageSaved)
            {
                GetLog(true) << L"Saving previous page contents (" << target.page->hierarchy.name.value_or(L"")
                             << L")";
                SavePage(application, target);
                current.pageSaved = true;
            }
            // A file continued over several pages leaves its last page as the target's; the next
            // entry's level follows from the file's first page, not from that subpage.
            level = NextPageLevel(kind, target.lastEntryKind,
                                  target.entryPageLevel ? *target.entryPageLevel : target.page->pageLevel);
        }
        if (kind == TopFolder && target.outputFormat == Config::InsertEachPrintoutPageOnASeparatePage)
        {
            CreateNewSection(application, target, displayName, dateText);
            target.entryPageLevel.reset();
        }
        else
        {
            CreateNewPage(application, target, displayName, true);
            if (level)
                target.page->pageLevel = level;
            target.entryPageLevel = std::optional<int32_t>(level);
        }
    }
    target.lastEntryKind = kind;
    return target;
}
