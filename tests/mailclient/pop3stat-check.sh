# Sourced by the dovecot checks: check compares one pop3stat run with what it must print.
# The sourcing script sets run (the Wine runner), exe (pop3stat), tmp (a scratch file),
# failed (0) and checkArgs (arguments added after each check's own, may be empty).

# check EXPECTED STATUS ARG...: pop3stat ARG... (then checkArgs) must print EXPECTED on
# standard output and exit with STATUS; failed becomes 1 otherwise.
check() {
    expected=$1; expectedStatus=$2; shift 2
    code=0
    "$run" "$exe" "$@" $checkArgs >"$tmp" 2>/dev/null || code=$?
    out=$(tr -d '\r' <"$tmp")
    if [ "$out" = "$expected" ] && [ "$code" = "$expectedStatus" ]; then
        echo "ok: pop3stat $* -> $out (exit $code)"
    else
        echo "FAILED: pop3stat $*: got '$out' (exit $code), expected '$expected' (exit $expectedStatus)"
        failed=1
    fi
}
