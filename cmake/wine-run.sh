#!/bin/sh
# Runs one Windows program under Wine for the tests: one 64-bit prefix per build
# tree, no debug chatter, a persistent wineserver so each start is cheap, and a
# virtual display when none is set.
set -e
if [ -z "$WINEPREFIX" ]; then
    # CTest runs a test from inside its build tree; the prefix lives at the tree's top.
    dir=$(pwd)
    while [ "$dir" != "/" ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    [ -f "$dir/CMakeCache.txt" ] || dir=$(pwd)
    WINEPREFIX="$dir/wineprefix"
fi
export WINEPREFIX
export WINEDEBUG=-all
export WINELOADER=/usr/lib/wine/wine64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # The prefix is made on a display: made without one, the first program that opens windows
    # in it gets none (CreateWindowEx fails until the desktop exists).
    boot='"$WINELOADER" wineboot -i >/dev/null 2>&1 </dev/null'
    [ -n "$DISPLAY" ] || boot="xvfb-run -a $boot"
    flock "$WINEPREFIX.lock" sh -c "[ -f \"\$WINEPREFIX/system.reg\" ] || $boot"
fi
# One server stays alive between test programs; starting it again only finds it running.
/usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null || true

# Wine may start helper processes (the desktop, services) from this program that
# outlive it and would inherit its output pipes, keeping the caller waiting for
# the end of the output. The program writes to files instead, copied out after.
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
if [ -z "$DISPLAY" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$WINELOADER" "$@" >"$out" 2>"$err" </dev/null \
        || status=$?
else
    "$WINELOADER" "$@" >"$out" 2>"$err" </dev/null || status=$?
fi
cat "$out"
cat "$err" >&2
exit $status
