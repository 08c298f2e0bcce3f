#include "tests/import_engine/EngineTestSupport.h"

#include "framework/com/UnknownImpl.h"

namespace EngineTest
{
namespace
{
constexpr HRESULT Busy = RPC_E_CALL_REJECTED;

class OneNoteCalls : public EngineTest
{
protected:
    // The results of the stand-in's calls of one method, in order.
    std::vector<HRESULT> ResultsOf(const std::wstring& method) const
    {
        std::vector<HRESULT> results;
        for (const auto& call : Calls())
            if (call.method == method)
                results.push_back(call.result);
        return results;
    }
};

TEST_F(OneNoteCalls, CallRejectedTwiceIsAcceptedTheThirdTimeAfterBothPauses)
{
    WriteScenario("store demo\nbusy GetHierarchy 2\n");
    auto application = Application();
    _bstr_t xml;
    EXPECT_EQ(GetHierarchyWithRetry(*application, L"", ON16::hsNotebooks, xml), S_OK);
    EXPECT_NE(std::wstring(static_cast<const wchar_t*>(xml)).find(L"<one:Notebooks"), std::wstring::npos);
    EXPECT_EQ(ResultsOf(L"GetHierarchy"), (std::vector<HRESULT>{Busy, Busy, S_OK}));
    EXPECT_EQ(pauses_.Taken(), (std::vector<DWORD>{500, 2500}));
}

TEST_F(OneNoteCalls, CallAcceptedAtOnceTakesNoPause)
{
    auto application = Application();
    const std::wstring section = FirstId(Hierarchy(application, L"", ON16::hsSections), L"Section");
    EXPECT_EQ(NavigateToWithRetry(*application, section.c_str()), S_OK);
    EXPECT_EQ(Calls().back().arguments, (std::vector<std::wstring>{section, L"", L"false"}));
    EXPECT_EQ(ResultsOf(L"NavigateTo").size(), 1u);
    EXPECT_TRUE(pauses_.Taken().empty());
}

TEST_F(OneNoteCalls, ThirdRejectionIsRaisedAfterThreeCalls)
{
    WriteScenario("store demo\nbusy UpdateHierarchy 3\n");
    auto application = Application();
    const auto error = ComErrorRaisedBy([&] { UpdateHierarchyWithRetry(*application, L"<one:Notebooks/>"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Error(), Busy);
    EXPECT_EQ(ResultsOf(L"UpdateHierarchy"), (std::vector<HRESULT>{Busy, Busy, Busy}));
    EXPECT_EQ(pauses_.Taken(), (std::vector<DWORD>{500, 2500}));
}

TEST_F(OneNoteCalls, OtherFailuresAreRaisedAtOnceWithOneNotesDescription)
{
    WriteScenario("store demo\nfail NavigateTo 0x80042014 The object does not exist here.\n");
    auto application = Application();
    const auto error = ComErrorRaisedBy([&] { NavigateToWithRetry(*application, L"{1}"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Error(), static_cast<HRESULT>(0x80042014));
    EXPECT_EQ(DescriptionOf(*error), L"The object does not exist here.");
    EXPECT_EQ(ResultsOf(L"NavigateTo").size(), 1u);
    EXPECT_TRUE(pauses_.Taken().empty());
}

TEST_F(OneNoteCalls, ErrorsOfTheWindowsCollectionAndWindowCarryTheirDescriptions)
{
    WriteScenario("store demo\nfail Windows.get_CurrentWindow 0x80004005 No window today.\n"
                  "fail Window.get_WindowHandle 0x80004005 No handle today.\n");
    auto application = Application();
    const ON16::WindowsPtr windows = GetWindowsWithRetry(*application);
    ASSERT_TRUE(windows);
    const auto windowError = ComErrorRaisedBy([&] { GetCurrentWindowWithRetry(*windows); });
    ASSERT_TRUE(windowError);
    EXPECT_EQ(windowError->Error(), E_FAIL);
    EXPECT_EQ(DescriptionOf(*windowError), L"No window today.");
    ON16::WindowPtr window;
    ASSERT_EQ(windows->get_Item(0, &window), S_OK);
    const auto handleError = ComErrorRaisedBy([&] { GetWindowHandleWithRetry(*window); });
    ASSERT_TRUE(handleError);
    EXPECT_EQ(DescriptionOf(*handleError), L"No handle today.");
}

TEST_F(OneNoteCalls, MissingCollectionOrWindowIsNoFailure)
{
    WriteScenario("store demo\nwindows none\n");
    auto application = Application();
    EXPECT_FALSE(GetWindowsWithRetry(*application));
    WriteScenario("store demo\ncurrentwindow none\n");
    const ON16::WindowsPtr windows = GetWindowsWithRetry(*application);
    ASSERT_TRUE(windows);
    EXPECT_FALSE(GetCurrentWindowWithRetry(*windows));
}

TEST_F(OneNoteCalls, WindowHandleIsOneNotesTopLevelWindow)
{
    auto application = Application();
    const ON16::WindowsPtr windows = GetWindowsWithRetry(*application);
    ASSERT_TRUE(windows);
    const ON16::WindowPtr window = GetCurrentWindowWithRetry(*windows);
    ASSERT_TRUE(window);
    const auto handle = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(GetWindowHandleWithRetry(*window)));
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_EQ(GetAncestor(handle, GA_ROOT), handle);
}

TEST_F(OneNoteCalls, PageUpdateHandsBackTheLastResultWithoutRaising)
{
    WriteScenario("store demo\nbusy UpdatePageContent 3\n");
    auto application = Application();
    const _bstr_t xml(L"<one:Page xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\"/>");
    EXPECT_EQ(UpdatePageContentWithRetry({.application = *application, .xml = xml}), Busy);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 3u);
    // The same arguments on every try: the XML, date 0, the 2013 schema and force.
    for (const auto& call : calls)
        EXPECT_EQ(call.arguments, (std::vector<std::wstring>{static_cast<const wchar_t*>(xml), L"0.000000", L"2", L"true"}));
    EXPECT_EQ(pauses_.Taken(), (std::vector<DWORD>{500, 2500}));
}

TEST_F(OneNoteCalls, HierarchyAnswerReplacesWhatTheStringHeld)
{
    auto application = Application();
    _bstr_t xml(L"left over");
    GetHierarchyWithRetry(*application, L"", ON16::hsSections, xml);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(xml)).find(L"left over"), std::wstring::npos);
    EXPECT_EQ(Calls().at(0).arguments, (std::vector<std::wstring>{L"", L"3", L"2"}));
}

// A windows collection of the test's own that is always busy and tells which interface its error
// information was asked for.
class BusyWindows : public UnknownImpl<ON16::Windows>, public ISupportErrorInfo
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return UnknownImpl::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return UnknownImpl::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return UnknownImpl::Release(); }
    void* FindInterface(REFIID riid) override
    {
        if (IsEqualIID(riid, IID_ISupportErrorInfo))
            return static_cast<ISupportErrorInfo*>(this);
        return UnknownImpl::FindInterface(riid);
    }
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override
    {
        askedFor.push_back(riid);
        return S_FALSE;
    }

    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP get_Item(ULONG, ON16::Window**) override { return E_NOTIMPL; }
    STDMETHODIMP get_Count(ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get__NewEnum(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP get_CurrentWindow(ON16::Window** out) override
    {
        *out = nullptr;
        ++calls;
        return Busy;
    }

    int calls = 0;
    std::vector<IID> askedFor;
};

TEST_F(OneNoteCalls, RaisedErrorsAskTheCalledInterfaceForItsErrorInformation)
{
    const _com_ptr_t<_com_IIID<BusyWindows, &__uuidof(ON16::Windows)>> windows(new BusyWindows(), false);
    EXPECT_THROW(GetCurrentWindowWithRetry(*windows), _com_error);
    EXPECT_EQ(windows->calls, 3);
    ASSERT_EQ(windows->askedFor.size(), 1u);
    EXPECT_TRUE(IsEqualIID(windows->askedFor[0], __uuidof(ON16::Windows)));
    EXPECT_EQ(pauses_.Taken(), (std::vector<DWORD>{500, 2500}));
}

TEST(BusyPause, WithoutAReplacementTheRetrySleeps)
{
    int calls = 0;
    const DWORD start = GetTickCount();
    EXPECT_EQ(RetryWhileBusy([&] { return ++calls == 1 ? Busy : S_FALSE; }), S_FALSE);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(calls, 2);
    EXPECT_GE(elapsed, 450u);
    EXPECT_LT(elapsed, 2500u);
}
} // namespace
} // namespace EngineTest
