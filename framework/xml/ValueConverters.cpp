#include "framework/xml/ValueConverters.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <limits>

namespace
{
// The classic locale's white space, which stream extraction skips.
bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

size_t SkipSpace(std::wstring_view text, size_t pos)
{
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    return pos;
}

struct LeadingInteger
{
    bool found = false;
    bool negative = false;
    std::uint64_t magnitude = 0; // saturates just above the 32-bit range
};

LeadingInteger ReadLeadingInteger(std::wstring_view text)
{
    LeadingInteger result;
    size_t pos = SkipSpace(text, 0);
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-'))
        result.negative = text[pos++] == L'-';
    constexpr std::uint64_t saturated = std::uint64_t{1} << 33;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos)
    {
        result.found = true;
        result.magnitude = std::min(result.magnitude * 10 + (text[pos] - L'0'), saturated);
    }
    return result;
}

// The leading floating-point number of text as the standard streams read it: sign, digits with
// an optional decimal point, and an exponent only when digits follow it.
template <typename T>
T ReadLeadingFloating(std::wstring_view text)
{
    size_t pos = SkipSpace(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-'))
        negative = text[pos++] == L'-';

    // The extent of the number: digits with an optional point, and an exponent only with digits.
    const size_t begin = pos;
    size_t digits = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos)
        ++digits;
    if (pos < text.size() && text[pos] == L'.')
        for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos)
            ++digits;
    if (digits == 0)
        return 0;
    if (pos < text.size() && (text[pos] == L'e' || text[pos] == L'E'))
    {
        size_t at = pos + 1;
        if (at < text.size() && (text[at] == L'+' || text[at] == L'-'))
            ++at;
        if (at < text.size() && IsDigit(text[at]))
            for (pos = at; pos < text.size() && IsDigit(text[pos]);)
                ++pos;
    }

    // Narrowed for from_chars; on the stack for every number an attribute would hold.
    char small[64];
    std::string large;
    char* number = small;
    if (pos - begin >= sizeof small)
    {
        large.resize(pos - begin + 1);
        number = large.data();
    }
    const size_t length = pos - begin;
    for (size_t i = 0; i < length; ++i)
        number[i] = static_cast<char>(text[begin + i]);
    number[length] = '\0';

    T value = 0;
    const auto [end, error] = std::from_chars(number, number + length, value);
    (void)end;
    if (error == std::errc::result_out_of_range)
    {
        // Too large saturates at the largest finite value, so that it is never written as "inf";
        // too small is 0.
        const bool tooLarge = std::strtod(number, nullptr) > 1;
        value = tooLarge ? std::numeric_limits<T>::max() : T{0};
    }
    return negative ? -value : value;
}

const wchar_t* Widen(const char* begin, const char* end, Xml::ValueBuffer& buffer)
{
    size_t i = 0;
    for (const char* c = begin; c != end && i + 1 < buffer.size(); ++c)
        buffer[i++] = static_cast<wchar_t>(*c);
    buffer[i] = L'\0';
    return buffer.data();
}

template <typename T>
const wchar_t* FormatGeneral(T value, int precision, Xml::ValueBuffer& buffer)
{
    char narrow[sizeof buffer / sizeof buffer[0]];
    const auto result = std::to_chars(narrow, narrow + sizeof narrow - 1, value, std::chars_format::general, precision);
    return Widen(narrow, result.ptr, buffer);
}

// Writes value in decimal with at least width digits at out, returning the end.
wchar_t* PutNumber(wchar_t* out, unsigned value, int width)
{
    wchar_t digits[12];
    int count = 0;
    do
    {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int pad = width - count; pad > 0; --pad)
        *out++ = L'0';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
}

// Moves a clock time by minutes, carrying into the date.
void ShiftByMinutes(SYSTEMTIME& time, int minutes)
{
    std::int64_t total = DaysFromCivil(time.wYear, time.wMonth, time.wDay) * 1440 + time.wHour * 60 + time.wMinute +
                         minutes;
    std::int64_t days = total >= 0 ? total / 1440 : (total - 1439) / 1440;
    const std::int64_t minuteOfDay = total - days * 1440;
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(days, year, month, day);
    if (year < 0 || year > 0xFFFF)
        return;
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(minuteOfDay / 60);
    time.wMinute = static_cast<WORD>(minuteOfDay % 60);
}

// Reads the fields of a date-time text one after the other, as a stream would: numbers after
// optional white space, separators as any single non-blank character.
class DateTimeScanner
{
public:
    explicit DateTimeScanner(std::wstring_view text) : text_(text) {}

    bool Number(WORD& field)
    {
        pos_ = SkipSpace(text_, pos_);
        if (pos_ >= text_.size() || !IsDigit(text_[pos_]))
            return false;
        unsigned value = 0;
        for (; pos_ < text_.size() && IsDigit(text_[pos_]); ++pos_)
            value = std::min(value * 10 + (text_[pos_] - L'0'), 0xFFFFu);
        field = static_cast<WORD>(value);
        return true;
    }

    bool Separator()
    {
        pos_ = SkipSpace(text_, pos_);
        if (pos_ >= text_.size())
            return false;
        ++pos_;
        return true;
    }

    // ".123" or ",5": the fraction of a second, in milliseconds (digits beyond the third dropped).
    WORD Fraction()
    {
        if (pos_ >= text_.size() || (text_[pos_] != L'.' && text_[pos_] != L','))
            return 0;
        ++pos_;
        unsigned milliseconds = 0;
        int digits = 0;
        for (; pos_ < text_.size() && IsDigit(text_[pos_]); ++pos_, ++digits)
            if (digits < 3)
                milliseconds = milliseconds * 10 + (text_[pos_] - L'0');
        for (; digits < 3; ++digits)
            milliseconds *= 10;
        return static_cast<WORD>(milliseconds);
    }

