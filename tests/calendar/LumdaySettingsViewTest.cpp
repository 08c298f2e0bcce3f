// The settings view of the real Lumday.exe: where it lays its rows at 96 dpi, what its clicks
// change at once, and what reaches the settings file when it is left.
#include "calendar/CalendarCommands.h"
#include "calendar/CalendarGrid.h"
#include "calendar/CalendarPaint.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/DrawingResources.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/HitArea.h"
#include "calendar/LumdayWindow.h"
#include "calendar/NotebookList.h"
#include "calendar/SettingsPage.h"
#include "calendar/UiLanguages.h"
#include "framework/text/DateTime.h"
#include "framework/text/Text.h"
#include "framework/xml/XmlDocument.h"
#include "onenote_model/Page.h"
#include "tests/calendar/LumdayRun.h"
#include "tests/support/HeldFile.h"
#include "tests/support/Screenshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

using namespace LumdayTest;

namespace
{
// Where the view draws its rows at 96 dpi, worked out as the program does from the line heights of
// its fonts: one unit is one pixel, and the page's gap is 5.
struct SettingsGeometry
{
    float band = GetLineHeight(FontTitle) + 2 * 5;
    float heading = GetLineHeight(FontHeading);
    float line = GetLineHeight(FontDayName);
    float pitch = line + 5;
    float firstRow = band + 10 + heading + 5;

    // The middle of a row that starts at y.
    int Middle(float y) const { return static_cast<int>(y + line / 2); }

    POINT TextSize(int index) const { return {59, Middle(firstRow + static_cast<float>(index) * pitch)}; }
    float CreatedDateY() const { return firstRow + 6 * pitch + 15 + heading + 5; }
    POINT CreatedDate() const { return {35, Middle(CreatedDateY())}; }
    POINT LastModifiedDate() const { return {35, Middle(CreatedDateY() + pitch)}; }
    float SwatchY() const { return CreatedDateY() + 2 * pitch + 15 + heading + 5; }
    POINT LightTheme() const { return {49, static_cast<int>(SwatchY()) + 20}; }
    POINT DarkTheme() const { return {99, static_cast<int>(SwatchY()) + 20}; }
    float SingleInstanceY() const { return SwatchY() + 60 + heading + 5; }
    POINT SingleInstance() const { return {35, Middle(SingleInstanceY())}; }
    POINT MondayWeek() const { return {35, Middle(SingleInstanceY() + 25)}; }
    POINT ShowPreviews() const { return {35, Middle(SingleInstanceY() + 50)}; }

    // Language i of the full form: two columns of eight from x = 425, 160 apart.
    POINT Language(int index) const
    {
        return {425 + (index / 8) * 160 + 10, Middle(firstRow + static_cast<float>(index % 8) * pitch)};
    }
    float NotebookFilterY() const { return firstRow + 8 * pitch + 15 + heading + 5; }
    POINT AllNotebooks() const { return {435, Middle(NotebookFilterY())}; }
    POINT SelectedNotebooks() const { return {435, Middle(NotebookFilterY() + pitch)}; }
    // Notebook i of m: its box starts at x = 455 (its check box 20 before), the second column
    // 150 further right.
    POINT Notebook(int index, int count) const
    {
        const int half = (count + 1) / 2;
        const int column = index >= half ? 1 : 0;
        const int row = index - column * half;
        return {455 + column * 150 + 10, Middle(NotebookFilterY() + static_cast<float>(2 + row) * pitch)};
    }
    POINT Back() const { return {15, static_cast<int>(band / 2)}; }
};

int LanguageIndex(const std::wstring& code)
{
    const std::vector<LanguageEntry>& languages = GetLanguages();
    for (size_t i = 0; i < languages.size(); ++i)
        if (languages[i].code == code)
            return static_cast<int>(i);
    ADD_FAILURE() << "no language " << std::string(code.begin(), code.end());
    return 0;
}

std::wstring SettingsTitle(const wchar_t* language)
{
    LoadLanguageStrings(language);
    return GetUiString(StrSettings);
}

// The calendar as the program draws it in a client area of this size, painted here for its
// geometry (cells and hit areas): today in a view, in a language, with no pages.
void PaintHere(SIZE client, const std::wstring& language, int viewType)
{
    LoadLanguageStrings(language);
    FillDateNameTables();
    GetCalendarSettings().viewType = viewType;
    GetCalendarState().currentDate = DateTime();
    Gdiplus::Bitmap bitmap(client.cx, client.cy, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&bitmap);
    PaintCalendar(graphics, client.cx, client.cy);
}

// The settings page of a language as the program lays it out, with the settings read here that
// the program read (which choose the bold rows).
SettingsPage SettingsPageHere(const std::wstring& language, bool languageOnly)
{
    LoadLanguageStrings(language);
    GetCalendarSettings().language = language;
    return LayOutSettingsPage(languageOnly);
}

// Where a text of the settings page lies as it takes its box (from the box's left, centred in its
// height), and whether the box holds it.
struct TextRoom
{
    Gdiplus::RectF rect;
    bool held = false;
};

TextRoom RoomOf(Gdiplus::Graphics& graphics, const SettingsText& text)
{
    const bool wraps = text.fit == SettingsTextFit::Wrapped;
    Gdiplus::StringFormat format(wraps ? 0 : Gdiplus::StringFormatFlagsNoWrap);
    Gdiplus::RectF needed;
    graphics.MeasureString(text.text.c_str(), static_cast<INT>(text.text.size()), GetFont(text.font),
                           Gdiplus::RectF(text.box.X, text.box.Y, wraps ? text.box.Width : 0, 0), &format, &needed);
    const float width = text.fit == SettingsTextFit::Trimmed ? std::min(needed.Width, text.box.Width) : needed.Width;
    constexpr float Slack = 0.5f;
    return {Gdiplus::RectF(text.box.X, text.box.Y + (text.box.Height - needed.Height) / 2, width, needed.Height),
            width <= text.box.Width + Slack && needed.Height <= text.box.Height + Slack};
}

std::string Described(const Gdiplus::RectF& box)
{
    return std::to_string(static_cast<int>(box.Width)) + "x" + std::to_string(static_cast<int>(box.Height)) + " at " +
           std::to_string(static_cast<int>(box.X)) + "," + std::to_string(static_cast<int>(box.Y));
}

// Every text of the page has the room it needs inside its box and the page, and no two texts or
// images run into each other; the result names each that does not.
std::vector<std::string> CrowdedTexts(const SettingsPage& page)
{
    Gdiplus::Bitmap bitmap(1, 1, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&bitmap);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    std::vector<std::string> faults;
    std::vector<std::pair<std::string, Gdiplus::RectF>> items;
    for (const SettingsText& text : page.texts)
    {
        const TextRoom room = RoomOf(graphics, text);
        const std::string name = "\"" + WideToUtf8(text.text) + "\"";
        if (!room.held)
            faults.push_back(name + " needs " + Described(room.rect) + " in its box of " + Described(text.box));
        if (room.rect.X + room.rect.Width > static_cast<float>(page.content.Width) + 0.5f ||
            room.rect.Y + room.rect.Height > static_cast<float>(page.content.Height) + 0.5f)
            faults.push_back(name + " leaves the page of " + std::to_string(page.content.Width) + "x" +
                             std::to_string(page.content.Height));
        items.emplace_back(name, room.rect);
    }
    for (const SettingsImage& image : page.images)
        items.emplace_back("the image " + std::to_string(image.bitmap), image.box);
    for (size_t a = 0; a < items.size(); ++a)
        for (size_t b = a + 1; b < items.size(); ++b)
        {
            Gdiplus::RectF both;
            if (Gdiplus::RectF::Intersect(both, items[a].second, items[b].second) && both.Width > 0.5f &&
                both.Height > 0.5f)
                faults.push_back(items[a].first + " runs into " + items[b].first);
        }
    return faults;
}

// The columns a text inks drawn here on its own, unbounded: the ink's width.
int InkWidthHere(const SettingsText& text)
{
    Gdiplus::RectF size;
    Gdiplus::Bitmap probe(1, 1, PixelFormat32bppARGB);
    Gdiplus::Graphics(&probe).MeasureString(text.text.c_str(), static_cast<INT>(text.text.size()), GetFont(text.font),
                                            Gdiplus::PointF(0, 0), &size);
    const int width = static_cast<int>(size.Width) + 20;
    const int height = static_cast<int>(size.Height) + 10;
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&bitmap);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
    graphics.Clear(Gdiplus::Color(255, 255, 255));
    const Gdiplus::SolidBrush black(Gdiplus::Color(0, 0, 0));
    graphics.DrawString(text.text.c_str(), static_cast<INT>(text.text.size()), GetFont(text.font),
                        Gdiplus::PointF(10, 5), &black);
    int left = -1;
    int right = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            Gdiplus::Color pixel;
            bitmap.GetPixel(x, y, &pixel);
            if (pixel.GetR() + pixel.GetG() + pixel.GetB() < 3 * 255)
            {
                left = left < 0 ? x : std::min(left, x);
                right = std::max(right, x);
            }
        }
    return left < 0 ? 0 : right - left + 1;
}

