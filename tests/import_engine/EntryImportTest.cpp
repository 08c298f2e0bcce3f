// What one entry becomes on a page in memory, for each import format and file kind.
#include "import_engine/EntryImport.h"

#include "framework/files/Files.h"
#include "import_engine/ImportErrors.h"
#include "import_engine/PageContent.h"
#include "tests/import_engine/EngineTestSupport.h"
#include "tests/support/Screenshot.h"

#include <filesystem>
#include <fstream>

namespace EngineTest
{
namespace
{
namespace fs = std::filesystem;

class EntryImport : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        application_ = Application();
        target_.page = std::make_shared<ON::Page>();
        AddQuickStyleDefs(*target_.page);
    }

    static Config::Entry FileEntry(const std::wstring& suffix, const std::string& bytes = "x")
    {
        const auto path = TestPaths::OutputFile(suffix);
        std::ofstream(path, std::ios::binary) << bytes;
        return {path.wstring(), {}, 0, 0};
    }

    std::wstring Xml() const
    {
        return std::wstring(static_cast<const wchar_t*>(WriteElement(*target_.page, nullptr, false, true, false)));
    }

    TOrError<ImportResult> Import(const Config::Entry& entry, Config::ImportFormat format, int32_t output = 0)
    {
        auto result = ImportEntry(*application_, entry, format, target_, output);
        if (result.HoldsValue())
        {
            target_.position = result.Value().position;
            target_.startPosition = result.Value().startPosition;
            target_.referenceOutline = result.Value().referenceOutline;
        }
        return result;
    }

    ON16::ApplicationPtr application_;
    Target target_;
};

TEST_F(EntryImport, ALinkAloneIsOneHtmlBlockWithoutASpacer)
{
    const auto entry = FileEntry(L".txt");

    ASSERT_TRUE(Import(entry, {false, false, Config::HyperlinkPath}).HoldsValue());

    const auto& block = *target_.referenceOutline->children.at(0);
    ASSERT_EQ(1u, block.children.size());
    EXPECT_TRUE(block.children[0]->htmlBlock);
    EXPECT_NE(std::wstring::npos, Xml().find(L"file:///"));
}

TEST_F(EntryImport, APlainPathWithContentHasASpacerThePathAndTheLines)
{
    const auto entry = FileEntry(L".txt", "one");

    ASSERT_TRUE(Import(entry, {false, true, Config::PlainTextPath}).HoldsValue());

    const std::wstring xml = Xml();
    EXPECT_LT(xml.find(entry.path), xml.find(L">one<"));
    EXPECT_EQ(2u, target_.referenceOutline->children.size());
    EXPECT_EQ(2u, target_.referenceOutline->children[0]->children.size());
}

TEST_F(EntryImport, AFileWithoutContentImporterIsAttachedInstead)
{
    const auto entry = FileEntry(L".json", "{}");

    ASSERT_TRUE(Import(entry, {false, true, Config::NoOriginalPath}).HoldsValue());

    ASSERT_EQ(1u, target_.page->elements.size());
    const auto& attached = target_.page->elements[0]->insertedFile;
    ASSERT_TRUE(attached);
    // OneNote reads the file when the page is saved: it is given a copy taken now, shown by the
    // file's own name.
    ASSERT_TRUE(attached->pathSource);
    EXPECT_NE(entry.path, *attached->pathSource);
    EXPECT_EQ("{}", ReadFileBytes(attached->pathSource->c_str()));
    EXPECT_EQ(std::filesystem::path(entry.path).filename().wstring(), attached->preferredName);
}

TEST_F(EntryImport, AnImageWithAttachmentIsThereTwiceAndOnceWhenUnreadable)
{
    Screenshot::GdiplusSession gdiplus;
    Screenshot::Capture capture{40, 20, std::vector<DWORD>(800, 0)};
    const std::wstring png = Screenshot::Save(capture, L"entry").wstring();

    ASSERT_TRUE(Import({png, {}, 0, 0}, {true, true, Config::NoOriginalPath}).HoldsValue());
    ASSERT_EQ(2u, target_.page->elements.size());
    EXPECT_TRUE(target_.page->elements[0]->insertedFile);
    EXPECT_TRUE(target_.page->elements[1]->image);

    ASSERT_TRUE(Import(FileEntry(L".png", "broken"), {true, true, Config::NoOriginalPath}).HoldsValue());
    ASSERT_EQ(3u, target_.page->elements.size());
    EXPECT_TRUE(target_.page->elements[2]->insertedFile);
}

TEST_F(EntryImport, FoldersGetHeadingsOnlyOnASinglePage)
{
    const fs::path folder = TestPaths::OutputFolder() / L"entry-folder";
    fs::create_directories(folder);
    Config::Entry entry{folder.wstring(), {}, 9, 0};

    ASSERT_TRUE(Import(entry, {false, true, Config::NoOriginalPath}).HoldsValue());
    EXPECT_NE(std::wstring::npos, Xml().find(folder.wstring()));

    const auto separate = Import(entry, {false, true, Config::NoOriginalPath}, Config::InsertEachFileOnASeparatePage);
    ASSERT_TRUE(separate.HoldsValue());
    EXPECT_FALSE(separate.Value().referenceOutline);
    EXPECT_FALSE(separate.Value().position);
}

TEST_F(EntryImport, AFolderThatCouldNotBeListedFails)
{
    const fs::path folder = TestPaths::OutputFolder() / L"entry-unlisted";
    fs::create_directories(folder);

    const auto result = Import({folder.wstring(), {}, 0, ERROR_ACCESS_DENIED}, {true, false, 0});

    ASSERT_TRUE(result.HoldsError());
    EXPECT_NE(std::wstring::npos, GetErrorText(result.Error()).find(folder.wstring()));
}

} // namespace
} // namespace EngineTest
