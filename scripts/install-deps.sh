#!/bin/sh
# Installs what the build and the tests need from Debian's archive, once: packages
# already present are not fetched again. Run as root.
set -eu

packages="make cmake g++ googletest python3 iproute2 util-linux procps
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth xdotool nsis imagemagick tinyproxy
  clang libclang-rt-14-dev"

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing >/dev/null
# Debian's tinyproxy package starts a service of its own; the tests start their own.
if command -v systemctl >/dev/null 2>&1; then systemctl disable --now tinyproxy >/dev/null 2>&1 || true; fi
pkill -x tinyproxy 2>/dev/null || true
