#pragma once
// What one attempt at an entry has made OneNote create and store, noted as it happens: a failed
// attempt is taken back from this (see AttemptRollback.h), also when it failed half-way through a
// step that had already changed OneNote.

#include <comdef.h>

#include <memory>
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

struct AttemptChanges
{
    // In the order OneNote made them.
    std::vector<CreatedObject> createdPages;
    std::vector<CreatedObject> createdSections;
    // Pages sent to OneNote during the attempt.
    std::vector<_bstr_t> savedPages;
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