// What the window's picture of the page shows amiss, or nothing: ink below the title band that no
// text's box nor image holds (text printed beyond its room), or a line of text shorter or longer
// than the same text drawn here on its own (cut, or broken into lines).
std::string PictureFault(HWND window, const SettingsPage& page)
{
    const ClientPicture picture(window);
    const COLORREF background = ColorRef(ColorBackground);
    std::vector<Gdiplus::RectF> held;
    for (const SettingsText& text : page.texts)
        held.push_back(text.box);
    for (const SettingsImage& image : page.images)
        held.push_back(image.box);
    for (const Gdiplus::RectF& outline : page.outlines)
        held.push_back(outline);
    for (Gdiplus::RectF& box : held)
        box.Inflate(1, 1);
    for (int y = static_cast<int>(std::ceil(page.band)) + 1; y < page.content.Height; ++y)
        for (int x = 0; x < page.content.Width; ++x)
            if (picture.At(x, y) != background &&
                std::none_of(held.begin(), held.end(), [&](const Gdiplus::RectF& box) {
                    return box.Contains(static_cast<float>(x), static_cast<float>(y));
                }))
                return "text printed beyond its room at " + std::to_string(x) + "," + std::to_string(y);
    for (const SettingsText& text : page.texts)
    {
        if (text.fit != SettingsTextFit::OneLine)
            continue;
        // The title stands on the band.
        const COLORREF paper = text.box.Y < page.band ? ColorRef(page.bandColor) : background;
        int left = -1;
        int right = -1;
        for (int y = static_cast<int>(text.box.Y); y < static_cast<int>(text.box.Y + text.box.Height); ++y)
            for (int x = static_cast<int>(text.box.X) - 1; x <= static_cast<int>(text.box.X + text.box.Width); ++x)
                if (picture.At(x, y) != paper)
                {
                    left = left < 0 ? x : std::min(left, x);
                    right = std::max(right, x);
                }
        const int shown = left < 0 ? 0 : right - left + 1;
        const int whole = InkWidthHere(text);
        if (std::abs(shown - whole) > 2)
            return "\"" + WideToUtf8(text.text) + "\" shows " + std::to_string(shown) + " of its " +
                   std::to_string(whole) + " columns";
    }
    return "";
}

// How dark a rectangle of a picture is, pixel by pixel (0 the page, 1 black), for comparing what
// two slots of the same size show.
struct Ink
{
    int width = 0;
    int height = 0;
    std::vector<float> darkness;

    Ink(const ClientPicture& picture, const Gdiplus::RectF& box)
        : width(static_cast<int>(box.Width)), height(static_cast<int>(box.Height))
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const COLORREF pixel = picture.At(static_cast<int>(box.X) + x, static_cast<int>(box.Y) + y);
                darkness.push_back(1.0f - static_cast<float>(GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) /
                                              (3 * 255.0f));
            }
    }

    bool Empty() const { return std::all_of(darkness.begin(), darkness.end(), [](float d) { return d < 0.2f; }); }

    // How alike two slots read: the best correlation of their darkness, shifted by up to two
    // pixels either way (slots fall on fractions of a pixel); 1 for the same text.
    double Likeness(const Ink& other) const
    {
        double best = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
            {
                double ab = 0, aa = 0, bb = 0;
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x)
                    {
                        const int ox = x + dx, oy = y + dy;
                        const float a = darkness[static_cast<size_t>(y * width + x)];
                        const float b = ox >= 0 && oy >= 0 && ox < other.width && oy < other.height
                                            ? other.darkness[static_cast<size_t>(oy * other.width + ox)]
                                            : 0.0f;
                        ab += a * b, aa += a * a, bb += b * b;
                    }
                if (aa > 0 && bb > 0)
                    best = std::max(best, ab / std::sqrt(aa * bb));
            }
        return best;
    }
};

