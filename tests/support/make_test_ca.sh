#!/usr/bin/env bash
# Makes a throw-away certificate authority and a server certificate signed by it, for 127.0.0.1
# and localhost, into FOLDER (made when missing):
#   ca.pem      the authority's certificate: what "TlsCaFile" names
#   server.pem  the server's certificate followed by its key: what a TLS test server loads
#   server.crt, server.key   the same two apart
# The keys are small EC keys, quick to make; the certificates are valid from now for 30 days.
# Nothing made here is meant to be kept: tests and the demo make a new authority each time.
set -euo pipefail
dir=${1:?usage: make_test_ca.sh FOLDER}
mkdir -p "$dir"
cd "$dir"
umask 077
key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:prime256v1 -out "$1" 2>/dev/null; }

key ca.key
openssl req -x509 -new -key ca.key -out ca.pem -days 30 -subj "/O=Vexaro tests/CN=Vexaro Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"

key server.key
openssl req -new -key server.key -out server.csr -subj "/O=Vexaro tests/CN=localhost"
printf '%s\n' "subjectAltName=IP:127.0.0.1,DNS:localhost" "basicConstraints=CA:FALSE" \
    "keyUsage=critical,digitalSignature" "extendedKeyUsage=serverAuth" > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
    -extfile server.ext -out server.crt 2>/dev/null
cat server.crt server.key > server.pem
rm -f server.csr server.ext ca.srl
chmod 644 ca.pem server.crt
