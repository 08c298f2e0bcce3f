#include "import_engine/ImportRun.h"

#include "framework/log/Log.h"
#include "framework/onenote/OneNoteApplication.h"
#include "framework/text/Text.h"
#include "import_engine/AttemptRollback.h"
#include "import_engine/EntryImport.h"
#include "import_engine/FileSnapshot.h"
#include "import_engine/FolderExpansion.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/PageContent.h"
#include "import_engine/TargetPreparation.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwchar>
#include <ctime>
#include <exception>
#include <new>

namespace
{
// Ends the run with the error the progress callback answered.
struct StopRequested
{
    std::error_code error;
};

void StopCheck(const ProgressCallback& progress, std::wstring text, uint32_t done, uint32_t total)
{
    const Result answer = progress(std::make_shared<Progress>(std::move(text), done, total));
    if (answer.AsksToStop())
        throw StopRequested{answer.error};
}

void LogError(const std::error_code& error)
{
    GetLog(true) << L"ERROR: " << GetErrorText(error);
}

// Whatever an attempt at an entry raises is that entry's error, so that retry, skip and stop
// apply to it.
std::error_code ErrorOfCurrentException()
{
    try
    {
        throw;
    }
    catch (const _com_error& error)
    {
        return MakeHResultError(error.Error());
    }
    catch (const std::bad_alloc&)
    {
        return MakeHResultError(E_OUTOFMEMORY);
    }
    catch (const std::exception& error)
    {
        return MakeHResultError(E_FAIL, error.what());
    }
    catch (...)
    {
        return MakeHResultError(E_UNEXPECTED);
    }
}

std::wstring TodayText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return FormatTemplate(L"[1]-[2]-[3]", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::wstring PageName(const ON::Page& page)
{
    return page.hierarchy.name.value_or(L"");
}

// What the run tells when a page it was filling could not be saved as the run ended: OneNote's
// error, that the page's new content did not reach OneNote and, unless the run ended only because
// the user stopped it or was ending anyway, why it was ending (what stays of an entry among it).
std::error_code NotReached(const std::error_code& failure, const ON::Page& page, const std::error_code& why)
{
    std::wstring told = L"What was imported into the page \"" + PageName(page) +
                        L"\" since it was last saved did not reach OneNote.";
    if (why && !IsImportError(why, ImportCancelled))
        told += L"\n\nThe import was ending because of this:\n\n" + GetErrorText(why);
    const std::error_code ended = WithMoreContext(failure, told);
    LogError(ended);
    return ended;
}

// OneNote's answers for an object that is no longer there: someone removed it meanwhile.
bool IsGone(HRESULT hr)
{
    return hr == static_cast<HRESULT>(0x80042004) || hr == static_cast<HRESULT>(0x80042005) ||
           hr == static_cast<HRESULT>(0x80042014);
}

// What of an entry, or of what the run made for itself, OneNote kept, after lead.
std::error_code TellWhatStays(const std::error_code& error, const AttemptRollback& attempt, const std::wstring& lead)
{
    const std::error_code ended = WithMoreContext(error, lead + Join(attempt.LeftBehind(), L"; ") + L".");
    LogError(ended);
    return ended;
}

// An entry whose attempt OneNote would not let go of ends the run: a retry would send its
// content a second time, and going on would count what never arrived. The user is told what stays.
std::error_code NotTakenBack(const std::error_code& error, const AttemptRollback& attempt)
{
    return TellWhatStays(error, attempt,
                         attempt.Stopped() ? L"The import was stopped before all of this entry's import was taken back: "
                                           : L"OneNote could not take back all of this entry's import: ");
}

void MoveIntoTarget(ImportResult& result, Target& target)
{
    target.position = std::move(result.position);
    target.startPosition = std::move(result.startPosition);
    target.referenceOutline = std::move(result.referenceOutline);
}

class Run
{
public:
    Run(Config& config, const ProgressCallback& progress, const ErrorCallback& onError)
        : config_(config), progress_(progress), onError_(onError)
    {
    }

    TOrError<unsigned> Perform()
    {
        try
        {
            Connect();
            if (auto error = ListEntries())
                return error;
            const auto count = static_cast<uint32_t>(config_.entries.size());
            StopCheck(progress_, L"Processing files...", 0, count);
            GetLog(true) << L"Processing " << count << L" entries";
            GetLog(true) << L"Preparing first target";
            dateText_ = TodayText();
            if (auto error = PrepareFirstTarget())
                return error;
            targetReady_ = true;
            // A folder listed again on a retry adds its content to the list.
            for (uint32_t index = 0; index < config_.entries.size(); ++index)
                if (auto error = ImportAt(index))
                    return RemoveWhatStayedEmpty(SaveBeforeEnding(error));
            if (auto error = SaveLastPage())
                return RemoveWhatStayedEmpty(error);
            if (auto error = RemoveWhatStayedEmpty({}))
                return error;
        }
        catch (const StopRequested& stop)
        {
            // The user stopped the run before it ended: what it made for itself is then waited
            // for without asking again, as a taken back attempt is.
            return RemoveWhatStayedEmpty(targetReady_ ? SaveBeforeEnding(stop.error) : stop.error, false);
        }
        catch (const _com_error& error)
        {
            const auto failure = MakeHResultError(error.Error());
            LogError(failure);
            return failure;
        }
        const auto count = static_cast<uint32_t>(config_.entries.size());
        // Everything is saved by now: a stop asked for at this point comes too late to stop anything.
        progress_(std::make_shared<Progress>(L"", count, count));
        return imported_;
    }

private:
    // Whether the user has stopped the run, asked between OneNote's calls; the answer is kept for
    // the run to end with.
    bool StopAsked()
    {
        const Result answer = progress_(nullptr);
        if (answer.AsksToStop())
            stopAnswer_ = answer.error;
        return answer.AsksToStop();
    }

    // The first target; what OneNote made for it is the run's own from the moment it was made, so
    // that a start that fails takes it back. An error that ends the run, or none.
    std::error_code PrepareFirstTarget()
    {
        Target nothingYet;
        AttemptRollback start(nothingYet);
        try
        {
            target_ = PrepareTarget(*application_, dateText_, config_, nothingYet.changes);
        }
        catch (const _com_error& error)
        {
            const std::error_code failure = MakeHResultError(error.Error());
            LogError(failure);
            start.Undo(*application_, [this] { return StopAsked(); });
            if (start.LeftBehind().empty())
                return failure;
            return TellWhatStays(failure, start,
                                 start.Stopped()
                                     ? L"The import was stopped before all it had made to import into was removed: "
                                     : L"OneNote could not remove what the import had made to import into: ");
        }
        ownPages_ = nothingYet.changes->createdPages;
        ownSections_ = nothingYet.changes->createdSections;
        target_.copies = copies_;
        return {};
    }

    void Connect()
    {
        const HRESULT hr = CreateOneNoteApplication(application_);
        if (FAILED(hr))
            _com_issue_error(hr);
    }

    std::error_code ListEntries()
    {
        GetLog(true) << L"Expanding folders";
        if (Result result = ExpandFolders(config_, progress_); result.AsksToStop())
            return Failed(result.error);
        GetLog(true) << L"Enumerating files";
        std::vector<Config::Entry> flat;
        if (Result result = EnumerateFiles(config_.entries, flat, 0, progress_); result.AsksToStop())
            return Failed(result.error);
        config_.entries = std::move(flat);
        return {};
    }

    static std::error_code Failed(const std::error_code& error)
    {
        LogError(error);
        return error;
    }

    // An error that ends the run, or none.
    std::error_code ImportAt(uint32_t index)
    {
        GetLog(true);
        GetLog(true) << L"Processing \"" << config_.entries[index].path << L"\"";
        const auto [name, kind] = DescribeEntry(config_.entries[index]);
        for (;;)
        {
            // The attempt moves on from the target as it is before it, and a failed attempt is
            // taken back whole: each attempt prepares its target again.
            GetLog(true) << L"Generating next target";
            AttemptRollback attempt(target_);
            TOrError<ImportResult> result = ImportResult{};
            try
            {
                target_ = PrepareNextTarget(*application_, kind, name, dateText_, attempt.Before());
                StopCheck(progress_, config_.entries[index].path, index, EntryCount());
                GetLog(true) << L"Importing entry";
                result = ImportEntry(*application_, config_.entries[index], config_.importFormat, target_,
                                     config_.outputFormat);
                if (result.HoldsValue())
                    SaveEntryPage();
            }
            catch (const StopRequested& stop)
            {
                target_ = attempt.Undo(*application_);
                // A stop alone would read as if nothing of the entry were left.
                if (!attempt.LeftBehind().empty())
                    throw StopRequested{NotTakenBack(MakeHResultError(attempt.Refusal()), attempt)};
                throw;
            }
            catch (...)
            {
                result = ErrorOfCurrentException();
            }
            if (result.HoldsValue())
            {
                MoveIntoTarget(result.Value(), target_);
                // A top folder's section holds the folder's files; it has none when all were skipped.
                if (target_.changes)
                {
                    for (const CreatedObject& section : target_.changes->createdSections)
                        ownSections_.push_back(section);
                    savedPages_.insert(savedPages_.end(), target_.changes->savedPages.begin(),
                                       target_.changes->savedPages.end());
                }
                target_.changes.reset();
                ++imported_;
                return {};
            }
            const std::error_code error = result.Error();
            LogError(error);
            target_ = attempt.Undo(*application_, [this] { return StopAsked(); });
            if (!attempt.LeftBehind().empty())
                return NotTakenBack(error, attempt);
            // Stopped while the attempt was taken back, though all of it was.
            if (attempt.Stopped())
                throw StopRequested{stopAnswer_};
            if (!onError_)
                return error;
            const ErrorHandling answer =
                onError_(config_.entries[index], std::error_condition(error.value(), error.category()));
            if (answer == ErrorHandling::Stop)
                return error;
            if (answer != ErrorHandling::Retry)
                return {};
            if (config_.entries[index].listingError != 0)
                ListFolderAgain(index);
        }
    }

    uint32_t EntryCount() const { return static_cast<uint32_t>(config_.entries.size()); }

    // With a page for each file (or printout page) the entry's page is saved by the entry whose
    // content it holds, so that a save that fails is that entry's failure: the user is asked
    // about the file the page holds, a retry sends it again and a skip takes it back.
    void SaveEntryPage()
    {
        if (config_.outputFormat == Config::InsertAllFilesIntoASinglePage || !target_.page || target_.pageSaved)
            return;
        GetLog(true) << L"Saving page contents (" << PageName(*target_.page) << L")";
        SavePage(*application_, target_);
        NoteSavedPage(target_.changes, target_.pageId);
        target_.pageSaved = true;
    }

    // A folder that could not be listed is listed again for its retry; what it holds now follows
    // it in the list.
    void ListFolderAgain(uint32_t index)
    {
        // Only the answer to whether to stop is asked for: the status keeps showing the entry.
        const ProgressCallback stopOnly = [this](std::shared_ptr<Progress>) { return progress_(nullptr); };
        Config::Entry folder{config_.entries[index].path, {}, config_.entries[index].depth, 0};
        if (Result result = ExpandEntry(folder, stopOnly); result.AsksToStop())
            throw StopRequested{result.error};
        std::vector<Config::Entry> content;
        if (Result result = EnumerateFiles(folder.entries, content, folder.depth + 1, stopOnly); result.AsksToStop())
            throw StopRequested{result.error};
        config_.entries[index].listingError = folder.listingError;
        config_.entries.insert(config_.entries.begin() + index + 1, content.begin(), content.end());
    }

    // Nothing shown as imported is lost when the run ends without saying so: a page that cannot be
    // saved then ends the run with OneNote's error and the page's name, and why it ended. A page
    // saved before (the last entry failed after it) holds nothing more.
    std::error_code SaveBeforeEnding(const std::error_code& why, const wchar_t* which = L"current")
    {
        if (!target_.page || target_.pageSaved)
            return why;
        try
        {
            GetLog(true) << L"Saving " << which << L" page (" << PageName(*target_.page) << L")";
            SavePage(*application_, target_);
            savedPages_.push_back(target_.pageId);
            return why;
        }
        catch (...)
        {
            lost_ = true;
            return NotReached(ErrorOfCurrentException(), *target_.page, why);
        }
    }

    // A run leaves no page or section it made for itself without content: it had nothing to
    // import, all of it was skipped or stopped, or what it imported did not reach OneNote. As in
    // taking back an attempt, OneNote's busy answers are waited out for 30 seconds in all, which a
    // stop of the user's ends (askStop: the user has not stopped the run already); what OneNote
    // keeps, or the waiting did not get to, stays. Returns why the run ended, told what stays and,
    // where what was imported did not reach OneNote, what went; what stays alone when the run had
    // no error of its own (or only the user's stop).
    std::error_code RemoveWhatStayedEmpty(const std::error_code& why, bool askStop = true)
    {
        BusyPatience patience(UndoPatienceMilliseconds,
                              askStop ? std::function<bool()>([this] { return StopAsked(); }) : std::function<bool()>());
        std::vector<std::wstring> removed;
        std::vector<std::wstring> stays;
        HRESULT refusal = S_OK;
        const auto removeIfEmpty = [&](const CreatedObject& object, const std::wstring& what,
                                       const std::wstring& staying, auto&& isEmpty) {
            if (object.id.length() == 0)
                return;
            // After a stop no call is made any more: what is not looked at yet stays.
            if (patience.Stopped())
            {
                if (HoldsWhatWasImported())
                    return;
                GetLog(true) << L"ERROR: " << staying;
                stays.push_back(staying);
                return;
            }
            bool looked = false;
            try
            {
                if (!isEmpty())
                    return;
                looked = true;
                GetLog(true) << L"Removing \"" << object.name << L"\", which the run made and left empty";
                CallWithPatience(
                    *application_, [&] { return application_->DeleteHierarchy(object.id, 0.0, VARIANT_TRUE); }, patience);
                removed.push_back(what);
            }
            catch (const _com_error& error)
            {
                LogError(MakeHResultError(error.Error()));
                if (IsGone(error.Error()))
                    return;
                if (!looked && HoldsWhatWasImported())
                    return;
                refusal = error.Error();
                GetLog(true) << L"ERROR: " << staying;
                stays.push_back(staying);
            }
        };
        for (const CreatedObject& page : ownPages_)
        {
            const bool titled = std::any_of(savedPages_.begin(), savedPages_.end(),
                                            [&](const _bstr_t& id) { return id == page.id; });
            removeIfEmpty(page, L"the page " + Quoted(page.name),
                          PageStays(page.name, titled),
                          [&] { return PageIsEmpty(page.id, patience); });
        }
        for (auto section = ownSections_.rbegin(); section != ownSections_.rend(); ++section)
            removeIfEmpty(*section, L"the section " + Quoted(section->name),
                          SectionStays(section->name),
                          [&] { return SectionIsEmpty(section->id, patience); });
        ownPages_.clear();
        ownSections_.clear();
        if (!stays.empty())
        {
            std::wstring told = patience.Stopped()
                                    ? L"The import was stopped before all it had made to import into was removed: "
                                    : L"OneNote could not remove what the import had made to import into: ";
            told += Join(stays, L"; ");
            // The user's stop alone would read as if nothing stayed.
            const bool ownError = why && !IsImportError(why, ImportCancelled);
            const std::error_code ended = WithMoreContext(ownError ? why : MakeHResultError(refusal), told + L".");
            LogError(ended);
            return ended;
        }
        if (!lost_ || removed.empty())
            return why;
        return WithMoreContext(why, L"Nothing of the import reached what it had made to import into, which was removed: " +
                                        Join(removed, L"; ") + L".");
    }

    // What a run that imported items and saved them all made for itself holds them, as far as
    // anyone can tell without OneNote's answer: a run that succeeded is not reported failed, nor
    // what it made named as staying, when OneNote stays busy through the end's look at it.
    bool HoldsWhatWasImported() const { return imported_ > 0 && !lost_; }

    // Whether the page holds no object, read while patience lasts.
    bool PageIsEmpty(const _bstr_t& id, BusyPatience& patience)
    {
        _bstr_t xml;
        GetPageContentWithRetry(*application_, id, xml, &patience);
        ON::Page stored;
        ParseElement(stored, xml);
        return std::none_of(stored.elements.begin(), stored.elements.end(),
                            [](const auto& element) { return element && PageObjectOf(*element); });
    }

    // Whether the section holds no page, read while patience lasts.
    bool SectionIsEmpty(const _bstr_t& id, BusyPatience& patience)
    {
        _bstr_t xml;
        GetHierarchyWithRetry(*application_, id, ON16::hsChildren, xml, &patience);
        return xml.length() == 0 || !std::wcsstr(static_cast<const wchar_t*>(xml), L"<one:Page ");
    }

    // The page being filled, once every entry is done; an error that ends the run, or none.
    std::error_code SaveLastPage()
    {
        if (!target_.page)
            return {};
        StopCheck(progress_, L"OneNote is processing import...", EntryCount(), EntryCount());
        const std::error_code failure = SaveBeforeEnding({}, L"last");
        targetReady_ = false;
        return failure;
    }

    Config& config_;
    const ProgressCallback& progress_;
    const ErrorCallback& onError_;
    // Made first: what ended runs left of their copies goes when a run starts.
    std::shared_ptr<FileCopies> copies_ = std::make_shared<FileCopies>();
    ON16::ApplicationPtr application_;
    std::wstring dateText_;
    Target target_;
    // Whether target_ holds a page that a stop must save first.
    bool targetReady_ = false;
    unsigned imported_ = 0;
    // What the run made for itself to fill, outside any entry's attempt.
    std::vector<CreatedObject> ownPages_;
    std::vector<CreatedObject> ownSections_;
    // The answer with which the user stopped the run while OneNote was being waited for.
    std::error_code stopAnswer_;
    // The pages the run saved outside any attempt, or an attempt that succeeded saved: they have
    // their titles in OneNote.
    std::vector<_bstr_t> savedPages_;
    // Whether what was imported into a page did not reach OneNote, as the run ended.
    bool lost_ = false;
};
} // namespace

TOrError<unsigned> RunImport(Config& config, const ProgressCallback& progress, const ErrorCallback& onError)
{
    return Run(config, progress, onError).Perform();
}

std::pair<std::wstring, EntryKind> DescribeEntry(const Config::Entry& entry)
{
    std::wstring path = entry.path;
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    const std::wstring name = PathFindFileNameW(path.c_str());
    const bool isFolder = PathIsDirectoryW(path.c_str()) != FALSE;
    const bool isTop = entry.depth == 0;
    return {name, isFolder ? (isTop ? TopFolder : InnerFolder) : (isTop ? TopFile : InnerFile)};
}

std::wstring FormatTemplate(const std::wstring& text, int32_t first, int32_t second, int32_t third)
{
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'[' && i + 2 < text.size() && text[i + 2] == L']' && text[i + 1] >= L'1' && text[i + 1] <= L'3')
        {
            const int32_t values[] = {first, second, third};
            result += std::to_wstring(values[text[i + 1] - L'1']);
            i += 2;
            continue;
        }
        result += text[i];
    }
    return result;
}
