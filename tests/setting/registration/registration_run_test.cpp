#include <gtest/gtest.h>

#include "context_menu_check.h"
#include "registration_run.h"
#include "step_trace.h"
#include "test_registry.h"

TEST(ContextMenuCheck, BothKeysUnderBothRootsMustBeThere) {
    TestClassesRoot root;
    EXPECT_EQ(ContextMenuCheck(root.get(), L"VaroSelect_x", 0), 0);  // only the check is done here
    EXPECT_EQ(ContextMenuCheck(root.get(), L"VaroSelect_x", 9), 4);
    root.MakeKey(L"*\\shell\\VaroSelect_x\\Command");
    EXPECT_EQ(ContextMenuCheck(root.get(), L"VaroSelect_x", 9), 4);
    root.MakeKey(L"Folder\\shell\\VaroSelect_x\\Command");
    EXPECT_EQ(ContextMenuCheck(root.get(), L"VaroSelect_x", 9), 0);
    EXPECT_EQ(ContextMenuCheck(root.get(), L"VaroSelect_y", 9), 4);
}

TEST(ExecuteRegistration, RunsOnlyTheChangedShortcutsEachWithItsOwnRecord) {
    std::vector<std::pair<int, int>> shortcutCalls;
    const ShortcutStep shortcut = [&](int target, int action) {
        shortcutCalls.emplace_back(target, action);
        if (target == kTargetDesktop) {
            RecordStep(L"SP3", 1013, 2);
            return -1;
        }
        return 4;
    };
    RecordStep(L"EARLIER", 1090, 6);  // left from before: must not show up in a target's record

    const Outcomes outcomes = ExecuteShortcuts({0, 2, 2}, shortcut);
    EXPECT_EQ(shortcutCalls, (std::vector<std::pair<int, int>>{{kTargetSendTo, 0}, {kTargetDesktop, 2}}));
    EXPECT_EQ(outcomes[kTargetSendTo].status, kStatusNothingThere);
    EXPECT_EQ(outcomes[kTargetSendTo].failure.code, 0u);
    EXPECT_EQ(outcomes[kTargetContextMenu].status, kStatusNotRun);  // through the helper, elsewhere
    EXPECT_EQ(outcomes[kTargetDesktop].status, kStatusNg);
    EXPECT_EQ(outcomes[kTargetDesktop].failure.code, 1013u);
    EXPECT_EQ(outcomes[kTargetDesktop].failure.systemError, 2u);

    shortcutCalls.clear();
    const Outcomes untouched = ExecuteShortcuts({1, 1, 1}, shortcut);
    EXPECT_TRUE(shortcutCalls.empty());
    EXPECT_EQ(untouched[kTargetSendTo].status, kStatusNotRun);
}
