#!/bin/sh
# Builds what the measurements need and prints them (bench/bench.py says what is
# measured): the x86_64 build on the 64-bit Wine, then the shipping i686 build on the
# 32-bit Wine, each with its own helper programs. Needs root, as the end-to-end tests
# do: the runs happen in the test rig's private namespace. Build folders: the win32 and
# win64 presets', or the two given.
#   bench/run.sh [WIN32_BUILD WIN64_BUILD]
set -eu
cd "$(dirname "$0")/.."
win32=${1:-build/win32}
win64=${2:-build/win64}
scripts/install-deps.sh

helpers=build/bench
rm -rf "$helpers/results"
mkdir -p "$helpers/results"
export PYTHONPATH="$PWD/scripts:$PWD/tests"

# PRESET BUILD ARCHITECTURE PLUGIN-FLAVOUR: builds and measures one build.
measure() {
    cmake --preset "$1" -B "$2" >/dev/null
    # shellcheck disable=SC2046
    cmake --build "$2" -j2 --target hiscores $(scripts/release_files.py targets "$1") >/dev/null
    out=$helpers/$3
    mkdir -p "$out"
    # Stripped and static like the programs they stand beside; the do-nothing ones for
    # the same (GUI) subsystem as hiscores.exe, so that all start the same way.
    cc="$3-w64-mingw32-gcc-posix -O2 -s -static -Wall -Wextra -Werror"
    # shellcheck disable=SC2086
    {
        $cc -mwindows -o "$out/do_nothing.exe" bench/do_nothing.c
        $cc -mwindows -o "$out/do_nothing_imports.exe" bench/do_nothing_imports.c -lws2_32
        $cc -I. -o "$out/needdxver_timer.exe" bench/needdxver_timer.c
        $cc -o "$out/dxdiag_timer.exe" bench/dxdiag_timer.c -lole32 -loleaut32
    }
    # The baseline means nothing unless it loads exactly the program's DLLs.
    for exe in "$2/hiscores/app/hiscores.exe" "$out/do_nothing_imports.exe"; do
        "$3-w64-mingw32-objdump" -p "$exe" | sed -n 's/^.*DLL Name: //p' | tr '[:lower:]' '[:upper:]'
    done | sort | uniq -u | grep . && {
        echo "bench/do_nothing_imports.c does not import what hiscores.exe imports (above)" >&2
        exit 1
    }
    case $(sed -n 's/^TUMBRA_WINE_ROUTE:INTERNAL=//p' "$2/CMakeCache.txt") in
        64-bit) wine="64-bit Wine" ;;
        direct) wine="32-bit Wine, direct" ;;
        emulated) wine="32-bit Wine, emulated (qemu-i386)" ;;
        *) echo "no Wine for $2: see its cmake output" >&2 && exit 1 ;;
    esac
    scripts/with-rig.sh "$2" /usr/bin/python3 bench/bench.py measure --helpers "$PWD/$out" \
        --plugin "$PWD/$2/nsistumbra/$4/nsistumbra.dll" --build "$3" --wine "$wine" \
        --output "$helpers/results/$1.json"
}
measure win64 "$win64" x86_64 amd64-unicode
measure win32 "$win32" i686 x86-unicode

echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -m), $(nproc) cores," \
    "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "$(wine --version 2>/dev/null)"
/usr/bin/python3 bench/bench.py report --win32 "$win32" --win64 "$win64" \
    "$helpers/results/win64.json" "$helpers/results/win32.json"
