#pragma once
// The calls Lumday makes into OneNote, always in the 2010 schema. Every worker connects on its
// own, in its own apartment; a failing call is raised as a COM error carrying its HRESULT.

#include "framework/onenote/OneNoteApplication.h"

#include <comdef.h>

#include <string>

// Workers connect with the framework's CreateOneNoteApplication, as Sheafin does.
using OneNoteApplicationPtr = ON16::ApplicationPtr;

// How long in all a call waits out OneNote being busy.
constexpr DWORD BusyPatienceMilliseconds = 30000;

// The hierarchy below startId ("" for all notebooks) in the given scope. OneNote answers
// 0x80010001 (RPC_E_CALL_REJECTED) while it is busy with something of its own (a dialog, a sync):
// it is asked again after 500 ms, then every 2.5 s, as Sheafin's import asks it, for up to
// BusyPatienceMilliseconds, and then the busy answer is raised. The program's end (the quitting
// flag) cuts a wait short with E_ABORT.
_bstr_t GetHierarchy(ON16::IApplication* application, const std::wstring& startId, ON16::HierarchyScope scope);

// The hierarchy of the pages of all notebooks that OneNote's search finds for text; pages not yet
// indexed are left out and OneNote shows nothing.
_bstr_t FindPages(ON16::IApplication* application, const std::wstring& text);
