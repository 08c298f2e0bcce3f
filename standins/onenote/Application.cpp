// The stand-in's IApplication: each member logs its call, answers the scenario's injected
// failure if there is one, and otherwise asks the store.
#include "standins/onenote/Objects.h"

#include "framework/com/ErrorInfo.h"
#include "standins/onenote/Publish.h"

namespace StandIn
{
Call::Call(const wchar_t* method, std::vector<std::wstring> arguments)
{
    record_.method = method;
    record_.arguments = std::move(arguments);
    SetErrorInfo(0, nullptr);
    injected_ = Scenario::Current().Check(record_.method, record_.arguments);
}

HRESULT Call::Done(HRESULT hr)
{
    record_.result = hr;
    AppendCall(record_);
    if (injected_ && hr == injected_->hr && !injected_->description.empty())
    {
        // SetErrorInfo takes a reference of its own; the owner gives back the new object's.
        const IErrorInfoPtr info(new ErrorInfo(injected_->description.c_str()), false);
        SetErrorInfo(0, info);
    }
    return hr;
}

std::wstring Text(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }
std::wstring Number(long long value) { return std::to_wstring(value); }
std::wstring Flag(VARIANT_BOOL value) { return value ? L"true" : L"false"; }

BSTR MakeBstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

namespace
{
std::wstring DateText(DATE date)
{
    wchar_t buffer[64];
    swprintf(buffer, 64, L"%.6f", date);
    return buffer;
}

// The common shape of members that answer one string.
template <typename F>
HRESULT AnswerText(Call& call, BSTR* out, F&& produce)
{
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    if (call.Injected())
        return call.Failed();
    std::wstring text;
    const HRESULT hr = produce(text);
    if (SUCCEEDED(hr))
        *out = MakeBstr(text);
    return call.Done(hr);
}

template <typename F>
HRESULT Act(Call& call, F&& act)
{
    if (call.Injected())
        return call.Failed();
    return call.Done(act());
}
} // namespace

STDMETHODIMP Application::GetHierarchy(BSTR startNodeID, ON16::HierarchyScope scope, BSTR* xmlOut, ON16::XMLSchema schema)
{
    Call call(L"GetHierarchy", {Text(startNodeID), Number(scope), Number(schema)});
    return AnswerText(call, xmlOut, [&](std::wstring& xml) {
        return Store::Current().GetHierarchy(Text(startNodeID), scope, schema, xml);
    });
}

STDMETHODIMP Application::UpdateHierarchy(BSTR changesXml, ON16::XMLSchema schema)
{
    Call call(L"UpdateHierarchy", {Text(changesXml), Number(schema)});
    return Act(call, [&] { return Store::Current().UpdateHierarchy(Text(changesXml), schema); });
}

STDMETHODIMP Application::OpenHierarchy(BSTR path, BSTR relativeToObjectID, BSTR* objectIDOut, ON16::CreateFileType ifNotExist)
{
    Call call(L"OpenHierarchy", {Text(path), Text(relativeToObjectID), Number(ifNotExist)});
    return AnswerText(call, objectIDOut, [&](std::wstring&) { return E_NOTIMPL; });
}

STDMETHODIMP Application::DeleteHierarchy(BSTR objectID, DATE expectedLastModified, VARIANT_BOOL deletePermanently)
{
    Call call(L"DeleteHierarchy", {Text(objectID), DateText(expectedLastModified), Flag(deletePermanently)});
    return Act(call, [&] {
        return Store::Current().DeleteHierarchy(Text(objectID), expectedLastModified, deletePermanently != VARIANT_FALSE);
    });
}

STDMETHODIMP Application::CreateNewPage(BSTR sectionID, BSTR* pageIDOut, ON16::NewPageStyle style)
{
    Call call(L"CreateNewPage", {Text(sectionID), Number(style)});
    return AnswerText(call, pageIDOut,
                      [&](std::wstring& id) { return Store::Current().CreateNewPage(Text(sectionID), style, id); });
}

STDMETHODIMP Application::CloseNotebook(BSTR notebookID, VARIANT_BOOL force)
{
    Call call(L"CloseNotebook", {Text(notebookID), Flag(force)});
    return Act(call, [] { return E_NOTIMPL; });
}

STDMETHODIMP Application::GetHierarchyParent(BSTR objectID, BSTR* parentIDOut)
{
    Call call(L"GetHierarchyParent", {Text(objectID)});
    return AnswerText(call, parentIDOut,
                      [&](std::wstring& id) { return Store::Current().GetHierarchyParent(Text(objectID), id); });
}

STDMETHODIMP Application::GetPageContent(BSTR pageID, BSTR* xmlOut, ON16::PageInfo info, ON16::XMLSchema schema)
{
    Call call(L"GetPageContent", {Text(pageID), Number(info), Number(schema)});
    return AnswerText(call, xmlOut, [&](std::wstring& xml) {
        return Store::Current().GetPageContent(Text(pageID), info, schema, xml);
    });
}

STDMETHODIMP Application::UpdatePageContent(BSTR pageXml, DATE expectedLastModified, ON16::XMLSchema schema, VARIANT_BOOL force)
{
    Call call(L"UpdatePageContent", {Text(pageXml), DateText(expectedLastModified), Number(schema), Flag(force)});
    return Act(call, [&] {
        return Store::Current().UpdatePageContent(Text(pageXml), expectedLastModified, schema, force != VARIANT_FALSE);
    });
}

STDMETHODIMP Application::GetBinaryPageContent(BSTR pageID, BSTR callbackID, BSTR* base64Out)
{
    Call call(L"GetBinaryPageContent", {Text(pageID), Text(callbackID)});
    return AnswerText(call, base64Out, [&](std::wstring& base64) {
        return Store::Current().GetBinaryPageContent(Text(pageID), Text(callbackID), base64);
    });
}

STDMETHODIMP Application::DeletePageContent(BSTR pageID, BSTR objectID, DATE expectedLastModified, VARIANT_BOOL force)
{
    Call call(L"DeletePageContent", {Text(pageID), Text(objectID), DateText(expectedLastModified), Flag(force)});
    return Act(call, [&] { return Store::Current().DeletePageContent(Text(pageID), Text(objectID)); });
}

STDMETHODIMP Application::NavigateTo(BSTR hierarchyObjectID, BSTR objectID, VARIANT_BOOL newWindow)
{
    Call call(L"NavigateTo", {Text(hierarchyObjectID), Text(objectID), Flag(newWindow)});
    return Act(call, [&] {
        const HRESULT hr = Store::Current().NavigateTo(Text(hierarchyObjectID), Text(objectID));
        if (SUCCEEDED(hr))
            ShowNavigatedPage(newWindow != VARIANT_FALSE);
        return hr;
    });
}

STDMETHODIMP Application::NavigateToUrl(BSTR url, VARIANT_BOOL newWindow)
{
    Call call(L"NavigateToUrl", {Text(url), Flag(newWindow)});
    return Act(call, [&] {
        const HRESULT hr = Store::Current().NavigateToUrl(Text(url));
        if (SUCCEEDED(hr))
            ShowNavigatedPage(newWindow != VARIANT_FALSE);
        return hr;
    });
}

STDMETHODIMP Application::Publish(BSTR hierarchyID, BSTR targetFilePath, ON16::PublishFormat format, BSTR clsidOfExporter)
{
    Call call(L"Publish", {Text(hierarchyID), Text(targetFilePath), Number(format), Text(clsidOfExporter)});
    return Act(call, [&]() -> HRESULT {
        if (format != ON16::pfEMF)
            return E_NOTIMPL;
        const std::wstring path = Text(targetFilePath);
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return OneNoteError::FileAlreadyExists;
        PageText text;
        if (const HRESULT hr = Store::Current().GetPageText(Text(hierarchyID), text); FAILED(hr))
            return hr;
        return PublishEmf(text, path);
    });
}

STDMETHODIMP Application::OpenPackage(BSTR packagePath, BSTR destPath, BSTR* pathOut)
{
    Call call(L"OpenPackage", {Text(packagePath), Text(destPath)});
    return AnswerText(call, pathOut, [&](std::wstring&) { return E_NOTIMPL; });
}

STDMETHODIMP Application::GetHyperlinkToObject(BSTR hierarchyID, BSTR pageContentObjectID, BSTR* hyperlinkOut)
{
    Call call(L"GetHyperlinkToObject", {Text(hierarchyID), Text(pageContentObjectID)});
    return AnswerText(call, hyperlinkOut, [&](std::wstring& link) {
        return Store::Current().GetHyperlinkToObject(Text(hierarchyID), Text(pageContentObjectID), link);
    });
}

STDMETHODIMP Application::FindPages(BSTR startNodeID, BSTR searchString, BSTR* xmlOut, VARIANT_BOOL includeUnindexed,
                                    VARIANT_BOOL display, ON16::XMLSchema schema)
{
    Call call(L"FindPages",
              {Text(startNodeID), Text(searchString), Flag(includeUnindexed), Flag(display), Number(schema)});
    return AnswerText(call, xmlOut, [&](std::wstring& xml) {
        return Store::Current().FindPages(Text(startNodeID), Text(searchString), schema, xml);
    });
}

STDMETHODIMP Application::FindMeta(BSTR startNodeID, BSTR searchStringName, BSTR* xmlOut, VARIANT_BOOL includeUnindexed,
                                   ON16::XMLSchema schema)
{
    Call call(L"FindMeta", {Text(startNodeID), Text(searchStringName), Flag(includeUnindexed), Number(schema)});
    return AnswerText(call, xmlOut, [&](std::wstring&) { return E_NOTIMPL; });
}

STDMETHODIMP Application::GetSpecialLocation(ON16::SpecialLocation which, BSTR* pathOut)
{
    Call call(L"GetSpecialLocation", {Number(which)});
    return AnswerText(call, pathOut,
                      [&](std::wstring& path) { return Store::Current().GetSpecialLocation(which, path); });
}

STDMETHODIMP Application::MergeFiles(BSTR baseFile, BSTR clientFile, BSTR serverFile, BSTR targetFile)
{
    Call call(L"MergeFiles", {Text(baseFile), Text(clientFile), Text(serverFile), Text(targetFile)});
    return Act(call, [] { return E_NOTIMPL; });
}

STDMETHODIMP Application::QuickFiling(ON16::IQuickFilingDialog** dialogOut)
{
    Call call(L"QuickFiling", {});
    if (!dialogOut)
        return call.Done(E_POINTER);
    *dialogOut = nullptr;
    if (call.Injected())
        return call.Failed();
    *dialogOut = new QuickFilingDialog();
    return call.Done(S_OK);
}

STDMETHODIMP Application::SyncHierarchy(BSTR hierarchyID)
{
    Call call(L"SyncHierarchy", {Text(hierarchyID)});
    return Act(call, [&] {
        std::wstring kind;
        if (const HRESULT hr = Store::Current().KindOf(Text(hierarchyID), kind); FAILED(hr))
            return hr;
        return kind.empty() ? OneNoteError::ObjectDoesNotExist : S_OK;
    });
}

STDMETHODIMP Application::SetFilingLocation(ON16::FilingLocation location, ON16::FilingLocationType type, BSTR filingSectionID)
{
    Call call(L"SetFilingLocation", {Number(location), Number(type), Text(filingSectionID)});
    return Act(call, [] { return S_OK; });
}

STDMETHODIMP Application::get_Windows(ON16::Windows** windowsOut)
{
    Call call(L"get_Windows", {});
    if (!windowsOut)
        return call.Done(E_POINTER);
    *windowsOut = nullptr;
    if (call.Injected())
        return call.Failed();
    if (!Scenario::Current().NoWindows())
        *windowsOut = new WindowsCollection();
    return call.Done(S_OK);
}

STDMETHODIMP Application::get_Dummy1(VARIANT_BOOL* out)
{
    Call call(L"get_Dummy1", {});
    if (!out)
        return call.Done(E_POINTER);
    *out = VARIANT_FALSE;
    return Act(call, [] { return S_OK; });
}

STDMETHODIMP Application::MergeSections(BSTR sourceSectionID, BSTR destinationSectionID)
{
    Call call(L"MergeSections", {Text(sourceSectionID), Text(destinationSectionID)});
    return Act(call, [] { return E_NOTIMPL; });
}

STDMETHODIMP Application::get_COMAddIns(IDispatch** out)
{
    Call call(L"get_COMAddIns", {});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    return Act(call, [] { return E_NOTIMPL; });
}

STDMETHODIMP Application::get_LanguageSettings(IDispatch** out)
{
    Call call(L"get_LanguageSettings", {});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    return Act(call, [] { return E_NOTIMPL; });
}

STDMETHODIMP Application::GetWebHyperlinkToObject(BSTR hierarchyID, BSTR pageContentObjectID, BSTR* hyperlinkOut)
{
    Call call(L"GetWebHyperlinkToObject", {Text(hierarchyID), Text(pageContentObjectID)});
    return AnswerText(call, hyperlinkOut, [&](std::wstring&) { return static_cast<HRESULT>(0x80042014); });
}

const std::vector<DispatchEntry>& Application::Members() const
{
    using I = ON16::IApplication;
    static const std::vector<DispatchEntry> members{
        STANDIN_METHOD(I, GetHierarchy, 0x60020000),
        STANDIN_METHOD(I, UpdateHierarchy, 0x60020001),
        STANDIN_METHOD(I, OpenHierarchy, 0x60020002),
        STANDIN_METHOD(I, DeleteHierarchy, 0x60020003),
        STANDIN_METHOD(I, CreateNewPage, 0x60020004),
        STANDIN_METHOD(I, CloseNotebook, 0x60020005),
        STANDIN_METHOD(I, GetHierarchyParent, 0x60020006),
        STANDIN_METHOD(I, GetPageContent, 0x60020007),
        STANDIN_METHOD(I, UpdatePageContent, 0x60020008),
        STANDIN_METHOD(I, GetBinaryPageContent, 0x60020009),
        STANDIN_METHOD(I, DeletePageContent, 0x6002000A),
        STANDIN_METHOD(I, NavigateTo, 0x6002000B),
        STANDIN_METHOD(I, NavigateToUrl, 0x6002000C),
        STANDIN_METHOD(I, Publish, 0x6002000D),
        STANDIN_METHOD(I, OpenPackage, 0x6002000E),
        STANDIN_METHOD(I, GetHyperlinkToObject, 0x6002000F),
        STANDIN_METHOD(I, FindPages, 0x60020010),
        STANDIN_METHOD(I, FindMeta, 0x60020011),
        STANDIN_METHOD(I, GetSpecialLocation, 0x60020012),
        STANDIN_METHOD(I, MergeFiles, 0x60020013),
        STANDIN_METHOD(I, QuickFiling, 0x60020014),
        STANDIN_METHOD(I, SyncHierarchy, 0x60020015),
        STANDIN_METHOD(I, SetFilingLocation, 0x60020016),
        STANDIN_GET(I, Windows, ON16::DISPID_Windows),
        STANDIN_GET(I, Dummy1, 0x60020018),
        STANDIN_METHOD(I, MergeSections, 0x60020019),
        STANDIN_GET(I, COMAddIns, 0x6002001A),
        STANDIN_GET(I, LanguageSettings, 0x6002001B),
        STANDIN_METHOD(I, GetWebHyperlinkToObject, 0x6002001C),
    };
    return members;
}
} // namespace StandIn
