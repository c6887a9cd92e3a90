#!/usr/bin/env bash
# Makes docs/frmArchive.png and docs/frmExtract.png: packs a small sample tree with `zip` and shows
# it in the real archive window under a virtual X server. Then docs/frmEncrypt.png: the encryption
# window in the middle of encrypting a larger archive, and docs/frmUpload.png: the upload window in
# the middle of sending the encrypted file to the tests' FTP server, started here on 127.0.0.1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null
work=$(mktemp -d /tmp/vexaro-shots.XXXXXX)
ftp_pid=
trap '[ -n "$ftp_pid" ] && kill "$ftp_pid"; rm -rf "$work"' EXIT
mkdir -p "$work/tree/report/figures" "$work/tree/src"
seq 1 4000 | sed 's/^/line of the quarterly report /' > "$work/tree/report/report.txt"
head -c 180000 /dev/urandom > "$work/tree/report/figures/chart.png"
head -c 52000 /dev/urandom > "$work/tree/report/figures/photo.jpg"
seq 1 900 | sed 's/^/int value_/; s/$/ = 0;/' > "$work/tree/src/values.c"
printf 'Read me first.\n' > "$work/tree/README"
: > "$work/tree/empty.log"
mkdir -p "$work/Documents/Received"
(cd "$work/tree" && zip -q -r -D -9 "$work/Documents/Project files.zip" .)
seq 1 400000 | sed 's/^/line of the yearly report /' > "$work/tree/report/yearly.txt"
(cd "$work/tree" && zip -q -r -D -6 "$work/Documents/12042026-162907.zip" .)
# The FTP server's access-code folder already holds earlier uploads, so the list has rows.
mkdir -p "$work/ftp/home/tulpa/public_html/K7QX/old"
head -c 734003 /dev/urandom > "$work/ftp/home/tulpa/public_html/K7QX/11282026-091544.uzp"
head -c 20480 /dev/urandom > "$work/ftp/home/tulpa/public_html/K7QX/notes.zip"
/usr/bin/python3 tests/ftp/ftp_server.py --root "$work/ftp" > "$work/ftp.port" &
ftp_pid=$!
for _ in $(seq 100); do grep -q '^PORT ' "$work/ftp.port" && break; sleep 0.1; done
port=$(sed -n 's/^PORT //p' "$work/ftp.port")
[ -n "$port" ] || { echo "the FTP test server did not start" >&2; exit 1; }
source scripts/virtual_display.sh
on_virtual_display 1280x900x24 "$work/xvfb.log" build/app/vexaro-shots "$work/Documents/Project files.zip" \
    docs "$work/Documents/12042026-162907.zip" "127.0.0.1:$port"
echo "docs/frmArchive.png docs/frmExtract.png docs/frmEncrypt.png docs/frmUpload.png written"
