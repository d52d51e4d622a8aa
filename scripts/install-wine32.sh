#!/bin/sh
# Sets up a 32-bit Wine for running the i686 programs, beside the system's 64-bit
# Wine and without touching the system's package database: Debian's wine32:i386
# packages are fetched with a private apt configuration and unpacked into a private
# root. Where the kernel runs i386 programs, Wine runs directly from that root;
# where it does not, every Wine process runs under qemu-i386 (from
# bookworm-backports: bookworm's own qemu takes about a minute per Wine process).
#
# Run as root. Setting up takes half a minute or more (a 32-bit test program must
# run at the end); once done, a run only checks that the launcher still starts
# Wine's loader, a fraction of a second.
#
#   TUMBRA_WINE32_DIR    where everything goes (default /opt/tumbra-wine32)
#   TUMBRA_WINE32_ROUTE  direct or emulated, to force a route (default: decided by
#                        running a tiny i386 program)
#
# Afterwards DIR/bin/wine is a `wine` for 32-bit programs (WINEARCH=win32; default
# prefix ~/.wine32, never the 64-bit ~/.wine) and DIR/bin/wineserver the wineserver
# that serves its prefixes; DIR/bin/route names the route taken.

# Text in single quotes is written into other scripts, unexpanded on purpose.
# shellcheck disable=SC2016
set -eu

base=${TUMBRA_WINE32_DIR:-/opt/tumbra-wine32}
forced=${TUMBRA_WINE32_ROUTE:-}
# Raised whenever what this script puts into $base changes, so old set-ups are redone.
layout=1
# Libraries that Wine loads at run time only when present (the X extensions, TLS,
# Kerberos); the 64-bit Wine has them through other packages, so the 32-bit one
# gets them too, without the rest of wine32's recommendations.
extra_packages="libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2
  libxrender1 libxxf86vm1 libgnutls30 libdbus-1-3 libkrb5-3 libgssapi-krb5-2"

die() {
    echo "install-wine32: $*" >&2
    exit 1
}

[ "$(id -u)" = 0 ] || die "must run as root"
case $forced in
    "" | direct | emulated) ;;
    *) die "TUMBRA_WINE32_ROUTE is '$forced'; it must be direct or emulated" ;;
