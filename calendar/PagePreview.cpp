#include "calendar/PagePreview.h"

#include "calendar/CalendarPaint.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DrawingResources.h"
#include "calendar/HitArea.h"
#include "calendar/OneNoteCalls.h"
#include "calendar/UiLanguages.h"
#include "framework/com/ErrorMessage.h"
#include "framework/files/Files.h"
#include "framework/ui/Theme.h"
#include "onenote_model/Page.h"

#include <algorithm>

namespace
{

void ClearPreview(PagePreview& preview)
{
    preview.text.clear();
    preview.bitmap.reset();
    preview.page.reset();
    preview.point = {};
}

std::unique_ptr<Gdiplus::Bitmap> PublishPreview(const ON::Page& page)
{
    OneNoteApplicationPtr application;
    if (FAILED(CreateOneNoteApplication(application)) || !application)
        _com_issue_error(E_POINTER);
    const std::wstring& file = GetPreviewFilePath();
    DeleteFileW(file.c_str());
    const HRESULT hr = application->Publish(_bstr_t(page.hierarchy.ID.value_or(L"").c_str()), _bstr_t(file.c_str()),
                                            ON16::pfEMF, _bstr_t(L""));
    if (FAILED(hr))
        _com_issue_errorex(hr, application, __uuidof(ON16::IApplication));
    Gdiplus::Metafile metafile(file.c_str());
    if (metafile.GetLastStatus() != Gdiplus::Ok)
        _com_issue_error(E_FAIL);
    const float w = static_cast<float>(metafile.GetWidth());
    const float h = static_cast<float>(metafile.GetHeight());
    // The top left of the sheet, where a page's title and first lines are.
    auto bitmap = RenderImageToBitmap(metafile, Gdiplus::RectF(w / 15, h / 40, w / 2, h / 2), 408.24f, 527.28f);
    if (!bitmap)
        _com_issue_error(E_OUTOFMEMORY);
    return bitmap;
}
} // namespace

PagePreview& GetPagePreview()
{
    static PagePreview preview;
    return preview;
}

const std::wstring& GetPreviewFilePath()
{
    static const std::wstring path = GetTempFilePath(L"Lumday.emf");
    return path;
}

bool UpdatePagePreview(bool show)
{
    PagePreview& preview = GetPagePreview();
    if (!GetCalendarSettings().showPreviews || !show)
    {
        ClearPreview(preview);
        RequestRepaint();
        return true;
    }
    const HitArea hot = GetHotArea();
    if (hot.kind != HitPage || !hot.page)
        return true;
    preview.page = hot.page;
    preview.text = hot.tooltip;
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(GetCalendarState().mainWindow, &cursor);
    preview.point = cursor;
    try
    {
        preview.bitmap = PublishPreview(*hot.page);
    }
    catch (const _com_error& error)
    {
        preview.text = hot.tooltip + L"\n" + GetUiString(StrFailedToLoadPreview) + L": " + GetErrorMessage(error);
        preview.bitmap.reset();
    }
    RequestRepaint();
    return false;
}

Gdiplus::RectF PlacePreviewPopup(float x, float y, float width, float height, float clientWidth, float clientHeight)
{
    const float pointerX = x;
    float left = x;
    float top = y + Units(24);
    if (left + width > clientWidth)
    {
        if (left > width - Units(8))
            left = left - width - Units(8);
        else
            left -= left + width - clientWidth + Units(2);
        left = std::max(0.0f, left);
    }
    if (top + height > clientHeight)
    {
        if (top > height + Units(40))
            top = top - height - Units(40);
        else
        {
            top = std::max(0.0f, top - (top + height - clientHeight + Units(2)));
            if (left > pointerX - Units(1))
                left = pointerX + Units(24);
        }
    }
    return Gdiplus::RectF(left, top, width, height);
}

void DrawPreviewPopup(Gdiplus::Graphics& graphics, int width, int height)
{
    const PagePreview& preview = GetPagePreview();
    const HitArea& hot = GetHotArea();
    if (hot.kind != HitPage || !preview.page || !hot.IsSame(HitArea{.kind = HitPage, .page = preview.page}))
        return;
    const float clientWidth = static_cast<float>(width);
    // The popup keeps above the bottom bar: the search box and the buttons stay in sight.
    const float clientHeight = static_cast<float>(height) - BottomBarHeight();
    const float x = static_cast<float>(preview.point.x);
    const float y = static_cast<float>(preview.point.y);
    Gdiplus::StringFormat format;
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    float boxWidth = std::max(clientWidth - x, Units(200));
    float boxHeight = Units(200);
    if (preview.bitmap)
    {
        boxWidth = static_cast<float>(preview.bitmap->GetWidth()) + Units(5);
        boxHeight = static_cast<float>(preview.bitmap->GetHeight()) + Units(13);
    }
    else
    {
        Gdiplus::RectF measured;
        graphics.MeasureString(preview.text.c_str(), static_cast<INT>(preview.text.size()), GetFont(FontPage),
                               Gdiplus::RectF(x, y + Units(24), boxWidth, boxHeight), &format, &measured);
        boxWidth = measured.Width + Units(11);
        boxHeight = measured.Height + Units(11);
    }
    Gdiplus::RectF box = PlacePreviewPopup(x, y, boxWidth, boxHeight, clientWidth, clientHeight);
    graphics.FillRectangle(GetBrush(ColorBackground), box);
    box = Gdiplus::RectF(box.X + 1, box.Y + 1, box.Width - 3, box.Height - 3);
    graphics.DrawRectangle(GetPen(ColorDimmed), box);
    if (!preview.bitmap)
    {
        box.Inflate(-Units(4), -Units(4));
        graphics.DrawString(preview.text.c_str(), static_cast<INT>(preview.text.size()), GetFont(FontPage), box,
                            &format, GetBrush(ColorText));
        return;
    }
    box.Inflate(-1, -1);
    graphics.DrawImage(preview.bitmap.get(), box.X, box.Y + Units(8));
    const Gdiplus::RectF textBox(box.X, box.Y, box.Width, Units(32));
    if (IsDarkMode())
        graphics.FillRectangle(GetBrush(ColorBackground), textBox);
    graphics.DrawString(preview.text.c_str(), static_cast<INT>(preview.text.size()), GetFont(FontPreview), textBox,
                        &format, GetBrush(ColorText));
}
