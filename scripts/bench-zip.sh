#!/usr/bin/env bash
# Compares the built-in archiver (varo_zip.exe under Wine, -mmt=on) and the
# copy tool's whole Zip delivery (VaroSelect.exe under Wine with
# CompressMode 1, no add-strings, AutoClose 1: what the user waits for) with
# native `zip -r -6` and `7zz a -tzip -mmt=on` on two data sets:
#   (a) a mixed tree of ~200 MB of real files from /usr/lib and /usr/share,
#   (b) one 1 GiB compressible file (those files laid end to end, repeated).
# Each tool runs ROUNDS times per set, alternating, each run into a fresh
# output file (all deleted at the end); the best time counts. Prints time ratios (zip time / ours: above 1 means
# ours is faster), CPU-time ratios and size ratios (ours / zip). The machine
# may be shared: the load before and after is printed with the numbers.
#   scripts/bench-zip.sh [rounds] [sets]     # sets: "tree big" (default), "tree", "big"
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

ROUNDS=${1:-2}
SETS=${2:-tree big}
ZIP_TOOL="$VARO_BUILD/bin/varo_zip.exe"
COPY_TOOL="$VARO_BUILD/bin/VaroSelect.exe"
[ -f "$ZIP_TOOL" ] && [ -f "$COPY_TOOL" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }
BENCH=$(mktemp -d /tmp/varo-bench-XXXXXX)
trap 'rm -rf "$BENCH"' EXIT

# The copy tool in a program folder of its own, which gives it a settings
# folder of its own.
PROGRAM="$BENCH/varo_zipbench"
SETTINGS="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/kestrel/varo_zipbench"
mkdir -p "$PROGRAM" "$SETTINGS"
cp "$COPY_TOOL" "$PROGRAM/"
trap 'rm -rf "$BENCH" "$SETTINGS"' EXIT
# The copy tool waits 500 ms before it shows the result and 1.5 s before it
# closes itself; both are part of its design, not of packing, and are taken
# off its times.
readonly VARO_DESIGNED_PAUSE=2.0

