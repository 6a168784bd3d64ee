#include <gtest/gtest.h>

#include <string>

#include "explorer/file_url.h"

namespace {

std::wstring FolderOrNone(std::wstring_view url) {
    return LocationUrlToFolder(url).value_or(L"<none>");
}

std::wstring Repeat(std::wstring_view text, int times) {
    std::wstring out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

}  // namespace

TEST(LocationUrl, DriveAndNetworkFolders) {
    EXPECT_EQ(FolderOrNone(L"file:///C:/Users/a/Out"), L"C:\\Users\\a\\Out");
    EXPECT_EQ(FolderOrNone(L"file://server/share/Out"), L"\\\\server\\share\\Out");
    EXPECT_EQ(FolderOrNone(L"file:///home/a"), L"\\\\localhost\\home\\a");
}

TEST(LocationUrl, TrailingSlashAndRoots) {
    EXPECT_EQ(FolderOrNone(L"file:///C:/Out/"), L"C:\\Out");
    EXPECT_EQ(FolderOrNone(L"file:///C:/"), L"C:");
    // Only one trailing "/" is removed.
    EXPECT_EQ(FolderOrNone(L"file:///C:/Out//"), L"C:\\Out\\");
}

TEST(LocationUrl, SchemeIsMatchedWithoutCaseAndOtherSchemesAreIgnored) {
    EXPECT_EQ(FolderOrNone(L"FILE:///C:/Out"), L"C:\\Out");
    EXPECT_EQ(FolderOrNone(L"File://Server/Share"), L"\\\\Server\\Share");
    EXPECT_EQ(FolderOrNone(L""), L"<none>");
    EXPECT_EQ(FolderOrNone(L"http://example/C:/Out"), L"<none>");
    EXPECT_EQ(FolderOrNone(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"), L"<none>");
}

TEST(LocationUrl, BackslashesCountAsSlashes) {
    EXPECT_EQ(FolderOrNone(L"file:///C:\\Out\\Sub\\"), L"C:\\Out\\Sub");
    EXPECT_EQ(FolderOrNone(L"file:\\\\server\\share"), L"\\\\server\\share");
}

TEST(LocationUrl, EscapedSpacesAndPercentSigns) {
    EXPECT_EQ(FolderOrNone(L"file:///C:/My%20Folder/a%20b"), L"C:\\My Folder\\a b");
    // Decoded once: an escaped "%" stays a "%".
    EXPECT_EQ(FolderOrNone(L"file:///C:/100%25/%2520"), L"C:\\100%\\%20");
    EXPECT_EQ(FolderOrNone(L"file:///C:/a%2fb"), L"C:\\a\\b");
}

TEST(LocationUrl, JapaneseNamesFromUtf8EscapesAndAsTheyStand) {
    EXPECT_EQ(FolderOrNone(L"file:///C:/%E6%97%A5%E6%9C%AC/%E7%B5%90%E6%9E%9C"), L"C:\\日本\\結果");
    EXPECT_EQ(FolderOrNone(L"file:///C:/a%E6%97%A5b%20c"), L"C:\\a日b c");
    EXPECT_EQ(FolderOrNone(L"file:///C:/日本/結果"), L"C:\\日本\\結果");
    // Four-byte sequences become a surrogate pair.
    EXPECT_EQ(FolderOrNone(L"file:///C:/%F0%9F%98%80"), L"C:\\\U0001F600");
}

TEST(LocationUrl, MalformedEscapesMakeTheLocationUnusable) {
    // A "%" at the end, or one digit short: nothing is read past the end.
    EXPECT_EQ(FolderOrNone(L"file:///C:/Out%"), L"<none>");
    EXPECT_EQ(FolderOrNone(L"file:///C:/Out%4"), L"<none>");
    EXPECT_EQ(FolderOrNone(L"file:///C:/%G1"), L"<none>");
    EXPECT_EQ(FolderOrNone(L"file:///C:/%1G"), L"<none>");
    // Cut-short and stray UTF-8 sequences.
    EXPECT_EQ(FolderOrNone(L"file:///C:/%E6%97"), L"<none>");
    EXPECT_EQ(FolderOrNone(L"file:///C:/%E6%97x"), L"<none>");
    EXPECT_EQ(FolderOrNone(L"file:///C:/%97"), L"<none>");
    EXPECT_EQ(FolderOrNone(L"file:///C:/%C0%AF"), L"<none>");  // overlong "/"
    // A NUL would cut the path short.
    EXPECT_EQ(FolderOrNone(L"file:///C:/a%00b"), L"<none>");
}

TEST(LocationUrl, LocationsOf1384CharactersOrMoreAreIgnored) {
    // 152 escaped Japanese characters keep the path short while the URL is long.
    const std::wstring head = L"file:///C:/" + Repeat(L"%E6%97%A5", 152);
    ASSERT_EQ(head.size(), 1379u);
    EXPECT_EQ(FolderOrNone(head + L"aaaa"), L"C:\\" + std::wstring(152, L'日') + L"aaaa");
    EXPECT_EQ(FolderOrNone(head + L"aaaaa"), L"<none>");
}

TEST(LocationUrl, FoldersLongerThanAPathAreSkipped) {
    EXPECT_EQ(FolderOrNone(L"file:///C:/" + std::wstring(256, L'a')).size(), 259u);
    EXPECT_EQ(FolderOrNone(L"file:///C:/" + std::wstring(257, L'a')), L"<none>");
    EXPECT_EQ(FolderOrNone(L"file:///C:/" + Repeat(L"%E6%97%A5", 257)), L"<none>");
}

TEST(FileUrlToPath, NothingAfterThePrefixIsUnusable) {
    EXPECT_FALSE(FileUrlToPath(L"file:///").has_value());
    EXPECT_FALSE(FileUrlToPath(L"file:").has_value());
    EXPECT_FALSE(FileUrlToPath(L"C:/Out").has_value());
    EXPECT_EQ(FileUrlToPath(L"file:///C:").value_or(L""), L"C:");
    EXPECT_EQ(FileUrlToPath(L"file:C:/Out").value_or(L""), L"C:\\Out");
}

TEST(PercentDecode, PlainTextStaysAsItIs) {
    EXPECT_EQ(PercentDecode(L"").value_or(L"x"), L"");
    EXPECT_EQ(PercentDecode(L"abc/日本").value_or(L""), L"abc/日本");
    EXPECT_EQ(PercentDecode(L"%41%62%e6%97%a5").value_or(L""), L"Ab日");
}
