#pragma once
// OneNote's published automation interfaces (2013 type library, "OneNote 15.0 Object Library"),
// declared once for the whole project: the programs call them early-bound and the OneNote
// stand-in implements the same vtables. Member order follows the published interfaces exactly;
// every interface is dual, so its own members start at vtable slot 7, after IDispatch's.

#include <windows.h>
#include <oaidl.h>

namespace ON16
{
enum HierarchyScope : LONG
{
    hsSelf = 0,
    hsChildren = 1,
    hsNotebooks = 2,
    hsSections = 3,
    hsPages = 4,
};

// Flags.
enum HierarchyElement : LONG
{
    heNone = 0,
    heNotebooks = 1,
    heSectionGroups = 2,
    heSections = 4,
    hePages = 8,
};

enum RecentResultType : LONG
{
    rrtNone = 0,
    rrtFiling = 1,
    rrtSearch = 2,
    rrtLinks = 3,
};

enum CreateFileType : LONG
{
    cftNone = 0,
    cftNotebook = 1,
    cftFolder = 2,
    cftSection = 3,
};

enum PageInfo : LONG
{
    piBasic = 0,
    piBinaryData = 1,
    piSelection = 2,
    piBinaryDataSelection = 3,
    piFileType = 4,
    piBinaryDataFileType = 5,
    piSelectionFileType = 6,
    piAll = 7,
};

enum PublishFormat : LONG
{
    pfOneNote = 0,
    pfOneNotePackage = 1,
    pfMHTML = 2,
    pfPDF = 3,
    pfXPS = 4,
    pfWord = 5,
    pfEMF = 6,
    pfHTML = 7,
    pfOneNote2007 = 8,
};

enum SpecialLocation : LONG
{
    slBackUpFolder = 0,
    slUnfiledNotesSection = 1,
    slDefaultNotebookFolder = 2,
};

enum NewPageStyle : LONG
{
    npsDefault = 0,
    npsBlankPageWithTitle = 1,
    npsBlankPageNoTitle = 2,
};

enum DockLocation : LONG
{
    dlDefault = -1,
    dlNone = 0,
    dlLeft = 1,
    dlRight = 2,
    dlTop = 3,
    dlBottom = 4,
};

enum XMLSchema : LONG
{
    xs2007 = 0,
    xs2010 = 1,
    xs2013 = 2,
};

enum TreeCollapsedStateType : LONG
{
    tcsExpanded = 0,
    tcsCollapsed = 1,
};

// Flags.
enum NotebookFilterOutType : LONG
{
    nfoLocal = 1,
    nfoNetwork = 2,
    nfoWeb = 4,
    nfoNoWacUrl = 8,
};

// The arguments of SetFilingLocation, which neither program calls: 32-bit enumerations whose
// values the platform notes do not give.
using FilingLocation = LONG;
using FilingLocationType = LONG;

struct IApplication;
struct Windows;
struct Window;
struct IQuickFilingDialog;
struct IQuickFilingDialogCallback;

struct IApplication : public IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE GetHierarchy(BSTR startNodeID, HierarchyScope scope, BSTR* xmlOut,
                                                   XMLSchema schema) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdateHierarchy(BSTR changesXml, XMLSchema schema) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenHierarchy(BSTR path, BSTR relativeToObjectID, BSTR* objectIDOut,
                                                    CreateFileType ifNotExist) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteHierarchy(BSTR objectID, DATE expectedLastModified,
                                                      VARIANT_BOOL deletePermanently) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateNewPage(BSTR sectionID, BSTR* pageIDOut, NewPageStyle style) = 0;
    virtual HRESULT STDMETHODCALLTYPE CloseNotebook(BSTR notebookID, VARIANT_BOOL force) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHierarchyParent(BSTR objectID, BSTR* parentIDOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPageContent(BSTR pageID, BSTR* xmlOut, PageInfo info, XMLSchema schema) = 0;
    virtual HRESULT STDMETHODCALLTYPE UpdatePageContent(BSTR pageXml, DATE expectedLastModified, XMLSchema schema,
                                                        VARIANT_BOOL force) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBinaryPageContent(BSTR pageID, BSTR callbackID, BSTR* base64Out) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeletePageContent(BSTR pageID, BSTR objectID, DATE expectedLastModified,
                                                        VARIANT_BOOL force) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateTo(BSTR hierarchyObjectID, BSTR objectID, VARIANT_BOOL newWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateToUrl(BSTR url, VARIANT_BOOL newWindow) = 0;
    virtual HRESULT STDMETHODCALLTYPE Publish(BSTR hierarchyID, BSTR targetFilePath, PublishFormat format,
                                              BSTR clsidOfExporter) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenPackage(BSTR packagePath, BSTR destPath, BSTR* pathOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetHyperlinkToObject(BSTR hierarchyID, BSTR pageContentObjectID,
                                                           BSTR* hyperlinkOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindPages(BSTR startNodeID, BSTR searchString, BSTR* xmlOut,
                                                VARIANT_BOOL includeUnindexed, VARIANT_BOOL display,
                                                XMLSchema schema) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindMeta(BSTR startNodeID, BSTR searchStringName, BSTR* xmlOut,
                                               VARIANT_BOOL includeUnindexed, XMLSchema schema) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSpecialLocation(SpecialLocation which, BSTR* pathOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE MergeFiles(BSTR baseFile, BSTR clientFile, BSTR serverFile,
                                                 BSTR targetFile) = 0;
    virtual HRESULT STDMETHODCALLTYPE QuickFiling(IQuickFilingDialog** dialogOut) = 0;
    virtual HRESULT STDMETHODCALLTYPE SyncHierarchy(BSTR hierarchyID) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFilingLocation(FilingLocation location, FilingLocationType type,
                                                        BSTR filingSectionID) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Windows(Windows** windowsOut) = 0; // DISPID 100
    virtual HRESULT STDMETHODCALLTYPE get_Dummy1(VARIANT_BOOL* out) = 0;     // hidden
    virtual HRESULT STDMETHODCALLTYPE MergeSections(BSTR sourceSectionID, BSTR destinationSectionID) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_COMAddIns(IDispatch** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LanguageSettings(IDispatch** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWebHyperlinkToObject(BSTR hierarchyID, BSTR pageContentObjectID,
                                                              BSTR* hyperlinkOut) = 0;
};

struct Windows : public IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE get_Item(ULONG index, Window** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(ULONG* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentWindow(Window** out) = 0;
};

struct Window : public IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE get_WindowHandle(ULONGLONG* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentPageId(BSTR* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentSectionId(BSTR* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentSectionGroupId(BSTR* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentNotebookId(BSTR* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateTo(BSTR hierarchyObjectID, BSTR objectID) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FullPageView(VARIANT_BOOL* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_FullPageView(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Active(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DockedLocation(DockLocation* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DockedLocation(DockLocation value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Application(IApplication** out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SideNote(VARIANT_BOOL* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE NavigateToUrl(BSTR url) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDockedLocation(DockLocation location, POINT monitor) = 0;
};

struct IQuickFilingDialog : public IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE get_Title(BSTR* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Title(BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Description(BSTR* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Description(BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CheckboxText(BSTR* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CheckboxText(BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CheckboxState(VARIANT_BOOL* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CheckboxState(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowHandle(ULONGLONG* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TreeDepth(HierarchyElement* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TreeDepth(HierarchyElement value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ParentWindowHandle(ULONGLONG* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ParentWindowHandle(ULONGLONG value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Position(POINT* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Position(POINT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRecentResults(RecentResultType type, VARIANT_BOOL showCurrentSection,
                                                       VARIANT_BOOL showCurrentPage,
                                                       VARIANT_BOOL showUnfiledNotes) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddButton(BSTR text, HierarchyElement allowed,
                                                HierarchyElement allowedReadOnly, VARIANT_BOOL isDefault) = 0;
    virtual HRESULT STDMETHODCALLTYPE Run(IQuickFilingDialogCallback* callback) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SelectedItem(BSTR* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PressedButton(ULONG* out) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TreeCollapsedState(TreeCollapsedStateType value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_NotebookFilterOut(NotebookFilterOutType value) = 0;
    virtual HRESULT STDMETHODCALLTYPE ShowCreateNewNotebook() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddInitialEditor(BSTR initialEditor) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearInitialEditors() = 0;
    virtual HRESULT STDMETHODCALLTYPE ShowSharingHyperlink() = 0;
};

struct IQuickFilingDialogCallback : public IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE OnDialogClosed(IQuickFilingDialog* dialog) = 0; // DISPID 0x60020000
};

// The class identifiers of OneNote's application object.
inline constexpr CLSID CLSID_Application = {0xD7FAC39E, 0x7FF1, 0x49AA, {0x98, 0xCF, 0xA1, 0xDD, 0xD3, 0x16, 0x33, 0x7E}};
inline constexpr CLSID CLSID_Application2 = {0xDC67E480, 0xC3CB, 0x49F8, {0x82, 0x32, 0x60, 0xB0, 0xC2, 0x05, 0x6C, 0x8E}};

// Dispatch identifiers fixed by the published library.
inline constexpr DISPID DISPID_Windows = 100;
inline constexpr DISPID DISPID_OnDialogClosed = 0x60020000;
} // namespace ON16

__CRT_UUID_DECL(ON16::IApplication, 0x452AC71A, 0xB655, 0x4967, 0xA2, 0x08, 0xA4, 0xCC, 0x39, 0xDD, 0x79, 0x49)
__CRT_UUID_DECL(ON16::Windows, 0x6D4B9C3E, 0xCC05, 0x493F, 0x85, 0xE2, 0x43, 0xD1, 0x00, 0x6D, 0xF9, 0x6A)
__CRT_UUID_DECL(ON16::Window, 0x8E8304B8, 0xCBD1, 0x44F8, 0xB0, 0xE8, 0x89, 0xC6, 0x25, 0xB2, 0x00, 0x2E)
__CRT_UUID_DECL(ON16::IQuickFilingDialog, 0x1D12BD3F, 0x89B6, 0x4077, 0xAA, 0x2C, 0xC9, 0xDC, 0x2B, 0xCA, 0x42, 0xF9)
__CRT_UUID_DECL(ON16::IQuickFilingDialogCallback, 0x627EA7B4, 0x95B5, 0x4980, 0x84, 0xC1, 0x9D, 0x20, 0xDA, 0x44,
                0x60, 0xB1)
