#pragma once
// What the user picked in OneNote's location dialog, which hands back only an object ID: its kind,
// its name and the OneNote hyperlink that leads to it.

#include "framework/onenote/OneNoteAutomation.h"

#include <comdef.h>

#include <string>

struct HierarchyObject
{
    // heNotebooks, heSectionGroups, heSections or hePages.
    ON16::HierarchyElement kind = ON16::heNotebooks;
    std::wstring name;
    std::wstring link;
};

// Raises E_UNEXPECTED for an answer that is none of the four kinds, and what OneNote raises.
HierarchyObject ResolveHierarchyObject(ON16::IApplication& application, const _bstr_t& id);
