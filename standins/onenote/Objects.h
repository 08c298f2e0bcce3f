#pragma once
// The COM objects of the OneNote stand-in: the application, its windows collection, a window and
// the quick filing dialog, each a dual interface of framework/onenote/OneNoteAutomation.h.

#include "framework/onenote/OneNoteAutomation.h"
#include "standins/onenote/CallLog.h"
#include "standins/onenote/DualDispatch.h"
#include "standins/onenote/Scenario.h"
#include "standins/onenote/Store.h"

#include <comdef.h>

#include <optional>
#include <string>
#include <vector>

namespace StandIn
{
// One call as the call log records it, with the scenario's injected failure if there is one.
class Call
{
public:
    Call(const wchar_t* method, std::vector<std::wstring> arguments);
    // The failure the scenario injects for this call, if any.
    const std::optional<InjectedFailure>& Injected() const { return injected_; }
    // Logs the call with its result and returns the result.
    HRESULT Done(HRESULT hr);
    HRESULT Failed() { return Done(injected_->hr); }

private:
    CallRecord record_;
    std::optional<InjectedFailure> injected_;
};

std::wstring Text(BSTR text);
std::wstring Number(long long value);
std::wstring Flag(VARIANT_BOOL value);
BSTR MakeBstr(const std::wstring& text);
class QuickFilingDialog;
struct QuickFilingPickerOptions
{
    std::wstring title;
    std::wstring description;
    std::wstring buttonText;
    LONG treeDepth = 4;
    LONG allowed = 0;
    HWND owner = nullptr;
};
// Shows the location picker that a person sees when no test runs the stand-in; the window calls
// the dialog's Close when the user picks a location or cancels. Returns the picker window.
HWND ShowQuickFilingPicker(QuickFilingDialog* dialog, const QuickFilingPickerOptions& options);

// The top-level window that Window::WindowHandle reports: the stand-in's onenote.exe when it
// runs, else a window of the stand-in's own in this process.
HWND OneNoteWindow();
// Shows the current page after navigation, as OneNote does: in a new window that opens for it, or
// in the current window when there is one.
void ShowNavigatedPage(bool newWindow);

class Application : public DualDispatch<ON16::IApplication>
{
public:
    STDMETHODIMP GetHierarchy(BSTR startNodeID, ON16::HierarchyScope scope, BSTR* xmlOut, ON16::XMLSchema schema) override;
    STDMETHODIMP UpdateHierarchy(BSTR changesXml, ON16::XMLSchema schema) override;
    STDMETHODIMP OpenHierarchy(BSTR path, BSTR relativeToObjectID, BSTR* objectIDOut, ON16::CreateFileType ifNotExist) override;
    STDMETHODIMP DeleteHierarchy(BSTR objectID, DATE expectedLastModified, VARIANT_BOOL deletePermanently) override;
    STDMETHODIMP CreateNewPage(BSTR sectionID, BSTR* pageIDOut, ON16::NewPageStyle style) override;
    STDMETHODIMP CloseNotebook(BSTR notebookID, VARIANT_BOOL force) override;
    STDMETHODIMP GetHierarchyParent(BSTR objectID, BSTR* parentIDOut) override;
    STDMETHODIMP GetPageContent(BSTR pageID, BSTR* xmlOut, ON16::PageInfo info, ON16::XMLSchema schema) override;
    STDMETHODIMP UpdatePageContent(BSTR pageXml, DATE expectedLastModified, ON16::XMLSchema schema, VARIANT_BOOL force) override;
    STDMETHODIMP GetBinaryPageContent(BSTR pageID, BSTR callbackID, BSTR* base64Out) override;
    STDMETHODIMP DeletePageContent(BSTR pageID, BSTR objectID, DATE expectedLastModified, VARIANT_BOOL force) override;
    STDMETHODIMP NavigateTo(BSTR hierarchyObjectID, BSTR objectID, VARIANT_BOOL newWindow) override;
    STDMETHODIMP NavigateToUrl(BSTR url, VARIANT_BOOL newWindow) override;
    STDMETHODIMP Publish(BSTR hierarchyID, BSTR targetFilePath, ON16::PublishFormat format, BSTR clsidOfExporter) override;
    STDMETHODIMP OpenPackage(BSTR packagePath, BSTR destPath, BSTR* pathOut) override;
    STDMETHODIMP GetHyperlinkToObject(BSTR hierarchyID, BSTR pageContentObjectID, BSTR* hyperlinkOut) override;
    STDMETHODIMP FindPages(BSTR startNodeID, BSTR searchString, BSTR* xmlOut, VARIANT_BOOL includeUnindexed,
                           VARIANT_BOOL display, ON16::XMLSchema schema) override;
    STDMETHODIMP FindMeta(BSTR startNodeID, BSTR searchStringName, BSTR* xmlOut, VARIANT_BOOL includeUnindexed,
                          ON16::XMLSchema schema) override;
    STDMETHODIMP GetSpecialLocation(ON16::SpecialLocation which, BSTR* pathOut) override;
    STDMETHODIMP MergeFiles(BSTR baseFile, BSTR clientFile, BSTR serverFile, BSTR targetFile) override;
    STDMETHODIMP QuickFiling(ON16::IQuickFilingDialog** dialogOut) override;
    STDMETHODIMP SyncHierarchy(BSTR hierarchyID) override;
    STDMETHODIMP SetFilingLocation(ON16::FilingLocation location, ON16::FilingLocationType type, BSTR filingSectionID) override;
    STDMETHODIMP get_Windows(ON16::Windows** windowsOut) override;
    STDMETHODIMP get_Dummy1(VARIANT_BOOL* out) override;
    STDMETHODIMP MergeSections(BSTR sourceSectionID, BSTR destinationSectionID) override;
    STDMETHODIMP get_COMAddIns(IDispatch** out) override;
    STDMETHODIMP get_LanguageSettings(IDispatch** out) override;
    STDMETHODIMP GetWebHyperlinkToObject(BSTR hierarchyID, BSTR pageContentObjectID, BSTR* hyperlinkOut) override;

