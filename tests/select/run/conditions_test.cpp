#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/conditions.h"
#include "message_capture.h"
#include "test_files.h"

namespace {

using Patterns = std::vector<std::wstring>;

class ConditionParsing : public ::testing::Test {
protected:
    MessageCapture messages;
    std::vector<MessageRequest>& shown = messages.boxes;
};

// Patterns of a condition text, expecting the parse to succeed.
Patterns Parse(std::wstring text) {
    ConditionList list;
    EXPECT_EQ(ParseConditionList(text, list), std::nullopt);
    return list.patterns;
}

FILETIME LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    EXPECT_TRUE(::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    return data.ftLastWriteTime;
}

// The conditions that LoadSettings and the start-up would make of `settings`.
SelectionConditions ConditionsOf(Settings settings, const Date& today = LocalToday()) {
    SelectionConditions c;
    c.selectMode = settings.SelectMode;
    c.updateDateType = settings.UpdateDateType;
    EXPECT_EQ(ParseConditionList(settings.TargetFile, c.lists[kTargetList]), std::nullopt);
    EXPECT_EQ(ParseConditionList(settings.NoTargetFile, c.lists[kNoTargetList]), std::nullopt);
    EXPECT_EQ(ParseConditionList(settings.ExTargetFile, c.lists[kExTargetList]), std::nullopt);
    EXPECT_EQ(ParseConditionList(settings.ExNoTargetFile, c.lists[kExNoTargetList]), std::nullopt);
    c.bounds = ComputeDateBounds(settings, today);
    return c;
}

bool SelectsName(const SelectionConditions& c, std::wstring_view name) {
    return IsFileSelected(c, name, FILETIME{});
}

Settings NameMode(int mode, std::wstring target, std::wstring exNoTarget, std::wstring noTarget,
                  std::wstring exTarget) {
    Settings s;
    s.SelectMode = mode;
    s.TargetFile = std::move(target);
    s.ExNoTargetFile = std::move(exNoTarget);
    s.NoTargetFile = std::move(noTarget);
    s.ExTargetFile = std::move(exTarget);
    return s;
}

Settings DateCondition(int type, int value, std::wstring start = L"", std::wstring end = L"") {
    Settings s;
    s.SelectMode = 2;
    s.UpdateDateType = type;
    s.UpdateDateVal = value;
    s.UpdateDateStr = std::move(start);
    s.UpdateDateEnd = std::move(end);
    return s;
}

// A file in `dir` last written at the given local time.
class DatedFiles {
public:
    FILETIME At(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
        const std::wstring path = dir_ / (L"f" + std::to_wstring(count_++) + L".txt");
        WriteText(path, "x");
        SetLastWriteTime(path, year, month, day, hour, minute, second);
        return LastWriteTime(path);
    }

private:
    TempDir dir_;
    int count_ = 0;
};

}  // namespace

TEST_F(ConditionParsing, TrimsLowerCasesAndDropsEmptyParts) {
    std::wstring text = L"  *.TXT : File*.DOCX ::  :   : *.xls*  ";
    ConditionList list;
    ASSERT_EQ(ParseConditionList(text, list), std::nullopt);
    EXPECT_EQ(list.patterns, (Patterns{L"*.txt", L"file*.docx", L"*.xls*"}));
    EXPECT_EQ(text, L"*.TXT : File*.DOCX ::  :   : *.xls*");
    EXPECT_TRUE(shown.empty());
}

TEST_F(ConditionParsing, EmptyAndSeparatorOnlyTextsGiveEmptyLists) {
    EXPECT_TRUE(Parse(L"").empty());
    EXPECT_TRUE(Parse(L"   ").empty());
    EXPECT_TRUE(Parse(L":::").empty());
    EXPECT_TRUE(Parse(L" : : ").empty());
    EXPECT_EQ(Parse(L"a.txt:"), (Patterns{L"a.txt"}));
    EXPECT_EQ(Parse(L":a.txt"), (Patterns{L"a.txt"}));
}

TEST_F(ConditionParsing, ReplacesWhatTheListHeld) {
    ConditionList list;
    list.patterns = {L"old"};
    std::wstring text = L"new";
    ASSERT_EQ(ParseConditionList(text, list), std::nullopt);
    EXPECT_EQ(list.patterns, (Patterns{L"new"}));
}

TEST_F(ConditionParsing, PatternOf259CharactersIsAccepted) {
    const std::wstring pattern(259, L'a');
    EXPECT_EQ(Parse(L"*.txt: " + pattern + L" "), (Patterns{L"*.txt", pattern}));
    EXPECT_TRUE(shown.empty());
}

