#pragma once
// Owning pointers to OneNote's automation interfaces, and the connection to OneNote that both
// programs make.

#include "framework/onenote/OneNoteAutomation.h"

#include <comdef.h>

namespace ON16
{
using ApplicationPtr = _com_ptr_t<_com_IIID<IApplication, &__uuidof(IApplication)>>;
using WindowsPtr = _com_ptr_t<_com_IIID<Windows, &__uuidof(Windows)>>;
using WindowPtr = _com_ptr_t<_com_IIID<Window, &__uuidof(Window)>>;
using QuickFilingDialogPtr = _com_ptr_t<_com_IIID<IQuickFilingDialog, &__uuidof(IQuickFilingDialog)>>;
} // namespace ON16

// Creates the object of a class in any server context (0x17) as IUnknown, runs it (OleRun) and
// asks it for iid. Returns the first failing HRESULT of the three steps, with *object null.
HRESULT CreateRunningObject(REFCLSID clsid, REFIID iid, void** object);

// Connects to OneNote's application object (starting OneNote when it does not run). On failure
// application is left empty and the HRESULT tells why: REGDB_E_CLASSNOTREG when OneNote is not
// installed, the server's own failure when it does not start.
HRESULT CreateOneNoteApplication(ON16::ApplicationPtr& application);
