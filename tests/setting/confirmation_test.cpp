#include <gtest/gtest.h>

#include "confirmation.h"
#include "settings_hand_off.h"

TEST(LeavingTheDialog, SaveTargetAndAnswerPerButton) {
    const struct {
        LeaveButton button;
        bool save;
        bool temporary;
        int answer;
    } cases[] = {
        {LeaveButton::Ok, true, false, kAnswerSaved},
        {LeaveButton::OkNoSave, true, true, kAnswerThisRunOnly},
        {LeaveButton::Cancel, false, false, kAnswerCancelled},
    };
    for (const auto& c : cases) {
        const LeavePlan plan = PlanLeaving(c.button);
        EXPECT_EQ(plan.save, c.save);
        EXPECT_EQ(plan.useTemporary, c.temporary);
        EXPECT_EQ(plan.answer, c.answer);
    }
}
