#include "framework/ui/Window.h"

#include "framework/com/ErrorMessage.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Fonts.h"
#include "framework/ui/Theme.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

namespace
{
constexpr wchar_t windowClassName[] = L"Quillora Window";

std::atomic<DWORD> uiThreadId{0};
thread_local std::exception_ptr pendingException;
ChildControlHooks childControlHooks;

struct ModelessEntry
{
    HACCEL accelerators = nullptr;
    bool inMenuLoop = false;
};
// Touched on the UI thread only.
std::map<HWND, ModelessEntry> modelessWindows;
HHOOK messageHook = nullptr;

Window* WindowOf(HWND hwnd) { return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, 0)); }

bool IsClass(HWND window, const wchar_t* name)
{
    return window && lstrcmpiW(UI::GetClassNameString(window).c_str(), name) == 0;
}

// Keyboard navigation and accelerators for modeless windows, whose keys the program's own loop
// would otherwise dispatch untranslated.
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    try
    {
        MSG* message = reinterpret_cast<MSG*>(lParam);
        if (code >= 0 && wParam == PM_REMOVE && message->message >= WM_KEYDOWN && message->message <= WM_UNICHAR)
        {
            const HWND parent = GetParent(message->hwnd);
            const HWND grandParent = IsClass(parent, L"ComboBox") ? GetParent(parent) : nullptr;
            // A copy: translating may end a window and so change the map.
            const auto windows = modelessWindows;
            for (const auto& [window, entry] : windows)
            {
                if (entry.inMenuLoop || !IsWindowEnabled(window))
                    continue;
                // The window itself has the focus when none of its children takes it.
                if (message->hwnd != window && parent != window && grandParent != window)
                    continue;
                if ((entry.accelerators && TranslateAcceleratorW(window, entry.accelerators, message)) ||
                    IsDialogMessageW(window, message))
                {
                    message->message = WM_NULL;
                    message->wParam = 0;
                    message->lParam = 0;
                    break;
                }
            }
        }
    }
    catch (...)
    {
        pendingException = std::current_exception();
    }
    return CallNextHookEx(messageHook, code, wParam, lParam);
}

void RemoveModeless(HWND hwnd)
{
    if (!IsUiThread() || !hwnd)
        return;
    modelessWindows.erase(hwnd);
    if (modelessWindows.empty() && messageHook)
    {
        UnhookWindowsHookEx(messageHook);
        messageHook = nullptr;
    }
}

void LogClosureFailure(const _com_error* comError, const char* what) noexcept
{
    try
    {
        const std::wstring text =
            comError ? GetErrorMessage(*comError) : what ? Utf8ToWide(what) : std::wstring(L"an exception");
        GetLog(true) << L"ERROR: Posted work failed: " << text;
    }
    catch (...)
    {
    }
}

// Work handed over from a worker ends in the log when it fails: it is no part of what the window
// was doing, so it neither ends the window's loop nor, through it, the program.
void RunPostedClosure(const ClosureChannel::Closure& closure) noexcept
{
    try
    {
        closure();
    }
    catch (const _com_error& error)
    {
        LogClosureFailure(&error, nullptr);
    }
    catch (const std::exception& error)
    {
        LogClosureFailure(nullptr, error.what());
    }
    catch (...)
    {
        LogClosureFailure(nullptr, nullptr);
    }
}

RECT ToRECT(const UI::Rect& rect) { return {rect.x, rect.y, rect.x + rect.width, rect.y + rect.height}; }
UI::Rect FromRECT(const RECT& rect) { return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }
} // namespace

bool IsUiThread() { return uiThreadId.load() == GetCurrentThreadId(); }

void SetChildControlHooks(const ChildControlHooks& hooks) { childControlHooks = hooks; }

void Window::Offscreen::Reset()
{
    if (dc && replaced)
        SelectObject(dc.get(), replaced);
    replaced = nullptr;
    bitmap.reset();
    dc.reset();
    width = height = 0;
}

bool Window::Offscreen::Prepare(HDC reference, int newWidth, int newHeight)
{
    if (!dc || !bitmap || width != newWidth || height != newHeight)
    {
        Reset();
        dc.reset(CreateCompatibleDC(reference));
        bitmap.reset(CreateCompatibleBitmap(reference, std::max(newWidth, 1), std::max(newHeight, 1)));
        if (dc && bitmap)
            replaced = SelectObject(dc.get(), bitmap.get());
        width = newWidth;
        height = newHeight;
    }
    return dc && bitmap;
}

