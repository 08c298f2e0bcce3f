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
#include <optional>

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
    return TellWhatStays(error, attempt, L"OneNote could not take back all of this entry's import: ");
}

void MoveIntoTarget(ImportResult& result, Target& target)
{
    target.position = std::move(result.position);
    target.startPosition = std::move(result.startPosition);
    target.referenceOutline = std::move(result.referenceOutline);
}

bool Contains(const std::vector<_bstr_t>& ids, const _bstr_t& id)
{
    return std::any_of(ids.begin(), ids.end(), [&](const _bstr_t& each) { return each == id; });
}

// A page whose save failed as the run ended: what was imported into it since it was last saved
// did not reach OneNote.
struct LostPage
{
    // OneNote's answer.
    std::error_code failure;
    std::wstring name;
    _bstr_t id;
    // The user, asked whether to send the page again, stopped the import instead.
    bool givenUp = false;
};

// One step of the run's end that waits for OneNote: it has 30 seconds of its own, as the taking
// back of an attempt has, or, once the run ends early, what is left of the 30 seconds that all its
// steps share.
class EndWait
{
public:
    EndWait(std::optional<DWORD>& shared, std::function<bool()> stopAsked)
        : shared_(shared), patience_(shared ? *shared : UndoPatienceMilliseconds, std::move(stopAsked))
    {
    }
    ~EndWait()
    {
        if (shared_)
            *shared_ = patience_.Left();
    }
    EndWait(const EndWait&) = delete;
    EndWait& operator=(const EndWait&) = delete;

    BusyPatience& Patience() { return patience_; }

private:
    std::optional<DWORD>& shared_;
    BusyPatience patience_;
};

