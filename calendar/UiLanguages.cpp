#include "calendar/UiLanguages.h"

#include "framework/log/Log.h"
#include "framework/text/Text.h"

#include <comdef.h>

#include <atomic>
#include <cwctype>
#include <string_view>

namespace
{
// One language's texts as the program reads them, built once.
struct StringTable
{
    std::array<std::wstring, UiStringCount> strings;
    std::wstring monthNamesAfterDay;
    std::wstring shortMonthNamesAfterDay;
    bool endingsByLastDigit = false;
    std::wstring dayNumberEnding;
    std::wstring monthHeadingNames;
    std::wstring shortMonthHeadingNames;
    bool yearFirst = false;
    std::wstring yearEnding;
    std::array<std::wstring, NoticeStringCount> notices;
};

void FillNotices(StringTable& table, const wchar_t* code)
{
    for (const NoticeLanguage& language : GetNoticeTables())
    {
        if (std::wstring_view(code) == language.code)
        {
            for (size_t i = 0; i < NoticeStringCount; ++i)
                table.notices[i] = language.strings[i];
            return;
        }
    }
}

// The tables of all languages, in list order; they live as long as the program.
const std::vector<StringTable>& AllTables()
{
    static const std::vector<StringTable> tables = [] {
        std::vector<StringTable> built;
        for (const UiLanguage& language : GetLanguageTables())
        {
            StringTable table;
            for (size_t i = 0; i < UiStringCount; ++i)
                table.strings[i] = language.strings[i];
            table.monthNamesAfterDay =
                language.monthNamesAfterDay ? language.monthNamesAfterDay : table.strings[StrMonthNames];
            table.shortMonthNamesAfterDay = language.shortMonthNamesAfterDay ? language.shortMonthNamesAfterDay
                                                                             : table.strings[StrShortMonthNames];
            table.endingsByLastDigit = language.endingsByLastDigit;
            table.dayNumberEnding = language.dayNumberEnding;
            table.monthHeadingNames =
                language.monthHeadingNames ? language.monthHeadingNames : table.strings[StrMonthNames];
            table.shortMonthHeadingNames = language.shortMonthHeadingNames ? language.shortMonthHeadingNames
                                                                           : table.strings[StrShortMonthNames];
            table.yearFirst = language.yearFirst;
            table.yearEnding = language.yearEnding;
            FillNotices(table, language.code);
            built.push_back(std::move(table));
        }
        return built;
    }();
    return tables;
}

// The table of the chosen language, swapped whole: the tables themselves never change, so a
// reader on any thread holds a text that stays whole.
std::atomic<const StringTable*>& Current()
{
    static const StringTable none;
    static std::atomic<const StringTable*> current{&none};
    return current;
}

DateNameTables& NameTables()
{
    static DateNameTables tables;
    return tables;
}

template <size_t N>
void FillFromList(std::array<std::wstring, N>& table, const std::wstring& list)
{
    const std::vector<std::wstring> parts = Split(list, L'|');
    for (size_t i = 0; i + 1 < N; ++i)
        table[i + 1] = i < parts.size() ? parts[i] : std::wstring();
    table[0] = table[N - 1];
}

void Replace(std::wstring& text, std::wstring_view placeholder, const std::wstring& value)
{
    for (size_t at = text.find(placeholder); at != std::wstring::npos; at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
}

// The template of a day's title: days 1, 2 and 3 have endings of their own, and where the
// endings follow the last digit so do 21, 22, 23 and 31 (but not 11, 12 and 13).
int DayTitleTemplate(int day, bool byLastDigit)
{
    const int ending = byLastDigit && (day / 10) % 10 != 1 ? day % 10 : day;
    return ending == 1   ? StrDayTitleFirst
           : ending == 2 ? StrDayTitleSecond
           : ending == 3 ? StrDayTitleThird
                         : StrDayTitleOther;
}
} // namespace

const std::vector<LanguageEntry>& GetLanguages()
{
    static const std::vector<LanguageEntry> languages = [] {
        std::vector<LanguageEntry> list;
        for (const UiLanguage& language : GetLanguageTables())
            list.push_back({language.code, language.displayName});
        return list;
    }();
    return languages;
}

bool IsKnownLanguage(const std::wstring& code)
{
    for (const LanguageEntry& language : GetLanguages())
    {
        if (language.code == code)
            return true;
    }
    return false;
}

const std::array<std::wstring, UiStringCount>& GetUiStrings() { return Current().load()->strings; }

const std::wstring& GetUiString(int index) { return GetUiStrings().at(static_cast<size_t>(index)); }

const std::wstring& GetNoticeString(int index)
{
    const std::wstring& text = Current().load()->notices.at(static_cast<size_t>(index));
    // Before a language is chosen the boxes speak English, as the program's name does.
    return text.empty() ? AllTables().front().notices.at(static_cast<size_t>(index)) : text;
}

void LoadLanguageStrings(const std::wstring& code)
{
    const std::vector<UiLanguage>& languages = GetLanguageTables();
    for (size_t i = 0; i < languages.size(); ++i)
    {
        if (code == languages[i].code)
        {
            Current() = &AllTables()[i];
            return;
        }
    }
}

void FillDateNameTables()
{
    const StringTable& current = *Current().load();
    const std::array<std::wstring, UiStringCount>& strings = current.strings;
    DateNameTables& tables = NameTables();
    FillFromList(tables.monthNames, strings[StrMonthNames]);
    FillFromList(tables.shortMonthNames, strings[StrShortMonthNames]);
    FillFromList(tables.monthNamesAfterDay, current.monthNamesAfterDay);
    FillFromList(tables.shortMonthNamesAfterDay, current.shortMonthNamesAfterDay);
    FillFromList(tables.monthHeadingNames, current.monthHeadingNames);
    FillFromList(tables.shortMonthHeadingNames, current.shortMonthHeadingNames);
    FillFromList(tables.monthInitials, strings[StrMonthInitials]);
    FillFromList(tables.dayNames, strings[StrDayNames]);
    FillFromList(tables.shortDayNames, strings[StrShortDayNames]);
    tables.viewCaptions = {strings[StrMonthView], strings[StrWeekView], strings[StrDayView]};
    tables.dayNumberEnding = current.dayNumberEnding;
    tables.yearFirst = current.yearFirst;
    tables.yearEnding = current.yearEnding;
}

const DateNameTables& GetDateNameTables() { return NameTables(); }

std::wstring FormatDayTitle(int month, int day, int weekday)
{
    const StringTable& current = *Current().load();
    std::wstring title = current.strings.at(static_cast<size_t>(DayTitleTemplate(day, current.endingsByLastDigit)));
    const DateNameTables& tables = NameTables();
    Replace(title, L"[1]", tables.monthNamesAfterDay.at(static_cast<size_t>(month)));
    Replace(title, L"[2]", IntToWString(day));
    Replace(title, L"[3]", tables.dayNames.at(static_cast<size_t>(weekday)));
    return title;
}

std::wstring MatchLanguage(const std::wstring& localeName)
{
    for (const LanguageEntry& language : GetLanguages())
    {
        if (localeName.compare(0, language.code.size(), language.code) == 0)
            return language.code;
    }
    return {};
}

std::wstring MatchLcid(LCID lcid)
{
    const int length = LCIDToLocaleName(lcid, nullptr, 0, 0);
    if (length <= 1)
        return {};
    std::wstring name(static_cast<size_t>(length), L'\0');
    if (LCIDToLocaleName(lcid, name.data(), length, 0) <= 0)
        return {};
    name.resize(static_cast<size_t>(length - 1));
    return MatchLanguage(name);
}

std::wstring GetOfficeUILanguage(HKEY officeRoot, int version)
{
    const std::wstring key = L"Software\\Microsoft\\Office\\" + IntToWString(version) + L".0\\Common\\LanguageResources";
    // An unreadable value counts as a missing one.
    const auto read = [&](RegistryValue& value) {
        try
        {
            return value.Read();
        }
        catch (const _com_error&)
        {
            return false;
        }
    };
    RegistryValue uiLanguage(officeRoot, key, L"UILanguage");
    if (read(uiLanguage) && uiLanguage.type() == REG_DWORD)
    {
        if (std::wstring code = MatchLcid(uiLanguage.dword()); !code.empty())
            return code;
    }
    RegistryValue fallback(officeRoot, key, L"UIFallback");
    if (read(fallback) && fallback.type() == REG_MULTI_SZ)
    {
        for (const std::wstring& piece : Split(fallback.text(), L';'))
        {
            LCID lcid = 0;
            size_t digits = 0;
            while (digits < piece.size() && std::iswdigit(piece[digits]))
                lcid = lcid * 10 + static_cast<LCID>(piece[digits++] - L'0');
            if (digits == 0)
                continue;
            if (std::wstring code = MatchLcid(lcid); !code.empty())
                return code;
        }
    }
    return {};
}

std::wstring FindDefaultLanguage(HKEY officeRoot)
{
    std::wstring code = GetOfficeUILanguage(officeRoot, 15);
    if (code.empty())
        code = GetOfficeUILanguage(officeRoot, 14);
    if (code.empty())
    {
        wchar_t locale[32] = {};
        if (GetUserDefaultLocaleName(locale, 32) > 0)
            code = MatchLanguage(locale);
    }
    return code.empty() ? L"en" : code;
}

const std::wstring& GetDefaultLanguage()
{
    static const std::wstring language = FindDefaultLanguage(HKEY_CURRENT_USER);
    return language;
}
