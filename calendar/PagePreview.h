#pragma once
// The popup that shows a picture of the page under the pointer: OneNote publishes the page as an
// EMF file, and the top left of its first sheet is drawn in place of the tooltip.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>

namespace ON
{
class Page;
}

struct PagePreview
{
    std::wstring text;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    POINT point{}; // the pointer when the preview was made, client coordinates
    std::shared_ptr<ON::Page> page;
};

// The preview; the UI thread's alone.
PagePreview& GetPagePreview();

// The temporary folder and "Lumday.emf".
const std::wstring& GetPreviewFilePath();

// The pointer's hover changed: show is true when the tooltip asks for its text. Makes or drops
// the preview; true when the tooltip is to show the hot area's own text.
bool UpdatePagePreview(bool show);

// Where the popup goes for a pointer at (x, y) and a popup of width x height in a client area of
// clientWidth x clientHeight: below right of the pointer, turned to its left or above it at the
// window's edges.
Gdiplus::RectF PlacePreviewPopup(float x, float y, float width, float height, float clientWidth, float clientHeight);

// Draws the popup when the hot area is the previewed page, placed in the client area above the
// bottom bar.
void DrawPreviewPopup(Gdiplus::Graphics& graphics, int width, int height);
