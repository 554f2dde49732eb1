#!/bin/sh
# larkbell end to end under Wine, against the dovecot of with-dovecot.sh (POP3_PORT, mailbox
# "three" with three messages): started without its resource library it shows its message
# and ends; started with it, the first check's tool-tip names three messages; a second copy
# ends silently; closing the application window ends the first and removes the tray icon, and
# WM_CLOSE to the main window of another copy does the same.
# usage: larkbell-e2e.sh WINE_RUN BIN_DIR
set -e
run=$1
bin=$2
work=$(mktemp -d "$bin/../larkbell-e2e.XXXXXX")
first=
cleanup() {
    [ -n "$first" ] && kill "$first" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
fail() { echo "FAIL: $*"; exit 1; }
utf8() { iconv -f cp949 -t utf-8; }

cp "$bin/larkbell.exe" "$work/"

# Without the resource library: the message, then the end.
"$run" "$work/larkbell.exe" &
lonely=$!
text=$("$run" "$bin/WindowProbe.exe" box larkbell 30000 | tr -d '\r' | utf8) || fail "no message box"
[ "$text" = "glyphpack.dll이 실행 폴더에 없습니다." ] || fail "message: $text"
wait "$lonely" || fail "exit code $? without the library"
echo "ok: without the library: $text"

# Settings of the mailbox with three messages.
cp "$bin/Glyphpack.dll" "$work/"
key='HKCU\software\tessaly\Larkbell\setting'
"$run" reg delete "$key" /f >/dev/null 2>&1 || true
for pair in interval=10 sound=nosound account=three password=threepass pop=127.0.0.1; do
    "$run" reg add "$key" /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null
done

record="$work/tray.txt"
LARKBELL_POP3_PORT=$POP3_PORT LARKBELL_TRAY_RECORD=$(echo "Z:$record" | tr / '\\') \
    "$run" "$work/larkbell.exe" &
first=$!
want="1 3개의 메일이 도착했습니다"
for _ in $(seq 600); do
    [ -f "$record" ] && utf8 <"$record" | grep -qx "$want" && break
    sleep 0.1
done
utf8 <"$record" | grep -qx "$want" || { utf8 <"$record"; fail "no tool-tip naming three messages"; }
echo "ok: tool-tip after the first check: ${want#1 }"

# A second copy ends at once, without a window or a tray icon of its own.
start=$(date +%s)
timeout 60 "$run" "$work/larkbell.exe" || fail "second copy: exit code $?"
[ $(($(date +%s) - start)) -lt 30 ] || fail "second copy took too long"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
! "$run" "$bin/WindowProbe.exe" exists "#32770" 500 || fail "a message box is open"
echo "ok: a second copy ended silently"

# Closing the application window ends the program; the icon leaves the notification area.
"$run" "$bin/WindowProbe.exe" post TessalyApplication 16 0 0 || fail "no application window"
wait "$first" || fail "exit code $?"
first=
tail -n 1 "$record" | grep -q "^2 " || fail "the icon was not removed: $(tail -n 1 "$record")"
echo "ok: closed, icon removed"

# WM_CLOSE to the main window (as an installer sends it) ends the program the same way.
added=$(grep -c "^0 " "$record")
LARKBELL_POP3_PORT=$POP3_PORT LARKBELL_TRAY_RECORD=$(echo "Z:$record" | tr / '\\') \
    "$run" "$work/larkbell.exe" &
first=$!
for _ in $(seq 600); do
    [ "$(grep -c "^0 " "$record")" -gt "$added" ] && break
    sleep 0.1
done
"$run" "$bin/WindowProbe.exe" exists 'tessalymail!' 30000 || fail "no main window"
"$run" "$bin/WindowProbe.exe" post 'tessalymail!' 16 0 0 || fail "no main window to close"
for _ in $(seq 300); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
kill -0 "$first" 2>/dev/null && fail "still running 30 s after WM_CLOSE to its main window"
wait "$first" || fail "exit code $? after WM_CLOSE"
first=
tail -n 1 "$record" | grep -q "^2 " || fail "the icon was not removed: $(tail -n 1 "$record")"
"$run" reg delete "$key" /f >/dev/null 2>&1 || true
echo "ok: WM_CLOSE to the main window ended the program, icon removed"
