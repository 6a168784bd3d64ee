#!/usr/bin/env bash
# Copies (a) one 1 GiB file and (b) 20,000 small files (1-16 KiB) in 200
# folders with VaroSelect.exe and, in the same run, with Wine's xcopy, with a
# bare FindFirstFileW/CopyFileExW walker (the floor for any Windows program
# under Wine) and with native cp -r; prints times and ratios to the walker.
#
#   scripts/bench-copy.sh [rounds]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$VARO_ROOT/scripts/setup.sh" >/dev/null
varo_ensure_display
"$VARO_ROOT/scripts/build.sh" >/dev/null
cmake --build "$VARO_BUILD" --target copy_walker >/dev/null
rounds=${1:-2}

data="$VARO_CACHE/bench-copy"
if [ ! -f "$data/ready" ]; then
    echo "Preparing the data in $data (once) ..."
    rm -rf "$data"
    mkdir -p "$data/big" "$data/small"
    head -c 1G /dev/urandom >"$data/big/one.bin"
    python3 - "$data/small/tree" <<'PY'
import os, random, sys
root = sys.argv[1]
random.seed(7)
for d in range(200):
    folder = os.path.join(root, f"folder{d:03d}")
    os.makedirs(folder)
    for f in range(100):
        size = random.randint(1024, 16 * 1024)
        with open(os.path.join(folder, f"file{f:03d}.dat"), "wb") as out:
            out.write(os.urandom(size))
PY
    touch "$data/ready"
fi

work=$(mktemp -d /tmp/varo_bench_copy.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wineserver -p

# The copy tool in its own program folder, copying into a fresh folder each run.
program="$work/varo_bench"
mkdir -p "$program"
cp "$VARO_BUILD/bin/VaroSelect.exe" "$program/"
settings="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/kestrel/varo_bench"
mkdir -p "$settings"

# The copy tool waits 500 ms before it shows the result and 1.5 s before it
# closes itself; both are part of its design, not of copying.
readonly VARO_DESIGNED_PAUSE=2.0

now() { date +%s.%N; }

run_varo() {  # source destination
    mkdir -p "$2"
    printf '[Env]\r\nStartSetting=0\r\nCopyMode=1\r\nPath=%s\\\r\n' "$(varo_winpath "$2")" |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$settings/varo.ini"
    wine "$(varo_winpath "$program/VaroSelect.exe")" "$(varo_winpath "$1")"
}
run_walker() { wine "$VARO_BUILD/bin/copy_walker.exe" "$(varo_winpath "$1")" "$(varo_winpath "$2")"; }
run_xcopy() {
    if [ -d "$1" ]; then
        wine 'C:\windows\system32\xcopy.exe' /E /I /Y /Q "$(varo_winpath "$1")" "$(varo_winpath "$2")" >/dev/null
    else
        mkdir -p "$2"
        wine 'C:\windows\system32\xcopy.exe' /Y /Q "$(varo_winpath "$1")" "$(varo_winpath "$2")\\" >/dev/null
    fi
}
run_cp() { cp -r "$1" "$2"; }

declare -A total
measure() {  # tool set source
    local destination="$work/out-$1-$2-$RANDOM"
    local start end
    start=$(now)
    "run_$1" "$3" "$destination" >/dev/null 2>&1
    end=$(now)
    local seconds
    seconds=$(echo "$end - $start" | bc -l)
    [ "$1" = varo ] && seconds=$(echo "$seconds - $VARO_DESIGNED_PAUSE" | bc -l)
    total[$1-$2]=$(echo "${total[$1-$2]:-0} + $seconds" | bc -l)
    rm -rf "$destination"
}

for round in $(seq 1 "$rounds"); do
    for tool in walker varo xcopy cp; do
        measure "$tool" big "$data/big/one.bin"
        measure "$tool" small "$data/small/tree"
    done
    echo "round $round done"
done

printf '\n%-8s %14s %10s %14s %10s\n' tool "1 GiB file s" ratio "20,000 files s" ratio
for tool in walker varo xcopy cp; do
    big=$(echo "${total[$tool-big]} / $rounds" | bc -l)
    small=$(echo "${total[$tool-small]} / $rounds" | bc -l)
    rbig=$(echo "$big / (${total[walker-big]} / $rounds)" | bc -l)
    rsmall=$(echo "$small / (${total[walker-small]} / $rounds)" | bc -l)
    printf '%-8s %14.2f %10.2f %14.2f %10.2f\n' "$tool" "$big" "$rbig" "$small" "$rsmall"
done
echo "(VaroSelect's times exclude its designed ${VARO_DESIGNED_PAUSE} s of pause and auto-close delay.)"
