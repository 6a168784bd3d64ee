// What the progress window shows for the state of the run.
#pragma once

#include <string_view>

#include <windows.h>

#include "startup/run_state.h"

inline bool IsFinalState(int runState) {
    return runState == kRunSucceeded || runState == kRunNothingCopied || runState == kRunFailed;
}

// The one-line result shown at the end: English in both languages, but for
// the note that every copy was read back and matched (`verified`), which
// follows the language.
std::wstring_view ResultText(int runState, bool listFailed, int dirTree, bool verified = false);

// What the Cancel control does at this point of the run.
enum class CancelEffect {
    CloseWindow,  // the run has finished and the control reads "Close"
    StopList,     // only the copy result list being written stops; the copies stand
    StopRun,      // the copying stops
};
CancelEffect CancelEffectFor(bool finished, bool listWriting);

// What the window does once the run has reached a final state: close itself
// after a delay with the Cancel control hidden, or turn Cancel into "Close"
// and wait for the user.
struct FinishBehaviour {
    bool closesItself = false;
    int delayMs = 0;
};
FinishBehaviour FinishBehaviourFor(int runState, bool autoCloseOn);

struct StateColors {
    COLORREF background;  // window and labels
    COLORREF cancel;      // the Cancel/Close control
};
StateColors ColorsFor(int runState);
