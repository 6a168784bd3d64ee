#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "startup/run_end.h"

namespace {

Settings WithDirTree(int dirTree) {
    Settings s;
    s.DirTree = dirTree;
    return s;
}

}  // namespace

TEST(RunEnd, FinalStateFollowsFailureCancelAndWhatWasWritten) {
    struct Row {
        RunEndFacts facts;
        int dirTree;
        int expected;
    };
    const Row rows[] = {
        {{false, false, true, false}, 0, kRunSucceeded},
        {{false, false, false, false}, 0, kRunNothingCopied},
        {{false, false, false, false}, 1, kRunNothingCopied},
        {{true, false, true, false}, 0, kRunFailed},
        {{false, true, true, false}, 0, kRunFailed},
        // A failed list beside a copy still counts as copied; the window says the list failed.
        {{false, false, true, true}, 1, kRunSucceeded},
        // List only: nothing is copied, the lists decide.
        {{false, false, false, false}, 2, kRunSucceeded},
        {{false, false, false, true}, 2, kRunFailed},
        {{false, true, false, false}, 2, kRunFailed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        EXPECT_EQ(FinalRunState(row.facts, WithDirTree(row.dirTree)), row.expected);
    }
}

TEST(RunEnd, ExplorerShowsTheLastDestinationOnlyWhenAskedAndNothingFailed) {
    struct Row {
        int openDir;
        int dirTree;
        RunEndFacts facts;
        bool shown;
    };
    const Row rows[] = {
        {1, 0, {false, false, true, false}, true},
        {0, 0, {false, false, true, false}, false},
        {1, 0, {true, false, true, false}, false},
        {1, 0, {false, false, false, false}, false},
        // A list was asked for: shown though nothing was copied.
        {1, 1, {false, false, false, false}, true},
        {1, 2, {false, false, false, false}, true},
        // Cancel alone does not keep Explorer closed.
        {1, 0, {false, true, true, false}, true},
    };
    Settings settings;
    SelectionConditions conditions;
    SharedRunState shared;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        settings.OpenDir = row.openDir;
        settings.DirTree = row.dirTree;
        RunContext run(settings, conditions, shared);
        run.lastDestinationFolder = L"C:\\out\\";
        run.lastDestinationPath = L"C:\\out\\a_1.txt";
        EXPECT_EQ(ExplorerTargetAfterRun(row.facts, settings, run).has_value(), row.shown);
    }
}

TEST(RunEnd, ExplorerSelectsTheLastCopyInItsFolderOrInTheVirtualStore) {
    Settings settings;
    settings.OpenDir = 1;
    SelectionConditions conditions;
    SharedRunState shared;
    RunContext run(settings, conditions, shared);
    run.lastDestinationFolder = L"C:\\out\\";
    run.lastDestinationPath = L"C:\\out\\docs_1\\";
    run.virtualStoreFolder = L"C:\\Users\\u\\AppData\\Local\\VirtualStore";
    const RunEndFacts copied{false, false, true, false};

    auto target = ExplorerTargetAfterRun(copied, settings, run);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->folder, L"C:\\out\\");
    EXPECT_EQ(target->item, L"docs_1\\");

    run.virtualStoreFound = true;
    target = ExplorerTargetAfterRun(copied, settings, run);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->folder, L"C:\\Users\\u\\AppData\\Local\\VirtualStore");
    EXPECT_EQ(target->item, L"docs_1\\");
}
