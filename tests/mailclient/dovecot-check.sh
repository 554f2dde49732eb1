#!/bin/sh
# pop3stat against a real dovecot server (run inside with-dovecot.sh, which sets POP3_PORT):
# an empty mailbox, a mailbox of three messages, a wrong password, STLS asked of a server without
# TLS, the password from standard input, and a bad command line.
# usage: dovecot-check.sh WINE_RUN POP3STAT_EXE
set -u
run=$1
exe=$2
failed=0
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT

checkArgs=""
. "$(dirname "$0")/pop3stat-check.sh"

host="--host 127.0.0.1 --port $POP3_PORT"
check "count: 0" 0 $host --user empty --pass emptypass
check "count: 3" 0 $host --user three --pass threepass
check "error: Exception: Authentication failed" 1 $host --user three --pass wrong
check "count: 3" 0 --host localhost --port "$POP3_PORT" --user three --pass threepass --timeout 5000
# A server without TLS: STLS is refused, and no login follows.
logins=$(grep -c 'user=<three>' "$POP3_LOG")
check "error: ETlsError: server refused STLS: -ERR TLS support isn't enabled." 1 $host \
    --user three --pass threepass --security starttls
if [ "$(grep -c 'user=<three>' "$POP3_LOG")" != "$logins" ]; then
    echo "FAILED: a login followed the refused STLS"; failed=1
fi

# The password from standard input.
out=$(printf 'threepass\r\n' | WINE_RUN_KEEP_STDIN=1 "$run" "$exe" $host --user three --pass-file - 2>/dev/null | tr -d '\r')
if [ "$out" = "count: 3" ]; then
    echo "ok: pop3stat --pass-file - -> $out"
else
    echo "FAILED: pop3stat --pass-file -: got '$out', expected 'count: 3'"; failed=1
fi

usage=$("$run" "$exe" --host 127.0.0.1 --user three 2>&1 >/dev/null | tr -d '\r')
case $usage in
*"usage: pop3stat --host H [--port N] --user U (--pass P | --pass-file FILE)"*"[--security none|ssl|starttls] [--timeout MS] [--report-level N]"*)
    echo "ok: usage on standard error" ;;
*)
    echo "FAILED: no usage on standard error: '$usage'"; failed=1 ;;
esac
exit $failed
