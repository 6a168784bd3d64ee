#include <gtest/gtest.h>

#include <vector>

#include "handles.h"

#include "explorer_fakes.h"
#include "explorer/explorer_view.h"
#include "explorer/explorer_windows.h"

namespace {

ExplorerWindowRecord Record(std::wstring path, UINT showState = SW_SHOWNORMAL) {
    ExplorerWindowRecord record;
    record.path = std::move(path);
    record.placement.showCmd = showState;
    return record;
}

}  // namespace

TEST(FolderWindowMatch, ComparesWholePathsWithoutCase) {
    const std::vector<ExplorerWindowRecord> records = {Record(L"C:\\Data\\Out"), Record(L"\\\\Server\\Share\\X"),
                                                       Record(L"C:\\日本\\ＡＢＣ")};
    EXPECT_EQ(FindFolderWindow(records, L"c:\\data\\OUT"), &records[0]);
    EXPECT_EQ(FindFolderWindow(records, L"\\\\server\\share\\x"), &records[1]);
    EXPECT_EQ(FindFolderWindow(records, L"C:\\日本\\ａｂｃ"), &records[2]);
    EXPECT_EQ(FindFolderWindow(records, L"C:\\Data"), nullptr);
    EXPECT_EQ(FindFolderWindow(records, L"C:\\Data\\Out2"), nullptr);
    EXPECT_EQ(FindFolderWindow(records, L"C:\\Data\\Out\\"), nullptr);
    EXPECT_EQ(FindFolderWindow({}, L"C:\\Data\\Out"), nullptr);
}

TEST(FolderWindowMatch, TheFirstOfTwoWindowsOnOneFolderWins) {
    const std::vector<ExplorerWindowRecord> records = {Record(L"C:\\A"), Record(L"C:\\Out"), Record(L"c:\\out")};
    EXPECT_EQ(FindFolderWindow(records, L"C:\\OUT"), &records[1]);
}

TEST(ShowCommand, MinimisedWindowsAreRestoredWithoutActivation) {
    EXPECT_EQ(ShowCommandForPlacement(SW_SHOWMINIMIZED), SW_SHOWNOACTIVATE);
    EXPECT_EQ(ShowCommandForPlacement(SW_MINIMIZE), SW_SHOWNOACTIVATE);
    EXPECT_EQ(ShowCommandForPlacement(SW_FORCEMINIMIZE), SW_SHOWNOACTIVATE);
    EXPECT_EQ(ShowCommandForPlacement(SW_SHOWNORMAL), SW_SHOWNA);
    EXPECT_EQ(ShowCommandForPlacement(SW_SHOWMAXIMIZED), SW_SHOWNA);
    EXPECT_EQ(ShowCommandForPlacement(0), SW_SHOWNA);
}

TEST(ShowCommand, SelectParametersJoinFolderAndItemInQuotes) {
    EXPECT_EQ(ExplorerSelectParameters(L"C:\\Dest\\", L"a.txt"), L"/select,\"C:\\Dest\\a.txt\"");
    EXPECT_EQ(ExplorerSelectParameters(L"C:\\Dest", L"a.zip"), L"/select,\"C:\\Dest\\a.zip\"");
    EXPECT_EQ(ExplorerSelectParameters(L"C:\\Dest\\", L"copied\\"), L"/select,\"C:\\Dest\\copied\\\"");
    // Regression: unquoted, Explorer would cut the path at the comma.
    EXPECT_EQ(ExplorerSelectParameters(L"C:\\My Out\\", L"a, b.txt"), L"/select,\"C:\\My Out\\a, b.txt\"");
}

TEST(FolderWindowShow, RestoresAMinimisedWindowAndLeavesItNotTopmost) {
    TestWindow window;
    ASSERT_NE(window.frame(), nullptr);
    ::ShowWindow(window.frame(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(window.frame()));
    ShowFolderWindow(window.AsRecord(L"C:\\Out"));
    EXPECT_FALSE(::IsIconic(window.frame()));
    EXPECT_TRUE(::IsWindowVisible(window.frame()));
    EXPECT_FALSE(window.IsTopmost());
}

TEST(FolderWindowShow, KeepsAMaximisedWindowMaximisedAndClearsTopmost) {
    TestWindow window;
    ASSERT_NE(window.frame(), nullptr);
    ::ShowWindow(window.frame(), SW_MAXIMIZE);
    ::SetWindowPos(window.frame(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowFolderWindow(window.AsRecord(L"C:\\Out"));
    EXPECT_TRUE(::IsZoomed(window.frame()));
    EXPECT_FALSE(window.IsTopmost());
}

// The whole way through a collection that lists an open window on the folder.
TEST(ResultInExplorer, RaisesTheOpenWindowOnTheFolderInsteadOfStartingExplorer) {
    const ScopedCom com;
    TestWindow window;
    ::ShowWindow(window.frame(), SW_MINIMIZE);
    FakeShellWindows shell({{L"file:///C:/Out%20A/", window.child()}});
    ASSERT_TRUE(shell.registered());
    ShowResultInExplorer(L"c:\\out a\\", L"copy.txt");
    // One look at the window list; Explorer was not started and waited for.
    EXPECT_EQ(shell.enumerations(), 1);
    EXPECT_FALSE(::IsIconic(window.frame()));
    EXPECT_FALSE(window.IsTopmost());
    EXPECT_EQ(shell.references(), 0);
}

TEST(ResultInExplorer, WaitingStopsAtThePollThatFindsTheWindow) {
    const ScopedCom com;
    TestWindow window;
    FakeWindow late{L"file:///C:/Out", window.child()};
    late.listedFromEnumeration = 3;
    FakeShellWindows shell({late});
    ASSERT_TRUE(shell.registered());
    WaitForExplorerWindow(L"C:\\OUT\\");
    EXPECT_EQ(shell.enumerations(), 3);
    EXPECT_FALSE(window.IsTopmost());
    EXPECT_EQ(shell.references(), 0);
}

// Regression: under Wine each look took seconds, and 101 looks kept the copy
// tool open for minutes after the copy.
TEST(ResultInExplorer, WaitingIsBoundedByTimeWhenEveryLookIsSlow) {
    const ScopedCom com;
    FakeShellWindows shell({});
    ASSERT_TRUE(shell.registered());
    shell.SetLookDelay(400);
    WaitForExplorerWindow(L"C:\\Out", 1000);
    // Looks start at about 0.1 and 0.6 s; none starts after the limit.
    EXPECT_GE(shell.enumerations(), 1);
    EXPECT_LE(shell.enumerations(), 3);
}
