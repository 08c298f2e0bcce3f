#include "tests/import_engine/PrintoutTestSupport.h"

#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "tests/framework/log/LogReading.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/TestPaths.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace PrintoutTest
{
void PrintoutTest::SetUp()
{
    apartment_ = std::make_unique<Owners::ComApartment>(COINIT_MULTITHREADED);
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = TestPaths::OutputFolder() / (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    logPath_ = TestPaths::OutputFile(L".log").wstring();
    ASSERT_TRUE(OpenLogFile(logPath_));
    previousProvider_ = SetPasswordProvider({});
}

void PrintoutTest::TearDown()
{
    SetAsyncMode(nullptr);
    SetPasswordProvider(std::move(previousProvider_));
    CloseLogFile();
    apartment_.reset();
}

std::wstring PrintoutTest::UniqueName(const std::wstring& suffix) const { return UniqueTestFileName(suffix); }

std::wstring UniqueTestFileName(const std::wstring& suffix)
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return Utf8ToWide(std::string(test->name())) + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(::GetTickCount()) + suffix;
}

std::wstring PrintoutTest::PathIn(const std::wstring& fileName) const { return (folder_ / fileName).wstring(); }

std::wstring PrintoutTest::WritePdf(const std::wstring& fileName, const std::vector<PdfWriter::Page>& pages) const
{
    const std::wstring path = PathIn(fileName);
    EXPECT_TRUE(WriteStringToFile(path.c_str(), PdfWriter::MakePdf(pages)));
    return path;
}

std::wstring EncryptPdf(const std::wstring& pdfPath, const std::string& userPassword)
{
    const std::wstring encrypted = pdfPath.substr(0, pdfPath.size() - 4) + L"-protected.pdf";
    const SchemaCheck::HostResult result =
        SchemaCheck::RunHostShell("qpdf --encrypt '" + userPassword + "' owner-secret 256 -- '" +
                                  SchemaCheck::UnixPath(pdfPath) + "' '" + SchemaCheck::UnixPath(encrypted) + "'");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return encrypted;
}

void PrintoutTest::SetAsyncMode(const wchar_t* mode, const wchar_t* onlyOperation)
{
    ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC", mode);
    ::SetEnvironmentVariableW(L"QUILLORA_WINRT_ASYNC_ONLY", onlyOperation);
}

std::vector<std::wstring> PrintoutTest::LogMessages()
{
    CloseLogFile();
    std::vector<std::wstring> messages;
    for (const auto& line : LogReading::Lines(LogReading::Text(logPath_)))
        messages.push_back(LogReading::Message(line));
    return messages;
}

PdfWriter::Page PageOfDips(double width, double height) { return {width * 72 / 96, height * 72 / 96, {"page"}}; }

namespace
{
void Put32(std::string& bytes, size_t at, uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }
void Put16(std::string& bytes, size_t at, uint16_t value) { std::memcpy(bytes.data() + at, &value, 2); }
} // namespace

std::string CompoundFile(const std::vector<std::pair<std::u16string, std::string>>& streams)
{
    constexpr size_t Sector = 512;
    constexpr size_t MiniSector = 64;
    constexpr uint32_t EndOfChain = 0xFFFFFFFE;
    constexpr uint32_t Free = 0xFFFFFFFF;
    constexpr uint32_t FatSector = 0xFFFFFFFD;
    // Sector 0 the sector table, 1 the directory, 2 the mini sector table, then the mini stream.
    std::string miniStream;
    std::vector<uint32_t> miniFat;
    std::vector<uint32_t> starts;
    for (const auto& [name, content] : streams)
    {
        const size_t sectors = std::max<size_t>(1, (content.size() + MiniSector - 1) / MiniSector);
        starts.push_back(static_cast<uint32_t>(miniFat.size()));
        for (size_t i = 0; i < sectors; ++i)
            miniFat.push_back(i + 1 < sectors ? static_cast<uint32_t>(miniFat.size() + 1) : EndOfChain);
        std::string padded = content;
        padded.resize(sectors * MiniSector, '\0');
        miniStream += padded;
    }
    const size_t miniStreamSectors = std::max<size_t>(1, (miniStream.size() + Sector - 1) / Sector);
    miniStream.resize(miniStreamSectors * Sector, '\0');

    std::string file(Sector * (4 + miniStreamSectors), '\0');
    std::memcpy(file.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    Put16(file, 0x18, 0x3E);
    Put16(file, 0x1A, 3);
    Put16(file, 0x1C, 0xFFFE);
    Put16(file, 0x1E, 9);
    Put16(file, 0x20, 6);
    Put32(file, 0x2C, 1);
    Put32(file, 0x30, 1);
    Put32(file, 0x38, 4096);
    Put32(file, 0x3C, 2);
    Put32(file, 0x40, 1);
    Put32(file, 0x44, EndOfChain);
    for (size_t i = 0; i < 109; ++i)
        Put32(file, 0x4C + 4 * i, i == 0 ? 0 : Free);

    const auto sectorAt = [&](size_t n) { return Sector * (n + 1); };
    for (size_t i = 0; i < Sector / 4; ++i)
    {
        uint32_t next = Free;
        if (i == 0)
            next = FatSector;
        else if (i == 1 || i == 2)
            next = EndOfChain;
        else if (i >= 3 && i < 3 + miniStreamSectors)
            next = i + 1 < 3 + miniStreamSectors ? static_cast<uint32_t>(i + 1) : EndOfChain;
        Put32(file, sectorAt(0) + 4 * i, next);
    }
    // The streams hang off the root as a chain of right siblings, which is a valid tree when they
    // are given in the directory's order (shorter names first).
    const size_t count = std::min<size_t>(streams.size(), 3);
    const auto entry = [&](size_t index, const std::u16string& name, uint8_t type, uint32_t start, uint32_t size) {
        const size_t at = sectorAt(1) + 128 * index;
        std::memcpy(file.data() + at, name.data(), name.size() * 2);
        Put16(file, at + 0x40, static_cast<uint16_t>((name.size() + 1) * 2));
        file[at + 0x42] = static_cast<char>(type);
        file[at + 0x43] = 1; // black
        Put32(file, at + 0x44, Free);
        Put32(file, at + 0x48, index > 0 && index < count ? static_cast<uint32_t>(index + 1) : Free);
        Put32(file, at + 0x4C, Free);
        Put32(file, at + 0x74, start);
        Put32(file, at + 0x78, size);
    };
    entry(0, u"Root Entry", 5, 3, static_cast<uint32_t>(miniStream.size()));
    Put32(file, sectorAt(1) + 0x4C, streams.empty() ? Free : 1);
    for (size_t i = 0; i < count; ++i)
        entry(i + 1, streams[i].first, 2, starts[i], static_cast<uint32_t>(streams[i].second.size()));
    for (size_t i = 0; i < Sector / 4; ++i)
        Put32(file, sectorAt(2) + 4 * i, i < miniFat.size() ? miniFat[i] : Free);
    std::memcpy(file.data() + sectorAt(3), miniStream.data(), miniStream.size());
    return file;
}

std::string EncryptedOfficePackage()
{
    return CompoundFile({{u"EncryptionInfo", std::string(40, '\x04')}, {u"EncryptedPackage", std::string(200, '\x5A')}});
}

std::string EncryptedPowerPoint97()
{
    // A record header (version and instance, type 0x0FF6, length), the atom's size 0x14, the token.
    std::string currentUser("\x00\x00\xF6\x0F\x1C\x00\x00\x00\x14\x00\x00\x00\xDF\xC4\xD1\xF3", 16);
    currentUser += std::string(20, '\0');
    return CompoundFile({{u"Current User", currentUser}, {u"PowerPoint Document", std::string(300, '\x01')}});
}

PngSize ReadPngSize(const std::wstring& path) { return PngSizeOf(ReadFileBytes(path.c_str())); }

PngSize PngSizeOf(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return {};
    auto number = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) << 24 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 3]));
    };
    return {number(16), number(20)};
}

HRESULT HResultOf(const std::error_code& error)
{
    if (error.category() != GetHResultErrorCategory())
        return 0;
    const auto record = GetHResultErrorCategory().Find(error.value());
    return record ? static_cast<HRESULT>(record->code) : 0;
}

std::string ContextOf(const std::error_code& error)
{
    const ErrorMap* map = error.category() == GetHResultErrorCategory()
                              ? static_cast<const ErrorMap*>(&GetHResultErrorCategory())
                              : static_cast<const ErrorMap*>(&GetImportErrorCategory());
    const auto record = map->Find(error.value());
    return record ? record->context : std::string();
}
} // namespace PrintoutTest
