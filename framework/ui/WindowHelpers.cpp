#include "framework/ui/WindowHelpers.h"

#include <vector>

namespace UI
{
Rect GetClientRectangle(HWND window)
{
    RECT bounds{};
    GetClientRect(window, &bounds);
    return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

Rect GetWindowRectangle(HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::wstring GetWindowTextString(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

std::wstring GetClassNameString(HWND window)
{
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

void SetMenuCommandInfo(const MenuCommandPlaces& places, const MENUITEMINFOW& info, UINT command,
                        std::pair<int, HMENU> menu)
{
    const auto [first, last] = places.equal_range(command);
    for (auto place = first; place != last; ++place)
        if (place->second.first == menu.first)
            SetMenuItemInfoW(GetSubMenu(menu.second, place->second.second), command, FALSE, &info);
}
} // namespace UI

namespace
{
std::wstring LinkLabels(const std::wstring& text)
{
    std::wstring open = L"<A HREF=\"";
    std::wstring close = L"</A>";
    if (text.find(open) == std::wstring::npos)
    {
        open = L"<a href=\"";
        close = L"</a>";
    }
    size_t start = text.find(open);
    std::wstring shown = text.substr(0, start);
    while (start != std::wstring::npos)
    {
        const size_t pieceStart = start + open.size();
        const size_t next = text.find(open, pieceStart);
        std::wstring piece = text.substr(pieceStart, next == std::wstring::npos ? std::wstring::npos : next - pieceStart);
        const size_t quote = piece.find(L'"');
        if (quote != std::wstring::npos)
        {
            const size_t end = piece.find(L'>', quote);
            piece.erase(0, end == std::wstring::npos ? quote + 1 : end + 1);
        }
        const size_t closing = piece.find(close);
        if (closing != std::wstring::npos)
            piece.erase(closing, close.size());
        shown += piece;
        start = next;
    }
    return shown;
}
} // namespace

std::wstring GetDisplayText(HWND window)
{
    std::wstring text = UI::GetWindowTextString(window);
    const std::wstring className = UI::GetClassNameString(window);
    if (lstrcmpiW(className.c_str(), L"SysLink") == 0)
        return LinkLabels(text);
    if (lstrcmpiW(className.c_str(), L"Static") == 0 && (GetWindowLongW(window, GWL_STYLE) & SS_NOPREFIX))
        return text;
    std::erase(text, L'&');
    return text;
}
