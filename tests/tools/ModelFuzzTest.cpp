// Mutation fuzzing of the document model: the fixtures cut, with pieces duplicated, swapped and
// corrupted, are read into the model and written again, directly and through onexml's document
// reader. Nothing may crash, hang or grow without bound; refusals and COM errors are answers.
//
//   onenote_model_fuzz.exe [--iterations=N] [--seed=N] [--keep-inputs]
// (default: 3000 inputs, seed 20261208; --keep-inputs writes each input to the test output folder)
#include "framework/text/Text.h"
#include "framework/xml/XmlDocument.h"
#include "onenote_model/OneNoteModel.h"
#include "tests/support/TestPaths.h"
#include "tests/tools/FixtureFiles.h"
#include "tools/onexml/OneNoteDocument.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{
unsigned long iterations = 3000;
unsigned long seed = 20261208;
// Each input is written to a file before it is read, so that one that crashes can be looked at.
bool keepInputs = false;

// One mutation of text: a piece cut out, a piece copied elsewhere, two pieces swapped, or
// characters replaced by ones that matter to XML. Pieces often start at a "<", so that whole
// tags and elements move.
class Mutator
{
public:
    explicit Mutator(unsigned long seed) : random_(seed) {}

    std::wstring Mutate(std::wstring text)
    {
        const int rounds = 1 + Below(4);
        for (int round = 0; round < rounds && !text.empty(); ++round)
        {
            switch (Below(5))
            {
            case 0: text.erase(Start(text), Length(text)); break;
            case 1: text.resize(Start(text)); break;
            case 2: {
                const size_t from = Start(text);
                const std::wstring piece = text.substr(from, Length(text));
                text.insert(Start(text), piece);
                break;
            }
            case 3: {
                size_t a = Start(text);
                size_t b = Start(text);
                if (a > b)
                    std::swap(a, b);
                const size_t lengthA = std::min(Length(text), b - a);
                const std::wstring first = text.substr(a, lengthA);
                const std::wstring second = text.substr(b, Length(text));
                text.replace(b, second.size(), first);
                text.replace(a, first.size(), second);
                break;
            }
            default: {
                static const wchar_t noise[] = L"<>/&\"'=;#x0 \t\n\x01\xD800\xFFFF\x00E9{}-:one:OE Tage]]>![CDATA[";
                const int count = 1 + Below(8);
                for (int i = 0; i < count && !text.empty(); ++i)
                    text[Below(static_cast<int>(text.size()))] = noise[Below(static_cast<int>(std::size(noise) - 1))];
                break;
            }
            }
            if (text.size() > 400000)
                text.resize(400000);
        }
        return text;
    }

private:
    int Below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }

    size_t Start(const std::wstring& text)
    {
        size_t at = static_cast<size_t>(Below(static_cast<int>(text.size())));
        if (Below(3) > 0)
        {
            const size_t tag = text.rfind(L'<', at);
            at = tag == std::wstring::npos ? 0 : tag;
        }
        return at;
    }

    size_t Length(const std::wstring&) { return static_cast<size_t>(Below(3) == 0 ? Below(16) : Below(1200)); }

    std::mt19937 random_;
};

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

template <typename Root> void ParseAndWrite(const std::wstring& text)
{
    auto root = std::make_shared<Root>();
    ParseElement(*root, text, [](const ElementLink&) {});
    WriteElement(*root);
}

TEST(ModelFuzz, MutatedFixturesNeitherCrashNorHangNorGrow)
{
    std::vector<std::wstring> originals;
    for (const wchar_t* name : {L"page.xml", L"hierarchy.xml", L"section-2010.xml"})
    {
        originals.push_back(OneNoteXml::DecodeFileText(Fixtures::ReadBytes(Fixtures::Path(name))));
        ASSERT_FALSE(originals.back().empty()) << WideToUtf8(name);
    }

    // A hang is reported by the watchdog with the input that caused it, not only by the time-out.
    std::atomic<unsigned long> current{0};
    std::atomic<ULONGLONG> started{GetTickCount64()};
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        while (!done)
        {
            Sleep(200);
            if (!done && GetTickCount64() - started > 20000)
            {
                std::fprintf(stderr, "input %lu (seed %lu) runs for more than 20 s\n", current.load(), seed);
                std::fflush(stderr);
                ExitProcess(3);
            }
        }
    });

    Mutator mutator(seed);
    const SIZE_T baseline = PrivateBytes();
    SIZE_T peak = baseline;
    unsigned long refused = 0;
    unsigned long comErrors = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (unsigned long i = 0; i < iterations; ++i)
    {
        current = i;
        started = GetTickCount64();
        const size_t which = i % originals.size();
        const std::wstring input = mutator.Mutate(originals[which]);
        if (keepInputs)
            std::ofstream(TestPaths::OutputFile(L".input.xml"), std::ios::binary) << WideToUtf8(input);
        try
        {
            if (which == 0)
                ParseAndWrite<ON::Page>(input);
            else if (which == 1)
                ParseAndWrite<ON::Notebooks>(input);
            else
                ParseAndWrite<ON::Section>(input);
        }
        catch (const _com_error&)
        {
            ++comErrors;
        }
        try
        {
            OneNoteXml::WriteDocument(*OneNoteXml::ReadDocument(input));
        }
        catch (const OneNoteXml::NotOneNoteXml&)
        {
            ++refused;
        }
        catch (const _com_error&)
        {
            ++comErrors;
        }
        peak = std::max(peak, PrivateBytes());
    }
    done = true;
    watchdog.join();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf(
        "%lu inputs (seed %lu) in %.1f s: %lu refused by onexml, %lu COM errors, memory %lu KB -> peak %lu KB\n",
        iterations, seed, seconds, refused, comErrors, static_cast<unsigned long>(baseline / 1024),
        static_cast<unsigned long>(peak / 1024));
    EXPECT_LT(peak - baseline, SIZE_T{256} * 1024 * 1024) << "memory grows with the inputs";
    EXPECT_LT(refused, iterations) << "some mutations are still OneNote documents";
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
    {
        const std::wstring argument = argv[i];
        if (argument.starts_with(L"--iterations="))
            iterations = std::wcstoul(argument.c_str() + 13, nullptr, 10);
        else if (argument == L"--keep-inputs")
            keepInputs = true;
        else if (argument.starts_with(L"--seed="))
            seed = std::wcstoul(argument.c_str() + 7, nullptr, 10);
    }
    return RUN_ALL_TESTS();
}
