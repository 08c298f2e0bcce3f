#include "tests/support/ChosenTests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

// Each pattern that chooses cases must name one of this program (in any shard).
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

// "shard I of N", counted from 1 as gtest's own note counts it, when gtest runs one shard of the
// program's cases (as it reads the environment).
std::string Shard()
{
    const char* total = std::getenv("GTEST_TOTAL_SHARDS");
    const char* index = std::getenv("GTEST_SHARD_INDEX");
    if (!total || !index || std::atoi(total) <= 1)
        return "";
    return "shard " + std::to_string(std::atoi(index) + 1) + " of " + total + " (GTEST_SHARD_INDEX=" + index + ")";
}
} // namespace

namespace ChosenTests
{
int RunAll()
{
    const bool chosen = EveryPatternChoosesACase();
    const int result = RUN_ALL_TESTS();
    if (GTEST_FLAG_GET(list_tests))
        return result;
    // An entry that ran no test at all has tested nothing: a filter that chooses nothing, or a shard
    // that was left none of the cases the filter chooses.
    if (testing::UnitTest::GetInstance()->test_to_run_count() == 0)
    {
        const std::string shard = Shard();
        if (shard.empty())
            std::cout << "[  FAILED  ] no test ran: the filter \"" << GTEST_FLAG_GET(filter)
                      << "\" chooses no test of this program" << std::endl;
        else
            std::cout << "[  FAILED  ] no test ran: " << shard << " holds none of the cases that the filter \""
                      << GTEST_FLAG_GET(filter) << "\" chooses" << std::endl;
        return 1;
    }
    return chosen ? result : 1;
}
} // namespace ChosenTests