class LumdaySettingsView : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        CreateFonts();
        SetColorScheme(false);
    }
    static void TearDownTestSuite() { FreeDrawingResources(); }

    // Lumday in English with the window at a size that shows the whole page.
    std::unique_ptr<Harness::Program> StartInEnglish()
    {
        WriteSettings(profile, L"<Lumday><Settings language=\"en\"/><Window x=\"0\" y=\"0\" width=\"1000\" "
                               L"height=\"800\"/></Lumday>");
        return Start(profile, standIn);
    }

    // Lumday in English with its settings view open.
    HWND OpenedSettings(std::unique_ptr<Harness::Program>& lumday)
    {
        lumday = StartInEnglish();
        const HWND window = MainWindowOf(*lumday);
        if (!window || !OpenSettings(window))
            return nullptr;
        return window;
    }

    // A click as the mouse gives it. The view paints what is still to be painted before it reads
    // a click, so the next click may follow at once; what a click changes is waited for where it
    // is checked (a title, a picture, the settings file after Back), and a lost click fails there.
    static void ClickAt(HWND window, POINT point) { Harness::Click(window, point.x, point.y); }

    // Gives the window a client area of the width (and a height that needs no vertical bar). The
    // window takes the new size, and lays its bars out for it, before SetWindowPos returns.
    static void SetClientWidth(HWND window, int width)
    {
        RECT frame{};
        GetWindowRect(window, &frame);
        const SIZE client = Harness::ClientSize(window);
        const LONG style = GetWindowLongW(window, GWL_STYLE);
        const int bar = (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        const int outer = frame.right - frame.left - client.cx - bar;
        SetWindowPos(window, nullptr, 0, 0, width + outer, 900, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(Harness::ClientSize(window).cx, width);
    }

    static bool HasHorizontalBar(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_HSCROLL) != 0; }

    Screenshot::GdiplusSession gdiplus;
    Harness::Profile profile;
    Harness::ShellFolderRedirect redirect{profile};
    StandInFiles standIn;
    SettingsGeometry at;
};

TEST_F(LumdaySettingsView, FullFormIs735WideWithItsColumnsWhereTheyBelongAt96Dpi)
{
    std::unique_ptr<Harness::Program> lumday;
    const HWND window = OpenedSettings(lumday);
    ASSERT_NE(window, nullptr);
    const COLORREF background = ColorRef(ColorBackground);
    // The view's first paint: the title band, and the check boxes' outlines.
    std::optional<ClientPicture> shown;
    EXPECT_TRUE(Harness::WaitUntil([&] {
        shown.emplace(window);
        return shown->At(5, 2) == ColorRef(ColorAccent) &&
               shown->FirstInk(20, at.SingleInstance().y, background) >= 0;
    })) << "the settings view is painted";
    Harness::SaveWindow(window, L"Settings-Light");
    const ClientPicture& picture = *shown;
    EXPECT_EQ(picture.At(5, 2), ColorRef(ColorAccent)) << "the title band";
    EXPECT_EQ(picture.At(600, static_cast<int>(at.band) + 2), background) << "below the band";
    // The check boxes' outlines are 3 pixels into their images, which start at x = 29.
    EXPECT_EQ(picture.FirstInk(20, at.CreatedDate().y, background), 29 + 3);
    EXPECT_EQ(picture.FirstInk(20, at.SingleInstance().y, background), 29 + 3);
    // Text starts a few pixels into its box: the language heading's at 400, the rows' at 425 and 585.
    const int headingInk = picture.FirstInk(380, static_cast<int>(at.band + 10 + at.heading / 2), background);
    EXPECT_GE(headingInk, 400);
    EXPECT_LT(headingInk, 400 + 8);
    for (const int column : {0, 1})
    {
        SCOPED_TRACE(column);
        const int left = 425 + column * 160;
        int ink = -1;
        // The middle line may pass between strokes: any line of the first row will do.
        for (int y = static_cast<int>(at.firstRow); y < static_cast<int>(at.firstRow + at.line) && ink < 0; ++y)
        {
            const int found = picture.FirstInk(left - 10, y, background, 30);
            if (found >= 0)
                ink = found;
        }
        EXPECT_GE(ink, left);
        EXPECT_LT(ink, left + 8);
    }

    SetClientWidth(window, 736);
    EXPECT_FALSE(HasHorizontalBar(window)) << "735 pixels wide content fits";
    SetClientWidth(window, 735);
    EXPECT_TRUE(HasHorizontalBar(window));
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdaySettingsView, FirstRunFormIs360WideAndContinueStoresTheDefaultLanguage)
{
    WriteSettings(profile, L"<Lumday><Window x=\"0\" y=\"0\" width=\"600\" height=\"800\"/></Lumday>");
    auto lumday = Start(profile, standIn);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TitleBecomes(window, L"Settings"));
    SetClientWidth(window, 361);
    EXPECT_FALSE(HasHorizontalBar(window));
    SetClientWidth(window, 360);
    EXPECT_TRUE(HasHorizontalBar(window));
    SetClientWidth(window, 600);

    // Continue sits one row below the first column's sixteen languages' eight rows.
    const POINT proceed{60, at.Middle(at.firstRow + 9 * at.pitch)};
    ClickAt(window, proceed);
    EXPECT_TRUE(TitleBecomes(window, MonthTitle()));
    EXPECT_NE(ReadSettings(profile).find(L"language=\"en\""), std::wstring::npos) << "the prefix's language";
    EXPECT_EQ(lumday->Close(), 0u);
}

// Each language of the list, chosen in turn (the last English again), switches the page at once; its
// full and its first-run form give every text the room it needs, as laid out here and as the
// window shows the full one.
TEST_F(LumdaySettingsView, LanguageRowsSwitchTheInterfaceAtOnceInBothColumns)
{
    std::unique_ptr<Harness::Program> lumday;
    const HWND window = OpenedSettings(lumday);
    ASSERT_NE(window, nullptr);
    const std::vector<LanguageEntry>& languages = GetLanguages();
    ASSERT_EQ(languages.size(), 16u);
    // The program's settings and the notebooks it lists, read here from the same file and store.
    ASSERT_TRUE(LoadSettings());
    SetTextSizeFromFontSize(GetCalendarSettings().fontSize);
    for (const auto& [name, value] : standIn.Environment())
        SetEnvironmentVariableW(name.c_str(), value.c_str());
    EXPECT_HRESULT_SUCCEEDED(LoadHierarchy());
    for (const auto& [name, value] : standIn.Environment())
        SetEnvironmentVariableW(name.c_str(), nullptr);
    for (size_t step = 1; step <= languages.size(); ++step)
    {
        const std::wstring& code = languages[step % languages.size()].code;
        SCOPED_TRACE(testing::PrintToString(std::filesystem::path(code).string()));
        ClickAt(window, at.Language(LanguageIndex(code)));
        EXPECT_TRUE(TitleBecomes(window, SettingsTitle(code.c_str()), 5s));
        for (const bool languageOnly : {false, true})
            for (const std::string& fault : CrowdedTexts(SettingsPageHere(code, languageOnly)))
                ADD_FAILURE() << (languageOnly ? "first run: " : "") << fault;
        const SettingsPage page = SettingsPageHere(code, false);
        std::string fault;
        EXPECT_TRUE(Harness::WaitUntil([&] { return (fault = PictureFault(window, page)).empty(); }, 5s)) << fault;
        if (code == L"ru" || code == L"zh-CN")
            Harness::SaveWindow(window, code == L"ru" ? L"Settings-Russian" : L"Settings-Chinese");
    }
    EXPECT_EQ(lumday->Close(), 0u);
}

