#!/usr/bin/env bash
# The main job: installs what is missing, builds the programs and runs the
# copy tool on a folder (the bundled sample when none is given).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$VARO_ROOT/scripts/setup.sh"
varo_ensure_display
"$VARO_ROOT/scripts/build.sh"
echo "Built the programs into $VARO_BUILD/bin. The copy tool is not built yet, so there is nothing to run."
