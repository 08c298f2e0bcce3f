// The stand-in's search, its demo store living relative to today, and generated large stores.
#include "tests/standins/StandInFixture.h"

#include "standins/onenote/LargeStore.h"

#include <fstream>
#include <regex>

namespace StandInTest
{
namespace
{
class SearchAndStores : public StandInTest
{
protected:
    std::wstring Find(ON16::IApplication* app, const std::wstring& query, HRESULT expected = S_OK)
    {
        BSTR xml = nullptr;
        EXPECT_EQ(app->FindPages(_bstr_t(L""), _bstr_t(query.c_str()), &xml, VARIANT_FALSE, VARIANT_FALSE,
                                 ON16::xs2010),
                  expected)
            << Utf8(query);
        const std::wstring text = xml ? xml : L"";
        SysFreeString(xml);
        return text;
    }

    static std::vector<std::wstring> PageNames(const std::wstring& xml)
    {
        std::vector<std::wstring> names;
        const std::wregex page(L"<one:Page [^>]*name=\"([^\"]*)\"");
        for (std::wsregex_iterator it(xml.begin(), xml.end(), page), end; it != end; ++it)
            names.push_back((*it)[1].str());
        return names;
    }

    static long long LocalDayNumber()
    {
        FILETIME now{}, local{};
        GetSystemTimeAsFileTime(&now);
        FileTimeToLocalFileTime(&now, &local);
        return static_cast<long long>(((static_cast<ULONGLONG>(local.dwHighDateTime) << 32) | local.dwLowDateTime) /
                                      864000000000ULL);
    }
    // Writes a generated store into a fresh folder and points the stand-in at it, with no scenario.
    static bool UseGeneratedStore(const StandIn::LargeStoreOptions& options, const wchar_t* suffix)
    {
        const std::filesystem::path folder = TestPaths::OutputFile(suffix);
        std::error_code error;
        std::filesystem::remove_all(folder, error);
        if (!StandIn::WriteLargeStore(folder.wstring(), options))
            return false;
        SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", folder.c_str());
        SetEnvironmentVariableW(L"QUILLORA_ONENOTE_SCENARIO", nullptr);
        return true;
    }
};

TEST_F(SearchAndStores, FindPagesMatchesWordsAndTheStartsOfWordsButNotTheirInsides)
{
    ApplicationPtr app = Connect();
    EXPECT_EQ(PageNames(Find(app, L"flo")), (std::vector<std::wstring>{L"Sourdough bread"}));
    EXPECT_EQ(PageNames(Find(app, L"FLOUR")), (std::vector<std::wstring>{L"Sourdough bread"}));
    EXPECT_TRUE(PageNames(Find(app, L"lour")).empty());
    EXPECT_TRUE(PageNames(Find(app, L"ough")).empty()) << "inside \"Sourdough\"";
    // Every word must match, in the title or the text.
    EXPECT_EQ(PageNames(Find(app, L"apple bake")), (std::vector<std::wstring>{L"Apple cake"}));
    EXPECT_TRUE(PageNames(Find(app, L"apple flour")).empty());
    const std::wstring answer = Find(app, L"lisbon");
    EXPECT_EQ(PageNames(answer), (std::vector<std::wstring>{L"Lisbon itinerary", L"Lisbon restaurants"}));
    EXPECT_TRUE(IsValid(answer, ON16::xs2010, L"lisbon"));
    Find(app, L" ,; ", static_cast<HRESULT>(0x80042019));
}

TEST_F(SearchAndStores, FindPagesLeavesOutPagesInTheRecycleBin)
{
    ApplicationPtr app = Connect();
    EXPECT_TRUE(PageNames(Find(app, L"shopping list")).empty()) << "in the deleted pages";
    EXPECT_TRUE(PageNames(Find(app, L"prototype")).empty()) << "in a section in the recycle bin";
    EXPECT_EQ(PageNames(Find(app, L"shopping")), (std::vector<std::wstring>{L"Shopping for the weekend"}));
}

TEST_F(SearchAndStores, TheDemoStoreMovesItsDatesOnToToday)
{
    ApplicationPtr app = Connect();
    const auto dateOf = [&](const std::wstring& name) {
        const std::wstring all = Hierarchy(app, L"", ON16::hsPages, ON16::xs2010);
        const std::wregex page(L"<one:Page [^>]*name=\"" + name + L"\"[^>]*dateTime=\"([^\"]*)\"");
        std::wsmatch match;
        return std::regex_search(all, match, page) ? match[1].str() : std::wstring();
    };
    const std::wstring before = dateOf(L"Team meeting");
    ASSERT_FALSE(before.empty());

    // As if the store had been made ten days ago: its file is read again and moved on by ten days.
    std::ofstream(store_ / L"demo-day.txt", std::ios::binary | std::ios::trunc) << LocalDayNumber() - 10;
    const std::filesystem::path file = store_ / L"store.xml";
    const auto written = std::filesystem::last_write_time(file);
    std::filesystem::last_write_time(file, written - std::chrono::hours(1));
    const std::wstring after = dateOf(L"Team meeting");

    SYSTEMTIME a{}, b{};
    swscanf(before.c_str(), L"%hu-%hu-%huT%hu:%hu:%hu", &a.wYear, &a.wMonth, &a.wDay, &a.wHour, &a.wMinute, &a.wSecond);
    swscanf(after.c_str(), L"%hu-%hu-%huT%hu:%hu:%hu", &b.wYear, &b.wMonth, &b.wDay, &b.wHour, &b.wMinute, &b.wSecond);
    FILETIME fa{}, fb{};
    ASSERT_TRUE(SystemTimeToFileTime(&a, &fa) && SystemTimeToFileTime(&b, &fb)) << Utf8(after);
    const auto ticks = [](const FILETIME& f) { return (static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    EXPECT_EQ((ticks(fb) - ticks(fa)) / 10000000LL, 10LL * 86400) << Utf8(before) << " -> " << Utf8(after);
    std::ifstream anchor(store_ / L"demo-day.txt");
    long long day = 0;
    anchor >> day;
    EXPECT_EQ(day, LocalDayNumber());
}

TEST_F(SearchAndStores, AGeneratedStoreIsServedWholeAndValid)
{
    StandIn::LargeStoreOptions options;
    options.pages = 300;
    options.notebooks = 4;
    options.years = 2;
    ASSERT_TRUE(UseGeneratedStore(options, L".large"));

    ApplicationPtr app = Connect();
    const std::wstring all = Hierarchy(app, L"", ON16::hsPages, ON16::xs2013);
    EXPECT_TRUE(IsValid(all, ON16::xs2013, L"large"));
    EXPECT_EQ(PageNames(all).size(), 300u + 4 * 2) << "and two deleted pages per notebook";
    const std::wstring notebooks = Hierarchy(app, L"", ON16::hsNotebooks, ON16::xs2010);
    EXPECT_EQ(std::count(notebooks.begin(), notebooks.end(), L'\n') > 0, true);
    EXPECT_EQ(PageNames(Find(app, L"budget")).empty(), false);
    // A page found by its ID, as the calendar asks for each.
    const std::wstring page = FirstId(all, L"Page");
    EXPECT_NE(Hierarchy(app, page, ON16::hsPages, ON16::xs2010).find(page), std::wstring::npos);
}
TEST_F(SearchAndStores, AStoreOfAHundredThousandPagesInTwoHundredNotebooksIsServed)
{
    StandIn::LargeStoreOptions options;
    options.pages = 100000;
    options.notebooks = 200;
    ASSERT_TRUE(UseGeneratedStore(options, L".huge"));

    ApplicationPtr app = Connect();
    const std::wstring notebooks = Hierarchy(app, L"", ON16::hsNotebooks, ON16::xs2010);
    EXPECT_EQ(std::count(notebooks.begin(), notebooks.end(), L'\n'), 200 + 3) << "declaration, root and notebooks";
    // A page found by its ID, as the calendar asks for each.
    const std::wstring last = Hierarchy(app, FirstId(notebooks, L"Notebook", L"Notebook 200"), ON16::hsPages);
    const std::wstring page = FirstId(last, L"Page");
    ASSERT_FALSE(page.empty());
    EXPECT_NE(Hierarchy(app, page, ON16::hsPages, ON16::xs2010).find(page), std::wstring::npos);
    app = nullptr;
    std::error_code error;
    std::filesystem::remove_all(TestPaths::OutputFile(L".huge"), error);
}
} // namespace
} // namespace StandInTest
