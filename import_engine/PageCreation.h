#pragma once
// New pages and sections of an import run, kept in the target: a page gets its title and, when
// asked, a generator that continues a file on further pages; a section gets a name no sibling
// section has, is written into OneNote's hierarchy, found again by that name and opened.

#include "framework/onenote/OneNoteAutomation.h"
#include "import_engine/Target.h"

#include <string>
#include <vector>

// OneNote indents a page at most this deep under the page before it.
constexpr int32_t DeepestPageLevel = 3;

// Creates a page in the target's section, makes it the target's page and titles it. With
// installGenerator the target's page generator continues on pages titled title + " - Page " + n.
void CreateNewPage(ON16::IApplication& application, Target& target, const std::wstring& title,
                   bool installGenerator);

// Creates a section under the target's parent, named name or, when that is taken, told apart by
// suffix, and makes it the target's section with no page open.
void CreateNewSection(ON16::IApplication& application, Target& target, const std::wstring& name,
                      const std::wstring& suffix);

// The first of name, name + " " + suffix, then that + " (2)", " (3)", ... (without a suffix:
// name, name + " (2)", " (3)", ...) that none of the taken names is. Section names are file names,
// so letter case does not tell them apart.
std::wstring ChooseSectionName(const std::vector<std::wstring>& taken, const std::wstring& name,
                               const std::wstring& suffix);

// The text with each "[1]" replaced by a1 and each "[2]" by a2 in decimal digits.
std::wstring FormatNameTemplate(const std::wstring& text, const std::wstring& a1, const int& a2);
