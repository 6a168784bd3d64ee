#include <gtest/gtest.h>

#include "checks/field_checks.h"
#include "checks/text_cleanup.h"
#include "setting_test_support.h"

namespace {

std::wstring Chars(std::size_t count, wchar_t c = L'x') {
    return std::wstring(count, c);
}

// The box shows at most 1,023 characters of a message that quotes a long list.
std::wstring Cut(std::wstring text) {
    text.resize(std::min<std::size_t>(text.size(), 1023));
    return text;
}

}  // namespace

TEST(TextCleanup, RemoveControlCodesTakesOutTheSevenCodesOnly) {
    const struct {
        std::wstring in, out;
        bool removed;
    } cases[] = {
        {L"a\tb\r\nc", L"abc", true},
        {L"\a\b\t\n\v\f\r", L"", true},
        {L"a\x01"
         L"b\x0e",
         L"a\x01"
         L"b\x0e",
         false},
        {L"", L"", false},
    };
    for (const auto& c : cases) {
        std::wstring text = c.in;
        EXPECT_EQ(RemoveControlCodes(text), c.removed) << c.out;
        EXPECT_EQ(text, c.out);
    }
}

TEST(TextCleanup, CopySubstringRefusesNegativeAndOverlongCounts) {
    EXPECT_EQ(CopySubstring(L"abcdef", 2, 3), L"cde");
    EXPECT_EQ(CopySubstring(L"abcdef", 4, 6), L"ef");  // the source ends first
    EXPECT_EQ(CopySubstring(L"abc", 0, 0), L"");
    EXPECT_EQ(CopySubstring(L"abc", -1, 1), std::nullopt);
    EXPECT_EQ(CopySubstring(L"abc", 0, -1), std::nullopt);
    EXPECT_EQ(CopySubstring(L"abc", 0, 4), std::nullopt);
    EXPECT_EQ(CopySubstring(L"abc", 4, 0), std::nullopt);
}

TEST(ConditionItems, ItemsAreMeasuredTrimmedAndEmptyOnesSkipped) {
    const std::wstring item259 = Chars(259);
    const std::wstring item260 = Chars(260);
    EXPECT_EQ(CheckConditionItems(L""), std::nullopt);
    EXPECT_EQ(CheckConditionItems(L" : :: "), std::nullopt);
    EXPECT_EQ(CheckConditionItems(L"a::b"), std::nullopt);
    EXPECT_EQ(CheckConditionItems(L"*.txt :   *.doc   : " + item259 + L"   "), std::nullopt);
    EXPECT_EQ(CheckConditionItems(L"*.txt : " + item260 + L" : " + Chars(300, L'y')), item260);
}

// Guards against measuring only the first 1,023 characters of an item: the
// copy tool would refuse on loading what the dialog had let through.
TEST(ConditionItems, AnItemBehindManyBlanksIsStillMeasured) {
    EXPECT_EQ(CheckConditionItems(L"a:" + Chars(1000, L' ') + Chars(300)), Chars(300));
}

TEST(ConditionList, TotalLengthLimitIsMeasuredAtItsBoundary) {
    const std::wstring fits = Chars(8191, L':');
    std::wstring list = fits;
    EXPECT_FALSE(CheckConditionList(CheckedField::TargetFile, list, FindQuestionMark));
    list = fits + L":";
    ExpectFailure(CheckConditionList(CheckedField::TargetFile, list, FindQuestionMark), CheckedField::TargetFile,
                  Cut(L"対象の条件が長すぎます。\n\n現在:8192文字以上 最大:8191文字\n\n" + list),
                  Cut(L"The target is too long.\n\nNow:8192 characters or more  Max:8191 characters\n\n" + list));
}

TEST(ConditionList, LongItemIsNamedAndSpacesStayInTheStoredList) {
    const std::wstring item = Chars(260);
    std::wstring list = L"*.txt :  " + item + L"  ";
    ExpectFailure(CheckConditionList(CheckedField::ExNoTargetFile, list, FindQuestionMark),
                  CheckedField::ExNoTargetFile,
                  L"例外、対象外の条件が長すぎます。\n\n現在:260文字以上 最大:259文字\n\n" + item,
                  L"The exception,exclud is too long.\n\nNow:260 characters or more  Max:259 characters\n\n" + item);
    list = L"  *.txt :\t " + Chars(259) + L"  ";
    EXPECT_FALSE(CheckConditionList(CheckedField::NoTargetFile, list, FindQuestionMark));
    EXPECT_EQ(list, L"  *.txt : " + Chars(259) + L"  ");  // tab removed silently, blanks kept
}

TEST(ConditionList, ForbiddenCharactersComeBeforeTheLength) {
    std::wstring list = L"a?\t" + Chars(9000);
    ExpectFailure(
        CheckConditionList(CheckedField::ExTargetFile, list, FindQuestionMark), CheckedField::ExTargetFile,
        Cut(L"例外、対象に使用できない文字が含まれています。\n\nNG : ? \n\na?" + Chars(9000)),
        Cut(L"Characters that can not be used in the exception,target are included.\n\nNG : ? \n\na?" + Chars(9000)));
}

TEST(DestinationPath, BackslashIsAddedBeforeTheLengthCheck) {
    std::wstring path = L"C:\\" + Chars(255);
    EXPECT_FALSE(CheckPath(path));
    EXPECT_EQ(path.size(), 259u);
    path = L"C:\\" + Chars(256);
    const CheckResult result = CheckPath(path);
    ExpectFailure(
        result, CheckedField::Path,
        L"コピー先のフォルダのパスが長すぎます。\n\n現在:260文字以上 最大:259文字\n\n" + path,
        L"The path of the copy destination folder is too long.\n\nNow:260 characters  Max:259 characters\n\n" + path);
    path.clear();
    EXPECT_FALSE(CheckPath(path));
    EXPECT_EQ(path, L"");
}

TEST(AddStrings, LengthThenCharacters) {
    EXPECT_FALSE(CheckAddString(CheckedField::PrefixBef1, Chars(259), FindQuestionMark));
    ExpectFailure(
        CheckAddString(CheckedField::PrefixBef2, Chars(260) + L"?", FindQuestionMark), CheckedField::PrefixBef2,
        L"付与する文字列(ファイル名の前)が長すぎます。\n\n現在:261文字以上 最大:259文字\n\n" + Chars(260) + L"?",
        L"Add Strings(Before file name) is too long.\n\nNow:261 characters or more  Max:259 characters\n\n" +
            Chars(260) + L"?");
    ExpectFailure(CheckAddString(CheckedField::PrefixAft2, L"a?b", FindQuestionMark), CheckedField::PrefixAft2,
                  L"付与する文字列(最後)に使用できない文字が含まれています。\n\nNG : ? \n\na?b",
                  L"Characters that can not be used in the prefix(Last) are included.\n\nNG : ? \n\na?b");
}
