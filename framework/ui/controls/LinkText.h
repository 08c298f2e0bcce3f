#pragma once
// The text of a link label: its markup read into plain and link runs, and the runs laid out in lines
// at a width, so that the label is measured and drawn from one layout.

#include <windows.h>

#include <string>
#include <vector>

namespace UI
{
struct LinkRun
{
    std::wstring text;
    // The link's index among the label's links (0, 1, ...), -1 for plain text.
    int link = -1;
};

// "<a ...>" starts a link and "</a>" ends it (in either case); everything else is plain text.
std::vector<LinkRun> ParseLinkMarkup(const std::wstring& markup);

// One piece of a line: a run's text, or the part of it that the line holds.
struct LinkPiece
{
    int x = 0;
    int y = 0;
    int width = 0;
    int link = -1;
    std::wstring text;
};

struct LinkLines
{
    std::vector<LinkPiece> pieces;
    int lineCount = 0;
    int lineHeight = 0;
    int Height() const { return lineCount * lineHeight; }
};

// Lays the runs out in the font selected into dc (the underlined link font has the same widths):
// lines break at "\n" and, where a line would pass width, at the last blank that fits, as DrawText
// wraps words; a word wider than the whole width is broken between whole characters (never inside
// a surrogate pair, before a combining mark, or before the closing punctuation that ends the word),
// at least one a line. A tab reaches to the next of DrawText's stops and is drawn as the room it
// takes. The blanks at a break are dropped, those that begin a paragraph kept. An empty text is one
// empty line.
LinkLines LayOutLinkText(HDC dc, const std::vector<LinkRun>& runs, int width);

// The link drawn at (x, y) of the lines, -1 where none is.
int LinkAt(const LinkLines& lines, int x, int y);
} // namespace UI
