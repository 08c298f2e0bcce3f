#include "framework/files/Files.h"
#include "framework/log/Log.h"
#include "tests/framework/log/LogReading.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>
#include <vector>

namespace
{
std::wstring ShortTestPath(const wchar_t* suffix) { return TestPaths::OutputFile(suffix).wstring(); }
} // namespace

TEST(Log, FileStartsWithByteOrderMarkAndAnEmptyLine)
{
    const std::wstring path = ShortTestPath(L".log");
    {
        LogFile log(path);
        LogEntry(log, true) << L"first";
    }
    const std::string bytes = LogReading::Bytes(path);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFE\r\0\n\0", 6));
    const std::wstring text = LogReading::Text(path);
    EXPECT_EQ(text.substr(text.size() - 8), L" - first");
}

TEST(Log, EntryHeadIsTheAsctimeTextOfNowWithoutItsLineBreak)
{
    const std::wstring head = LogEntryHead();
    static const std::wregex form(LR"(\r\n(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [ 0-3]\d \d\d:\d\d:\d\d \d{4} - )");
    EXPECT_TRUE(std::regex_match(head, form)) << head.c_str();
}

TEST(Log, NonAsciiTextReachesTheFileAndLaterWritesStillArrive)
{
    const std::wstring path = ShortTestPath(L".log");
    {
        LogFile log(path);
        LogEntry(log, true) << L"Caf\u00e9 \u65e5\u672c \U0001F600";
        LogEntry(log, true) << L"after " << 42;
    }
    const auto lines = LogReading::Lines(LogReading::Text(path));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(LogReading::Message(lines[0]), L"Caf\u00e9 \u65e5\u672c \U0001F600");
    EXPECT_EQ(LogReading::Message(lines[1]), L"after 42");
}

TEST(Log, EmptyEntriesHoldOnlyTheTimeAndContinuationsStayOnTheirLine)
{
    const std::wstring path = ShortTestPath(L".log");
    {
        LogFile log(path);
        LogEntry(log, true);
        LogEntry(log, true) << L"GetIDsOfNames: Foo";
        LogEntry(log, false) << L" - Unknown dispid!";
    }
    const auto lines = LogReading::Lines(LogReading::Text(path));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 24u + 3u);
    EXPECT_EQ(lines[0].substr(24), L" - ");
    EXPECT_EQ(LogReading::Message(lines[1]), L"GetIDsOfNames: Foo - Unknown dispid!");
}

TEST(Log, NumberFormatOfOneEntryDoesNotLeakIntoTheNext)
{
    const std::wstring path = ShortTestPath(L".log");
    {
        LogFile log(path);
        LogEntry(log, true) << L"hr " << std::hex << std::uppercase << 0x8004200Au;
        LogEntry(log, true) << L"count " << 255;
    }
    const auto lines = LogReading::Lines(LogReading::Text(path));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(LogReading::Message(lines[0]), L"hr 8004200A");
    EXPECT_EQ(LogReading::Message(lines[1]), L"count 255");
}

TEST(Log, EntryIsOnDiskWhenItsStatementEndsAndOthersMayReadMeanwhile)
{
    const std::wstring path = ShortTestPath(L".log");
    LogFile log(path);
    LogEntry(log, true) << L"written";
    EXPECT_EQ(LogReading::Message(LogReading::Lines(LogReading::Text(path)).at(0)), L"written");
}

TEST(Log, EntriesOfFourThreadsNeverInterleave)
{
    const std::wstring path = ShortTestPath(L".log");
    constexpr int threads = 4;
    constexpr int entries = 200;
    {
        LogFile log(path);
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t)
        {
            workers.emplace_back([&log, t] {
                // Long entries in many pieces: each spans the 1024-character buffer.
                const std::wstring piece(100, static_cast<wchar_t>(L'a' + t));
                for (int i = 0; i < entries; ++i)
                {
                    LogEntry entry(log, true);
                    entry << L"thread " << t << L" ";
                    for (int p = 0; p < 6; ++p)
                        entry << piece;
                }
            });
        }
        for (auto& worker : workers)
            worker.join();
    }
    const auto lines = LogReading::Lines(LogReading::Text(path));
    ASSERT_EQ(lines.size(), static_cast<size_t>(threads * entries));
    std::vector<int> counts(threads);
    for (const auto& line : lines)
    {
        const std::wstring message = LogReading::Message(line);
        ASSERT_EQ(message.size(), 9u + 600u) << message.c_str();
        const int t = message[7] - L'0';
        ASSERT_TRUE(t >= 0 && t < threads);
        EXPECT_EQ(message.substr(9), std::wstring(600, static_cast<wchar_t>(L'a' + t)));
        ++counts[t];
    }
    for (int count : counts)
        EXPECT_EQ(count, entries);
}

TEST(Log, FileThatCannotBeOpenedIgnoresEveryWrite)
{
    LogFile log(TestPaths::OutputFolder().wstring() + L"\\no such folder\\x.log");
    EXPECT_FALSE(log.IsOpen());
    LogEntry(log, true) << L"dropped";
    EXPECT_TRUE(log.Stream().fail());
}

TEST(Log, NameComesFromTheHostTableAndTheTestProgramIsNoHost)
{
    EXPECT_EQ(GetLogFileName(), L"Quillora_Install.log");
    EXPECT_EQ(GetLogFilePath(L"C:\\temp\\"), L"C:\\temp\\Quillora_Install.log");
    EXPECT_EQ(GetLogFilePath(GetTempFolder()), GetTempFilePath(L"Quillora_Install.log"));
    EXPECT_EQ(GetTempFolder().back(), L'\\');
}

TEST(Log, ProcessLogCanBeReopenedAtAPathAndClosed)
{
    const std::wstring path = ShortTestPath(L".log");
    ASSERT_TRUE(OpenLogFile(path));
    GetLog(true) << L"process " << 1;
    GetLog(false) << L" more";
    CloseLogFile();
    GetLog(true) << L"after close";
    const auto lines = LogReading::Lines(LogReading::Text(path));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(LogReading::Message(lines[0]), L"process 1 more");
}
