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

// Copies `from` to `to`. The progress routine writes "<copied>/ <total>
// Byte" into statusProgressText and stops the copy once copyCancelRequested
// is set. Returns 0 or the platform's error number.
// A file that is already at `to` is never opened for writing: the copy goes
// to a fresh name beside it and then takes its place in one step, whatever
// the old file's attributes (hidden, read-only), and keeps the source's. A
// copy that fails or is stopped therefore leaves the old file as it was, and
// leaves no part file of its own.
DWORD CopyOneFile(FileSystem& files, const std::wstring& from, const std::wstring& to, SharedRunState& shared,
                  Destination destination);
