#!/usr/bin/env bash
# The main job: installs what is missing, builds the programs and runs the
# copy tool on a folder, the bundled sample when none is given. The copy
# lands beside the folder, named by the default settings (name_date_time).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$VARO_ROOT/scripts/setup.sh"
varo_ensure_display
"$VARO_ROOT/scripts/build.sh" >/dev/null

demo="$VARO_BUILD/demo"
if [ $# -ge 1 ]; then
    source_folder=$(readlink -f "$1")
    [ -d "$source_folder" ] || { echo "not a folder: $1" >&2; exit 1; }
else
    # A fresh copy of the sample each time, so the copies land in build/.
    rm -rf "$demo/input"
    mkdir -p "$demo/input"
    cp -r "$VARO_ROOT/sample/Reports" "$demo/input/"
    mkdir -p "$demo/input/Reports/empty"
    source_folder="$demo/input/Reports"
fi

# The program folder's name gives the demo its own settings folder
# (%APPDATA%\kestrel\varo_demo), apart from any real installation.
program="$demo/varo_demo"
mkdir -p "$program"
cp "$VARO_BUILD/bin/VaroSelect.exe" "$program/"
settings="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/kestrel/varo_demo"
mkdir -p "$settings"
printf '[Env]\r\nStartSetting=0\r\n' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$settings/varo.ini"

parent=$(dirname "$source_folder")
before=$(ls -1 "$parent")
echo "Copying $source_folder with VaroSelect.exe under Wine (display $DISPLAY) ..."
wine "$(varo_winpath "$program/VaroSelect.exe")" "$(varo_winpath "$source_folder")" || true
wineserver -w

copies=$(comm -13 <(echo "$before") <(ls -1 "$parent"))
if [ -z "$copies" ]; then
    echo "No copy was made." >&2
    exit 1
fi
while IFS= read -r name; do
    echo "Copied to: $parent/$name"
    (cd "$parent/$name" && find . -mindepth 1 | sort | sed 's/^\.\//    /')
done <<<"$copies"
