// What the progress window shows for the state of the run.
#pragma once

#include <string_view>

#include <windows.h>

#include "startup/run_state.h"

inline bool IsFinalState(int runState) {
    return runState == kRunSucceeded || runState == kRunNothingCopied || runState == kRunFailed;
}

// The one-line result shown at the end (the same in both languages).
std::wstring_view ResultText(int runState, bool listFailed, int dirTree);

// How long a finished window stays before it closes itself.
int AutoCloseDelayMs(int runState);

struct StateColors {
    COLORREF background;  // window and labels
    COLORREF cancel;      // the Cancel/Close control
};
StateColors ColorsFor(int runState);
