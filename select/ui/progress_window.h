// The small coloured progress window: the current item and bytes while the
// run goes on, the outcome at the end, Cancel, automatic close, minimise to
// the tray and quit. It learns everything from SharedRunState on its timers.
#pragma once

#include <atomic>

#include <windows.h>

#include "startup/run_state.h"
#include "tray_icon.h"

// Posted by the worker when the source-names label or its tooltip changed.
constexpr UINT kSourcesChangedMessage = WM_APP + 2;

// What the window works with; it must outlive the window.
struct ProgressWindowLinks {
    HINSTANCE instance = nullptr;
    SharedRunState* shared = nullptr;         // read on the timers; Cancel sets its stop flags
    std::atomic<HWND>* window = nullptr;      // holds the window while it exists (the worker posts to it)
    std::atomic<HWND>* mainWindow = nullptr;  // destroyed on quit and when the window closes
    HWND tooltip = nullptr;                   // shows the sources; none is allowed
    int dirTree = 0;                          // picks the result texts
    bool autoClose = true;                    // "Auto close" at the start
    bool packs = false;                       // the run packs archives: their progress is shown
    TrayIcon* trayIcon = nullptr;             // its tip carries the share done; none is allowed
};

// Creates the window hidden; it shows itself after 100 ms.
HWND CreateProgressWindow(const ProgressWindowLinks& links);
