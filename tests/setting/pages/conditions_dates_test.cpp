#include <gtest/gtest.h>

#include "pages/conditions_dates.h"
#include "setting_test_support.h"

TEST(DateList, ItemTexts) {
    const struct {
        int item;
        std::wstring_view ja, en;
    } cases[] = {
        {3, L"1日前まで", L"1 day ago"},   {4, L"2日前まで", L"2 days ago"},   {34, L"2ヶ月前まで", L"2 months ago"},
        {44, L"1年前まで", L"1 year ago"}, {48, L"5年前まで", L"5 years ago"}, {49, L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateItemText(c.item, true), c.ja);
        EXPECT_EQ(DateItemText(c.item, false), c.en);
    }
}

TEST(DateList, EveryItemStoresWhatSelectsItAgain) {
    for (int item = 0; item < kDateItemCount; ++item) EXPECT_EQ(DateItemOf(DateConditionOfItem(item)), item);
    EXPECT_EQ(DateConditionOfItem(35), (DateCondition{3, 3}));
    EXPECT_EQ(DateConditionOfItem(-1), (DateCondition{0, 0}));
    EXPECT_EQ(DateItemOf({3, 1}), 0);   // there is no item for one month
    EXPECT_EQ(DateItemOf({2, 40}), 0);  // a day count that would land on a month item
    EXPECT_EQ(DateItemOf({4, 6}), 0);
}

TEST(DateList, DisplayOfTheChosenItem) {
    EXPECT_FALSE(DateDisplayFor(0, {2024, 5, 31}).rangeEdits);
    EXPECT_FALSE(DateDisplayFor(0, {2024, 5, 31}).startLabel);
    EXPECT_TRUE(DateDisplayFor(1, {2024, 5, 31}).rangeEdits);
    EXPECT_EQ(DateDisplayFor(2, {2024, 5, 31}).label, L"(2024/5/31)");
    EXPECT_EQ(DateDisplayFor(35, {2024, 5, 31}).label, L"(2024/2/29 -)");
    EXPECT_EQ(DateDisplayFor(35, {2023, 5, 31}).label, L"(2023/2/28 -)");
    EXPECT_EQ(DateDisplayFor(4, {2024, 3, 1}).label, L"(2024/2/28 -)");
}

TEST(DateChecks, RepairsAreRewrittenAndAnnounced) {
    const struct {
        std::wstring start, end, startAfter, endAfter;
        std::vector<std::wstring> notices;  // English
    } cases[] = {
        {L"2024/01/05", L"", L"2024/01/05", L"", {}},
        {L"2024//1//5", L"/2024/1/5/", L"2024//1//5", L"/2024/1/5/", {}},
        {L"2023/2/29",
         L"2024/2/30",
         L"2023/2/28",
         L"2024/2/29",
         {L"The file update date range specification (start date) is incorrect, replace and register it.\n\n"
          L"Day:29 -> 28 ",
          L"The file update date range specification (end date) is incorrect, replace and register it.\n\n"
          L"Day:30 -> 29 "}},
        {L"1850/4/31",
         L"2024/1/0",
         L"1900/4/30",
         L"2024/1/1",
         {L"The file update date range specification (start date) is incorrect, replace and register it.\n\n"
          L"Year:1850 -> 1900 Day:31 -> 30 ",
          L"The file update date range specification (end date) is incorrect, replace and register it.\n\n"
          L"Day:0 -> 1 "}},
    };
    for (const auto& c : cases) {
        std::wstring start = c.start;
        std::wstring end = c.end;
        const DateChecks checks = CheckDates(start, end);
        EXPECT_FALSE(checks.failure) << c.start;
        EXPECT_EQ(start, c.startAfter);
        EXPECT_EQ(end, c.endAfter);
        ASSERT_EQ(checks.notices.size(), c.notices.size()) << c.start;
        for (std::size_t i = 0; i < c.notices.size(); ++i)
            EXPECT_EQ(FormatCheckMessage(checks.notices[i], false), c.notices[i]);
    }
    std::wstring start = L"1899/12/31";
    std::wstring end;
    EXPECT_EQ(FormatCheckMessage(CheckDates(start, end).notices.at(0), true),
              L"ファイル更新日の範囲指定(開始日)が不正なため、置き換えて登録します。\n\nYear:1899 -> 1900 ");
}

TEST(DateChecks, RefusalsWithTheirReasons) {
    const struct {
        std::wstring start, end;
        CheckedField field;
        std::wstring_view ja, en;
    } cases[] = {
        {L"2024-01-05", L"", CheckedField::UpdateDateStr,
         L"ファイル更新日の範囲指定(開始日)が不正です。\n2024-01-05\n数値で入力してください。\n",
         L"The file update date range specification (start date) is invalid.\n2024-01-05\n"
         L"Please enter with a numerical value.\n"},
        {L"", L"2024/1", CheckedField::UpdateDateEnd,
         L"ファイル更新日の範囲指定(終了日)が不正です。\n2024/1\nyyyy/MM/dd形式で入力してください。\n",
         L"The file update date range specification (end date) is invalid.\n2024/1\n"
         L"Please enter in yyyy / MM / dd format.\n"},
        {L"2024/13/1", L"", CheckedField::UpdateDateStr,
         L"ファイル更新日の範囲指定(開始日)が不正です。\n2024/13/1\n日付が存在しません。\n",
         L"The file update date range specification (start date) is invalid.\n2024/13/1\nThe date does not exist.\n"},
        {L"2024/5/1", L"2024/04/30", CheckedField::UpdateDateEnd,
         L"ファイル更新日の範囲指定で、開始日よりも終了日が早くなっています。\n\n2024/5/1 > 2024/04/30\n",
         L"The file update date range, the end date is earlier than the start date.\n\n2024/5/1 > 2024/04/30\n"},
    };
    for (const auto& c : cases) {
        std::wstring start = c.start;
        std::wstring end = c.end;
        ExpectFailure(CheckDates(start, end).failure, c.field, c.ja, c.en);
    }
}

TEST(DateChecks, OrderPassesForEqualDatesAndAMissingStart) {
    std::wstring start = L"2024/5/1";
    std::wstring end = L"2024/05/01";
    EXPECT_FALSE(CheckDates(start, end).failure);
    start.clear();
    end = L"1990/1/1";
    EXPECT_FALSE(CheckDates(start, end).failure);
}
