#include <gtest/gtest.h>

#include "dates.h"

namespace {

ParsedDate Parsed(int code, int year = 0, int month = 0, int day = 0) {
    return {code, {year, month, day}, {}};
}

void ExpectParsed(std::wstring_view text, const ParsedDate& expected) {
    const ParsedDate parsed = ParseDateText(text);
    EXPECT_EQ(parsed.code, expected.code) << std::wstring(text);
    if (DateCodeUsable(expected.code)) {
        EXPECT_EQ(parsed.date, expected.date) << std::wstring(text);
    }
}

}  // namespace

TEST(DateText, ValidDatesWithOrWithoutLeadingZeros) {
    ExpectParsed(L"2024/01/05", Parsed(kDateValid, 2024, 1, 5));
    ExpectParsed(L"2024/1/5", Parsed(kDateValid, 2024, 1, 5));
    ExpectParsed(L"2024/2/29", Parsed(kDateValid, 2024, 2, 29));
}

TEST(DateText, EmptyTextIsValidAndGivesNoDate) {
    const ParsedDate parsed = ParseDateText(L"");
    EXPECT_EQ(parsed.code, kDateValid);
    EXPECT_EQ(parsed.date, Date{});
    EXPECT_EQ(DateNumber(parsed.date), 0);
}

TEST(DateText, RunsOfSlashesAndOuterSlashesAreOneSeparator) {
    ExpectParsed(L"2024//1//5", Parsed(kDateValid, 2024, 1, 5));
    ExpectParsed(L"/2024/1/5/", Parsed(kDateValid, 2024, 1, 5));
}

TEST(DateText, RefusedTexts) {
    ExpectParsed(L"2024-01-05", Parsed(kDateNotDigits));
    ExpectParsed(L"2024/1/5 ", Parsed(kDateNotDigits));
    ExpectParsed(L"2024/1", Parsed(kDateNotThreeParts));
    ExpectParsed(L"2024/1/5/6", Parsed(kDateNotThreeParts));
    ExpectParsed(L"///", Parsed(kDateNotThreeParts));
    ExpectParsed(L"2024/0/10", Parsed(kDateBadMonth));
    ExpectParsed(L"2024/13/1", Parsed(kDateBadMonth));
}

// Guards against a digit run that overflows the 32-bit value it is read into.
TEST(DateText, DigitRunsTooLongForA32BitNumberAreNotDigits) {
    ExpectParsed(L"2147483648/1/1", Parsed(kDateNotDigits));
    ExpectParsed(L"2024/99999999999999999999/1", Parsed(kDateNotDigits));
    ExpectParsed(L"2024/1/4294967301", Parsed(kDateNotDigits));
    ExpectParsed(L"000000000000002024/01/05", Parsed(kDateValid, 2024, 1, 5));
}

TEST(DateText, RepairableDatesAreAdjusted) {
    ExpectParsed(L"2024/2/30", Parsed(kDateDayAdjusted, 2024, 2, 29));
    ExpectParsed(L"2023/2/29", Parsed(kDateDayAdjusted, 2023, 2, 28));
    ExpectParsed(L"2024/1/0", Parsed(kDateDayAdjusted, 2024, 1, 1));
    ExpectParsed(L"1899/12/31", Parsed(kDateYearRaised, 1900, 12, 31));
    ExpectParsed(L"1850/4/31", Parsed(kDateBothAdjusted, 1900, 4, 30));
    // 1900 is not a leap year: the raised year decides the month's length.
    ExpectParsed(L"1896/2/29", Parsed(kDateBothAdjusted, 1900, 2, 28));
}

TEST(DateText, RepairedDatesKeepTheNumbersAsTyped) {
    EXPECT_EQ(ParseDateText(L"1850/4/31").typed, (Date{1850, 4, 31}));
    EXPECT_EQ(ParseDateText(L"2024/01/05").typed, (Date{2024, 1, 5}));
}

TEST(DateText, UsableCodes) {
    EXPECT_TRUE(DateCodeUsable(kDateValid));
    EXPECT_FALSE(DateCodeUsable(kDateNotDigits));
    EXPECT_FALSE(DateCodeUsable(kDateNotThreeParts));
    EXPECT_FALSE(DateCodeUsable(kDateBadMonth));
    EXPECT_TRUE(DateCodeUsable(kDateYearRaised));
    EXPECT_TRUE(DateCodeUsable(kDateDayAdjusted));
    EXPECT_TRUE(DateCodeUsable(kDateBothAdjusted));
}

TEST(DateText, MonthLengthsFollowTheGregorianLeapYears) {
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 2), 28);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 4), 30);
    EXPECT_EQ(DaysInMonth(2024, 11), 30);
    EXPECT_EQ(DaysInMonth(2024, 12), 31);
}