// The month strip under the years tells every month apart, in every language the settings offer.
TEST_F(LumdaySettingsView, MonthStripTellsTheTwelveMonthsApartInEveryLanguage)
{
    auto lumday = StartInEnglish();
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);
    const std::vector<LanguageEntry>& languages = GetLanguages();
    for (size_t index = 0; index < languages.size(); ++index)
    {
        const std::wstring& code = languages[index].code;
        SCOPED_TRACE(testing::PrintToString(std::filesystem::path(code).string()));
        if (index > 0)
        {
            // The language chosen in the settings, which Esc leaves for the calendar.
            ASSERT_TRUE(OpenSettings(window, SettingsTitle(languages[index - 1].code.c_str())));
            ClickAt(window, at.Language(static_cast<int>(index)));
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        }
        PaintHere(Harness::ClientSize(window), code, 0);
        ASSERT_TRUE(TitleBecomes(window, FormatPeriodTitle(0)));
        std::vector<Gdiplus::RectF> slots;
        for (const HitArea& area : GetHitAreas())
            if (area.kind == HitMonth)
                slots.push_back(area.rect);
        ASSERT_EQ(slots.size(), 12u);
        // The strip as the calendar paints it in the new language.
        std::vector<Ink> months;
        const auto readApart = [&] {
            const ClientPicture picture(window);
            months.clear();
            for (const Gdiplus::RectF& slot : slots)
                months.emplace_back(picture, slot);
            for (size_t a = 0; a < months.size(); ++a)
            {
                if (months[a].Empty())
                    return false;
                for (size_t b = a + 1; b < months.size(); ++b)
                    if (months[a].Likeness(months[b]) >= 0.98)
                        return false;
            }
            return true;
        };
        Harness::WaitUntil(readApart, 5s);
        for (size_t a = 0; a < months.size(); ++a)
        {
            EXPECT_FALSE(months[a].Empty()) << "month " << a + 1 << " shows nothing";
            for (size_t b = a + 1; b < months.size(); ++b)
                EXPECT_LT(months[a].Likeness(months[b]), 0.98)
                    << "months " << a + 1 << " and " << b + 1 << " read alike";
        }
        if (code == L"zh-CN" || code == L"en")
            Harness::SaveWindow(window, L"MonthStrip-" + code);
    }
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdaySettingsView, OptionsChangeAtOnceEscapeKeepsTheFileAndBackSavesThem)
{
    std::unique_ptr<Harness::Program> lumday;
    const HWND window = OpenedSettings(lumday);
    ASSERT_NE(window, nullptr);
    const std::wstring before = ReadSettings(profile);

    // Created off leaves Last Modified on; Last Modified off then turns Created back on.
    ClickAt(window, at.CreatedDate());
    ClickAt(window, at.LastModifiedDate());
    ClickAt(window, at.TextSize(5));
    ClickAt(window, at.SingleInstance());
    ClickAt(window, at.MondayWeek());
    ClickAt(window, at.ShowPreviews());
    ClickAt(window, at.DarkTheme());
    {
        SetColorScheme(true);
        const COLORREF dark = ColorRef(ColorBackground);
        SetColorScheme(false);
        EXPECT_TRUE(Harness::WaitUntil(
            [&] { return ClientPicture(window).At(600, static_cast<int>(at.band) + 2) == dark; }, 5s))
            << "dark at once";
    }
    Harness::SaveWindow(window, L"Settings-Dark");

    Harness::PressKey(window, VK_ESCAPE);
    EXPECT_TRUE(TitleBecomes(window, MonthTitle()));
    EXPECT_EQ(ReadSettings(profile), before) << "Escape leaves without saving";

    ASSERT_TRUE(OpenSettings(window));
    ClickAt(window, at.Back());
    EXPECT_TRUE(TitleBecomes(window, MonthTitle()));
    const std::wstring saved = ReadSettings(profile);
    for (const wchar_t* expected : {L"showPagesOnCreatedDate=\"true\"", L"showPagesOnLMT=\"false\"", L"fontSize=\"18\"",
                                    L"singleInstance=\"true\"", L"mondayWeek=\"true\"", L"showPreviews=\"false\"",
                                    L"darkMode=\"true\""})
    {
        // The defaults (true for the page days) are written only when they differ.
        if (std::wstring(expected) == L"showPagesOnCreatedDate=\"true\"")
            EXPECT_EQ(saved.find(L"showPagesOnCreatedDate=\"false\""), std::wstring::npos);
        else
            EXPECT_NE(saved.find(expected), std::wstring::npos)
                << testing::PrintToString(std::filesystem::path(expected).string());
    }
    Harness::SaveWindow(window, L"Calendar-MondayWeek-Dark");

    // Single instance now holds: a second start brings this one forward and ends.
    auto second = Start(profile, standIn);
    EXPECT_EQ(second->WaitForExit(15s), std::optional<DWORD>(0));
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdaySettingsView, WheelScrollsALineBarEndsReachTheEndsAndResizingReturnsToTheTopLeftCorner)
{
    std::unique_ptr<Harness::Program> lumday;
    const HWND window = OpenedSettings(lumday);
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER);
    const COLORREF background = ColorRef(ColorBackground);
    const COLORREF accent = ColorRef(ColorAccent);
    const int bandFoot = static_cast<int>(at.band) - 10;
    const int headingMiddle = static_cast<int>(at.band + 10 + at.heading / 2);
    const auto wheel = [&](WORD keys) {
        PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(100, 100));
    };
    // Each step shows in the picture once the view has taken it and painted.
    const auto shows = [&](const std::function<bool(const ClientPicture&)>& check) {
        return Harness::WaitUntil([&] { return check(ClientPicture(window)); }, 5s);
    };

    EXPECT_TRUE(shows([&](const ClientPicture& picture) { return picture.At(5, bandFoot) == accent; }));
    wheel(0);
    // One line is 30 units: the band's foot rises by 30 pixels.
    const int bandBottom = static_cast<int>(at.band);
    EXPECT_TRUE(shows([&](const ClientPicture& picture) {
        return picture.At(5, bandBottom - 32) == accent && picture.At(5, bandBottom - 28) == background;
    })) << "one line (30 pixels) down";

    SetWindowPos(window, nullptr, 0, 0, 430, 330, SWP_NOMOVE | SWP_NOZORDER);
    int headingInk = -1;
    EXPECT_TRUE(shows([&](const ClientPicture& picture) {
        headingInk = picture.FirstInk(40, headingMiddle, background);
        return picture.At(5, bandFoot) == accent;
    })) << "back at the top";
    // Ink found from x = 40 is 30 pixels further left after the scroll, however near the left edge
    // the heading starts.
    ASSERT_GE(headingInk, 40);

    // With Ctrl the wheel scrolls sideways, whatever the vertical range.
    wheel(MK_CONTROL);
    int scrolledInk = -1;
    EXPECT_TRUE(shows([&](const ClientPicture& picture) {
        scrolledInk = picture.FirstInk(10, headingMiddle, background);
        return scrolledInk == headingInk - 30;
    })) << scrolledInk;

    // The bars' ends: the left end and the bottom leave the band out of sight, the top brings it
    // back.
    PostMessageW(window, WM_HSCROLL, SB_TOP, 0);
    PostMessageW(window, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_TRUE(shows([&](const ClientPicture& picture) { return picture.At(2, 2) == background; })) << "at the bottom";
    PostMessageW(window, WM_VSCROLL, SB_TOP, 0);
    EXPECT_TRUE(shows([&](const ClientPicture& picture) { return picture.At(2, 2) == accent; })) << "at the top";
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdaySettingsView, ClickThatMissesTheHotAreaChangesNothing)
{
    std::unique_ptr<Harness::Program> lumday;
    const HWND window = OpenedSettings(lumday);
    ASSERT_NE(window, nullptr);
    const POINT mondayWeek = at.MondayWeek();
    // The pointer was last over Monday week, but the button goes down on the empty page between the
    // columns.
    Harness::MoveMouse(window, mondayWeek.x, mondayWeek.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(410, mondayWeek.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(410, mondayWeek.y));
    ClickAt(window, at.Back());
    ASSERT_TRUE(TitleBecomes(window, MonthTitle()));
    EXPECT_EQ(ReadSettings(profile).find(L"mondayWeek=\"true\""), std::wstring::npos);
    EXPECT_EQ(lumday->Close(), 0u);
}

TEST_F(LumdaySettingsView, NotebookFilterChoosesNotebooksAndFollowsThemByPathAcrossAReload)
{
    const std::wstring home = StoreNotebook(1, L"Home", L"C:\\Notes\\Home");
    const std::wstring work = StoreNotebook(2, L"Work", L"C:\\Notes\\Work");
    const std::wstring trips = StoreNotebook(3, L"Trips", L"C:\\Notes\\Trips");
    standIn.SetScenario("store " + std::filesystem::path(WriteStoreFile(L"three", home + work + trips)).string() + "\n");
    std::unique_ptr<Harness::Program> lumday;
    const HWND window = OpenedSettings(lumday);
    ASSERT_NE(window, nullptr);

    // With every notebook shown the rows take no clicks. They take them once the view has been
    // painted with the choice of selected notebooks (written in the accent colour), as a click is
    // read against the places of the last paint.
    ClickAt(window, at.Notebook(0, 3));
    ClickAt(window, at.SelectedNotebooks());
    const POINT selected = at.SelectedNotebooks();
    EXPECT_TRUE(Harness::WaitUntil([&] {
        const ClientPicture picture(window);
        for (int y = selected.y - 4; y <= selected.y + 4; ++y)
            for (int x = selected.x; x < selected.x + 120; ++x)
                if (picture.At(x, y) == ColorRef(ColorAccent))
                    return true;
        return false;
    })) << "Selected Notebooks chosen";
    ClickAt(window, at.Notebook(0, 3));
    ClickAt(window, at.Notebook(2, 3));
    Harness::SaveWindow(window, L"Settings-SelectedNotebooks");
    ClickAt(window, at.Back());
    ASSERT_TRUE(TitleBecomes(window, MonthTitle()));
    std::wstring saved = ReadSettings(profile);
    EXPECT_NE(saved.find(L"all=\"false\""), std::wstring::npos);
    EXPECT_NE(saved.find(L">C:\\Notes\\Home<"), std::wstring::npos) << "the first column's first notebook";
    EXPECT_NE(saved.find(L">C:\\Notes\\Trips<"), std::wstring::npos) << "the second column's";
    EXPECT_EQ(saved.find(L">C:\\Notes\\Work<"), std::wstring::npos);

    // A notebook opened in front of the others moves them down one place; F5 reloads.
    const std::wstring fresh = StoreNotebook(4, L"Fresh", L"C:\\Notes\\Fresh");
    standIn.SetScenario("store " +
                        std::filesystem::path(WriteStoreFile(L"four", fresh + home + work + trips)).string() + "\n");
    Harness::PressKey(window, VK_F5);
    ASSERT_TRUE(OpenSettings(window));
    // The reload has ended once the view lists the fourth notebook (in the second column's second
    // row, empty before).
    ASSERT_TRUE(DrawnAround(window, at.Notebook(3, 4), 4, 20s)) << "the reload never listed Fresh";
    Harness::SaveWindow(window, L"Settings-AfterReload");
    // Toggling Fresh on and off again leaves the choice as the reload kept it.
    ClickAt(window, at.Notebook(0, 4));
    ClickAt(window, at.Notebook(0, 4));
    ClickAt(window, at.AllNotebooks());
    ClickAt(window, at.Back());
    ASSERT_TRUE(TitleBecomes(window, MonthTitle()));
    saved = ReadSettings(profile);
    EXPECT_EQ(saved.find(L"all=\"false\""), std::wstring::npos) << "all notebooks, the default";
    EXPECT_NE(saved.find(L">C:\\Notes\\Home<"), std::wstring::npos) << "kept while all are shown";
    EXPECT_NE(saved.find(L">C:\\Notes\\Trips<"), std::wstring::npos);
    EXPECT_EQ(saved.find(L">C:\\Notes\\Work<"), std::wstring::npos);
    EXPECT_EQ(saved.find(L">C:\\Notes\\Fresh<"), std::wstring::npos);
    EXPECT_EQ(lumday->Close(), 0u);
}
// A notebook closed for one load keeps its place in the filter: the file keeps it meanwhile, and
// it is shown again once it is open again, while the notebook the filter hides stays out of sight.
TEST_F(LumdaySettingsView, NotebookClosedForALoadIsKeptByTheFilterAndShownAgainWhenItReturns)
{
    const std::wstring home = StoreNotebook(1, L"Home", L"C:\\Notes\\Home");
    const std::wstring work = StoreNotebook(2, L"Work", L"C:\\Notes\\Work");
    const std::wstring trips = StoreNotebook(3, L"Trips", L"C:\\Notes\\Trips");
    standIn.SetScenario("store " + std::filesystem::path(WriteStoreFile(L"closed", home + work)).string() + "\n");
    WriteSettings(profile, L"<Lumday><Settings language=\"en\" viewType=\"2\"><Notebooks all=\"false\">"
                           L"<Notebook>C:\\Notes\\Home</Notebook><Notebook>C:\\Notes\\Trips</Notebook></Notebooks>"
                           L"</Settings><Window x=\"0\" y=\"0\" width=\"1000\" height=\"800\"/></Lumday>");
    auto lumday = Start(profile, standIn);
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);

    // Today's day view: its page lines, black on the page, one line height apart below the top.
    PaintHere(Harness::ClientSize(window), L"en", 2);
    const Gdiplus::RectF cell = GetCalendarViewState().cells[0];
    const int line = std::max(static_cast<int>(std::ceil(GetLineHeight(FontPage))), 1);
    const auto shownLines = [&] {
        const ClientPicture picture(window);
        int lines = 0;
        for (int top = static_cast<int>(cell.Y) + 2 + line; top + line < static_cast<int>(cell.Y + cell.Height);
             top += line)
        {
            bool ink = false;
            for (int y = top; y < top + line && !ink; ++y)
                for (int x = static_cast<int>(cell.X) + 4; x < static_cast<int>(cell.X) + 150 && !ink; ++x)
                {
                    const COLORREF pixel = picture.At(x, y);
                    ink = GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 0x60;
                }
            lines += ink;
        }
        return lines;
    };
    EXPECT_TRUE(Harness::WaitUntil([&] { return shownLines() == 1; }, 20s)) << "Home alone: " << shownLines();

    ASSERT_TRUE(OpenSettings(window));
    ClickAt(window, at.Back());
    ASSERT_TRUE(TitleBecomes(window, FormatPeriodTitle(0)));
    const std::wstring saved = ReadSettings(profile);
    EXPECT_NE(saved.find(L">C:\\Notes\\Home<"), std::wstring::npos);
    EXPECT_NE(saved.find(L">C:\\Notes\\Trips<"), std::wstring::npos) << "kept while Trips is closed";
    EXPECT_EQ(saved.find(L">C:\\Notes\\Work<"), std::wstring::npos);

    standIn.SetScenario("store " + std::filesystem::path(WriteStoreFile(L"reopened", home + work + trips)).string() +
                        "\n");
    Harness::PressKey(window, VK_F5);
    EXPECT_TRUE(Harness::WaitUntil([&] { return shownLines() == 2; }, 20s)) << "Home and Trips: " << shownLines();
    Harness::SaveWindow(window, L"Calendar-Filtered");
    EXPECT_EQ(lumday->Close(), 0u);
}
// A page changed on another day than the one it was made on shows on both days, on the day it was
// made alone once "Last Modified Date" is off, and on the day it was changed alone once "Created
// Date" is off.
TEST_F(LumdaySettingsView, APageChangedOnAnotherDayShowsOnTheDaysTheOptionsChoose)
{
    const tm& now = DateTime().local;
    const int year = now.tm_year + 1900;
    const int month = now.tm_mon + 1;
    const DateTime created(year, month, 10, 10);
    const DateTime modified(year, month, 20, 10);
    standIn.SetScenario(
        "store " +
        std::filesystem::path(
            WriteStoreFile(
                L"changed",
                L"<one:Notebook ID=\"{44444444-0000-0000-0000-000000000020}{1}{B0}\" name=\"Home\" path=\"C:\\Notes\\Home\">"
                L"<one:Section ID=\"{55555555-0000-0000-0000-000000000020}{1}{B0}\" name=\"S\" path=\"C:\\Notes\\Home\\S.one\">"
                L"<one:Page ID=\"{66666666-0000-0000-0000-000000000020}{1}{E1}\" name=\"Changed later\" dateTime=\"" +
                    FormatDateTime(created, false) + L"\" lastModifiedTime=\"" + FormatDateTime(modified, false) +
                    L"\"/></one:Section></one:Notebook>"))
            .string() +
        "\n");
    auto lumday = StartInEnglish();
    const HWND window = MainWindowOf(*lumday);
    ASSERT_NE(window, nullptr);

    // Where the month view draws the first line of the 10th's and of the 20th's cell.
    {
        const std::lock_guard guard(GetDayMapLock());
        GetDayMap().clear();
    }
    auto page = std::make_shared<ON::Page>();
    page->hierarchy.ID = L"{changed}";
    page->hierarchy.name = L"Changed later";
    page->dateTime = created.ToUtcSystemTime();
    page->hierarchy.lastModifiedTime = modified.ToUtcSystemTime();
    FilePageEntries(GetDayMap(), GetDayMapLock(), CalendarEntry{page, L"Home > S", 0, false});
    GetCalendarSettings().showPagesOnCreatedDate = GetCalendarSettings().showPagesOnLMT = true;
    GetCalendarSettings().allNotebooks = true;
    PaintHere(Harness::ClientSize(window), L"en", 0);
    std::vector<Gdiplus::RectF> lines;
    for (const HitArea& area : GetHitAreas())
        if (area.kind == HitPage)
            lines.push_back(area.rect);
    ASSERT_EQ(lines.size(), 2u) << "the 10th's line, then the 20th's";
    const auto shown = [&](const Gdiplus::RectF& line) {
        const ClientPicture picture(window);
        int ink = 0;
        for (int y = static_cast<int>(line.Y); y < static_cast<int>(line.Y + line.Height); ++y)
            for (int x = static_cast<int>(line.X); x < static_cast<int>(line.X + line.Width); ++x)
            {
                const COLORREF pixel = picture.At(x, y);
                ink += GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 0x60;
            }
        return ink >= 5;
    };
    const auto showsOn = [&](bool createdDay, bool modifiedDay) {
        return Harness::WaitUntil([&] { return shown(lines[0]) == createdDay && shown(lines[1]) == modifiedDay; }, 10s);
    };
    EXPECT_TRUE(showsOn(true, true)) << "both days";
    Harness::SaveWindow(window, L"Calendar-ChangedOnBothDays");

    ASSERT_TRUE(OpenSettings(window));
    ClickAt(window, at.LastModifiedDate());
    ClickAt(window, at.Back());
    ASSERT_TRUE(TitleBecomes(window, MonthTitle()));
    EXPECT_TRUE(showsOn(true, false)) << "the day it was made";
    Harness::SaveWindow(window, L"Calendar-ChangedOnCreatedDay");

    ASSERT_TRUE(OpenSettings(window));
    ClickAt(window, at.LastModifiedDate());
    ClickAt(window, at.CreatedDate());
    ClickAt(window, at.Back());
    ASSERT_TRUE(TitleBecomes(window, MonthTitle()));
    EXPECT_TRUE(showsOn(false, true)) << "the day it was changed";
    Harness::SaveWindow(window, L"Calendar-ChangedOnModifiedDay");
    EXPECT_EQ(lumday->Close(), 0u);
    const std::lock_guard guard(GetDayMapLock());
    GetDayMap().clear();
}