TEST_F(ConditionParsing, PatternOf260CharactersRefusesTheListAndIsGivenBack) {
    const std::wstring pattern = L"X" + std::wstring(259, L'b');
    std::wstring text = L"*.txt :  " + pattern + L"  : *.doc";
    ConditionList list;
    EXPECT_EQ(ParseConditionList(text, list), pattern);
    EXPECT_TRUE(list.patterns.empty());
    EXPECT_TRUE(shown.empty());  // the caller says why
}

TEST(Wildcard, StarStandsForAnyRun) {
    EXPECT_TRUE(MatchWildcard(L"a.txt", L"*.txt"));
    EXPECT_TRUE(MatchWildcard(L".txt", L"*.txt"));
    EXPECT_FALSE(MatchWildcard(L"a.txt.bak", L"*.txt"));
    EXPECT_TRUE(MatchWildcard(L"report.xlsx", L"*.xls*"));
    EXPECT_TRUE(MatchWildcard(L"report.xls", L"*.xls*"));
    EXPECT_TRUE(MatchWildcard(L"file1.docx", L"file*.docx"));
    EXPECT_TRUE(MatchWildcard(L"anything", L"*"));
    EXPECT_TRUE(MatchWildcard(L"anything", L"***"));
    EXPECT_TRUE(MatchWildcard(L"abc", L"a**c"));
}

TEST(Wildcard, OtherCharactersStandForThemselves) {
    EXPECT_TRUE(MatchWildcard(L"a.txt", L"a.txt"));
    EXPECT_FALSE(MatchWildcard(L"b.txt", L"a.txt"));
    EXPECT_FALSE(MatchWildcard(L"a.txt", L"a.tx"));
    EXPECT_FALSE(MatchWildcard(L"a.tx", L"a.txt"));
    EXPECT_FALSE(MatchWildcard(L"ab.txt", L"a?.txt"));
    EXPECT_TRUE(MatchWildcard(L"a?.txt", L"a?.txt"));
    EXPECT_TRUE(MatchWildcard(L"報告書.txt", L"報告*.txt"));
}

TEST(Wildcard, EmptyNamesAndPatterns) {
    EXPECT_TRUE(MatchWildcard(L"", L""));
    EXPECT_TRUE(MatchWildcard(L"", L"*"));
    EXPECT_FALSE(MatchWildcard(L"", L"a"));
    EXPECT_FALSE(MatchWildcard(L"a", L""));
}

// Guards against taking the first occurrence of a segment without trying a later one.
TEST(Wildcard, LaterOccurrencesAreTried) {
    EXPECT_TRUE(MatchWildcard(L"a.txt.txt", L"*.txt"));
    EXPECT_TRUE(MatchWildcard(L"abcdefdef", L"abc*def"));
    EXPECT_TRUE(MatchWildcard(L"xaxbxaxc", L"*a*c"));
    EXPECT_TRUE(MatchWildcard(L"mississippi", L"*sip*i"));
    EXPECT_FALSE(MatchWildcard(L"mississippi", L"*sip*s"));
}

// Guards against ignoring the rest of the pattern once the name is used up.
TEST(Wildcard, WholePatternMustBeUsed) {
    EXPECT_FALSE(MatchWildcard(L"abc", L"abc*def"));
    EXPECT_TRUE(MatchWildcard(L"abcdef", L"abc*def"));
    EXPECT_FALSE(MatchWildcard(L"a", L"a*b"));
    EXPECT_TRUE(MatchWildcard(L"abc", L"abc*"));
}

// Guards against backtracking that grows exponentially with the number of stars.
TEST(Wildcard, AdversarialPatternsFinish) {
    const std::wstring as(8000, L'a');
    EXPECT_FALSE(MatchWildcard(as, L"*a*a*a*a*b"));
    EXPECT_TRUE(MatchWildcard(as + L"b", L"*a*a*a*a*b"));
    std::wstring many;
    for (int i = 0; i < 120; ++i) many += L"*a";
    EXPECT_FALSE(MatchWildcard(as, many + L"*b"));
    EXPECT_TRUE(MatchWildcard(as, many + L"*"));
}

TEST(NameSelection, TargetModeCopiesMatchesExceptExceptions) {
    const auto c = ConditionsOf(NameMode(0, L"*.txt : FILE*.DOCX", L"secret*", L"*.txt", L""));
    EXPECT_TRUE(SelectsName(c, L"notes.txt"));
    EXPECT_TRUE(SelectsName(c, L"NOTES.TXT"));
    EXPECT_TRUE(SelectsName(c, L"file1.docx"));
    EXPECT_TRUE(SelectsName(c, L"File.docx"));
    EXPECT_FALSE(SelectsName(c, L"secret.txt"));
    EXPECT_FALSE(SelectsName(c, L"image.png"));
}

TEST(NameSelection, TargetModeWithoutTargetsSelectsNothing) {
    const auto c = ConditionsOf(NameMode(0, L"", L"", L"*", L"*"));
    EXPECT_FALSE(SelectsName(c, L"a.txt"));
    EXPECT_FALSE(SelectsEverything(c));
}

