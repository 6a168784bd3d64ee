// An unexpected failure inside a run (memory running out, anything thrown
// on one of its threads) stops the whole run as failed, with a message.
#pragma once

#include <functional>
#include <string>

#include "startup/run_state.h"

// For a copy thread: stops the run; only the first failure of the run is
// shown, as for a failed copy.
void StopRunOnUnexpectedFailure(SharedRunState& shared, const std::wstring& what);

// The worker's barrier: runs the whole run; if anything escapes it, the run
// is stopped and ends as failed, the failure is shown, and afterFailure lets
// the windows know. Whatever the run made and had not finished (part files,
// temporary files) has been removed by then, as its owners went out of scope.
void RunWorkerBehindBarrier(SharedRunState& shared, const std::function<void()>& run,
                            const std::function<void()>& afterFailure);
