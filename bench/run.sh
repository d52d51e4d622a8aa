#!/bin/sh
# Builds what the measurements need and prints them (bench/bench.py says what is
# measured). Needs root, as the end-to-end tests do: the runs happen in a private
# network namespace. Build folders: the win32 and win64 presets', or the two given.
#   bench/run.sh [WIN32_BUILD WIN64_BUILD]
set -eu
cd "$(dirname "$0")/.."
win32=${1:-build/win32}
win64=${2:-build/win64}
scripts/install-deps.sh

cmake --preset win32 -B "$win32" >/dev/null
cmake --build "$win32" -j2 --target hiscores nsistumbra_x86-ansi nsistumbra_x86-unicode >/dev/null
cmake --preset win64 -B "$win64" >/dev/null
cmake --build "$win64" -j2 --target hiscores nsistumbra_amd64-unicode >/dev/null

helpers=build/bench
mkdir -p "$helpers"
# Stripped and static like the programs they stand beside.
x86_64-w64-mingw32-gcc-posix -O2 -s -static -Wall -Wextra -Werror -mwindows \
    -o "$helpers/do_nothing.exe" bench/do_nothing.c
x86_64-w64-mingw32-gcc-posix -O2 -s -static -Wall -Wextra -Werror \
    -o "$helpers/needdxver_timer.exe" bench/needdxver_timer.c
scripts/wine-prefix.sh "$PWD/$helpers/wineprefix"

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -m), $(nproc) cores," \
    "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "$(wine --version 2>/dev/null)"

HISCORES_EXE=$PWD/$win64/hiscores/app/hiscores.exe \
DO_NOTHING_EXE=$PWD/$helpers/do_nothing.exe \
NEEDDXVER_TIMER_EXE=$PWD/$helpers/needdxver_timer.exe \
PLUGIN_DLL=$PWD/$win64/nsistumbra/amd64-unicode/nsistumbra.dll \
SHIPPED_BINARIES="hiscores.exe (i686)=$win32/hiscores/app/hiscores.exe:Plugins/x86-ansi/nsistumbra.dll=$win32/nsistumbra/x86-ansi/nsistumbra.dll:Plugins/x86-unicode/nsistumbra.dll=$win32/nsistumbra/x86-unicode/nsistumbra.dll:Plugins/amd64-unicode/nsistumbra.dll=$win64/nsistumbra/amd64-unicode/nsistumbra.dll" \
HISCORES_SERVER_HOST=$(sed -n 's/^HISCORES_SERVER_HOST:STRING=//p' "$win64/CMakeCache.txt") \
WINEPREFIX=$PWD/$helpers/wineprefix \
PYTHONDONTWRITEBYTECODE=1 \
    /usr/bin/python3 bench/bench.py
