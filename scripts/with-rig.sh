#!/bin/sh
# Runs a command on the test rig (tests/rig) with what the rig reads from its
# environment, taken from a Windows build folder (win32 or win64): the program, the
# build's server host, the Wine that runs its code (cmake/testing.cmake) and a prefix
# of the folder's own, made once.
#   scripts/with-rig.sh BUILD_DIR COMMAND [ARGUMENT...]
set -eu
build=$(cd "$1" && pwd)
shift
cached() {
    sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}
export HISCORES_EXE="$build/hiscores/app/hiscores.exe" WINEPREFIX="$build/wineprefix-rig"
HISCORES_SERVER_HOST=$(cached HISCORES_SERVER_HOST)
WINE=$(cached TUMBRA_WINE)
WINESERVER=$(cached TUMBRA_WINESERVER)
TUMBRA_WINE_TIME_FACTOR=$(cached TUMBRA_WINE_TIME_FACTOR)
export HISCORES_SERVER_HOST WINE WINESERVER TUMBRA_WINE_TIME_FACTOR
PYTHONPATH="$(cd "$(dirname "$0")/../tests" && pwd)${PYTHONPATH:+:$PYTHONPATH}"
export PYTHONPATH PYTHONDONTWRITEBYTECODE=1
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX"
exec "$@"
