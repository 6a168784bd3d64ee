#include "dates.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "format.h"
#include "local_time.h"

namespace {

constexpr int kFirstYear = 1900;
constexpr std::int64_t kTicksPerDay = 24LL * 60 * 60 * 10'000'000;

// Splits at "/", runs counting as one separator; empty parts are dropped.
std::vector<std::wstring_view> SplitAtSlashes(std::wstring_view text) {
    std::vector<std::wstring_view> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(L'/', start), text.size());
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The decimal value of a part of digits only; nothing when a character is not
// a digit or the value does not fit a 32-bit number.
std::optional<int> ReadNumber(std::wstring_view digits) {
    std::int64_t value = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > INT_MAX) return std::nullopt;
    }
    return static_cast<int>(value);
}

// Raises a year below 1900 and moves the day into the month; the code tells
// what was changed.
int Normalise(Date& date) {
    bool yearRaised = false;
    if (date.year < kFirstYear) {
        date.year = kFirstYear;
        yearRaised = true;
    }
    const int lastDay = DaysInMonth(date.year, date.month);
    const int day = std::clamp(date.day, 1, lastDay);
    const bool dayAdjusted = day != date.day;
    date.day = day;
    if (yearRaised && dayAdjusted) return kDateBothAdjusted;
    if (yearRaised) return kDateYearRaised;
    if (dayAdjusted) return kDateDayAdjusted;
    return kDateValid;
}

Date ClampYear(std::int64_t year, int month, int day) {
    Date date{static_cast<int>(std::clamp<std::int64_t>(year, kFirstYear, kLastFileTimeYear)), month, day};
    date.day = std::clamp(date.day, 1, DaysInMonth(date.year, date.month));
    return date;
}

std::optional<std::int64_t> LocalNoonTicks(const Date& date) {
    const auto ticks = TicksOfLocalDate(date, 12);
    if (!ticks) return std::nullopt;
    return static_cast<std::int64_t>(*ticks);
}

std::optional<Date> LocalDateOfTicks(std::int64_t ticks) {
    const auto value = static_cast<std::uint64_t>(ticks);
    const auto local = LocalTimeOf(FILETIME{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)});
    if (!local) return std::nullopt;
    return Date{local->wYear, local->wMonth, local->wDay};
}

// Counts whole days on the clock: the date's local time less count * 86,400
// seconds, converted back to a local date. Starting from noon keeps a day of
// 23 or 25 hours (a daylight-saving change) from moving the result by a day.
std::optional<Date> ShiftDays(int count, const Date& from) {
    if (count == 0) return from;
    const auto start = LocalNoonTicks(from);
    if (!start) return std::nullopt;
    const Date first{kFirstYear, 1, 1};
    const Date last{kLastFileTimeYear, 12, 31};
    const auto firstTicks = LocalNoonTicks(first);
    const auto lastTicks = LocalNoonTicks(last);
    if (!firstTicks || !lastTicks) return std::nullopt;
    // Compared in days so that no product can overflow.
    if (count > 0 && count > (*start - *firstTicks) / kTicksPerDay) return first;
    if (count < 0 && -static_cast<std::int64_t>(count) > (*lastTicks - *start) / kTicksPerDay) return last;
    return LocalDateOfTicks(*start - count * kTicksPerDay);
}

std::optional<Date> ShiftMonths(int count, const Date& from) {
    const std::int64_t back = -static_cast<std::int64_t>(count);
    std::int64_t year = from.year + back / 12;
    std::int64_t month = from.month + back % 12;
    if (month > 12) {
        month -= 12;
        ++year;
    } else if (month <= 0) {
        month += 12;
        --year;
    }
    return ClampYear(year, static_cast<int>(month), from.day);
}

std::optional<Date> ShiftYears(int count, const Date& from) {
    return ClampYear(static_cast<std::int64_t>(from.year) - count, from.month, from.day);
}

}  // namespace

ParsedDate ParseDateText(std::wstring_view text) {
    if (text.empty()) return {};
    const std::vector<std::wstring_view> parts = SplitAtSlashes(text);
    std::vector<int> numbers;
    for (const std::wstring_view part : parts) {
        const auto number = ReadNumber(part);
        if (!number) return {kDateNotDigits, {}, {}};
        numbers.push_back(*number);
    }
    if (numbers.size() != 3) return {kDateNotThreeParts, {}, {}};
    Date date{numbers[0], numbers[1], numbers[2]};
    if (date.month < 1 || date.month > 12) return {kDateBadMonth, {}, {}};
    const Date typed = date;
    const int code = Normalise(date);
    return {code, date, typed};
}

bool DateCodeUsable(int code) {
    return code == kDateValid || code == kDateYearRaised || code == kDateDayAdjusted || code == kDateBothAdjusted;
}

int DaysInMonth(int year, int month) {
    switch (month) {
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2: {
            const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
            return leap ? 29 : 28;
        }
        default:
            return (month >= 1 && month <= 12) ? 31 : 0;
    }
}

std::optional<Date> ShiftDate(int dateType, int count, const Date& from) {
    if (from.month < 1 || from.month > 12) return std::nullopt;
    switch (dateType) {
        case 2:
            return ShiftDays(count, from);
        case 3:
            return ShiftMonths(count, from);
        case 4:
            return ShiftYears(count, from);
        default:
            return std::nullopt;
    }
}

int DateNumber(const Date& date) {
    const std::int64_t number = static_cast<std::int64_t>(date.year) * 10000 + date.month * 100 + date.day;
    // A year past 214,747 cannot be told apart any more; it stays later than every real date.
    return static_cast<int>(std::clamp<std::int64_t>(number, 0, INT_MAX));
}

std::wstring DateText(const Date& date) {
    return FormatText(L"%d/%d/%d", {date.year, date.month, date.day});
}

Date LocalToday() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}
