#!/bin/sh
# Takes the picture of an alarm summary window: larkbell started under Wine with a Korean user
# setting (code page 949, "굴림" drawn with a Nanum font) and three reminders that fall due at its
# start-up scan, written with the setting's date separator.
# Usage: summary-snapshot.sh <folder with larkbell.exe, Glyphpack.dll, WindowProbe.exe> <picture.png>
# KEEP=1 leaves the work folder (prefix, program folder) for a look afterwards.
set -e
bin=$(cd "$1" && pwd)
out=$2
work=$(mktemp -d)
trap '[ -n "$KEEP" ] || rm -rf "$work"' EXIT

export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINELOADER=/usr/lib/wine/wine64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
. "$(dirname "$0")/../../scripts/wine-prefix-look.sh"
korean_locale
# Every program of the prefix on one Wine desktop the size of the display.
wine_prefix_look "$WINELOADER" 640x360
# The date separator is the first character of the setting's sDate, in the saved registry.
sep=$(sed -n 's/^"sDate"="\(.\).*/\1/p' "$WINEPREFIX/user.reg")

mkdir "$work/app"
cp "$bin/larkbell.exe" "$bin/Glyphpack.dll" "$work/app/"
# Each text ends with the 8 bytes the writing program appends, which the window leaves out.
{
    for n in 1 2 3; do
        due=$(date -d "+$((50 + n)) seconds" "+%Y$sep%m$sep%d %H:%M:%S")
        case $n in
        1) text="거래처 방문 (본사 3층 회의실)" ;;
        2) text="주간 업무 보고서 제출" ;;
        3) text="세금계산서 발행 확인" ;;
        esac
        printf '%s,%s0000000%d\r\n' "$due" "$text" "$n"
    done
} | iconv -f UTF-8 -t CP949 >"$work/app/qAlarm.txt"

cat >"$work/shot.sh" <<SHOT
"$WINELOADER" "$work/app/larkbell.exe" >/dev/null 2>&1 &
i=0
while [ -s "$work/app/qAlarm.txt" ] && [ \$i -lt 60 ]; do sleep 1; i=\$((i + 1)); done
# A summary window must be there, then the picture.
"$WINELOADER" "$bin/WindowProbe.exe" exists TformSummary 20000 >/dev/null 2>&1 &&
    touch "$work/shown"
sleep 3
import -window root "$out"
"${WINELOADER%/*}/wineserver" -k
SHOT
xvfb-run -a -s "-screen 0 640x360x24" sh "$work/shot.sh"
test -s "$work/app/qAlarm.txt" && { echo "the reminders were not taken from the file" >&2; exit 1; }
test -f "$work/shown" || { echo "no summary window came" >&2; exit 1; }
echo "$out"
