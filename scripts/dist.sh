#!/bin/sh
# Builds what ships (the i686 program and plug-ins, the amd64 plug-in) with the win32
# and win64 presets and writes dist/tumbra-<version>.zip. The same commit always gives
# the same zip: its entries carry the commit's time, not the files' times.
#
# Signing: with TUMBRA_SIGN_CERT and TUMBRA_SIGN_KEY naming a code signing certificate
# and its private key (PEM or DER files, paths from the repository's folder), the
# program and the plug-ins are signed with Authenticode; TUMBRA_SIGN_TIMESTAMP_URL, if
# set, names an RFC 3161 timestamp server. A signature holds the time of signing, so a
# signed zip differs from run to run.
set -eu
cd "$(dirname "$0")/.."

# The signing files are checked before the build, which takes minutes.
set --
if [ -n "${TUMBRA_SIGN_CERT:-}${TUMBRA_SIGN_KEY:-}${TUMBRA_SIGN_TIMESTAMP_URL:-}" ]; then
    for file in "${TUMBRA_SIGN_CERT:-}" "${TUMBRA_SIGN_KEY:-}"; do
        [ -r "$file" ] || {
            echo "signing: TUMBRA_SIGN_CERT and TUMBRA_SIGN_KEY must name readable files" >&2
            exit 1
        }
    done
    set -- --sign-cert "$TUMBRA_SIGN_CERT" --sign-key "$TUMBRA_SIGN_KEY" \
        ${TUMBRA_SIGN_TIMESTAMP_URL:+--timestamp-url "$TUMBRA_SIGN_TIMESTAMP_URL"}
fi

scripts/install-deps.sh

for preset in win32 win64; do
    cmake --preset $preset >/dev/null
    # shellcheck disable=SC2046
    cmake --build --preset $preset -j2 --target $(scripts/release_files.py targets $preset)
done

version=$(sed -n 's/^project(tumbra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    export SOURCE_DATE_EPOCH
fi

mkdir -p dist
/usr/bin/python3 scripts/make-zip.py --source . --win32 build/win32 --win64 build/win64 \
    --output "dist/tumbra-$version.zip" "$@"
echo "dist/tumbra-$version.zip"
sha256sum "dist/tumbra-$version.zip"
