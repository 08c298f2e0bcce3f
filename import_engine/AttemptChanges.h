#pragma once
// What one attempt at an entry has made OneNote create and store, noted as it happens: a failed
// attempt is taken back from this (see AttemptRollback.h), also when it failed half-way through a
// step that had already changed OneNote.

#include "onenote_model/Page.h"

#include <comdef.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A page or section that OneNote made, with the name the user would find it by.
struct CreatedObject
{
    // Unset for a section OneNote made but that was not found again: it is then looked for by
    // its name among the sections of parentId.
    _bstr_t id;
    std::wstring name;
    _bstr_t parentId;
};

// How far the page that the run was filling before the attempt is filled by others than the
// attempt: what comes after this on the page, and at the end of the outline that collects text,
// is the attempt's. Set when the attempt begins, and moved to the page's end each time the
// attempt has sent the page and read it back.
struct FillMark
{
    _bstr_t pageId;
    size_t elementCount = 0;
    std::shared_ptr<ON::PageElement> lastElement;
    std::shared_ptr<ON::Outline> outline;
    size_t blockCount = 0;
    std::shared_ptr<ON::OEChildren> lastBlock;
    size_t lastBlockLines = 0;
};

FillMark MarkFill(const _bstr_t& pageId, const std::shared_ptr<ON::Page>& page, const std::shared_ptr<ON::Outline>& outline);

// The page the attempt shares with the run as it was sent, until OneNote's IDs for what the
// attempt added to it are known: OneNote gives new objects their IDs when it stores them, and
// they are found on the page it hands back by the order in which they were sent.
struct SentPage
{
    struct Element
    {
        std::wstring objectId; // empty for an object OneNote did not have yet
        int kind = 0;
    };
    std::vector<Element> elements;
    // The first element the attempt added.
    size_t attemptFrom = 0;
    // The outline that collected text before the attempt, and the paragraphs the attempt added
    // at its end (each one line, a link or a text, which OneNote keeps as one paragraph).
    std::optional<size_t> outline;
    size_t outlineTail = 0;
    // False when the page no longer shows where the attempt's objects begin.
    bool known = true;
};

struct AttemptChanges
{
    // In the order OneNote made them.
    std::vector<CreatedObject> createdPages;
    std::vector<CreatedObject> createdSections;
    // Pages sent to OneNote during the attempt.
    std::vector<_bstr_t> savedPages;

    FillMark fill;
    std::optional<SentPage> unmatched;
    // What the attempt added to the page it shares with the run and sent, by OneNote's IDs, so
    // that taking it back removes nothing that someone else put on the page meanwhile.
    std::vector<std::wstring> sentObjectIds;
    // OneNote's ID of the outline that collected text before the attempt, once it was sent.
    std::wstring outlineId;
    // What the attempt sent could not all be told apart on the page OneNote handed back.
    bool sentObjectsUnknown = false;
};

// Each notes into the attempt a target belongs to, when it belongs to one.
inline void NoteCreatedPage(const std::shared_ptr<AttemptChanges>& changes, const _bstr_t& id, const std::wstring& name)
{
    if (changes)
        changes->createdPages.push_back({id, name, {}});
}

// Noted as soon as OneNote made it, before its ID is known (FoundCreatedSection gives it).
inline void NoteCreatedSection(const std::shared_ptr<AttemptChanges>& changes, const _bstr_t& parentId,
                               const std::wstring& name)
{
    if (changes)
        changes->createdSections.push_back({{}, name, parentId});
}

inline void FoundCreatedSection(const std::shared_ptr<AttemptChanges>& changes, const _bstr_t& id)
{
    if (changes && !changes->createdSections.empty())
        changes->createdSections.back().id = id;
}

inline void NoteSavedPage(const std::shared_ptr<AttemptChanges>& changes, const _bstr_t& id)
{
    if (changes)
        changes->savedPages.push_back(id);
}

// Whether the page is the one the attempt shares with the run, so that what it sends there
// must be told apart from the rest of the page.
bool IsSharedPage(const std::shared_ptr<AttemptChanges>& changes, const _bstr_t& pageId);
// What of the shared page is the attempt's, as it is about to be sent.
SentPage DescribeSentPage(const AttemptChanges& changes, const ON::Page& page);
// The shared page as OneNote handed it back after it was sent: the IDs OneNote gave what the
// attempt added are noted, and the fill mark moves to the end of the page.
void NoteStoredPage(AttemptChanges& changes, const std::shared_ptr<ON::Page>& stored);
