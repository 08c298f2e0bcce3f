#include "import_engine/FileKinds.h"

#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
TEST(FileKinds, ClassifiesByExtensionInTheOrderOfTheKinds)
{
    EXPECT_EQ(PdfFileKind, ClassifyFile(L"C:\\nowhere\\report.pdf"));
    EXPECT_EQ(WordFileKind, ClassifyFile(L"C:\\nowhere\\letter.docm"));
    EXPECT_EQ(PowerPointFileKind, ClassifyFile(L"C:\\nowhere\\talk.ppt"));
    EXPECT_EQ(HtmlFileKind, ClassifyFile(L"C:\\nowhere\\page.html5"));
    EXPECT_EQ(TextFileKind, ClassifyFile(L"C:\\nowhere\\data.xml"));
    EXPECT_EQ(TextFileKind, ClassifyFile(L"C:\\nowhere\\table.csv"));
    EXPECT_EQ(TextFileKind, ClassifyFile(L"C:\\nowhere\\q.q&a"));
    EXPECT_EQ(ImageFileKind, ClassifyFile(L"C:\\nowhere\\photo.jfif"));
    EXPECT_EQ(ImageFileKind, ClassifyFile(L"C:\\nowhere\\drawing.wmf"));
}

TEST(FileKinds, FormatsInNoTableAreOtherFiles)
{
    EXPECT_EQ(OtherFileKind, ClassifyFile(L"C:\\nowhere\\settings.json"));
    EXPECT_EQ(OtherFileKind, ClassifyFile(L"C:\\nowhere\\setup.ini"));
    EXPECT_EQ(OtherFileKind, ClassifyFile(L"C:\\nowhere\\archive.zip"));
}

TEST(FileKinds, BinaryFormatsSharingATextExtensionAreNotText)
{
    EXPECT_FALSE(IsTextFile(L"song.mp3"));
    EXPECT_FALSE(IsTextFile(L"disk.vhd"));
    EXPECT_EQ(OtherFileKind, ClassifyFile(L"C:\\nowhere\\song.mp3"));
    EXPECT_TRUE(IsTextFile(L"design.vhdl"));
}

TEST(FileKinds, ExtensionsInCapitalsAreRecognised)
{
    EXPECT_EQ(ImageFileKind, ClassifyFile(L"C:\\nowhere\\PHOTO.JPG"));
    EXPECT_EQ(PdfFileKind, ClassifyFile(L"C:\\nowhere\\REPORT.PDF"));
    EXPECT_EQ(HtmlFileKind, ClassifyFile(L"C:\\nowhere\\INDEX.HTM"));
    EXPECT_TRUE(IsTextFile(L"README.Txt"));
}

TEST(FileKinds, NamesWithoutExtensionAreOtherFiles)
{
    EXPECT_EQ(OtherFileKind, ClassifyFile(L"C:\\nowhere\\Makefile"));
    EXPECT_EQ(OtherFileKind, ClassifyFile(L"C:\\nowhere\\ends.in.dot."));
    EXPECT_EQ(OtherFileKind, ClassifyFile(L"C:\\nowhere\\txt"));
    EXPECT_TRUE(IsTextFile(L"C:\\nowhere\\..txt"));
    EXPECT_FALSE(IsTextFile(L"C:\\folder.txt\\name"));
}

TEST(FileKinds, AFolderIsAFolderWhateverItsName)
{
    const auto folder = TestPaths::OutputFolder() / L"kinds" / L"notes.txt";
    std::filesystem::create_directories(folder);
    EXPECT_EQ(FolderKind, ClassifyFile(folder.wstring().c_str()));
    EXPECT_TRUE(IsTextFile(folder.wstring()));
}
} // namespace
