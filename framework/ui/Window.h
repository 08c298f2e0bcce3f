#pragma once
// The base of every top-level window: one window class, Win32 messages dispatched to overridable
// handlers, modal and modeless showing, placement, and the hand-over of background work.

#include "framework/Owners.h"
#include "framework/ui/ClosureChannel.h"
#include "framework/ui/Control.h"
#include "framework/ui/WindowHelpers.h"

#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

class Window : public std::enable_shared_from_this<Window>
{
public:
    // Where ShowAtLocation places a window in its reference (its owner, else the desktop).
    enum Location : int
    {
        TopLeft = 0,
        Top = 1,
        TopRight = 2,
        Right = 3,
        BottomRight = 4,
        Bottom = 5,
        BottomLeft = 6,
        Left = 7,
        Center = 8,
    };

    using Rect = UI::Rect;

    Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // A window that still has its HWND is destroyed with it (on the UI thread), or at least no
    // longer reaches this object; the owner of a modal window is enabled again.
    virtual ~Window();

    // Handlers: handled starts false; one that leaves it false lets DefWindowProcW process the
    // message and its own return value is ignored.
    virtual LRESULT OnPaint(bool& handled);
    virtual LRESULT OnMouseMove(LPARAM position, bool& handled);
    virtual LRESULT OnLButtonDown(LPARAM position, bool& handled);
    virtual LRESULT OnLButtonUp(LPARAM position, bool& handled);
    virtual LRESULT OnSysKeyDown(WPARAM key, bool& handled);
    virtual LRESULT OnKeyDown(WPARAM key, bool& handled);
    virtual LRESULT OnSize(int width, int height, bool& handled);
    virtual LRESULT OnMove(int x, int y, bool& handled);
    virtual LRESULT OnClose(bool& handled);
    virtual LRESULT OnCommand(int id, HWND control, int code, bool& handled);
    virtual LRESULT OnSetCursor(WPARAM wParam, bool& handled);
    // Its result is the message result.
    virtual LRESULT OnNotify(NMHDR* header);
    virtual LRESULT OnNcHitTest(LPARAM position, bool& handled);

    // Makes the (hidden) HWND: background is a system colour index (5 COLOR_WINDOW, 15 COLOR_BTNFACE).
    virtual void Create(HWND parent, int background, DWORD exStyle, DWORD style);
    // Enables the owner again and brings it forward, then hides this window.
    virtual void Hide();
    virtual LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC: the brush is the message result.
    virtual HBRUSH OnCtlColor(HWND hwnd, UINT message, HDC dc, HWND control, int background);

    // Places the window (width and height are the client size) and shows it.
    unsigned long ShowAtLocation(const std::wstring& title, int width, int height, bool modal, HWND focus,
                                 HACCEL accelerators, Location location);
    // Modal: returns the value given to End once the window is gone (0 after WM_QUIT, which is posted
    // again for the loops outside). Modeless: returns 0 at once; keyboard navigation and
    // accelerators then come from the thread's message hook.
    unsigned long Show(const std::wstring& title, int showCommand, bool modal, HWND focus, HACCEL accelerators);
    // Hides the window, keeps result for Show, destroys the window.
    void End(unsigned long result);

    HWND GetHwnd() const { return hwnd_; }
    HWND GetOwner() const { return owner_; }
    unsigned long GetResult() const { return result_; }
    int GetBackground() const { return background_; }

    // Where a window of client size width x height goes in reference for location, with margin
    // between it and the reference's edges (its client origin; the frame is added afterwards).
    static POINT GetPointForLocation(Location location, const Rect& reference, int width, int height, int margin);

    // What a worker keeps to post to this window; closed once the window is destroyed.
    UiChannel GetUiChannel() const { return UiChannel(channel_); }

