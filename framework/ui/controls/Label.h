#pragma once
// A label: static text, or a link (SysLink) when link is set.

#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

#include <string>

namespace UI
{
class Label : public WindowsControl
{
public:
    enum Alignment : int
    {
        Left = 0,
        Right = 1,
        Centre = 2,
    };

    Label(HWND parent, const std::wstring& text, bool mnemonic = false, int alignment = Left, int fontIndex = 0,
          bool link = false);
    ~Label() override;

    void Measure(Gdiplus::Graphics& graphics, int availableWidth, int availableHeight) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool link;

private:
    void ReleaseSharedFont();
};
} // namespace UI
