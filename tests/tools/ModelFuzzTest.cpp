// Fuzzing of the document model. Most inputs are the fixtures and generated documents with their
// element trees rearranged and their values pushed to the edges, written out well-formed; the rest
// have their text cut and corrupted as bytes. Every input is read through the model's own entry
// (ParseElement, as the programs read OneNote's answers and settings files), written, read again
// and written again, and also handed to onexml. Nothing may crash, hang or grow without bound;
// what the model writes must be well-formed and a fixed point of reading and writing; where a
// sampled input is valid against OneNote's 2013 schema, its output must be too.
//
//   onenote_model_fuzz.exe [--iterations=N] [--seed=N] [--keep-inputs]
// (default: 20000 inputs, seed 20261208; --keep-inputs writes each input to the test output folder)
#include "framework/text/Text.h"
#include "framework/xml/XmlDocument.h"
#include "onenote_model/OneNoteModel.h"
#include "tests/support/ChosenTests.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/TestPaths.h"
#include "tests/tools/ByteMutator.h"
#include "tests/tools/FixtureFiles.h"
#include "tests/tools/GeneratedDocuments.h"
#include "tests/tools/TreeMutator.h"
#include "tests/tools/XmlTree.h"
#include "tools/onexml/OneNoteDocument.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
unsigned long iterations = 20000;
unsigned long seed = 20261208;
// Each input is written to a file before it is read, so that one that crashes can be looked at.
bool keepInputs = false;

// How many inputs of a run have their input and output checked against the schema.
constexpr unsigned long SchemaSamples = 400;
// Failures reported in full; the rest are only counted.
constexpr int ReportedFailures = 5;

enum class RootClass
{
    Page,
    Notebooks,
    Notebook,
    SectionGroup,
    Section,
};

RootClass RootClassOf(std::wstring_view localName)
{
    if (localName == L"Notebooks")
        return RootClass::Notebooks;
    if (localName == L"Notebook")
        return RootClass::Notebook;
    if (localName == L"SectionGroup")
        return RootClass::SectionGroup;
    if (localName == L"Section")
        return RootClass::Section;
    return RootClass::Page;
}

// What one reading and writing through the model gave.
struct Trip
{
    bool rootRead = false;
    std::wstring written;
    std::shared_ptr<ChildElement> root;
};

template <typename Root> Trip ReadAndWrite(const std::wstring& text)
{
    auto root = std::make_shared<Root>();
    ParseElement(*root, text, [](const ElementLink&) {});
    const _bstr_t written = WriteElement(*root);
    const wchar_t* characters = written;
    return {root->read, std::wstring(characters ? characters : L"", written.length()), root};
}

Trip ReadAndWrite(RootClass rootClass, const std::wstring& text)
{
    switch (rootClass)
    {
    case RootClass::Notebooks: return ReadAndWrite<ON::Notebooks>(text);
    case RootClass::Notebook: return ReadAndWrite<ON::Notebook>(text);
    case RootClass::SectionGroup: return ReadAndWrite<ON::SectionGroup>(text);
    case RootClass::Section: return ReadAndWrite<ON::Section>(text);
    case RootClass::Page: break;
    }
    return ReadAndWrite<ON::Page>(text);
}

struct Verdict
{
    // The input was well-formed and the model read its root: the whole document reached it.
    bool reachedWhole = false;
    // Empty when every check held.
    std::string failure;
    std::shared_ptr<ChildElement> root;
};

