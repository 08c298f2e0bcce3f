#include "calendar/UiLanguages.h"
#include "framework/Owners.h"
#include "framework/text/Text.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace
{
const UiLanguage& English() { return GetLanguageTables().front(); }

// "(Ctrl+3)", "(F5)", "(Esc)" ...: the shortcut part at the end of a text, when it has one.
std::wstring Shortcut(const std::wstring& text)
{
    const size_t open = text.rfind(L" (");
    return open == std::wstring::npos || text.back() != L')' ? std::wstring() : text.substr(open + 1);
}

TEST(UiLanguages, ListHasTheSixteenCodesInOrderWithTheirOwnNames)
{
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"en", L"English"},       {L"zh-CN", L"中文(简体)"},          {L"zh-TW", L"中文(繁體)"},
        {L"cs", L"čeština"},       {L"nl", L"Nederlands"},             {L"fr", L"Français"},
        {L"de", L"Deutsch"},       {L"it", L"Italiano"},               {L"nb", L"norsk"},
        {L"pl", L"Polski"},        {L"pt-BR", L"Português (Brasil)"},  {L"ru", L"Русский"},
        {L"sk", L"slovenčina"},    {L"es", L"Español"},                {L"tr", L"Türkçe"},
        {L"mk", L"македонски јазик"}};
    const std::vector<LanguageEntry>& languages = GetLanguages();
    ASSERT_EQ(languages.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(languages[i].code, expected[i].first);
        EXPECT_EQ(languages[i].displayName, expected[i].second);
    }
}

TEST(UiLanguages, EveryTableIsCompleteWithListsPlaceholdersAndKeyNamesKept)
{
    const std::map<int, size_t> lists = {{4, 7}, {5, 7}, {11, 12}, {12, 12}, {13, 12}};
    for (const UiLanguage& language : GetLanguageTables())
    {
        SCOPED_TRACE(WideToUtf8(language.code));
        std::set<std::wstring> seen;
        for (size_t i = 0; i < UiStringCount; ++i)
        {
            SCOPED_TRACE(i);
            const std::wstring text = language.strings[i] ? language.strings[i] : L"";
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(text.find(L"  "), std::wstring::npos);
            EXPECT_EQ(text.front() == L' ' || text.back() == L' ', false);
            const std::wstring english = English().strings[i];
            if (const auto list = lists.find(static_cast<int>(i)); list != lists.end())
            {
                const std::vector<std::wstring> parts = Split(text, L'|');
                ASSERT_EQ(parts.size(), list->second);
                for (const std::wstring& part : parts)
                    EXPECT_FALSE(part.empty());
            }
            else
            {
                EXPECT_EQ(text.find(L'|'), std::wstring::npos);
            }
            if (i <= 3)
            {
                for (const wchar_t* placeholder : {L"[1]", L"[2]", L"[3]"})
                {
                    const size_t at = text.find(placeholder);
                    EXPECT_NE(at, std::wstring::npos) << placeholder;
                    EXPECT_EQ(text.find(placeholder, at + 1), std::wstring::npos) << placeholder;
                }
            }
            else
            {
                EXPECT_EQ(text.find(L'['), std::wstring::npos);
            }
            if (i > 3)
            {
                EXPECT_EQ(Shortcut(text), Shortcut(english)) << WideToUtf8(text);
            }
        }
        EXPECT_EQ(std::wstring(language.strings[39]), L"(Ctrl+- / Ctrl++)");
        // Every month and day has a name of its own, and every month a text of its own in the strip.
        for (int list : {4, 11, 12})
        {
            const std::vector<std::wstring> parts = Split(std::wstring(language.strings[list]), L'|');
            EXPECT_EQ(std::set<std::wstring>(parts.begin(), parts.end()).size(), parts.size());
        }
    }
}

// The boxes about the settings file speak every language of the list, each text with the
// placeholders of its English one, once each, and no others.
TEST(UiLanguages, EveryLanguageHasTheSettingsNoticesWithTheirPlaceholders)
{
    const std::vector<NoticeLanguage>& notices = GetNoticeTables();
    const std::vector<LanguageEntry>& languages = GetLanguages();
    ASSERT_EQ(notices.size(), languages.size());
    for (size_t l = 0; l < languages.size(); ++l)
    {
        SCOPED_TRACE(WideToUtf8(languages[l].code));
        EXPECT_EQ(std::wstring(notices[l].code), languages[l].code);
        for (size_t i = 0; i < NoticeStringCount; ++i)
        {
            SCOPED_TRACE(i);
            const std::wstring text = notices[l].strings[i] ? notices[l].strings[i] : L"";
            const std::wstring english = notices.front().strings[i];
            ASSERT_FALSE(text.empty());
            EXPECT_EQ(text.find(L"  "), std::wstring::npos);
            EXPECT_FALSE(text.front() == L' ' || text.back() == L' ');
            for (const wchar_t* placeholder : {L"[1]", L"[2]", L"[3]"})
            {
                const size_t at = text.find(placeholder);
                EXPECT_EQ(at != std::wstring::npos, english.find(placeholder) != std::wstring::npos) << placeholder;
                if (at != std::wstring::npos)
                {
                    EXPECT_EQ(text.find(placeholder, at + 1), std::wstring::npos) << placeholder;
                }
            }
        }
        LoadLanguageStrings(languages[l].code);
        EXPECT_EQ(GetNoticeString(NoticeFileLeft), notices[l].strings[NoticeFileLeft]);
    }
    LoadLanguageStrings(L"en");
}

