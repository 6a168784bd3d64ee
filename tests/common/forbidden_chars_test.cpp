#include <gtest/gtest.h>

#include "forbidden_chars.h"

namespace {

struct Case {
    std::wstring_view text;
    CharRules rules;
    std::wstring_view ngList;
};

constexpr CharRules kAdd = CharRules::AddString;
constexpr CharRules kCondition = CharRules::Condition;
constexpr CharRules kFolder = CharRules::FolderPath;

}  // namespace

TEST(CheckForbiddenChars, NamesEachForbiddenCharacterOnceInTheFixedOrder) {
    const Case cases[] = {
        {L"", kAdd, L""},
        {L"plain text_01 日本語", kAdd, L""},
        {L"a<b>c", kAdd, L"< > "},
        {L"<<\t", kAdd, L"< \\t "},
        // Written in the order of the table, not of the text.
        {L"|>?*:/\\", kAdd, L"\\ / : * ? > | "},
        {L"\"x\"", kAdd, L"\" "},
        {L"\a\b\f\n\r\t\v", kAdd, L"\\a \\b \\f \\n \\r \\t \\v "},
        // A fixed text that climbs out of the destination folder.
        {L"\\..\\..\\", kAdd, L"\\ "},
        {L"C:", kAdd, L": "},
        // Other control characters are neither forbidden nor reported.
        {L"\x1B\x01", kAdd, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckForbiddenChars(c.text, c.rules), c.ngList) << std::wstring(c.text);
}

TEST(CheckForbiddenChars, EachRuleSetAllowsWhatItsFieldNeeds) {
    const Case cases[] = {
        {L"*.txt:~*", kCondition, L""},       {L"a?b", kCondition, L"? "}, {L"a\\b/c", kCondition, L"\\ / "},
        {L"C:\\Users\\me/out", kFolder, L""}, {L"C:\\*", kFolder, L"* "},  {L"C:\\a?\t", kFolder, L"? \\t "},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckForbiddenChars(c.text, c.rules), c.ngList) << std::wstring(c.text);
}

TEST(CheckForbiddenChars, TheLongestListHasThirtyNineCharacters) {
    EXPECT_EQ(CheckForbiddenChars(L"\\/:*?\"<>|\a\b\f\n\r\t\v", kAdd).size(), 39u);
}
