// What the end of a run decides once every source has been handled: the
// state the progress window shows and whether Explorer shows the result.
#pragma once

#include <optional>
#include <string>

#include "run/copy_run.h"
#include "settings.h"

// What the worker knows at the end of the run.
struct RunEndFacts {
    bool failed = false;     // a source failed
    bool cancelled = false;  // Cancel, or a failure that stopped the whole run
    bool somethingCopied = false;
    bool listFailed = false;
};

// kRunSucceeded, kRunNothingCopied or kRunFailed. A list-only run has copied
// nothing and succeeds when its lists were written.
int FinalRunState(const RunEndFacts& facts, const Settings& settings);

// The folder an Explorer window shows and the item selected in it.
struct ExplorerTarget {
    std::wstring folder;
    std::wstring item;
};

// With OpenDir 1 and no failure, when something was copied or a list was
// asked for: the last destination, or the VirtualStore folder when the
// system redirected a copy or list there. Nothing otherwise.
std::optional<ExplorerTarget> ExplorerTargetAfterRun(const RunEndFacts& facts, const Settings& settings,
                                                     const RunContext& run);