Window::Window() : channel_(std::make_shared<ClosureChannel>()) {}

Window::~Window()
{
    if (hwnd_)
    {
        const HWND hwnd = std::exchange(hwnd_, nullptr);
        // From here on the window's messages no longer reach this object.
        SetWindowLongPtrW(hwnd, 0, 0);
        if (ownerDisabled_ && owner_)
            EnableWindow(owner_, TRUE);
        RemoveModeless(hwnd);
        if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId())
            DestroyWindow(hwnd);
        else
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    // Before the futures below wait for their jobs: a job blocked on a question is answered.
    channel_->Close();
}

void Window::RegisterWindowClass()
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        uiThreadId.store(GetCurrentThreadId());
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = &Window::StaticWndProc;
        windowClass.cbWndExtra = sizeof(Window*);
        windowClass.hInstance = instance;
        windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(100), IMAGE_ICON,
                                                          GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(100), IMAGE_ICON,
                                                            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        windowClass.hbrBackground = GetThemeBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = windowClassName;
        RegisterClassExW(&windowClass);
    });
}

void Window::Attach(HWND hwnd)
{
    hwnd_ = hwnd;
    channel_ = std::make_shared<ClosureChannel>(hwnd);
}

void Window::Create(HWND parent, int background, DWORD exStyle, DWORD style)
{
    owner_ = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    background_ = background;
    RegisterWindowClass();
    hasSizeGrip_ = (exStyle & (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE)) && (style & WS_THICKFRAME);
    hwnd_ = CreateWindowExW(exStyle, windowClassName, L"Quillora", style | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr,
                            GetModuleHandleW(nullptr), this);
    if (hwnd_)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetUiFontTable().Handle(UI::FontNormal)), FALSE);
}

LRESULT CALLBACK Window::StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
    {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create->lpCreateParams && !IS_INTRESOURCE(create->lpszClass) &&
            lstrcmpW(create->lpszClass, windowClassName) == 0)
        {
            Window* window = static_cast<Window*>(create->lpCreateParams);
            SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(window));
            window->Attach(hwnd);
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    Window* window = WindowOf(hwnd);
    if (!window)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY)
    {
        SetWindowLongPtrW(hwnd, 0, 0);
        window->channel_->Close();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // Nothing may unwind through the system's frames: the exception waits for the modal loop.
    try
    {
        // The window may be released while it handles the message (a closure that drops the last
        // reference): nothing here touches it afterwards.
        return window->WndProc(hwnd, message, wParam, lParam);
    }
    catch (...)
    {
        pendingException = std::current_exception();
        return 0;
    }
}

