#!/usr/bin/env bash
# Builds the three programs and makes the release packages in build/dist/:
#   Varo-<version>-setup.exe     the installer (NSIS, installer/varo.nsi)
#   Varo-<version>-portable.zip  a folder "Varo" with the programs and a read-me
# The version is the one of project(Varo VERSION ...) in CMakeLists.txt.
#
#   scripts/package.sh                    build, then both packages
#   scripts/package.sh --no-build         package the programs build/bin holds
#   scripts/package.sh --no-build --version 2.7.0 --dist <folder>
#                                         packages labelled with another version
#                                         (the upgrade test installs one as "older")
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

PROGRAMS=(VaroSelect.exe VaroSetting.exe VaroUAC.exe)
build=1
version=""
dist="$VARO_BUILD/dist"
while [ $# -gt 0 ]; do
    case "$1" in
        --no-build) build=0 ;;
        --version) version="$2"; shift ;;
        --dist) dist="$2"; shift ;;
        *) echo "usage: $0 [--no-build] [--version x.y.z] [--dist folder]" >&2; exit 2 ;;
    esac
    shift
done

if [ "$build" = 1 ]; then
    "$VARO_ROOT/scripts/setup.sh"
    if [ ! -f "$VARO_BUILD/CMakeCache.txt" ]; then
        cmake -S "$VARO_ROOT" -B "$VARO_BUILD" -G "Unix Makefiles" \
            -DCMAKE_TOOLCHAIN_FILE="$VARO_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
    fi
    # The programs only: the tests are not part of a release.
    cmake --build "$VARO_BUILD" -j"$(nproc)" --target VaroSelect VaroSetting VaroUAC -- --no-print-directory
fi
[ -n "$version" ] || version=$(cat "$VARO_BUILD/varo_version.txt")
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)

# Stripped copies: the build keeps debug information, a release does not need it.
stage=$(mktemp -d "$dist/stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/Varo"
for program in "${PROGRAMS[@]}"; do
    x86_64-w64-mingw32-strip -o "$stage/Varo/$program" "$VARO_BUILD/bin/$program"
done

setup="$dist/Varo-$version-setup.exe"
makensis -V2 -DVARO_VERSION="$version" -DVARO_BIN="$stage/Varo" -DVARO_OUT="$setup" \
    "$VARO_ROOT/installer/varo.nsi"

# The read-me as Notepad opens it: UTF-8 with a byte-order mark, CR LF.
{ printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$VARO_ROOT/installer/readme.txt"; } >"$stage/Varo/readme.txt"
portable="$dist/Varo-$version-portable.zip"
rm -f "$portable"
(cd "$stage" && zip -q -X -r "$portable" Varo)

echo "$setup"
echo "$portable"