# Copies regular files (sorted, no links) from a folder until `limit` bytes.
copy_files() {
    local from=$1 to=$2 limit=$3 total=0 size f entry
    while IFS= read -r -d '' entry; do
        size=${entry%%$'\t'*}
        f=${entry#*$'\t'}
        [ $((total + size)) -gt "$limit" ] && continue
        mkdir -p "$to/$(dirname "${f#/}")"
        cp -p "$f" "$to/${f#/}"
        total=$((total + size))
        [ "$total" -ge $((limit - 1000000)) ] && break
    done < <(find "$from" -type f -readable -printf '%s\t%p\0' 2>/dev/null | sort -z -t$'\t' -k2)
}

echo "Preparing the data sets in $BENCH"
mkdir -p "$BENCH/tree" "$BENCH/big" "$BENCH/out"
copy_files /usr/lib "$BENCH/tree" 100000000
copy_files /usr/share "$BENCH/tree" 100000000
if [[ " $SETS " == *" big "* ]]; then
    find "$BENCH/tree" -type f -print0 | sort -z | xargs -0 cat > "$BENCH/one_pass.bin"
    while [ "$(stat -c %s "$BENCH/big/large.bin" 2>/dev/null || echo 0)" -lt $((1 << 30)) ]; do
        cat "$BENCH/one_pass.bin" >> "$BENCH/big/large.bin"
    done
    truncate -s $((1 << 30)) "$BENCH/big/large.bin"
    rm "$BENCH/one_pass.bin"
fi
# Warm the page cache so every tool reads from memory.
find "$BENCH/tree" "$BENCH/big" -type f -exec cat {} + > /dev/null

now() { date +%s.%N; }
# Arithmetic on decimals without bc: calc "a / b" a b
calc() { awk -v a="$2" -v b="$3" "BEGIN { printf \"%.4f\", $1 }"; }

# Runs one tool on one source into a new output file; prints
# "wall-seconds cpu-seconds bytes". Outputs stay until the end: deleting
# one right before the next run slows that run down.
run_tool() {
    local tool=$1 source=$2 out=$3 TIMEFORMAT='%R %U %S' real user sys
    { time run_one "$tool" "$source" "$out" >/dev/null 2>&1; } 2>"$BENCH/time.txt"
    read -r real user sys <"$BENCH/time.txt"
    [ "$tool" = varo ] && real=$(calc "a - b" "$real" "$VARO_DESIGNED_PAUSE")
    echo "$real $(calc "a + b" "$user" "$sys") $(stat -c %s "$out")"
}

# The copy tool delivers source as a Zip archive into a fresh folder; the
# archive is then moved to out (a rename) for its size. Meanwhile the space
# the destination folder takes is sampled, and its peak kept in out.peak:
# the room a Zip delivery needs beside the archive itself.
run_copy_tool() {
    local source=$1 out=$2 destination="$2.d"
    mkdir -p "$destination"
    printf '[Env]\r\nStartSetting=0\r\nCopyMode=1\r\nPath=%s\\\r\nCompressMode=1\r\nAddStringsBef=0\r\nAddStringsAft=0\r\nAutoClose=1\r\nOpenDir=0\r\n' \
        "$(varo_winpath "$destination")" | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$SETTINGS/varo.ini"
    (
        peak=0
        while [ ! -f "$out.stop" ]; do
            used=$(du -sb "$destination" 2>/dev/null | cut -f1)
            [ "${used:-0}" -gt "$peak" ] && peak=$used && echo "$peak" >"$out.peak"
            sleep 0.1
        done
    ) &
    local sampler=$!
    wine "$(varo_winpath "$PROGRAM/VaroSelect.exe")" "$(varo_winpath "$source")" </dev/null
    touch "$out.stop"
    wait "$sampler"
    mv "$destination"/*.zip "$out"
}

run_one() {
    local tool=$1 source=$2 out=$3
    case $tool in
        varo) run_copy_tool "$source" "$out" ;;
        ours) wine "$ZIP_TOOL" a -tzip -ssw -mmt=on -- "$(varo_winpath "$(dirname "$out")")\\$(basename "$out")" \
                  "$(varo_winpath "$source")\\" </dev/null ;;
        zip) (cd "$(dirname "$source")" && zip -q -r -6 "$out" "$(basename "$source")") ;;
        7zz) (cd "$(dirname "$source")" && 7zz a -tzip -mmt=on -bd "$out" "$(basename "$source")") ;;
    esac
}

varo_ensure_display
# A server that is already running is fine.
wineserver -p 2>/dev/null || true
wine "C:\\windows\\system32\\cmd.exe" /c exit >/dev/null 2>&1 || true

echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg); cores: $(nproc)"
for set in $SETS; do
    source="$BENCH/$set"
    echo "== $set: $(du -sb "$source" | cut -f1) bytes in $(find "$source" -type f | wc -l) files"
    declare -A best_time=() cpu=() size=()
    for round in $(seq 1 "$ROUNDS"); do
        for tool in ours varo zip 7zz; do
            read -r seconds cpu_seconds bytes < <(run_tool "$tool" "$source" "$BENCH/out/$set-$tool-$round.zip")
            printf '   round %d %-4s %7.2f s wall %7.2f s CPU %12d bytes\n' "$round" "$tool" "$seconds" \
                "$cpu_seconds" "$bytes"
            if [ -z "${best_time[$tool]:-}" ] || awk -v a="$seconds" -v b="${best_time[$tool]}" 'BEGIN { exit !(a < b) }'; then
                best_time[$tool]=$seconds
                cpu[$tool]=$cpu_seconds
            fi
            size[$tool]=$bytes
        done
    done
    printf '   speed: zip/ours %.2fx   7zz/ours %.2fx   zip/varo %.2fx (the copy tool end to end)\n' \
        "$(calc "a / b" "${best_time[zip]}" "${best_time[ours]}")" "$(calc "a / b" "${best_time[7zz]}" "${best_time[ours]}")" \
        "$(calc "a / b" "${best_time[zip]}" "${best_time[varo]}")"
    printf '   size:  ours/zip %.4f   ours/7zz %.4f   varo/zip %.4f\n' \
        "$(calc "a / b" "${size[ours]}" "${size[zip]}")" "$(calc "a / b" "${size[ours]}" "${size[7zz]}")" \
        "$(calc "a / b" "${size[varo]}" "${size[zip]}")"
    # Other sessions' load takes cores from a parallel tool first: the CPU
    # ratio tells what the same run would take with both cores free.
    printf '   CPU:   zip/ours %.2fx (ours kept %.2f cores busy in its best run)\n' \
        "$(calc "a / b" "${cpu[zip]}" "${cpu[ours]}")" "$(calc "a / b" "${cpu[ours]}" "${best_time[ours]}")"
    peak=$(cat "$BENCH/out/$set-varo-$ROUNDS.zip.peak" 2>/dev/null || echo 0)
    printf '   room:  the destination of the copy tool held at most %d bytes while it packed; its archive has %d (%.3fx)\n' \
        "$peak" "${size[varo]}" "$(calc "a / b" "$peak" "${size[varo]}")"
    unset best_time cpu size
done
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
