// The lines a link label lays its text out in: where they break, what each holds and where its
// pieces stand, in the UI font.
#include "framework/ui/controls/LinkText.h"
#include "tests/framework/ui/controls/ControlTestSupport.h"

#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace
{
struct Case
{
    const char* name;
    std::wstring markup;
    // The width in pixels, or that of this text in the font.
    std::variant<int, std::wstring> width;
    // Each line's pieces: a link's in brackets, one that a tab moved to its stop after "→".
    std::vector<std::wstring> lines;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class LinkLayout : public ControlTest::Fixture, public testing::WithParamInterface<Case>
{
};

std::vector<std::wstring> Shown(const UI::LinkLines& laidOut, int tabStop)
{
    std::vector<std::wstring> lines(static_cast<size_t>(laidOut.lineCount));
    std::vector<int> reached(lines.size(), 0);
    for (const UI::LinkPiece& piece : laidOut.pieces)
    {
        const auto line = static_cast<size_t>(piece.y / laidOut.lineHeight);
        if (piece.x > reached[line] && piece.x % tabStop == 0)
            lines[line] += L"→";
        lines[line] += piece.link >= 0 ? L"[" + piece.text + L"]" : piece.text;
        reached[line] = piece.x + piece.width;
    }
    return lines;
}
} // namespace

TEST_P(LinkLayout, BreaksBetweenWholeCharactersAndExpandsTabs)
{
    const Case& c = GetParam();
    const Owners::WindowDC screen(nullptr);
    Owners::MemoryDC dc(CreateCompatibleDC(screen.get()));
    const Owners::SelectedObject font(dc.get(), GetUiFontTable().Handle(UI::FontNormal));
    int width = 0;
    if (const auto* text = std::get_if<std::wstring>(&c.width))
    {
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text->c_str(), static_cast<int>(text->size()), &size);
        width = size.cx;
    }
    else
        width = std::get<int>(c.width);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    const UI::LinkLines laidOut = UI::LayOutLinkText(dc.get(), UI::ParseLinkMarkup(c.markup), width);
    EXPECT_EQ(Shown(laidOut, 8 * metrics.tmAveCharWidth), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkLayout,
    testing::Values(
        Case{"WordsWrapAtTheLastBlankThatFits", L"Two words", std::wstring(L"words"), {L"Two", L"words"}},
        Case{"ALinkWrapsWithItsWords", L"See <a href=\"x\">the file</a>", std::wstring(L"See the"),
             {L"See [the]", L"[file]"}},
        Case{"ParagraphsBreakAtNewLines", L"Line one\r\nLine two", 1000, {L"Line one", L"Line two"}},
        Case{"APairIsOneCharacterOfItsOwnLine", L"\U0001F600\U0001F600", 1, {L"\U0001F600", L"\U0001F600"}},
        Case{"AMarkStaysWithItsLetter", L"Noe\u0308l", 1, {L"N", L"o", L"e\u0308", L"l"}},
        Case{"ATabReachesTheNextStop", L"Name:\tvalue", 1000, {L"Name:→value"}},
        Case{"ATabBeginningAParagraphIsKept", L"\tIndented", 1000, {L"→Indented"}},
        Case{"AClosingQuoteStaysWithTheNameItEnds", L"Import of \"C:\\Report.txt\" failed.",
             std::wstring(L"\"C:\\Report.txt"), {L"Import of", L"\"C:\\Report.tx", L"t\" failed."}},
        Case{"ClosingPunctuationStaysWithItsWord", L"(C:\\Report.txt).", std::wstring(L"(C:\\Report.txt"),
             {L"(C:\\Report.tx", L"t)."}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
