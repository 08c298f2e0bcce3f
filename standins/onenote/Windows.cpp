// The windows collection and a window: the current view, navigation, and the top-level window
// that Window::WindowHandle reports.
#include "standins/onenote/Objects.h"

#include "framework/Owners.h"
#include "standins/onenote/PageWindow.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

namespace StandIn
{
namespace
{
// What a window shows beyond the store's current view; OneNote keeps it per window.
std::atomic<bool> g_active{true};
std::atomic<bool> g_fullPageView{false};
std::atomic<LONG> g_dockedLocation{ON16::dlNone};

constexpr wchar_t OwnWindowClass[] = L"QuilloraOneNoteStandInWindow";
// Sent to the first own window: opens one more on the window thread and returns it.
constexpr UINT OpenWindowMessage = WM_APP + 1;

HWND CreateOwnWindow()
{
    return CreateWindowExW(0, OwnWindowClass, L"OneNote (stand-in)", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK OwnWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
        PaintCurrentPage(window);
        return 0;
    case WM_CLOSE:
        // OneNote keeps running when its window closes; the next navigation shows it again.
        ShowWindow(window, SW_HIDE);
        return 0;
    case OpenWindowMessage:
        return reinterpret_cast<LRESULT>(CreateOwnWindow());
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

struct WindowThreadStart
{
    Owners::KernelHandle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<HWND> first{nullptr};
};

// The thread of the stand-in's own windows, for as long as the process runs.
DWORD WINAPI RunWindowThread(void* parameter)
{
    // The start lives as long as the process: a waiter that timed out may still read it.
    auto* start = static_cast<WindowThreadStart*>(parameter);
    // The windows read the store, whose XML parser is a COM object.
    const Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = OwnWindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = OwnWindowClass;
    RegisterClassW(&windowClass);
    start->first = CreateOwnWindow();
    SetEvent(start->ready.get());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

HWND FirstOwnWindow()
{
    static const HWND first = [] {
        auto* start = new WindowThreadStart();
        if (!QueueUserWorkItem(RunWindowThread, start, WT_EXECUTELONGFUNCTION))
            return static_cast<HWND>(nullptr);
        WaitForSingleObject(start->ready.get(), 5000);
        return start->first.load();
    }();
    return first;
}

// The window of a slot: 0 is OneNote's first window, n the nth that NavigateTo opened (the
// stand-in's own, made when first needed and kept hidden while no scenario shows them).
HWND WindowOfSlot(unsigned slot)
{
    if (slot == 0)
        return OneNoteWindow();
    static std::mutex lock;
    static std::vector<HWND> opened;
    const HWND first = FirstOwnWindow();
    std::lock_guard guard(lock);
    while (first && opened.size() < slot)
        opened.push_back(reinterpret_cast<HWND>(SendMessageW(first, OpenWindowMessage, 0, 0)));
    return slot <= opened.size() ? opened[slot - 1] : nullptr;
}

// The window a caller works with now: the last one opened, else OneNote's first; none when the
// scenario gives OneNote no window and none was opened.
std::optional<unsigned> CurrentSlot()
{
    if (const unsigned opened = Scenario::Current().OpenedWindows(); opened > 0)
        return opened;
    if (Scenario::Current().NoCurrentWindow())
        return std::nullopt;
    return 0u;
}

unsigned WindowCount()
{
    return (Scenario::Current().NoCurrentWindow() ? 0 : 1) + Scenario::Current().OpenedWindows();
}

void ShowPageIn(HWND window)
{
    if (!window)
        return;
    // Asynchronous: the window may belong to onenote.exe, which must not hold up the caller.
    if (!IsWindowVisible(window) || IsIconic(window))
        ShowWindowAsync(window, IsIconic(window) ? SW_RESTORE : SW_SHOWNORMAL);
    InvalidateRect(window, nullptr, TRUE);
}
} // namespace

HWND OneNoteWindow()
{
    // The stand-in's onenote.exe owns this window class while it runs.
    if (HWND window = FindWindowW(L"Framework::CFrame", nullptr))
        return window;
    return FirstOwnWindow();
}

void ShowNavigatedPage(bool newWindow)
{
    // Without a new window and without a window at all, the navigation only moves the current view.
    if (newWindow)
        ShowPageIn(WindowOfSlot(Scenario::Current().OpenWindow()));
    else if (const std::optional<unsigned> current = CurrentSlot())
        ShowPageIn(WindowOfSlot(*current));
}

void* WindowObject::FindInterface(REFIID riid)
{
    if (IsEqualIID(riid, IID_IForegroundTransfer))
        return static_cast<IForegroundTransfer*>(this);
    return DualDispatch::FindInterface(riid);
}

STDMETHODIMP WindowObject::AllowForegroundTransfer(void* reserved)
{
    Call call(L"Window.AllowForegroundTransfer", {});
    if (reserved)
        return call.Done(E_INVALIDARG);
    if (call.Injected())
        return call.Failed();
    // What the proxy of OneNote's window does: lets the process behind the window take the
    // foreground, which only the process that has it may grant.
    DWORD process = 0;
    GetWindowThreadProcessId(WindowOfSlot(slot_), &process);
    if (!process || !AllowSetForegroundWindow(process))
        return call.Done(HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_ACCESS_DENIED));
    return call.Done(S_OK);
}

STDMETHODIMP WindowsCollection::get_Item(ULONG index, ON16::Window** out)
{
    Call call(L"Windows.get_Item", {Number(index)});
    if (!out)
        return call.Done(E_POINTER);
    *out = nullptr;
    if (call.Injected())
        return call.Failed();
    const unsigned count = WindowCount();
    if (index >= count)
        return call.Done(E_INVALIDARG);
    // Without OneNote's first window, the opened ones are all there is.
    *out = new WindowObject(Scenario::Current().NoCurrentWindow() ? index + 1 : index);
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
    *out = WindowCount();
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
    if (const std::optional<unsigned> slot = CurrentSlot())
        *out = new WindowObject(*slot);
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
    *out = reinterpret_cast<ULONG_PTR>(WindowOfSlot(slot_));
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
    if (SUCCEEDED(hr))
        ShowPageIn(WindowOfSlot(slot_));
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
    // Only OneNote's first window can be the side note; the windows NavigateTo opens are full ones.
    return GetValue(L"Window.get_SideNote", out,
                    slot_ == 0 && Scenario::Current().SideNote() ? VARIANT_TRUE : VARIANT_FALSE);
}

STDMETHODIMP WindowObject::NavigateToUrl(BSTR url)
{
    Call call(L"Window.NavigateToUrl", {Text(url)});
    if (call.Injected())
        return call.Failed();
    const HRESULT hr = Store::Current().NavigateToUrl(Text(url));
    if (SUCCEEDED(hr))
        ShowPageIn(WindowOfSlot(slot_));
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
