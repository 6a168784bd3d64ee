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

namespace {

HWND Handle(std::uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

}  // namespace

TEST(ExplorerTabs, AFrameShowsTheFolderOfItsOnlyEntryOrOfItsOnlyShownTab) {
    const HWND single = Handle(1);
    const HWND tabbed = Handle(2);
    const HWND unclear = Handle(3);
    const std::vector<ShellView> views = {
        {single, Handle(10), false},  // the frame's only entry, whatever its view says
        {tabbed, Handle(20), true},  {tabbed, Handle(21), false}, {tabbed, Handle(22), false},
        {unclear, Handle(30), true}, {unclear, Handle(31), true},  // two shown tabs: cannot tell
    };
    const struct {
        std::size_t entry;
        bool inFront;
    } cases[] = {{0, true}, {1, true}, {2, false}, {3, false}, {4, false}, {5, false}};
    for (const auto& c : cases) EXPECT_EQ(ShowsInFront(views, views[c.entry]), c.inFront) << "entry " << c.entry;
}

// Windows 11 lists each tab; a tab that is not a file folder (Home) still
// hides the tabs behind it.
TEST_F(ExplorerWindowList, TabsSharingOneFrameAreInFrontOnlyWhenTheirViewIsShown) {
    TestWindow tabs;
    const HWND outTab = tabs.AddChild(false);
    TestWindow single;
    TestWindow homeFirst;
    const HWND destinationTab = homeFirst.AddChild(false);
    FakeShellWindows shell({
        {L"file:///C:/Other", tabs.child()},
        {L"file:///C:/Out", outTab},
        {L"file:///C:/Out", single.child()},
        {L"", homeFirst.child()},
        {L"file:///C:/Dest", destinationTab},
    });
    ASSERT_TRUE(shell.registered());

    EXPECT_EQ(EnumerateExplorerWindows(records), 0);
    ASSERT_EQ(records.size(), 4u);
    const struct {
        const wchar_t* path;
        HWND frame;
        bool inFront;
    } expected[] = {{L"C:\\Other", tabs.frame(), true},
                    {L"C:\\Out", tabs.frame(), false},
                    {L"C:\\Out", single.frame(), true},
                    {L"C:\\Dest", homeFirst.frame(), false}};
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].path, expected[i].path);
        EXPECT_EQ(records[i].window, expected[i].frame) << i;
        EXPECT_EQ(records[i].inFront, expected[i].inFront) << i;
    }
    EXPECT_EQ(FindFolderWindow(records, L"C:\\Out"), &records[2]);
    EXPECT_EQ(FindFolderWindow(records, L"C:\\Dest"), nullptr);
    EXPECT_EQ(shell.references(), 0);
}
