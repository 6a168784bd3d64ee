#!/usr/bin/env bash
# Fails when a C++ source differs from what the checked-in .clang-format
# makes of it, and names the files. With --fix, formats them instead.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
status=0
for f in "${files[@]}"; do
    if ! clang-format "$f" | cmp -s - "$f"; then
        echo "not formatted: $f (scripts/check-format.sh --fix)" >&2
        status=1
    fi
done
exit $status
