// The version check: plain inequality of version texts, trimmed, and silence on every failure.
#include "tests/update/ServiceScenario.h"
#include "update/VersionCheck.h"

#include <gtest/gtest.h>

using UpdateTest::ServiceScenario;

TEST(VersionCheck, OffersAnyOtherVersionNumberAndNotTheRunningOne)
{
    const struct
    {
        const char* answer;
        bool offered;
    } rows[] = {
        {"1.3.0", false},      {"1.3.0\r\n", false}, {" 1.3.0 ", false}, {"1.4.0", true},
        {"1.2.0", true},       {"1.3.0.1", true},    {"2", true},        {"", false},
        {"\n", false},         {"<html>Error</html>", false},           {"1.4.0-beta", false},
    };
    ServiceScenario scenario;
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.answer);
        scenario.Set("getVersion.body", row.answer);
        EXPECT_EQ(row.offered, IsNewerVersionAvailable(scenario.Identity().name));
    }
}

TEST(VersionCheck, AsksForTheGivenProductAndReturnsTheAnswerUnaltered)
{
    ServiceScenario scenario;
    scenario.Set("getVersion.body", "1.4.0\n");
    EXPECT_EQ("1.4.0\n", GetLatestVersion("Quillora Batch File Import"));
    const auto parameters = scenario.Requests().back().Parameters();
    ASSERT_FALSE(parameters.empty());
    EXPECT_EQ((std::pair<std::string, std::string>("product", "Quillora Batch File Import")), parameters.front());
}

TEST(VersionCheck, RequestErrorsMeanNoUpdate)
{
    ServiceScenario scenario;
    scenario.Set("getVersion.status", "500");
    scenario.Set("getVersion.body", "1.4.0");
    EXPECT_FALSE(IsNewerVersionAvailable(scenario.Identity().name));
    scenario.Set("getToken.status", "404");
    EXPECT_FALSE(IsNewerVersionAvailable(scenario.Identity().name));
}

TEST(VersionCheck, CalendarAsksAsDayloomInBothExchanges)
{
    ServiceScenario scenario(CalendarIdentity());
    scenario.Set("getVersion.body", "1.18.1");
    EXPECT_FALSE(IsNewerVersionAvailable("Dayloom"));
    scenario.Set("getVersion.body", "1.19.0");
    EXPECT_TRUE(IsNewerVersionAvailable("Dayloom"));

    const auto requests = scenario.Requests();
    ASSERT_EQ(4u, requests.size());
    for (const auto& request : requests)
    {
        SCOPED_TRACE(request.name);
        const auto parameters = request.Parameters();
        EXPECT_EQ((std::pair<std::string, std::string>("product", "Dayloom")), parameters.front());
        EXPECT_NE(parameters.end(), std::find(parameters.begin(), parameters.end(),
                                              std::pair<std::string, std::string>("version", "1.18.1")));
    }
}
