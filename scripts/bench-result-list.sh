#!/usr/bin/env bash
# Times the copy result list against a plain walk of the same tree of
# 100,000 files in 10,000 folders (made once, kept in .cache/). Both are
# measured in the same run, so the ratio holds on any machine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$VARO_ROOT/scripts/setup.sh"
varo_ensure_display
if [ ! -f "$VARO_BUILD/CMakeCache.txt" ]; then "$VARO_ROOT/scripts/build.sh"; fi
cmake "$VARO_BUILD" >/dev/null
cmake --build "$VARO_BUILD" --target result_list_bench -j"$(nproc)" -- --no-print-directory >/dev/null

BENCH="$VARO_CACHE/bench-result-list"
SOURCE="$BENCH/source"
if [ ! -f "$BENCH/source.ready" ]; then
    echo "Making the source tree in $SOURCE (first time only)"
    rm -rf "$SOURCE"
    python3 - "$SOURCE" <<'PY'
import os, sys
root = sys.argv[1]
names = ["report", "data", "写真", "memo", "会議メモ", "build", "Readme", "ｴﾋﾞ", "x", "archive"]
n = 0
for top in range(100):
    # 100 top folders with 99 sub-folders each: 10,000 folders.
    folders = [os.path.join(root, "folder_%03d" % top)]
    folders += [os.path.join(folders[0], "sub %02d" % sub) for sub in range(99)]
    for folder in folders:
        os.makedirs(folder, exist_ok=True)
        for i in range(10):
            path = os.path.join(folder, "%s_%d.txt" % (names[i], n))
            with open(path, "wb"):
                pass
            # Sparse sizes up to ~5 MB: no disk space is used.
            os.truncate(path, (n * 7919) % 5000000)
            n += 1
PY
    touch "$BENCH/source.ready"
fi

wineserver -p 2>/dev/null || true  # already running is fine
trap 'wineserver -k 2>/dev/null || true' EXIT
wine "$VARO_BUILD/bin/result_list_bench.exe" "$(varo_winpath "$SOURCE")" "$(varo_winpath "$BENCH")\\list.txt"
