#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "result_list/display_width.h"
#include "result_list/list_order.h"

namespace {

std::vector<std::wstring> Sorted(std::vector<std::wstring> paths) {
    std::mt19937 random(7);
    std::shuffle(paths.begin(), paths.end(), random);
    std::sort(paths.begin(), paths.end(),
              [](const std::wstring& a, const std::wstring& b) { return MarkedPathLess(a, b); });
    return paths;
}

}  // namespace

TEST(MarkedPathOrder, FilesFirstThenFoldersEachFollowedByItsContents) {
    const std::vector<std::wstring> expected = {
        L"<_x.txt",
        L"<1.txt",
        L"<10.txt",
        L"<2.txt",
        L"<readme.txt",
        L"<Readme2.txt",
        L"<あ.txt",
        L">A",
        L">A\\<z.txt",
        L">A\\>sub",
        L">A\\>sub\\<y.txt",
        L">A B",
        L">A(1)",
        L">A-B",
        L">A.B",
        L">a1",
        L">b",
        L">B\\<x",
        L">アイウ",
        L">資料",
        L">資料\\<メモ.txt",
        L">資料\\>２０２４",
    };
    EXPECT_EQ(Sorted(expected), expected);
}

TEST(MarkedPathOrder, CaseDecidesOnlyBetweenTextsEqualWithoutCase) {
    const std::vector<std::wstring> expected = {
        L">data", L">Data", L">DATA", L">data\\<a.txt", L">Data\\<B.txt", L">data\\<c.txt", L">data2",
    };
    EXPECT_EQ(Sorted(expected), expected);
    EXPECT_FALSE(MarkedPathLess(L">Data", L">Data"));
}

TEST(MarkedPathOrder, BackslashComesBeforeEveryCharacterOfAName) {
    for (const wchar_t c : std::wstring(L" !#$%&'()+,-.;=@[]^_`{}~09AZaz\u00e9\u3042\u30a2\u4e00\uff21")) {
        const std::wstring sibling = std::wstring(L">A") + c;
        EXPECT_TRUE(MarkedPathLess(L">A\\<x", sibling)) << static_cast<int>(c);
        EXPECT_TRUE(MarkedPathLess(L">A\\>x", sibling)) << static_cast<int>(c);
    }
    EXPECT_TRUE(MarkedPathLess(L"<z", L">a"));
}

TEST(SameNameNoCase, IgnoresTheCaseOfAsciiLetters) {
    EXPECT_TRUE(SameNameNoCase(L"Docs", L"dOCS"));
    EXPECT_TRUE(SameNameNoCase(L"", L""));
    EXPECT_FALSE(SameNameNoCase(L"Docs", L"Doc"));
    EXPECT_FALSE(SameNameNoCase(L"資料", L"資科"));
}

TEST(DisplayWidth, CountsAsciiOneAndBoxDrawingKanaIdeographsTwo) {
    EXPECT_EQ(DisplayWidth(L""), 0);
    EXPECT_EQ(DisplayWidth(L"a.txt 2018/10/01 1,024 KB"), 25);
    EXPECT_EQ(DisplayWidth(L"│  "), 4);
    EXPECT_EQ(DisplayWidth(L"├─"), 4);
    EXPECT_EQ(DisplayWidth(L"└─"), 4);
    EXPECT_EQ(DisplayWidth(L"あいう"), 6);
    EXPECT_EQ(DisplayWidth(L"アイウ"), 6);
    EXPECT_EQ(DisplayWidth(L"資料"), 4);
    EXPECT_EQ(DisplayWidth(L"（２０２４）"), 12);
    EXPECT_EQ(DisplayWidth(L"ｱｲｳ"), 3);  // half-width katakana
    EXPECT_EQ(DisplayWidth(L"caf\u00e9"), 4);
    EXPECT_EQ(DisplayWidth(L"\U00020BB7"), 2);  // one character written as a surrogate pair
}

TEST(DisplayWidth, LeavesOutOneLeadingMarker) {
    EXPECT_EQ(DisplayWidth(L"<abc"), 3);
    EXPECT_EQ(DisplayWidth(L">資料"), 4);
    EXPECT_EQ(DisplayWidth(L">"), 0);
    EXPECT_EQ(DisplayWidth(L"<<a"), 2);
    EXPECT_EQ(DisplayWidth(L"a<"), 2);
}

TEST(PadSpaces, AppendsOnlyAPositiveCount) {
    std::wstring text = L"x";
    PadSpaces(3, text);
    EXPECT_EQ(text, L"x   ");
    PadSpaces(0, text);
    PadSpaces(-2, text);
    EXPECT_EQ(text, L"x   ");
}
