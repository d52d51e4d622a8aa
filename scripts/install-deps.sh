#!/bin/sh
# Installs what the build and the tests need from Debian's archive, once: packages
# already present are not fetched again. Then the 32-bit Wine that runs the shipping
# i686 programs (scripts/install-wine32.sh; TUMBRA_WINE32_DIR and TUMBRA_WINE32_ROUTE
# pass through to it), which prints the route it takes. Run as root.
set -eu

packages="make cmake g++ googletest libgtest-dev python3 iproute2 util-linux procps
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth xdotool nsis imagemagick tinyproxy openssl osslsigncode python3-pefile python3-capstone
  clang libclang-rt-14-dev"

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $package"
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null
    # Debian's tinyproxy package starts a service of its own when it is installed; the
    # tests start their own. Stop only that service: through systemd where it runs, else
    # by the package's pid file (its init script would stop every tinyproxy).
    case "$missing " in
    *" tinyproxy "*)
        if [ -d /run/systemd/system ]; then
            systemctl disable --now tinyproxy
        else
            start-stop-daemon --stop --oknodo --pidfile /run/tinyproxy/tinyproxy.pid \
                --exec /usr/bin/tinyproxy
        fi >/dev/null 2>&1 || true ;;
    esac
fi

"$(dirname "$0")/install-wine32.sh"
