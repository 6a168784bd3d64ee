// The settings application's side of the exchange with the elevation
// helper: start it with administrator rights and read its answer.
#pragma once

#include <string>

#include <windows.h>

#include "registration_decisions.h"

struct ExchangeSettings {
    HWND owner = nullptr;
    std::wstring programFolder;  // the helper is started from here; ends with "\"
    std::wstring debugLog;       // empty when not debugging
};

// Starts the helper with the verb "runas" and "<language> <request>" and
// waits for its answer: at most about three minutes, and no longer than the
// helper runs. Then acknowledges, so that the helper may end. A helper that
// could not be started, or that ended without answering, gives status 2;
// a failure of this side's own steps ("MP1".."MP3") is the failure shown.
TargetOutcome RunContextMenuExchange(const ExchangeSettings& settings, bool japanese, int request);
