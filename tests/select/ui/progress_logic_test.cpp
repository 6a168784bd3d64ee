#include <gtest/gtest.h>

#include "language.h"
#include "ui/progress_logic.h"

TEST(ProgressResult, TextsForEveryOutcome) {
    EXPECT_EQ(ResultText(kRunSucceeded, false, 0), L"Success.");
    EXPECT_EQ(ResultText(kRunSucceeded, false, 2), L"Success. (No copy mode.)");
    EXPECT_EQ(ResultText(kRunSucceeded, true, 1), L"Copy Success , Copy result list failed!");
    EXPECT_EQ(ResultText(kRunNothingCopied, false, 1), L"No copy file.");
    EXPECT_EQ(ResultText(kRunNothingCopied, true, 1), L"No copy file , Copy result list failed!");
    EXPECT_EQ(ResultText(kRunFailed, false, 1), L"Copy failed!");
    EXPECT_EQ(ResultText(kRunFailed, true, 2), L"Copy result list failed!");
    EXPECT_EQ(ResultText(kRunRunning, false, 0), L"");
    // Read back and matched: said in the user's language, on success only.
    EXPECT_EQ(ResultText(kRunSucceeded, false, 1, true), L"Success. (verified)");
    SetJapanese(true);
    EXPECT_EQ(ResultText(kRunSucceeded, false, 0, true), L"Success. (照合済み)");
    SetJapanese(false);
    EXPECT_EQ(ResultText(kRunFailed, false, 0, true), L"Copy failed!");
    EXPECT_EQ(ResultText(kRunNothingCopied, false, 0, true), L"No copy file.");
}

TEST(ProgressCancel, ClosesAFinishedWindowStopsAListBeingWrittenElseTheRun) {
    struct Row {
        bool finished;
        bool listWriting;
        CancelEffect expected;
    };
    const Row rows[] = {
        {true, false, CancelEffect::CloseWindow},
        {true, true, CancelEffect::CloseWindow},
        {false, true, CancelEffect::StopList},
        {false, false, CancelEffect::StopRun},
    };
    for (const Row& row : rows) EXPECT_EQ(CancelEffectFor(row.finished, row.listWriting), row.expected);
}

TEST(ProgressFinish, AutoCloseClosesAfterTheStatesDelayElseCancelBecomesClose) {
    struct Row {
        int runState;
        bool autoClose;
        bool closesItself;
        int delayMs;
    };
    const Row rows[] = {
        {kRunSucceeded, true, true, 1500}, {kRunNothingCopied, true, true, 1500}, {kRunFailed, true, true, 3500},
        {kRunSucceeded, false, false, 0},  {kRunFailed, false, false, 0},
    };
    for (const Row& row : rows) {
        const FinishBehaviour finish = FinishBehaviourFor(row.runState, row.autoClose);
        EXPECT_EQ(finish.closesItself, row.closesItself);
        EXPECT_EQ(finish.delayMs, row.delayMs);
    }
}
