// What each way of leaving the main dialog does with the settings and which
// answer a waiting copy tool gets.
#pragma once

enum class LeaveButton { Ok, OkNoSave, Cancel };

struct LeavePlan {
    bool save;          // read the pages, check, and save
    bool useTemporary;  // save to varo_tmp.ini instead of varo.ini
    int answer;         // answer to the copy tool in hand-off mode
};

LeavePlan PlanLeaving(LeaveButton button);