    const std::vector<DispatchEntry>& Members() const override;
};

class WindowsCollection : public DualDispatch<ON16::Windows>
{
public:
    STDMETHODIMP get_Item(ULONG index, ON16::Window** out) override;
    STDMETHODIMP get_Count(ULONG* out) override;
    STDMETHODIMP get__NewEnum(IUnknown** out) override;
    STDMETHODIMP get_CurrentWindow(ON16::Window** out) override;

    const std::vector<DispatchEntry>& Members() const override;
};

// A window of OneNote. Its proxy in the calling program answers IForegroundTransfer, which
// CoAllowSetForegroundWindow asks for; the stand-in, being in-process, answers it itself.
class WindowObject : public DualDispatch<ON16::Window>, public IForegroundTransfer
{
public:
    // slot 0 is OneNote's first window; slot n the nth window that NavigateTo opened.
    explicit WindowObject(unsigned slot = 0) : slot_(slot) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return DualDispatch::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return DualDispatch::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return DualDispatch::Release(); }
    void* FindInterface(REFIID riid) override;
    STDMETHODIMP AllowForegroundTransfer(void* reserved) override;

    STDMETHODIMP get_WindowHandle(ULONGLONG* out) override;
    STDMETHODIMP get_CurrentPageId(BSTR* out) override;
    STDMETHODIMP get_CurrentSectionId(BSTR* out) override;
    STDMETHODIMP get_CurrentSectionGroupId(BSTR* out) override;
    STDMETHODIMP get_CurrentNotebookId(BSTR* out) override;
    STDMETHODIMP NavigateTo(BSTR hierarchyObjectID, BSTR objectID) override;
    STDMETHODIMP get_FullPageView(VARIANT_BOOL* out) override;
    STDMETHODIMP put_FullPageView(VARIANT_BOOL value) override;
    STDMETHODIMP get_Active(VARIANT_BOOL* out) override;
    STDMETHODIMP put_Active(VARIANT_BOOL value) override;
    STDMETHODIMP get_DockedLocation(ON16::DockLocation* out) override;
    STDMETHODIMP put_DockedLocation(ON16::DockLocation value) override;
    STDMETHODIMP get_Application(ON16::IApplication** out) override;
    STDMETHODIMP get_SideNote(VARIANT_BOOL* out) override;
    STDMETHODIMP NavigateToUrl(BSTR url) override;
    STDMETHODIMP SetDockedLocation(ON16::DockLocation location, POINT monitor) override;

