#!/bin/sh
# Prepares a Debian 12 machine for the build and the tests (as root, or through sudo).
# Every step looks first and changes only what is missing, so a second run changes
# nothing. The 32-bit program check runs every time: its registration does not
# survive a reboot.
set -e
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo

# From bookworm. wine32:i386 is Wine's 32-bit side, which runs the PE32 release
# binaries; fonts-nanum gives Wine a Korean font for the notifier's texts.
# libgnutls30:i386 is what Wine's 32-bit SChannel encrypts with (only a Recommends of
# wine32); openssl makes the TLS tests' certificates; nsis builds the installer;
# nlohmann-json and CLI11 are the console tools' JSON and command-line libraries.
PACKAGES="cmake g++ clang libclang-rt-14-dev googletest
g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-i686
wine wine64 wine32:i386 xvfb xauth imagemagick x11-utils xdotool fonts-nanum
dovecot-pop3d python3 python3-dbf gdal-bin locales
libgnutls30:i386 openssl nsis nlohmann-json3-dev libcli11-dev"
# Where the kernel runs no 32-bit code, Wine's 32-bit side runs under qemu 8 or newer,
# from bookworm-backports (bookworm's qemu 7.2 cannot map Wine's shared page).
QEMU_PACKAGE=qemu-user-static
QEMU_MIN_VERSION=1:8
QEMU=/usr/bin/qemu-i386
BINFMT=/proc/sys/fs/binfmt_misc

say() { echo "setup: $*"; }

# Package index: fetched once, and only when something is to be installed.
updated=no
apt_install() {
    if [ $updated = no ]; then
        # A mirror caught mid-sync fails one index; retry, then go on with what was
        # fetched: the install below says clearly if a package is really missing.
        $SUDO apt-get update -q || { sleep 10; $SUDO apt-get update -q; } ||
            say "the package index is partly stale; installing from what was fetched"
        updated=yes
    fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "$@" || return
    # The downloaded archives (about 2 GB) are not needed once installed, and the
    # build trees and Wine prefixes want the room.
    $SUDO apt-get clean
}

# Wine's 32-bit side needs each i386 library at the very version of its amd64 twin.
# When one suite's i386 index could not be fetched (a mirror serving a stale file),
# the amd64 candidates may come from that suite and the i386 ones cannot: the install
# is then retried with every package taken from bookworm itself, where both match.
install_packages() {
    apt_install "$@" || {
        say "retrying with the packages of bookworm itself"
        apt_install -t bookworm "$@"
    }
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    say "adding the i386 architecture"
    $SUDO dpkg --add-architecture i386
fi

missing=""
for p in $PACKAGES; do
    dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
    say "installing$missing"
    install_packages $missing
fi

# 32-bit Linux programs (Wine's 32-bit loader): run natively where the kernel can,
# else through qemu, registered with binfmt_misc for i386 executables and shared
# objects. The F flag makes the kernel open qemu now, so it works in any mount namespace.
runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# qemu 8 or newer, from bookworm-backports (everything else stays from bookworm).
install_qemu() {
    if ! grep -rqs '^[^#]*bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        say "adding bookworm-backports to the package sources"
        echo "deb http://deb.debian.org/debian bookworm-backports main" |
            $SUDO tee /etc/apt/sources.list.d/backports.list >/dev/null
        updated=no
    fi
    qemu_version=$(dpkg-query -W -f '${Version}' $QEMU_PACKAGE 2>/dev/null || true)
    if [ -z "$qemu_version" ] || dpkg --compare-versions "$qemu_version" lt $QEMU_MIN_VERSION; then
        say "installing $QEMU_PACKAGE from bookworm-backports"
        apt_install -t bookworm-backports $QEMU_PACKAGE
    fi
}

register_qemu() {
    say "registering $QEMU for 32-bit programs"
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s\n' ":qemu-i386:M::$magic:$mask:$QEMU:F" | $SUDO tee $BINFMT/register >/dev/null
}

if ! runs_32bit; then
    [ -f $BINFMT/register ] || $SUDO mount -t binfmt_misc binfmt_misc $BINFMT
    if [ -f $BINFMT/qemu-i386 ]; then
        # An entry that does not work (switched off, or its qemu is gone): remove it,
        # then look again whether the kernel runs 32-bit code by itself.
        echo -1 | $SUDO tee $BINFMT/qemu-i386 >/dev/null
    fi
    if ! runs_32bit; then
        install_qemu
        register_qemu
        runs_32bit || { say "32-bit programs still do not run"; exit 1; }
    fi
fi
