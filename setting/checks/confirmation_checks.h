// Every check that runs when the user confirms the dialog (OK or OK(No
// save)), in its fixed order, on the settings just read back from the pages.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "checks/check_message.h"
#include "settings.h"

// The real destination-folder step: an existing folder passes, anything else is created.
bool EnsureDestinationFolder(const std::wstring& folder);

// The two character tests must be set (the shared character check with its
// rule set); the folder step defaults to the real one.
struct ConfirmationHooks {
    ForbiddenCharsFinder addStringChars;  // the add-string rules
    ForbiddenCharsFinder conditionChars;  // the condition rules
    // Makes sure the destination folder exists, creating it with its missing
    // parents; false when that fails. Runs only for CopyMode 1 and a non-empty Path.
    std::function<bool(const std::wstring& folder)> ensureFolder = EnsureDestinationFolder;
};

// The hooks with the shared character check and its rule sets.
ConfirmationHooks StandardConfirmationHooks();

struct ConfirmationResult {
    // Information messages (a replaced date), to be shown in order before the failure.
    std::vector<CheckMessage> notices;
    CheckResult failure;  // nothing: everything passed, the histories and the file may be written
};

// Path, destination folder, add strings, condition lists, name kinds, then
// the range dates; the first failure ends the sequence. What the steps
// change in `settings` (the trailing "\" of Path, control codes removed from
// the condition lists, a replaced date) stays even when a later step fails.
ConfirmationResult RunConfirmationChecks(Settings& settings, const ConfirmationHooks& hooks);
