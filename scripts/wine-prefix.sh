#!/bin/sh
# Creates a private Wine prefix once (the first start takes 10-20 s) and waits until
# its wineserver has gone, so that a later test may start its own, for example
# inside a private network namespace. WINE and WINESERVER name the build's Wine
# (default: the system's).
set -eu
prefix=$1
export WINEPREFIX="$prefix" WINEDEBUG=-all
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    # Without address randomization, as every Wine process of the tests (tests/rig/wine.py).
    setarch -R "${WINE:-wine}" wineboot -u >/dev/null 2>&1
fi
"${WINESERVER:-wineserver}" -w
