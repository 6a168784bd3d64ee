// One request of the helper: from the arguments and the rights it runs with
// to the answer for the settings application.
#pragma once

#include <optional>

#include "context_menu_entries.h"
#include "elevation_exchange.h"
#include "uac_command_line.h"

// Carries out the request. Without administrator rights it says so and
// answers status 2 (code 2000) for a removal or registration; with malformed
// arguments (none given) it does nothing and answers status 0. `elevated` is
// a parameter so that the path without rights can be tested: the test
// platform runs every program elevated.
ElevationAnswer HandleRequest(const UacContext& context, const std::optional<UacArguments>& arguments, bool elevated);

// The menu text of the entries: the copy tool's display name, with the
// access key "(&9)" when registering.
std::wstring ContextMenuText(const UacContext& context, bool japanese, int request);
