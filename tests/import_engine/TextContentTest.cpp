// Text files as lines of code: every encoding a file may come in, tabs and line ends, characters
// that XML cannot hold, and files too large to show.
#include "import_engine/TextContent.h"

#include "import_engine/ImportErrors.h"
#include "import_engine/PageContent.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
std::wstring FileWith(const std::string& bytes, const std::wstring& suffix = L".txt")
{
    const auto path = TestPaths::OutputFile(suffix);
    std::ofstream(path, std::ios::binary) << bytes;
    return path.wstring();
}

std::wstring Read(const std::string& bytes)
{
    const auto text = ReadTextForImport(FileWith(bytes));
    EXPECT_TRUE(text.HoldsValue());
    return text.HoldsValue() ? text.Value() : L"";
}

TEST(TextContent, EveryEncodingGivesTheSameText)
{
    const std::wstring expected = L"h\u00e9 \u20ac";
    EXPECT_EQ(expected, Read("h\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(expected, Read("\xEF\xBB\xBFh\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_EQ(expected, Read(std::string("\xFF\xFEh\0\xE9\0 \0\xAC\x20", 10)));
    EXPECT_EQ(expected, Read(std::string("\xFE\xFF\0h\0\xE9\0 \x20\xAC", 10)));
    EXPECT_EQ(expected, Read(std::string("h\0\xE9\0 \0\xAC\x20", 8)));
}

TEST(TextContent, TinyAndEmptyFilesAreUtf8)
{
    EXPECT_EQ(L"a", Read("a"));
    EXPECT_EQ(L"", Read(""));
    EXPECT_EQ(L"", Read("\xEF\xBB\xBF"));
}

TEST(TextContent, CharactersXmlCannotHoldAreLeftOut)
{
    EXPECT_EQ(L"a\tb\r\nc", Read(std::string("a\tb\x01\r\n\0c\x1F", 9)));
    // A lone surrogate cannot be written; a pair stays.
    EXPECT_EQ(L"x\U0001F600", Read(std::string("\xFF\xFEx\0\x00\xD8\x3D\xD8\x00\xDE", 10)));
}

TEST(TextContent, AFileLargerThanTenMegabytesIsRefusedNamingIt)
{
    const auto path = TestPaths::OutputFile(L".log");
    {
        std::ofstream file(path, std::ios::binary);
        file.seekp(static_cast<std::streamoff>(GreatestTextFileSize));
        file << 'x';
    }

    const auto text = ReadTextForImport(path.wstring());

    ASSERT_TRUE(text.HoldsError());
    EXPECT_NE(std::wstring::npos, GetErrorText(text.Error()).find(L"File: " + path.wstring()));
    std::filesystem::remove(path);
}

TEST(TextContent, TabsBecomeFourSpacesAndEveryLineIsKept)
{
    Target target;
    target.page = std::make_shared<ON::Page>();
    AddQuickStyleDefs(*target.page);

    const auto result = InsertTextContent(FileWith("a\tb\r\n"), target);

    ASSERT_TRUE(result.HoldsValue());
    const auto& outline = result.Value().referenceOutline;
    ASSERT_TRUE(outline);
    ASSERT_EQ(1u, outline->children.size());
    const auto& block = *outline->children[0];
    EXPECT_EQ(2u, block.indent);
    ASSERT_EQ(3u, block.children.size());
    EXPECT_EQ(L"a    b\r", block.children[0]->oe->content.text->front()->t->text);
    EXPECT_EQ(L"", block.children[1]->oe->content.text->front()->t->text);
    EXPECT_EQ(L"", block.children[2]->oe->content.text->front()->t->text);
    EXPECT_EQ(L"", ExpandTabs(L""));
}
} // namespace
