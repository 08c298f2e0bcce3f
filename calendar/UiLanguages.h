#pragma once
// The texts Lumday shows: one process-wide table of 56 strings in the chosen language, and the
// month and day names split out of it. Each language's table is built once and never changes; a
// language switch makes another one current, so a worker that reads a text while the user picks a
// language reads one language's text whole.

#include "calendar/DateNameTables.h"
#include "framework/ui/Theme.h"

#include <array>
#include <string>
#include <vector>

constexpr size_t UiStringCount = 56;

// The indices the program reads by name.
enum UiString : int
{
    StrDayTitleFirst = 0,  // day-view title of day 1: [1] month, [2] day, [3] weekday
    StrDayTitleSecond = 1, // day 2
    StrDayTitleThird = 2,  // day 3
    StrDayTitleOther = 3,  // every other day
    StrDayNames = 4,
    StrShortDayNames = 5,
    StrFailedToLoadPages = 6,
    StrFailedToLoadPreview = 7,
    StrFailedToOpenPage = 8,
    StrError = 9,
    StrInstallingUpdate = 10,
    StrMonthInitials = 11,
    StrMonthNames = 12,
    StrShortMonthNames = 13,
    StrDayView = 14,
    StrGoToThisMonth = 15,
    StrGoToThisWeek = 16,
    StrGoToToday = 17,
    StrMonthView = 18,
    StrNextDay = 19,
    StrNextMonth = 20,
    StrNextWeek = 21,
    StrPreviousDay = 22,
    StrPreviousMonth = 23,
    StrPreviousWeek = 24,
    StrRefresh = 25,
    StrSettingsButton = 26,
    StrWeekView = 27,
    StrUntitledNotebook = 28,
    StrUntitledPage = 29,
    StrUntitledSectionGroup = 30,
    StrUntitledSection = 31,
    StrContinue = 32,
    StrLanguage = 42,
    StrPickLanguage = 48,
    StrSettings = 52,
    StrBack = 53,
    StrTheme = 55,
};

// One language of the list: its code, its name as its speakers write it and its 56 texts.
struct UiLanguage
{
    const wchar_t* code;
    const wchar_t* displayName;
    std::array<const wchar_t*, UiStringCount> strings;
    // The month names as they stand beside a day number ("21 января", "12月11日"), in the forms of
    // strings 12 and 13; none where the language writes the names of those strings there.
    const wchar_t* monthNamesAfterDay = nullptr;
    const wchar_t* shortMonthNamesAfterDay = nullptr;
    // Whether the day titles' endings follow the day's last digit (21st, 22nd, 23rd, but 11th,
    // 12th, 13th) rather than belonging to days 1, 2 and 3 alone.
    bool endingsByLastDigit = false;
    // What follows a day number in a date of the header and the window title ("21. ledna 2025",
    // "12月11日"); none where the number stands alone.
    const wchar_t* dayNumberEnding = L"";
    // The month names standing alone as the heading of a month ("Декабрь 2026", "2026年12月"), in
    // the forms of strings 12 and 13; none where the language writes the names of those strings
    // there.
    const wchar_t* monthHeadingNames = nullptr;
    const wchar_t* shortMonthHeadingNames = nullptr;
    // Whether a date begins with its year, the month and the day following without blanks
    // ("2026年12月11日"), and what follows the year there.
    bool yearFirst = false;
    const wchar_t* yearEnding = L"";
};

// The 16 languages, in the order the settings view lists them; English first.
const std::vector<UiLanguage>& GetLanguageTables();

// The texts of the boxes that tell what became of the settings file, beside the 56 strings: [1]
// stands for the file's path, [2] for the system's reason and [3] for the program's name. A box
// shows a first text, then after an empty line a second one.
constexpr size_t NoticeStringCount = 9;
enum NoticeString : int
{
    NoticeFolderNotFound = 0,  // [3] [2]: the roaming folder could not be found at the start
    NoticeSettingsNotKept = 1, // [3]: ... and settings cannot be kept
    NoticeNotReadHeld = 2,     // [1]: not read, another program holds it
    NoticeNotRead = 3,         // [1] [2]
    NoticeDamagedNotKept = 4,  // [1]: damaged, and no copy could be kept
    NoticeChangesNotSaved = 5, // [3]: ... and the changes of this session will not be saved
    NoticeNotSavedHeld = 6,    // [1]: not saved, another program holds it
    NoticeNotSaved = 7,        // [1] [2]
    NoticeFileLeft = 8,        // the file was left as it was
};

// One language's notice texts, by its code; every language of GetLanguageTables has one.
struct NoticeLanguage
{
    const wchar_t* code;
    std::array<const wchar_t*, NoticeStringCount> strings;
};
const std::vector<NoticeLanguage>& GetNoticeTables();

struct LanguageEntry
{
    std::wstring code;
    std::wstring displayName;
};
const std::vector<LanguageEntry>& GetLanguages();
bool IsKnownLanguage(const std::wstring& code);

// The current table; empty strings until LoadLanguageStrings. Any thread may read it: what it
// returns stays as it is for the rest of the run, also after another language is chosen.
const std::array<std::wstring, UiStringCount>& GetUiStrings();
const std::wstring& GetUiString(int index);
// A notice text of the current table; English until LoadLanguageStrings.
const std::wstring& GetNoticeString(int index);

// Makes the table of the exact (case-sensitive) code the current one; an unknown code changes
// nothing.
void LoadLanguageStrings(const std::wstring& code);

// The name tables, rebuilt from the current strings by FillDateNameTables (UI thread only).
void FillDateNameTables();
const DateNameTables& GetDateNameTables();

// The day view's column title of a date: the template of the day's ending with [1] the month
// name (in its form after a day number), [2] the day and [3] the weekday (1 Monday .. 7 Sunday, or
// 0 Sunday).
std::wstring FormatDayTitle(int month, int day, int weekday);

// The language of a first run: Office's UI language (version 15, then 14), else the user's
// locale, else English. Worked out once per run.
const std::wstring& GetDefaultLanguage();
// The same worked out now, reading Office's values under officeRoot (HKEY_CURRENT_USER for the
// program).
std::wstring FindDefaultLanguage(HKEY officeRoot);

// The code of the first language whose code the locale name begins with; empty for none.
std::wstring MatchLanguage(const std::wstring& localeName);
std::wstring MatchLcid(LCID lcid);
// The language of an Office version's UI language settings ("UILanguage", then the
// "UIFallback" list); empty when none is one of ours or Office has none.
std::wstring GetOfficeUILanguage(HKEY officeRoot, int version);
