// What each way of leaving the main dialog does with the settings and which
// answer a waiting copy tool gets.
#pragma once

#include <functional>

enum class LeaveButton { Ok, OkNoSave, Cancel };

struct LeavePlan {
    bool save;          // read the pages, check, and save
    bool useTemporary;  // save to varo_tmp.ini instead of varo.ini
    int answer;         // answer to the copy tool in hand-off mode
};

LeavePlan PlanLeaving(LeaveButton button);

// What leaving needs from the dialog.
struct LeaveSteps {
    std::function<bool()> confirm;                   // read the pages, check them, update the histories
    std::function<int(bool useTemporary)> save;      // 0, or -1 after saying why
    std::function<void(int answer)> answerCopyTool;  // in hand-off mode; waits until it is taken
};

// Leaves by one button: a button that saves confirms and saves first, and a
// failed check or save stops there, with nothing answered (the dialog stays
// open, and the copy tool is never told "saved" for a save that failed).
// True when the dialog may close.
bool LeaveDialog(LeaveButton button, const LeaveSteps& steps);
