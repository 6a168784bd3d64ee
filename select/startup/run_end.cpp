#include "startup/run_end.h"

#include "paths.h"
#include "run/copy_rules.h"

int FinalRunState(const RunEndFacts& facts, const Settings& settings) {
    if (facts.failed || facts.cancelled) return kRunFailed;
    if (facts.somethingCopied) return kRunSucceeded;
    if (ListOnly(settings)) return facts.listFailed ? kRunFailed : kRunSucceeded;
    return kRunNothingCopied;
}

std::optional<ExplorerTarget> ExplorerTargetAfterRun(const RunEndFacts& facts, const Settings& settings,
                                                     const RunContext& run) {
    if (facts.failed || settings.OpenDir != 1) return std::nullopt;
    if (!facts.somethingCopied && settings.DirTree == 0) return std::nullopt;
    const std::wstring& folder = run.virtualStoreFound ? run.virtualStoreFolder : run.lastDestinationFolder;
    return ExplorerTarget{folder, LastPathComponent(run.lastDestinationPath)};
}
