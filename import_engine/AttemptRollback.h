#pragma once
// A failed attempt at an entry is taken back whole, so that a retry imports the entry once, a
// skipped or stopped entry leaves nothing of itself behind, and no page is sent twice: the pages
// and sections the attempt made are removed from OneNote, what it added to the page the run was
// filling is taken away (in memory, and in OneNote where the attempt saved that page), and the
// run's target is given back as it was before the attempt.

#include "framework/onenote/OneNoteAutomation.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/Target.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// How the user is told that OneNote keeps a page or section that the run made.
std::wstring PageStays(const std::wstring& name, bool titled);
std::wstring SectionStays(const std::wstring& name);

class AttemptRollback
{
public:
    // Notes the run's target before the attempt and has the target note, from now on, what the
    // attempt makes OneNote create and store.
    explicit AttemptRollback(Target& target);

    // The run's target before the attempt: the attempt moves on from it, and marks its page saved
    // when it saves it.
    Target& Before() { return before_; }

    // The target the run goes on with after the attempt failed. OneNote's calls wait out its busy
    // answers for 30 seconds in all (UndoPatienceMilliseconds); what OneNote still refuses to
    // remove stays, and is told by LeftBehind. stopAsked, when given, is asked after each busy
    // answer and pause whether the user stopped the run: then no further call is made, and
    // everything not yet taken back stays. A page that could not be read again after its objects
    // were removed is marked saved, so that nothing of the attempt is sent again. The copies of
    // files that nothing to be sent names any more are removed.
    Target Undo(ON16::IApplication& application, std::function<bool()> stopAsked = {});
    // The same within patience, which other steps share: what the taking back spends of it, and a
    // stop it meets, stay spent for them.
    Target Undo(ON16::IApplication& application, BusyPatience& patience);

    // What of the attempt stays in OneNote, as the user would find it ("the page \"a.txt\"
    // stays"), after an Undo that could not take everything back.
    const std::vector<std::wstring>& LeftBehind() const { return leftBehind_; }
    // Whether the user stopped the run while it was taken back.
    bool Stopped() const { return stopped_; }
    // The pages the attempt sent to OneNote: their titles stay in OneNote, also where what the
    // attempt added to them is taken back.
    const std::vector<_bstr_t>& SavedPages() const { return changes_->savedPages; }

private:
    // Takes back, on the page the run was filling, what the attempt added in memory.
    void RestorePageInMemory();
    // The same where the attempt had sent the page to OneNote: its objects are deleted there by
    // their IDs and the page is read again.
    void RestoreSavedPage(ON16::IApplication& application);
    // Runs one step of the taking back; a failure of OneNote notes what stays as leftBehind.
    template <typename Step>
    bool TakeBack(Step&& step, const std::wstring& leftBehind);

    Target before_;
    std::shared_ptr<AttemptChanges> changes_;
    std::vector<std::wstring> leftBehind_;
    // The patience of the Undo under way.
    BusyPatience* patience_ = nullptr;
    bool stopped_ = false;
};
