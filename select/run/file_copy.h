// Copying one file with the progress line and the run's Cancel.
#pragma once

#include <string>

#include <windows.h>

#include "file_system.h"
#include "startup/run_state.h"

// Whether a file of the copy's name may be there before the copy: not in a
// folder this run has just made, where looking it up would only cost time
// (as much again as the copy of a small file).
enum class Destination { MayExist, IsNew };

// What became of one file copy.
struct CopyResult {
    DWORD error = 0;             // the copy failed: the platform's error number
    bool differs = false;        // read back twice, the copy still differed from its source; none was kept
    bool sourceChanged = false;  // the source changed while it was copied; the copy stays as made
};

// Copies `from` to `to`. The progress routine writes "<copied>/ <total>
// Byte" into statusProgressText and stops the copy once copyCancelRequested
// is set.
// A file that is already at `to` is never opened for writing: the copy goes
// to a fresh name beside it and then takes its place in one step, whatever
// the old file's attributes (hidden, read-only), and keeps the source's. A
// copy that fails or is stopped therefore leaves the old file as it was, and
// leaves no part file of its own.
// With verifyAgainst (the source's find data from before the copy) the copy
// is read back and compared with the source before it takes its place; one
// that differs is made once more, and if it differs again it is removed.
CopyResult CopyOneFile(FileSystem& files, const std::wstring& from, const std::wstring& to, SharedRunState& shared,
                       Destination destination, const WIN32_FIND_DATAW* verifyAgainst = nullptr);
