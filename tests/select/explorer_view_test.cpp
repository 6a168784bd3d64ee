#include <gtest/gtest.h>

#include <vector>

#include "explorer_view.h"
#include "explorer_windows.h"

namespace {

ExplorerWindowRecord Record(std::wstring path, UINT showState = SW_SHOWNORMAL) {
    ExplorerWindowRecord record;
    record.path = std::move(path);
    record.placement.showCmd = showState;
    return record;
}

// A plain top-level window that stands in for an Explorer window.
class TestWindow {
public:
    TestWindow()
        : window_(::CreateWindowExW(0, L"STATIC", L"explorer stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                    300, 200, nullptr, nullptr, nullptr, nullptr)) {}
    ~TestWindow() { ::DestroyWindow(window_); }
    HWND get() const { return window_; }
    ExplorerWindowRecord AsRecord() const {
        ExplorerWindowRecord record{L"C:\\Out", window_, {}};
        record.placement.length = sizeof(record.placement);
        ::GetWindowPlacement(window_, &record.placement);
        return record;
    }
    bool IsTopmost() const { return (::GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

private:
    HWND window_;
};

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
    ASSERT_NE(window.get(), nullptr);
    ::ShowWindow(window.get(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(window.get()));
    ShowFolderWindow(window.AsRecord());
    EXPECT_FALSE(::IsIconic(window.get()));
    EXPECT_TRUE(::IsWindowVisible(window.get()));
    EXPECT_FALSE(window.IsTopmost());
}

TEST(FolderWindowShow, KeepsAMaximisedWindowMaximisedAndClearsTopmost) {
    TestWindow window;
    ASSERT_NE(window.get(), nullptr);
    ::ShowWindow(window.get(), SW_MAXIMIZE);
    ::SetWindowPos(window.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowFolderWindow(window.AsRecord());
    EXPECT_TRUE(::IsZoomed(window.get()));
    EXPECT_FALSE(window.IsTopmost());
}
