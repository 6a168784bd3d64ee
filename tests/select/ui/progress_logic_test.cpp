#include <gtest/gtest.h>

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
    EXPECT_EQ(AutoCloseDelayMs(kRunSucceeded), 1500);
    EXPECT_EQ(AutoCloseDelayMs(kRunNothingCopied), 1500);
    EXPECT_EQ(AutoCloseDelayMs(kRunFailed), 3500);
}
