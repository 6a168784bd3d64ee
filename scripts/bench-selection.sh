#!/usr/bin/env bash
# Times the serial search and the per-file selection test against listing a
# destination folder of 100,000 entries once, all in the same run, and
# prints the ratios. Builds first when needed.
#
#   scripts/bench-selection.sh [entries]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$VARO_ROOT/scripts/setup.sh" >/dev/null
"$VARO_ROOT/scripts/build.sh" >/dev/null
cmake --build "$VARO_BUILD" --target selection_bench >/dev/null

# A fresh folder for each run: a tree deleted and refilled at once is slow on
# this disk and would distort the reference.
folder=$(mktemp -d /tmp/varo_bench_selection.XXXXXX)
trap 'rm -rf "$folder"' EXIT

# Filled natively: under Wine each new file costs more the fuller the folder.
# Names of many shapes, as a folder of earlier copies and other files holds:
# copies, archives and result lists of a.txt among unrelated files.
python3 - "$folder" "${1:-100000}" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
shapes = ["a_{:06d}.txt", "report_{}.xlsx", "a_{:06d}.txt.zip", "IMG_{:05d}.JPG",
          "meeting notes {}.docx", "a_{:06d}.txt.txt", "backup-{}.tar.gz", "Data{}.csv"]
for i in range(count):
    open(os.path.join(folder, shapes[i % len(shapes)].format(i)), "w").close()
PY

wine "$VARO_BUILD/bin/selection_bench.exe" "$(varo_winpath "$folder")"
