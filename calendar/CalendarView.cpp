#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DrawingResources.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/PageSearch.h"
#include "calendar/LumdayWindow.h"

namespace
{
// The calendar of pages by day; its days, strips and buttons come with the hierarchy loader.
class CalendarWnd : public LumdayWindow
{
public:
    std::unique_ptr<Gdiplus::Bitmap> OnPaint() override
    {
        GetHitAreas().clear();
        const Gdiplus::RectF client = GetClientRectF();
        auto bitmap = std::make_unique<Gdiplus::Bitmap>(std::max(1, static_cast<INT>(client.Width)),
                                                        std::max(1, static_cast<INT>(client.Height)),
                                                        PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.Clear(Gdiplus::Color(GetColor(ColorBackground)));
        return bitmap;
    }

    LRESULT OnClick(short, short, bool&) override { return 0; }
    LRESULT OnKeyDown(WPARAM key, bool& handled) override
    {
        if (key == VK_F5)
        {
            StartHierarchyLoad();
            handled = true;
        }
        return 0;
    }
    LRESULT OnMouseWheel(POINT, int, WPARAM, bool&) override { return 0; }

    LRESULT OnCommand(int id, HWND control, int code, bool& handled) override
    {
        // Esc reaches the window as IDCANCEL: it empties the search box and takes the focus back.
        CalendarState& state = GetCalendarState();
        if (control && control == state.searchBox && code == EN_CHANGE)
        {
            const int length = GetWindowTextLengthW(control);
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
            QueueSearch(text);
            handled = true;
            return 0;
        }
        if (id == IDCANCEL && control != state.searchBox)
        {
            if (state.searchBox)
                SetWindowTextW(state.searchBox, L"");
            state.savedFocus = nullptr;
            SetFocus(state.mainWindow);
            handled = true;
        }
        return 0;
    }

    bool OnMouseMove(bool) override { return false; }

    void Layout() override
    {
        PlaceSearchBox();
        UpdateScrollBars();
        RequestRepaint();
    }

    void UpdateScrollBars() override
    {
        ResetScrollBar(SB_VERT, 0, 0);
        ResetScrollBar(SB_HORZ, 0, 0);
    }
};
} // namespace

void PlaceSearchBox()
{
    const HWND searchBox = GetCalendarState().searchBox;
    if (!searchBox)
        return;
    // At the top right of the header.
    const Gdiplus::RectF client = GetClientRectF();
    const int width = static_cast<int>(UnitsToPixels(200));
    const int height = static_cast<int>(UnitsToPixels(24));
    const int margin = static_cast<int>(UnitsToPixels(10));
    MoveWindow(searchBox, std::max(margin, static_cast<int>(client.Width) - width - margin), margin, width, height, TRUE);
}

LumdayWindow& GetCalendarView()
{
    static CalendarWnd view;
    return view;
}
