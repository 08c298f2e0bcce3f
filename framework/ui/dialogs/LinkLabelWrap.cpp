#include "framework/ui/dialogs/LinkLabelWrap.h"

#include "framework/Owners.h"
#include "framework/ui/WindowHelpers.h"

#include <algorithm>
#include <string>

namespace
{
int Extent(HDC dc, const wchar_t* text, size_t count)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(count), &size);
    return static_cast<int>(size.cx);
}

// Whether the lines of one paragraph, each measured with a blank after it, leave room at width.
bool ParagraphHasRoom(HDC dc, const std::wstring& paragraph, int width, int room)
{
    const int blank = Extent(dc, L" ", 1);
    size_t at = 0;
    while (at < paragraph.size())
    {
        const int count = static_cast<int>(paragraph.size() - at);
        int fit = 0;
        SIZE size{};
        GetTextExtentExPointW(dc, paragraph.data() + at, count, width, &fit, nullptr, &size);
        size_t end = paragraph.size();
        if (fit < count)
        {
            // The control breaks before the word that does not fit, keeping the blank on this line.
            end = at + static_cast<size_t>(fit);
            if (paragraph[end] != L' ')
                while (end > at && paragraph[end - 1] != L' ')
                    --end;
            if (end == at)
            {
                at += static_cast<size_t>(std::max(fit, 1));
                continue;
            }
        }
        size_t shown = end;
        while (shown > at && paragraph[shown - 1] == L' ')
            --shown;
        if (shown > at && Extent(dc, paragraph.data() + at, shown - at) + blank + room > width)
            return false;
        at = end;
        while (at < paragraph.size() && paragraph[at] == L' ')
            ++at;
    }
    return true;
}
} // namespace

bool LinkLabelLinesHaveRoom(HWND label, int width, int room)
{
    if (!label || width <= 0)
        return false;
    const std::wstring text = GetDisplayText(label);
    const Owners::WindowDC dc(label);
    if (!dc)
        return false;
    const Owners::SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    for (size_t start = 0; start <= text.size();)
    {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == L'\r')
            paragraph.pop_back();
        if (!ParagraphHasRoom(dc.get(), paragraph, width, room))
            return false;
        start = end + 1;
    }
    return true;
}
