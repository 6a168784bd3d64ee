#include <gtest/gtest.h>

#include "elevation_exchange.h"

TEST(ElevationAnswer, FormatAndParse) {
    struct Case {
        const wchar_t* text;
        ElevationAnswer answer;
    };
    const Case cases[] = {
        {L"1 0 0", {1, {0, 0}}},
        {L"2 2005 2", {2, {2005, 2}}},
        {L"4 0 0", {4, {0, 0}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatElevationAnswer(c.answer), c.text);
        EXPECT_EQ(ParseElevationAnswer(c.text), c.answer) << c.text;
    }
}

TEST(ElevationAnswer, MissingNumbersReadAsZero) {
    EXPECT_EQ(ParseElevationAnswer(L"2"), (ElevationAnswer{2, {0, 0}}));
    EXPECT_EQ(ParseElevationAnswer(L"2 2060"), (ElevationAnswer{2, {2060, 0}}));
    EXPECT_EQ(ParseElevationAnswer(L""), ElevationAnswer{});
    EXPECT_EQ(ParseElevationAnswer(L"x y z"), ElevationAnswer{});
}
