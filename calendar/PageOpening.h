#pragma once
// Opening a page of the calendar in OneNote's window, which is brought to the front.

namespace ON
{
class Page;
}

// Shows the page in OneNote's current window, or in a new one when OneNote has none or its
// current one is a side note; a failure is shown in a message box. A page without an ID is left.
void OpenPageInOneNote(const ON::Page& page);