TEST(DateText, NumberAndText) {
    EXPECT_EQ(DateNumber({2024, 1, 5}), 20240105);
    EXPECT_EQ(DateText({2024, 1, 5}), L"2024/1/5");
    // Guards against an overflowing yyyymmdd number for an absurd year: it stays the latest.
    EXPECT_GT(DateNumber({2147483647, 12, 31}), DateNumber({30827, 12, 31}));
}

TEST(DateShift, DaysBack) {
    EXPECT_EQ(ShiftDate(2, 0, {2024, 3, 1}), (Date{2024, 3, 1}));
    EXPECT_EQ(ShiftDate(2, 1, {2024, 3, 1}), (Date{2024, 2, 29}));
    EXPECT_EQ(ShiftDate(2, 1, {2023, 3, 1}), (Date{2023, 2, 28}));
    EXPECT_EQ(ShiftDate(2, 31, {2024, 1, 15}), (Date{2023, 12, 15}));
    EXPECT_EQ(ShiftDate(2, 366, {2024, 12, 31}), (Date{2023, 12, 31}));
}

// Guards against counting from midnight: across the 23-hour day of a
// daylight-saving change that lands a day too early (shows only in a zone with DST).
TEST(DateShift, DaysBackAcrossADaylightSavingChange) {
    EXPECT_EQ(ShiftDate(2, 1, {2024, 4, 1}), (Date{2024, 3, 31}));
    EXPECT_EQ(ShiftDate(2, 7, {2024, 4, 3}), (Date{2024, 3, 27}));
    EXPECT_EQ(ShiftDate(2, 1, {2024, 10, 28}), (Date{2024, 10, 27}));
    EXPECT_EQ(ShiftDate(2, 1, {2024, 3, 11}), (Date{2024, 3, 10}));
}

// Guards against N * 86,400 s overflowing or leaving the platform's time range.
TEST(DateShift, HugeDayCountsStopAtTheEnds) {
    EXPECT_EQ(ShiftDate(2, 2147483647, {2024, 3, 1}), (Date{1900, 1, 1}));
    EXPECT_EQ(ShiftDate(2, -2147483647 - 1, {2024, 3, 1}), (Date{30827, 12, 31}));
}

TEST(DateShift, MonthsBackClampTheDay) {
    EXPECT_EQ(ShiftDate(3, 1, {2024, 3, 31}), (Date{2024, 2, 29}));
    EXPECT_EQ(ShiftDate(3, 1, {2023, 3, 31}), (Date{2023, 2, 28}));
    EXPECT_EQ(ShiftDate(3, 3, {2024, 5, 31}), (Date{2024, 2, 29}));
    EXPECT_EQ(ShiftDate(3, 2, {2024, 1, 15}), (Date{2023, 11, 15}));
    EXPECT_EQ(ShiftDate(3, 12, {2024, 1, 15}), (Date{2023, 1, 15}));
    EXPECT_EQ(ShiftDate(3, 13, {2024, 1, 31}), (Date{2022, 12, 31}));
    EXPECT_EQ(ShiftDate(3, 0, {2024, 1, 15}), (Date{2024, 1, 15}));
}

TEST(DateShift, YearsBackClampTheDay) {
    EXPECT_EQ(ShiftDate(4, 1, {2024, 2, 29}), (Date{2023, 2, 28}));
    EXPECT_EQ(ShiftDate(4, 4, {2024, 2, 29}), (Date{2020, 2, 29}));
    EXPECT_EQ(ShiftDate(4, 5, {2024, 6, 30}), (Date{2019, 6, 30}));
}

TEST(DateShift, YearNeverFallsBelow1900) {
    EXPECT_EQ(ShiftDate(4, 200, {2024, 6, 30}), (Date{1900, 6, 30}));
    EXPECT_EQ(ShiftDate(3, 2000, {2024, 6, 30}), (Date{1900, 10, 30}));
    // Guards against negating the smallest int.
    EXPECT_EQ(ShiftDate(4, 2147483647, {2024, 6, 30}), (Date{1900, 6, 30}));
    EXPECT_TRUE(ShiftDate(4, -2147483647 - 1, {2024, 6, 30}).has_value());
    EXPECT_TRUE(ShiftDate(3, -2147483647 - 1, {2024, 6, 30}).has_value());
}

TEST(DateShift, OtherTypesGiveNoDate) {
    EXPECT_FALSE(ShiftDate(0, 1, {2024, 6, 30}).has_value());
    EXPECT_FALSE(ShiftDate(1, 1, {2024, 6, 30}).has_value());
    EXPECT_FALSE(ShiftDate(5, 1, {2024, 6, 30}).has_value());
}
