#pragma once
// Where an import goes: picked in OneNote's own quick filing dialog, which calls back when it
// closes; and how the window shows the picked target, as a link.

#include "framework/onenote/OneNoteApplication.h"
#include "import_engine/ImportEngine.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// "Notebook: ", "Section Group: ", "Section: ", "Page: ", or nothing for other kinds.
std::wstring TargetKindPrefix(int32_t kind);
// "Import into " with the kind and the target's name as a link to it. The name and the link are
// escaped so that nothing in them can end the link or start another.
std::wstring TargetLabelMarkup(const HierarchyObject& target);
// The menu item of the pick command once a target is known.
std::wstring TargetMenuText(const HierarchyObject& target);

class TargetPicker : public std::enable_shared_from_this<TargetPicker>
{
public:
    struct Choice
    {
        HierarchyObject target;
        std::wstring id;
        // The pick was opened to start an import.
        bool startImport = false;
    };
    // UI thread, once a target is chosen.
    using ChosenHandler = std::function<void(const Choice& choice)>;

    // window owns the picker and the error messages; it must outlive this object.
    TargetPicker(HWND window, ChosenHandler chosen);
    TargetPicker(const TargetPicker&) = delete;
    TargetPicker& operator=(const TargetPicker&) = delete;

    // Opens the picker for the run's output format: a single page takes pages, the others stop at
    // sections. It returns at once; a failure is shown in an "Error" box.
    void Pick(int32_t outputFormat, bool startWhenChosen);
    // OneNote's call when its dialog closes; errors are shown, never handed back to OneNote.
    void OnDialogClosed(ON16::IQuickFilingDialog* dialog);
    // OneNote is held only while the picker is open.
    bool IsOpen() const { return application_ != nullptr; }

private:
    void Open(int32_t outputFormat);
    void Receive(ON16::IQuickFilingDialog* dialog);

    HWND window_;
    ChosenHandler chosen_;
    ON16::ApplicationPtr application_;
    bool pendingStart_ = false;
};
