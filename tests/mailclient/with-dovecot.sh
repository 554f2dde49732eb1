#!/bin/sh
# Runs a command beside a private dovecot POP3 server on a free loopback port, then stops the
# server. The command sees POP3_HOST, POP3_PORT and the server log POP3_LOG; the mailboxes are "empty" (password "emptypass", no
# messages) and "three" (password "threepass", three messages).
# A client that always uses the standard port 110 (the notifier) gets POP3_FIXED_PORT=110: the
# server then listens on that port at a free address of the loopback network 127.0.0.0/8.
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
set -- "$(python3 - "${POP3_FIXED_PORT:-0}" <<'PY'
import random, socket, sys
fixed = int(sys.argv[1])
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
host=${1% *}
port=${1#* }
shift

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

cat >"$conf" <<CONF
base_dir = $dir/run
state_dir = $dir/state
log_path = $dir/dovecot.log
protocols = pop3
listen = $host
ssl = no
disable_plaintext_auth = no
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
    address = $host
    port = $port
  }
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
"$@" || status=$?
exit $status
