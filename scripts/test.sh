#!/bin/sh
# Sets up a fresh machine, builds every preset and runs every test: the portable logic
# natively and under sanitizers, and both Windows builds under Wine (Windows-side tests,
# installers and the real programs end to end): the shipping i686 build on the 32-bit
# Wine, whose route the set-up prints first, and the x86_64 build on the 64-bit one.
#   TUMBRA_WINE32_DIR=/opt/tumbra-wine32-emulated TUMBRA_WINE32_ROUTE=emulated make test
# forces the emulated route (scripts/install-wine32.sh), in a folder of its own.
set -u
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

presets="native native-asan win32 win64 fuzz"
failed=""
ran=""
total=0
log_dir=build/test-logs
mkdir -p "$log_dir"

for preset in $presets; do
    started=$(date +%s)
    echo "== $preset: configure and build"
    if ! { cmake --preset "$preset" >"$log_dir/$preset-configure.log" 2>&1 &&
           cmake --build --preset "$preset" -j2 >"$log_dir/$preset-build.log" 2>&1; }; then
        tail -n 40 "$log_dir/$preset-configure.log" "$log_dir/$preset-build.log"
        failed="$failed $preset(build)"
        continue
    fi
    echo "== $preset: test"
    ctest --preset "$preset" -j2 --timeout 900 --output-log "$log_dir/$preset-test.log" ||
        failed="$failed $preset"
    # The count only: the verdict is ctest's exit status.
    count=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log_dir/$preset-test.log")
    total=$((total + ${count:-0}))
    ran="$ran $preset (${count:-0})"
    echo "== $preset: $(($(date +%s) - started)) s"
done

if [ -n "$failed" ]; then
    echo "TEST SUMMARY: FAILED in:$failed ($total tests ran:$ran)"
    exit 1
fi
echo "TEST SUMMARY: all $total tests passed in presets:$ran"