    const std::vector<DispatchEntry>& Members() const override;

private:
    HRESULT CurrentId(const wchar_t* method, std::wstring CurrentView::*field, BSTR* out);

    unsigned slot_;
};

using QuickFilingCallbackPtr =
    _com_ptr_t<_com_IIID<ON16::IQuickFilingDialogCallback, &__uuidof(ON16::IQuickFilingDialogCallback)>>;

class QuickFilingDialog : public DualDispatch<ON16::IQuickFilingDialog>
{
public:
    STDMETHODIMP get_Title(BSTR* out) override;
    STDMETHODIMP put_Title(BSTR value) override;
    STDMETHODIMP get_Description(BSTR* out) override;
    STDMETHODIMP put_Description(BSTR value) override;
    STDMETHODIMP get_CheckboxText(BSTR* out) override;
    STDMETHODIMP put_CheckboxText(BSTR value) override;
    STDMETHODIMP get_CheckboxState(VARIANT_BOOL* out) override;
    STDMETHODIMP put_CheckboxState(VARIANT_BOOL value) override;
    STDMETHODIMP get_WindowHandle(ULONGLONG* out) override;
    STDMETHODIMP get_TreeDepth(ON16::HierarchyElement* out) override;
    STDMETHODIMP put_TreeDepth(ON16::HierarchyElement value) override;
    STDMETHODIMP get_ParentWindowHandle(ULONGLONG* out) override;
    STDMETHODIMP put_ParentWindowHandle(ULONGLONG value) override;
    STDMETHODIMP get_Position(POINT* out) override;
    STDMETHODIMP put_Position(POINT value) override;
    STDMETHODIMP SetRecentResults(ON16::RecentResultType type, VARIANT_BOOL showCurrentSection,
                                  VARIANT_BOOL showCurrentPage, VARIANT_BOOL showUnfiledNotes) override;
    STDMETHODIMP AddButton(BSTR text, ON16::HierarchyElement allowed, ON16::HierarchyElement allowedReadOnly,
                           VARIANT_BOOL isDefault) override;
    STDMETHODIMP Run(ON16::IQuickFilingDialogCallback* callback) override;
    STDMETHODIMP get_SelectedItem(BSTR* out) override;
    STDMETHODIMP get_PressedButton(ULONG* out) override;
    STDMETHODIMP put_TreeCollapsedState(ON16::TreeCollapsedStateType value) override;
    STDMETHODIMP put_NotebookFilterOut(ON16::NotebookFilterOutType value) override;
    STDMETHODIMP ShowCreateNewNotebook() override;
    STDMETHODIMP AddInitialEditor(BSTR initialEditor) override;
    STDMETHODIMP ClearInitialEditors() override;
    STDMETHODIMP ShowSharingHyperlink() override;

    const std::vector<DispatchEntry>& Members() const override;

    // Called on the thread that called Run, when the dialog closes.
    void Close(ULONG button, const std::wstring& selected, bool viaInvoke);

private:
    HRESULT GetText(const wchar_t* method, const std::wstring& value, BSTR* out);
    HRESULT PutText(const wchar_t* method, std::wstring& field, BSTR value);

    std::wstring title_, description_, checkboxText_, selected_;
    VARIANT_BOOL checkboxState_ = VARIANT_FALSE;
    ON16::HierarchyElement treeDepth_ = ON16::heSections;
    ULONGLONG parentWindow_ = 0;
    POINT position_{};
    ULONG pressedButton_ = 1;
    ULONG buttonCount_ = 0;
    std::wstring buttonText_;
    LONG allowed_ = 0;
    HWND messageWindow_ = nullptr;
    QuickFilingCallbackPtr callback_;
};
} // namespace StandIn
