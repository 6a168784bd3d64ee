#include "registration_run.h"

#include <array>

#include "context_menu_check.h"
#include "context_menu_keys.h"
#include "language.h"
#include "paths.h"
#include "shortcuts.h"
#include "step_trace.h"

namespace {

constexpr std::array<std::wstring_view, kTargetCount> kTargetSteps = {L"RRP1", L"RRP2", L"RRP3"};

std::wstring ShortcutFolder(int target) {
    return GetSpecialFolderPath(target == kTargetSendTo ? kCsidlSendTo : kCsidlDesktop).value_or(L"");
}

}  // namespace

int RegisterTarget(const RegistrationEnv& env, int target, int action) {
    int result = 0;
    if (target == kTargetContextMenu) {
        result = ContextMenuCheck(env.classesRoot, ContextMenuEntryName(kCopyToolProgram, env.instanceSuffix), action);
    } else {
        const std::wstring programPath = env.programFolder + std::wstring(kCopyToolProgram);
        result = ShortcutTarget(ShortcutFolder(target), programPath,
                                CopyToolDisplayName(IsJapanese(), env.instanceSuffix), action);
    }
    if (result != 0) RecordStep(kTargetSteps[target], 0, 0);
    return result;
}

std::array<int, kTargetCount> CheckTargets(const RegistrationEnv& env) {
    std::array<int, kTargetCount> results{};
    for (int i = 0; i < kTargetCount; ++i) results[i] = RegisterTarget(env, i, kActionCheck);
    return results;
}

ShortcutStep RealShortcutStep(const RegistrationEnv& env) {
    return [env](int target, int action) {
        const int result = RegisterTarget(env, target, action);
        if (StatusOfResult(result) == kStatusNg && !env.debugLog.empty())
            WriteDebugLog(env.debugLog, ThreadFailureLog().trace());
        return result;
    };
}

Outcomes ExecuteShortcuts(const Positions& positions, const ShortcutStep& shortcut) {
    Outcomes outcomes{};
    FailureLog& log = ThreadFailureLog();
    for (const int target : {kTargetSendTo, kTargetDesktop}) {
        if (!PositionChanges(positions[target])) continue;
        log.ClearTrace();
        log.ClearRecord();
        const int result = shortcut(target, positions[target]);
        outcomes[target] = {StatusOfResult(result), log.record()};
    }
    return outcomes;
}

ContextMenuJob::Exchange ContextMenuExchangeFor(const RegistrationEnv& env, bool japanese, int request) {
    return [settings = ExchangeSettings{env.owner, env.programFolder, env.debugLog, nullptr}, japanese,
            request](HANDLE stop) mutable {
        settings.stop = stop;
        return RunContextMenuExchange(settings, japanese, request);
    };
}
