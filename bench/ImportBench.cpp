// Sheafin's import run against the OneNote stand-in: many small text files into one page and into
// a page each. The engine's own time per file is the run's total less the time spent inside
// OneNote's calls; it should not grow with the number of files beyond what the page's own size
// costs. The stand-in's own time per call (the time inside OneNote's calls over the calls its call
// log counts) should not grow with the store either. A floor measured in the same run puts it in proportion to the machine: what any importer
// must do per file, bare (look at the path, read the file, write its link and lines as page XML
// with XmlLite), so that the ratio of the two means the same on a fast and a slow machine.
//
//   import_bench.exe [--sizes=100,1000,5000,10000]
// The stand-in must be registered (the build's Wine prefix has it).
#include "framework/Owners.h"
#include "framework/com/ComError.h"
#include "framework/files/Files.h"
#include "framework/text/Text.h"
#include "framework/xml/XmlDocument.h"
#include "import_engine/ImportEngine.h"
#include "standins/onenote/CallLog.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
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
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", (folder + L"\\calls.log").c_str());
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

constexpr const wchar_t* Namespace = L"http://schemas.microsoft.com/office/onenote/2013/onenote";

// The bare work of one page: an outline holding, per file, its link and its lines.
size_t BareWritePage(const std::vector<std::pair<std::wstring, std::vector<std::wstring>>>& files)
{
    XmlWriterHolder holder = CreateWriter(true, true, true, false);
    IXmlWriter* writer = holder.writer;
    ThrowIfFailed(writer->WriteStartElement(L"one", L"Page", Namespace));
    ThrowIfFailed(writer->WriteStartElement(L"one", L"Outline", Namespace));
    for (const auto& [path, lines] : files)
    {
        ThrowIfFailed(writer->WriteStartElement(L"one", L"OEChildren", Namespace));
        ThrowIfFailed(writer->WriteStartElement(L"one", L"HTMLBlock", Namespace));
        ThrowIfFailed(writer->WriteStartElement(L"one", L"Data", Namespace));
        ThrowIfFailed(writer->WriteCData((L"<a href=\"file:///" + path + L"\">" + path + L"</a>").c_str()));
        ThrowIfFailed(writer->WriteFullEndElement());
        ThrowIfFailed(writer->WriteFullEndElement());
        ThrowIfFailed(writer->WriteFullEndElement());
        ThrowIfFailed(writer->WriteStartElement(L"one", L"OEChildren", Namespace));
        ThrowIfFailed(writer->WriteAttributeString(nullptr, L"indent", nullptr, L"2"));
        for (const auto& line : lines)
        {
            ThrowIfFailed(writer->WriteStartElement(L"one", L"OE", Namespace));
            ThrowIfFailed(writer->WriteElementString(L"one", L"T", Namespace, line.c_str()));
            ThrowIfFailed(writer->WriteFullEndElement());
        }
        ThrowIfFailed(writer->WriteFullEndElement());
    }
    ThrowIfFailed(writer->WriteEndDocument());
    ThrowIfFailed(writer->Flush());
    return StreamToBstr(holder.stream).length();
}

// The floor of a run: each path looked at, each file read and decoded, and the page XML written
// with XmlLite (one page for all files, or a page per file).
double FloorSeconds(const std::vector<std::wstring>& paths, bool onePage)
{
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> files;
    size_t written = 0;
    for (const std::wstring& path : paths)
    {
        if (!PathFileExistsW(path.c_str()) || PathIsDirectoryW(path.c_str()))
            continue;
        files.emplace_back(path, Split(Utf8ToWide(ReadFileBytes(path.c_str())), L'\n'));
        if (!onePage)
        {
            written += BareWritePage(files);
            files.clear();
        }
    }
    if (onePage)
        written += BareWritePage(files);
    return written > 0 ? Seconds(start) : 0;
}

struct Figures
{
    double total = 0;
    double inside = 0;
    double floor = 0;
    size_t calls = 0;
};