TEST(UiLanguages, LoadingAnUnknownCodeChangesNothing)
{
    LoadLanguageStrings(L"de");
    LoadLanguageStrings(L"DE");
    LoadLanguageStrings(L"ja");
    LoadLanguageStrings(L"");
    EXPECT_EQ(GetUiString(StrError), L"Fehler");
}

TEST(UiLanguages, DateTablesPutDecemberAndSundayAtEntryZero)
{
    LoadLanguageStrings(L"en");
    FillDateNameTables();
    const DateNameTables& tables = GetDateNameTables();
    EXPECT_EQ(tables.monthNames[0], L"December");
    EXPECT_EQ(tables.monthNames[1], L"January");
    EXPECT_EQ(tables.monthNames[12], L"December");
    EXPECT_EQ(tables.shortMonthNames[0], L"Dec");
    EXPECT_EQ(tables.monthInitials[0], L"12");
    EXPECT_EQ(tables.monthInitials[10], L"10");
    EXPECT_EQ(tables.dayNames[0], L"Sunday");
    EXPECT_EQ(tables.dayNames[1], L"Monday");
    EXPECT_EQ(tables.shortDayNames[7], L"Sun");
    EXPECT_EQ(tables.viewCaptions[0], L"Month (Ctrl+1)");
    EXPECT_EQ(tables.viewCaptions[1], L"Week (Ctrl+2)");
    EXPECT_EQ(tables.viewCaptions[2], L"Day (Ctrl+3)");

    LoadLanguageStrings(L"ru");
    FillDateNameTables();
    EXPECT_EQ(GetDateNameTables().monthNames[0], L"декабрь");
    EXPECT_EQ(GetDateNameTables().dayNames[0], L"воскресенье");
}

TEST(UiLanguages, EnglishDayTitlesTakeTheirOrdinalEndings)
{
    LoadLanguageStrings(L"en");
    FillDateNameTables();
    // January 2024: the 1st is a Monday.
    EXPECT_EQ(FormatDayTitle(1, 1, 1), L"January 1st, Monday");
    EXPECT_EQ(FormatDayTitle(1, 2, 2), L"January 2nd, Tuesday");
    EXPECT_EQ(FormatDayTitle(1, 3, 3), L"January 3rd, Wednesday");
    EXPECT_EQ(FormatDayTitle(1, 4, 4), L"January 4th, Thursday");
    EXPECT_EQ(FormatDayTitle(1, 11, 4), L"January 11th, Thursday");
    EXPECT_EQ(FormatDayTitle(1, 12, 5), L"January 12th, Friday");
    EXPECT_EQ(FormatDayTitle(1, 13, 6), L"January 13th, Saturday");
    EXPECT_EQ(FormatDayTitle(1, 21, 7), L"January 21st, Sunday");
    EXPECT_EQ(FormatDayTitle(1, 22, 1), L"January 22nd, Monday");
    EXPECT_EQ(FormatDayTitle(1, 23, 2), L"January 23rd, Tuesday");
    EXPECT_EQ(FormatDayTitle(1, 24, 3), L"January 24th, Wednesday");
    EXPECT_EQ(FormatDayTitle(1, 31, 3), L"January 31st, Wednesday");
}