LRESULT Window::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    LRESULT result = 0;
    switch (message)
    {
    case WM_PAINT: result = OnPaint(handled); break;
    case WM_MOUSEMOVE: result = OnMouseMove(lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnLButtonDown(lParam, handled); break;
    case WM_LBUTTONUP: result = OnLButtonUp(lParam, handled); break;
    case WM_SYSKEYDOWN: result = OnSysKeyDown(wParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(wParam, handled); break;
    case WM_SIZE: result = OnSize(LOWORD(lParam), HIWORD(lParam), handled); break;
    case WM_MOVE:
        result = OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), handled);
        break;
    case WM_CLOSE: result = OnClose(handled); break;
    case WM_COMMAND:
        result = OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam), handled);
        break;
    case WM_SETCURSOR: result = OnSetCursor(wParam, handled); break;
    case WM_NOTIFY: return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_NCHITTEST: result = OnNcHitTest(lParam, handled); break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            OnCtlColor(hwnd, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), background_));

    case WM_DESTROY:
        hwnd_ = nullptr;
        // A modal window closed without End (the close box of a plain Window) frees its owner.
        if (ownerDisabled_ && owner_)
            EnableWindow(owner_, TRUE);
        ownerDisabled_ = false;
        RemoveModeless(hwnd);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            savedFocus_ = GetFocus();
        break;
    case WM_SETFOCUS:
        if (savedFocus_ && IsWindow(savedFocus_))
            SetFocus(savedFocus_);
        break;
    case WM_ERASEBKGND:
        if (background_ != COLOR_BTNFACE)
        {
            // The class brush paints COLOR_BTNFACE; any other background is painted here, on the DC
            // that the erase message brings.
            RECT client{};
            GetClientRect(hwnd, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, GetThemeBrush(background_));
            return 1;
        }
        break;
    case WM_DRAWITEM:
    {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_COMBOBOX || item->CtlType == ODT_BUTTON)
        {
            if (void* control = reinterpret_cast<void*>(GetWindowLongPtrW(item->hwndItem, GWLP_USERDATA));
                control && childControlHooks.drawItem)
                childControlHooks.drawItem(control, item, background_);
            return TRUE;
        }
        break;
    }
    case WM_MEASUREITEM:
    {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_COMBOBOX)
            item->itemHeight = static_cast<UINT>(UI::CheckBoxHeight());
        break;
    }
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        if (auto entry = modelessWindows.find(hwnd); entry != modelessWindows.end())
            entry->second.inMenuLoop = message == WM_ENTERMENULOOP;
        break;
    case WM_THEMECHANGED: RefreshHighContrast(); break;
    case WM_RUNCLOSURE:
        if (wParam && lParam)
        {
            // Only closures that our channel posted and nobody has freed yet are run.
            const std::unique_ptr<ClosureChannel::Closure> closure = channel_->Take(lParam);
            if (closure)
                RunPostedClosure(*closure);
            return 0;
        }
        if (lParam)
            RunPostedClosure(*reinterpret_cast<ClosureChannel::Closure*>(lParam));
        return 0;
    case WM_SETRADIOGROUP:
    {
        HWND& checked = radioGroups_[*reinterpret_cast<const std::wstring*>(wParam)];
        const HWND previous = std::exchange(checked, reinterpret_cast<HWND>(lParam));
        if (previous)
            InvalidateRect(previous, nullptr, FALSE);
        if (checked)
            InvalidateRect(checked, nullptr, FALSE);
        break;
    }
    case WM_GETRADIOGROUP: return reinterpret_cast<LRESULT>(radioGroups_[*reinterpret_cast<const std::wstring*>(wParam)]);
    default: break;
    }
    if (handled)
        return result;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Window::OnPaint(bool& handled)
{
    if (!hasSizeGrip_)
        return 0;
    PaintSizeGrip();
    handled = true;
    return 0;
}

