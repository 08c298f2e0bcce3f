#pragma once
// Colours of the user interface: the Windows system colours, replaced by a fixed dark palette in
// the dark theme and left to Windows while high contrast is on.

#include <windows.h>

#include <optional>
#include <string>

namespace UI
{
// What the user chose: 0 light, 1 dark, 2 follow Office (read anew on every question).
enum ThemeMode : int
{
    ThemeLight = 0,
    ThemeDark = 1,
    ThemeFollowOffice = 2,
};
} // namespace UI

// Empty until set; the first IsDarkMode then stores the registry's answer.
void SetThemeMode(std::optional<int> mode);
std::optional<int> GetThemeMode();

bool IsHighContrast();
// Reads the high-contrast state again (on WM_THEMECHANGED).
void RefreshHighContrast();
// Office's "UI Theme" (6 follows the Windows app theme): dark for 3 and 4. Reads the registry.
bool IsDarkTheme();
// The test every drawing uses.
bool IsDarkMode();

COLORREF GetThemeColor(int index);
// The theme colour of index as an opaque GDI+ ARGB value.
unsigned long GetThemeArgb(int index);
// A brush the caller must not free.
HBRUSH GetThemeBrush(int index);
// WM_CTLCOLOREDIT and WM_CTLCOLORSTATIC of a window whose background is the colour index given.
HBRUSH HandleCtlColor(UINT message, HDC dc, HWND control, int background);

unsigned long ColorRefToArgb(COLORREF color);
// The colour with its HSL lightness inverted; alpha kept.
unsigned long InvertLightness(unsigned long argb);
// InvertLightness in dark mode without high contrast; the colour unchanged otherwise.
unsigned long AdjustColorForTheme(unsigned long argb);

template <typename T>
T SelectThemeColor(T light, T dark, T highContrast)
{
    if (IsHighContrast())
        return highContrast;
    return IsDarkMode() ? dark : light;
}

// One value under HKEY_CURRENT_USER (or another root). A missing key or value leaves the data
// empty and the DWORD at 0; another failure, or a type other than DWORD or text, raises a COM
// error.
class RegistryValue
{
public:
    RegistryValue(HKEY root, std::wstring subkey, std::wstring name);
    // True when the value exists.
    bool Read();

    DWORD type() const { return type_; }
    DWORD dword() const { return dword_; }
    const std::wstring& text() const { return text_; }

private:
    HKEY root_;
    std::wstring subkey_;
    std::wstring name_;
    DWORD type_ = REG_NONE;
    DWORD dword_ = 0;
    std::wstring text_;
};
