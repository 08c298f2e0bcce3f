#include "import_engine/ImportEngine.h"

#include "onenote_model/OneNoteModel.h"

#include <gtest/gtest.h>

#include <variant>

namespace
{
TEST(ImportConfig, DefaultConfigurationImportsNothingIntoAnExistingPage)
{
    const Config config;
    EXPECT_TRUE(config.entries.empty());
    EXPECT_FALSE(config.importFormat.fileAttachment);
    EXPECT_FALSE(config.importFormat.fileContent);
    EXPECT_EQ(config.importFormat.originalPath, Config::NoOriginalPath);
    EXPECT_EQ(config.outputFormat, Config::InsertAllFilesIntoASinglePage);
    EXPECT_FALSE(config.createNew);
    EXPECT_TRUE(config.location.empty());
    EXPECT_EQ(config.printoutScale, 200u);
}

TEST(ImportConfig, OnlyAnAnswerWithARealErrorStopsTheRun)
{
    EXPECT_FALSE(Result{}.AsksToStop());
    EXPECT_FALSE((Result{std::error_code(), true}.AsksToStop()));
    const std::error_code cancelled = MakeImportError(ImportCancelled);
    EXPECT_FALSE((Result{cancelled, false}.AsksToStop()));
    EXPECT_TRUE((Result{cancelled, true}.AsksToStop()));
}

TEST(ImportConfig, ProgressIsStampedWithTheClockInUtcAndLocalTime)
{
    const __time64_t before = _time64(nullptr);
    const auto progress = std::make_shared<Progress>(L"Processing files...", 0, 12);
    const __time64_t after = _time64(nullptr);
    EXPECT_EQ(progress->text, L"Processing files...");
    EXPECT_EQ(progress->done, 0u);
    EXPECT_EQ(progress->total, 12u);
    EXPECT_GE(progress->time, before);
    EXPECT_LE(progress->time, after);
    std::tm local = progress->localTime;
    EXPECT_EQ(_mktime64(&local), progress->time);
}

TEST(ImportConfig, ReadingTheWrongAlternativeThrows)
{
    TOrError<unsigned> count(MakeImportError(ImportCancelled));
    EXPECT_TRUE(count.HoldsError());
    EXPECT_FALSE(count.HoldsValue());
    EXPECT_THROW(count.Value(), std::bad_variant_access);
    EXPECT_TRUE(IsImportError(count.Error(), ImportCancelled));

    const TOrError<unsigned> done(3u);
    EXPECT_TRUE(done.HoldsValue());
    EXPECT_EQ(done.Value(), 3u);
    EXPECT_THROW(done.Error(), std::bad_variant_access);
}

TEST(ImportConfig, MovingAResultIntoAnErrorTakesThePointersAlong)
{
    ImportResult value;
    value.position = std::make_shared<ON::Position>();
    value.startPosition = std::make_shared<ON::Position>();
    value.referenceOutline = std::make_shared<ON::Outline>();
    const auto outline = value.referenceOutline;
    TOrError<ImportResult> source(std::move(value));
    TOrError<ImportResult> target(MakeImportError(FileDoesNotExist));

    target = std::move(source);
    ASSERT_TRUE(target.HoldsValue());
    EXPECT_EQ(target.Value().referenceOutline, outline);
    EXPECT_TRUE(target.Value().position);
    ASSERT_TRUE(source.HoldsValue());
    EXPECT_FALSE(source.Value().position);
    EXPECT_FALSE(source.Value().startPosition);
    EXPECT_FALSE(source.Value().referenceOutline);
}
} // namespace
