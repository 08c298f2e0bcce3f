#include "batch_import/QuickFilingCallback.h"

QuickFilingCallback::QuickFilingCallback(std::weak_ptr<TargetPicker> picker) : picker_(std::move(picker)) {}

STDMETHODIMP QuickFilingCallback::OnDialogClosed(ON16::IQuickFilingDialog* dialog)
{
    try
    {
        if (const auto picker = picker_.lock())
            picker->OnDialogClosed(dialog);
    }
    catch (...)
    {
        // Nothing may unwind into OneNote.
    }
    return S_OK;
}

void QuickFilingCallback::RegisterMembers()
{
    RegisterMember(L"OnDialogClosed", ON16::DISPID_OnDialogClosed, [this](DISPPARAMS* params, VARIANT*) {
        if (!params || params->cArgs != 1)
            _com_issue_error(DISP_E_BADPARAMCOUNT);
        const VARIANT& argument = params->rgvarg[0];
        ON16::QuickFilingDialogPtr dialog;
        if (argument.vt == VT_DISPATCH && argument.pdispVal)
            dialog = argument.pdispVal;
        else if (argument.vt == VT_UNKNOWN && argument.punkVal)
            dialog = argument.punkVal;
        OnDialogClosed(dialog);
    });
}
