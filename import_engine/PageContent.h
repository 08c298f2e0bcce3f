#pragma once
// A page is never edited in OneNote piece by piece: its XML is fetched and parsed into the
// target's page object, elements are added to that tree, and the whole page is sent back.

#include "framework/onenote/OneNoteAutomation.h"
#include "import_engine/OneNoteCalls.h"
#include "import_engine/Target.h"

// Sends the whole page to OneNote; a failure is raised with IApplication's error information.
// OneNote's busy answers are waited out while patience lasts when given (else as every call).
void SavePage(ON16::IApplication& application, const ON::Page& page, BusyPatience* patience = nullptr);
// Sends the target's page. OneNote then holds its own copies of the files the page names, and the
// run's copies of them are removed.
void SavePage(ON16::IApplication& application, const Target& target, BusyPatience* patience = nullptr);

// Fetches the target's page into its page object (the same object, so that whoever shares it sees
// the new content), after sending what was built so far when saveFirst. Gives the page the import's
// quick styles and, on the builds that need explicit positions, the position below its content.
// A target without a page ID loses its page and positions and nothing is called. The read, and
// the asking which OneNote runs, wait out OneNote's busy answers while patience lasts when given
// (else as every call).
void RetrievePageContents(ON16::IApplication& application, Target& target, bool saveFirst,
                          BusyPatience* patience = nullptr);

// Adds the import's eight quick styles that the page does not carry under the same name, numbered
// after the page's own. Each page gets objects of its own.
void AddQuickStyleDefs(ON::Page& page);

// The object an element holder carries, as the page-object part every kind has; null for an
// empty holder.
const ON::PageObject* PageObjectOf(const ON::PageElement& element);

// The left margin just below the lowest object of the page, never above y 86.
ON::Position MakePositionBelowContent(const ON::Page& page);
