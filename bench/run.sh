#!/bin/sh
# Builds what the measurements need and prints them (bench/bench.py says what is
# measured). Needs root, as the end-to-end tests do: the runs happen in the test rig's
# private namespace. Build folders: the win32 and win64 presets', or the two given.
#   bench/run.sh [WIN32_BUILD WIN64_BUILD]
set -eu
cd "$(dirname "$0")/.."
win32=${1:-build/win32}
win64=${2:-build/win64}
scripts/install-deps.sh

cmake --preset win32 -B "$win32" >/dev/null
# shellcheck disable=SC2046
cmake --build "$win32" -j2 --target $(scripts/release_files.py targets win32) >/dev/null
cmake --preset win64 -B "$win64" >/dev/null
# shellcheck disable=SC2046
cmake --build "$win64" -j2 --target hiscores $(scripts/release_files.py targets win64) >/dev/null

helpers=build/bench
mkdir -p "$helpers"
# Stripped and static like the programs they stand beside.
x86_64-w64-mingw32-gcc-posix -O2 -s -static -Wall -Wextra -Werror -mwindows \
    -o "$helpers/do_nothing.exe" bench/do_nothing.c
x86_64-w64-mingw32-gcc-posix -O2 -s -static -Wall -Wextra -Werror \
    -o "$helpers/needdxver_timer.exe" bench/needdxver_timer.c

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -m), $(nproc) cores," \
    "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "$(wine --version 2>/dev/null)"

DO_NOTHING_EXE=$PWD/$helpers/do_nothing.exe \
NEEDDXVER_TIMER_EXE=$PWD/$helpers/needdxver_timer.exe \
PLUGIN_DLL=$PWD/$win64/nsistumbra/amd64-unicode/nsistumbra.dll \
WIN32_BUILD=$win32 WIN64_BUILD=$win64 PYTHONPATH=$PWD/scripts \
    scripts/with-rig.sh "$win64" /usr/bin/python3 bench/bench.py
