#!/bin/sh
# tessaly-setup.exe under Wine, in a prefix made for this run: the file itself (version, icon),
# a silent install (files, registration in the 32-bit view, Run value, shortcuts, uninstall
# entry), the control created by the 32-bit cscript, an upgrade over user data, an install
# over a running larkbell, one over a file in use, and a silent uninstall that leaves only the
# user data.
# usage: installer-test.sh BIN_DIR LARKBELL_ICON VERSION
# BIN_DIR holds tessaly-setup.exe, the release files it carries and WindowProbe.exe.
# KEEP=1 leaves the work folder (prefix, installed folder) for a look afterwards.
set -u
bin=$(cd "$1" && pwd)
icon=$2
version=$3
setup=$bin/tessaly-setup.exe
work=$(mktemp -d "$(pwd)/installer-test.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver
larkbell=
cleanup() {
    [ -n "$larkbell" ] && kill "$larkbell" 2>/dev/null
    "$server" -k >/dev/null 2>&1
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
failed=0
mark=0
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
# A group's line, when none of its checks failed.
ok() { [ $failed = $mark ] && echo "ok: $*"; mark=$failed; }
# Wine's helper processes may outlive a command and hold its output pipe: output goes to files.
run() { "$@" >"$work/out" 2>/dev/null </dev/null; }
# reg_value KEY NAME [/reg:32|/reg:64]: the value's data, or nothing.
reg_value() {
    run "$wine64" reg query "$1" /v "$2" ${3:-} &&
        tr -d '\r' <"$work/out" | sed -n "s/^    $2    REG_[A-Z_]*    //p"
}
reg_dump() { run "$wine64" reg query "$1" /s ${2:-} && tr -d '\r' <"$work/out"; }
# settings_kept WHEN: the settings key is as it was saved in $work/settings.
settings_kept() {
    reg_dump "$settings_key" | diff "$work/settings" - >"$work/diff" ||
        fail "$1: settings changed: $(tr '\n' ' ' <"$work/diff")"
}
seconds_since() { echo "$(date +%s.%N) $1" | awk '{ printf "%.1f", $1 - $2 }'; }
# The Linux process running a Windows program has ended (gone or a zombie), within 5 s: it
# outlives the Windows process by the moments of its own teardown.
ended() {
    for _ in $(seq 50); do
        case $(ps -o stat= -p "$1" 2>/dev/null) in "" | Z*) return 0 ;; esac
        sleep 0.1
    done
    return 1
}

folder='C:\Suite\Pomaria'
dir=$WINEPREFIX/drive_c/Suite/Pomaria
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKCU\software\tessaly\Larkbell\setting'
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tessaly"
clsid='{3266CE66-192F-11D0-9FFC-E9983B83C707}'
typelib='{3266CE63-192F-11D0-9FFC-E9983B83C707}'
carried="larkbell.exe Glyphpack.dll SEPTENA.OCX DMND4_50.FLL launch-main.exe launch-data.exe
pop3stat.exe fllhost.exe"

# --- The file: the product version in its version resource, larkbell's icon.
i686-w64-mingw32-windres -i "$setup" -O rc 2>/dev/null |
    grep -q "VALUE \"ProductVersion\", \"$version\"" ||
    fail "no product version $version in the version resource"
python3 - "$icon" "$setup" <<'EOF' || fail "the installer does not carry larkbell's icon"
import struct, sys
ico, exe = (open(p, "rb").read() for p in sys.argv[1:3])
count = struct.unpack_from("<H", ico, 4)[0]
images = [struct.unpack_from("<II", ico, 6 + 16 * i + 8) for i in range(count)]
sys.exit(0 if count and all(ico[o:o + n] in exe for n, o in images) else 1)
EOF
ok "version $version, larkbell's icon"

# --- A fresh prefix, made on the display the test runs on.
run "$wine64" wineboot -i
install() {
    start=$(date +%s.%N)
    run "$wine32" "$setup" /S "$@" "/D=$folder"
    status=$?
    echo "install: $(seconds_since "$start") s, exit $status"
    return $status
}

# --- Silent install.
install || fail "silent install: exit $?"
for name in $carried; do
    cmp -s "$bin/$name" "$dir/$name" || fail "$name: not installed as built"
done
[ -f "$dir/uninstall.exe" ] || fail "no uninstall.exe"
[ "$(ls "$dir" | wc -l)" = 9 ] || fail "installed: $(ls "$dir" | tr '\n' ' ')"
[ "$(reg_value "$run_key" Larkbell)" = "\"$folder\\larkbell.exe\"" ] ||
    fail "Run value: $(reg_value "$run_key" Larkbell)"
for pair in "DisplayName=Tessaly" "DisplayVersion=$version" "Publisher=Tessaly" \
    "DisplayIcon=$folder\\larkbell.exe,0" "UninstallString=\"$folder\\uninstall.exe\"" \
    "QuietUninstallString=\"$folder\\uninstall.exe\" /S"; do
    value=$(reg_value "$uninstall_key" "${pair%%=*}" /reg:32)
    [ "$value" = "${pair#*=}" ] || fail "${pair%%=*}: '$value'"
done
size=$(reg_value "$uninstall_key" EstimatedSize /reg:32)
[ $((size)) -gt 1000 ] || fail "EstimatedSize: '$size'"
! reg_value "$uninstall_key" DisplayName /reg:64 >/dev/null || fail "uninstall entry in the 64-bit view"
run "$wine64" reg query "HKCR\\CLSID\\$clsid\\InprocServer32" /ve /reg:32
inproc=$(tr -d '\r' <"$work/out" | sed -n 's/^    (Default)    REG_SZ    //p')
[ "$inproc" = "$folder\\SEPTENA.OCX" ] || fail "control's server in the 32-bit view: '$inproc'"
[ -f "$menu/larkbell.lnk" ] && [ -f "$menu/Tessaly 제거.lnk" ] ||
    fail "start menu: $(ls "$menu" 2>&1 | tr '\n' ' ')"
ok "silent install: files, Run value, uninstall entry, control registered, shortcuts"

# --- The 32-bit automation client creates the control the install registered.
printf 'Set c = CreateObject("SEPTENA.SeptenaCtrl.1")\r\nc.Date = 35063\r\nWScript.Echo TypeName(c) & " " & c.Date\r\n' \
    >"$WINEPREFIX/drive_c/septena.vbs"
run "$wine32" 'C:\windows\syswow64\cscript.exe' //nologo 'C:\septena.vbs'
answer=$(tr -d '\r' <"$work/out")
[ "$answer" = "_DSeptena 35063" ] || fail "cscript: '$answer'"
ok "cscript (32-bit) created SEPTENA.SeptenaCtrl.1: $answer"

# --- Upgrade over user data: the program files are replaced, settings and reminders stay.
for pair in interval=10 sound=nosound account=kim pop=127.0.0.1; do
    run "$wine64" reg add "$settings_key" /v "${pair%%=*}" /d "${pair#*=}" /f
done
reg_dump "$settings_key" >"$work/settings"
# A reminder far ahead, with the user's date separator: a running larkbell keeps it as it is.
sep=$(reg_value 'HKCU\Control Panel\International' sDate)
printf '2099%s12%s31 09:00,거래처 방문ABCDEFGH\r\n' "$sep" "$sep" | iconv -f UTF-8 -t CP949 >"$dir/qAlarm.txt"
cp "$dir/qAlarm.txt" "$work/qAlarm.txt"
printf 'old' >"$dir/larkbell.exe"
printf 'old' >"$dir/SEPTENA.OCX"
install || fail "upgrade: exit $?"
cmp -s "$bin/larkbell.exe" "$dir/larkbell.exe" && cmp -s "$bin/SEPTENA.OCX" "$dir/SEPTENA.OCX" ||
    fail "upgrade: program files not replaced"
cmp -s "$work/qAlarm.txt" "$dir/qAlarm.txt" || fail "upgrade: qAlarm.txt changed"
settings_kept "upgrade"
ok "upgrade: files replaced, settings key and qAlarm.txt kept"

# --- Install over a running larkbell: it is ended, the files are replaced, /RESTART starts it
# --- again.
probe() { run "$wine32" "$bin/WindowProbe.exe" exists tessalymail! "$1"; }
"$wine32" "$dir/larkbell.exe" >/dev/null 2>&1 </dev/null &
larkbell=$!
if ! probe 60000; then
    fail "larkbell did not start"
else
    reg_dump "$settings_key" >"$work/settings"
    if install /RESTART; then
        ended "$larkbell" || fail "running larkbell: install succeeded, larkbell still runs"
        probe 30000 || fail "running larkbell: not started again (/RESTART)"
        ok "install over a running larkbell: ended, replaced, started again"
    else
        status=$?
        ended "$larkbell" &&
            fail "running larkbell: larkbell ended but the install failed (exit $status)" ||
            fail "running larkbell: exit $status, larkbell did not end when its window" \
                "\"tessalymail!\" was asked to close"
        kill "$larkbell" 2>/dev/null
    fi
    cmp -s "$work/qAlarm.txt" "$dir/qAlarm.txt" || fail "running larkbell: qAlarm.txt changed"
    settings_kept "running larkbell"
fi
wait "$larkbell" 2>/dev/null
larkbell=

# --- A program file in use (the tool pop3stat waiting on a server that never answers) fails
# --- the install, instead of being skipped by a "successful" one.
timeout 120 python3 -c 'import socket
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(1)
print(s.getsockname()[1], flush=True)
c, _ = s.accept(); print("connected", flush=True); c.recv(1)' >"$work/stall" &
stall=$!
for _ in $(seq 100); do [ -s "$work/stall" ] && break; sleep 0.1; done
"$wine32" "$dir/pop3stat.exe" --host 127.0.0.1 --port "$(head -n 1 "$work/stall")" --user a \
    --pass b --timeout 60000 >/dev/null 2>&1 </dev/null &
tool=$!
for _ in $(seq 300); do grep -q connected "$work/stall" && break; sleep 0.1; done
if ! grep -q connected "$work/stall"; then
    fail "pop3stat did not start"
elif install; then
    fail "install over a running pop3stat.exe: exit 0"
fi
kill "$tool" "$stall" 2>/dev/null
wait "$tool" "$stall" 2>/dev/null
ok "a file in use fails the install"

# --- Silent uninstall as the uninstall entry gives it; the uninstaller runs from a copy of
# --- itself, so the end of every process of the prefix is its end.
start=$(date +%s.%N)
run "$wine32" "$dir/uninstall.exe" /S || fail "uninstall: exit $?"
timeout 120 "$server" -w || fail "uninstall: still running after 120 s"
echo "uninstall: $(seconds_since "$start") s"
# The checks below start a new Wine session; a value that is always there says it answers.
for _ in $(seq 20); do reg_value 'HKCU\Control Panel\International' sDate >/dev/null && break; done
[ "$(ls "$dir")" = qAlarm.txt ] || fail "left in the folder: $(ls "$dir" | tr '\n' ' ')"
cmp -s "$work/qAlarm.txt" "$dir/qAlarm.txt" || fail "uninstall: qAlarm.txt changed"
[ ! -e "$menu" ] || fail "start menu left: $(ls "$menu" | tr '\n' ' ')"
! reg_value "$run_key" Larkbell >/dev/null || fail "Run value left"
! reg_dump "$uninstall_key" /reg:32 >/dev/null || fail "uninstall entry left"
# The classes and the type library live in the 32-bit view; the ProgIDs are shared by both.
for progid in SEPTENA.SeptenaCtrl.1 SEPTENA.SeptenaPropPage.1; do
    ! reg_dump "HKCR\\$progid" >/dev/null || fail "registration left: $progid"
done
for key in "HKCR\\CLSID\\$clsid" "HKCR\\TypeLib\\$typelib"; do
    ! reg_dump "$key" /reg:32 >/dev/null || fail "registration left: $key"
done
settings_kept "uninstall"
ok "silent uninstall: only qAlarm.txt and the settings key left"

[ $failed = 0 ] && echo "all passed" || echo "$failed failed"
[ $failed = 0 ]
