#!/bin/sh
# Runs one Windows program under Wine for the tests: one prefix per build tree, no
# debug chatter, a persistent wineserver so each start is cheap, and a virtual
# display when none is set. PE32 programs start with Wine's 32-bit loader, every
# other program (x64 ones, Wine's own commands) with the 64-bit loader.
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
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# The machine field of the PE header: 014c for i386.
pe_machine() {
    [ -f "$1" ] || return 0
    header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$header" ] || return 0
    od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}
if [ "$(pe_machine "$1")" = 014c ]; then
    export WINELOADER=/usr/lib/wine/wine
else
    export WINELOADER=/usr/lib/wine/wine64
fi

# A 64-bit prefix runs PE32 programs too, provided it was made after Wine's 32-bit
# side was installed (else its syswow64 folder stays empty).
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # The prefix is made on a display: made without one, the first program that opens windows
    # in it gets none (CreateWindowEx fails until the desktop exists).
    boot='/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 </dev/null'
    [ -n "$DISPLAY" ] || boot="xvfb-run -a $boot"
    flock "$WINEPREFIX.lock" sh -c "[ -f \"\$WINEPREFIX/system.reg\" ] || $boot"
fi
if [ "$WINELOADER" = /usr/lib/wine/wine ] &&
    [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "wine-run: $WINEPREFIX has no 32-bit system files: remove it (it was made before wine32:i386 was installed)" >&2
    exit 125
fi
# One server stays alive between test programs; starting it again only finds it running.
/usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null || true

# Wine may start helper processes (the desktop, services) from this program that
# outlive it and would inherit its output pipes, keeping the caller waiting for
# the end of the output. The program writes to files instead, copied out after.
# Standard input is closed too, unless WINE_RUN_KEEP_STDIN is set (a test feeding the program).
in=/dev/null
[ -z "${WINE_RUN_KEEP_STDIN:-}" ] || in=/dev/stdin
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
if [ -z "$DISPLAY" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$WINELOADER" "$@" >"$out" 2>"$err" <"$in" \
        || status=$?
else
    "$WINELOADER" "$@" >"$out" 2>"$err" <"$in" || status=$?
fi
cat "$out"
cat "$err" >&2
exit $status
