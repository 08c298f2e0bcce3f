// Lumday's calendar paint over a generated store of the OneNote stand-in: the month, week and day
// around the busiest day drawn into an off-screen buffer, and hit tests over the areas laid down.
//
// The floor is the same run's cost of drawing the texts the paint shows, straight, so that the
// figures compare across machines as a ratio.
//
//   calendar_paint_bench.exe [--pages=20000] [--notebooks=50] [--rounds=50] [--store=folder]
// The stand-in must be registered (the build's Wine prefix has it).
#include "calendar/CalendarPaint.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/DrawingResources.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/LumdayWindow.h"
#include "calendar/UiLanguages.h"
#include "calendar/WorkerFailure.h"
#include "framework/Owners.h"
#include "framework/ui/OffscreenBitmap.h"
#include "standins/onenote/LargeStore.h"

#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace
{
void ShowNothing(const std::wstring& text, const std::wstring&) { std::fwprintf(stderr, L"%ls\n", text.c_str()); }

double Milliseconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}
} // namespace

int wmain()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    StandIn::LargeStoreOptions options;
    int rounds = 50;
    std::wstring store;
    for (int i = 1; i < count; ++i)
    {
        const std::wstring argument = arguments[i];
        if (argument.rfind(L"--store=", 0) == 0)
            store = argument.substr(8);
        else if (argument.rfind(L"--pages=", 0) == 0)
            options.pages = static_cast<int>(std::wcstol(argument.c_str() + 8, nullptr, 10));
        else if (argument.rfind(L"--notebooks=", 0) == 0)
            options.notebooks = static_cast<int>(std::wcstol(argument.c_str() + 12, nullptr, 10));
        else if (argument.rfind(L"--rounds=", 0) == 0)
            rounds = std::max(1, static_cast<int>(std::wcstol(argument.c_str() + 9, nullptr, 10)));
    }
    LocalFree(arguments);
    if (store.empty())
    {
        wchar_t buffer[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, buffer);
        store = std::wstring(buffer) + L"calendar-paint-bench-store";
    }
    if (!StandIn::WriteLargeStore(store, options))
    {
        std::fwprintf(stderr, L"calendar_paint_bench: cannot write the store in %ls\n", store.c_str());
        return 1;
    }
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", store.c_str());
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_SCENARIO", nullptr);
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", nullptr);

    const Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    LoadLanguageStrings(L"en");
    FillDateNameTables();
    SetFailureMessageBox(&ShowNothing);
    if (FAILED(LoadHierarchy()))
    {
        std::fprintf(stderr, "calendar_paint_bench: the load failed\n");
        return 1;
    }
    CreateFonts();
    SetColorScheme(false);
    CalendarSettings& settings = GetCalendarSettings();
    settings.showPagesOnCreatedDate = true;
    settings.showPagesOnLMT = true;
    settings.allNotebooks = true;
    size_t entries = 0, busiest = 0;
    DateTime busiestDay;
    for (const auto& [day, dayEntries] : GetDayMap())
    {
        entries += dayEntries.size();
        if (dayEntries.size() > busiest)
        {
            busiest = dayEntries.size();
            busiestDay = day;
        }
    }
    GetCalendarState().currentDate = busiestDay;
    std::printf("store: %d pages, %zu entries; busiest day %zu entries\n", options.pages, entries, busiest);
    const int width = 1280, height = 900;
    // The buffer the calendar view paints into.
    const auto buffer = UI::OffscreenBitmap::Create(width, height);
    if (!buffer)
        return 1;
    const char* const names[] = {"month", "week", "day"};
    bool monthMet = false;
    for (int view = 0; view < 3; ++view)
    {
        settings.viewType = view;
        // The first paint of a view measures its texts; the next ones (a hover repaints) find them measured.
        double best = 1e9;
        double first = 0;
        for (int round = 0; round <= rounds; ++round)
        {
            Gdiplus::Graphics graphics(buffer->DC());
            const auto start = std::chrono::steady_clock::now();
            PaintCalendar(graphics, width, height);
            if (round > 0)
                best = std::min(best, Milliseconds(start));
            else
                first = Milliseconds(start);
        }
        const size_t areas = GetHitAreas().size();
        // The floor: the same picture's page titles drawn straight by GDI+, with no day map, no
        // filter and no hit areas; what a plain paint of these lines costs in this run.
        std::vector<std::pair<std::wstring, Gdiplus::RectF>> texts;
        for (const HitArea& area : GetHitAreas())
            if (area.kind == HitPage && area.page)
                texts.emplace_back(area.page->hierarchy.name.value_or(L""),
                                   Gdiplus::RectF(area.rect.X, area.rect.Y, area.rect.Width + 100, area.rect.Height));
        Gdiplus::StringFormat format;
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
        double floor = 1e9;
        for (int round = 0; round <= rounds; ++round)
        {
            Gdiplus::Graphics graphics(buffer->DC());
            const auto start = std::chrono::steady_clock::now();
            graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
            graphics.Clear(Gdiplus::Color(GetColor(ColorBackground)));
            for (const auto& [text, box] : texts)
                graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), GetFont(FontPage), box, &format,
                                    GetBrush(ColorText));
            if (round > 0)
                floor = std::min(floor, Milliseconds(start));
        }
        const auto start = std::chrono::steady_clock::now();
        size_t hits = 0;
        for (int y = 0; y < height; y += 8)
            for (int x = 0; x < width; x += 8)
                hits += HitTest(static_cast<float>(x), static_cast<float>(y)) ? 1 : 0;
        const double perTest = Milliseconds(start) / ((width / 8) * (height / 8));
        std::printf("%s: first paint %.2f ms, paint %.2f ms (best of %d), floor %.2f ms for its %zu lines (paint/floor %.2f), %zu hit "
                    "areas, hit test %.4f ms (%zu of %d points hit)\n",
                    names[view], first, best, rounds, floor, texts.size(), best / floor, areas, perTest, hits,
                    (width / 8) * (height / 8));
        if (view == 0)
            monthMet = best < 8;
    }
    std::printf("goal: month under 8 ms (%s)\n", monthMet ? "met" : "missed");
    FreeDrawingResources();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