esac
case $base in
    /*) ;;
    *) die "TUMBRA_WINE32_DIR must be an absolute path" ;;
esac

mkdir -p "$base"
chmod 755 "$base"
# Two test runs may set up at the same time.
exec 9>"$base/.lock"
flock 9

# Not under /tmp, which may be mounted noexec. Left over if a run was killed.
rm -rf "$base"/.work.*
work=$(mktemp -d "$base/.work.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

# Installs the host packages named that are missing.
need_packages() {
    missing=""
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $package"
    done
    [ -n "$missing" ] || return 0
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || die "apt-get update failed"
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null ||
        die "could not install$missing"
}

need_packages binutils

# The route: run a tiny i386 program. Exit code 42 means the kernel runs it;
# "Exec format error" means it does not; anything else is a machine this script
# does not know how to handle.
printf '.globl _start\n_start: movl $1,%%eax\n movl $42,%%ebx\n int $0x80\n' >"$work/probe.s"
as --32 "$work/probe.s" -o "$work/probe.o" || die "cannot assemble the i386 probe (binutils)"
ld -m elf_i386 "$work/probe.o" -o "$work/probe" || die "cannot link the i386 probe (binutils)"
status=0
(cd "$work" && ./probe) 2>"$work/probe.err" || status=$?
if [ "$status" = 42 ]; then
    kernel=direct
elif [ "$status" = 126 ] && grep -q "Exec format error" "$work/probe.err"; then
    kernel=emulated
else
    die "a tiny i386 program neither ran nor was refused as 'Exec format error' (exit $status: $(cat "$work/probe.err"))"
fi
route=${forced:-$kernel}
if [ "$route" = direct ] && [ "$kernel" = emulated ]; then
    die "TUMBRA_WINE32_ROUTE=direct, but this kernel does not run i386 programs"
fi

# Host packages this needs: the 64-bit wineserver serves the 32-bit prefixes,
# libz-mingw-w64 has the zlib1.dll that the 32-bit user32.dll imports, the i686
# MinGW compiler builds the check program, patchelf points the loader at the
# private root's dynamic linker.
packages="wine64 libz-mingw-w64 gcc-mingw-w64-i686-posix"
[ "$route" = direct ] && packages="$packages patchelf"
# shellcheck disable=SC2086
need_packages $packages
wine_version=$(dpkg-query -W -f='${Version}' wine64)

root=$base/root
launcher=$base/bin/wine
stamp="layout=$layout route=$route wine=$wine_version"

# Runs the check program through the launcher in a throwaway prefix (the first
# start makes it: most of the set-up's time) and waits for its wineserver to end,
# so nothing is left running. The caller's Wine settings stay out of it, and so
# does the lock.
self_check() {
    n=$(($$ % 200 + 1))
    status=0
    env -u WINEDLLOVERRIDES -u WINESERVER -u WINELOADER WINEPREFIX="$work/prefix" WINEDEBUG=-all \
        "$launcher" "$work/check.exe" "$n" >"$work/check.log" 2>&1 9>&- || status=$?
    WINEPREFIX=$work/prefix "$base/bin/wineserver" -w 9>&- || true
    if [ "$status" != $((n + 1)) ]; then
        cat "$work/check.log" >&2
        die "the 32-bit Wine ($route) did not run a test program: exit $status, expected $((n + 1))"
    fi
}

# Once set up, only the loader is started: a Windows program starts a handful of
# Wine's own processes, seconds under the emulator.
quick_check() {
    version=$(WINEPREFIX=$work/prefix "$launcher" --version 2>&1 9>&-) || true
    case $version in
        wine-*) ;;
        *) die "the 32-bit Wine ($route) set up in $base no longer starts ($version); remove $base/installed and run again" ;;
    esac
}

say_route() {
    if [ "$route" = direct ]; then
        echo "32-bit Wine: direct (kernel runs i386 programs)"
    else
        echo "32-bit Wine: emulated (qemu-i386 $("$base/qemu/qemu-i386" --version | sed -n '1s/.*version \([^ ]*\).*/\1/p'))"
    fi
}

if [ -f "$base/installed" ] && [ "$(cat "$base/installed")" = "$stamp" ]; then
    quick_check
    say_route
    exit 0
fi
rm -f "$base/installed"

