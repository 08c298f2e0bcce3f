// Sheafin's import run against the OneNote stand-in: many small text files into one page and into
// a page each. The engine's own time per file is the run's total less the time spent inside
// OneNote's calls; it should not grow with the number of files beyond what the page's own size
// costs.
//
//   import_bench.exe [--sizes=100,1000,5000]
// The stand-in must be registered (the build's Wine prefix has it).
#include "framework/Owners.h"
#include "framework/text/Text.h"
#include "import_engine/ImportEngine.h"

#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr const wchar_t* StoreXml =
    LR"(<?xml version="1.0"?>
<one:Notebooks xmlns:one="http://schemas.microsoft.com/office/onenote/2013/onenote">
  <one:Notebook name="Bench" nickname="Bench" ID="{B0000000-0000-4000-8000-000000000001}{1}{B0}" path="C:\Bench" lastModifiedTime="2026-01-01T00:00:00.000Z" color="#ADE792">
    <one:Section name="Files" ID="{B0000000-0000-4000-8000-000000000002}{1}{B0}" path="C:\Bench\Files.one" lastModifiedTime="2026-01-01T00:00:00.000Z" color="#8AA8E4">
      <one:Page ID="{B0000000-0000-4000-8000-000000000003}{1}{E1}" name="Target" dateTime="2026-01-01T00:00:00.000Z" lastModifiedTime="2026-01-01T00:00:00.000Z" pageLevel="1">
        <one:Title><one:OE><one:T><![CDATA[Target]]></one:T></one:OE></one:Title>
      </one:Page>
    </one:Section>
  </one:Notebook>
</one:Notebooks>
)";

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::wstring Temporary(const wchar_t* name)
{
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    return std::wstring(buffer) + name;
}

// A fresh store with one page to import into; returns the link to the page or the section.
std::wstring PrepareStore(const std::wstring& folder, bool page)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(fs::path(folder) / L"store.xml", std::ios::binary) << WideToUtf8(StoreXml);
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", folder.c_str());
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_SCENARIO", nullptr);
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", nullptr);
    ON16::ApplicationPtr application;
    if (FAILED(CreateOneNoteApplication(application)))
        return {};
    BSTR link = nullptr;
    const wchar_t* id =
        page ? L"{B0000000-0000-4000-8000-000000000003}{1}{E1}" : L"{B0000000-0000-4000-8000-000000000002}{1}{B0}";
    if (FAILED(application->GetHyperlinkToObject(_bstr_t(id), _bstr_t(L""), &link)))
        return {};
    return std::wstring(static_cast<const wchar_t*>(_bstr_t(link, false)));
}

bool Measure(int files, int32_t outputFormat)
{
    const std::wstring folder = Temporary(L"import-bench-files");
    fs::remove_all(folder);
    fs::create_directories(folder);
    Config config;
    for (int i = 0; i < files; ++i)
    {
        const fs::path path = fs::path(folder) / (L"note" + std::to_wstring(i) + L".txt");
        std::ofstream(path, std::ios::binary) << "line one of note " << i << "\r\nline two\r\n";
        config.entries.push_back({path.wstring(), {}, 0, 0});
    }
    config.location = PrepareStore(Temporary(L"import-bench-store"), outputFormat == 0);
    if (config.location.empty())
    {
        std::fwprintf(stderr, L"import_bench: the OneNote stand-in is not registered\n");
        return false;
    }
    config.outputFormat = outputFormat;
    config.importFormat = {false, true, Config::HyperlinkPath};

    const double insideBefore = SecondsInsideOneNoteCalls();
    const auto start = std::chrono::steady_clock::now();
    const auto result = RunImport(config, [](std::shared_ptr<Progress>) { return Result{}; }, nullptr);
    const double total = Seconds(start);
    const double inside = SecondsInsideOneNoteCalls() - insideBefore;
    if (result.HoldsError())
    {
        std::fwprintf(stderr, L"import_bench: %ls\n", GetErrorText(result.Error()).c_str());
        return false;
    }
    std::printf("%-16s %6d files: total %8.2f s, inside OneNote %8.2f s, engine %7.3f ms per file\n",
                outputFormat == 0 ? "one page" : "a page each", files, total, inside,
                (total - inside) * 1000.0 / files);
    return true;
}
} // namespace

int wmain()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<int> sizes{100, 1000, 5000};
    for (int i = 1; i < count; ++i)
    {
        const std::wstring argument = arguments[i];
        if (argument.rfind(L"--sizes=", 0) == 0)
        {
            sizes.clear();
            for (const auto& size : Split(argument.substr(8), L','))
                sizes.push_back(_wtoi(size.c_str()));
        }
    }
    LocalFree(arguments);
    Owners::ComApartment apartment(COINIT_MULTITHREADED);
    for (const int32_t format : {Config::InsertAllFilesIntoASinglePage, Config::InsertEachFileOnASeparatePage})
        for (const int size : sizes)
            if (!Measure(size, format))
                return 1;
    return 0;
}
