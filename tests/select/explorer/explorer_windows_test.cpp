#include <gtest/gtest.h>

#include <vector>

#include "explorer_fakes.h"
#include "explorer/explorer_windows.h"
#include "handles.h"

namespace {

class ExplorerWindowList : public ::testing::Test {
protected:
    // The test thread holds COM, as the fake's registration needs.
    ScopedCom com;
    std::vector<ExplorerWindowRecord> records;
};

}  // namespace

TEST_F(ExplorerWindowList, RecordsFileFoldersWithTheirFrameWindowAndPlacement) {
    TestWindow minimised;
    TestWindow plain;
    ::ShowWindow(minimised.frame(), SW_MINIMIZE);
    FakeWindow itemFails{L"file:///C:/Skipped", minimised.child()};
    itemFails.itemFails = true;
    FakeShellWindows shell({
        {L"file:///C:/Out%20A/", minimised.child()},
        itemFails,
        {L"http://example/", plain.frame()},
        {L"file:///C:/NoBrowser", nullptr},
        {L"file://server/share/%E7%B5%90%E6%9E%9C", plain.frame()},
    });
    ASSERT_TRUE(shell.registered());

    EXPECT_EQ(EnumerateExplorerWindows(records), 0);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].path, L"C:\\Out A");
    // The browser's child window leads to its frame.
    EXPECT_EQ(records[0].window, minimised.frame());
    EXPECT_EQ(records[0].placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(records[1].path, L"\\\\server\\share\\結果");
    EXPECT_EQ(records[1].window, plain.frame());
    EXPECT_EQ(records[1].placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(shell.references(), 0);
}

TEST_F(ExplorerWindowList, AnUnreadableLocationEndsTheListAndKeepsWhatWasFound) {
    TestWindow window;
    FakeWindow unreadable{L"file:///C:/B", window.frame()};
    unreadable.locationFails = true;
    FakeShellWindows shell({{L"file:///C:/A", window.frame()}, unreadable, {L"file:///C:/C", window.frame()}});
    ASSERT_TRUE(shell.registered());

    EXPECT_EQ(EnumerateExplorerWindows(records), -1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].path, L"C:\\A");
    EXPECT_EQ(shell.references(), 0);
}

TEST_F(ExplorerWindowList, ACollectionThatCannotCountListsNothing) {
    TestWindow window;
    FakeShellWindows shell({{L"file:///C:/A", window.frame()}}, true);
    ASSERT_TRUE(shell.registered());
    records.push_back({L"stale", nullptr, {}});

    EXPECT_EQ(EnumerateExplorerWindows(records), -1);
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(shell.references(), 0);
}

TEST_F(ExplorerWindowList, HoldsMoreWindowsThanTheFirstBlockOf256) {
    TestWindow window;
    std::vector<FakeWindow> many;
    for (int i = 0; i < 300; ++i) many.push_back({L"file:///C:/Out" + std::to_wstring(i), window.frame()});
    FakeShellWindows shell(many);
    ASSERT_TRUE(shell.registered());

    EXPECT_EQ(EnumerateExplorerWindows(records), 0);
    ASSERT_EQ(records.size(), 300u);
    EXPECT_EQ(records[299].path, L"C:\\Out299");
    EXPECT_EQ(shell.references(), 0);
}
