// The main function of every test executable.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace
{
// Whether a test's full name ("Suite.Case") matches one pattern of a gtest filter: "*" stands for
// any text, "?" for any one character.
bool Matches(const char* pattern, const char* name)
{
    if (*pattern == '\0')
        return *name == '\0';
    if (*pattern == '*')
        return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
    return *name != '\0' && (*pattern == '?' || *pattern == *name) && Matches(pattern + 1, name + 1);
}

// The patterns of the filter's positive part (before a "-"), which choose the cases of an entry.
std::vector<std::string> ChoosingPatterns(const std::string& filter)
{
    std::vector<std::string> patterns;
    const std::string positive = filter.substr(0, filter.find('-'));
    size_t start = 0;
    while (start <= positive.size())
    {
        const size_t end = std::min(positive.find(':', start), positive.size());
        if (end > start)
            patterns.push_back(positive.substr(start, end - start));
        start = end + 1;
    }
    return patterns;
}

// A test entry that picks its cases with a filter would pass having run nothing once a case is
// renamed: each pattern that chooses cases must name one of this program (in any shard).
bool EveryPatternChoosesACase()
{
    const std::string filter = GTEST_FLAG_GET(filter);
    const testing::UnitTest& tests = *testing::UnitTest::GetInstance();
    bool chosen = true;
    for (const std::string& pattern : ChoosingPatterns(filter))
    {
        bool found = false;
        for (int s = 0; s < tests.total_test_suite_count() && !found; ++s)
        {
            const testing::TestSuite& suite = *tests.GetTestSuite(s);
            for (int t = 0; t < suite.total_test_count() && !found; ++t)
            {
                const std::string name = std::string(suite.name()) + "." + suite.GetTestInfo(t)->name();
                found = Matches(pattern.c_str(), name.c_str());
            }
        }
        if (!found)
        {
            std::cout << "[  FAILED  ] the filter's pattern \"" << pattern << "\" (of \"" << filter
                      << "\") chooses no test of this program" << std::endl;
            chosen = false;
        }
    }
    return chosen;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    // A crash must fail its test run, not wait for someone to close an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Wine takes the test time zone from TZ, but the C library would read the same variable as a
    // Windows-style zone name it does not know (UTC with US daylight saving). Without it, the C
    // library asks the system, which is Wine's correct zone.
    SetEnvironmentVariableW(L"TZ", nullptr);
    _putenv_s("TZ", "");
    _tzset();
    testing::InitGoogleTest(&argc, argv);
    const bool chosen = EveryPatternChoosesACase();
    const int result = RUN_ALL_TESTS();
    if (GTEST_FLAG_GET(list_tests))
        return result;
    // An entry that ran no test at all (a filter or a shard that chooses nothing) has tested nothing.
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0)
    {
        std::cout << "[  FAILED  ] no test ran: the filter \"" << GTEST_FLAG_GET(filter)
                  << "\" chooses no test of this program" << std::endl;
        return 1;
    }
    return chosen ? result : 1;
}
