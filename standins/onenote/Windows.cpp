// The windows collection and a window: the current view, navigation, and the top-level window
// that Window::WindowHandle reports.
#include "standins/onenote/Objects.h"

#include "framework/Owners.h"

#include <atomic>
#include <memory>
#include <thread>

namespace StandIn
{
namespace
{
// What a window shows beyond the store's current view; OneNote keeps it per window.
std::atomic<bool> g_active{true};
std::atomic<bool> g_fullPageView{false};
std::atomic<LONG> g_dockedLocation{ON16::dlNone};

HWND g_ownWindow = nullptr;

// The stand-in's own window shows the current page, as OneNote's window would.
void PaintCurrentPage(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PageText text;
    const CurrentView view = Store::Current().GetCurrentView();
    if (view.pageId.empty() || FAILED(Store::Current().GetPageText(view.pageId, text)))
        text.title = L"(no page)";
    SetBkMode(dc, TRANSPARENT);
    {
        const Owners::Font titleFont(
            CreateFontW(-26, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Segoe UI"));
        const Owners::Font bodyFont(
            CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Segoe UI"));
        // Gives the device context its own font back before the fonts are deleted.
        const Owners::SelectedObject selected(dc, titleFont.get());
        TextOutW(dc, 40, 30, text.title.c_str(), static_cast<int>(text.title.size()));
        SelectObject(dc, bodyFont.get());
        int y = 90;
        for (const auto& line : text.lines)
        {
            TextOutW(dc, 40, y, line.c_str(), static_cast<int>(line.size()));
            y += 22;
        }
    }
    EndPaint(window, &paint);
    SetWindowTextW(window, (text.title + L" - OneNote (stand-in)").c_str());
}

LRESULT CALLBACK HostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
    {
        PaintCurrentPage(window);
        return 0;
    }
    if (message == WM_CLOSE)
    {
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

void RefreshOneNoteWindow()
{
    if (g_ownWindow)
        InvalidateRect(g_ownWindow, nullptr, TRUE);
}

HWND OneNoteWindow()
{
    // The stand-in's onenote.exe owns this window class while it runs.
    if (HWND window = FindWindowW(L"Framework::CFrame", nullptr))
        return window;
    static HWND own = [] {
        // The thread shares the event: after a timed-out wait it may still signal it.
        const auto ready = std::make_shared<Owners::KernelHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        static std::atomic<HWND> created = nullptr;
        std::thread([ready] {
            // The window reads the store, whose XML parser is a COM object.
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = HostWindowProcedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"QuilloraOneNoteStandInWindow";
            RegisterClassW(&windowClass);
            created = CreateWindowExW(0, windowClass.lpszClassName, L"OneNote (stand-in)", WS_OVERLAPPEDWINDOW, 0, 0,
                                      640, 480, nullptr, nullptr, windowClass.hInstance, nullptr);
            g_ownWindow = created;
            SetEvent(ready->get());
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0)
            {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }).detach();
        WaitForSingleObject(ready->get(), 5000);
        return created.load();
    }();
    return own;
}

STDMETHODIMP WindowsCollection::get_Item(ULONG index, ON16::Window** out)
{
    Call call(L"Windows.get_Item", {Number(index)});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    if (call.Injected())
        return call.Failed();
    if (index != 0 || Scenario::Current().NoCurrentWindow())
        return call.Done(E_INVALIDARG);
    *out = new WindowObject();
    return call.Done(S_OK);
}

STDMETHODIMP WindowsCollection::get_Count(ULONG* out)
{
    Call call(L"Windows.get_Count", {});
    if (!out)
        return call.Done(E_POINTER);
    *out = 0;
    if (call.Injected())
        return call.Failed();
    *out = Scenario::Current().NoCurrentWindow() ? 0 : 1;
    return call.Done(S_OK);
}

STDMETHODIMP WindowsCollection::get__NewEnum(IUnknown** out)
{
    Call call(L"Windows.get__NewEnum", {});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    return call.Injected() ? call.Failed() : call.Done(E_NOTIMPL);
}

STDMETHODIMP WindowsCollection::get_CurrentWindow(ON16::Window** out)
{
    Call call(L"Windows.get_CurrentWindow", {});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    if (call.Injected())
        return call.Failed();
    if (!Scenario::Current().NoCurrentWindow())
        *out = new WindowObject();
    return call.Done(S_OK);
}

const std::vector<DispatchEntry>& WindowsCollection::Members() const
{
    using I = ON16::Windows;
    static const std::vector<DispatchEntry> members{
        STANDIN_GET(I, Item, DISPID_VALUE),
        STANDIN_GET(I, Count, 0x60020001),
        STANDIN_GET(I, _NewEnum, DISPID_NEWENUM),
        STANDIN_GET(I, CurrentWindow, 0x60020003),
    };
    return members;
}

STDMETHODIMP WindowObject::get_WindowHandle(ULONGLONG* out)
{
    Call call(L"Window.get_WindowHandle", {});
    if (!out)
        return call.Done(E_POINTER);
    *out = 0;
    if (call.Injected())
        return call.Failed();
    *out = reinterpret_cast<ULONG_PTR>(OneNoteWindow());
    return call.Done(S_OK);
}

HRESULT WindowObject::CurrentId(const wchar_t* method, std::wstring CurrentView::*field, BSTR* out)
{
    Call call(method, {});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    if (call.Injected())
        return call.Failed();
    CurrentView view;
    if (const HRESULT hr = Store::Current().GetCurrentView(view); FAILED(hr))
        return call.Done(hr);
    *out = MakeBstr(view.*field);
    return call.Done(S_OK);
}

STDMETHODIMP WindowObject::get_CurrentPageId(BSTR* out)
{
    return CurrentId(L"Window.get_CurrentPageId", &CurrentView::pageId, out);
}
STDMETHODIMP WindowObject::get_CurrentSectionId(BSTR* out)
{
    return CurrentId(L"Window.get_CurrentSectionId", &CurrentView::sectionId, out);
}
STDMETHODIMP WindowObject::get_CurrentSectionGroupId(BSTR* out)
{
    return CurrentId(L"Window.get_CurrentSectionGroupId", &CurrentView::sectionGroupId, out);
}
STDMETHODIMP WindowObject::get_CurrentNotebookId(BSTR* out)
{
    return CurrentId(L"Window.get_CurrentNotebookId", &CurrentView::notebookId, out);
}

STDMETHODIMP WindowObject::NavigateTo(BSTR hierarchyObjectID, BSTR objectID)
{
    Call call(L"Window.NavigateTo", {Text(hierarchyObjectID), Text(objectID)});
    if (call.Injected())
        return call.Failed();
    const HRESULT hr = Store::Current().NavigateTo(Text(hierarchyObjectID), Text(objectID));
    RefreshOneNoteWindow();
    return call.Done(hr);
}

namespace
{
template <typename T, typename V>
HRESULT GetValue(const wchar_t* method, T* out, V value)
{
    Call call(method, {});
    if (!out)
        return call.Done(E_POINTER);
    *out = T{};
    if (call.Injected())
        return call.Failed();
    *out = static_cast<T>(value);
    return call.Done(S_OK);
}

template <typename T, typename V>
HRESULT PutValue(const wchar_t* method, std::atomic<T>& field, V value, const std::wstring& text)
{
    Call call(method, {text});
    if (call.Injected())
        return call.Failed();
    field = static_cast<T>(value);
    return call.Done(S_OK);
}
} // namespace

STDMETHODIMP WindowObject::get_FullPageView(VARIANT_BOOL* out)
{
    return GetValue(L"Window.get_FullPageView", out, g_fullPageView ? VARIANT_TRUE : VARIANT_FALSE);
}
STDMETHODIMP WindowObject::put_FullPageView(VARIANT_BOOL value)
{
    return PutValue(L"Window.put_FullPageView", g_fullPageView, value != VARIANT_FALSE, Flag(value));
}
STDMETHODIMP WindowObject::get_Active(VARIANT_BOOL* out)
{
    return GetValue(L"Window.get_Active", out, g_active ? VARIANT_TRUE : VARIANT_FALSE);
}
STDMETHODIMP WindowObject::put_Active(VARIANT_BOOL value)
{
    return PutValue(L"Window.put_Active", g_active, value != VARIANT_FALSE, Flag(value));
}
STDMETHODIMP WindowObject::get_DockedLocation(ON16::DockLocation* out)
{
    return GetValue(L"Window.get_DockedLocation", out, g_dockedLocation.load());
}
STDMETHODIMP WindowObject::put_DockedLocation(ON16::DockLocation value)
{
    return PutValue(L"Window.put_DockedLocation", g_dockedLocation, value, Number(value));
}

STDMETHODIMP WindowObject::get_Application(ON16::IApplication** out)
{
    Call call(L"Window.get_Application", {});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    if (call.Injected())
        return call.Failed();
    *out = new Application();
    return call.Done(S_OK);
}

STDMETHODIMP WindowObject::get_SideNote(VARIANT_BOOL* out)
{
    return GetValue(L"Window.get_SideNote", out, Scenario::Current().SideNote() ? VARIANT_TRUE : VARIANT_FALSE);
}

STDMETHODIMP WindowObject::NavigateToUrl(BSTR url)
{
    Call call(L"Window.NavigateToUrl", {Text(url)});
    if (call.Injected())
        return call.Failed();
    const HRESULT hr = Store::Current().NavigateToUrl(Text(url));
    RefreshOneNoteWindow();
    return call.Done(hr);
}

STDMETHODIMP WindowObject::SetDockedLocation(ON16::DockLocation location, POINT monitor)
{
    Call call(L"Window.SetDockedLocation", {Number(location), Number(monitor.x), Number(monitor.y)});
    if (call.Injected())
        return call.Failed();
    g_dockedLocation = location;
    return call.Done(S_OK);
}

const std::vector<DispatchEntry>& WindowObject::Members() const
{
    using I = ON16::Window;
    static const std::vector<DispatchEntry> members{
        STANDIN_GET(I, WindowHandle, 0x60020000),
        STANDIN_GET(I, CurrentPageId, 0x60020001),
        STANDIN_GET(I, CurrentSectionId, 0x60020002),
        STANDIN_GET(I, CurrentSectionGroupId, 0x60020003),
        STANDIN_GET(I, CurrentNotebookId, 0x60020004),
        STANDIN_METHOD(I, NavigateTo, 0x60020005),
        STANDIN_GET(I, FullPageView, 0x60020006),
        STANDIN_PUT(I, FullPageView, 0x60020006),
        STANDIN_GET(I, Active, 0x60020008),
        STANDIN_PUT(I, Active, 0x60020008),
        STANDIN_GET(I, DockedLocation, 0x6002000A),
        STANDIN_PUT(I, DockedLocation, 0x6002000A),
        STANDIN_GET(I, Application, 0x6002000C),
        STANDIN_GET(I, SideNote, 0x6002000D),
        STANDIN_METHOD(I, NavigateToUrl, 0x6002000E),
        STANDIN_METHOD(I, SetDockedLocation, 0x6002000F),
    };
    return members;
}
} // namespace StandIn
