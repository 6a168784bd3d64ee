// The driver's commands: one JSON object in ({"cmd": "...", ...}), one JSON
// object out ({"ok": true, ...} or {"ok": false, "error": "..."}).
#pragma once

#include "json.h"
#include "processes.h"

struct DriverSession {
    ProcessTable processes;
    bool quitRequested = false;
};

JsonValue RunCommand(DriverSession& session, const JsonValue& request);
