#!/bin/sh
# The main job, out of the box: builds the program, seeds a Wine prefix with the records
# of two games, starts a local upload server, runs hiscores.exe silently against it and
# prints what the server received and the exit code.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target hiscores >/dev/null
exec scripts/with-rig.sh build/win64 python3 scripts/demo.py
