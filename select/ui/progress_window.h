// The small coloured progress window: the current item and bytes while the
// run goes on, the outcome at the end, Cancel, automatic close, minimise to
// the tray and quit. It learns everything from SharedRunState on its timers.
#pragma once

#include <windows.h>

#include "startup/copy_tool.h"

// Creates the window hidden; it shows itself after 100 ms.
HWND CreateProgressWindow(CopyToolApp& app);
