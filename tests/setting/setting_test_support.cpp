#include "setting_test_support.h"

#include <gtest/gtest.h>

void ExpectMessage(const CheckMessage& message, std::wstring_view ja, std::wstring_view en) {
    EXPECT_EQ(FormatCheckMessage(message, true), ja);
    EXPECT_EQ(FormatCheckMessage(message, false), en);
}

void ExpectFailure(const CheckResult& result, CheckedField field, std::wstring_view ja, std::wstring_view en) {
    ASSERT_TRUE(result.has_value()) << std::wstring(en);
    EXPECT_EQ(result->field, field);
    ExpectMessage(result->message, ja, en);
}

std::wstring FindQuestionMark(std::wstring_view text) {
    return text.find(L'?') == std::wstring_view::npos ? L"" : L"? ";
}
