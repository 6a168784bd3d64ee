// Copying one file with the progress line and the run's Cancel.
#pragma once

#include <string>

#include <windows.h>

#include "startup/run_state.h"

// Whether a file of the copy's name may be there before the copy: not in a
// folder this run has just made, where looking it up would only cost time
// (as much again as the copy of a small file).
enum class Destination { MayExist, IsNew };

// Copies `from` over `to` (an existing file is replaced) with CopyFileExW.
// The progress routine writes "<copied>/ <total> Byte" into
// statusProgressText and stops the copy once copyCancelRequested is set.
// Returns 0 or the platform's error number. A copy that fails or is stopped
// leaves no part file, unless the file existed before (then it is left as is).
DWORD CopyOneFile(const std::wstring& from, const std::wstring& to, SharedRunState& shared, Destination destination);
