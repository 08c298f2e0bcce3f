// Lumday's hierarchy loader against the OneNote stand-in serving a generated store, and, in the
// same run, a bare XmlLite read of the very answers the loader was given. The loader's own time is
// its total less the time spent inside OneNote's calls.
//
//   loader_bench.exe [--pages=20000] [--notebooks=50] [--years=5] [--rounds=3] [--store=folder]
// The stand-in must be registered (the build's Wine prefix has it).
#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/UiLanguages.h"
#include "calendar/WorkerFailure.h"
#include "framework/Owners.h"
#include "framework/xml/ElementReader.h"
#include "framework/xml/XmlDocument.h"
#include "standins/onenote/LargeStore.h"

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace
{
double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Every name, attribute and text of every answer fetched, as any reader of them must.
size_t BareRead(const std::vector<_bstr_t>& answers)
{
    size_t characters = 0;
    for (const _bstr_t& answer : answers)
    {
        Xml::NodeReader reader(CreateReader(std::wstring_view(static_cast<const wchar_t*>(answer), answer.length())));
        XmlNodeType type;
        while (reader.Next(type))
        {
            if (type == XmlNodeType_Element)
            {
                characters += reader.LocalName().size();
                reader.ForEachAttribute(
                    [&](std::wstring_view name, std::wstring_view value) { characters += name.size() + value.size(); });
            }
            else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA)
            {
                characters += reader.Value().size();
            }
        }
    }
    return characters;
}

void ShowNothing(const std::wstring& text, const std::wstring&) { std::fwprintf(stderr, L"%ls\n", text.c_str()); }

std::wstring TemporaryFolder(const wchar_t* name)
{
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return std::wstring(buffer) + name;
}
} // namespace

int wmain()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    StandIn::LargeStoreOptions options;
    int rounds = 3;
    std::wstring store;
    for (int i = 1; i < count; ++i)
    {
        const std::wstring argument = arguments[i];
        auto value = [&](const wchar_t* prefix, int& target) {
            if (argument.rfind(prefix, 0) != 0)
                return false;
            target = static_cast<int>(std::wcstol(argument.c_str() + wcslen(prefix), nullptr, 10));
            return true;
        };
        if (argument.rfind(L"--store=", 0) == 0)
            store = argument.substr(8);
        else if (!value(L"--pages=", options.pages) && !value(L"--notebooks=", options.notebooks) &&
                 !value(L"--years=", options.years) && !value(L"--rounds=", rounds))
            std::fwprintf(stderr, L"loader_bench: unknown argument %ls\n", argument.c_str());
    }
    LocalFree(arguments);
    rounds = std::max(1, rounds);
    if (store.empty())
        store = TemporaryFolder(L"loader-bench-store");

    const auto made = std::chrono::steady_clock::now();
    if (!StandIn::WriteLargeStore(store, options))
    {
        std::fwprintf(stderr, L"loader_bench: cannot write the store in %ls\n", store.c_str());
        return 1;
    }
    std::printf("store: %d pages in %d notebooks over %d years, made in %.2f s\n", options.pages, options.notebooks,
                options.years, Seconds(made));
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", store.c_str());
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_SCENARIO", nullptr);
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", (store + L"\\calls.log").c_str());

    const Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
    LoadLanguageStrings(L"en");
    SetFailureMessageBox(&ShowNothing);

    double bestOwn = 1e9, bestBare = 1e9, bestTotal = 0, bestOneNote = 0;
    size_t pages = 0, calls = 0, entries = 0;
    for (int round = 0; round <= rounds; ++round)
    {
        std::vector<_bstr_t> answers;
        LoadStatistics statistics;
        statistics.answers = &answers;
        const HRESULT result = LoadHierarchy(&statistics);
        if (FAILED(result))
        {
            std::fprintf(stderr, "loader_bench: the load failed with 0x%08lX\n", static_cast<unsigned long>(result));
            return 1;
        }
        const auto bare = std::chrono::steady_clock::now();
        BareRead(answers);
        const double bareSeconds = Seconds(bare);
        // The first round also reads the store into the stand-in: it only warms up.
        if (round == 0)
            continue;
        const double own = statistics.totalSeconds - statistics.oneNoteSeconds;
        if (own < bestOwn)
        {
            bestOwn = own;
            bestTotal = statistics.totalSeconds;
            bestOneNote = statistics.oneNoteSeconds;
        }
        bestBare = std::min(bestBare, bareSeconds);
        pages = statistics.pages;
        calls = statistics.calls;
        const std::lock_guard guard(GetDayMapLock());
        entries = 0;
        for (const auto& [day, dayEntries] : GetDayMap())
            entries += dayEntries.size();
    }
    std::printf("loader: %zu pages, %zu entries, %zu OneNote calls; best of %d rounds\n", pages, entries, calls, rounds);
    std::printf("  total %.3f s, inside OneNote %.3f s, own %.3f s\n", bestTotal, bestOneNote, bestOwn);
    std::printf("  bare XmlLite read of the same answers %.3f s; own / bare %.2f\n", bestBare,
                bestBare > 0 ? bestOwn / bestBare : 0.0);
    std::printf("  goal: own under 0.5 s (%s) and under 2x the bare read (%s)\n", bestOwn < 0.5 ? "met" : "missed",
                bestOwn < 2 * bestBare ? "met" : "missed");
    // The stand-in is in this process, as in Lumday's: both must fit a 32-bit address space.
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        std::printf("  memory of the process (Lumday's loader and the stand-in): %.0f MB, at most %.0f MB\n",
                    static_cast<double>(counters.PagefileUsage) / 1048576.0,
                    static_cast<double>(counters.PeakPagefileUsage) / 1048576.0);
    return 0;
}
