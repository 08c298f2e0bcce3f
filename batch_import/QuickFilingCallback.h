#pragma once
// The object OneNote's quick filing dialog calls back when it closes. It is a COM object of its
// own that knows the picker only weakly: OneNote's references never keep the window alive, and a
// call that arrives after the window is gone does nothing.

#include "batch_import/TargetPicking.h"
#include "framework/com/Dispatch.h"
#include "framework/onenote/OneNoteAutomation.h"

#include <memory>

class QuickFilingCallback : public Dispatch<ON16::IQuickFilingDialogCallback>
{
public:
    explicit QuickFilingCallback(std::weak_ptr<TargetPicker> picker);

    // Always S_OK: what the picker makes of the answer is no business of OneNote's.
    STDMETHODIMP OnDialogClosed(ON16::IQuickFilingDialog* dialog) override;

protected:
    void RegisterMembers() override;

private:
    std::weak_ptr<TargetPicker> picker_;
};
