#include <gtest/gtest.h>

#include "drop_names/drop_names.h"
#include "setting_test_support.h"

namespace {

std::wstring Chars(std::size_t count, wchar_t c = L'x') {
    return std::wstring(count, c);
}

}  // namespace

TEST(DroppedNames, NamesOfFilesSortedFoldersSkipped) {
    EXPECT_EQ(NameOfDroppedPath(L"C:\\a\\b.txt"), L"b.txt");
    EXPECT_EQ(NameOfDroppedPath(L"C:\\a\\dir\\"), L"dir");
    EXPECT_EQ(NameOfDroppedPath(L"name"), L"name");
    const auto isFolder = [](const std::wstring& path) { return path.ends_with(L"dir"); };
    const std::vector<std::wstring> names =
        DroppedFileNames({L"C:\\in\\c.txt", L"C:\\in\\dir", L"C:\\in\\a.txt", L"C:\\in\\b.txt"}, isFolder);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"b.txt", L"c.txt"}));
    EXPECT_EQ(AppendDroppedNames(L"z.txt\r\n", names), L"z.txt\r\na.txt\r\nb.txt\r\nc.txt\r\n");
    // Regression: dropping only folders used to empty the lines collected so far.
    EXPECT_EQ(AppendDroppedNames(L"z.txt\r\n", {}), L"z.txt\r\n");
}

TEST(DroppedNames, SortingUsesTheLocalesOrder) {
    std::vector<std::wstring> names = {L"file2", L"B", L"a", L"file10", L"A", L"b"};
    SortNames(names, true);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a", L"A", L"b", L"B", L"file10", L"file2"}));
    SortNames(names, false);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"file2", L"file10", L"B", L"b", L"A", L"a"}));
}

TEST(DroppedNames, ReadFromSelectionAndSortLines) {
    EXPECT_EQ(LinesFromCondition(L"*.txt : *.doc"), L"*.txt\r\n*.doc\r\n");
    EXPECT_EQ(LinesFromCondition(L"a:: :b"), L"a\r\n\r\nb\r\n");
    EXPECT_EQ(LinesFromCondition(L""), L"");
    EXPECT_EQ(SortLines(L"c\r\n\r\na\r\nb", true).text, L"a\r\nb\r\nc\r\n");
    const DropTextResult tooLarge = SortLines(Chars(30001), true);
    ASSERT_TRUE(tooLarge.error);
    ExpectMessage(*tooLarge.error, L"処理する文字数が大きすぎます。\r\n最大8191文字",
                  L"The number of characters to process is too large.\r\nUp to 8191 characters");
    EXPECT_FALSE(SortLines(Chars(30000), true).error);
}

TEST(JoinDroppedNames, WideJoinWhileItFitsElseCompact) {
    const struct {
        std::wstring text, joined;
    } cases[] = {
        {L"", L""},
        {L"a.txt\r\nb.txt", L"a.txt : b.txt"},
        {L"a.txt\r\n\r\n\tb.txt\r\n\r\n", L"a.txt : b.txt"},
        {L"a.txt\r\n\a\r\n", L"a.txt"},  // a line of control codes only adds no separator
        {Chars(4094) + L"\r\n" + Chars(4094, L'y'), Chars(4094) + L" : " + Chars(4094, L'y')},
        {Chars(4095) + L"\r\n" + Chars(4094, L'y'), Chars(4095) + L":" + Chars(4094, L'y')},
    };
    for (const auto& c : cases) {
        const DropTextResult result = JoinDroppedNames(c.text);
        EXPECT_FALSE(result.error);
        EXPECT_EQ(result.text, c.joined);
    }
}

TEST(JoinDroppedNames, LimitsAndTheirExcerpts) {
    const std::wstring tail = Chars(30, L't');
    const struct {
        std::wstring text, ja, en;
    } cases[] = {
        {Chars(8162) + tail,
         L"最大8191文字までしか指定できません。(現在8192文字以上)\r\n\r\nオーバーしている文字:\r\n... " + tail,
         L"You can only specify a maximum of 8191 characters.(Current 8192 characters or more)\r\n\r\n"
         L"Excessive characters:\r\n... " +
             tail},
        {Chars(4096) + L"\r\n" + Chars(4066) + tail,
         L"最大8191文字までしか指定できません。(現在8193文字以上、セパレータ文字\":\"含む)\r\n\r\n"
         L"オーバーしている文字:\r\n... " +
             tail,
         L"You can only specify a maximum of 8191 characters.(Current 8193 characters or more.Separator character\":\""
         L"including.)\r\n\r\nExcessive characters:\r\n... " +
             tail},
        {Chars(8190) + L"\r\nabc",
         L"最大8191文字までしか指定できません。(現在8194文字以上、セパレータ文字\":\"含む)\r\n\r\n"
         L"オーバーしている文字:\r\nabc",
         L"You can only specify a maximum of 8191 characters.(Current 8194 characters or more.Separator character\":\""
         L"including.)\r\n\r\nExcessive characters:\r\nabc"},
        {Chars(30001), L"処理する文字数が大きすぎます。\r\n最大8191文字",
         L"The number of characters to process is too large.\r\nUp to 8191 characters"},
    };
    for (const auto& c : cases) {
        const DropTextResult result = JoinDroppedNames(c.text);
        ASSERT_TRUE(result.error) << c.en;
        ExpectMessage(*result.error, c.ja, c.en);
    }
}
