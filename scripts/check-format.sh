#!/bin/sh
# Fails when a C or C++ source of the repository differs from the one .clang-format.
set -eu
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror
