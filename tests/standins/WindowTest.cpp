#include "tests/standins/StandInFixture.h"

#include "framework/com/UnknownImpl.h"

#include "tests/support/Screenshot.h"

#include "tests/support/TestPaths.h"

#include <commctrl.h>
#include <psapi.h>

#include <atomic>

namespace StandInTest
{
namespace
{
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
{
    if (record->iType == EMR_EXTTEXTOUTW)
    {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
        reinterpret_cast<std::wstring*>(data)->append(chars, text->emrtext.nChars).append(L"\n");
    }
    return 1;
}

class Windows : public StandInTest
{
protected:
    // Pumps this thread's messages until the condition holds or about five seconds passed.
    template <typename Condition>
    static bool WaitUntil(Condition condition)
    {
        for (int i = 0; i < 500; ++i, Sleep(10))
        {
            Screenshot::PumpMessages();
            if (condition())
                return true;
        }
        return false;
    }

    static std::wstring Caption(HWND window)
    {
        wchar_t caption[256] = {};
        GetWindowTextW(window, caption, 256);
        return caption;
    }

    static HWND HandleOf(ON16::Window* window)
    {
        ULONGLONG handle = 0;
        EXPECT_EQ(window->get_WindowHandle(&handle), S_OK);
        return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
    }

    ULONG Count(ON16::IApplication* app)
    {
        WindowsPtr windows;
        EXPECT_EQ(app->get_Windows(&windows), S_OK);
        ULONG count = 99;
        if (windows)
        {
            EXPECT_EQ(windows->get_Count(&count), S_OK);
        }
        return count;
    }

    WindowPtr CurrentWindow(ON16::IApplication* app)
    {
        WindowsPtr windows;
        EXPECT_EQ(app->get_Windows(&windows), S_OK);
        WindowPtr window;
        if (windows)
        {
            EXPECT_EQ(windows->get_CurrentWindow(&window), S_OK);
        }
        return window;
    }

    static std::wstring Read(ON16::Window* window, HRESULT (STDMETHODCALLTYPE ON16::Window::*property)(BSTR*))
    {
        BSTR value = nullptr;
        EXPECT_EQ((window->*property)(&value), S_OK);
        std::wstring text = value ? value : L"";
        SysFreeString(value);
        return text;
    }

    std::wstring Link(ON16::IApplication* app, const std::wstring& id)
    {
        BSTR link = nullptr;
        EXPECT_EQ(app->GetHyperlinkToObject(_bstr_t(id.c_str()), _bstr_t(L""), &link), S_OK);
        std::wstring text = link ? link : L"";
        SysFreeString(link);
        return text;
    }
};

TEST_F(Windows, NavigationChangesTheCurrentIds)
{
    ApplicationPtr app = Connect();
    WindowPtr window = CurrentWindow(app);
    ASSERT_TRUE(window);
    const std::wstring all = Hierarchy(app, L"", ON16::hsPages);
    // A page in a section inside a section group: "Sourdough bread" in Personal > Recipes > Baking.
    const std::wstring group = FirstId(all, L"SectionGroup", L"Recipes");
    const std::wstring section = FirstId(all, L"Section", L"Baking");
    const std::wstring page = FirstId(all, L"Page", L"Sourdough bread");
    const std::wstring notebook = FirstId(all, L"Notebook", L"Personal");
    const std::wstring link = Link(app, page);
    EXPECT_EQ(link.rfind(L"onenote:", 0), 0u);
    ASSERT_EQ(app->NavigateToUrl(_bstr_t(link.c_str()), VARIANT_FALSE), S_OK);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentPageId), page);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentSectionId), section);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentSectionGroupId), group);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentNotebookId), notebook);
    EXPECT_NE(Hierarchy(app, page, ON16::hsSelf).find(L"isCurrentlyViewed=\"true\""), std::wstring::npos);

    // A section directly under its notebook: no current section group.
    const std::wstring work = FirstId(all, L"Notebook", L"Work");
    const std::wstring meetings = FirstId(all, L"Section", L"Meetings");
    ASSERT_EQ(app->NavigateToUrl(_bstr_t(Link(app, meetings).c_str()), VARIANT_FALSE), S_OK);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentSectionId), meetings);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentSectionGroupId), L"");
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentNotebookId), work);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentPageId), FirstId(Hierarchy(app, meetings, ON16::hsPages), L"Page"));

    // A notebook's link (its path) and the window's own NavigateTo.
    ASSERT_EQ(app->NavigateToUrl(_bstr_t(Link(app, notebook).c_str()), VARIANT_FALSE), S_OK);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentNotebookId), notebook);
    ASSERT_EQ(window->NavigateTo(_bstr_t(page.c_str()), _bstr_t(L"")), S_OK);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentPageId), page);
    ASSERT_EQ(app->NavigateTo(_bstr_t(meetings.c_str()), _bstr_t(L""), VARIANT_TRUE), S_OK);
    EXPECT_EQ(Read(window, &ON16::Window::get_CurrentSectionId), meetings);

    EXPECT_EQ(app->NavigateToUrl(_bstr_t(L"onenote:///nowhere#section-id={00000000-0000-0000-0000-000000000000}&end"),
                                 VARIANT_FALSE),
              static_cast<HRESULT>(0x80042014));
}

TEST_F(Windows, WindowIsRealAndKnowsSideNoteAndActive)
{
    ApplicationPtr app = Connect();
    WindowPtr window = CurrentWindow(app);
    ASSERT_TRUE(window);
    ULONGLONG handle = 0;
    ASSERT_EQ(window->get_WindowHandle(&handle), S_OK);
    EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle))));
    EXPECT_EQ(GetAncestor(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle)), GA_ROOT),
              reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle)));
    VARIANT_BOOL sideNote = VARIANT_TRUE;
    EXPECT_EQ(window->get_SideNote(&sideNote), S_OK);
    EXPECT_EQ(sideNote, VARIANT_FALSE);
    EXPECT_EQ(window->put_Active(VARIANT_TRUE), S_OK);
    VARIANT_BOOL active = VARIANT_FALSE;
    EXPECT_EQ(window->get_Active(&active), S_OK);
    EXPECT_EQ(active, VARIANT_TRUE);
    WindowsPtr windows;
    ASSERT_EQ(app->get_Windows(&windows), S_OK);
    ULONG count = 0;
    EXPECT_EQ(windows->get_Count(&count), S_OK);
    EXPECT_EQ(count, 1u);

    // Navigating shows the window with the page.
    const std::wstring page = FirstId(Hierarchy(app, L"", ON16::hsPages), L"Page", L"Lisbon itinerary");
    const HWND shown = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
    ShowWindow(shown, SW_HIDE);
    ASSERT_EQ(window->NavigateTo(_bstr_t(page.c_str()), _bstr_t(L"")), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(shown) && Caption(shown) == L"Lisbon itinerary - OneNote (stand-in)"; }));
    if (FindWindowW(L"Framework::CFrame", nullptr) == nullptr)
    {
        Screenshot::GdiplusSession gdiplus;
        Screenshot::SaveWindow(shown, L"window");
    }
    // Closing it only hides it, as OneNote keeps running; the next navigation shows it again.
    SendMessageW(shown, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(shown));
    ASSERT_EQ(app->NavigateTo(_bstr_t(page.c_str()), _bstr_t(L""), VARIANT_FALSE), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(shown) != FALSE; }));
    ShowWindow(shown, SW_HIDE);

    WriteScenario("sidenote true\n");
    EXPECT_EQ(window->get_SideNote(&sideNote), S_OK);
    EXPECT_EQ(sideNote, VARIANT_TRUE);
}

TEST_F(Windows, WindowLetsItsProcessTakeTheForegroundAsOneNotesProxyDoes)
{
    ApplicationPtr app = Connect();
    WindowPtr window = CurrentWindow(app);
    ASSERT_TRUE(window);
    EXPECT_EQ(CoAllowSetForegroundWindow(window, nullptr), S_OK);
    // What CoAllowSetForegroundWindow asks of the object on Windows (Wine's answers without asking).
    _com_ptr_t<_com_IIID<IForegroundTransfer, &IID_IForegroundTransfer>> transfer;
    ASSERT_EQ(window->QueryInterface(IID_IForegroundTransfer, reinterpret_cast<void**>(&transfer)), S_OK);
    EXPECT_EQ(transfer->AllowForegroundTransfer(nullptr), S_OK);
    int reserved = 0;
    EXPECT_EQ(transfer->AllowForegroundTransfer(&reserved), E_INVALIDARG);
    // The transfer is one object with the window: its IUnknown is the window's.
    IUnknown* fromTransfer = nullptr;
    IUnknown* fromWindow = nullptr;
    ASSERT_EQ(transfer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromTransfer)), S_OK);
    ASSERT_EQ(window->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromWindow)), S_OK);
    EXPECT_EQ(fromTransfer, fromWindow);
    fromTransfer->Release();
    fromWindow->Release();
    WindowPtr back;
    EXPECT_EQ(transfer->QueryInterface(__uuidof(ON16::Window), reinterpret_cast<void**>(&back)), S_OK);
    EXPECT_EQ(back.GetInterfacePtr(), window.GetInterfacePtr());

    WriteScenario("fail Window.AllowForegroundTransfer 0x80004005\n");
    EXPECT_EQ(transfer->AllowForegroundTransfer(nullptr), E_FAIL);
    std::vector<HRESULT> logged;
    for (const auto& call : Calls())
        if (call.method == L"Window.AllowForegroundTransfer")
            logged.push_back(call.result);
    EXPECT_EQ(logged, (std::vector<HRESULT>{S_OK, E_INVALIDARG, E_FAIL}));
}

TEST_F(Windows, NavigateToWithANewWindowOpensOne)
{
    ApplicationPtr app = Connect();
    const std::wstring page = FirstId(Hierarchy(app, L"", ON16::hsPages), L"Page", L"Packing list");

    // OneNote running without a window: the navigation opens one, which becomes the current one.
    WriteScenario("currentwindow none\n");
    EXPECT_EQ(Count(app), 0u);
    EXPECT_FALSE(CurrentWindow(app));
    // Without asking for a new window, the navigation leaves OneNote without one.
    ASSERT_EQ(app->NavigateTo(_bstr_t(page.c_str()), _bstr_t(L""), VARIANT_FALSE), S_OK);
    EXPECT_EQ(Count(app), 0u);
    ASSERT_EQ(app->NavigateTo(_bstr_t(page.c_str()), _bstr_t(L""), VARIANT_TRUE), S_OK);
    EXPECT_EQ(Count(app), 1u);
    WindowPtr opened = CurrentWindow(app);
    ASSERT_TRUE(opened);
    const HWND first = HandleOf(opened);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(first) && Caption(first) == L"Packing list - OneNote (stand-in)"; }));
    EXPECT_EQ(Read(opened, &ON16::Window::get_CurrentPageId), page);

    // Beside a side note: a second, full window opens; the side note stays as it was.
    WriteScenario("sidenote true\n");
    WindowPtr sideNote = CurrentWindow(app);
    VARIANT_BOOL isSideNote = VARIANT_FALSE;
    ASSERT_EQ(sideNote->get_SideNote(&isSideNote), S_OK);
    EXPECT_EQ(isSideNote, VARIANT_TRUE);
    ASSERT_EQ(app->NavigateTo(_bstr_t(page.c_str()), _bstr_t(L""), VARIANT_TRUE), S_OK);
    EXPECT_EQ(Count(app), 2u);
    WindowPtr full = CurrentWindow(app);
    ASSERT_TRUE(full);
    ASSERT_EQ(full->get_SideNote(&isSideNote), S_OK);
    EXPECT_EQ(isSideNote, VARIANT_FALSE);
    EXPECT_NE(HandleOf(full), HandleOf(sideNote));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(HandleOf(full)) != FALSE; }));
    WindowsPtr windows;
    ASSERT_EQ(app->get_Windows(&windows), S_OK);
    WindowPtr second;
    EXPECT_EQ(windows->get_Item(1, &second), S_OK);
    ASSERT_TRUE(second);
    EXPECT_EQ(HandleOf(second), HandleOf(full));
    EXPECT_EQ(windows->get_Item(2, &second), E_INVALIDARG);

    // Without a new window, the navigation shows the current one.
    ShowWindow(HandleOf(full), SW_HIDE);
    ASSERT_EQ(app->NavigateTo(_bstr_t(page.c_str()), _bstr_t(L""), VARIANT_FALSE), S_OK);
    EXPECT_EQ(Count(app), 2u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(HandleOf(full)) != FALSE; }));
    ShowWindow(HandleOf(full), SW_HIDE);
    ShowWindow(first, SW_HIDE);
}

TEST_F(Windows, PublishWritesAMetafileWithTheTitleAndText)
{
    ApplicationPtr app = Connect();
    const std::wstring page = FirstId(Hierarchy(app, L"", ON16::hsPages), L"Page", L"Packing list");
    const std::filesystem::path file = TestPaths::OutputFile(L".emf");
    std::error_code error;
    std::filesystem::remove(file, error);
    ASSERT_EQ(app->Publish(_bstr_t(page.c_str()), _bstr_t(file.c_str()), ON16::pfEMF, _bstr_t(L"")), S_OK);
    HENHMETAFILE metafile = GetEnhMetaFileW(file.c_str());
    ASSERT_NE(metafile, nullptr);
    ENHMETAHEADER header{};
    ASSERT_GT(GetEnhMetaFileHeader(metafile, sizeof header, &header), 0u);
    EXPECT_GT(header.rclFrame.right, 0);
    std::wstring texts;
    EnumEnhMetaFile(nullptr, metafile, CollectText, &texts, nullptr);
    DeleteEnhMetaFile(metafile);
    EXPECT_NE(texts.find(L"Packing list"), std::wstring::npos);
    EXPECT_NE(texts.find(L"Passport"), std::wstring::npos);
    // OneNote does not overwrite an existing file.
    EXPECT_EQ(app->Publish(_bstr_t(page.c_str()), _bstr_t(file.c_str()), ON16::pfEMF, _bstr_t(L"")),
              static_cast<HRESULT>(0x8004201A));
}

// The callback of the quick filing dialog, recording the thread it is called on.
class Callback : public ::UnknownImpl<ON16::IQuickFilingDialogCallback>
{
public:
    std::atomic<DWORD> thread{0};
    ULONG button = 99;
    std::wstring selected;
    bool viaInvoke = false;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (id != ON16::DISPID_OnDialogClosed || params->cArgs != 1 || params->rgvarg[0].vt != VT_DISPATCH)
            return DISP_E_MEMBERNOTFOUND;
        DialogPtr dialog;
        params->rgvarg[0].pdispVal->QueryInterface(__uuidof(ON16::IQuickFilingDialog), reinterpret_cast<void**>(&dialog));
        viaInvoke = true;
        return OnDialogClosed(dialog);
    }
    STDMETHODIMP OnDialogClosed(ON16::IQuickFilingDialog* dialog) override
    {
        dialog->get_PressedButton(&button);
        BSTR item = nullptr;
        dialog->get_SelectedItem(&item);
        selected = item ? item : L"";
        SysFreeString(item);
        thread = GetCurrentThreadId();
        return S_OK;
    }
    void* FindInterface(REFIID riid) override
    {
        if (IsEqualIID(riid, IID_IDispatch))
            return static_cast<IDispatch*>(this);
        return UnknownImpl::FindInterface(riid);
    }
};

void RunDialog(ON16::IApplication* app, Callback* callback)
{
    DialogPtr dialog;
    ASSERT_EQ(app->QuickFiling(&dialog), S_OK);
    ASSERT_EQ(dialog->put_Title(_bstr_t(L"Choose Target Location")), S_OK);
    ASSERT_EQ(dialog->put_TreeDepth(ON16::heSections), S_OK);
    ASSERT_EQ(dialog->AddButton(_bstr_t(L"Select Import Location"), static_cast<ON16::HierarchyElement>(7),
                                ON16::heNone, VARIANT_TRUE),
              S_OK);
    ASSERT_EQ(dialog->Run(callback), S_OK);
    // Run returns at once: the dialog has not closed yet.
    EXPECT_EQ(callback->thread.load(), 0u);
    dialog = nullptr;
    for (int i = 0; i < 500 && callback->thread == 0; ++i)
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    }
}

TEST_F(Windows, QuickFilingCallbackArrivesLaterOnTheCallingThread)
{
    ApplicationPtr app = Connect();
    const std::wstring section = FirstId(Hierarchy(app, L"", ON16::hsSections), L"Section", L"Travel");
    WriteScenario("quickfiling 0 " + Utf8(section) + " 100\n");
    auto* callback = new Callback();
    RunDialog(app, callback);
    EXPECT_EQ(callback->thread.load(), GetCurrentThreadId());
    EXPECT_EQ(callback->button, 0u);
    EXPECT_EQ(callback->selected, section);
    EXPECT_FALSE(callback->viaInvoke);
    callback->Release();

    WriteScenario("quickfiling 1 - 10\ncallback invoke\n");
    callback = new Callback();
    RunDialog(app, callback);
    EXPECT_EQ(callback->thread.load(), GetCurrentThreadId());
    EXPECT_EQ(callback->button, 1u);
    EXPECT_TRUE(callback->viaInvoke);
    callback->Release();

    bool logged = false;
    for (const auto& call : Calls())
        logged = logged || (call.method == L"Callback.OnDialogClosed" &&
                            call.arguments[0] == std::to_wstring(GetCurrentThreadId()));
    EXPECT_TRUE(logged);
}

TEST_F(Windows, APersonRunningThemHerePicksTheLocationInAWindow)
{
    ApplicationPtr app = Connect();
    // Without a scenario or store named, the dialog is the picker a person uses (default store).
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_SCENARIO", nullptr);
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", nullptr);
    auto* callback = new Callback();
    DialogPtr dialog;
    ASSERT_EQ(app->QuickFiling(&dialog), S_OK);
    ASSERT_EQ(dialog->put_Title(_bstr_t(L"Choose Target Location")), S_OK);
    ASSERT_EQ(dialog->put_Description(_bstr_t(L"Choose a location to import files")), S_OK);
    ASSERT_EQ(dialog->put_TreeDepth(ON16::heSections), S_OK);
    ASSERT_EQ(dialog->AddButton(_bstr_t(L"Select Import Location"), static_cast<ON16::HierarchyElement>(7),
                                ON16::heNone, VARIANT_TRUE),
              S_OK);
    ASSERT_EQ(dialog->Run(callback), S_OK);
    dialog = nullptr;
    HWND picker = FindWindowW(L"QuilloraOneNoteStandInPicker", L"Choose Target Location");
    ASSERT_NE(picker, nullptr);
    HWND tree = FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
    ASSERT_NE(tree, nullptr);
    HTREEITEM notebook = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    HTREEITEM section = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(notebook)));
    ASSERT_NE(section, nullptr);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(section));
    Screenshot::GdiplusSession gdiplus;
    Screenshot::SaveWindow(picker, L"picker");
    SendMessageW(picker, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(callback->thread.load(), GetCurrentThreadId());
    EXPECT_EQ(callback->button, 0u);
    EXPECT_FALSE(callback->selected.empty());
    EXPECT_FALSE(IsWindow(picker));
    callback->Release();
}

std::filesystem::path OneNoteExe(const wchar_t* variant)
{
    return TestPaths::StandInOneNoteExe(variant);
}

std::pair<int, int> VersionOf(const std::filesystem::path& file)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    std::vector<BYTE> data(size);
    if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, data.data()))
        return {0, 0};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length))
        return {0, 0};
    return {HIWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS)};
}

TEST_F(Windows, OneNoteExeComesInTwoVersions)
{
    EXPECT_EQ(VersionOf(OneNoteExe(L"inside")), std::make_pair(16, 16400));
    EXPECT_EQ(VersionOf(OneNoteExe(L"outside")), std::make_pair(16, 17126));
}

TEST_F(Windows, WindowHandleIsOneNoteExesWindowWhileItRuns)
{
    std::wstring commandLine = L"\"" + OneNoteExe(L"inside").wstring() + L"\" 20000";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    Owners::KernelHandle processHandle(process.hProcess);
    Owners::KernelHandle threadHandle(process.hThread);
    WaitForInputIdle(process.hProcess, 10000);
    HWND found = nullptr;
    for (int i = 0; i < 500 && !found; ++i, Sleep(10))
        found = FindWindowW(L"Framework::CFrame", nullptr);
    ASSERT_NE(found, nullptr);

    ApplicationPtr app = Connect();
    WindowPtr window = CurrentWindow(app);
    ULONGLONG handle = 0;
    ASSERT_EQ(window->get_WindowHandle(&handle), S_OK);
    const HWND reported = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(handle));
    EXPECT_EQ(reported, found);
    DWORD processId = 0;
    GetWindowThreadProcessId(GetAncestor(reported, GA_ROOT), &processId);
    EXPECT_EQ(processId, process.dwProcessId);
    wchar_t image[1024] = {};
    DWORD size = 1024;
    Owners::KernelHandle opened(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    ASSERT_TRUE(opened);
    ASSERT_TRUE(QueryFullProcessImageNameW(opened.get(), 0, image, &size));
    EXPECT_EQ(VersionOf(image), std::make_pair(16, 16400));

    // Its window shows the page navigated to, read from the store this test named.
    const std::wstring page = FirstId(Hierarchy(app, L"", ON16::hsPages), L"Page", L"Lisbon itinerary");
    ShowWindow(found, SW_HIDE);
    ASSERT_EQ(window->NavigateTo(_bstr_t(page.c_str()), _bstr_t(L"")), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(found) && Caption(found) == L"Lisbon itinerary - OneNote (stand-in)"; }));
    _com_ptr_t<_com_IIID<IForegroundTransfer, &IID_IForegroundTransfer>> transfer;
    ASSERT_EQ(window->QueryInterface(IID_IForegroundTransfer, reinterpret_cast<void**>(&transfer)), S_OK);
    EXPECT_EQ(transfer->AllowForegroundTransfer(nullptr), S_OK);
    {
        Screenshot::GdiplusSession gdiplus;
        Screenshot::SaveWindow(found, L"onenote-exe");
    }

    PostMessageW(found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
}
} // namespace
} // namespace StandInTest
