// Counting what a run will copy, on a thread of its own while the copy goes
// on, so the progress window can show the share done. The count takes the
// same sources, selection conditions, date bounds, empty-folder and link
// rules as the walk, through the same file operations, and only reads:
// what is copied never depends on it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "file_system.h"
#include "handles.h"
#include "run/conditions.h"
#include "settings.h"
#include "startup/run_state.h"

// How long the end of a run waits for the count to stop.
constexpr DWORD kCountStopLimitMs = 2000;

// A run copies file by file, so counting its files means something: not a
// list-only run (nothing is copied), not an archive (the archiver knows its
// own totals), and files are copied at all.
bool CountsTotals(const Settings& s);

struct CountedTotals {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

// Adds up the files and bytes a run copies from these command-line paths,
// as the walk would select them now. False when stop was set before the end.
bool CountSources(const std::vector<std::wstring>& paths, const Settings& settings,
                  const SelectionConditions& conditions, FileSystem& files, const std::atomic<bool>& stop,
                  CountedTotals& totals);

struct CountJob;

// The count on its own thread, started at once. It publishes into
// shared.progress: Counting, then Complete with the totals, or Stopped
// when Cancel (shared.copyCancelRequested), Stop() or a failure ended it; a
// failure inside the count never touches the run. Everything the thread
// uses but `files` is its own, so a count that Stop() has to leave behind
// (a listing hanging on a network drive) harms nothing; `files` must
// outlive the process's threads (the system's file operations do).
class TotalsCount {
public:
    TotalsCount(std::vector<std::wstring> paths, const Settings& settings, const SelectionConditions& conditions,
                FileSystem& files, SharedRunState& shared);
    ~TotalsCount();
    TotalsCount(const TotalsCount&) = delete;
    TotalsCount& operator=(const TotalsCount&) = delete;

    // Ends the count and waits up to limitMs for its thread; a thread still
    // running then is left to end by itself and reports nothing more.
    // Returns whether it ended.
    bool Stop(DWORD limitMs = kCountStopLimitMs);

private:
    std::shared_ptr<CountJob> job_;
    UniqueKernelHandle thread_;
};
