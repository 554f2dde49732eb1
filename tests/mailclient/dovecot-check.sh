#!/bin/sh
# pop3stat against a real dovecot server (run inside with-dovecot.sh, which sets POP3_PORT):
# an empty mailbox, a mailbox of three messages, a wrong password, and a bad command line.
# usage: dovecot-check.sh WINE_RUN POP3STAT_EXE
set -u
run=$1
exe=$2
failed=0
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT

check() {
    expected=$1; expectedStatus=$2; shift 2
    code=0
    "$run" "$exe" "$@" >"$tmp" 2>/dev/null || code=$?
    out=$(tr -d '\r' <"$tmp")
    if [ "$out" = "$expected" ] && [ "$code" = "$expectedStatus" ]; then
        echo "ok: pop3stat $* -> $out (exit $code)"
    else
        echo "FAILED: pop3stat $*: got '$out' (exit $code), expected '$expected' (exit $expectedStatus)"
        failed=1
    fi
}

host="--host 127.0.0.1 --port $POP3_PORT"
check "count: 0" 0 $host --user empty --pass emptypass
check "count: 3" 0 $host --user three --pass threepass
check "error: Exception: Authentication failed" 1 $host --user three --pass wrong
check "count: 3" 0 --host localhost --port "$POP3_PORT" --user three --pass threepass --timeout 5000

usage=$("$run" "$exe" --host 127.0.0.1 --user three 2>&1 >/dev/null | tr -d '\r')
case $usage in
*"usage: pop3stat --host H [--port N] --user U --pass P [--timeout MS] [--report-level N]"*)
    echo "ok: usage on standard error" ;;
*)
    echo "FAILED: no usage on standard error: '$usage'"; failed=1 ;;
esac
exit $failed
