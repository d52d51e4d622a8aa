#!/bin/sh
# Sets up a fresh machine, builds every preset and runs every test: the portable logic
# natively and under sanitizers, the shipping i686 build's checks, and the x86_64 build
# under Wine (Windows-side tests and the real programs end to end).
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
done

if [ -n "$failed" ]; then
    echo "TEST SUMMARY: FAILED in:$failed ($total tests ran:$ran)"
    exit 1
fi
echo "TEST SUMMARY: all $total tests passed in presets:$ran"
