#!/usr/bin/env bash
# Installs what the project needs on a Debian machine and prepares the
# checkout's Wine prefix. Safe to run again: it only does what is missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

PACKAGES=(
    cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
    wine wine64 xvfb xauth x11-utils fonts-ipafont-gothic
    imagemagick xdotool python3 bc unzip zip 7zip googletest clang-format nsis dpkg-dev
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=()
    local p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Registry settings of the prefix, imported again whenever they change:
# - the dialog fonts mapped to the installed Japanese font, so Japanese renders;
# - windows not handed to a window manager: Xvfb runs none, and Wine waits 2 s
#   for one each time a managed window (a message box, a dialog) is hidden,
#   stalling the program's window thread.
write_prefix_settings() {
    local reg="$VARO_CACHE/prefix.reg"
    printf '%s\r\n' \
        'Windows Registry Editor Version 5.00' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' \
        '"MS PGothic"="IPAPGothic"' \
        '"MS UI Gothic"="IPAPGothic"' \
        '"MS Shell Dlg"="IPAPGothic"' \
        '"MS Shell Dlg 2"="IPAPGothic"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
        '"Managed"="N"' \
        | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg.new"
    if cmp -s "$reg.new" "$reg"; then
        rm -f "$reg.new"
        return 0
    fi
    wine regedit /S "$(varo_winpath "$reg.new")"
    mv "$reg.new" "$reg"
}

# A fresh prefix links the user's Desktop, Documents and media folders to the
# Linux home folder; real folders inside the prefix keep desktop shortcuts and
# default destinations of the tests out of the machine's home folder.
make_user_folders_real() {
    local folder
    for folder in "$WINEPREFIX"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
        if [ -L "$folder" ]; then
            rm "$folder"
            mkdir -p "$folder"
        fi
    done
}

prepare_prefix() {
    mkdir -p "$VARO_CACHE"
    if [ ! -f "$VARO_CACHE/prefix.ready" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX (first time only)"
        wine wineboot -i >/dev/null 2>&1
        write_prefix_settings
        wineserver -w
        touch "$VARO_CACHE/prefix.ready"
    fi
    write_prefix_settings
    make_user_folders_real
}

# A deb-src entry for the system's own release, made from the system's own
# deb entry of that release (same mirror, same key), in a file of ours.
SOURCES_LIST=/etc/apt/sources.list.d/varo-deb-src.sources
add_source_entry() {
    [ -f "$SOURCES_LIST" ] && return 0
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    python3 - "$suite" <<'PY' | as_root tee "$SOURCES_LIST.new" >/dev/null
import glob, re, sys
suite = sys.argv[1]
# deb822 files first, then one-line entries: "deb [options] uri suite components".
for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
    for stanza in open(path).read().split("\n\n"):
        fields = dict(re.findall(r"^([A-Za-z-]+):[ \t]*(.*)$", stanza, re.M))
        if "deb" in fields.get("Types", "").split() and suite in fields.get("Suites", "").split():
            print("Types: deb-src")
            print("URIs:", fields["URIs"])
            print("Suites:", suite)
            print("Components: main")
            if "Signed-By" in fields:
                print("Signed-By:", fields["Signed-By"])
            sys.exit(0)
for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
    try:
        lines = open(path).read().splitlines()
    except OSError:
        continue
    for line in lines:
        m = re.match(r"^deb\s+(\[[^]]*\]\s+)?(\S+)\s+(\S+)\s", line)
        if m and m.group(3) == suite:
            print("Types: deb-src")
            print("URIs:", m.group(2))
            print("Suites:", suite)
            print("Components: main")
            sys.exit(0)
sys.exit("no deb entry for " + suite + " in the apt sources")
PY
    as_root mv "$SOURCES_LIST.new" "$SOURCES_LIST"
    as_root apt-get update -qq
}

# libdeflate's source package at the version cmake/libdeflate.cmake pins,
# unpacked with Debian's patches into .cache/libdeflate for our CMake to build.
fetch_libdeflate() {
    local version dir="$VARO_CACHE/libdeflate"
    version=$(sed -n 's/^set(VARO_LIBDEFLATE_DEBIAN_VERSION \(.*\))$/\1/p' "$VARO_ROOT/cmake/libdeflate.cmake")
    [ -f "$dir/ready-$version" ] && return 0
    echo "Fetching Debian's source package of libdeflate $version"
    add_source_entry
    rm -rf "$dir"
    mkdir -p "$dir"
    # Sources indexes older than our entry: refresh once and try again.
    (cd "$dir" && apt-get source -qq "libdeflate=$version" >/dev/null 2>&1) || {
        as_root apt-get update -qq
        (cd "$dir" && apt-get source -qq "libdeflate=$version" >/dev/null)
    }
    touch "$dir/ready-$version"
}

install_packages
fetch_libdeflate
varo_ensure_display
prepare_prefix
