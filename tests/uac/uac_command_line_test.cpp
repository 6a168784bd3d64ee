#include <gtest/gtest.h>

#include "uac_command_line.h"

TEST(UacArguments, AcceptsExactlyTheLanguageAndTheRequest) {
    struct Case {
        const wchar_t* line;
        bool accepted;
        bool japanese = false;
        int request = 0;
    };
    const Case cases[] = {
        {L"1 2", true, true, 2},
        {L"0 0", true, false, 0},
        {L"0 1", true, false, 1},
        {L"  1 0  ", true, true, 0},
        {L"2 2", false},    // no such language
        {L"1 3", false},    // no such request
        {L"1 9", false},    // the check is not a request from outside
        {L"1", false},      // one number
        {L"1 2 3", false},  // a third
        {L"1 2 \"C:\\x.exe\"", false},
        {L"1  2", false},  // two blanks
        {L"01 2", false},
        {L"-0 2", false},
        {L"a b", false},
        {L"1\t2", false},
    };
    for (const Case& c : cases) {
        const auto parsed = ParseUacArguments(c.line);
        ASSERT_EQ(parsed.has_value(), c.accepted) << c.line;
        if (!c.accepted) continue;
        EXPECT_EQ(parsed->japanese, c.japanese) << c.line;
        EXPECT_EQ(parsed->request, c.request) << c.line;
    }
}

TEST(UacArguments, BlanksOnlyCountAsNoArguments) {
    EXPECT_TRUE(IsEmptyCommandLine(L""));
    EXPECT_TRUE(IsEmptyCommandLine(L"   "));
    EXPECT_FALSE(IsEmptyCommandLine(L" 0 "));
}
