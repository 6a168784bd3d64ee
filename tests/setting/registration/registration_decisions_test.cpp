#include <gtest/gtest.h>

#include "language.h"
#include "registration_decisions.h"

TEST(RegistrationDecisions, OnlyTheEndsChangeAndCarryTheShield) {
    EXPECT_TRUE(PositionChanges(kPositionOff));
    EXPECT_FALSE(PositionChanges(kPositionUnchanged));
    EXPECT_TRUE(PositionChanges(kPositionOn));
    EXPECT_TRUE(ExecuteNeedsShield(0));
    EXPECT_FALSE(ExecuteNeedsShield(1));
    EXPECT_TRUE(ExecuteNeedsShield(2));
}

TEST(RegistrationDecisions, ResultsBecomeStatuses) {
    const std::pair<int, int> cases[] = {
        {0, kStatusOk}, {4, kStatusNothingThere}, {2, kStatusNg}, {-1, kStatusNg}, {3, kStatusNg}};
    for (const auto& [result, status] : cases) EXPECT_EQ(StatusOfResult(result), status) << result;
}

TEST(RegistrationDecisions, TheHelpersStatusesBecomeThePagesStatuses) {
    const std::pair<ElevationStatus, int> cases[] = {{ElevationStatus::NothingDone, kStatusNotRun},
                                                     {ElevationStatus::Done, kStatusOk},
                                                     {ElevationStatus::Failed, kStatusNg},
                                                     {ElevationStatus::NothingToRemove, kStatusNothingThere}};
    for (const auto& [answer, status] : cases) {
        const TargetOutcome outcome = OutcomeOfAnswer({answer, {2016, 5}});
        EXPECT_EQ(outcome.status, status) << static_cast<int>(answer);
        EXPECT_EQ(outcome.failure.code, 2016u);
        EXPECT_EQ(outcome.failure.systemError, 5u);
    }
}

TEST(RegistrationDecisions, CurrentStateCells) {
    EXPECT_EQ(CurrentStateCells(0), (ResultCells{L"", L"*"}));
    EXPECT_EQ(CurrentStateCells(3), (ResultCells{L"", L""}));
    EXPECT_EQ(CurrentStateCells(4), (ResultCells{L"*", L""}));
    EXPECT_EQ(CurrentStateCells(-1), (ResultCells{L"*", L""}));
}

TEST(RegistrationDecisions, OutcomeCells) {
    const ResultCells notRegistered{L"*", L""};
    struct Case {
        int position;
        int status;
        ResultCells cells;
    };
    const Case cases[] = {
        {kPositionOn, kStatusOk, {L"", L"OK"}},
        {kPositionOn, kStatusNg, {L"*", L"NG"}},
        {kPositionOff, kStatusNothingThere, {L"OK", L""}},
        {kPositionOff, kStatusOk, {L"OK", L""}},
        {kPositionOff, kStatusNg, {L"NG", L""}},
        {kPositionUnchanged, kStatusNotRun, notRegistered},
        {kPositionOn, kStatusNotRun, notRegistered},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutcomeCells(c.position, c.status, notRegistered), c.cells) << c.position << " " << c.status;
}

TEST(RegistrationDecisions, OnlyTheNgCellOpensTheDetails) {
    EXPECT_TRUE(CellOpensDetails(kPositionOn, kStatusNg, true));
    EXPECT_FALSE(CellOpensDetails(kPositionOn, kStatusNg, false));
    EXPECT_TRUE(CellOpensDetails(kPositionOff, kStatusNg, false));
    EXPECT_FALSE(CellOpensDetails(kPositionOff, kStatusOk, false));
    EXPECT_FALSE(CellOpensDetails(kPositionUnchanged, kStatusNg, false));
}

TEST(RegistrationDecisions, SummaryAndResultLine) {
    const Outcomes none{};
    Outcomes okAndNg{};
    okAndNg[kTargetSendTo].status = kStatusOk;
    okAndNg[kTargetDesktop].status = kStatusNg;
    Outcomes removedNothing{};
    removedNothing[kTargetDesktop].status = kStatusNothingThere;
    EXPECT_EQ(Summarize({1, 1, 1}, none), ResultSummary::kNothingSet);
    EXPECT_EQ(Summarize({2, 1, 2}, okAndNg), ResultSummary::kError);
    EXPECT_EQ(Summarize({2, 1, 1}, okAndNg), ResultSummary::kSuccess);
    EXPECT_EQ(Summarize({1, 1, 0}, removedNothing), ResultSummary::kSuccess);
    EXPECT_EQ(Summarize({1, 2, 1}, none), ResultSummary::kNone);

    SetJapanese(false);
    EXPECT_EQ(ResultText(ResultSummary::kError), L"NG:Error has occurred.You click the NG displayed error details.");
    EXPECT_EQ(ResultText(ResultSummary::kSuccess), L"Successful completion.");
    EXPECT_EQ(ResultText(ResultSummary::kNothingSet), L"Please set the On/Off.");
    EXPECT_EQ(ResultText(ResultSummary::kNone), L"");
    SetJapanese(true);
    EXPECT_EQ(ResultText(ResultSummary::kSuccess), L"正常に終了しました。 ");
    EXPECT_EQ(ResultText(ResultSummary::kNothingSet), L"On/Offを設定してください。 ");
    SetJapanese(false);
}

TEST(RegistrationDecisions, FailureDetailsJoinTableTextAndSystemText) {
    SetJapanese(false);
    EXPECT_EQ(FailureDetails({2005, 0}), L"CD:2005 VaroSelect program does not exist.");
    EXPECT_EQ(FailureDetails({0, 0}), L"Error has occurred.");
    EXPECT_EQ(FailureDetails({2063, 5}).rfind(L"CD:2063 Failed to update the context menu(registry). *0x00000005:", 0),
              0u);
}
