#include "framework/ui/Theme.h"

#include "framework/Owners.h"
#include "framework/com/ComError.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <vector>

namespace
{
std::optional<int> themeMode;
std::optional<bool> highContrast;

// Freed at exit: brushes of colours that depend on the registry keep their first colour.
std::map<int, Owners::Brush>& DarkBrushes()
{
    static std::map<int, Owners::Brush> brushes;
    return brushes;
}

std::optional<COLORREF> DarkColor(int index)
{
    switch (index)
    {
    case COLOR_ACTIVECAPTION: return 0x404040;
    case COLOR_WINDOW: return 0x202020;
    case COLOR_WINDOWFRAME: return 0x101010;
    case COLOR_WINDOWTEXT: return 0xC1C1C1;
    case COLOR_CAPTIONTEXT: return 0xF0F0F0;
    case COLOR_HIGHLIGHT: return 0x372B1D;
    case COLOR_HIGHLIGHTTEXT: return 0xFFFFFF;
    case COLOR_BTNFACE: return 0x302D2D;
    case COLOR_BTNSHADOW: return 0x808080;
    case COLOR_GRAYTEXT: return 0x808080;
    case COLOR_HOTLIGHT: return 0xC1C1C1;
    default: return std::nullopt;
    }
}

DWORD ReadDword(const wchar_t* subkey, const wchar_t* name)
{
    RegistryValue value(HKEY_CURRENT_USER, subkey, name);
    value.Read();
    return value.dword();
}

float HueToChannel(float p, float q, float t)
{
    if (t < 0)
        t += 6;
    else if (t > 6)
        t -= 6;
    if (t < 1)
        return p + (q - p) * t;
    if (t < 3)
        return q;
    if (t < 4)
        return p + (q - p) * (4 - t);
    return p;
}

unsigned long ToByte(float channel)
{
    return static_cast<unsigned long>(std::min(std::floor(channel * 256.0f), 255.0f));
}
} // namespace

RegistryValue::RegistryValue(HKEY root, std::wstring subkey, std::wstring name)
    : root_(root), subkey_(std::move(subkey)), name_(std::move(name))
{
}

bool RegistryValue::Read()
{
    Owners::RegistryKey key;
    LSTATUS status = RegOpenKeyExW(root_, subkey_.c_str(), 0, KEY_READ, key.put());
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND)
        return false;
    if (status != ERROR_SUCCESS)
        _com_issue_error(HRESULT_FROM_WIN32(status));

    DWORD size = 0;
    status = RegQueryValueExW(key.get(), name_.c_str(), nullptr, &type_, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return false;
    if (status != ERROR_SUCCESS)
        _com_issue_error(HRESULT_FROM_WIN32(status));

    switch (type_)
    {
    case REG_DWORD:
    {
        DWORD data = 0;
        size = sizeof data;
        status = RegQueryValueExW(key.get(), name_.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size);
        if (status != ERROR_SUCCESS)
            _com_issue_error(HRESULT_FROM_WIN32(status));
        dword_ = data;
        return true;
    }
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
    {
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key.get(), name_.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
        if (status != ERROR_SUCCESS)
            _com_issue_error(HRESULT_FROM_WIN32(status));
        text_.assign(data.data());
        if (type_ == REG_MULTI_SZ)
        {
            // Every string of the list, not only the first, separated by ";".
            const wchar_t* end = data.data() + std::min<size_t>(size / sizeof(wchar_t), data.size());
            for (const wchar_t* piece = data.data() + text_.size() + 1; piece < end && *piece;)
            {
                const size_t length = wcsnlen(piece, static_cast<size_t>(end - piece));
                text_.append(L";").append(piece, length);
                piece += length + 1;
            }
        }
        return true;
    }
    default: break;
    }
    _com_issue_error(E_UNEXPECTED);
    return false;
}

void SetThemeMode(std::optional<int> mode) { themeMode = mode; }
std::optional<int> GetThemeMode() { return themeMode; }

void RefreshHighContrast()
{
    HIGHCONTRASTW info{};
    info.cbSize = sizeof info;
    highContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof info, &info, 0) && (info.dwFlags & HCF_HIGHCONTRASTON);
}

bool IsHighContrast()
{
    if (!highContrast)
        RefreshHighContrast();
    return *highContrast;
}

