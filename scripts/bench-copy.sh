#!/usr/bin/env bash
# Copies (a) one 1 GiB file and (b) 20,000 small files (1-16 KiB) in 200
# folders with VaroSelect.exe and, in the same run, with Wine's xcopy, with a
# bare single-threaded FindFirstFileW/CopyFileExW walker (the reference any
# Windows program under Wine is measured against) and with native cp -r;
# prints times and ratios to the walker. varo-verify is VaroSelect with
# Verify=1 (every copy read back and compared with its source). The rows
# pool-1 to pool-8 run the copy tool's own tree copy with 1, 2, 4 and 8 copy
# threads; the row nocount runs the copy tool without the pass that counts the
# totals for the progress window (its test build, VARO_TEST_NO_COUNT=1), and
# the last lines give what Verify and counting cost.
#
#   scripts/bench-copy.sh [rounds]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$VARO_ROOT/scripts/setup.sh" >/dev/null
varo_ensure_display
"$VARO_ROOT/scripts/build.sh" >/dev/null
cmake --build "$VARO_BUILD" --target copy_walker tree_copy_bench >/dev/null
rounds=${1:-2}
# The copy tool's thread count on this machine (twice the cores, at most 8).
cores=$(nproc)
workers=$((2 * cores > 8 ? 8 : 2 * cores))

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
[ -f "$data/tiny.txt" ] || echo x >"$data/tiny.txt"

work=$(mktemp -d /tmp/varo_bench_copy.XXXXXX)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wineserver -p

# The copy tool in its own program folder, copying into a fresh folder each run.
program="$work/varo_bench"
mkdir -p "$program"
cp "$VARO_BUILD/bin/VaroSelect.exe" "$program/"
cp "$VARO_BUILD/bin/varo_select_seams.exe" "$program/"
settings="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/kestrel/varo_bench"
mkdir -p "$settings"

# The copy tool waits 500 ms before it shows the result and 1.5 s before it
# closes itself; both are part of its design, not of copying.
readonly VARO_DESIGNED_PAUSE=2.0

now() { date +%s.%N; }

write_settings() {  # extra-settings destination
    mkdir -p "$2"
    printf '[Env]\r\nStartSetting=0\r\nCopyMode=1\r\nPath=%s\\\r\n%s' "$(varo_winpath "$2")" "$1" |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$settings/varo.ini"
}
run_varo() {  # source destination
    write_settings "" "$2"
    wine "$(varo_winpath "$program/VaroSelect.exe")" "$(varo_winpath "$1")"
}
# Every copy read back and compared with its source.
run_varo-verify() {
    write_settings $'Verify=1\r\n' "$2"
    wine "$(varo_winpath "$program/VaroSelect.exe")" "$(varo_winpath "$1")"
}
run_nocount() {
    write_settings "" "$2"
    VARO_TEST_NO_COUNT=1 wine "$(varo_winpath "$program/varo_select_seams.exe")" "$(varo_winpath "$1")"
}
run_walker() { wine "$VARO_BUILD/bin/copy_walker.exe" "$(varo_winpath "$1")" "$(varo_winpath "$2")"; }
# The same walker listing the files first and copying them on as many threads
# as the copy tool uses: how far threads alone take a bare copy here.
run_walker-mt() { wine "$VARO_BUILD/bin/copy_walker.exe" "$workers" "$(varo_winpath "$1")" "$(varo_winpath "$2")"; }
run_pool() {  # workers source destination
    wine "$VARO_BUILD/bin/tree_copy_bench.exe" "$1" "$(varo_winpath "$2")" "$(varo_winpath "$3")"
}
run_pool-1() { run_pool 1 "$@"; }
run_pool-2() { run_pool 2 "$@"; }
run_pool-4() { run_pool 4 "$@"; }
run_pool-8() { run_pool 8 "$@"; }
run_xcopy() {
    if [ -d "$1" ]; then
        wine 'C:\windows\system32\xcopy.exe' /E /I /Y /Q "$(varo_winpath "$1")" "$(varo_winpath "$2")" >/dev/null
    else
        mkdir -p "$2"
        wine 'C:\windows\system32\xcopy.exe' /Y /Q "$(varo_winpath "$1")" "$(varo_winpath "$2")\\" >/dev/null
    fi
}
run_cp() { cp -r "$1" "$2"; }

