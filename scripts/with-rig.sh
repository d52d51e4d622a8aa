#!/bin/sh
# Runs a command on the test rig (tests/rig) with what the rig reads from its
# environment, taken from a win64 build folder: the program, the build's server host
# and a prefix of the folder's own, made once.
#   scripts/with-rig.sh BUILD_DIR COMMAND [ARGUMENT...]
set -eu
build=$(cd "$1" && pwd)
shift
export HISCORES_EXE="$build/hiscores/app/hiscores.exe" WINEPREFIX="$build/wineprefix-rig"
HISCORES_SERVER_HOST=$(sed -n 's/^HISCORES_SERVER_HOST:STRING=//p' "$build/CMakeCache.txt")
export HISCORES_SERVER_HOST
PYTHONPATH="$(cd "$(dirname "$0")/../tests" && pwd)${PYTHONPATH:+:$PYTHONPATH}"
export PYTHONPATH PYTHONDONTWRITEBYTECODE=1
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX"
exec "$@"
