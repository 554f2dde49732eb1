#!/bin/sh
# pop3stat against dovecot serving TLS (run inside "POP3_TLS=1 with-dovecot.sh"): both forms
# reach the count under the test host name; every bad certificate, and TLS asked of a server
# in the clear, fail before the password is sent. The dovecot log tells whether a login
# reached the server (a control case sends it in the clear and must show up).
# usage: dovecot-tls-check.sh WINE_RUN POP3STAT_EXE TRUSTTESTROOT_EXE
set -u
run=$1
exe=$2
trust=$3
failed=0
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT

if ! "$run" "$trust" "$POP3_CA"; then
    echo "FAILED: the test CA could not be trusted in the prefix"
    exit 1
fi

logins() { grep -c 'user=<three>' "$POP3_LOG"; }

# Every check logs in as three and waits at most 10 s for the server.
checkArgs="--user three --pass threepass --timeout 10000"
. "$(dirname "$0")/pop3stat-check.sh"

ssl="--security ssl --port $POP3_TLS_PORT"
stls="--security starttls --port $POP3_PORT"
check "count: 3" 0 --host pop.larkbell.test $ssl
check "count: 3" 0 --host pop.larkbell.test $stls

before=$(logins)
check "error: ETlsError: certificate not trusted: its chain ends in an unknown root (0x800B0109)" 1 \
    --host untrusted.larkbell.test $ssl
check "error: ETlsError: certificate chain incomplete (0x800B010A)" 1 \
    --host partial.larkbell.test $ssl
check "error: ETlsError: certificate does not name the server (0x800B010F)" 1 \
    --host wrongname.larkbell.test $ssl
check "error: ETlsError: certificate does not name the server (0x800B010F)" 1 \
    --host wrongname.larkbell.test $stls
check "error: ETlsError: certificate expired or not yet valid (0x800B0101)" 1 \
    --host expired.larkbell.test $ssl
# The right name, but an address: the certificate names no address.
check "error: ETlsError: certificate does not name the server (0x800B010F)" 1 \
    --host "$POP3_HOST" $ssl
check "error: ETlsError: server does not speak TLS" 1 \
    --host pop.larkbell.test --security ssl --port "$POP3_PORT"
if [ "$(logins)" != "$before" ]; then
    echo "FAILED: a login reached the server after a TLS failure"
    failed=1
fi

# Control: the same password in the clear is refused by this server, and the log shows it.
check "error: Exception: Authentication failed" 1 --host pop.larkbell.test --port "$POP3_PORT"
if [ "$(logins)" = "$before" ]; then
    echo "FAILED: the log shows no login sent in the clear: the check above proves nothing"
    failed=1
fi
exit $failed