# Every run writes into a fresh folder in memory (/dev/shm when there is
# one): gigabytes of copies written back to disk meanwhile made later runs
# several times slower and the ratios meaningless. Each output is deleted
# once measured, so memory holds one at a time.
outputs=$(mktemp -d "$([ -d /dev/shm ] && echo /dev/shm || echo /tmp)/varo_bench_out.XXXXXX")
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work" "$outputs"' EXIT
declare -A total
measure() {  # tool set source
    local destination="$outputs/$1-$2-$round"
    local start end
    start=$(now)
    "run_$1" "$3" "$destination" >/dev/null 2>&1
    end=$(now)
    local seconds
    seconds=$(echo "$end - $start" | bc -l)
    [[ $1 == varo* || $1 == nocount ]] && seconds=$(echo "$seconds - $VARO_DESIGNED_PAUSE" | bc -l)
    total[$1-$2]=$(echo "${total[$1-$2]:-0} + $seconds" | bc -l)
    rm -rf "$destination"
}
tools="walker walker-mt varo varo-verify nocount pool-1 pool-2 pool-4 pool-8 xcopy cp"

for round in $(seq 1 "$rounds"); do
    for tool in $tools; do
        # A single file is not a tree: the pool rows copy only the small files.
        [[ $tool == pool-* || $tool == walker-mt ]] || measure "$tool" big "$data/big/one.bin"
        measure "$tool" small "$data/small/tree"
    done
    # The copy tool's own start-up and end, with next to nothing to copy.
    measure varo tiny "$data/tiny.txt"
    echo "round $round done"
done

# Speed is the walker's time over the tool's: above 1 means faster than the walker.
speed() { echo "(${total[walker-$2]} / $rounds) / $1" | bc -l; }
printf '\n%-12s %12s %9s %15s %9s\n' tool "1 GiB file s" speed "20,000 files s" speed
for tool in $tools; do
    small=$(echo "${total[$tool-small]} / $rounds" | bc -l)
    if [[ $tool == pool-* || $tool == walker-mt ]]; then
        printf '%-12s %12s %9s %15.2f %8.2fx\n' "$tool" - - "$small" "$(speed "$small" small)"
        continue
    fi
    big=$(echo "${total[$tool-big]} / $rounds" | bc -l)
    printf '%-12s %12.2f %8.2fx %15.2f %8.2fx\n' "$tool" "$big" "$(speed "$big" big)" "$small" "$(speed "$small" small)"
done
printf 'Verify costs %.2fx the time of the same copy without it on the 1 GiB file, %.2fx on the 20,000 files\n' \
    "$(echo "${total[varo-verify-big]} / ${total[varo-big]}" | bc -l)" \
    "$(echo "${total[varo-verify-small]} / ${total[varo-small]}" | bc -l)"
for set in big small; do
    printf 'Counting the totals (varo against nocount), %s: %+.1f%%\n' \
        "$([ $set = big ] && echo '1 GiB file' || echo '20,000 files')" \
        "$(echo "(${total[varo-$set]} / ${total[nocount-$set]} - 1) * 100" | bc -l)"
done
printf 'VaroSelect on a 2-byte file: %.2f s (its start-up and end, part of each of its rows)\n' \
    "$(echo "${total[varo-tiny]} / $rounds" | bc -l)"
echo "(VaroSelect's times exclude its designed ${VARO_DESIGNED_PAUSE} s of pause and auto-close delay; it copies"
echo " with $workers threads on these $cores cores. pool-N is its folder-tree copy alone with N copy threads;"
echo " walker-mt is the bare walker copying on $workers threads.)"
