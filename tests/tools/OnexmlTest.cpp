// onexml roundtrip: the realistic fixtures come back valid and unchanged by a second round trip,
// in whichever encoding they come, and what is not OneNote XML is refused with a message.
#include "framework/Owners.h"
#include "framework/text/Text.h"
#include "onenote_model/OneNoteModel.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/TestPaths.h"
#include "tests/tools/FixtureFiles.h"
#include "tools/onexml/OneNoteDocument.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

namespace
{
struct Outcome
{
    DWORD exitCode = 0xFFFFFFFF;
    std::string errors;
};

Outcome Onexml(const std::wstring& arguments)
{
    const std::filesystem::path errorFile = TestPaths::OutputFile(L".stderr.txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    Owners::KernelHandle errors(CreateFileW(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    std::wstring commandLine = L"\"" + Fixtures::BuildFile(L"tools/onexml/onexml.exe").wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = errors.get();
    PROCESS_INFORMATION process{};
    Outcome run;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return run;
    Owners::KernelHandle processHandle(process.hProcess);
    Owners::KernelHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    errors.reset();
    run.errors = Fixtures::ReadBytes(errorFile);
    return run;
}

std::wstring Quoted(const std::filesystem::path& path)
{
    return L"\"" + path.wstring() + L"\"";
}

Outcome RoundTrip(const std::filesystem::path& in, const std::filesystem::path& out)
{
    std::filesystem::remove(out);
    return Onexml(L"roundtrip " + Quoted(in) + L" " + Quoted(out));
}

std::filesystem::path WriteInput(const std::wstring& suffix, const std::string& bytes)
{
    const std::filesystem::path file = TestPaths::OutputFile(suffix);
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

std::string Utf16(const std::string& utf8, bool bigEndian)
{
    const std::wstring text = Utf8ToWide(utf8);
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text)
    {
        const char high = static_cast<char>(c >> 8);
        const char low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

class OnexmlFixtures : public testing::TestWithParam<const wchar_t*>
{
};

TEST_P(OnexmlFixtures, RoundTripIsValidAndAFixedPoint)
{
    const std::filesystem::path first = TestPaths::OutputFile(L".1.xml");
    const std::filesystem::path second = TestPaths::OutputFile(L".2.xml");
    const Outcome run = RoundTrip(Fixtures::Path(GetParam()), first);
    ASSERT_EQ(run.exitCode, 0u) << run.errors;
    ASSERT_EQ(RoundTrip(first, second).exitCode, 0u);
    const std::string written = Fixtures::ReadBytes(first);
    EXPECT_TRUE(written.starts_with("<?xml version=\"1.0\" encoding=\"utf-8\"?>")) << written.substr(0, 60);
    EXPECT_EQ(Fixtures::ReadBytes(second), written) << "a second round trip changes nothing";
    if (const auto schema = SchemaCheck::SharedFileOrSkip(L"platform/xsd/onenote-2013.xsd"))
    {
        EXPECT_TRUE(SchemaCheck::IsValidAgainst(first, *schema));
    }
}

// The fixtures' names end in .xml; the test names cannot hold the dot.
std::string FixtureName(const testing::TestParamInfo<const wchar_t*>& info)
{
    std::string name = WideToUtf8(info.param);
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, OnexmlFixtures, testing::Values(L"page.xml", L"hierarchy.xml", L"section-2010.xml"),
                         FixtureName);

TEST(Onexml, Utf16InEitherByteOrderGivesTheSameOutputAsUtf8)
{
    const std::string utf8 = Fixtures::ReadBytes(Fixtures::Path(L"page.xml"));
    ASSERT_FALSE(utf8.empty());
    const std::filesystem::path fromUtf8 = TestPaths::OutputFile(L".utf8.xml");
    ASSERT_EQ(RoundTrip(Fixtures::Path(L"page.xml"), fromUtf8).exitCode, 0u);
    for (bool bigEndian : {false, true})
    {
        const std::filesystem::path out = TestPaths::OutputFile(L".out.xml");
        const Outcome run = RoundTrip(WriteInput(L".utf16.xml", Utf16(utf8, bigEndian)), out);
        ASSERT_EQ(run.exitCode, 0u) << run.errors;
        EXPECT_EQ(Fixtures::ReadBytes(out), Fixtures::ReadBytes(fromUtf8)) << "big endian: " << bigEndian;
    }
    const std::filesystem::path out = TestPaths::OutputFile(L".out.xml");
    ASSERT_EQ(RoundTrip(WriteInput(L".bom.xml", "\xEF\xBB\xBF" + utf8), out).exitCode, 0u);
    EXPECT_EQ(Fixtures::ReadBytes(out), Fixtures::ReadBytes(fromUtf8)) << "UTF-8 with byte order mark";
}

TEST(Onexml, WhatIsNotOneNoteXmlIsRefusedWithAMessageAndNoOutput)
{
    const std::string page = Fixtures::ReadBytes(Fixtures::Path(L"page.xml"));
    struct Case
    {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"plain text", "Site survey"},
        {"page cut off in the middle", page.substr(0, page.size() / 2)},
        {"page cut off after an end tag, which Wine's reader closes by itself",
         page.substr(0, page.find("</one:Title>") + 12)},
        {"two roots", "<one:Page xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\"/><x/>"},
        {"another vocabulary", "<html><body/></html>"},
        {"OneNote's names in no namespace", "<Page name=\"x\"/>"},
        {"a paragraph is not a document",
         "<one:OE xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\"/>"},
        {"bytes that are not UTF-8", "<one:Page name=\"\xC3\x28\"/>"},
        {"UTF-16 with an odd length", "\xFF\xFE<\0a"},
    };
    for (const Case& c : cases)
    {
        const std::filesystem::path out = TestPaths::OutputFile(L".out.xml");
        const Outcome run = RoundTrip(WriteInput(L".in.xml", c.bytes), out);
        EXPECT_EQ(run.exitCode, 1u) << c.what;
        EXPECT_NE(run.errors.find("is not OneNote XML: "), std::string::npos) << c.what << ": " << run.errors;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.what;
    }
    const Outcome missing = RoundTrip(TestPaths::OutputFile(L".missing.xml"), TestPaths::OutputFile(L".out.xml"));
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_NE(missing.errors.find("cannot read"), std::string::npos) << missing.errors;
}

TEST(Onexml, WrongCommandLineShowsTheUsage)
{
    for (const wchar_t* arguments : {L"", L"roundtrip only-one", L"check a b"})
    {
        const Outcome run = Onexml(arguments);
        EXPECT_EQ(run.exitCode, 2u) << WideToUtf8(arguments);
        EXPECT_NE(run.errors.find("usage: onexml roundtrip IN OUT"), std::string::npos) << run.errors;
    }
}

TEST(OnexmlDocuments, FixturePageKeepsEveryPartItHolds)
{
    const auto root =
        OneNoteXml::ReadDocument(OneNoteXml::DecodeFileText(Fixtures::ReadBytes(Fixtures::Path(L"page.xml"))));
    const auto& page = static_cast<const ON::Page&>(*root);
    EXPECT_EQ(page.tagDefs.size(), 3u);
    EXPECT_EQ(page.quickStyleDefs.size(), 4u);
    EXPECT_EQ(page.xpsFiles.size(), 1u);
    ASSERT_TRUE(page.pageSettings && page.pageSettings->ruleLines && page.pageSettings->ruleLines->lines);
    EXPECT_TRUE(page.pageSettings->ruleLines->lines->verticalOrMargin.margin);
    ASSERT_TRUE(page.title);
    ASSERT_EQ(page.elements.size(), 7u);
    ASSERT_TRUE(page.elements[3]->image && page.elements[4]->insertedFile && page.elements[6]->inkDrawing);
    ASSERT_TRUE(page.elements[4]->insertedFile->shown && page.elements[4]->insertedFile->shown->printout);
    EXPECT_EQ(page.elements[6]->inkDrawing->shapeInfo->anchorPoints.size(), 2u);
    const std::string written = OneNoteXml::WriteDocument(page);
    EXPECT_NE(written.find(WideToUtf8(L"approx. 0.5 m\u00B2")), std::string::npos) << "text outside ASCII kept";
}
} // namespace