# apt with a private state: the i386 packages are only downloaded, never
# installed, and the system's package database never hears of them.
private_apt() { # NAME ARCH [SOURCES-LIST]
    dir=$base/apt/$1
    mkdir -p "$dir/state/lists/partial" "$dir/cache/archives/partial" "$dir/sourceparts"
    : >"$dir/state/status"
    {
        echo "APT::Architecture \"$2\";"
        echo "APT::Architectures { \"$2\"; };"
        echo "Dir::State \"$dir/state\";"
        echo "Dir::State::status \"$dir/state/status\";"
        echo "Dir::Cache \"$dir/cache\";"
        if [ $# -gt 2 ]; then
            echo "Dir::Etc::sourcelist \"$3\";"
            echo "Dir::Etc::sourceparts \"$dir/sourceparts\";"
        fi
    } >"$dir/apt.conf"
    APT_CONFIG=$dir/apt.conf
    export APT_CONFIG
    # A source that cannot be reached only matters if a package is missing below.
    apt-get update -qq >"$work/apt-update.log" 2>&1 ||
        echo "install-wine32: apt-get update ($1) reported errors; going on" >&2
}

echo "Fetching Debian's 32-bit Wine $wine_version..."
private_apt i386 i386
archives=$base/apt/i386/cache/archives
# The same version as the 64-bit Wine: its wineserver serves the 32-bit processes.
# shellcheck disable=SC2086
apt-get -s install --no-install-recommends "wine32=$wine_version" $extra_packages \
    >"$work/plan" 2>&1 || {
    cat "$work/apt-update.log" "$work/plan" >&2
    die "apt cannot find wine32:i386 $wine_version and its dependencies"
}
# shellcheck disable=SC2086
apt-get install -y -qq --download-only --no-install-recommends "wine32=$wine_version" \
    $extra_packages >"$work/download.log" 2>&1 || {
    cat "$work/download.log" >&2
    die "downloading wine32:i386 failed"
}

rm -rf "$root.new"
mkdir -p "$root.new"
# "Inst NAME (VERSION SUITE [ARCH])", with " []" after it for some packages.
sed -n 's/^Inst \([^ ]*\) (\([^ ]*\) .*\[\([^]]*\)\]).*$/\1 \2 \3/p' "$work/plan" >"$work/packages"
[ -s "$work/packages" ] || die "apt planned no packages for wine32:i386"
[ "$(wc -l <"$work/packages")" -eq "$(grep -c '^Inst ' "$work/plan")" ] ||
    die "cannot read apt's plan for wine32:i386 (see 'Inst' lines of apt-get -s)"
while read -r name version arch; do
    deb=$archives/${name}_$(echo "$version" | sed 's/:/%3a/')_$arch.deb
    [ -f "$deb" ] || die "$deb is missing after the download"
    dpkg -x "$deb" "$root.new"
done <"$work/packages"

[ -e "$root.new/lib/i386-linux-gnu/ld-linux.so.2" ] || die "no ld-linux.so.2 in the unpacked root"
if [ "$route" = direct ]; then
    # The loader asks for /lib/ld-linux.so.2, which a 64-bit machine may lack or
    # have from another glibc build; the root's own must go with the root's libc.
    # (qemu-i386 -L finds the root's by itself.)
    patchelf --set-interpreter "$root/lib/i386-linux-gnu/ld-linux.so.2" "$root.new/usr/lib/wine/wine"
fi
# qemu-i386 -L reads the root's /etc/ld.so.cache.
mkdir -p "$root.new/var/cache/ldconfig"
echo "include /etc/ld.so.conf.d/*.conf" >"$root.new/etc/ld.so.conf"
ldconfig -r "$root.new"
# user32.dll imports zlib1.dll: it must be both in Wine's own folder and on
# WINESYSTEMDLLPATH, or some process fails to find it.
dlls=$root.new/usr/lib/i386-linux-gnu/wine/i386-windows
[ -d "$dlls" ] || die "no $dlls in the unpacked root"
cp /usr/i686-w64-mingw32/lib/zlib1.dll "$dlls/"
rm -rf "$root"
mv "$root.new" "$root"

if [ "$route" = emulated ]; then
    # bookworm-backports from the mirror the machine already uses.
    # shellcheck disable=SC1091
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
        awk -v s="$codename" '$2 == s { print $1; exit }')
    [ -n "$mirror" ] || die "no apt source of this machine names $codename, so no mirror" \
        "to fetch qemu-user from $codename-backports: add one, then run apt-get update"
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    options=""
    [ -f "$keyring" ] && options="[signed-by=$keyring] "
    mkdir -p "$base/apt/backports"
    echo "deb $options$mirror $codename-backports main" >"$base/apt/backports/sources.list"
    private_apt backports "$(dpkg --print-architecture)" "$base/apt/backports/sources.list"
    echo "Fetching qemu-user from $codename-backports..."
    mkdir -p "$base/apt/backports/debs"
    (cd "$base/apt/backports/debs" && rm -f ./*.deb && apt-get download -q "qemu-user/$codename-backports" \
        >"$work/qemu.log" 2>&1) || {
        cat "$work/qemu.log" >&2
        die "downloading qemu-user from $codename-backports failed"
    }
    rm -rf "$work/qemu"
    mkdir -p "$work/qemu"
    dpkg-deb --fsys-tarfile "$base/apt/backports/debs"/qemu-user_*.deb |
        tar -x -C "$work/qemu" ./usr/bin/qemu-i386 || die "no qemu-i386 in the qemu-user package"
    mkdir -p "$base/qemu"
    mv "$work/qemu/usr/bin/qemu-i386" "$base/qemu/qemu-i386"
    major=$("$base/qemu/qemu-i386" --version | sed -n '1s/.*version \([0-9]*\)\..*/\1/p')
    [ "${major:-0}" -ge 10 ] || die "qemu-i386 from $codename-backports is version ${major:-unknown}; 10 or later is needed"
fi

mkdir -p "$base/bin"
loader=$root/usr/lib/wine/wine
if [ "$route" = emulated ]; then
    # Wine starts each child process by running the file named like argv[0] in its
    # loader's folder. With -0 that is this script, so every child re-enters the
    # emulator: a 32-bit program started by the kernel fails where the emulator
    # is needed. WINELOADERNOEXEC: the loader must not re-exec itself.
    loader=$root/usr/lib/wine/wine-qemu
    {
        echo "#!/bin/sh"
        echo "# Wine's loader under qemu-i386, written by scripts/install-wine32.sh."
        echo "WINELOADERNOEXEC=1"
        echo "WINEARCH=win32"
        echo "WINESYSTEMDLLPATH=/usr/i686-w64-mingw32/lib"
        echo "export WINELOADERNOEXEC WINEARCH WINESYSTEMDLLPATH"
        echo "exec $base/qemu/qemu-i386 -L $root -0 $loader $root/usr/lib/wine/wine \"\$@\""
    } >"$loader"
    chmod 755 "$loader"
fi
# The launcher. Its prefix is a 32-bit one, ~/.wine32 unless WINEPREFIX names
# another: a 32-bit Wine cannot use the 64-bit ~/.wine.
{
    echo "#!/bin/sh"
    echo "# 32-bit Wine ($route), written by scripts/install-wine32.sh."
    echo 'if [ -z "${WINEPREFIX:-}" ]; then WINEPREFIX=$HOME/.wine32; fi'
    echo 'if [ -z "${WINEDEBUG:-}" ]; then WINEDEBUG=fixme-all; fi'
    echo "WINEARCH=win32"
    echo "WINESYSTEMDLLPATH=/usr/i686-w64-mingw32/lib"
    echo "export WINEPREFIX WINEDEBUG WINEARCH WINESYSTEMDLLPATH"
    if [ "$route" = emulated ]; then
        # Wine answers these only when WINELOADERNOEXEC is unset.
        echo 'case ${1:-} in'
        echo "    --version | --help) exec $base/qemu/qemu-i386 -L $root $root/usr/lib/wine/wine \"\$1\" ;;"
        echo 'esac'
    else
        # The root's libraries; its own /etc/ld.so.cache is read only under qemu.
        echo "LD_LIBRARY_PATH=$root/lib/i386-linux-gnu:$root/usr/lib/i386-linux-gnu\${LD_LIBRARY_PATH:+:\$LD_LIBRARY_PATH}"
        echo "export LD_LIBRARY_PATH"
    fi
    echo "exec $loader \"\$@\""
} >"$launcher.new"
chmod 755 "$launcher.new"
mv "$launcher.new" "$launcher"
# The root's wineserver script runs the native 64-bit one, as the loader does.
{
    echo "#!/bin/sh"
    echo "# The wineserver of the 32-bit Wine's prefixes, written by scripts/install-wine32.sh."
    echo 'if [ -z "${WINEPREFIX:-}" ]; then WINEPREFIX=$HOME/.wine32; export WINEPREFIX; fi'
    echo "exec $root/usr/lib/wine/wineserver \"\$@\""
} >"$base/bin/wineserver.new"
chmod 755 "$base/bin/wineserver.new"
mv "$base/bin/wineserver.new" "$base/bin/wineserver"

# The check program: goes through user32.dll (the one that needs zlib1.dll) and
# answers with its argument plus one.
cat >"$work/check.c" <<'EOF'
#include <windows.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    char text[16];
    if (argc != 2 || sizeof(void *) != 4)
        return 255;
    wsprintfA(text, "%d", atoi(argv[1]) + 1);
    return atoi(text);
}
EOF
i686-w64-mingw32-gcc-posix -static -O2 -s -o "$work/check.exe" "$work/check.c" ||
    die "cannot build the i686 check program"

echo "Running a 32-bit test program ($route)..."
self_check
say_route
echo "$route" >"$base/bin/route"
echo "$stamp" >"$base/installed"