    // The offset of "+HH:MM", "-HH:MM", "+HHMM" or "+HH" in minutes east of UTC; 0 for "Z" or none.
    int ZoneOffsetMinutes()
    {
        if (pos_ >= text_.size() || (text_[pos_] != L'+' && text_[pos_] != L'-'))
            return 0;
        const int sign = text_[pos_++] == L'-' ? -1 : 1;
        const int hours = TwoDigits();
        if (hours < 0)
            return 0;
        if (pos_ < text_.size() && text_[pos_] == L':')
            ++pos_;
        const int minutes = TwoDigits();
        return sign * (hours * 60 + (minutes < 0 ? 0 : minutes));
    }

private:
    int TwoDigits()
    {
        if (pos_ + 1 >= text_.size() || !IsDigit(text_[pos_]) || !IsDigit(text_[pos_ + 1]))
            return -1;
        const int value = (text_[pos_] - L'0') * 10 + (text_[pos_ + 1] - L'0');
        pos_ += 2;
        return value;
    }

    std::wstring_view text_;
    size_t pos_ = 0;
};
} // namespace

namespace Xml
{
const wchar_t* FormatUInt(std::uint32_t value, ValueBuffer& buffer)
{
    *PutNumber(buffer.data(), value, 1) = L'\0';
    return buffer.data();
}

const wchar_t* FormatInt(std::int32_t value, ValueBuffer& buffer)
{
    wchar_t* out = buffer.data();
    std::uint32_t magnitude = static_cast<std::uint32_t>(value);
    if (value < 0)
    {
        *out++ = L'-';
        magnitude = 0u - magnitude;
    }
    *PutNumber(out, magnitude, 1) = L'\0';
    return buffer.data();
}

const wchar_t* FormatDouble(double value, ValueBuffer& buffer) { return FormatGeneral(value, 15, buffer); }

const wchar_t* FormatFloat(float value, ValueBuffer& buffer) { return FormatGeneral(value, 6, buffer); }

const wchar_t* FormatDateTime(const SYSTEMTIME& value, ValueBuffer& buffer)
{
    wchar_t* out = PutNumber(buffer.data(), value.wYear, 2);
    *out++ = L'-';
    out = PutNumber(out, value.wMonth, 2);
    *out++ = L'-';
    out = PutNumber(out, value.wDay, 2);
    *out++ = L'T';
    out = PutNumber(out, value.wHour, 2);
    *out++ = L':';
    out = PutNumber(out, value.wMinute, 2);
    *out++ = L':';
    out = PutNumber(out, value.wSecond, 2);
    *out++ = L'.';
    out = PutNumber(out, value.wMilliseconds, 3);
    *out++ = L'Z';
    *out = L'\0';
    return buffer.data();
}
} // namespace Xml

std::wstring UIntToText(std::uint32_t value)
{
    Xml::ValueBuffer buffer;
    return Xml::FormatUInt(value, buffer);
}

std::wstring IntToText(std::int32_t value)
{
    Xml::ValueBuffer buffer;
    return Xml::FormatInt(value, buffer);
}

std::uint32_t TextToUInt(std::wstring_view text)
{
    const LeadingInteger number = ReadLeadingInteger(text);
    if (!number.found)
        return 0;
    if (number.magnitude > UINT32_MAX)
        return UINT32_MAX;
    const auto magnitude = static_cast<std::uint32_t>(number.magnitude);
    return number.negative ? 0u - magnitude : magnitude;
}

std::int32_t TextToInt(std::wstring_view text)
{
    const LeadingInteger number = ReadLeadingInteger(text);
    if (!number.found)
        return 0;
    if (number.negative)
        return number.magnitude > std::uint64_t{INT32_MAX} + 1 ? INT32_MIN
                                                               : static_cast<std::int32_t>(-static_cast<std::int64_t>(number.magnitude));
    return number.magnitude > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(number.magnitude);
}

std::wstring DoubleToText(double value)
{
    Xml::ValueBuffer buffer;
    return Xml::FormatDouble(value, buffer);
}

double TextToDouble(std::wstring_view text) { return ReadLeadingFloating<double>(text); }

std::wstring FloatToText(float value)
{
    Xml::ValueBuffer buffer;
    return Xml::FormatFloat(value, buffer);
}

float TextToFloat(std::wstring_view text) { return ReadLeadingFloating<float>(text); }

bool TextToBool(std::wstring_view text) { return text == L"true" || text == L"True" || text == L"1"; }

const wchar_t* BoolToText(bool value) { return value ? L"true" : L"false"; }

std::wstring DateTimeToText(const SYSTEMTIME& value)
{
    Xml::ValueBuffer buffer;
    return Xml::FormatDateTime(value, buffer);
}

SYSTEMTIME TextToDateTime(std::wstring_view text)
{
    SYSTEMTIME time{};
    DateTimeScanner scanner(text);
    const bool complete = scanner.Number(time.wYear) && scanner.Separator() && scanner.Number(time.wMonth) &&
                          scanner.Separator() && scanner.Number(time.wDay) && scanner.Separator() &&
                          scanner.Number(time.wHour) && scanner.Separator() && scanner.Number(time.wMinute) &&
                          scanner.Separator() && scanner.Number(time.wSecond);
    if (!complete)
        return time;
    time.wMilliseconds = scanner.Fraction();
    const int offset = scanner.ZoneOffsetMinutes();
    if (offset != 0 && time.wMonth >= 1 && time.wMonth <= 12 && time.wDay >= 1)
        ShiftByMinutes(time, -offset);
    return time;
}

int HexDigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}