// A load that ends while the settings view shows may list the notebooks in another order before
// the view paints again: a click on a notebook's box changes the notebook that box was drawn for.
TEST_F(LumdaySettingsView, ANotebookBoxChangesItsOwnNotebookAfterARefreshReorderedTheList)
{
    const auto listOf = [](const std::wstring& notebooks) {
        auto parsed = std::make_shared<ON::Notebooks>();
        ParseElement(*parsed,
                     L"<one:Notebooks xmlns:one=\"http://schemas.microsoft.com/office/onenote/2010/onenote\">" +
                         notebooks + L"</one:Notebooks>");
        return std::make_shared<const NotebookList>(parsed);
    };
    const std::wstring home = L"<one:Notebook name=\"Home\" ID=\"{1}\" path=\"C:\\Home\"/>";
    const std::wstring work = L"<one:Notebook name=\"Work\" ID=\"{2}\" path=\"C:\\Work\"/>";
    const std::wstring trips = L"<one:Notebook name=\"Trips\" ID=\"{3}\" path=\"C:\\Trips\"/>";
    LoadLanguageStrings(L"en");
    ResetNotebookLists();
    StoredNotebookPaths().clear();
    CalendarSettings& settings = GetCalendarSettings();
    settings.allNotebooks = false;
    settings.notebookSelection.clear();
    PublishNotebookList(listOf(home + work + trips));
    GetSettingsView().OnPaint();
    const auto box = std::find_if(GetHitAreas().begin(), GetHitAreas().end(), [](const HitArea& area) {
        return area.kind == HitNotebook && area.item == 0;
    });
    ASSERT_NE(box, GetHitAreas().end());
    const short x = static_cast<short>(box->rect.X + box->rect.Width / 2);
    const short y = static_cast<short>(box->rect.Y + box->rect.Height / 2);
    ASSERT_TRUE(HitTest(x, y));

    PublishNotebookList(listOf(trips + work + home));
    bool handled = false;
    GetSettingsView().OnClick(x, y, handled);
    std::wstring shown;
    const auto list = GetNotebookList();
    for (size_t position = 0; position < list->Count(); ++position)
        if (IsNotebookShown(static_cast<std::int32_t>(position)))
            shown += list->Notebooks().notebooks[position]->hierarchy.name.value_or(L"?") + L";";
    EXPECT_EQ(shown, L"Home;");
    ResetNotebookLists();
    settings.notebookSelection.clear();
}
// The program's message boxes that show a text, once one does; none when none does within the time.
std::vector<HWND> MessageBoxesOf(const Harness::Program& program, std::chrono::milliseconds timeout = 0ms)
{
    return program.TopLevelWindowsOnceAny(
        [](HWND window) {
            return Harness::ClassOf(window) == L"#32770" && GetDlgItem(window, 0xFFFF) &&
                   !Harness::TextOf(GetDlgItem(window, 0xFFFF)).empty();
        },
        timeout);
}

