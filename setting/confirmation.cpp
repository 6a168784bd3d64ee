#include "confirmation.h"

#include "settings_hand_off.h"

LeavePlan PlanLeaving(LeaveButton button) {
    switch (button) {
        case LeaveButton::Ok:
            return {true, false, kAnswerSaved};
        case LeaveButton::OkNoSave:
            return {true, true, kAnswerThisRunOnly};
        case LeaveButton::Cancel:
        default:
            return {false, false, kAnswerCancelled};
    }
}

bool LeaveDialog(LeaveButton button, const LeaveSteps& steps) {
    const LeavePlan plan = PlanLeaving(button);
    if (plan.save && (!steps.confirm() || steps.save(plan.useTemporary) != 0)) return false;
    steps.answerCopyTool(plan.answer);
    return true;
}
