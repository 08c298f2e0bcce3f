// Every member of the stand-in's four interfaces: its vtable slot is the one of the published
// member order, and a call through that slot and a late-bound call through IDispatch by name
// reach the same implementation (the call log records the same member, arguments and result).
#include "tests/standins/StandInFixture.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <list>

namespace StandInTest
{
namespace
{
// The vtable slot of a virtual member, from the Itanium C++ ABI's member pointer (offset + 1).
template <typename M>
int SlotOf(M member)
{
    static_assert(sizeof(M) == 2 * sizeof(void*));
    struct Raw
    {
        std::uintptr_t pointer;
        std::ptrdiff_t adjustment;
    };
    Raw raw{};
    std::memcpy(&raw, &member, sizeof raw);
    if ((raw.pointer & 1) == 0)
        return -1;
    return static_cast<int>((raw.pointer - 1) / sizeof(void*));
}

struct Arg
{
    VARIANT value;
};

class Pool
{
public:
    ~Pool()
    {
        for (BSTR& text : texts_)
            SysFreeString(text);
    }
    BSTR* NewText()
    {
        texts_.push_back(nullptr);
        return &texts_.back();
    }

private:
    std::list<BSTR> texts_;
};

Arg S(const wchar_t* text)
{
    Arg arg{};
    arg.value.vt = VT_BSTR;
    arg.value.bstrVal = SysAllocString(text);
    return arg;
}
Arg L(LONG value)
{
    Arg arg{};
    arg.value.vt = VT_I4;
    arg.value.lVal = value;
    return arg;
}
Arg U(ULONG value)
{
    Arg arg{};
    arg.value.vt = VT_UI4;
    arg.value.ulVal = value;
    return arg;
}
Arg B(bool value)
{
    Arg arg{};
    arg.value.vt = VT_BOOL;
    arg.value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return arg;
}
Arg D(double value)
{
    Arg arg{};
    arg.value.vt = VT_DATE;
    arg.value.date = value;
    return arg;
}
Arg Q(ULONGLONG value)
{
    Arg arg{};
    arg.value.vt = VT_UI8;
    arg.value.ullVal = value;
    return arg;
}
Arg P(LONG x, LONG y)
{
    Arg arg{};
    arg.value.vt = VT_I8;
    arg.value.llVal = (static_cast<LONGLONG>(y) << 32) | static_cast<ULONG>(x);
    return arg;
}
Arg NoObject()
{
    Arg arg{};
    arg.value.vt = VT_DISPATCH;
    arg.value.pdispVal = nullptr;
    return arg;
}
Arg OutText(Pool& pool)
{
    Arg arg{};
    arg.value.vt = VT_BYREF | VT_BSTR;
    arg.value.pbstrVal = pool.NewText();
    return arg;
}

struct MemberCase
{
    const wchar_t* name;
    int slot;
    WORD flags;
    std::function<HRESULT()> early;
    std::vector<Arg> late;
    const wchar_t* logged;
};

class DualInterface : public StandInTest
{
protected:
    void Check(IDispatch* object, std::vector<MemberCase> cases)
    {
        for (size_t i = 0; i < cases.size(); ++i)
        {
            MemberCase& member = cases[i];
            SCOPED_TRACE(Utf8(member.name));
            EXPECT_EQ(member.slot, static_cast<int>(7 + i)) << "vtable slot of member " << i + 1;

            const size_t before = Calls().size();
            const HRESULT earlyResult = member.early();
            auto calls = Calls();
            ASSERT_EQ(calls.size(), before + 1);
            const StandIn::CallRecord early = calls.back();
            EXPECT_EQ(early.method, member.logged);
            EXPECT_EQ(early.result, earlyResult);

            DISPID id = DISPID_UNKNOWN;
            LPOLESTR name = const_cast<LPOLESTR>(member.name);
            ASSERT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
            std::vector<VARIANT> arguments;
            for (auto it = member.late.rbegin(); it != member.late.rend(); ++it)
                arguments.push_back(it->value);
            DISPID named = DISPID_PROPERTYPUT;
            DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
            if (member.flags == DISPATCH_PROPERTYPUT)
            {
                params.rgdispidNamedArgs = &named;
                params.cNamedArgs = 1;
            }
            VARIANT result;
            VariantInit(&result);
            const HRESULT lateResult = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, member.flags, &params,
                                                      member.flags == DISPATCH_PROPERTYPUT ? nullptr : &result,
                                                      nullptr, nullptr);
            VariantClear(&result);
            for (Arg& arg : member.late)
                if (arg.value.vt == VT_BSTR)
                    VariantClear(&arg.value);
            calls = Calls();
            ASSERT_EQ(calls.size(), before + 2);
            const StandIn::CallRecord late = calls.back();
            EXPECT_EQ(late.method, early.method);
            EXPECT_EQ(late.arguments, early.arguments);
            EXPECT_EQ(late.result, early.result);
            EXPECT_EQ(lateResult, earlyResult);
        }
    }
    Pool pool_;
};

const wchar_t* const Unknown = L"{00000000-0000-0000-0000-000000000001}{1}{B0}";

#define EARLY(call) [&]() -> HRESULT { return call; }

TEST_F(DualInterface, ApplicationMembersLandInTheSameImplementation)
{
    ApplicationPtr app = Connect();
    ASSERT_TRUE(app);
    using I = ON16::IApplication;
    BSTR out = nullptr;
    const auto text = [&]() {
        SysFreeString(out);
        out = nullptr;
        return &out;
    };
    ON16::IQuickFilingDialog* dialog = nullptr;
    ON16::Windows* windows = nullptr;
    IDispatch* dispatch = nullptr;
    VARIANT_BOOL flag = VARIANT_FALSE;
    const _bstr_t unknown(Unknown);
    Check(app, {
        {L"GetHierarchy", SlotOf(&I::GetHierarchy), DISPATCH_METHOD, EARLY(app->GetHierarchy(_bstr_t(L""), ON16::hsNotebooks, text(), ON16::xs2010)),
         {S(L""), L(2), OutText(pool_), L(1)}, L"GetHierarchy"},
        {L"UpdateHierarchy", SlotOf(&I::UpdateHierarchy), DISPATCH_METHOD, EARLY(app->UpdateHierarchy(_bstr_t(L"<x/>"), ON16::xs2013)),
         {S(L"<x/>"), L(2)}, L"UpdateHierarchy"},
        {L"OpenHierarchy", SlotOf(&I::OpenHierarchy), DISPATCH_METHOD, EARLY(app->OpenHierarchy(_bstr_t(L"p"), _bstr_t(L""), text(), ON16::cftSection)),
         {S(L"p"), S(L""), OutText(pool_), L(3)}, L"OpenHierarchy"},
        {L"DeleteHierarchy", SlotOf(&I::DeleteHierarchy), DISPATCH_METHOD, EARLY(app->DeleteHierarchy(unknown, 0.5, VARIANT_TRUE)),
         {S(Unknown), D(0.5), B(true)}, L"DeleteHierarchy"},
        {L"CreateNewPage", SlotOf(&I::CreateNewPage), DISPATCH_METHOD, EARLY(app->CreateNewPage(unknown, text(), ON16::npsBlankPageWithTitle)),
         {S(Unknown), OutText(pool_), L(1)}, L"CreateNewPage"},
        {L"CloseNotebook", SlotOf(&I::CloseNotebook), DISPATCH_METHOD, EARLY(app->CloseNotebook(unknown, VARIANT_FALSE)),
         {S(Unknown), B(false)}, L"CloseNotebook"},
        {L"GetHierarchyParent", SlotOf(&I::GetHierarchyParent), DISPATCH_METHOD, EARLY(app->GetHierarchyParent(unknown, text())),
         {S(Unknown)}, L"GetHierarchyParent"},
        {L"GetPageContent", SlotOf(&I::GetPageContent), DISPATCH_METHOD, EARLY(app->GetPageContent(unknown, text(), ON16::piAll, ON16::xs2013)),
         {S(Unknown), OutText(pool_), L(7), L(2)}, L"GetPageContent"},
        {L"UpdatePageContent", SlotOf(&I::UpdatePageContent), DISPATCH_METHOD, EARLY(app->UpdatePageContent(_bstr_t(L"<y/>"), 0.25, ON16::xs2013, VARIANT_TRUE)),
         {S(L"<y/>"), D(0.25), L(2), B(true)}, L"UpdatePageContent"},
        {L"GetBinaryPageContent", SlotOf(&I::GetBinaryPageContent), DISPATCH_METHOD, EARLY(app->GetBinaryPageContent(unknown, _bstr_t(L"c"), text())),
         {S(Unknown), S(L"c")}, L"GetBinaryPageContent"},
        {L"DeletePageContent", SlotOf(&I::DeletePageContent), DISPATCH_METHOD, EARLY(app->DeletePageContent(unknown, _bstr_t(L"o"), 0.0, VARIANT_FALSE)),
         {S(Unknown), S(L"o"), D(0.0), B(false)}, L"DeletePageContent"},
        {L"NavigateTo", SlotOf(&I::NavigateTo), DISPATCH_METHOD, EARLY(app->NavigateTo(unknown, _bstr_t(L""), VARIANT_TRUE)),
         {S(Unknown), S(L""), B(true)}, L"NavigateTo"},
        {L"NavigateToUrl", SlotOf(&I::NavigateToUrl), DISPATCH_METHOD, EARLY(app->NavigateToUrl(_bstr_t(L"onenote:///x"), VARIANT_FALSE)),
         {S(L"onenote:///x"), B(false)}, L"NavigateToUrl"},
        {L"Publish", SlotOf(&I::Publish), DISPATCH_METHOD, EARLY(app->Publish(unknown, _bstr_t(L"C:\\nowhere.emf"), ON16::pfEMF, _bstr_t(L""))),
         {S(Unknown), S(L"C:\\nowhere.emf"), L(6), S(L"")}, L"Publish"},
        {L"OpenPackage", SlotOf(&I::OpenPackage), DISPATCH_METHOD, EARLY(app->OpenPackage(_bstr_t(L"a"), _bstr_t(L"b"), text())),
         {S(L"a"), S(L"b")}, L"OpenPackage"},
        {L"GetHyperlinkToObject", SlotOf(&I::GetHyperlinkToObject), DISPATCH_METHOD, EARLY(app->GetHyperlinkToObject(unknown, _bstr_t(L""), text())),
         {S(Unknown), S(L"")}, L"GetHyperlinkToObject"},
        {L"FindPages", SlotOf(&I::FindPages), DISPATCH_METHOD, EARLY(app->FindPages(_bstr_t(L""), _bstr_t(L"bread"), text(), VARIANT_FALSE, VARIANT_FALSE, ON16::xs2010)),
         {S(L""), S(L"bread"), OutText(pool_), B(false), B(false), L(1)}, L"FindPages"},
        {L"FindMeta", SlotOf(&I::FindMeta), DISPATCH_METHOD, EARLY(app->FindMeta(_bstr_t(L""), _bstr_t(L"m"), text(), VARIANT_TRUE, ON16::xs2013)),
         {S(L""), S(L"m"), OutText(pool_), B(true), L(2)}, L"FindMeta"},
        {L"GetSpecialLocation", SlotOf(&I::GetSpecialLocation), DISPATCH_METHOD, EARLY(app->GetSpecialLocation(ON16::slDefaultNotebookFolder, text())),
         {L(2)}, L"GetSpecialLocation"},
        {L"MergeFiles", SlotOf(&I::MergeFiles), DISPATCH_METHOD, EARLY(app->MergeFiles(_bstr_t(L"1"), _bstr_t(L"2"), _bstr_t(L"3"), _bstr_t(L"4"))),
         {S(L"1"), S(L"2"), S(L"3"), S(L"4")}, L"MergeFiles"},
        {L"QuickFiling", SlotOf(&I::QuickFiling), DISPATCH_METHOD, EARLY(app->QuickFiling(&dialog)), {}, L"QuickFiling"},
        {L"SyncHierarchy", SlotOf(&I::SyncHierarchy), DISPATCH_METHOD, EARLY(app->SyncHierarchy(unknown)), {S(Unknown)}, L"SyncHierarchy"},
        {L"SetFilingLocation", SlotOf(&I::SetFilingLocation), DISPATCH_METHOD, EARLY(app->SetFilingLocation(1, 2, unknown)),
         {L(1), L(2), S(Unknown)}, L"SetFilingLocation"},
        {L"Windows", SlotOf(&I::get_Windows), DISPATCH_PROPERTYGET, EARLY(app->get_Windows(&windows)), {}, L"get_Windows"},
        {L"Dummy1", SlotOf(&I::get_Dummy1), DISPATCH_PROPERTYGET, EARLY(app->get_Dummy1(&flag)), {}, L"get_Dummy1"},
        {L"MergeSections", SlotOf(&I::MergeSections), DISPATCH_METHOD, EARLY(app->MergeSections(unknown, unknown)),
         {S(Unknown), S(Unknown)}, L"MergeSections"},
        {L"COMAddIns", SlotOf(&I::get_COMAddIns), DISPATCH_PROPERTYGET, EARLY(app->get_COMAddIns(&dispatch)), {}, L"get_COMAddIns"},
        {L"LanguageSettings", SlotOf(&I::get_LanguageSettings), DISPATCH_PROPERTYGET, EARLY(app->get_LanguageSettings(&dispatch)), {}, L"get_LanguageSettings"},
        {L"GetWebHyperlinkToObject", SlotOf(&I::GetWebHyperlinkToObject), DISPATCH_METHOD, EARLY(app->GetWebHyperlinkToObject(unknown, _bstr_t(L""), text())),
         {S(Unknown), S(L"")}, L"GetWebHyperlinkToObject"},
    });
    SysFreeString(out);
    if (dialog)
        dialog->Release();
    if (windows)
        windows->Release();
    // The Windows property keeps OneNote's published dispatch id.
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Windows");
    ASSERT_EQ(app->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, ON16::DISPID_Windows);
}

TEST_F(DualInterface, WindowsAndWindowMembersLandInTheSameImplementation)
{
    ApplicationPtr app = Connect();
    WindowsPtr windows;
    ASSERT_EQ(app->get_Windows(&windows), S_OK);
    ON16::Window* window = nullptr;
    ULONG count = 0;
    IUnknown* enumerator = nullptr;
    using C = ON16::Windows;
    Check(windows, {
        {L"Item", SlotOf(&C::get_Item), DISPATCH_PROPERTYGET, EARLY(windows->get_Item(0, &window)), {U(0)}, L"Windows.get_Item"},
        {L"Count", SlotOf(&C::get_Count), DISPATCH_PROPERTYGET, EARLY(windows->get_Count(&count)), {}, L"Windows.get_Count"},
        {L"_NewEnum", SlotOf(&C::get__NewEnum), DISPATCH_PROPERTYGET, EARLY(windows->get__NewEnum(&enumerator)), {}, L"Windows.get__NewEnum"},
        {L"CurrentWindow", SlotOf(&C::get_CurrentWindow), DISPATCH_PROPERTYGET, EARLY(windows->get_CurrentWindow(&window)), {}, L"Windows.get_CurrentWindow"},
    });
    if (window)
        window->Release();

    WindowPtr current;
    ASSERT_EQ(windows->get_CurrentWindow(&current), S_OK);
    using W = ON16::Window;
    ULONGLONG handle = 0;
    BSTR out = nullptr;
    const auto text = [&]() {
        SysFreeString(out);
        out = nullptr;
        return &out;
    };
    VARIANT_BOOL flag = VARIANT_FALSE;
    ON16::DockLocation dock = ON16::dlNone;
    ON16::IApplication* application = nullptr;
    const _bstr_t unknown(Unknown);
    Check(current, {
        {L"WindowHandle", SlotOf(&W::get_WindowHandle), DISPATCH_PROPERTYGET, EARLY(current->get_WindowHandle(&handle)), {}, L"Window.get_WindowHandle"},
        {L"CurrentPageId", SlotOf(&W::get_CurrentPageId), DISPATCH_PROPERTYGET, EARLY(current->get_CurrentPageId(text())), {}, L"Window.get_CurrentPageId"},
        {L"CurrentSectionId", SlotOf(&W::get_CurrentSectionId), DISPATCH_PROPERTYGET, EARLY(current->get_CurrentSectionId(text())), {}, L"Window.get_CurrentSectionId"},
        {L"CurrentSectionGroupId", SlotOf(&W::get_CurrentSectionGroupId), DISPATCH_PROPERTYGET, EARLY(current->get_CurrentSectionGroupId(text())), {}, L"Window.get_CurrentSectionGroupId"},
        {L"CurrentNotebookId", SlotOf(&W::get_CurrentNotebookId), DISPATCH_PROPERTYGET, EARLY(current->get_CurrentNotebookId(text())), {}, L"Window.get_CurrentNotebookId"},
        {L"NavigateTo", SlotOf(&W::NavigateTo), DISPATCH_METHOD, EARLY(current->NavigateTo(unknown, _bstr_t(L""))), {S(Unknown), S(L"")}, L"Window.NavigateTo"},
        {L"FullPageView", SlotOf(&W::get_FullPageView), DISPATCH_PROPERTYGET, EARLY(current->get_FullPageView(&flag)), {}, L"Window.get_FullPageView"},
        {L"FullPageView", SlotOf(&W::put_FullPageView), DISPATCH_PROPERTYPUT, EARLY(current->put_FullPageView(VARIANT_TRUE)), {B(true)}, L"Window.put_FullPageView"},
        {L"Active", SlotOf(&W::get_Active), DISPATCH_PROPERTYGET, EARLY(current->get_Active(&flag)), {}, L"Window.get_Active"},
        {L"Active", SlotOf(&W::put_Active), DISPATCH_PROPERTYPUT, EARLY(current->put_Active(VARIANT_TRUE)), {B(true)}, L"Window.put_Active"},
        {L"DockedLocation", SlotOf(&W::get_DockedLocation), DISPATCH_PROPERTYGET, EARLY(current->get_DockedLocation(&dock)), {}, L"Window.get_DockedLocation"},
        {L"DockedLocation", SlotOf(&W::put_DockedLocation), DISPATCH_PROPERTYPUT, EARLY(current->put_DockedLocation(ON16::dlLeft)), {L(1)}, L"Window.put_DockedLocation"},
        {L"Application", SlotOf(&W::get_Application), DISPATCH_PROPERTYGET, EARLY(current->get_Application(&application)), {}, L"Window.get_Application"},
        {L"SideNote", SlotOf(&W::get_SideNote), DISPATCH_PROPERTYGET, EARLY(current->get_SideNote(&flag)), {}, L"Window.get_SideNote"},
        {L"NavigateToUrl", SlotOf(&W::NavigateToUrl), DISPATCH_METHOD, EARLY(current->NavigateToUrl(_bstr_t(L"onenote:///x"))), {S(L"onenote:///x")}, L"Window.NavigateToUrl"},
        {L"SetDockedLocation", SlotOf(&W::SetDockedLocation), DISPATCH_METHOD, EARLY(current->SetDockedLocation(ON16::dlRight, POINT{3, 4})),
         {L(2), P(3, 4)}, L"Window.SetDockedLocation"},
    });
    SysFreeString(out);
    if (application)
        application->Release();
}

TEST_F(DualInterface, QuickFilingDialogMembersLandInTheSameImplementation)
{
    ApplicationPtr app = Connect();
    DialogPtr dialog;
    ASSERT_EQ(app->QuickFiling(&dialog), S_OK);
    using Q_ = ON16::IQuickFilingDialog;
    BSTR out = nullptr;
    const auto text = [&]() {
        SysFreeString(out);
        out = nullptr;
        return &out;
    };
    VARIANT_BOOL flag = VARIANT_FALSE;
    ULONGLONG handle = 0;
    ON16::HierarchyElement depth = ON16::heNone;
    POINT position{};
    ULONG button = 0;
    Check(dialog, {
        {L"Title", SlotOf(&Q_::get_Title), DISPATCH_PROPERTYGET, EARLY(dialog->get_Title(text())), {}, L"QuickFilingDialog.get_Title"},
        {L"Title", SlotOf(&Q_::put_Title), DISPATCH_PROPERTYPUT, EARLY(dialog->put_Title(_bstr_t(L"T"))), {S(L"T")}, L"QuickFilingDialog.put_Title"},
        {L"Description", SlotOf(&Q_::get_Description), DISPATCH_PROPERTYGET, EARLY(dialog->get_Description(text())), {}, L"QuickFilingDialog.get_Description"},
        {L"Description", SlotOf(&Q_::put_Description), DISPATCH_PROPERTYPUT, EARLY(dialog->put_Description(_bstr_t(L"D"))), {S(L"D")}, L"QuickFilingDialog.put_Description"},
        {L"CheckboxText", SlotOf(&Q_::get_CheckboxText), DISPATCH_PROPERTYGET, EARLY(dialog->get_CheckboxText(text())), {}, L"QuickFilingDialog.get_CheckboxText"},
        {L"CheckboxText", SlotOf(&Q_::put_CheckboxText), DISPATCH_PROPERTYPUT, EARLY(dialog->put_CheckboxText(_bstr_t(L"C"))), {S(L"C")}, L"QuickFilingDialog.put_CheckboxText"},
        {L"CheckboxState", SlotOf(&Q_::get_CheckboxState), DISPATCH_PROPERTYGET, EARLY(dialog->get_CheckboxState(&flag)), {}, L"QuickFilingDialog.get_CheckboxState"},
        {L"CheckboxState", SlotOf(&Q_::put_CheckboxState), DISPATCH_PROPERTYPUT, EARLY(dialog->put_CheckboxState(VARIANT_TRUE)), {B(true)}, L"QuickFilingDialog.put_CheckboxState"},
        {L"WindowHandle", SlotOf(&Q_::get_WindowHandle), DISPATCH_PROPERTYGET, EARLY(dialog->get_WindowHandle(&handle)), {}, L"QuickFilingDialog.get_WindowHandle"},
        {L"TreeDepth", SlotOf(&Q_::get_TreeDepth), DISPATCH_PROPERTYGET, EARLY(dialog->get_TreeDepth(&depth)), {}, L"QuickFilingDialog.get_TreeDepth"},
        {L"TreeDepth", SlotOf(&Q_::put_TreeDepth), DISPATCH_PROPERTYPUT, EARLY(dialog->put_TreeDepth(ON16::hePages)), {L(8)}, L"QuickFilingDialog.put_TreeDepth"},
        {L"ParentWindowHandle", SlotOf(&Q_::get_ParentWindowHandle), DISPATCH_PROPERTYGET, EARLY(dialog->get_ParentWindowHandle(&handle)), {}, L"QuickFilingDialog.get_ParentWindowHandle"},
        {L"ParentWindowHandle", SlotOf(&Q_::put_ParentWindowHandle), DISPATCH_PROPERTYPUT, EARLY(dialog->put_ParentWindowHandle(0x12345678ULL)), {Q(0x12345678ULL)}, L"QuickFilingDialog.put_ParentWindowHandle"},
        {L"Position", SlotOf(&Q_::get_Position), DISPATCH_PROPERTYGET, EARLY(dialog->get_Position(&position)), {}, L"QuickFilingDialog.get_Position"},
        {L"Position", SlotOf(&Q_::put_Position), DISPATCH_PROPERTYPUT, EARLY(dialog->put_Position(POINT{5, 6})), {P(5, 6)}, L"QuickFilingDialog.put_Position"},
        {L"SetRecentResults", SlotOf(&Q_::SetRecentResults), DISPATCH_METHOD, EARLY(dialog->SetRecentResults(ON16::rrtFiling, VARIANT_TRUE, VARIANT_FALSE, VARIANT_FALSE)),
         {L(1), B(true), B(false), B(false)}, L"QuickFilingDialog.SetRecentResults"},
        {L"AddButton", SlotOf(&Q_::AddButton), DISPATCH_METHOD, EARLY(dialog->AddButton(_bstr_t(L"Select"), static_cast<ON16::HierarchyElement>(7), ON16::heNone, VARIANT_TRUE)),
         {S(L"Select"), L(7), L(0), B(true)}, L"QuickFilingDialog.AddButton"},
        {L"Run", SlotOf(&Q_::Run), DISPATCH_METHOD, EARLY(dialog->Run(nullptr)), {NoObject()}, L"QuickFilingDialog.Run"},
        {L"SelectedItem", SlotOf(&Q_::get_SelectedItem), DISPATCH_PROPERTYGET, EARLY(dialog->get_SelectedItem(text())), {}, L"QuickFilingDialog.get_SelectedItem"},
        {L"PressedButton", SlotOf(&Q_::get_PressedButton), DISPATCH_PROPERTYGET, EARLY(dialog->get_PressedButton(&button)), {}, L"QuickFilingDialog.get_PressedButton"},
        {L"TreeCollapsedState", SlotOf(&Q_::put_TreeCollapsedState), DISPATCH_PROPERTYPUT, EARLY(dialog->put_TreeCollapsedState(ON16::tcsCollapsed)), {L(1)}, L"QuickFilingDialog.put_TreeCollapsedState"},
        {L"NotebookFilterOut", SlotOf(&Q_::put_NotebookFilterOut), DISPATCH_PROPERTYPUT, EARLY(dialog->put_NotebookFilterOut(ON16::nfoWeb)), {L(4)}, L"QuickFilingDialog.put_NotebookFilterOut"},
        {L"ShowCreateNewNotebook", SlotOf(&Q_::ShowCreateNewNotebook), DISPATCH_METHOD, EARLY(dialog->ShowCreateNewNotebook()), {}, L"QuickFilingDialog.ShowCreateNewNotebook"},
        {L"AddInitialEditor", SlotOf(&Q_::AddInitialEditor), DISPATCH_METHOD, EARLY(dialog->AddInitialEditor(_bstr_t(L"e"))), {S(L"e")}, L"QuickFilingDialog.AddInitialEditor"},
        {L"ClearInitialEditors", SlotOf(&Q_::ClearInitialEditors), DISPATCH_METHOD, EARLY(dialog->ClearInitialEditors()), {}, L"QuickFilingDialog.ClearInitialEditors"},
        {L"ShowSharingHyperlink", SlotOf(&Q_::ShowSharingHyperlink), DISPATCH_METHOD, EARLY(dialog->ShowSharingHyperlink()), {}, L"QuickFilingDialog.ShowSharingHyperlink"},
    });
    SysFreeString(out);
    // The callback's one member sits in slot 7 with OneNote's dispatch id.
    EXPECT_EQ(SlotOf(&ON16::IQuickFilingDialogCallback::OnDialogClosed), 7);
}

TEST_F(DualInterface, UnknownNamesAndOutParametersAsResults)
{
    ApplicationPtr app = Connect();
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"NoSuchMember");
    EXPECT_EQ(app->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
    // A late-bound GetHyperlinkToObject gives its link as the call's result.
    const std::wstring page = FirstId(Hierarchy(app, L"", ON16::hsPages), L"Page");
    name = const_cast<LPOLESTR>(L"GetHyperlinkToObject");
    ASSERT_EQ(app->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    VARIANT arguments[2];
    arguments[1].vt = VT_BSTR;
    arguments[1].bstrVal = SysAllocString(page.c_str());
    arguments[0].vt = VT_BSTR;
    arguments[0].bstrVal = SysAllocString(L"");
    DISPPARAMS params{arguments, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(app->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.bstrVal).rfind(L"onenote:", 0), 0u);
    VariantClear(&result);
    VariantClear(&arguments[0]);
    VariantClear(&arguments[1]);
}
} // namespace
} // namespace StandInTest
