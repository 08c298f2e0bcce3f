#include "import_engine/FolderExpansion.h"

#include "import_engine/ImportErrors.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
namespace fs = std::filesystem;

Config::Entry Entry(std::wstring path, std::vector<Config::Entry> children = {})
{
    return {std::move(path), std::move(children), 0, 0};
}

struct Reported
{
    bool empty = false;
    std::wstring text;
    uint32_t done = 0;
    uint32_t total = 0;
};

class FolderExpansion : public testing::Test
{
protected:
    void SetUp() override
    {
        root_ = TestPaths::OutputFolder() / (L"expansion-" + fs::path(testing::UnitTest::GetInstance()->current_test_info()->name()).wstring());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }

    fs::path MakeFolder(const fs::path& relative)
    {
        fs::create_directories(root_ / relative);
        return root_ / relative;
    }

    void MakeFile(const fs::path& relative)
    {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << "x";
    }

    std::wstring PathOf(const fs::path& relative) const { return (root_ / relative).wstring(); }

    ProgressCallback Recorder()
    {
        return [this](std::shared_ptr<Progress> report) {
            reports_.push_back(report ? Reported{false, report->text, report->done, report->total}
                                      : Reported{true, L"", 0, 0});
            return Result{};
        };
    }

    // Expands and flattens the configuration as a run does.
    std::vector<Config::Entry> Flatten(Config& config)
    {
        EXPECT_FALSE(ExpandFolders(config, Recorder()).AsksToStop());
        std::vector<Config::Entry> flat;
        EXPECT_FALSE(EnumerateFiles(config.entries, flat, 0, Recorder()).AsksToStop());
        return flat;
    }

    fs::path root_;
    std::vector<Reported> reports_;
};

std::vector<std::pair<std::wstring, uint32_t>> PathsAndDepths(const std::vector<Config::Entry>& flat)
{
    std::vector<std::pair<std::wstring, uint32_t>> result;
    for (const auto& entry : flat)
    {
        EXPECT_TRUE(entry.entries.empty());
        result.emplace_back(entry.path, entry.depth);
    }
    return result;
}

TEST_F(FolderExpansion, FoldersStandAheadOfTheirFilesAndSubFoldersDepthFirst)
{
    MakeFile(L"A\\b.txt");
    MakeFile(L"A\\Sub\\c.pdf");
    MakeFile(L"A\\a.txt");
    MakeFolder(L"A\\Empty");
    MakeFile(L"top.png");
    Config config;
    config.entries = {Entry(PathOf(L"top.png")), Entry(PathOf(L"A"))};

    const auto flat = Flatten(config);

    using Row = std::pair<std::wstring, uint32_t>;
    EXPECT_EQ((std::vector<Row>{{PathOf(L"top.png"), 0},
                                {PathOf(L"A"), 0},
                                {PathOf(L"A\\a.txt"), 1},
                                {PathOf(L"A\\b.txt"), 1},
                                {PathOf(L"A\\Empty"), 1},
                                {PathOf(L"A\\Sub"), 1},
                                {PathOf(L"A\\Sub\\c.pdf"), 2}}),
              PathsAndDepths(flat));
}

TEST_F(FolderExpansion, ReportsExpansionPerTopFolderAndEnumerationPerEntry)
{
    MakeFile(L"A\\Sub\\c.txt");
    MakeFolder(L"B");
    MakeFile(L"file.txt");
    Config config;
    config.entries = {Entry(PathOf(L"A")), Entry(PathOf(L"file.txt")), Entry(PathOf(L"B"))};

    Flatten(config);

    ASSERT_EQ(8u, reports_.size());
    EXPECT_EQ(L"Expanding folders...", reports_[0].text);
    EXPECT_EQ(0u, reports_[0].done);
    EXPECT_EQ(2u, reports_[0].total);
    EXPECT_TRUE(reports_[1].empty); // before the sub-folder Sub
    EXPECT_EQ(L"Expanding folders...", reports_[2].text);
    EXPECT_EQ(1u, reports_[2].done);
    // A, A\Sub, A\Sub\c.txt, file.txt and B.
    for (uint32_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(L"Enumerating files...", reports_[3 + i].text);
        EXPECT_EQ(i, reports_[3 + i].done);
        EXPECT_EQ(0u, reports_[3 + i].total);
    }
}