TEST(NameSelection, ExcludeModeCopiesAllButExclusionsExceptTargets) {
    const auto c = ConditionsOf(NameMode(1, L"*.txt", L"", L"*.tmp : *.bak", L"keep*"));
    EXPECT_TRUE(SelectsName(c, L"a.txt"));
    EXPECT_FALSE(SelectsName(c, L"a.tmp"));
    EXPECT_FALSE(SelectsName(c, L"A.BAK"));
    EXPECT_TRUE(SelectsName(c, L"keep.bak"));
    EXPECT_FALSE(SelectsEverything(c));
}

TEST(NameSelection, ExcludeModeWithoutExclusionsSelectsEverything) {
    const auto c = ConditionsOf(NameMode(1, L"", L"", L"", L"x*"));
    EXPECT_TRUE(SelectsName(c, L"a.tmp"));
    EXPECT_TRUE(SelectsEverything(c));
}

TEST(NameSelection, NoNameConditionAndUnknownModes) {
    EXPECT_TRUE(SelectsName(ConditionsOf(NameMode(2, L"*.txt", L"*", L"*", L"")), L"a.png"));
    EXPECT_TRUE(SelectsEverything(ConditionsOf(NameMode(2, L"", L"", L"", L""))));
    const auto unknown = ConditionsOf(NameMode(3, L"*", L"", L"", L"*"));
    EXPECT_FALSE(SelectsName(unknown, L"a.txt"));
    EXPECT_FALSE(SelectsEverything(unknown));
}

TEST(DateBoundsTest, NoDateConditionLeavesEverythingEmpty) {
    const DateBounds b = ComputeDateBounds(DateCondition(0, 5, L"2024/1/1", L"2024/2/1"), {2024, 3, 31});
    EXPECT_EQ(b.start, 0);
    EXPECT_EQ(b.rangeStart, 0);
    EXPECT_EQ(b.rangeEnd, 0);
    EXPECT_TRUE(b.todayText.empty());
    EXPECT_TRUE(b.rangeStartText.empty());
}

TEST(DateBoundsTest, RangeNumbersAndTexts) {
    const DateBounds b = ComputeDateBounds(DateCondition(1, 0, L"2024/01/05", L"1899/2/30"), {2024, 3, 31});
    EXPECT_EQ(b.rangeStart, 20240105);
    EXPECT_EQ(b.rangeStartText, L"2024/1/5");
    EXPECT_EQ(b.rangeEnd, 19000228);
    EXPECT_EQ(b.rangeEndText, L"1900/2/28");
    EXPECT_EQ(b.todayText, L"2024/3/31");
    EXPECT_EQ(b.start, 0);
}

TEST(DateBoundsTest, EmptyOrInvalidRangeEndsStayOpen) {
    const DateBounds b = ComputeDateBounds(DateCondition(1, 0, L"2024-01-05", L""), {2024, 3, 31});
    EXPECT_EQ(b.rangeStart, 0);
    EXPECT_EQ(b.rangeEnd, 0);
    EXPECT_TRUE(b.rangeStartText.empty());
    EXPECT_TRUE(b.rangeEndText.empty());
    EXPECT_EQ(ComputeDateBounds(DateCondition(1, 0, L"2024/13/1", L"2024/1"), {2024, 3, 31}).rangeEnd, 0);
}

TEST(DateBoundsTest, PeriodsBackFromToday) {
    EXPECT_EQ(ComputeDateBounds(DateCondition(2, 0), {2024, 3, 31}).start, 20240331);
    EXPECT_EQ(ComputeDateBounds(DateCondition(2, 31), {2024, 3, 31}).start, 20240229);
    const DateBounds months = ComputeDateBounds(DateCondition(3, 1), {2024, 3, 31});
    EXPECT_EQ(months.start, 20240229);
    EXPECT_EQ(months.startText, L"2024/2/29");
    EXPECT_EQ(ComputeDateBounds(DateCondition(3, 1), {2023, 3, 31}).start, 20230228);
    EXPECT_EQ(ComputeDateBounds(DateCondition(4, 1), {2024, 2, 29}).start, 20230228);
    EXPECT_EQ(ComputeDateBounds(DateCondition(9, 1), {2024, 2, 29}).start, 0);
}

TEST(DateSelection, RangeEndsAreInclusiveLocalDays) {
    DatedFiles files;
    const auto c = ConditionsOf(DateCondition(1, 0, L"2024/01/10", L"2024/01/20"));
    EXPECT_FALSE(IsFileSelected(c, L"a", files.At(2024, 1, 9, 23, 59, 59)));
    EXPECT_TRUE(IsFileSelected(c, L"a", files.At(2024, 1, 10, 0, 0, 0)));
    EXPECT_TRUE(IsFileSelected(c, L"a", files.At(2024, 1, 15)));
    EXPECT_TRUE(IsFileSelected(c, L"a", files.At(2024, 1, 20, 23, 59, 59)));
    EXPECT_FALSE(IsFileSelected(c, L"a", files.At(2024, 1, 21, 0, 0, 0)));
    EXPECT_FALSE(SelectsEverything(c));
}

