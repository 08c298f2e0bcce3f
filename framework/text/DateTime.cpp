#include "framework/text/DateTime.h"

#include "framework/text/Text.h"

#include <atomic>
#include <iomanip>
#include <sstream>

namespace
{
__time64_t SystemNow() { return _time64(nullptr); }

std::atomic<Clock>& CurrentClock()
{
    static std::atomic<Clock> clock{&SystemNow};
    return clock;
}

tm LocalFields(__time64_t time)
{
    tm local{};
    _localtime64_s(&local, &time);
    return local;
}

SYSTEMTIME ToSystemTime(const tm& fields)
{
    SYSTEMTIME result{};
    result.wYear = static_cast<WORD>(fields.tm_year + 1900);
    result.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    result.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    result.wDay = static_cast<WORD>(fields.tm_mday);
    result.wHour = static_cast<WORD>(fields.tm_hour);
    result.wMinute = static_cast<WORD>(fields.tm_min);
    result.wSecond = static_cast<WORD>(fields.tm_sec);
    return result;
}

tm FromSystemTime(const SYSTEMTIME& time)
{
    tm fields{};
    fields.tm_year = time.wYear - 1900;
    fields.tm_mon = time.wMonth - 1;
    fields.tm_mday = time.wDay;
    fields.tm_hour = time.wHour;
    fields.tm_min = time.wMinute;
    fields.tm_sec = time.wSecond;
    return fields;
}
} // namespace

DateTime::DateTime() : DateTime(CurrentClock().load()()) {}

DateTime::DateTime(__time64_t seconds) : time(seconds), local(LocalFields(seconds)) {}

DateTime::DateTime(const SYSTEMTIME& utc)
{
    tm fields = FromSystemTime(utc);
    time = _mkgmtime64(&fields);
    local = LocalFields(time);
}

DateTime::DateTime(int year, int month, int day, int hour)
{
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_isdst = -1;
    time = _mktime64(&local);
}

DateTime DateTime::FromLocalSystemTime(const SYSTEMTIME& localTime)
{
    DateTime result(0);
    result.local = FromSystemTime(localTime);
    result.local.tm_isdst = -1;
    result.time = _mktime64(&result.local);
    return result;
}

SYSTEMTIME DateTime::ToUtcSystemTime() const
{
    tm utc{};
    _gmtime64_s(&utc, &time);
    return ToSystemTime(utc);
}

SYSTEMTIME DateTime::ToLocalSystemTime() const { return ToSystemTime(local); }

DateTime DateTime::LocalNoon() const { return LocalDay(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday); }

bool DateTime::IsSameDay(const DateTime& other) const
{
    return local.tm_year == other.local.tm_year && local.tm_mon == other.local.tm_mon &&
           local.tm_mday == other.local.tm_mday;
}

Clock SetClock(Clock clock) { return CurrentClock().exchange(clock ? clock : &SystemNow); }

int DaysInMonth(int year, int month)
{
    switch (month)
    {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
    default:
        return 31;
    }
}

bool IsValidSystemTime(const SYSTEMTIME& value)
{
    return value.wYear >= 1601 && value.wYear <= 30827 && value.wMonth >= 1 && value.wMonth <= 12 &&
           value.wDay >= 1 && value.wDay <= DaysInMonth(value.wYear, value.wMonth) && value.wHour < 24 &&
           value.wMinute < 60 && value.wSecond < 60 && value.wMilliseconds < 1000;
}

std::wstring FormatDateTime(const DateTime& dateTime, bool local)
{
    tm localFields = dateTime.local;
    // UTC minus local time: negative east of Greenwich.
    const long long utcMinusLocal = static_cast<long long>(_difftime64(dateTime.time, _mkgmtime64(&localFields)));
    tm fields = dateTime.local;
    if (!local)
        _gmtime64_s(&fields, &dateTime.time);

    std::wostringstream text;
    text.fill(L'0');
    text << std::setw(2) << fields.tm_year + 1900 << L'-' << std::setw(2) << fields.tm_mon + 1 << L'-'
         << std::setw(2) << fields.tm_mday << L'T' << std::setw(2) << fields.tm_hour << L':' << std::setw(2)
         << fields.tm_min << L':' << std::setw(2) << fields.tm_sec << L".000";
    if (!local)
    {
        text << L'Z';
    }
    else
    {
        const long long magnitude = utcMinusLocal < 0 ? -utcMinusLocal : utcMinusLocal;
        text << (utcMinusLocal <= 0 ? L'+' : L'-') << std::setw(2) << magnitude / 3600 << L':' << std::setw(2)
             << magnitude % 3600 / 60;
    }
    return text.str();
}

std::optional<DateTime> ParseDateTime(const std::wstring& text)
{
    std::wistringstream stream(text);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
    int offsetHours = 0, offsetMinutes = 0;
    // Separators are taken as they come (get, not >>): a blank may stand in place of the "T".
    const auto separator = [&stream] { return stream.get(); };
    if (!(stream >> year) || separator() == WEOF || !(stream >> month) || separator() == WEOF || !(stream >> day))
        return std::nullopt;

    std::wistringstream::int_type zone = WEOF;
    if (separator() != WEOF && stream >> hour && separator() != WEOF && stream >> minute &&
        separator() != WEOF && stream >> second)
    {
        // The fraction is optional in xsd:dateTime: what follows the seconds may be the zone.
        zone = separator();
        if (zone == L'.')
        {
            stream >> milliseconds;
            zone = stream ? separator() : WEOF;
        }
        if (zone == L'+' || zone == L'-')
        {
            stream >> offsetHours;
            if (stream && separator() != WEOF)
                stream >> offsetMinutes;
        }
    }
    if (zone == L'+')
    {
        hour -= offsetHours;
        minute -= offsetMinutes;
    }
    else if (zone == L'-')
    {
        hour += offsetHours;
        minute += offsetMinutes;
    }

    tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    const __time64_t time = _mkgmtime64(&fields);
    if (time == -1)
        return std::nullopt;
    return DateTime(time);
}

std::wstring GetDateText(const DateTime& dateTime, int kind)
{
    if (kind == 9)
        return IntToWString(dateTime.local.tm_yday + 1);
    if (kind == 10)
        return IntToWString(dateTime.local.tm_wday);

    DWORD flags = 0;
    const wchar_t* picture = nullptr;
    switch (kind)
    {
    case 0:
        flags = DATE_LONGDATE;
        break;
    case 1:
        flags = DATE_SHORTDATE;
        break;
    case 2:
        picture = L"dddd";
        break;
    case 3:
        picture = L"ddd";
        break;
    case 4:
        picture = L"yyyy";
        break;
    case 5:
        picture = L"MM";
        break;
    case 6:
        picture = L"dd";
        break;
    case 7:
        picture = L"MMMM";
        break;
    case 8:
        picture = L"MMM";
        break;
    default:
        break;
    }
    const SYSTEMTIME date = dateTime.ToLocalSystemTime();
    wchar_t buffer[255] = {};
    if (GetDateFormatW(LOCALE_USER_DEFAULT, flags, &date, picture, buffer, 255) == 0)
        return {};
    return buffer;
}