TEST(UiLanguages, OtherLanguagesOrderTheTitleTheirOwnWay)
{
    struct Case
    {
        const wchar_t* code;
        int day;
        const wchar_t* title;
    };
    const Case cases[] = {
        {L"de", 1, L"Montag, 1. Januar"},
        {L"fr", 1, L"lundi 1er janvier"},
        {L"fr", 2, L"mardi 2 janvier"},
        {L"es", 3, L"miércoles, 3 de enero"},
        {L"pt-BR", 1, L"segunda-feira, 1º de janeiro"},
        {L"tr", 2, L"2 Ocak Salı"},
        // Chinese numbers the month before the day.
        {L"zh-CN", 1, L"1月1日 星期一"},
        {L"zh-TW", 2, L"1月2日 星期二"},
        // A month after a day number takes the genitive in these languages.
        {L"ru", 1, L"понедельник, 1 января"},
        {L"pl", 2, L"wtorek, 2 stycznia"},
        {L"cs", 3, L"středa 3. ledna"},
        {L"sk", 1, L"pondelok 1. januára"},
        // The French ending belongs to the 1st alone.
        {L"fr", 21, L"dimanche 21 janvier"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(WideToUtf8(c.code));
        LoadLanguageStrings(c.code);
        FillDateNameTables();
        EXPECT_EQ(FormatDayTitle(1, c.day, c.day % 7), c.title);
    }
}

TEST(UiLanguages, LocaleNamesMatchByTheirBeginning)
{
    EXPECT_EQ(MatchLanguage(L"en-US"), L"en");
    EXPECT_EQ(MatchLanguage(L"en-GB"), L"en");
    EXPECT_EQ(MatchLanguage(L"zh-TW"), L"zh-TW");
    EXPECT_EQ(MatchLanguage(L"fr-CA"), L"fr");
    EXPECT_EQ(MatchLanguage(L"es-MX"), L"es");
    EXPECT_EQ(MatchLanguage(L"pt-PT"), L"");
    EXPECT_EQ(MatchLanguage(L"zh-HK"), L"");
    EXPECT_EQ(MatchLanguage(L"ja-JP"), L"");
    EXPECT_EQ(MatchLcid(1031), L"de");
    EXPECT_EQ(MatchLcid(1046), L"pt-BR");
    EXPECT_EQ(MatchLcid(1041), L"");
}

// Office's values live under a key of this test's own, standing in for HKEY_CURRENT_USER.
class OfficeLanguage : public testing::Test
{
protected:
    void SetUp() override
    {
        const std::wstring path = L"Software\\QuilloraTests\\OfficeLanguage" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, root.put(),
                                  nullptr),
                  ERROR_SUCCESS);
        keyPath = path;
    }
    void TearDown() override
    {
        root.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, keyPath.c_str());
    }

    void SetDword(int version, const wchar_t* name, DWORD value)
    {
        Owners::RegistryKey key;
        RegCreateKeyExW(root.get(), Key(version).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
        RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    void SetText(int version, const wchar_t* name, DWORD type, const std::wstring& text)
    {
        Owners::RegistryKey key;
        RegCreateKeyExW(root.get(), Key(version).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
        RegSetValueExW(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    static std::wstring Key(int version)
    {
        return L"Software\\Microsoft\\Office\\" + std::to_wstring(version) + L".0\\Common\\LanguageResources";
    }

    Owners::RegistryKey root;
    std::wstring keyPath;
};

TEST_F(OfficeLanguage, Version15UiLanguageComesFirst)
{
    SetDword(15, L"UILanguage", 1031);
    SetDword(14, L"UILanguage", 1046);
    EXPECT_EQ(FindDefaultLanguage(root.get()), L"de");
}

TEST_F(OfficeLanguage, Version14IsAskedWhenVersion15HasNone)
{
    SetDword(14, L"UILanguage", 1046);
    EXPECT_EQ(FindDefaultLanguage(root.get()), L"pt-BR");
}

TEST_F(OfficeLanguage, UnsupportedLanguageFallsThroughToTheFallbackList)
{
    SetDword(15, L"UILanguage", 1041);
    SetText(15, L"UIFallback", REG_MULTI_SZ, std::wstring(L"1041") + L'\0' + L"1049x" + L'\0');
    EXPECT_EQ(FindDefaultLanguage(root.get()), L"ru");
}

TEST_F(OfficeLanguage, FallbackListSeparatedBySemicolonsIsReadInOrder)
{
    SetText(15, L"UIFallback", REG_MULTI_SZ, L"1041;1036;1031");
    EXPECT_EQ(GetOfficeUILanguage(root.get(), 15), L"fr");
}

TEST_F(OfficeLanguage, UiLanguageStoredAsTextIsIgnored)
{
    SetText(15, L"UILanguage", REG_SZ, L"1031");
    SetText(15, L"UIFallback", REG_MULTI_SZ, L"1040");
    EXPECT_EQ(GetOfficeUILanguage(root.get(), 15), L"it");
}

TEST_F(OfficeLanguage, WithoutOfficeTheLocaleOrEnglishDecides)
{
    wchar_t locale[32] = {};
    GetUserDefaultLocaleName(locale, 32);
    const std::wstring matched = MatchLanguage(locale);
    EXPECT_EQ(FindDefaultLanguage(root.get()), matched.empty() ? L"en" : matched);
}
} // namespace
