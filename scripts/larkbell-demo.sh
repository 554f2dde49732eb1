#!/bin/sh
# Runs the notifier larkbell.exe against a private demo mailbox, in a Wine prefix of its own.
#
#   scripts/larkbell-demo.sh                 run it: on $DISPLAY until its menu's exit command,
#                                            else on a virtual display for DEMO_SECONDS (90),
#                                            saving a screenshot every 10 s into build/demo/
#   scripts/larkbell-demo.sh COMMAND...      run COMMAND while larkbell runs (the screenshot
#                                            script does), then stop
#
# The mailbox is dovecot on a free loopback address at port 110 (the notifier always uses the
# standard port; without root a free port, see below), account "three" with three messages. The prefix (build/demo/wineprefix) gets
# the notifier's settings and the Korean font for "굴림". larkbell runs on a Wine desktop
# window with a taskbar, whose notification area shows the tray icon. The program runs from a
# folder of its own (build/demo/app) whose alarm file holds one reminder that falls due a
# minute after the start, so the alarm summary window shows up too. Stopping (the end, or
# Ctrl+C) ends larkbell, the prefix's Wine processes, the virtual display and dovecot.
#
# LARKBELL_EXE chooses the program. By default it is the release file dist/larkbell.exe (PE32)
# when Wine's 32-bit side (wine32:i386) is installed, else the 64-bit build of the same sources
# in the test tree, build/win64/bin/larkbell.exe.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "$1" != "--inner" ]; then
    # As root the mailbox listens on the standard port, as the notifier expects; otherwise on a
    # free port, which the program is told through LARKBELL_POP3_PORT.
    [ "$(id -u)" = 0 ] && export POP3_FIXED_PORT=110
    exec sh "$root/tests/mailclient/with-dovecot.sh" "$0" --inner "$@"
fi
shift
export LARKBELL_POP3_PORT=$POP3_PORT

demo="$root/build/demo"
mkdir -p "$demo"
if [ -z "$LARKBELL_EXE" ]; then
    if dpkg -s wine32:i386 >/dev/null 2>&1 && [ -f "$root/dist/larkbell.exe" ]; then
        LARKBELL_EXE=$root/dist/larkbell.exe
    else
        LARKBELL_EXE=$root/build/win64/bin/larkbell.exe
    fi
fi
exe=$LARKBELL_EXE
[ -f "$exe" ] || { echo "larkbell-demo: no $exe (build it first)" >&2; exit 1; }
bin=$(dirname "$exe")
[ -f "$bin/Glyphpack.dll" ] || { echo "larkbell-demo: no Glyphpack.dll beside $exe" >&2; exit 1; }

# Korean locale, so that Wine's ANSI code page is 949: compiled into the build folder when the
# system has none.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR.utf-\?8$'; then
    [ -d "$demo/locale/ko_KR.UTF-8" ] ||
        localedef -i ko_KR -f UTF-8 "$demo/locale/ko_KR.UTF-8" >/dev/null 2>&1 || true
    export LOCPATH="$demo/locale"
fi
export WINEPREFIX="$demo/wineprefix" WINEDEBUG=-all LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The 64-bit loader for an x64 program; the wine script (32-bit loader first) for PE32.
machine=$(python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read(4096)
print(hex(struct.unpack_from("<H", d, struct.unpack_from("<I", d, 60)[0] + 4)[0]))' "$exe")
if [ "$machine" = 0x8664 ]; then wine=/usr/lib/wine/wine64; else wine=wine; fi
export WINELOADER=$wine
server=/usr/lib/wine/wineserver

xvfb=""
stop() {
    "$server" -k 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
trap stop EXIT
trap 'exit 130' INT TERM

# A virtual display when there is none.
if [ -z "$DISPLAY" ]; then
    exec 5>"$demo/display"
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >"$demo/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do [ -s "$demo/display" ] && break; sleep 0.1; done
    [ -s "$demo/display" ] || { echo "larkbell-demo: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(cat "$demo/display")"
    headless=1
fi

[ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1 </dev/null
# Wine draws the caption buttons (close box) with its Marlett font, which this Wine does not
# find in its own data folder: the prefix's font folder gets a copy.
marlett=/usr/share/wine/fonts/marlett.ttf
[ -f "$marlett" ] && cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"

# The notifier's settings and the font replacements, as a registry file (UTF-16, as regedit
# reads Unicode files).
python3 - "$demo/settings.reg" "$POP3_HOST" <<'PY'
import sys
path, host = sys.argv[1], sys.argv[2]
settings = {"interval": "1", "sound": "nosound", "useanimation": "true", "usealarm": "true",
            "account": "three", "password": "threepass", "pop": host}
lines = ["Windows Registry Editor Version 5.00", "",
         r"[HKEY_CURRENT_USER\Software\tessaly\Larkbell\setting]"]
lines += ['"%s"="%s"' % item for item in settings.items()]
lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]"]
for face in ("굴림", "Gulim", "Tahoma", "MS Shell Dlg", "MS Shell Dlg 2"):
    lines.append('"%s"="NanumGothic"' % face)
with open(path, "w", encoding="utf-16", newline="\r\n") as out:
    out.write("\n".join(lines) + "\n")
PY
"$wine" regedit /S "$(echo "Z:$demo/settings.reg" | tr / '\\')" >/dev/null 2>&1

# The program in a folder of its own, with an alarm reminder 90 s ahead: the start-up scan
# keeps it, the scan a minute later shows it. Dates are written with the setting's separator.
app="$demo/app"
rm -rf "$app"
mkdir -p "$app"
cp "$exe" "$bin/Glyphpack.dll" "$app/"
exe="$app/$(basename "$exe")"
sep=$("$wine" reg query 'HKCU\Control Panel\International' /v sDate 2>/dev/null </dev/null |
    sed -n 's/.*REG_SZ[[:space:]]*\(.\).*/\1/p')
sep=${sep:-/}
due=$(date -d '+90 seconds' "+%Y$sep%m$sep%d %H:%M:%S")
printf '%s,%s12345678\r\n' "$due" "데모 알람: 시작하고 1분 뒤의 약속" | iconv -f UTF-8 -t CP949 >"$app/qAlarm.txt"

# The program on a Wine desktop with a taskbar and notification area.
"$wine" explorer /desktop=larkbell,800x600 "$exe" >"$demo/larkbell.log" 2>&1 </dev/null &
echo "larkbell-demo: $(basename "$exe") against $POP3_HOST:$POP3_PORT (account three), display $DISPLAY"

# The first check is done once dovecot has seen the notifier log out.
for _ in $(seq 300); do
    grep -q "Logged out" "$POP3_LOG" 2>/dev/null && break
    sleep 0.1
done

if [ $# -gt 0 ]; then
    "$@"
elif [ -n "$headless" ]; then
    seconds=${DEMO_SECONDS:-90}
    n=0
    while [ "$n" -lt "$seconds" ]; do
        sleep 10
        n=$((n + 10))
        import -window root -crop 800x600+0+0 "$demo/screen-$n.png"
        echo "larkbell-demo: $demo/screen-$n.png"
    done
else
    echo "larkbell-demo: the icon is in the Wine desktop's notification area; its menu's 종료(X) ends the demo"
    "$server" -w
fi
