// Reading a link label's markup and laying its runs out in lines, for its measure and its paint.
#include "framework/ui/controls/LinkText.h"

#include <algorithm>
#include <cwctype>

namespace UI
{
namespace
{
bool StartsWithTag(const std::wstring& text, size_t at, const wchar_t* tag)
{
    for (size_t i = 0; tag[i]; ++i)
        if (at + i >= text.size() || std::towlower(text[at + i]) != tag[i])
            return false;
    return true;
}

int Extent(HDC dc, const wchar_t* text, size_t count)
{
    if (count == 0)
        return 0;
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(count), &size);
    return static_cast<int>(size.cx);
}

// The characters of the text that fit width from start on (at least one, so that a line always
// takes something).
size_t CharactersThatFit(HDC dc, const std::wstring& text, size_t start, size_t end, int width)
{
    int fit = 0;
    SIZE size{};
    GetTextExtentExPointW(dc, text.data() + start, static_cast<int>(end - start), std::max(width, 0), &fit, nullptr,
                          &size);
    return std::max<size_t>(static_cast<size_t>(std::max(fit, 0)), 1);
}
} // namespace

std::vector<LinkRun> ParseLinkMarkup(const std::wstring& markup)
{
    std::vector<LinkRun> runs;
    int links = 0;
    const auto append = [&](std::wstring text, int link) {
        if (text.empty())
            return;
        if (!runs.empty() && runs.back().link == link)
            runs.back().text += text;
        else
            runs.push_back({std::move(text), link});
    };
    size_t at = 0;
    while (at < markup.size())
    {
        size_t open = at;
        while (open < markup.size() &&
               !(StartsWithTag(markup, open, L"<a") && open + 2 < markup.size() &&
                 (markup[open + 2] == L'>' || std::iswspace(markup[open + 2]))))
            ++open;
        append(markup.substr(at, open - at), -1);
        if (open >= markup.size())
            break;
        const size_t tagEnd = markup.find(L'>', open);
        if (tagEnd == std::wstring::npos)
        {
            // An unfinished tag is shown as it is written.
            append(markup.substr(open), -1);
            break;
        }
        size_t close = tagEnd + 1;
        while (close < markup.size() && !StartsWithTag(markup, close, L"</a>"))
            ++close;
        append(markup.substr(tagEnd + 1, close - tagEnd - 1), links++);
        at = std::min(markup.size(), close + 4);
    }
    return runs;
}

LinkLines LayOutLinkText(HDC dc, const std::vector<LinkRun>& runs, int width)
{
    std::wstring text;
    std::vector<int> linkOf;
    for (const LinkRun& run : runs)
        for (const wchar_t c : run.text)
            if (c != L'\r')
            {
                text += c;
                linkOf.push_back(run.link);
            }

    LinkLines lines;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    lines.lineHeight = static_cast<int>(metrics.tmHeight);

    const auto emitLine = [&](size_t start, size_t end) {
        const int y = lines.lineCount++ * lines.lineHeight;
        for (size_t piece = start; piece < end;)
        {
            size_t pieceEnd = piece;
            while (pieceEnd < end && linkOf[pieceEnd] == linkOf[piece])
                ++pieceEnd;
            const int x = Extent(dc, text.data() + start, piece - start);
            lines.pieces.push_back({x, y, Extent(dc, text.data() + start, pieceEnd - start) - x, linkOf[piece],
                                    text.substr(piece, pieceEnd - piece)});
            piece = pieceEnd;
        }
    };

    for (size_t paragraph = 0; paragraph <= text.size();)
    {
        size_t paragraphEnd = text.find(L'\n', paragraph);
        if (paragraphEnd == std::wstring::npos)
            paragraphEnd = text.size();
        size_t start = paragraph;
        if (start == paragraphEnd)
            emitLine(start, start);
        while (start < paragraphEnd)
        {
            const size_t fit = start + CharactersThatFit(dc, text, start, paragraphEnd, width);
            size_t end = paragraphEnd;
            size_t next = paragraphEnd;
            if (fit < paragraphEnd)
            {
                // Back to the last blank that fits; the blanks there end the line and are dropped.
                end = fit;
                if (text[end] != L' ')
                    while (end > start && text[end - 1] != L' ')
                        --end;
                size_t shown = end;
                while (shown > start && text[shown - 1] == L' ')
                    --shown;
                if (shown == start)
                    end = next = fit;
                else
                {
                    next = end;
                    end = shown;
                }
            }
            while (next < paragraphEnd && text[next] == L' ')
                ++next;
            emitLine(start, end);
            start = next;
        }
        paragraph = paragraphEnd + 1;
    }
    return lines;
}
} // namespace UI
