#include <gtest/gtest.h>

#include "archive_command.h"

TEST(ArchiverCommandLine, ReadsTheCopyToolsCommand) {
    const auto request =
        ParseArchiverCommand("a -tzip -ssw -mmt=on -hide -- \"C:\\out dir\\x.zip\" \"C:\\out dir\\work\\\"");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->archivePath, L"C:\\out dir\\x.zip");
    // A trailing backslash before the closing quote is part of the path.
    EXPECT_EQ(request->sourcePath, L"C:\\out dir\\work\\");
    EXPECT_TRUE(request->shareWrite);
    EXPECT_EQ(request->threads, 0u);
}

TEST(ArchiverCommandLine, PathsAreUtf8AndMayLookLikeSwitchesAfterTheSeparator) {
    const auto request = ParseArchiverCommand("a -tzip -- \"C:\\\xE6\x97\xA5\xE6\x9C\xAC.zip\" -odd");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->archivePath, L"C:\\日本.zip");
    EXPECT_EQ(request->sourcePath, L"-odd");
    EXPECT_FALSE(request->shareWrite);
}

TEST(ArchiverCommandLine, UnquotedPathsBlanksAndThreadSwitches) {
    auto request = ParseArchiverCommand("  a\t-mmt=off   C:\\x.zip   C:\\src  ");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->archivePath, L"C:\\x.zip");
    EXPECT_EQ(request->sourcePath, L"C:\\src");
    EXPECT_EQ(request->threads, 1u);
    request = ParseArchiverCommand("A -MMT=3 -TZIP -- x.zip src");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->threads, 3u);
    request = ParseArchiverCommand("a -mmt -- x.zip src");
    ASSERT_TRUE(request);
    EXPECT_EQ(request->threads, 0u);
}

TEST(ArchiverCommandLine, RefusesMalformedLines) {
    for (const char* line : {
             "",
             "a",
             "a -- \"x.zip\"",         // one path
             "a -- x.zip src extra",   // three paths
             "a -- \"x.zip\" \"\"",    // empty path
             "a -- \"x.zip\" \"src",   // unclosed quote
             "a -- \"x.zip\"\"src\"",  // text glued to a closing quote
             "a -- x\"y\".zip src",    // quote inside a word
             "a -- x.zip \"src\"tail",
             "a -- x.zip \xFF\xFE",   // not UTF-8
             "x -tzip -- x.zip src",  // unknown command
             "u -tzip -- x.zip src",
         }) {
        EXPECT_FALSE(ParseArchiverCommand(line)) << line;
    }
}

TEST(ArchiverCommandLine, RefusesUnknownSwitches) {
    for (const char* line : {
             "a -x -- x.zip src", "a -t7z -- x.zip src", "a -mmt=0 -- x.zip src", "a -mmt=65 -- x.zip src",
             "a -mmt=two -- x.zip src", "a -mmt=on2 -- x.zip src", "a -sswx -- x.zip src",
             "a x.zip -ssw src",  // a switch after a path is a third path
         }) {
        EXPECT_FALSE(ParseArchiverCommand(line)) << line;
    }
}

TEST(ArchiverCommandLine, SplitsQuotedAndPlainTokens) {
    const auto tokens = SplitArchiverCommand("a \"b c\" d\\ \"\"");
    ASSERT_TRUE(tokens);
    ASSERT_EQ(tokens->size(), 4u);
    EXPECT_EQ((*tokens)[1], L"b c");
    EXPECT_EQ((*tokens)[2], L"d\\");
    EXPECT_EQ((*tokens)[3], L"");
}