// Guards against converting with today's daylight-saving offset instead of
// the one in force on the file's date (shows only in a zone with DST).
TEST(DateSelection, LocalDayUsesTheRulesOfTheFilesDate) {
    DatedFiles files;
    const auto summer = ConditionsOf(DateCondition(1, 0, L"2024/7/10", L"2024/7/20"));
    EXPECT_TRUE(IsFileSelected(summer, L"a", files.At(2024, 7, 10, 0, 30)));
    EXPECT_FALSE(IsFileSelected(summer, L"a", files.At(2024, 7, 21, 0, 30)));
    const auto winter = ConditionsOf(DateCondition(1, 0, L"2024/1/10", L"2024/1/20"));
    EXPECT_TRUE(IsFileSelected(winter, L"a", files.At(2024, 1, 20, 23, 30)));
    EXPECT_FALSE(IsFileSelected(winter, L"a", files.At(2024, 1, 9, 23, 30)));
}

TEST(DateSelection, OpenRangeEnds) {
    DatedFiles files;
    const auto from = ConditionsOf(DateCondition(1, 0, L"2024/01/10", L""));
    EXPECT_FALSE(IsFileSelected(from, L"a", files.At(2024, 1, 9)));
    EXPECT_TRUE(IsFileSelected(from, L"a", files.At(2030, 6, 1)));
    const auto until = ConditionsOf(DateCondition(1, 0, L"", L"2024/01/20"));
    EXPECT_TRUE(IsFileSelected(until, L"a", files.At(1990, 1, 1)));
    EXPECT_FALSE(IsFileSelected(until, L"a", files.At(2024, 1, 21)));
    const auto neither = ConditionsOf(DateCondition(1, 0, L"", L""));
    EXPECT_TRUE(IsFileSelected(neither, L"a", files.At(1990, 1, 1)));
    EXPECT_TRUE(SelectsEverything(neither));
}

TEST(DateSelection, TodayOnly) {
    DatedFiles files;
    const auto c = ConditionsOf(DateCondition(2, 0), {2024, 3, 31});
    EXPECT_FALSE(IsFileSelected(c, L"a", files.At(2024, 3, 30, 23, 59, 59)));
    EXPECT_TRUE(IsFileSelected(c, L"a", files.At(2024, 3, 31, 0, 0, 0)));
    // A file written now passes "today" taken from the clock.
    const auto now = ConditionsOf(DateCondition(2, 0));
    TempDir dir;
    WriteText(dir / L"new.txt", "x");
    EXPECT_TRUE(IsFileSelected(now, L"new.txt", LastWriteTime(dir / L"new.txt")));
}

TEST(DateSelection, DaysMonthsAndYearsBack) {
    DatedFiles files;
    const auto days = ConditionsOf(DateCondition(2, 7), {2024, 3, 31});
    EXPECT_FALSE(IsFileSelected(days, L"a", files.At(2024, 3, 23, 23, 59, 59)));
    EXPECT_TRUE(IsFileSelected(days, L"a", files.At(2024, 3, 24, 0, 0, 0)));
    const auto months = ConditionsOf(DateCondition(3, 1), {2024, 3, 31});
    EXPECT_FALSE(IsFileSelected(months, L"a", files.At(2024, 2, 28, 23, 59, 59)));
    EXPECT_TRUE(IsFileSelected(months, L"a", files.At(2024, 2, 29, 0, 0, 0)));
    const auto years = ConditionsOf(DateCondition(4, 1), {2024, 2, 29});
    EXPECT_FALSE(IsFileSelected(years, L"a", files.At(2023, 2, 27, 23, 59, 59)));
    EXPECT_TRUE(IsFileSelected(years, L"a", files.At(2023, 2, 28, 0, 0, 0)));
    EXPECT_FALSE(SelectsEverything(years));
}

TEST(DateSelection, DateAndNameConditionsMustBothPass) {
    DatedFiles files;
    Settings s = DateCondition(1, 0, L"2024/01/10", L"2024/01/20");
    s.SelectMode = 0;
    s.TargetFile = L"*.txt";
    const auto c = ConditionsOf(s);
    const FILETIME inRange = files.At(2024, 1, 15);
    EXPECT_TRUE(IsFileSelected(c, L"a.txt", inRange));
    EXPECT_FALSE(IsFileSelected(c, L"a.doc", inRange));
    EXPECT_FALSE(IsFileSelected(c, L"a.txt", files.At(2024, 1, 21)));
}
