#!/bin/sh
# Installs the Debian packages the build and the tests need (only what is missing).
set -e
PACKAGES="cmake g++ clang libclang-rt-14-dev googletest
g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-i686
wine wine64 xvfb xauth imagemagick x11-utils xdotool fonts-nanum
dovecot-pop3d python3 python3-dbf gdal-bin locales"

missing=""
for p in $PACKAGES; do
    dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "setup: installing$missing"
SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