// The checks that every input must pass. A COM error while the input is read is left to the
// caller (the model may refuse what it is given); one while the model's own output is read back is
// a failed check.
Verdict Check(RootClass rootClass, const std::wstring& input)
{
    Verdict verdict;
    const Trip first = ReadAndWrite(rootClass, input);
    verdict.root = first.root;
    verdict.reachedWhole = first.rootRead && IsWholeDocument(input);
    const DocumentOutline outline = SurveyDocument(first.written);
    if (!outline.whole)
    {
        verdict.failure = "what the model wrote is not well-formed (line " + std::to_string(outline.line) +
                          ", position " + std::to_string(outline.position) + "):\n" + WideToUtf8(first.written);
        return verdict;
    }
    Trip second;
    try
    {
        second = ReadAndWrite(rootClass, first.written);
    }
    catch (const _com_error& error)
    {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(error.Error()));
        const _bstr_t description = error.Description();
        verdict.failure = std::string("reading back what the model wrote raised the COM error ") + code +
                          (description.length() ? " (" + WideToUtf8(static_cast<const wchar_t*>(description)) + ")"
                                                : std::string()) +
                          ":\n" + WideToUtf8(first.written);
        return verdict;
    }
    if (second.written != first.written)
        verdict.failure = "a second reading and writing changed the text:\n" + WideToUtf8(first.written) +
                          "\n--- became ---\n" + WideToUtf8(second.written);
    return verdict;
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// Ends the process with the number of the input that runs too long, rather than leaving it to
// the test's time-out.
class Watchdog
{
public:
    Watchdog()
        : thread_([this] {
              while (!done_)
              {
                  Sleep(200);
                  if (!done_ && GetTickCount64() - started_ > 20000)
                  {
                      std::fprintf(stderr, "input %lu (seed %lu) runs for more than 20 s\n", current_.load(), seed);
                      std::fflush(stderr);
                      ExitProcess(3);
                  }
              }
          })
    {
    }
    ~Watchdog()
    {
        done_ = true;
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Starting(unsigned long input)
    {
        current_ = input;
        started_ = GetTickCount64();
    }

private:
    std::atomic<unsigned long> current_{0};
    std::atomic<ULONGLONG> started_{GetTickCount64()};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

struct Original
{
    RootClass rootClass;
    XmlTree::Node tree;
    std::wstring text;
};

std::vector<Original> Originals()
{
    std::vector<std::wstring> texts;
    for (const wchar_t* name : {L"page.xml", L"hierarchy.xml", L"section-2010.xml"})
        texts.push_back(OneNoteXml::DecodeFileText(Fixtures::ReadBytes(Fixtures::Path(name))));
    std::mt19937 random(seed ^ 0x5EED);
    for (int i = 0; i < 2; ++i)
    {
        texts.push_back(GeneratedDocuments::Page(random));
        texts.push_back(GeneratedDocuments::Hierarchy(random));
    }
    std::vector<Original> originals;
    for (std::wstring& text : texts)
    {
        XmlTree::Node tree = XmlTree::Read(text);
        const RootClass rootClass = RootClassOf(tree.LocalName());
        originals.push_back({rootClass, std::move(tree), std::move(text)});
    }
    return originals;
}

// The inputs and outputs set aside for the schema check, in a folder of their own.
class SchemaSample
{
public:
    SchemaSample() : folder_(TestPaths::OutputFile(L".schema-sample"))
    {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
        std::filesystem::create_directories(folder_);
    }

    void Add(unsigned long input, const std::wstring& text, const ChildElement& root)
    {
        const std::wstring number = std::to_wstring(input);
        std::ofstream(folder_ / (L"in-" + number + L".xml"), std::ios::binary) << WideToUtf8(text);
        std::ofstream(folder_ / (L"out-" + number + L".xml"), std::ios::binary) << OneNoteXml::WriteDocument(root);
        ++count_;
    }

    // Validates every input, then the output of each valid one, each set in one run of xmllint.
    void Verify(const std::filesystem::path& schema) const
    {
        const std::string lint = "xmllint --noout --schema '" + SchemaCheck::UnixPath(schema) + "'";
        const SchemaCheck::HostResult result = SchemaCheck::RunHostShell(
            "cd '" + SchemaCheck::UnixPath(folder_) + "' && valid=$(" + lint +
            " in-*.xml 2>&1 | sed -n 's/^in-\\(.*\\) validates$/out-\\1/p'); echo \"valid inputs: $(echo $valid | wc -w)\"; "
            "[ -z \"$valid\" ] || " + lint + " $valid 2>&1 | grep -v ' validates$' | head -40; true");
        ASSERT_EQ(result.exitCode, 0) << result.output;
        std::istringstream lines(result.output);
        int valid = 0;
        std::string complaints;
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("valid inputs: "))
                valid = std::stoi(line.substr(14));
            else
                complaints += line + "\n";
        std::printf("schema check: %d of %d sampled inputs valid against the 2013 schema\n", valid, count_);
        EXPECT_EQ(complaints, "") << "outputs of valid inputs that are not valid (in " << SchemaCheck::UnixPath(folder_)
                                  << ")";
        EXPECT_GT(valid, 0) << "no sampled input was valid against the schema";
    }

private:
    std::filesystem::path folder_;
    int count_ = 0;
};

// The run is cut into slices of their own seed, which ctest runs side by side.
constexpr int Slices = 4;

class ModelFuzz : public testing::TestWithParam<int>
{
};

TEST_P(ModelFuzz, MutatedDocumentsReachTheModelAndWriteToAFixedPoint)
{
    const int slice = GetParam();
    const std::vector<Original> originals = Originals();
    std::vector<XmlTree::Node> donors;
    for (const Original& original : originals)
    {
        ASSERT_FALSE(original.tree.name.empty());
        donors.push_back(original.tree);
    }

    std::seed_seq seeds{seed, static_cast<unsigned long>(slice)};
    std::mt19937 random(seeds);
    TreeMutator treeMutator(random, donors);
    ByteMutator byteMutator(random);
    SchemaSample schemaSample;
    const unsigned long first = iterations * slice / Slices;
    const unsigned long last = iterations * (slice + 1) / Slices;
    const unsigned long count = last - first;
    const unsigned long sampleEvery = std::max(1ul, count / (SchemaSamples / Slices));

    Watchdog watchdog;
    const SIZE_T baseline = PrivateBytes();
    SIZE_T peak = baseline;
    unsigned long reachedWhole = 0;
    unsigned long corrupted = 0;
    unsigned long refused = 0;
    unsigned long comErrors = 0;
    int failures = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (unsigned long i = first; i < last; ++i)
    {
        watchdog.Starting(i);
        const Original& original = originals[i % originals.size()];
        // Four in five inputs keep their form; of the others, half are rearranged before their
        // bytes are corrupted.
        const int way = std::uniform_int_distribution<int>(0, 9)(random);
        std::wstring input;
        if (way < 8)
            input = XmlTree::Write(treeMutator.Mutate(original.tree));
        else if (way == 8)
            input = byteMutator.Mutate(original.text);
        else
            input = byteMutator.Mutate(XmlTree::Write(treeMutator.Mutate(original.tree)));
        const bool bytesCorrupted = way >= 8;
        corrupted += bytesCorrupted;
        if (keepInputs)
            std::ofstream(TestPaths::OutputFile(L".input.xml"), std::ios::binary) << WideToUtf8(input);

        bool whole = false;
        try
        {
            const Verdict verdict = Check(original.rootClass, input);
            whole = verdict.reachedWhole;
            if (!verdict.failure.empty() && ++failures <= ReportedFailures)
            {
                const auto kept = TestPaths::OutputFile(L".failure-" + std::to_wstring(i) + L".xml");
                std::ofstream(kept, std::ios::binary) << WideToUtf8(input);
                ADD_FAILURE() << "input " << i << " (kept as " << kept.string() << "): " << verdict.failure;
            }
            if (i % sampleEvery == 0 && !bytesCorrupted && whole && original.rootClass != RootClass::Section)
                schemaSample.Add(i, input, *verdict.root);
        }
        catch (const _com_error&)
        {
            ++comErrors;
        }
        reachedWhole += whole;
        // onexml refuses what is not whole; what it takes it must write.
        if (bytesCorrupted)
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

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("inputs %lu to %lu (seed %lu, slice %d) in %.1f s: %lu reached the model whole (%.1f%%); %lu with "
                "corrupted bytes, %lu of them refused by onexml; %lu COM errors reading inputs, %d failed checks; "
                "memory %lu KB -> peak %lu KB\n",
                first, last, seed, slice, seconds, reachedWhole, 100.0 * reachedWhole / std::max(1ul, count),
                corrupted, refused, comErrors, failures, static_cast<unsigned long>(baseline / 1024),
                static_cast<unsigned long>(peak / 1024));
    EXPECT_EQ(failures, 0);
    EXPECT_LT(peak - baseline, SIZE_T{256} * 1024 * 1024) << "memory grows with the inputs";
    EXPECT_GE(reachedWhole * 2, count) << "fewer than half of the inputs reached the model whole";

    SKIP_WITHOUT_SHARED_FILE(schema, L"platform/xsd/onenote-2013.xsd");
    schemaSample.Verify(*schema);
}

INSTANTIATE_TEST_SUITE_P(Slices, ModelFuzz, testing::Range(0, Slices));

// Inputs that once broke a check or the process, kept with the class of their root first in the
// file name ("section-...").
TEST(ModelFuzzKeptInputs, EachReadsAndWritesToAFixedPoint)
{
    const std::filesystem::path folder = Fixtures::Path(L"../../tools/fuzz-inputs");
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        const std::wstring name = entry.path().filename().wstring();
        SCOPED_TRACE(WideToUtf8(name));
        const std::wstring rootName = name.substr(0, name.find(L'-'));
        static const std::pair<const wchar_t*, RootClass> classes[] = {
            {L"page", RootClass::Page},       {L"notebooks", RootClass::Notebooks},
            {L"notebook", RootClass::Notebook}, {L"sectiongroup", RootClass::SectionGroup},
            {L"section", RootClass::Section}};
        const auto known = std::find_if(std::begin(classes), std::end(classes),
                                        [&](const auto& candidate) { return rootName == candidate.first; });
        ASSERT_NE(known, std::end(classes)) << "the file name does not begin with the class of its root";
        const Verdict verdict =
            Check(known->second, OneNoteXml::DecodeFileText(Fixtures::ReadBytes(entry.path())));
        EXPECT_EQ(verdict.failure, "");
        ++kept;
    }
    EXPECT_GT(kept, 0) << "no kept input in " << folder.string();
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
    // A mistyped filter, or a slice left no case, fails as in every other test program.
    return ChosenTests::RunAll();
}
