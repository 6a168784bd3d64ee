// Execute of the registration page without its window: checks and changes
// the three targets and gives each one's status and failure record.
#pragma once

#include <functional>
#include <string>

#include <windows.h>

#include "context_menu_exchange.h"
#include "context_menu_job.h"
#include "registration_decisions.h"

// Where the targets live, all derived from the settings application's folder.
struct RegistrationEnv {
    std::wstring programFolder;  // ends with "\"; the copy tool and the helper lie here
    std::wstring instanceSuffix;
    HKEY classesRoot = nullptr;  // the machine's classes, where the helper writes the entries
    HWND owner = nullptr;
    std::wstring debugLog;  // empty when not debugging
};

// Send-To and desktop: the shortcut in the special folder; the context
// menu: only the check (action 9) happens here. Returns 0, 4 (not there),
// 3 (check refused) or another value on failure, recording "RRP1".."RRP3".
[[nodiscard]] int RegisterTarget(const RegistrationEnv& env, int target, int action);

// The check of each target, for the current-state cells.
std::array<int, kTargetCount> CheckTargets(const RegistrationEnv& env);

// How Execute changes a Send-To or desktop shortcut; replaced in tests.
using ShortcutStep = std::function<int(int target, int action)>;
ShortcutStep RealShortcutStep(const RegistrationEnv& env);

// Runs the shortcut targets whose trackbar is at Off or On, each with a
// failure record of its own. The context menu is left "not run": it changes
// through the helper (ContextMenuExchangeFor), off the window's thread.
Outcomes ExecuteShortcuts(const Positions& positions, const ShortcutStep& shortcut);

// The exchange with the helper for the context-menu request, as the page's
// job runs it.
ContextMenuJob::Exchange ContextMenuExchangeFor(const RegistrationEnv& env, bool japanese, int request);
