#include "calendar/HierarchyLoader.h"

#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/NotebookList.h"
#include "calendar/OneNoteCalls.h"
#include "calendar/UiLanguages.h"
#include "calendar/WorkerFailure.h"
#include "framework/Owners.h"
#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"
#include "framework/xml/XmlDocument.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

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

// Whether a failed call ends the whole load rather than leaving out the notebook, section or page
// it asked for: the program's end, OneNote still busy after the wait, a modal dialog open in
// OneNote, a call that timed out, and OneNote gone or unreachable, when every later call would
// fail or wait as well. The load then leaves a shown calendar as it was.
bool EndsTheLoad(HRESULT hr)
{
    switch (hr)
    {
    case E_ABORT:
    case RPC_E_CALL_REJECTED:
    case RPC_E_SERVERCALL_RETRYLATER:
    case static_cast<HRESULT>(0x80042030): // OneNote has a modal dialog box open
    case static_cast<HRESULT>(0x80042023): // OneNote's action timed out
    case static_cast<HRESULT>(0x800705B4): // the call timed out
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case CO_E_OBJNOTCONNECTED:
    case static_cast<HRESULT>(0x800706BA): // the RPC server is unavailable
    case static_cast<HRESULT>(0x800706BE): // the remote procedure call failed
        return true;
    default:
        return false;
    }
}

// The reason on one line, as the log and the box give one item a line: an error's own description
// and OneNote's text for its code come separated by a blank line.
std::wstring OneLineErrorMessage(const _com_error& error)
{
    std::wstring text;
    bool gap = false;
    for (const wchar_t c : GetErrorMessage(error))
    {
        if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n')
        {
            gap = !text.empty();
            continue;
        }
        if (gap)
            text += L' ';
        gap = false;
        text += c;
    }
    return text;
}

class Loader
{
public:
    // Files the pages in map under its lock; the notebook list is published at once unless the
    // caller publishes it with the map it fills.
    Loader(LoadStatistics& statistics, DayMap& map, std::mutex& lock, bool publishList)
        : statistics_(statistics), map_(map), lock_(lock), publishList_(publishList)
    {
    }

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
        list_ = std::make_shared<const NotebookList>(notebooks);
        if (publishList_)
        {
            PublishNotebookList(list_);
            RequestRepaint();
        }

        if (notebooks->notebooks.empty())
            return;
        const float notebookShare = 1.0f / static_cast<float>(notebooks->notebooks.size());
        for (const auto& notebook : notebooks->notebooks)
        {
            const std::wstring& name =
                notebook->hierarchy.name ? *notebook->hierarchy.name : GetUiString(StrUntitledNotebook);
            ReadOrLeaveOut(L"notebook", name, notebook->hierarchy.ID, notebookShare,
                           [&] { LoadNotebook(*notebook, notebookShare); });
        }
    }

    const std::shared_ptr<const NotebookList>& List() const { return list_; }
    const std::vector<UnreadableItem>& Unreadable() const { return unreadable_; }

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

    // Reads one notebook's, section's or page's part of the load. When OneNote will not give it
    // (moved or deleted meanwhile, a section not yet synchronised or locked, a notebook closed), it
    // is left out: the log names it, the box at the end counts it, and the progress moves on by its
    // share as if it had been read.
    template <typename Read>
    void ReadOrLeaveOut(const wchar_t* kind, const std::wstring& location, const std::optional<std::wstring>& id,
                        float share, const Read& read)
    {
        std::atomic<float>& progress = GetCalendarState().loadingProgress;
        const float before = progress.load();
        try
        {
            read();
        }
        catch (const _com_error& error)
        {
            if (EndsTheLoad(error.Error()))
                throw;
            const std::wstring reason = OneLineErrorMessage(error);
            GetLog(true) << L"ERROR: Could not read the " << kind << L" " << location << L" " << id.value_or(L"")
                         << L": " << reason;
            unreadable_.push_back({location, reason});
            progress.store(before + share);
            RequestRepaint();
        }
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
        {
            std::wstring notebookKey;
            const std::wstring location = BuildLocationText(*section, notebookKey);
            ReadOrLeaveOut(L"section", location, section->hierarchy.ID, sectionShare,
                           [&] { LoadSection(*section, location, notebookKey, sectionShare); });
        }
    }

    void LoadSection(const ON::Section& section, const std::wstring& location, const std::wstring& notebookKey,
                     float share)
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
        const std::int32_t notebookIndex = list_->IndexOf(notebookKey);
        for (const auto& page : pages->pages)
        {
            const std::wstring& title =
                page->hierarchy.name ? *page->hierarchy.name : GetUiString(StrUntitledPage);
            const std::wstring text = location + L" > " + title;
            ReadOrLeaveOut(L"page", text, page->hierarchy.ID, pageShare,
                           [&] { AddPageEntries(page, text, notebookIndex, pageShare); });
        }
    }

    void AddPageEntries(const std::shared_ptr<ON::Page>& page, const std::wstring& text, std::int32_t notebookIndex,
                        float share)
    {
        // OneNote still has the page: only the success of the call counts.
        Call(page->hierarchy.ID.value_or(L""), ON16::hsPages);
        ThrowIfQuitting();
        Advance(share);
        RequestRepaint();
        ++statistics_.pages;
        FilePageEntries(map_, lock_, CalendarEntry{page, text, notebookIndex, false});
    }

    static void Advance(float share)
    {
        std::atomic<float>& progress = GetCalendarState().loadingProgress;
        progress.store(progress.load() + share);
    }

    LoadStatistics& statistics_;
    DayMap& map_;
    std::mutex& lock_;
    const bool publishList_;
    OneNoteApplicationPtr application_;
    std::shared_ptr<const NotebookList> list_;
    std::vector<UnreadableItem> unreadable_;
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
    // A calendar that shows no page is filled in place, day by day as the load reads them. One that
    // shows pages (F5) keeps them while the load fills a map of its own, which takes their place with
    // its notebook list once the load has read to its end: a load that cannot be made (OneNote gone,
    // or busy beyond the wait) leaves the calendar as it was.
    bool inPlace = false;
    {
        const std::lock_guard guard(GetDayMapLock());
        inPlace = GetDayMap().empty();
    }
    DayMap fresh;
    std::mutex freshLock;
    GetCalendarState().loadingProgress = 0;
    HRESULT result = S_OK;
    try
    {
        std::shared_ptr<const NotebookList> list;
        std::vector<UnreadableItem> unreadable;
        {
            const Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
            if (FAILED(apartment.result()))
                _com_issue_error(apartment.result());
            Loader loader(counts, inPlace ? GetDayMap() : fresh, inPlace ? GetDayMapLock() : freshLock, inPlace);
            loader.Run();
            list = loader.List();
            unreadable = loader.Unreadable();
        }
        if (!inPlace)
        {
            // Together, so that no paint reads the old map's notebook numbers against the new list.
            const std::lock_guard guard(GetDayMapLock());
            PublishNotebookList(list);
            GetDayMap().swap(fresh);
        }
        result = unreadable.empty() ? S_OK : S_FALSE;
        ShowUnreadableItems(unreadable);
    }
    catch (const _com_error& error)
    {
        result = error.Error();
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
