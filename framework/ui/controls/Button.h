#pragma once
// The one button of the framework: push, default, check box, radio, push-like toggles and split
// buttons. Native in the light theme; owner-drawn in the dark theme when customDraw is set.

#include "framework/Owners.h"
#include "framework/ui/controls/WindowsControl.h"

#include <memory>
#include <optional>
#include <string>

namespace UI
{
// Minimum side of a button's image area: 15 pt.
int ImageMinSize();

class Button : public WindowsControl
{
public:
    enum Kind : int32_t
    {
        Push = 0,
        DefaultPush = 1,
        CheckBox = 2,
        Radio = 3,
        PushLikeCheckBox = 4,
        PushLikeRadio = 5,
        Split = 6,
    };

    // text may be null; iconId is a "FILE" resource or 0.
    Button(HWND parent, int id, int kind, int iconId, const wchar_t* text, bool glyphFont, int alignment,
           bool customDraw, bool notify);
    // A member of the named radio group, whose checked button the parent window records.
    Button(HWND parent, int id, int kind, const wchar_t* text, bool startsGroup, const std::wstring& groupName);
    // A centred push button with id 9.
    Button(HWND parent, const wchar_t* text);

    void SetChecked(bool check);
    bool IsChecked() const;
    // 0 removes the picture; the background is what a native button's picture is drawn over.
    void SetIcon(int resourceId, std::optional<COLORREF> background = std::nullopt);
    void SetImage(std::optional<COLORREF> background, Gdiplus::Bitmap& bitmap, bool scale);

    void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override;
    Size GetDesiredSize() override;
    Size GetMinSize() override;
    void DrawItem(const DRAWITEMSTRUCT* item, int backgroundColourIndex) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool IsOwnerDrawn() const { return ownerDrawn; }

    bool customDraw;
    Size imageSize;
    Size textSize;
    std::unique_ptr<Gdiplus::Bitmap> image;
    Owners::Bitmap imageHandle;
    // The pictures of a native button by state, the disabled one greyed: the system's own greying
    // of imageHandle turns every pixel that is not white, the face around the picture included,
    // into one grey box.
    Owners::ImageList stateImages;
    bool noText;
    bool glyphFont;
    int32_t splitWidth;
    int32_t alignment;
    int32_t kind;
    bool checked = false;
    bool hover = false;
    std::wstring radioGroup;

private:
    void ClickChecks();
    void SetStateImages(Gdiplus::Bitmap& bitmap, SIZE size);

    bool ownerDrawn;
};

// The native style of a kind.
DWORD ButtonKindStyle(int kind);
} // namespace UI