// What the settings of a session come to when another program holds the file as they are saved:
// at Back and at the close, let go 1.5 s after the save began (the save waits and lands), or held
// for good (the file stays as it was, and one box says so; at a log-off, where no box can be shown,
// the log alone).
TEST_F(LumdaySettingsView, ChangesSavedWhileAnotherProgramHoldsTheFileLandOnceLetGoAndAreToldOnceWhenItIsNot)
{
    const std::filesystem::path file = profile.RoamingAppData() / L"lumday.xml";
    const std::wstring held = file.wstring() + L" because another program holds it";
    std::unique_ptr<Harness::Program> lumday;
    HWND window = OpenedSettings(lumday);
    ASSERT_NE(window, nullptr);

    {
        SCOPED_TRACE("Back, the file let go 1.5 s after, with read sharing");
        ClickAt(window, at.MondayWeek());
        Harness::HeldFile holder(file, Harness::HeldFile::Sharing::Read, 1500ms);
        ClickAt(window, at.Back());
        holder.LetGo();
        EXPECT_TRUE(TitleBecomes(window, MonthTitle(), 20s));
        EXPECT_TRUE(holder.WaitUntilLetGo());
        EXPECT_TRUE(MessageBoxesOf(*lumday).empty());
        EXPECT_NE(ReadSettings(profile).find(L"mondayWeek=\"true\""), std::wstring::npos) << "the change was lost";
    }
    {
        SCOPED_TRACE("Back, the file held for good without sharing");
        ASSERT_TRUE(OpenSettings(window));
        const std::wstring before = ReadSettings(profile);
        ClickAt(window, at.ShowPreviews());
        std::optional<Harness::HeldFile> holder(std::in_place, file, Harness::HeldFile::Sharing::None);
        ClickAt(window, at.Back());
        const std::vector<HWND> boxes = MessageBoxesOf(*lumday, 20s);
        EXPECT_EQ(boxes.size(), 1u) << "nothing said that the settings were not saved";
        if (!boxes.empty())
        {
            EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), window);
            const std::wstring text = Harness::TextOf(GetDlgItem(boxes[0], 0xFFFF));
            EXPECT_NE(text.find(L"could not be saved to " + held), std::wstring::npos) << WideToUtf8(text);
            Harness::SaveWindow(boxes[0], L"settings-not-saved-at-back");
            PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(Harness::WaitUntil([&] { return MessageBoxesOf(*lumday).empty(); }));
        }
        EXPECT_TRUE(TitleBecomes(window, MonthTitle()));
        holder.reset();
        EXPECT_EQ(ReadSettings(profile), before);
    }
    {
        SCOPED_TRACE("the close, the file let go 1.5 s after, with read sharing");
        SetWindowPos(window, nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Harness::HeldFile holder(file, Harness::HeldFile::Sharing::Read, 1500ms);
        PostMessageW(window, WM_CLOSE, 0, 0);
        holder.LetGo();
        EXPECT_EQ(lumday->WaitForExit(20s), std::optional<DWORD>(0)) << "a box, or no end";
        EXPECT_NE(ReadSettings(profile).find(L"x=\"70\""), std::wstring::npos) << "the change was lost";
    }
    {
        SCOPED_TRACE("the close, the file held for good with read sharing");
        lumday = Start(profile, standIn);
        window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        const std::wstring before = ReadSettings(profile);
        SetWindowPos(window, nullptr, 90, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const Harness::HeldFile holder(file, Harness::HeldFile::Sharing::Read);
        PostMessageW(window, WM_CLOSE, 0, 0);
        const std::vector<HWND> boxes = MessageBoxesOf(*lumday, 20s);
        EXPECT_EQ(boxes.size(), 1u) << "nothing said that the settings were not saved";
        if (!boxes.empty())
        {
            const std::wstring text = Harness::TextOf(GetDlgItem(boxes[0], 0xFFFF));
            EXPECT_NE(text.find(L"could not be saved to " + held), std::wstring::npos) << WideToUtf8(text);
            Harness::SaveWindow(boxes[0], L"settings-not-saved-at-the-close");
            PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
        }
        EXPECT_EQ(lumday->WaitForExit(), std::optional<DWORD>(0));
        EXPECT_EQ(ReadSettings(profile), before);
    }
    {
        SCOPED_TRACE("a log-off, the file held for good with read sharing");
        lumday = Start(profile, standIn);
        window = MainWindowOf(*lumday);
        ASSERT_NE(window, nullptr);
        const std::wstring before = ReadSettings(profile);
        SetWindowPos(window, nullptr, 110, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        const Harness::HeldFile holder(file, Harness::HeldFile::Sharing::Read);
        DWORD_PTR answer = 0;
        ASSERT_NE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000,
                                      &answer),
                  0);
        const auto started = std::chrono::steady_clock::now();
        EXPECT_NE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 30000, &answer),
                  0)
            << "the end of the session waited for a box";
        // Windows tells the user that a program holds the sign-out up after about five seconds.
        const auto taken = std::chrono::steady_clock::now() - started;
        EXPECT_LT(taken, 3000ms) << "the end of the session took " << std::chrono::duration<double>(taken).count()
                                 << " s";
        EXPECT_TRUE(MessageBoxesOf(*lumday).empty());
        const Owners::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, lumday->ProcessId()));
        ASSERT_TRUE(process);
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 10000);
        EXPECT_EQ(ReadSettings(profile), before);
        EXPECT_NE(Harness::ReadLogFile(profile.Temp() / L"Lumday.log").find(L"ERROR: The settings file " + file.wstring() +
                                                                             L" could not be replaced"),
                  std::wstring::npos);
    }
}

