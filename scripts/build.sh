#!/usr/bin/env bash
# Configures (first time) and builds every program and test into build/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

if [ ! -f "$VARO_BUILD/CMakeCache.txt" ]; then
    cmake -S "$VARO_ROOT" -B "$VARO_BUILD" -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$VARO_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
cmake --build "$VARO_BUILD" -j"$(nproc)" -- --no-print-directory
