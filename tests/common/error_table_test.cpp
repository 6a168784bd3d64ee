#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "error_table.h"
#include "error_texts.h"
#include "language.h"

namespace {
struct EnglishScope {
    explicit EnglishScope(bool japanese = false) { SetJapanese(japanese); }
    ~EnglishScope() { SetJapanese(false); }
};
}  // namespace

TEST(ErrorMessageTable, HoldsEveryRecordOnce) {
    const auto table = ErrorMessageTable();
    EXPECT_EQ(table.size(), 55u);
    EXPECT_EQ(std::count_if(table.begin(), table.end(), [](const ErrorMessage& m) { return m.code == 2063; }), 2);
    std::set<int> codes;
    for (const ErrorMessage& m : table) {
        codes.insert(m.code);
        EXPECT_LT(m.ja.size(), 256u);
        EXPECT_LT(m.en.size(), 256u);
    }
    EXPECT_EQ(codes.size(), 54u);
    for (int code : {1000, 1003, 1006, 1010, 1013, 2005, 1020, 2001, 2010, 1021, 1035, 1040, 1046, 1050,
                     1053, 1065, 1070, 1106, 2000, 2011, 2021, 2030, 2033, 2039, 2050, 2056, 2060})
        EXPECT_TRUE(codes.count(code)) << code;
}

TEST(ErrorMessageTable, LookupFollowsTheLanguage) {
    EnglishScope english;
    EXPECT_EQ(LookupErrorMessage(1053), L"Failed to get the shortcut of  information.");
    EXPECT_EQ(LookupErrorMessage(1050), L"Failed to get the shortcut of information.");
    EXPECT_EQ(LookupErrorMessage(1100), L"Failed to the context menu of the update.");
    EXPECT_EQ(LookupErrorMessage(2060), L"Failed to update the context menu(registry).");
    EXPECT_EQ(LookupErrorMessage(4242), L"");
    SetJapanese(true);
    EXPECT_EQ(LookupErrorMessage(2000), L"VaroUACは管理者権限で起動してください。");
}

TEST(ErrorText, CodeAndSystemError) {
    EnglishScope english;
    const ErrorTextParts parts = ErrorText({2063, 5});
    EXPECT_EQ(parts.main, L"CD:2063 Failed to update the context menu(registry).");
    EXPECT_EQ(parts.detail.substr(0, 14), L" *0x00000005:A");  // the system's text for error 5 follows
    EXPECT_EQ(parts.Display(), parts.main + parts.detail);
}

TEST(ErrorText, UnknownCodesGetTheGenericText) {
    EnglishScope english;
    EXPECT_EQ(ErrorText({0, 0}).Display(), L"Error has occurred.");
    EXPECT_EQ(ErrorText({4242, 0}).Display(), L"Error has occurred.");
    SetJapanese(true);
    EXPECT_EQ(ErrorText({4242, 0}).main, L"エラーが発生しました。");
}

TEST(SystemErrorText, FormatsTheNumberAndFallsBackWhenTheSystemHasNoText) {
    EnglishScope english;
    EXPECT_EQ(SystemErrorText(0), L"");
    const std::wstring denied = SystemErrorText(5);
    EXPECT_EQ(denied.substr(0, 11), L"0x00000005:");
    EXPECT_GT(denied.size(), 11u);
    EXPECT_NE(denied.back(), L'\n');
    EXPECT_EQ(SystemErrorText(0x2BADBEEF), L"0x2badbeef:(no description from the system)");
}

TEST(DirectoryErrorText, OwnRowsAndFallback) {
    EnglishScope english;
    EXPECT_EQ(DirectoryErrorText(0), L"");
    EXPECT_EQ(DirectoryErrorText(3), L"0x00000003:The system cannot find the path specified.");
    EXPECT_EQ(DirectoryErrorText(206), L"0x000000ce:The filename or extension is too long");
    EXPECT_EQ(DirectoryErrorText(5).substr(0, 11), L"0x00000005:");
    SetJapanese(true);
    EXPECT_EQ(DirectoryErrorText(1223), L"0x000004c7:キャンセルされました。");
}

TEST(ShellOperationErrorText, OwnRowsAndFallback) {
    EnglishScope english;
    EXPECT_EQ(ShellOperationErrorText(0), L"");
    EXPECT_EQ(ShellOperationErrorText(0x7C), L"0x0000007c:The path in the source or destination or both was invalid.");
    EXPECT_EQ(ShellOperationErrorText(0x10074), L"0x00010074:Destination is a root directory and cannot be renamed.");
    EXPECT_EQ(ShellOperationErrorText(0x999), L"0x00000999: Error.");
    SetJapanese(true);
    EXPECT_EQ(ShellOperationErrorText(0x999), L"0x00000999 Error");
}