// A file made read-only for as long as it lives, and writable again after, so that its test can
// remove it on every path.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(std::filesystem::path file) : file_(std::move(file))
    {
        EXPECT_TRUE(SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    ~ReadOnlyFile() { SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_NORMAL); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

private:
    std::filesystem::path file_;
};

// A save that does not land for another reason than a held file is told too, once a save, in the
// user's language, naming the file and why: a read-only file at Back and at the close (in German),
// and a roaming folder gone since the start at the close (in English). What was on the disk stays.
TEST_F(LumdaySettingsView, ChangesThatCannotBeSavedForAnyReasonAreToldOnceInTheUsersLanguage)
{
    const std::filesystem::path file = profile.RoamingAppData() / L"lumday.xml";
    const std::wstring window = L"<Window x=\"0\" y=\"0\" width=\"1000\" height=\"800\"/>";
    // The one box of the program, its text checked and the box answered.
    const auto toldOnce = [](const Harness::Program& lumday, HWND owner, const std::vector<std::wstring>& expected,
                             const wchar_t* picture) {
        const std::vector<HWND> boxes = MessageBoxesOf(lumday, 20s);
        ASSERT_EQ(boxes.size(), 1u) << "nothing said that the settings were not saved";
        EXPECT_EQ(GetWindow(boxes[0], GW_OWNER), owner);
        const std::wstring text = Harness::TextOf(GetDlgItem(boxes[0], 0xFFFF));
        for (const std::wstring& part : expected)
            EXPECT_NE(text.find(part), std::wstring::npos) << WideToUtf8(part) << " in\n" << WideToUtf8(text);
        Harness::SaveWindow(boxes[0], picture);
        PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(Harness::WaitUntil([&] { return MessageBoxesOf(lumday).empty(); }));
    };
    {
        SCOPED_TRACE("a read-only file, in German");
        WriteSettings(profile, L"<Lumday><Settings language=\"de\"/>" + window + L"</Lumday>");
        const std::wstring before = ReadSettings(profile);
        const ReadOnlyFile readOnly(file);
        auto lumday = Start(profile, standIn);
        const HWND main = MainWindowOf(*lumday);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(OpenSettings(main, SettingsTitle(L"de")));
        ClickAt(main, at.Back());
        const std::vector<std::wstring> notSaved = {L"Die Einstellungen konnten nicht in " + file.wstring() +
                                                        L" gespeichert werden: ",
                                                    L"\r\n\r\nDie Datei blieb unverändert."};
        toldOnce(*lumday, main, notSaved, L"settings-not-saved-read-only");
        PostMessageW(main, WM_CLOSE, 0, 0);
        toldOnce(*lumday, nullptr, notSaved, L"settings-not-saved-read-only-at-the-close");
        EXPECT_EQ(lumday->WaitForExit(20s), std::optional<DWORD>(0)) << "a second box, or no end";
        EXPECT_EQ(ReadSettings(profile), before);
    }
    {
        SCOPED_TRACE("the roaming folder gone since the start, in English");
        auto lumday = StartInEnglish();
        const HWND main = MainWindowOf(*lumday);
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(TitleBecomes(main, MonthTitle()));
        std::error_code error;
        std::filesystem::remove_all(profile.RoamingAppData(), error);
        ASSERT_FALSE(std::filesystem::exists(profile.RoamingAppData())) << error.message();
        PostMessageW(main, WM_CLOSE, 0, 0);
        toldOnce(*lumday, nullptr, {L"The settings could not be saved to " + file.wstring() + L": "},
                 L"settings-not-saved-folder-gone");
        EXPECT_EQ(lumday->WaitForExit(20s), std::optional<DWORD>(0)) << "a second box, or no end";
        EXPECT_FALSE(std::filesystem::exists(profile.RoamingAppData()));
        std::filesystem::create_directories(profile.RoamingAppData());
    }
}
} // namespace
