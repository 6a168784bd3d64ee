// Ending the copy tool while its worker still runs.
#pragma once

#include <windows.h>

#include "startup/run_state.h"

// How long the end of the program waits for the worker to stop.
constexpr DWORD kWorkerStopLimitMs = 5000;

// The program is ending: the worker is told to stop as Cancel tells it, the
// message boxes and the folder browser it shows are closed as if the user
// had closed them, and it gets up to limitMs to clean up as after Cancel.
// Returns whether it ended. If it has not, the program ends anyway: what the
// run had made and not yet removed stays as it is, and nothing else is
// touched. Call it on the window thread once its message loop has ended.
bool StopWorker(SharedRunState& shared, HANDLE worker, DWORD workerThreadId, DWORD limitMs = kWorkerStopLimitMs);