class Run
{
public:
    Run(Config& config, const ProgressCallback& progress, const ErrorCallback& onError, RunEnding* ending)
        : config_(config), progress_(progress), onError_(onError), ending_(ending)
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
                {
                    EndEarly();
                    return End(SaveBeforeEnding(error));
                }
            SaveLastPage();
            if (auto error = End({}))
                return error;
        }
        catch (const StopRequested& stop)
        {
            // The user stopped the run before it ended: what it was at is taken back, its page saved
            // and what it made for itself looked at still, and only a second stop ends that waiting.
            stopUsed_ = true;
            EndEarly();
            return End(targetReady_ ? SaveBeforeEnding(stop.error) : stop.error);
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

    // Whether the user wants the run's end to stop waiting for OneNote. The user's stop ends the
    // waiting under way (every entry being done, that is all it does); once it has ended the run's
    // entries or a waiting, only a further stop (or the window's closing) ends the next waiting.
    bool EndWaitingStopped()
    {
        if (!stopUsed_)
        {
            if (!StopAsked())
                return false;
            stopUsed_ = true;
            return true;
        }
        return ending_ && ending_->stopWaiting && ending_->stopWaiting();
    }

    // The run ends before its last entry: from now on all it waits for OneNote shares one budget.
    void EndEarly()
    {
        if (!sharedWait_)
            sharedWait_ = UndoPatienceMilliseconds;
    }

    // A step of the run's end: see EndWait.
    EndWait StartEndWait()
    {
        return EndWait(sharedWait_, [this] { return EndWaitingStopped(); });
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
                stopUsed_ = true;
                EndEarly();
                KeepTitles(attempt);
                {
                    // The taking back is the first step of the stopped run's end.
                    EndWait wait = StartEndWait();
                    target_ = attempt.Undo(*application_, wait.Patience());
                }
                // A stop alone would read as if nothing of the entry were left.
                if (!attempt.LeftBehind().empty())
                    throw StopRequested{StoppedLeaving(stop.error, attempt)};
                throw;
            }
            catch (...)
            {
                result = ErrorOfCurrentException();
            }
            if (result.HoldsValue())
            {
                MoveIntoTarget(result.Value(), target_);
                if (target_.changes)
                {
                    // A top folder's section holds the folder's files; it has none when all were skipped.
                    for (const CreatedObject& section : target_.changes->createdSections)
                    {
                        ownSections_.push_back(section);
                        if (IsFolderKind(kind))
                            folderSections_.push_back(section.id);
                    }
                    const std::vector<_bstr_t>& saved = target_.changes->savedPages;
                    savedPages_.insert(savedPages_.end(), saved.begin(), saved.end());
                    // What a file brought is in OneNote, on the pages the attempt saved: those pages
                    // and the section that holds them are the user's now. A folder brings nothing.
                    if (!IsFolderKind(kind) && !saved.empty())
                    {
                        holdingImports_.insert(holdingImports_.end(), saved.begin(), saved.end());
                        holdingImports_.push_back(target_.sectionId);
                    }
                }
                target_.changes.reset();
                // What the entry brought to the page the run goes on filling is sent as the run ends.
                if (target_.page && !target_.pageSaved)
                    pageHoldsUnsent_ = true;
                ++imported_;
                if (!IsFolderKind(kind))
                    ++importedFiles_;
                return {};
            }
            const std::error_code error = result.Error();
            LogError(error);
            KeepTitles(attempt);
            target_ = attempt.Undo(*application_, [this] { return StopAsked(); });
            // The user's stop ended this waiting.
            if (attempt.Stopped())
                stopUsed_ = true;
            if (!attempt.LeftBehind().empty())
            {
                // The user stopped the run before the entry was asked about: it ends as stopped.
                if (attempt.Stopped())
                    throw StopRequested{StoppedLeaving(stopAnswer_, attempt)};
                return NotTakenBack(error, attempt);
            }
            // Stopped while the attempt was taken back, though all of it was.
            if (attempt.Stopped())
                throw StopRequested{stopAnswer_};
            if (!onError_)
                return error;
            const ErrorHandling answer =
                onError_(config_.entries[index], std::error_condition(error.value(), error.category()));
            if (answer == ErrorHandling::Stop)
            {
                stoppedAt_ = error;
                return error;
            }
            if (answer != ErrorHandling::Retry)
                return {};
            if (config_.entries[index].listingError != 0)
                ListFolderAgain(index);
        }
    }

    // The user stopped the run before all of an entry's attempt was taken back: the run ends as the
    // user asked, and what of the entry stays is told beside that, not as OneNote's failure.
    std::error_code StoppedLeaving(const std::error_code& stop, const AttemptRollback& attempt)
    {
        entryStays_ = (attempt.Stopped() ? L"The import was stopped before all of this entry's import was taken back: "
                                         : L"OneNote could not take back all of this entry's import: ") +
                      Join(attempt.LeftBehind(), L"; ") + L".";
        GetLog(true) << L"ERROR: " << entryStays_;
        return WithMoreContext(stop, entryStays_);
    }

    // The pages an attempt saved keep their titles in OneNote, whatever of the attempt is taken
    // back: one that stays is named by its title.
    void KeepTitles(const AttemptRollback& attempt)
    {
        savedPages_.insert(savedPages_.end(), attempt.SavedPages().begin(), attempt.SavedPages().end());
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
    // saved then ends the run with OneNote's error and the page's name, and why it ended. Where the
    // user stopped the run, the user is asked about it as at the last save. A page saved before
    // (the last entry failed after it), or one that no entry has brought anything to since the run
    // had it from OneNote or sent it, holds nothing more: it is neither sent nor asked about.
    std::error_code SaveBeforeEnding(const std::error_code& why)
    {
        if (!target_.page || target_.pageSaved || !pageHoldsUnsent_)
            return why;
        SaveAsTheRunEnds(L"Saving current page (", stopUsed_ || StoppedByTheUser(why));
        return why;
    }

    // The page being filled, once every entry is done. A stop the user asks for now only ends the
    // waiting for OneNote: all that was asked for is imported.
    void SaveLastPage()
    {
        if (!target_.page)
            return;
        progress_(std::make_shared<Progress>(L"OneNote is processing import...", EntryCount(), EntryCount()));
        targetReady_ = false;
        if (target_.pageSaved)
            return;
        SaveAsTheRunEnds(L"Saving last page (", true);
    }

    // OneNote's busy answers are waited out as the run's end waits them out; when OneNote still
    // does not take the page (also when the user stopped that waiting), the user is asked, when
    // ask, whether to send it again, and only a stop gives up what has not reached OneNote.
    void SaveAsTheRunEnds(const wchar_t* saving, bool ask)
    {
        for (;;)
        {
            try
            {
                EndWait wait = StartEndWait();
                GetLog(true) << saving << PageName(*target_.page) << L")";
                SavePage(*application_, target_, &wait.Patience());
                PageReachedOneNote();
                return;
            }
            catch (...)
            {
                const std::error_code failure = ErrorOfCurrentException();
                LogError(failure);
                if (!ask || !onError_)
                {
                    Lose(failure, false);
                    return;
                }
                if (AskAboutLastSave(failure) != ErrorHandling::Retry)
                {
                    Lose(failure, true);
                    return;
                }
                // Sent again at the user's word: the waiting starts afresh, and a stop ends it again.
                if (sharedWait_)
                    sharedWait_ = UndoPatienceMilliseconds;
            }
        }
    }

    ErrorHandling AskAboutLastSave(const std::error_code& failure)
    {
        const std::error_code asked = WithMoreContext(
            failure, L"What was imported into the page " + Quoted(PageName(*target_.page)) + L" has not reached OneNote yet.");
        return onError_(Config::Entry{}, std::error_condition(asked.value(), asked.category()));
    }

    // The page holds what the run imported into it: it is the user's.
    void PageReachedOneNote()
    {
        pageHoldsUnsent_ = false;
        savedPages_.push_back(target_.pageId);
        if (importedFiles_ > 0)
            holdingImports_.push_back(target_.pageId);
    }

    void Lose(const std::error_code& failure, bool givenUp)
    {
        lost_ = LostPage{failure, PageName(*target_.page), target_.pageId, givenUp};
    }

    // Whether the run ends because the user stopped it: with Stop, or at an entry's question.
    bool StoppedByTheUser(const std::error_code& why) const
    {
        return why && (IsImportError(why, ImportCancelled) || why == stoppedAt_);
    }

    // A run leaves no page or section it made for itself without content: it had nothing to
    // import, all of it was skipped or stopped, or what it imported did not reach OneNote. Each is
    // decided on its own: one known to hold what a file brought is the user's and left alone,
    // without a call; any other is read and, when empty, removed; one that OneNote keeps, or that
    // the end's waiting (see EndWait) did not get to, stays and is named. Returns how the run
    // ended, told in the order it happened.
    std::error_code End(const std::error_code& why)
    {
        EndWait wait = StartEndWait();
        BusyPatience& patience = wait.Patience();
        std::vector<_bstr_t> removed;
        std::vector<std::wstring> stays;
        HRESULT refusal = S_OK;
        const auto settle = [&](const CreatedObject& object, const std::wstring& staying, auto&& isEmpty) {
            if (object.id.length() == 0 || Contains(holdingImports_, object.id))
                return;
            // After a stop no call is made any more: what is not looked at yet stays.
            if (patience.Stopped())
            {
                GetLog(true) << L"ERROR: " << staying;
                stays.push_back(staying);
                return;
            }
            try
            {
                // What is on it came from elsewhere (or is a folder's heading): it stays unnamed.
                if (!isEmpty())
                    return;
                GetLog(true) << L"Removing \"" << object.name << L"\", which the run made and left empty";
                CallWithPatience(
                    *application_, [&] { return application_->DeleteHierarchy(object.id, 0.0, VARIANT_TRUE); }, patience);
                removed.push_back(object.id);
            }
            catch (const _com_error& error)
            {
                LogError(MakeHResultError(error.Error()));
                if (IsGone(error.Error()))
                    return;
                refusal = error.Error();
                GetLog(true) << L"ERROR: " << staying;
                stays.push_back(staying);
            }
        };
        for (const CreatedObject& page : ownPages_)
            settle(page, PageStays(page.name, Contains(savedPages_, page.id)), [&] { return PageIsEmpty(page.id, patience); });
        for (auto section = ownSections_.rbegin(); section != ownSections_.rend(); ++section)
            settle(*section, SectionStays(section->name), [&] { return SectionIsEmpty(section->id, patience); });
        ownPages_.clear();
        ownSections_.clear();
        // A folder counts as imported only where what it made stands at the end.
        for (const _bstr_t& id : removed)
            if (Contains(folderSections_, id) && imported_ > 0)
                --imported_;

        std::wstring staysText;
        if (!stays.empty())
            staysText = (patience.Stopped() ? L"The import was stopped before all it had made to import into was removed: "
                                            : L"OneNote could not remove what the import had made to import into: ") +
                        Join(stays, L"; ") + L".";
        if (lost_)
        {
            const bool pageRemoved = Contains(removed, lost_->id);
            std::wstring told = L"What was imported into the page " + Quoted(lost_->name);
            told += pageRemoved ? L" did not reach OneNote" : L" since it was last saved did not reach OneNote";
            if (lost_->givenUp)
                told += L": it was given up when the import was stopped instead of sending the page again";
            told += pageRemoved ? L", and the page, which the import had made for it, was removed." : L".";
            // Why the run was ending, unless the user stopped it or it was not ending early.
            if (why && !IsImportError(why, ImportCancelled))
                told += L"\n\nThe import was ending because of this:\n\n" + GetErrorText(why);
            for (const std::wstring* stays : {&entryStays_, &staysText})
                if (!stays->empty())
                    told += L"\n\n" + *stays;
            const std::error_code ended = WithMoreContext(lost_->failure, told);
            LogError(ended);
            return ended;
        }
        if (staysText.empty() && entryStays_.empty())
            return why;
        // What the user asked for arrived, or the user stopped the run: the result tells that, and
        // what of an entry or of what the run made for itself stays is told beside it, not as a
        // failure.
        if ((!why && importedFiles_ > 0) || StoppedByTheUser(why))
        {
            if (!staysText.empty())
                GetLog(true) << staysText;
            if (ending_)
                ending_->notice = entryStays_.empty()  ? staysText
                                  : staysText.empty() ? entryStays_
                                                      : entryStays_ + L"\n\n" + staysText;
            return why;
        }
        // The run's error tells already what of an entry stays.
        if (staysText.empty())
            return why;
        // Nothing arrived, or the run failed: the run's leftovers are part of why.
        const std::error_code ended = WithMoreContext(why ? why : MakeHResultError(refusal), staysText);
        LogError(ended);
        return ended;
    }

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

    Config& config_;
    const ProgressCallback& progress_;
    const ErrorCallback& onError_;
    RunEnding* ending_;
    // Made first: what ended runs left of their copies goes when a run starts.
    std::shared_ptr<FileCopies> copies_ = std::make_shared<FileCopies>();
    ON16::ApplicationPtr application_;
    std::wstring dateText_;
    Target target_;
    // Whether target_ holds a page that a stop must save first.
    bool targetReady_ = false;
    unsigned imported_ = 0;
    // The imported entries that are files: a folder's entry brings no content of the user's.
    unsigned importedFiles_ = 0;
    // What the run made for itself to fill, outside any entry's attempt.
    std::vector<CreatedObject> ownPages_;
    std::vector<CreatedObject> ownSections_;
    // The pages, and the sections holding them, that what files brought reached in OneNote.
    std::vector<_bstr_t> holdingImports_;
    // The answer with which the user stopped the run while OneNote was being waited for.
    std::error_code stopAnswer_;
    // The error of the entry at whose question the user stopped the run.
    std::error_code stoppedAt_;
    // Whether the user's stop has ended something (the run's entries, or a waiting): only a further
    // stop ends a waiting after it.
    bool stopUsed_ = false;
    // Once the run ends early: what is left of the 30 seconds that its end waits for OneNote in all.
    std::optional<DWORD> sharedWait_;
    // The pages the run or its attempts saved: they have their titles in OneNote.
    std::vector<_bstr_t> savedPages_;
    // The page whose save failed as the run ended.
    std::optional<LostPage> lost_;
    // The sections that folders' entries made: a folder whose section the run's end removes again
    // is not counted as imported.
    std::vector<_bstr_t> folderSections_;
    // Whether the page being filled holds what entries brought and the run has not sent yet.
    bool pageHoldsUnsent_ = false;
    // What of an entry stays after the user stopped the run before it was all taken back.
    std::wstring entryStays_;
};
} // namespace

TOrError<unsigned> RunImport(Config& config, const ProgressCallback& progress, const ErrorCallback& onError)
{
    return Run(config, progress, onError, nullptr).Perform();
}

TOrError<unsigned> RunImport(Config& config, const ProgressCallback& progress, const ErrorCallback& onError,
                             RunEnding& ending)
{
    ending.notice.clear();
    return Run(config, progress, onError, &ending).Perform();
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