// The calls the stand-in answered during the import (its call log, less the one of PrepareStore
// and the lines of lock waits).
size_t CountCalls(const std::wstring& folder)
{
    size_t calls = 0;
    for (const auto& call : StandIn::ReadCallLog(folder + L"\\calls.log"))
        calls += call.method != L"Store.Lock" ? 1 : 0;
    return calls > 0 ? calls - 1 : 0;
}

double StandInPerCall(const Figures& figures)
{
    return figures.calls > 0 ? figures.inside * 1000.0 / static_cast<double>(figures.calls) : 0.0;
}

bool Measure(int files, int32_t outputFormat, Figures& figures)
{
    const std::wstring folder = Temporary(L"import-bench-files");
    fs::remove_all(folder);
    fs::create_directories(folder);
    Config config;
    std::vector<std::wstring> paths;
    for (int i = 0; i < files; ++i)
    {
        const fs::path path = fs::path(folder) / (L"note" + std::to_wstring(i) + L".txt");
        std::ofstream(path, std::ios::binary) << "line one of note " << i << "\r\nline two\r\n";
        config.entries.push_back({path.wstring(), {}, 0, 0});
        paths.push_back(path.wstring());
    }
    const std::wstring store = Temporary(L"import-bench-store");
    config.location = PrepareStore(store, outputFormat == 0);
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
    figures.total = Seconds(start);
    figures.inside = SecondsInsideOneNoteCalls() - insideBefore;
    if (result.HoldsError())
    {
        std::fwprintf(stderr, L"import_bench: %ls\n", GetErrorText(result.Error()).c_str());
        return false;
    }
    figures.calls = CountCalls(store);
    // The best of three, as the floor is short enough for a busy machine to disturb it.
    figures.floor = 1e9;
    for (int round = 0; round < 3; ++round)
        figures.floor = std::min(figures.floor, FloorSeconds(paths, outputFormat == 0));
    const double engine = (figures.total - figures.inside) * 1000.0 / files;
    const double floor = figures.floor * 1000.0 / files;
    std::printf("%-11s %5d files: total %8.2f s, inside OneNote %8.2f s, engine %7.3f ms per file, floor %6.3f ms "
                "per file, engine / floor %6.1f, stand-in %6.3f ms per call (%zu calls)\n",
                outputFormat == 0 ? "one page" : "a page each", files, figures.total, figures.inside, engine, floor,
                floor > 0 ? engine / floor : 0.0, StandInPerCall(figures), figures.calls);
    return true;
}
} // namespace

int wmain()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<int> sizes{100, 1000, 5000, 10000};
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
    const auto start = std::chrono::steady_clock::now();
    for (const int32_t format : {Config::InsertAllFilesIntoASinglePage, Config::InsertEachFileOnASeparatePage})
    {
        std::map<int, double> ratios;
        std::map<int, double> perFile;
        std::map<int, double> perCall;
        for (const int size : sizes)
        {
            Figures figures;
            if (!Measure(size, format, figures))
                return 1;
            perFile[size] = (figures.total - figures.inside) * 1000.0 / size;
            perCall[size] = StandInPerCall(figures);
            ratios[size] = figures.floor > 0 ? (figures.total - figures.inside) / figures.floor : 0;
        }
        // Growth: the per-file figures of the largest size against those of the smallest.
        const auto& [smallest, smallRatio] = *ratios.begin();
        const auto& [largest, largeRatio] = *ratios.rbegin();
        if (ratios.size() > 1)
            std::printf("%-11s growth from %d to %d files: engine per file x%.2f, engine / floor x%.2f, stand-in per "
                        "call x%.2f\n",
                        format == 0 ? "one page" : "a page each", smallest, largest,
                        perFile[smallest] > 0 ? perFile[largest] / perFile[smallest] : 0.0,
                        smallRatio > 0 ? largeRatio / smallRatio : 0.0,
                        perCall[smallest] > 0 ? perCall[largest] / perCall[smallest] : 0.0);
        if (perFile.count(1000))
            std::printf("%-11s goal: under 5 ms per file at 1,000 files (%s)\n", format == 0 ? "one page" : "a page each",
                        perFile[1000] < 5 ? "met" : "missed");
    }
    std::printf("all cases in %.1f s\n", Seconds(start));
    return 0;
}
