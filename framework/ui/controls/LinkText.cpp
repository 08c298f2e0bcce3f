// Reading a link label's markup and laying its runs out in lines, for its measure and its paint.
#include "framework/ui/controls/LinkText.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

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

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A mark that belongs to the character before it: a combining accent (as names from some systems
// spell "é"), a vowel sign, a variation selector.
bool IsMark(wchar_t c)
{
    if ((c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
        (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFE20 && c <= 0xFE2F))
        return true;
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE3, &c, 1, &type) && (type & (C3_NONSPACING | C3_VOWELMARK));
}

// Punctuation that closes or ends what stands before it, and so never begins a line after it.
bool IsClosingPunctuation(wchar_t c)
{
    static constexpr std::wstring_view closing = L"\"')]}.,:;!?\u00BB\u2019\u201D\u203A\u3001\u3002\u3009\u300B"
                                                 L"\u300D\u300F\u3011\u3015\uFF01\uFF09\uFF0C\uFF0E\uFF1A\uFF1B"
                                                 L"\uFF1F\uFF3D\uFF5D";
    return closing.find(c) != std::wstring_view::npos;
}

// Where each line's text reaches after each of its characters, from the line's start at 0: a tab
// goes on to the next stop, as a static label expands it.
std::vector<int> Advances(HDC dc, const std::wstring& text, size_t start, size_t end, int tabStop)
{
    std::vector<int> ends(end - start);
    int x = 0;
    for (size_t i = start; i < end;)
    {
        if (text[i] == L'\t')
        {
            x = (x / tabStop + 1) * tabStop;
            ends[i++ - start] = x;
            continue;
        }
        size_t runEnd = i;
        while (runEnd < end && text[runEnd] != L'\t')
            ++runEnd;
        std::vector<INT> partial(runEnd - i);
        SIZE size{};
        GetTextExtentExPointW(dc, text.data() + i, static_cast<int>(runEnd - i), 0, nullptr, partial.data(), &size);
        for (size_t k = 0; k < partial.size(); ++k)
            ends[i + k - start] = x + partial[k];
        x += partial.back();
        i = runEnd;
    }
    return ends;
}

// Whether a line may break before text[at]: never inside a pair, before a mark, or before closing
// punctuation that ends a word (the quote after a file name stays with the name).
bool IsUnitBoundary(const std::wstring& text, size_t at)
{
    if (at == 0 || at >= text.size())
        return true;
    const wchar_t before = text[at - 1];
    const wchar_t c = text[at];
    if (IsLowSurrogate(c) && IsHighSurrogate(before))
        return false;
    if (before == L'\n' || c == L'\n' || IsBlank(before) || IsBlank(c))
        return true;
    return !IsMark(c) && !IsClosingPunctuation(c);
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
    // DrawText's stops: eight average characters apart.
    const int tabStop = std::max(8 * static_cast<int>(metrics.tmAveCharWidth), 1);

    // A piece for each run of one link (or of plain text) between tabs; a tab is the room it takes.
    const auto emitLine = [&](size_t start, size_t end, const std::vector<int>& ends) {
        const int y = lines.lineCount++ * lines.lineHeight;
        for (size_t piece = start; piece < end;)
        {
            if (text[piece] == L'\t')
            {
                ++piece;
                continue;
            }
            size_t pieceEnd = piece;
            while (pieceEnd < end && linkOf[pieceEnd] == linkOf[piece] && text[pieceEnd] != L'\t')
                ++pieceEnd;
            const int x = piece > start ? ends[piece - 1 - start] : 0;
            lines.pieces.push_back(
                {x, y, ends[pieceEnd - 1 - start] - x, linkOf[piece], text.substr(piece, pieceEnd - piece)});
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
            emitLine(start, start, {});
        while (start < paragraphEnd)
        {
            const std::vector<int> ends = Advances(dc, text, start, paragraphEnd, tabStop);
            // The whole characters that fit, at least one so that a line always takes something.
            size_t fit = start;
            for (size_t at = start + 1; at <= paragraphEnd; ++at)
            {
                if (!IsUnitBoundary(text, at))
                    continue;
                if (fit > start && ends[at - 1 - start] > width)
                    break;
                fit = at;
                if (ends[at - 1 - start] > width)
                    break;
            }
            size_t end = paragraphEnd;
            size_t next = paragraphEnd;
            if (fit < paragraphEnd)
            {
                // Back to the last blank that fits; the blanks there end the line and are dropped.
                end = fit;
                if (!IsBlank(text[end]))
                    while (end > start && !IsBlank(text[end - 1]))
                        --end;
                size_t shown = end;
                while (shown > start && IsBlank(text[shown - 1]))
                    --shown;
                if (shown == start)
                    end = next = fit;
                else
                {
                    next = end;
                    end = shown;
                }
            }
            while (next < paragraphEnd && IsBlank(text[next]))
                ++next;
            emitLine(start, end, ends);
            start = next;
        }
        paragraph = paragraphEnd + 1;
    }
    return lines;
}

int LinkAt(const LinkLines& lines, int x, int y)
{
    for (const LinkPiece& piece : lines.pieces)
        if (piece.link >= 0 && x >= piece.x && x < piece.x + piece.width && y >= piece.y &&
            y < piece.y + lines.lineHeight)
            return piece.link;
    return -1;
}
} // namespace UI
