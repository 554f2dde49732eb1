#!/bin/sh
# Runs TrayShow on a Wine desktop of its own (whose taskbar has a notification area) in a
# prefix of its own: a named desktop left behind in the tests' shared Wine session takes
# the visible area from the windows of later tests. Its Wine session ends with the test,
# and its prefix (over a gigabyte of Wine's files) goes with it.
# Usage: tray-shell.sh <emulator> <TrayShow.exe>
emulator=$1
program=$2
WINEPREFIX="$(pwd)/wineprefix-trayshell"
export WINEPREFIX
"$emulator" explorer /desktop=trayshell,320x240 "$program" 1
status=$?
/usr/lib/wine/wineserver -k >/dev/null 2>&1
rm -rf "$WINEPREFIX"
exit $status
