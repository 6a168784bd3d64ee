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

TEST(ExecuteRegistration, RunsOnlyTheChangedTargetsEachWithItsOwnRecord) {
    std::vector<std::pair<int, int>> shortcutCalls;
    std::vector<int> requests;
    RegistrationSteps steps;
    steps.shortcut = [&](int target, int action) {
        shortcutCalls.emplace_back(target, action);
        if (target == kTargetDesktop) {
            RecordStep(L"SP3", 1013, 2);
            return -1;
        }
        return 4;
    };
    steps.contextMenu = [&](int request) {
        requests.push_back(request);
        return TargetOutcome{kStatusOk, {}};
    };
    RecordStep(L"EARLIER", 1090, 6);  // left from before: must not show up in a target's record

    const Outcomes outcomes = ExecuteRegistration({0, 2, 2}, steps);
    EXPECT_EQ(shortcutCalls, (std::vector<std::pair<int, int>>{{kTargetSendTo, 0}, {kTargetDesktop, 2}}));
    EXPECT_EQ(requests, std::vector<int>{2});
    EXPECT_EQ(outcomes[kTargetSendTo].status, kStatusNothingThere);
    EXPECT_EQ(outcomes[kTargetSendTo].failure.code, 0u);
    EXPECT_EQ(outcomes[kTargetContextMenu].status, kStatusOk);
    EXPECT_EQ(outcomes[kTargetDesktop].status, kStatusNg);
    EXPECT_EQ(outcomes[kTargetDesktop].failure.code, 1013u);
    EXPECT_EQ(outcomes[kTargetDesktop].failure.systemError, 2u);

    shortcutCalls.clear();
    requests.clear();
    const Outcomes untouched = ExecuteRegistration({1, 1, 1}, steps);
    EXPECT_TRUE(shortcutCalls.empty());
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(untouched[kTargetSendTo].status, kStatusNotRun);
}