bool IsDarkTheme()
{
    // A value of an unexpected type is read as the light theme: painting must not fail over it.
    try
    {
        DWORD theme = ReadDword(L"Software\\Microsoft\\Office\\16.0\\Common", L"UI Theme");
        if (theme == 6)
            theme = ReadDword(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", L"AppsUseLightTheme")
                        ? 0
                        : 4;
        return theme == 3 || theme == 4;
    }
    catch (const _com_error&)
    {
        return false;
    }
}

bool IsDarkMode()
{
    if (IsHighContrast())
        return false;
    if (!themeMode)
    {
        themeMode = IsDarkTheme() ? UI::ThemeDark : UI::ThemeLight;
        return *themeMode == UI::ThemeDark;
    }
    switch (*themeMode)
    {
    case UI::ThemeDark: return true;
    case UI::ThemeFollowOffice: return IsDarkTheme();
    default: return false;
    }
}

COLORREF GetThemeColor(int index)
{
    if (IsDarkMode())
        if (const auto dark = DarkColor(index))
            return *dark;
    return GetSysColor(index);
}

unsigned long GetThemeArgb(int index) { return ColorRefToArgb(GetThemeColor(index)); }

HBRUSH GetThemeBrush(int index)
{
    if (!IsDarkMode())
        return GetSysColorBrush(index);
    Owners::Brush& brush = DarkBrushes()[index];
    if (!brush)
        brush.reset(CreateSolidBrush(GetThemeColor(index)));
    return brush.get();
}

HBRUSH HandleCtlColor(UINT message, HDC dc, HWND control, int background)
{
    if (message == WM_CTLCOLOREDIT)
    {
        SetTextColor(dc, GetThemeColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetThemeColor(COLOR_WINDOW));
        return GetThemeBrush(COLOR_WINDOW);
    }
    COLORREF text = GetThemeColor(COLOR_WINDOWTEXT);
    wchar_t className[32] = {};
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    const bool link = lstrcmpiW(className, L"SysLink") == 0;
    if (IsDarkMode() && link)
        text = GetThemeColor(COLOR_HOTLIGHT);
    SetTextColor(dc, text);
    SetBkColor(dc, GetThemeColor(background));
    if (link && IsDarkMode())
    {
        // Wine's link control deletes the brush it is given; the DC brush is a stock object, which
        // survives that, where our own theme brush would be gone for every later paint.
        SetDCBrushColor(dc, GetThemeColor(background));
        return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    }
    return GetThemeBrush(background);
}

unsigned long ColorRefToArgb(COLORREF color)
{
    return 0xFF000000ul | (static_cast<unsigned long>(GetRValue(color)) << 16) |
           (static_cast<unsigned long>(GetGValue(color)) << 8) | GetBValue(color);
}

unsigned long InvertLightness(unsigned long argb)
{
    const float r = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
    const float g = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
    const float b = static_cast<float>(argb & 0xFF) / 255.0f;
    const float max = std::max({r, g, b});
    const float min = std::min({r, g, b});
    const float lightness = (max + min) / 2;

    float hue = 0;
    float saturation = 0;
    const float range = max - min;
    if (range >= FLT_MIN)
    {
        saturation = range / (lightness > 0.5f ? 2 - (max + min) : (max + min));
        if (r == max)
        {
            hue = (g - b) / range;
            if (hue < 0)
                hue += 6;
        }
        else if (g == max)
            hue = (b - r) / range + 2;
        else
            hue = (r - g) / range + 4;
    }

    const float inverted = 1 - lightness;
    float red = inverted, green = inverted, blue = inverted;
    if (saturation >= FLT_MIN)
    {
        if (inverted < FLT_MIN)
            red = green = blue = 0;
        else
        {
            const float q = inverted < 0.5f ? inverted * (1 + saturation) : inverted + saturation - inverted * saturation;
            const float p = 2 * inverted - q;
            red = HueToChannel(p, q, hue + 2);
            green = HueToChannel(p, q, hue);
            blue = HueToChannel(p, q, hue - 2);
        }
    }
    return (argb & 0xFF000000ul) | (ToByte(red) << 16) | (ToByte(green) << 8) | ToByte(blue);
}

unsigned long AdjustColorForTheme(unsigned long argb)
{
    if (IsDarkMode() && !IsHighContrast())
        return InvertLightness(argb);
    return argb;
}
