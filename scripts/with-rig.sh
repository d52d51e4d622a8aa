#!/bin/sh
# Runs a command on the test rig (tests/rig) with what the rig reads from its
# environment, as a Windows build folder (win32 or win64) wrote it to rig.env
# (tests/e2e/CMakeLists.txt): the program, the build's server host, the Wine that runs its
# code and the DLL to plant; and the folder's own prefix, made once.
#   scripts/with-rig.sh BUILD_DIR COMMAND [ARGUMENT...]
set -eu
build=$(cd "$1" && pwd)
shift
while IFS= read -r setting; do
    export "$setting"
done <"$build/rig.env"
export WINEPREFIX="$build/wineprefix-rig"
PYTHONPATH="$(cd "$(dirname "$0")/../tests" && pwd)${PYTHONPATH:+:$PYTHONPATH}"
export PYTHONPATH PYTHONDONTWRITEBYTECODE=1
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX"
exec "$@"
