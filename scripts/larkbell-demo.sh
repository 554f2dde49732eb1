#!/bin/sh
# Runs the notifier larkbell.exe against a private demo mailbox, in a Wine prefix of its own.
#
#   scripts/larkbell-demo.sh                 run it: on $DISPLAY until its menu's exit command,
#                                            else on a virtual display for DEMO_SECONDS (90),
#                                            saving a screenshot every 10 s into build/demo/
#   scripts/larkbell-demo.sh COMMAND...      run COMMAND while larkbell runs (the screenshot
#                                            script does), then stop
#
# The mailbox is dovecot, account "three" with three messages. As root it serves POP3 over TLS
# from the first byte under the host name pop.larkbell.test (a private hosts file only the demo
# sees), with a certificate of the demo's own CA, which the demo prefix trusts; the settings
# name that server with "security" "ssl". Without root it serves POP3 in the clear on a free
# port of 127.0.0.1. The prefix (build/demo/wineprefix) gets the notifier's settings and the
# Korean font for "굴림". larkbell runs on a Wine desktop
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
    # The private hosts file needs a mount namespace of its own, which only root may make.
    [ "$(id -u)" = 0 ] && export POP3_TLS=1
    exec sh "$root/tests/mailclient/with-dovecot.sh" "$0" --inner "$@"
fi
shift
if [ "${POP3_TLS:-0}" = 1 ]; then
    popServer=pop.larkbell.test security=ssl popPort=$POP3_TLS_PORT
else
    popServer=$POP3_HOST security=none popPort=$POP3_PORT
fi

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
. "$root/scripts/wine-prefix-look.sh"
korean_locale "$demo/locale" ||
    { echo "larkbell-demo: cannot compile the Korean locale (package locales)" >&2; exit 1; }
export WINEPREFIX="$demo/wineprefix" WINEDEBUG=-all
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

# The Korean font for "굴림" and the dialog fonts; the desktop is larkbell's own (below).
wine_prefix_look "$wine" "" "MS Shell Dlg 2"

# The notifier's settings and the demo's CA among the current user's trusted roots, as a
# registry file (UTF-16, as regedit reads Unicode files). A root is stored under its SHA-1 hash
# as a serialized certificate: property 32 (the certificate), flag 1, its length and its DER
# bytes, after property 3 (its SHA-1 hash) in the same form.
python3 - "$demo/settings.reg" "$popServer" "$security" "$popPort" "${POP3_CA:-}" <<'PY'
import hashlib, struct, sys
path, host, security, port, ca = sys.argv[1:6]
settings = {"interval": "1", "sound": "nosound", "useanimation": "true", "usealarm": "true",
            "account": "three", "password": "threepass", "pop": host,
            "security": security, "port": port}
lines = ["Windows Registry Editor Version 5.00", "",
         r"[HKEY_CURRENT_USER\Software\tessaly\Larkbell\setting]"]
lines += ['"%s"="%s"' % item for item in settings.items()]
if ca:
    der = open(ca, "rb").read()
    sha1 = hashlib.sha1(der).digest()
    blob = struct.pack("<III", 3, 1, 20) + sha1 + struct.pack("<III", 32, 1, len(der)) + der
    # The CA of an earlier run goes: it has the same name and another key.
    roots = r"HKEY_CURRENT_USER\Software\Microsoft\SystemCertificates\Root\Certificates"
    lines += ["", "[-%s]" % roots, "", r"[%s\%s]" % (roots, sha1.hex().upper()),
              '"Blob"=hex:' + ",".join("%02x" % b for b in blob)]
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
echo "larkbell-demo: $(basename "$exe") against $popServer:$popPort ($security, account three), display $DISPLAY"

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