void Window::PaintSizeGrip()
{
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(hwnd_, &paint);
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (offscreen_.Prepare(dc, width, height))
    {
        FillRect(offscreen_.dc.get(), &client, GetThemeBrush(background_));
        {
            Gdiplus::Graphics graphics(offscreen_.dc.get());
            const Gdiplus::SolidBrush brush{Gdiplus::Color(GetThemeArgb(COLOR_BTNSHADOW))};
            const float s = 1.5f * GetDpiScaleX();
            const float w = static_cast<float>(width);
            const float h = static_cast<float>(height);
            const Gdiplus::PointF squares[] = {{w - 2 * s, h - 6 * s}, {w - 4 * s, h - 4 * s}, {w - 2 * s, h - 4 * s},
                                               {w - 6 * s, h - 2 * s}, {w - 4 * s, h - 2 * s}, {w - 2 * s, h - 2 * s}};
            for (const Gdiplus::PointF& corner : squares)
                graphics.FillRectangle(&brush, corner.X, corner.Y, s, s);
        }
        BitBlt(dc, 0, 0, width, height, offscreen_.dc.get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &paint);
}

LRESULT Window::OnMouseMove(LPARAM, bool&) { return 0; }
LRESULT Window::OnLButtonDown(LPARAM, bool&) { return 0; }
LRESULT Window::OnLButtonUp(LPARAM, bool&) { return 0; }
LRESULT Window::OnSysKeyDown(WPARAM, bool&) { return 0; }
LRESULT Window::OnKeyDown(WPARAM, bool&) { return 0; }
LRESULT Window::OnSize(int, int, bool&) { return 0; }
LRESULT Window::OnMove(int, int, bool&) { return 0; }
LRESULT Window::OnClose(bool&) { return 0; }
LRESULT Window::OnCommand(int, HWND, int, bool&) { return 0; }
LRESULT Window::OnSetCursor(WPARAM, bool&) { return 0; }

LRESULT Window::OnNotify(NMHDR* header)
{
    if (header && header->code == NM_CUSTOMDRAW &&
        (IsClass(header->hwndFrom, L"SysListView32") || IsClass(header->hwndFrom, L"Button")))
    {
        void* control = reinterpret_cast<void*>(GetWindowLongPtrW(header->hwndFrom, GWLP_USERDATA));
        if (control && childControlHooks.customDraw)
            return childControlHooks.customDraw(control, reinterpret_cast<NMCUSTOMDRAW*>(header));
    }
    return 0;
}

LRESULT Window::OnNcHitTest(LPARAM position, bool& handled)
{
    if (!hasSizeGrip_)
        return 0;
    RECT bounds{};
    RECT client{};
    GetWindowRect(hwnd_, &bounds);
    GetClientRect(hwnd_, &client);
    const int grip = static_cast<int>(std::trunc(GetDpiScaleX() * 9 + 0.5f)) +
                     ((bounds.right - bounds.left) - (client.right - client.left)) / 2;
    const int x = GET_X_LPARAM(position);
    const int y = GET_Y_LPARAM(position);
    if (x >= bounds.right - grip && x <= bounds.right && y >= bounds.bottom - grip && y <= bounds.bottom)
    {
        handled = true;
        return HTBOTTOMRIGHT;
    }
    return 0;
}

HBRUSH Window::OnCtlColor(HWND, UINT message, HDC dc, HWND control, int background)
{
    return HandleCtlColor(message, dc, control, background);
}

void Window::Hide()
{
    if (owner_)
    {
        EnableWindow(owner_, TRUE);
        SetForegroundWindow(owner_);
    }
    ownerDisabled_ = false;
    if (hwnd_)
        ShowWindow(hwnd_, SW_HIDE);
}

void Window::End(unsigned long result)
{
    Hide();
    result_ = result;
    RemoveModeless(hwnd_);
    if (hwnd_)
        DestroyWindow(hwnd_);
}

unsigned long Window::Show(const std::wstring& title, int showCommand, bool modal, HWND focus, HACCEL accelerators)
{
    if (hwnd_)
    {
        SetWindowTextW(hwnd_, title.c_str());
        ShowWindow(hwnd_, showCommand);
        UpdateWindow(hwnd_);
    }
    if (modal && owner_ && hwnd_)
    {
        EnableWindow(owner_, FALSE);
        ownerDisabled_ = true;
    }
    if (focus)
        SetFocus(focus);
    if (!modal)
    {
        if (IsUiThread() && hwnd_)
        {
            if (!messageHook)
                messageHook = SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
            modelessWindows[hwnd_] = ModelessEntry{accelerators, false};
        }
        return 0;
    }
    return RunModalLoop(accelerators);
}

unsigned long Window::RunModalLoop(HACCEL accelerators)
{
    while (hwnd_)
    {
        MSG message{};
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
        {
            End(0);
            break;
        }
        if (got == 0)
        {
            End(0);
            PostQuitMessage(static_cast<int>(message.wParam));
            return 0;
        }
        if (message.message == WM_CLOSE && !message.hwnd)
        {
            SetForegroundWindow(hwnd_);
            continue;
        }
        if (accelerators && TranslateAcceleratorW(hwnd_, accelerators, &message))
            continue;
        if (IsDialogMessageW(hwnd_, &message))
        {
            if (pendingException)
                break;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (pendingException)
            break;
    }
    // A handler threw: the window ends as if the exception had unwound through the loop, and the
    // exception goes on from here.
    if (std::exception_ptr exception = std::exchange(pendingException, nullptr))
    {
        if (hwnd_)
            End(0);
        std::rethrow_exception(exception);
    }
    return result_;
}

bool Window::HasModelessHook() { return messageHook != nullptr; }

std::exception_ptr Window::TakePendingException() { return std::exchange(pendingException, nullptr); }

void Window::RethrowPendingException()
{
    if (std::exception_ptr exception = TakePendingException())
        std::rethrow_exception(exception);
}

POINT Window::GetPointForLocation(Location location, const Rect& reference, int width, int height, int margin)
{
    const int left = reference.x + margin;
    const int right = reference.x + reference.width - width - margin;
    const int hcentre = reference.x + (reference.width - width) / 2;
    const int top = reference.y + margin;
    const int bottom = reference.y + reference.height - height - margin;
    const int vcentre = reference.y + (reference.height - height) / 2;
    switch (location)
    {
    case Top: return {hcentre, top};
    case TopRight: return {right, top};
    case Right: return {right, vcentre};
    case BottomRight: return {right, bottom};
    case Bottom: return {hcentre, bottom};
    case BottomLeft: return {left, bottom};
    case Left: return {left, vcentre};
    case Center: return {hcentre, vcentre};
    case TopLeft:
    default: return {left, top};
    }
}

RECT Window::GetRectForLocation(Location location, const Rect& reference, int width, int height) const
{
    const POINT origin = GetPointForLocation(location, reference, width, height, UI::LargeMargin());
    RECT bounds{origin.x, origin.y, origin.x + width, origin.y + height};
    AdjustWindowRectEx(&bounds, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
    return bounds;
}

unsigned long Window::ShowAtLocation(const std::wstring& title, int width, int height, bool modal, HWND focus,
                                     HACCEL accelerators, Location location)
{
    const Rect desktop = UI::GetWindowRectangle(GetDesktopWindow());
    const Rect reference = owner_ ? UI::GetWindowRectangle(owner_) : desktop;
    RECT bounds = GetRectForLocation(location, desktop, width, height);

    // On the part of the reference that lies in its monitor's work area, the caption kept in view.
    const RECT referenceBounds = ToRECT(reference);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT visible{};
    if (GetMonitorInfoW(MonitorFromRect(&referenceBounds, MONITOR_DEFAULTTONEAREST), &monitor) &&
        IntersectRect(&visible, &monitor.rcWork, &referenceBounds))
    {
        bounds = GetRectForLocation(location, FromRECT(visible), width, height);
        if (bounds.top < visible.top)
            OffsetRect(&bounds, 0, visible.top - bounds.top);
    }
    if (hwnd_)
        MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, FALSE);
    return Show(title, SW_SHOW, modal, focus, accelerators);
}

void Window::RemoveFinishedTasks()
{
    std::erase_if(backgroundTasks_, [](const std::future<void>& task) {
        return !task.valid() || task.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
}

AutoLayoutWindow::~AutoLayoutWindow()
{
    // The controls go first, while their parent window still exists.
    root_.reset();
}

LRESULT AutoLayoutWindow::OnSize(int width, int height, bool&)
{
    Layout(width, height, GetWindow(GetWindow(hwnd_, GW_CHILD), GW_HWNDLAST));
    return 0;
}

LRESULT AutoLayoutWindow::OnClose(bool& handled)
{
    End(2);
    handled = true;
    return 0;
}

LRESULT AutoLayoutWindow::OnNotify(NMHDR* header)
{
    if (header && (header->code == NM_CLICK || header->code == NM_RETURN) && IsClass(header->hwndFrom, L"SysLink"))
    {
        const auto* link = reinterpret_cast<const NMLINK*>(header);
        ShellExecuteW(hwnd_, nullptr, link->item.szUrl, nullptr, nullptr, SW_SHOW);
        return 0;
    }
    return Window::OnNotify(header);
}

void AutoLayoutWindow::SetRootControl(std::shared_ptr<UI::IControl> root) { root_ = std::move(root); }

SIZE AutoLayoutWindow::RunLayoutPass(int width, int height, HWND insertAfter)
{
    if (!root_)
        return {width, height};
    const int m = margin_;
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int maxHeight = (desktop.bottom - desktop.top) - static_cast<int>(std::trunc(GetDpiScaleX() * 60 + 0.5f));
    const int availableWidth = width - 2 * m;
    const int availableHeight = (height >= 1 ? height : maxHeight) - 2 * m;

    Owners::WindowDC screen(nullptr);
    {
        Gdiplus::Graphics graphics(screen.get());
        root_->Measure(graphics, availableWidth, availableHeight);
    }
    HDWP defer = BeginDeferWindowPos(60);
    UI::Size desired = root_->GetDesiredSize();
    root_->Arrange(m, m, desired.width, desired.height, defer, insertAfter, true);
    if (defer)
        EndDeferWindowPos(defer);
    desired = root_->GetDesiredSize();
    return {width, std::min(desired.height + 2 * m, maxHeight)};
}

SIZE AutoLayoutWindow::LayoutWithMargin(int width, int height, int margin, HWND insertAfter)
{
    margin_ = margin;
    const SIZE size = RunLayoutPass(width, height, insertAfter);
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
    return size;
}

SIZE AutoLayoutWindow::Layout(int width, int height, HWND insertAfter)
{
    if (margin_ == 0)
        margin_ = UI::Margin();
    return LayoutWithMargin(width, height, margin_, insertAfter);
}

SIZE AutoLayoutWindow::LayoutToClient(HWND insertAfter)
{
    const UI::Rect client = UI::GetClientRectangle(hwnd_);
    return Layout(client.width, client.height, insertAfter);
}
