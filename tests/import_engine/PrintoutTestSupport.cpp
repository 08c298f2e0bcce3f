#include "tests/import_engine/PrintoutTestSupport.h"

#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "tests/framework/log/LogReading.h"
#include "tests/support/SchemaCheck.h"
#include "tests/support/TestPaths.h"

#include <windows.h>

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

PngSize ReadPngSize(const std::wstring& path)
{
    const std::string bytes = ReadFileBytes(path.c_str());
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
