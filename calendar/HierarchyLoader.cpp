#include "calendar/HierarchyLoader.h"

#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/NotebookList.h"
#include "calendar/OneNoteCalls.h"
#include "calendar/UiLanguages.h"
#include "calendar/WorkerFailure.h"
#include "framework/Owners.h"
#include "framework/xml/XmlDocument.h"

#include <memory>

namespace
{
class Stopwatch
{
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double Seconds() const
    {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_{};
};

void ThrowIfQuitting()
{
    if (GetCalendarState().quitting)
        _com_issue_error(E_ABORT);
}

class Loader
{
public:
    explicit Loader(LoadStatistics& statistics) : statistics_(statistics) {}

    void Run()
    {
        const HRESULT created = CreateOneNoteApplication(application_);
        if (FAILED(created))
            _com_issue_error(created);
        if (!application_)
            _com_issue_error(E_POINTER);

        const _bstr_t answer = Call(L"", ON16::hsNotebooks);
        ThrowIfQuitting();
        auto notebooks = std::make_shared<ON::Notebooks>();
        ParseElement(*notebooks, answer);
        auto list = std::make_shared<const NotebookList>(notebooks);
        list_ = list.get();
        PublishNotebookList(list);
        RequestRepaint();

        if (notebooks->notebooks.empty())
            return;
        const float notebookShare = 1.0f / static_cast<float>(notebooks->notebooks.size());
        for (const auto& notebook : notebooks->notebooks)
            LoadNotebook(*notebook, notebookShare);
    }

private:
    _bstr_t Call(const std::wstring& id, ON16::HierarchyScope scope)
    {
        const Stopwatch watch;
        _bstr_t answer = GetHierarchy(application_, id, scope);
        statistics_.oneNoteSeconds += watch.Seconds();
        ++statistics_.calls;
        if (statistics_.answers)
            statistics_.answers->push_back(answer);
        return answer;
    }

    void LoadNotebook(const ON::Notebook& notebook, float share)
    {
        const _bstr_t answer = Call(notebook.hierarchy.ID.value_or(L""), ON16::hsSections);
        ThrowIfQuitting();
        // The sections OneNote shows: none lying directly in the recycle bin, not the deleted pages.
        auto scratch = std::make_shared<ON::Notebook>();
        std::vector<std::shared_ptr<ON::Section>> sections;
        ParseElement(*scratch, answer, [&](const ElementLink& link) {
            if (std::wstring_view(link.name) != L"Section")
                return;
            ON::Section& section = link.As<ON::Section>();
            if (section.isDeletedPages)
                return;
            const ElementLink& parent = section.parentLink;
            if (parent.name && std::wstring_view(parent.name) == L"SectionGroup" &&
                parent.As<ON::SectionGroup>().isRecycleBin)
                return;
            sections.push_back(section.shared_from_this());
        });
        if (sections.empty())
        {
            Advance(share);
            return;
        }
        const float sectionShare = share / static_cast<float>(sections.size());
        for (const auto& section : sections)
            LoadSection(*section, sectionShare);
    }

    void LoadSection(const ON::Section& section, float share)
    {
        const _bstr_t answer = Call(section.hierarchy.ID.value_or(L""), ON16::hsPages);
        ThrowIfQuitting();
        auto pages = std::make_shared<ON::Section>();
        ParseElement(*pages, answer);
        if (pages->pages.empty())
        {
            Advance(share);
            return;
        }
        const float pageShare = share / static_cast<float>(pages->pages.size());
        std::wstring notebookKey;
        const std::wstring location = BuildLocationText(section, notebookKey);
        const std::int32_t notebookIndex = list_->IndexOf(notebookKey);
        for (const auto& page : pages->pages)
            AddPageEntries(page, location, notebookIndex, pageShare);
    }

    void AddPageEntries(const std::shared_ptr<ON::Page>& page, const std::wstring& location,
                        std::int32_t notebookIndex, float share)
    {
        Advance(share);
        RequestRepaint();
        // OneNote still has the page: only the success of the call counts.
        Call(page->hierarchy.ID.value_or(L""), ON16::hsPages);
        ThrowIfQuitting();
        ++statistics_.pages;
        const std::wstring& title =
            page->hierarchy.name ? *page->hierarchy.name : GetUiString(StrUntitledPage);
        FilePageEntries(GetDayMap(), GetDayMapLock(),
                        CalendarEntry{page, location + L" > " + title, notebookIndex, false});
    }

    static void Advance(float share)
    {
        std::atomic<float>& progress = GetCalendarState().loadingProgress;
        progress.store(progress.load() + share);
    }

    LoadStatistics& statistics_;
    OneNoteApplicationPtr application_;
    const NotebookList* list_ = nullptr;
};
} // namespace

std::wstring BuildLocationText(const ON::Section& section, std::wstring& notebookKey)
{
    notebookKey.clear();
    std::vector<const std::wstring*> parts{section.hierarchy.name ? &*section.hierarchy.name
                                                                  : &GetUiString(StrUntitledSection)};
    const ElementLink* link = &section.parentLink;
    while (link->name)
    {
        const std::wstring_view name(link->name);
        if (name == L"SectionGroup")
        {
            const ON::SectionGroup& group = link->As<ON::SectionGroup>();
            parts.push_back(group.hierarchy.name ? &*group.hierarchy.name : &GetUiString(StrUntitledSectionGroup));
            link = &group.parentLink;
        }
        else if (name == L"Notebook")
        {
            const ON::Notebook& notebook = link->As<ON::Notebook>();
            parts.push_back(notebook.hierarchy.name ? &*notebook.hierarchy.name : &GetUiString(StrUntitledNotebook));
            notebookKey = NotebookList::KeyOf(notebook);
            break;
        }
        else
        {
            break;
        }
    }
    std::wstring text;
    for (auto part = parts.rbegin(); part != parts.rend(); ++part)
    {
        if (!text.empty())
            text += L" > ";
        text += **part;
    }
    return text;
}

HRESULT LoadHierarchy(LoadStatistics* statistics)
{
    LoadStatistics ignored;
    LoadStatistics& counts = statistics ? *statistics : ignored;
    const Stopwatch watch;
    {
        const std::lock_guard guard(GetDayMapLock());
        GetDayMap().clear();
    }
    GetCalendarState().loadingProgress = 0;
    HRESULT result = S_OK;
    try
    {
        const Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
        if (FAILED(apartment.result()))
            _com_issue_error(apartment.result());
        Loader(counts).Run();
    }
    catch (const _com_error& error)
    {
        result = error.Error();
        if (!GetCalendarState().quitting)
            ShowWorkerFailure(error);
    }
    counts.totalSeconds = watch.Seconds();
    return result;
}

DWORD WINAPI LoadPagesWorker(void*)
{
    try
    {
        LoadHierarchy();
    }
    catch (...)
    {
        // Nothing may leave a thread-pool work item; the load ends as it stands.
    }
    CalendarState& state = GetCalendarState();
    state.loading = false;
    RequestRepaint();
    return 0;
}

void StartHierarchyLoad()
{
    CalendarState& state = GetCalendarState();
    if (state.loading.exchange(true))
        return;
    state.currentDate = state.currentDate.LocalNoon();
    if (!QueueUserWorkItem(LoadPagesWorker, nullptr, WT_EXECUTEDEFAULT))
        state.loading = false;
}
