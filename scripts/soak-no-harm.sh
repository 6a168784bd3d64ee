#!/usr/bin/env bash
# Runs the no-harm property test of the copy run for as many generated cases
# as asked, from any seed; every failing case prints its seed and what it
# was. Ends with the line "N cases, M failures".
#
#   scripts/soak-no-harm.sh CASES SEED
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

cases=${1:?usage: scripts/soak-no-harm.sh CASES SEED}
seed=${2:?usage: scripts/soak-no-harm.sh CASES SEED}
"$VARO_ROOT/scripts/setup.sh" >/dev/null
"$VARO_ROOT/scripts/build.sh" >/dev/null
varo_ensure_display
# Runs of a thousand cases each, so a slow machine never meets a time limit
# and each failure shows as soon as its run ends.
chunk=1000
done_cases=0
failures=0
while [ "$done_cases" -lt "$cases" ]; do
    count=$((cases - done_cases < chunk ? cases - done_cases : chunk))
    output=$(cd "$VARO_BUILD/bin" && VARO_NO_HARM_CASES=$count VARO_NO_HARM_SEED=$((seed + done_cases)) \
        wine select_run_tests.exe --gtest_filter='NoHarm.*' 2>&1 || true)
    line=$(tr -d '\r' <<<"$output" | grep -E '^[0-9]+ cases, [0-9]+ failures' || true)
    if [ -z "$line" ]; then
        echo "$output" | tail -20
        echo "the run from seed $((seed + done_cases)) ended without its summary" >&2
        failures=$((failures + count))
    else
        grep -E '^seed |^    ' <<<"$output" || true
        failures=$((failures + $(sed -E 's/.* ([0-9]+) failures/\1/' <<<"$line")))
    fi
    done_cases=$((done_cases + count))
done
echo "$cases cases, $failures failures"
