#pragma once
// A combo box: editable, or a drop-down list; owner-drawn in the dark theme.

#include "framework/ui/controls/WindowsControl.h"

#include <windows.h>

#include <string>
#include <vector>

namespace UI
{
// Height and minimum size of combo boxes and date-time pickers: 17.25 pt.
int ComboBoxHeight();

class ComboBox : public WindowsControl
{
public:
    ComboBox(HWND parent, int id, bool editable);

    void SetItems(const std::vector<std::wstring>& items);
    void SetSelection(int index);
    int GetSelection() const;
    // Empty outside the list.
    std::wstring GetItemText(int index) const;
    // The selected item's text, or the edit text when nothing is selected.
    std::wstring GetText() override;
    void DrawItem(const DRAWITEMSTRUCT* item, int backgroundColourIndex) override;
    // Owner-drawn: the drop-down button is painted again in the theme's colours.
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Created owner-drawn (dark theme).
    bool ownerDrawn;
};
} // namespace UI
