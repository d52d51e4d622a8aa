#!/bin/sh
# The main job, out of the box: builds the program as it ships (the win32 preset's
# i686 hiscores.exe), seeds a prefix of the 32-bit Wine with the records of two games,
# starts a local upload server, runs hiscores.exe silently against it and prints what
# the server received and the exit code.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target hiscores >/dev/null
exec scripts/with-rig.sh build/win32 python3 scripts/demo.py
