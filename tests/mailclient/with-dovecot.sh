#!/bin/sh
# Runs a command beside a private dovecot POP3 server on a free loopback port, then stops the
# server. The command sees POP3_HOST, POP3_PORT and the server log POP3_LOG; the mailboxes are "empty" (password "emptypass", no
# messages) and "three" (password "threepass", three messages).
# A client that always uses the standard port 110 (the notifier) gets POP3_FIXED_PORT=110: the
# server then listens on that port at a free address of the loopback network 127.0.0.0/8.
# POP3_TLS=1 serves TLS instead (needs root): STLS on POP3_PORT and TLS from the first byte on
# POP3_TLS_PORT, plain-text passwords refused before TLS, on five loopback addresses named in a
# private hosts file that only the command sees (its own mount namespace):
# pop.larkbell.test (a certificate of the test CA, POP3_CA in DER form), and
# untrusted.larkbell.test, partial.larkbell.test, wrongname.larkbell.test and
# expired.larkbell.test with the bad certificates make-test-certs.sh describes.
# POP3_TLS_HOSTS names the five addresses.
# Everything lives in a fresh folder under /tmp that dovecot's own users can reach; the
# system's dovecot configuration is never read.
set -e
dir=$(mktemp -d /tmp/pop3-dovecot.XXXXXX)
chmod 755 "$dir"
conf="$dir/dovecot.conf"

stop() {
    if [ -f "$dir/run/master.pid" ]; then
        pid=$(cat "$dir/run/master.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -rf "$dir"
}
trap stop EXIT INT TERM

# A free port on 127.0.0.1, or a free loopback address for the fixed port.
set -- "$(python3 - "${POP3_FIXED_PORT:-0}" "${POP3_TLS:-0}" <<'PY'
import random, socket, sys
fixed = int(sys.argv[1])
if sys.argv[2] == "1":
    # Five addresses 127.a.b.1-5 sharing two free ports: STLS and TLS from the first byte.
    for _ in range(200):
        net = "127.%d.%d." % (random.randint(1, 254), random.randint(0, 255))
        socks = []
        try:
            for port in (0, 0):
                s = socket.socket()
                socks.append(s)
                s.bind((net + "1", port))
            ports = [s.getsockname()[1] for s in socks]
            for last in (2, 3, 4, 5):
                for port in ports:
                    s = socket.socket()
                    socks.append(s)
                    s.bind((net + str(last), port))
        except OSError:
            continue
        finally:
            for s in socks:
                s.close()
        print(net + "1", ports[0], ports[1])
        sys.exit()
    sys.exit("no free loopback addresses")
for _ in range(200):
    host = "127.0.0.1" if fixed == 0 else "127.%d.%d.%d" % (
        random.randint(1, 254), random.randint(0, 255), random.randint(1, 254))
    with socket.socket() as s:
        try:
            s.bind((host, fixed))
        except OSError:
            continue
        print(host, s.getsockname()[1])
        break
else:
    sys.exit("no free loopback address for port %d" % fixed)
PY
)" "$@"
found=$1
shift
set -- $found "$@"
host=$1
port=$2
shift 2
if [ "${POP3_TLS:-0}" = 1 ]; then
    tlsPort=$1
    shift
    net=${host%.1}
    hosts="$net.1 $net.2 $net.3 $net.4 $net.5"
fi

if [ "$(id -u)" = 0 ]; then
    mailUser=nobody
    internalUser=dovecot
    loginUser=dovenull
else
    mailUser=$(id -un)
    internalUser=$mailUser
    loginUser=$mailUser
fi
uid=$(id -u "$mailUser")
gid=$(id -g "$mailUser")

: >"$dir/passwd"
for box in empty three; do
    home="$dir/home/$box"
    mkdir -p "$home/Maildir/cur" "$home/Maildir/new" "$home/Maildir/tmp"
    echo "$box:{PLAIN}${box}pass:$uid:$gid::$home::" >>"$dir/passwd"
done
for n in 1 2 3; do
    printf 'From: sender%s@example.org\r\nSubject: message %s\r\n\r\nBody %s\r\n' $n $n $n \
        >"$dir/home/three/Maildir/new/100000000$n.M1P1.fixture"
done
mkdir -p "$dir/run" "$dir/state"
chown -R "$uid:$gid" "$dir/home"
chmod 644 "$dir/passwd"

if [ "${POP3_TLS:-0}" = 1 ]; then
    pki="$dir/pki"
    sh "$(dirname "$0")/make-test-certs.sh" "$pki" pop.larkbell.test larkbell.test
    chmod 644 "$pki"/*.key
    # One loopback address a certificate: .1 serves the good one, the others one fault each.
    { cat /etc/hosts; echo "$net.1 pop.larkbell.test"; } >"$dir/hosts"
    security="ssl = required
ssl_cert = <$pki/good.pem
ssl_key = <$pki/good.key"
    n=2
    for fault in untrusted wrongname expired partial; do
        echo "$net.$n $fault.larkbell.test" >>"$dir/hosts"
        security="$security
local $net.$n {
  ssl_cert = <$pki/$fault.pem
  ssl_key = <$pki/$fault.key
}"
        n=$((n + 1))
    done
    security="$security
disable_plaintext_auth = yes"
    listeners="inet_listener pop3s {
    address = $hosts
    port = $tlsPort
    ssl = yes
  }"
else
    hosts=$host
    security="ssl = no
disable_plaintext_auth = no"
    listeners=
fi

cat >"$conf" <<CONF
base_dir = $dir/run
state_dir = $dir/state
log_path = $dir/dovecot.log
protocols = pop3
listen = $hosts
$security
auth_mechanisms = plain
mail_location = maildir:~/Maildir
first_valid_uid = 1
first_valid_gid = 1
default_internal_user = $internalUser
default_login_user = $loginUser
pop3_uidl_format = %08Xu%08Xv
passdb {
  driver = passwd-file
  args = scheme=PLAIN $dir/passwd
}
userdb {
  driver = passwd-file
  args = $dir/passwd
}
service pop3-login {
  inet_listener pop3 {
    address = $hosts
    port = $port
  }
  $listeners
}
CONF

# The daemon keeps the output it starts with: give it a file, never a pipe.
/usr/sbin/dovecot -c "$conf" >"$dir/start.log" 2>&1 </dev/null || {
    cat "$dir/start.log" "$dir/dovecot.log" >&2 2>/dev/null
    exit 1
}

python3 - "$host" "$port" <<'PY' || { cat "$dir/dovecot.log" >&2; exit 1; }
import socket, sys, time
deadline = time.time() + 15
while True:
    try:
        with socket.create_connection((sys.argv[1], int(sys.argv[2])), timeout=2) as s:
            if s.recv(100).startswith(b"+OK"):
                break
    except OSError:
        pass
    if time.time() > deadline:
        sys.exit("dovecot did not answer")
    time.sleep(0.1)
PY

export POP3_HOST=$host POP3_PORT=$port POP3_LOG=$dir/dovecot.log
status=0
if [ "${POP3_TLS:-0}" = 1 ]; then
    export POP3_TLS_PORT=$tlsPort POP3_CA=$pki/ca.der POP3_TLS_HOSTS="$hosts"
    # The host names exist only for the command: its own mount namespace sees a private
    # /etc/hosts; the machine's stays as it is.
    unshare -m sh -c 'mount --bind "$0" /etc/hosts && exec "$@"' "$dir/hosts" "$@" || status=$?
else
    "$@" || status=$?
fi
exit $status
