#!/bin/sh
# Makes the certificates of the TLS tests in a folder: a test CA ("ca.pem", "ca.der": trusted
# only inside a test's own Wine prefix), and server keys and certificates for the host names
# the tests give the loopback addresses:
#   good.*       NAME, signed by the test CA
#   untrusted.*  untrusted.DOMAIN, signed by a CA nobody trusts, served with that CA
#   partial.*    partial.DOMAIN, signed by the same CA, served without it
#   wrongname.*  other.DOMAIN (served as wrongname.DOMAIN), signed by the test CA
#   expired.*    expired.DOMAIN, signed by the test CA, valid only during 2020
# usage: make-test-certs.sh DIR NAME DOMAIN
set -e
dir=$1
name=$2
domain=$3
mkdir -p "$dir"
cd "$dir"
quiet() { "$@" >/dev/null 2>&1 || { echo "make-test-certs: $* failed" >&2; "$@"; exit 1; }; }

newkey() { quiet openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1"; }

# The CAs sign with RSA: Wine's chain engine refuses a sound ECDSA signature whose r or s
# has a leading zero byte (about one signature in 128), which made the checks fail at
# random with "certificate signature invalid".
makeca() {  # file stem, common name
    quiet openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1.key"
    quiet openssl req -x509 -new -key "$1.key" -days 30 -subj "/CN=$2" -out "$1.pem" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign
}

# The server certificates go through "openssl ca", which alone sets arbitrary validity dates.
sign() {  # stem, CA stem, DNS name, start, end
    newkey "$1.key"
    quiet openssl req -new -key "$1.key" -subj "/CN=$3" -out "$1.csr"
    mkdir -p "$2.db"
    : >"$2.db/index.txt"
    [ -f "$2.db/serial" ] || echo 1000 >"$2.db/serial"
    cat >"$1.cnf" <<CNF
[ca]
default_ca = test
[test]
database = $2.db/index.txt
serial = $2.db/serial
new_certs_dir = $2.db
default_md = sha256
policy = anything
unique_subject = no
copy_extensions = none
x509_extensions = server
[anything]
commonName = supplied
[server]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = serverAuth
subjectAltName = DNS:$3
CNF
    quiet openssl ca -batch -config "$1.cnf" -cert "$2.pem" -keyfile "$2.key" -in "$1.csr" \
        -out "$1.pem" -startdate "$4" -enddate "$5" -notext
}

later=$(date -u -d '+30 days' +%Y%m%d%H%M%SZ)
# Started a day back: the test's clock and the chain engine's may differ by hours.
start=$(date -u -d '-1 day' +%Y%m%d%H%M%SZ)
makeca ca "Larkbell Test CA"
makeca stranger "Larkbell Untrusted CA"
sign good ca "$name" "$start" "$later"
sign untrusted stranger "untrusted.$domain" "$start" "$later"
cat stranger.pem >>untrusted.pem
sign partial stranger "partial.$domain" "$start" "$later"
sign wrongname ca "other.$domain" "$start" "$later"
sign expired ca "expired.$domain" 20200101000000Z 20201231000000Z
quiet openssl x509 -in ca.pem -outform DER -out ca.der
