#include <gtest/gtest.h>

#include "elevation_exchange.h"

TEST(ElevationAnswer, FormatAndParse) {
    struct Case {
        const wchar_t* text;
        ElevationAnswer answer;
    };
    const Case cases[] = {
        {L"0 0 0", {ElevationStatus::NothingDone, {0, 0}}},
        {L"1 0 0", {ElevationStatus::Done, {0, 0}}},
        {L"2 2005 2", {ElevationStatus::Failed, {2005, 2}}},
        {L"4 0 0", {ElevationStatus::NothingToRemove, {0, 0}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatElevationAnswer(c.answer), c.text);
        EXPECT_EQ(ParseElevationAnswer(c.text), c.answer) << c.text;
    }
}

TEST(ElevationAnswer, MissingNumbersReadAsZero) {
    EXPECT_EQ(ParseElevationAnswer(L"2"), (ElevationAnswer{ElevationStatus::Failed, {0, 0}}));
    EXPECT_EQ(ParseElevationAnswer(L"2 2060"), (ElevationAnswer{ElevationStatus::Failed, {2060, 0}}));
    EXPECT_EQ(ParseElevationAnswer(L""), ElevationAnswer{});
    EXPECT_EQ(ParseElevationAnswer(L"x y z"), ElevationAnswer{});
}

TEST(ElevationAnswer, AStatusNumberThatMeansNoStatusReadsAsFailed) {
    for (const wchar_t* text : {L"3 0 0", L"-1 0 0", L"9 0 0", L"4294967297 0 0"})
        EXPECT_EQ(ParseElevationAnswer(text).status, ElevationStatus::Failed) << text;
}
