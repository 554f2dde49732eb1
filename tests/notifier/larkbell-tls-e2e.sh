#!/bin/sh
# larkbell end to end over TLS, against the dovecot of "POP3_TLS=1 with-dovecot.sh": with the
# test CA trusted in the prefix, TLS from the first byte and STLS both end in the tool-tip
# naming three messages; a server whose certificate names another host ends in "보안 연결 오류"
# with no login reaching the server.
# usage: larkbell-tls-e2e.sh WINE_RUN BIN_DIR
set -e
run=$1
bin=$2
work=$(mktemp -d "$bin/../larkbell-tls-e2e.XXXXXX")
running=
key='HKCU\software\tessaly\Larkbell\setting'
cleanup() {
    [ -n "$running" ] && kill "$running" 2>/dev/null || true
    "$run" reg delete "$key" /f >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
fail() { echo "FAIL: $*"; exit 1; }
utf8() { iconv -f cp949 -t utf-8; }

cp "$bin/larkbell.exe" "$bin/Glyphpack.dll" "$work/"
"$run" "$bin/TrustTestRoot.exe" "$POP3_CA" || fail "the test CA could not be trusted"

# One start with the settings given, until the first check's tool-tip; then the program ends.
check() {  # security port server expected-tool-tip
    "$run" reg delete "$key" /f >/dev/null 2>&1 || true
    for pair in interval=10 sound=nosound account=three password=threepass "pop=$3" \
        "security=$1" "port=$2"; do
        "$run" reg add "$key" /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null
    done
    record="$work/tray-$1-$3.txt"
    LARKBELL_TRAY_RECORD=$(echo "Z:$record" | tr / '\\') "$run" "$work/larkbell.exe" &
    running=$!
    for _ in $(seq 600); do
        [ -f "$record" ] && utf8 <"$record" | grep -qx "1 $4" && break
        sleep 0.1
    done
    if ! utf8 <"$record" | grep -qx "1 $4"; then
        utf8 <"$record" | tail -n 3
        tail -n 5 "$POP3_LOG"
        # What the same check says in words.
        "$run" "$bin/pop3stat.exe" --host "$3" --port "$2" --security "$1" --user three \
            --pass threepass --timeout 30000 || true
        fail "$1 to $3: no tool-tip '$4'"
    fi
    "$run" "$bin/WindowProbe.exe" post TessalyApplication 16 0 0 || fail "no application window"
    wait "$running" || fail "exit code $?"
    running=
    echo "ok: $1 to $3 on $2: $4"
}

check ssl "$POP3_TLS_PORT" pop.larkbell.test "3개의 메일이 도착했습니다"
check starttls "$POP3_PORT" pop.larkbell.test "3개의 메일이 도착했습니다"
logins=$(grep -c 'user=<three>' "$POP3_LOG")
check ssl "$POP3_TLS_PORT" wrongname.larkbell.test "보안 연결 오류"
check starttls "$POP3_PORT" expired.larkbell.test "보안 연결 오류"
[ "$(grep -c 'user=<three>' "$POP3_LOG")" = "$logins" ] || fail "a login reached the server"
echo "ok: no login reached the server after the bad certificates"
