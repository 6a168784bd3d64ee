// Calendar dates as the selection conditions and the settings dialog use
// them: "yyyy/MM/dd" texts, yyyymmdd numbers and shifts into the past.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const Date&) const = default;
};

// Result codes of ParseDateText.
enum DateTextCode : int {
    kDateValid = 0,          // a valid date, or the empty text (date 0)
    kDateNotDigits = 1,      // a part holds a character that is not a digit
    kDateNotThreeParts = 2,  // not exactly three parts
    kDateBadMonth = 3,       // month outside 1 to 12
    kDateYearRaised = 4,     // year below 1900, raised to 1900
    kDateDayAdjusted = 5,    // day 0 raised to 1, or a day past the month's end lowered to it
    kDateBothAdjusted = 6,   // both adjustments
};

struct ParsedDate {
    int code = kDateValid;
    Date date;   // the (possibly adjusted) date; all zero for the empty text
    Date typed;  // the numbers as read, before any adjustment (codes 0, 4, 5, 6)
};

// Splits at "/" (runs count as one, leading and trailing ones are ignored)
// into year, month and day of digits only.
ParsedDate ParseDateText(std::wstring_view text);

// Codes 0, 4, 5 and 6 give a date that can be used.
bool DateCodeUsable(int code);

int DaysInMonth(int year, int month);

// The date `count` days (type 2), months (type 3) or years (type 4) before
// `from`; any other type gives no date.
std::optional<Date> ShiftDate(int dateType, int count, const Date& from);

// year * 10000 + month * 100 + day; 0 for the empty date.
int DateNumber(const Date& date);

// "%d/%d/%d" without leading zeros.
std::wstring DateText(const Date& date);

// Today's local date.
Date LocalToday();
