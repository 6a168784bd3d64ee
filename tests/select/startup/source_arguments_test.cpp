#include <gtest/gtest.h>

#include <vector>

#include "startup/source_arguments.h"
#include "message_capture.h"

namespace {

struct Split {
    std::vector<std::wstring> paths;
    std::vector<std::wstring> boxes;
    SplitOutcome outcome;
};

Split SplitLine(std::wstring_view line, int cancelAfterPaths = -1) {
    Split result;
    MessageCapture messages;
    result.outcome = ForEachCommandLinePath(
        line, [&](const std::wstring& p) { result.paths.push_back(p); },
        [&] { return cancelAfterPaths >= 0 && static_cast<int>(result.paths.size()) >= cancelAfterPaths; });
    result.boxes = messages.texts;
    return result;
}

using Paths = std::vector<std::wstring>;

}  // namespace

TEST(CommandLineSplit, QuotedAndPlainPaths) {
    EXPECT_EQ(SplitLine(L"\"C:\\My Docs\\a b.txt\"").paths, Paths{L"C:\\My Docs\\a b.txt"});
    EXPECT_EQ(SplitLine(L"\"C:\\a b\" \"D:\\c d\"").paths, (Paths{L"C:\\a b", L"D:\\c d"}));
    EXPECT_EQ(SplitLine(L"C:\\a D:\\b").paths, (Paths{L"C:\\a", L"D:\\b"}));
    EXPECT_EQ(SplitLine(L"C:\\a \"D:\\b c\" E:\\d").paths, (Paths{L"C:\\a", L"D:\\b c", L"E:\\d"}));
    EXPECT_EQ(SplitLine(L"C:\\a").outcome, SplitOutcome::Completed);
}

TEST(CommandLineSplit, EmptyPathsReachTheCopyRun) {
    // Two blanks in a row hand one empty path on, which the copy run reports.
    EXPECT_EQ(SplitLine(L"C:\\a  D:\\b").paths, (Paths{L"C:\\a", L"", L"D:\\b"}));
    // A trailing blank leaves an empty rest; a closing quote at the end does not.
    EXPECT_EQ(SplitLine(L"C:\\a ").paths, (Paths{L"C:\\a", L""}));
    EXPECT_EQ(SplitLine(L"\"C:\\a\"").paths, Paths{L"C:\\a"});
    EXPECT_EQ(SplitLine(L"\"\"").paths, Paths{L""});
    EXPECT_TRUE(SplitLine(L"").paths.empty());
}

TEST(CommandLineSplit, TheCharacterAfterAClosingQuoteIsTakenAsTheBlank) {
    EXPECT_EQ(SplitLine(L"\"C:\\a\"xD:\\b").paths, (Paths{L"C:\\a", L"D:\\b"}));
    // An unclosed quote keeps collecting to the end.
    EXPECT_EQ(SplitLine(L"\"C:\\a b").paths, Paths{L"C:\\a b"});
}

TEST(CommandLineSplit, PathsOfAtMost259Characters) {
    const std::wstring ok(259, L'a');
    Split accepted = SplitLine(ok + L" b");
    EXPECT_EQ(accepted.paths, (Paths{ok, L"b"}));
    EXPECT_TRUE(accepted.boxes.empty());

    Split refused = SplitLine(L"first " + std::wstring(260, L'a') + L" later");
    EXPECT_EQ(refused.outcome, SplitOutcome::TooLong);
    EXPECT_EQ(refused.paths, Paths{L"first"});  // nothing after the long path is copied
    ASSERT_EQ(refused.boxes.size(), 1u);
    EXPECT_EQ(refused.boxes[0],
              L"Please refer to the length of the path of this file in less than 260 characters.\n\n" +
                  std::wstring(259, L'a'));
}

TEST(CommandLineSplit, JapaneseMessagesDifferForQuotedAndPlainPaths) {
    SetJapanese(true);
    Split plain = SplitLine(std::wstring(260, L'a'));
    SetJapanese(true);
    Split quoted = SplitLine(L"\"" + std::wstring(260, L'a') + L"\"");
    SetJapanese(false);
    ASSERT_EQ(plain.boxes.size(), 1u);
    ASSERT_EQ(quoted.boxes.size(), 1u);
    EXPECT_EQ(plain.boxes[0].substr(0, 19), L"パスは260文字以内にしてくください。");
    EXPECT_EQ(quoted.boxes[0].substr(0, 18), L"パスは260文字以内にしてください。");
}

TEST(CommandLineSplit, CancelStopsBeforeTheNextCharacter) {
    Split cancelled = SplitLine(L"C:\\a C:\\b C:\\c", 1);
    EXPECT_EQ(cancelled.outcome, SplitOutcome::Cancelled);
    EXPECT_EQ(cancelled.paths, Paths{L"C:\\a"});
    // Not even a partly collected last path is copied.
    EXPECT_EQ(SplitLine(L"C:\\a C:\\b", 1).paths, Paths{L"C:\\a"});
}