TEST_F(FolderExpansion, TrailingBackslashesAreDroppedFromTheFolderAndItsChildren)
{
    MakeFile(L"A\\b.txt");
    Config config;
    config.entries = {Entry(PathOf(L"A") + L"\\\\")};

    const auto flat = Flatten(config);

    ASSERT_EQ(2u, flat.size());
    EXPECT_EQ(PathOf(L"A"), flat[0].path);
    EXPECT_EQ(PathOf(L"A\\b.txt"), flat[1].path);
}

TEST_F(FolderExpansion, AnEmptyFolderStandsAlone)
{
    MakeFolder(L"Empty");
    Config config;
    config.entries = {Entry(PathOf(L"Empty"))};

    const auto flat = Flatten(config);

    ASSERT_EQ(1u, flat.size());
    EXPECT_EQ(0u, flat[0].listingError);
}

TEST_F(FolderExpansion, ChildrenGivenAreKeptAndTheirUnlistedFoldersAreListed)
{
    MakeFile(L"A\\ignored.txt");
    MakeFile(L"A\\Sub\\inner.txt");
    Config config;
    config.entries = {Entry(PathOf(L"A"), {Entry(PathOf(L"A\\Sub"))})};

    const auto flat = Flatten(config);

    using Row = std::pair<std::wstring, uint32_t>;
    EXPECT_EQ((std::vector<Row>{{PathOf(L"A"), 0}, {PathOf(L"A\\Sub"), 1}, {PathOf(L"A\\Sub\\inner.txt"), 2}}),
              PathsAndDepths(flat));
}

TEST_F(FolderExpansion, LinksToFoldersAreListedButNotFollowed)
{
    MakeFile(L"A\\b.txt");
    MakeFolder(L"A\\Loop");
    const std::wstring loop = PathOf(L"A\\Loop");
    // Wine makes no junctions; the listing reports the folder as one, as Windows would.
    FolderLister previous = SetFolderLister([loop](const std::wstring& folder, DWORD* error) {
        auto entries = ListFolder(folder, error);
        for (auto& entry : entries)
            entry.isReparsePoint = folder + L"\\" + entry.name == loop;
        return entries;
    });
    Config config;
    config.entries = {Entry(PathOf(L"A"))};

    const auto flat = Flatten(config);
    SetFolderLister(previous);

    using Row = std::pair<std::wstring, uint32_t>;
    EXPECT_EQ((std::vector<Row>{{PathOf(L"A"), 0}, {PathOf(L"A\\b.txt"), 1}, {loop, 1}}), PathsAndDepths(flat));
}

TEST_F(FolderExpansion, AFolderThatCannotBeListedKeepsItsError)
{
    MakeFolder(L"Locked");
    FolderLister previous = SetFolderLister([](const std::wstring&, DWORD* error) {
        *error = ERROR_ACCESS_DENIED;
        return std::vector<FolderEntry>{};
    });
    Config config;
    config.entries = {Entry(PathOf(L"Locked"))};

    const auto flat = Flatten(config);
    SetFolderLister(previous);

    ASSERT_EQ(1u, flat.size());
    EXPECT_EQ(static_cast<uint32_t>(ERROR_ACCESS_DENIED), flat[0].listingError);
}

TEST_F(FolderExpansion, AStopAnswerEndsExpansionWithItsError)
{
    MakeFile(L"A\\b.txt");
    Config config;
    config.entries = {Entry(PathOf(L"A"))};
    const auto cancelled = MakeImportError(ImportCancelled);

    const Result result = ExpandFolders(config, [&](std::shared_ptr<Progress>) { return Result{cancelled, true}; });

    EXPECT_TRUE(result.AsksToStop());
    EXPECT_EQ(cancelled, result.error);
    EXPECT_TRUE(config.entries[0].entries.empty());
}
} // namespace
