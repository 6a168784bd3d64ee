// The settings application's side of the exchange with the elevation
// helper: start it with administrator rights and read its answer.
#pragma once

#include <string>

#include <windows.h>

#include "elevation_exchange.h"

struct ExchangeSettings {
    HWND owner = nullptr;
    std::wstring programFolder;  // the helper is started from here; ends with "\"
    std::wstring debugLog;       // empty when not debugging
    HANDLE stop = nullptr;       // when signalled, the wait for the answer ends (the dialog is closing)
};

// Starts the helper with the verb "runas" and "<language> <request>" and
// waits for its answer: at most about three minutes, no longer than the
// helper runs and no longer than `stop` stays unsignalled. Then acknowledges,
// so that the helper may end. Gives the answer as it came; a helper that
// could not be started, or that ended without answering, gives status
// failed, carrying the failure of this side's own steps ("MP1".."MP3") when
// one failed. Records into the calling thread's failure log.
ElevationAnswer RunContextMenuExchange(const ExchangeSettings& settings, bool japanese, int request);
