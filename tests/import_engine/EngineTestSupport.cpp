#include "tests/import_engine/EngineTestSupport.h"

#include "framework/log/Log.h"
#include "tests/framework/log/LogReading.h"

#include <mutex>

namespace EngineTest
{
namespace
{
std::mutex g_pausesLock;
std::vector<DWORD> g_pauses;
} // namespace

RecordedPauses::RecordedPauses()
{
    {
        std::lock_guard guard(g_pausesLock);
        g_pauses.clear();
    }
    previous_ = SetBusyPause([](DWORD milliseconds) {
        std::lock_guard guard(g_pausesLock);
        g_pauses.push_back(milliseconds);
    });
}

RecordedPauses::~RecordedPauses() { SetBusyPause(std::move(previous_)); }

std::vector<DWORD> RecordedPauses::Taken() const
{
    std::lock_guard guard(g_pausesLock);
    return g_pauses;
}

void EngineTest::SetUp()
{
    StandInTest::SetUp();
    logPath_ = TestPaths::OutputFile(L".log").wstring();
    ASSERT_TRUE(OpenLogFile(logPath_));
}

void EngineTest::TearDown()
{
    CloseLogFile();
    StandInTest::TearDown();
}

ON16::ApplicationPtr EngineTest::Application()
{
    ON16::ApplicationPtr application;
    EXPECT_EQ(CreateOneNoteApplication(application), S_OK);
    return application;
}

std::vector<std::wstring> EngineTest::LogMessages()
{
    // Closing writes out what the log still buffers; the next test opens a file of its own.
    CloseLogFile();
    std::vector<std::wstring> messages;
    for (const auto& line : LogReading::Lines(LogReading::Text(logPath_)))
        messages.push_back(LogReading::Message(line));
    return messages;
}

std::string FixtureStoreLine(const std::wstring& file)
{
    // Wine shows the Unix root as drive Z:.
    std::wstring path = L"Z:" + std::wstring(QUILLORA_ENGINE_FIXTURES L"/") + file;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return "store " + StandInTest::Utf8(path) + "\n";
}

testing::AssertionResult IsValidSent(const std::wstring& xml, const std::wstring& name)
{
    const auto xsd = SchemaCheck::SharedFileOrSkip(L"platform/xsd/onenote-2013.xsd");
    if (!xsd)
        return testing::AssertionSuccess() << "(not checked: the test is reported skipped)";
    // The file is UTF-8, whatever encoding the declaration of the sent text named.
    std::wstring body = xml;
    if (body.rfind(L"<?xml", 0) == 0)
        body.erase(0, body.find(L"?>") + 2);
    return SchemaCheck::IsValidAgainst(SchemaCheck::WriteOutputFile(L"." + name + L".xml", StandInTest::Utf8(body)), *xsd);
}

std::wstring DescriptionOf(const _com_error& error)
{
    const _bstr_t description = error.Description();
    return description.length() ? std::wstring(static_cast<const wchar_t*>(description)) : std::wstring();
}
} // namespace EngineTest