    // Background work: background() runs on a worker thread in the multithreaded COM apartment,
    // then ui(window) on the UI thread, unless the window has been released by then. An exception
    // of the background part is logged and the UI part still runs.
    template <typename W, typename Background, typename Ui>
    static void RunInBackground(W& window, Background&& background, Ui&& ui);
    // The same with a result: ui(window, std::optional<R>) gets it, empty when background() failed.
    template <typename W, typename Background, typename Ui>
    static void GetFromBackground(W& window, Background&& background, Ui&& ui);
    // Drops the futures of finished jobs.
    void RemoveFinishedTasks();
    size_t RunningTaskCount() const { return backgroundTasks_.size(); }

    // An exception thrown by a handler cannot cross the window procedure: it is kept here for this
    // thread. A modal loop raises it again after it returns; a loop of the program's own asks here.
    static std::exception_ptr TakePendingException();
    static void RethrowPendingException();

    // True while a modeless window is open on the UI thread (its keys go through the message hook).
    static bool HasModelessHook();

    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void RegisterWindowClass();

protected:
    unsigned long RunModalLoop(HACCEL accelerators);
    // The window rectangle for a client of width x height at location in reference.
    RECT GetRectForLocation(Location location, const Rect& reference, int width, int height) const;

    int background_ = COLOR_WINDOW;
    HWND savedFocus_ = nullptr;
    std::map<std::wstring, HWND> radioGroups_;
    std::vector<std::future<void>> backgroundTasks_;
    bool hasSizeGrip_ = false;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    unsigned long result_ = 0;

public:
    // A memory DC with a bitmap selected into it, for painting without flicker.
    struct Offscreen
    {
        Owners::MemoryDC dc;
        Owners::Bitmap bitmap;
        HGDIOBJ replaced = nullptr;
        int width = 0;
        int height = 0;
        void Reset();
        ~Offscreen() { Reset(); }
        // Makes the bitmap again when the size differs; false when GDI refuses.
        bool Prepare(HDC reference, int width, int height);
    };

protected:
    Offscreen offscreen_;

private:
    template <typename W, typename Background, typename Ui>
    static void StartJob(W& window, Background&& background, Ui&& ui);
    void PaintSizeGrip();
    void ForgetModeless();
    void Attach(HWND hwnd);

    std::shared_ptr<ClosureChannel> channel_;
    // Set while this window keeps its owner disabled (a modal Show not yet ended).
    bool ownerDisabled_ = false;
};

// A window whose content is a tree of layout items, laid out whenever its size changes.
class AutoLayoutWindow : public Window
{
public:
    AutoLayoutWindow() = default;
    ~AutoLayoutWindow() override;

    LRESULT OnSize(int width, int height, bool& handled) override;
    // The close box ends the window with 2.
    LRESULT OnClose(bool& handled) override;
    // Links open in the browser.
    LRESULT OnNotify(NMHDR* header) override;

    void SetRootControl(std::shared_ptr<UI::IControl> root);
    const std::shared_ptr<UI::IControl>& GetRootControl() const { return root_; }
    // Lays the tree out for a client of width x height (height 0: as tall as the content, at most
    // the desktop's height less a margin) and returns the size the window needs.
    SIZE LayoutWithMargin(int width, int height, int margin, HWND insertAfter);
    SIZE Layout(int width, int height, HWND insertAfter);
    SIZE LayoutToClient(HWND insertAfter);

protected:
    std::shared_ptr<UI::IControl> root_;
    // 0: UI::Margin.
    int margin_ = 0;

private:
    SIZE RunLayoutPass(int width, int height, HWND insertAfter);
};

// True on the thread that registered the window class.
bool IsUiThread();

// The windows controls draw themselves through these when their parent is asked (WM_DRAWITEM,
// NM_CUSTOMDRAW); control is what the child window keeps in GWLP_USERDATA. Until the controls
// install them, such messages get the default answer.
struct ChildControlHooks
{
    void (*drawItem)(void* control, const DRAWITEMSTRUCT* item, int background) = nullptr;
    LRESULT (*customDraw)(void* control, NMCUSTOMDRAW* draw) = nullptr;
};
void SetChildControlHooks(const ChildControlHooks& hooks);

#include "framework/ui/Background.h"
