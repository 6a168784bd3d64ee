#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the unit
# tests (GoogleTest under Wine) and the end-to-end tests of the real programs,
# after checking that every C++ source is formatted.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$VARO_ROOT/scripts/setup.sh"
"$VARO_ROOT/scripts/check-format.sh"
varo_ensure_display
"$VARO_ROOT/scripts/build.sh"

# One Wine server for the whole run: each test starts in ~50 ms instead of seconds.
wineserver -p || true  # 2 when a persistent server already runs: use it
trap 'wineserver -k 2>/dev/null || true' EXIT
wine "C:\\windows\\system32\\cmd.exe" /c exit >/dev/null 2>&1 || true

# Under load Wine now and then fails to start a test's process at all (it
# ends at once, without a line of output); such a test runs once more. A
# test that fails for its own reasons fails twice and is reported.
ctest --test-dir "$VARO_BUILD" -j"$(nproc)" --output-on-failure --repeat until-pass:2 "$@"
