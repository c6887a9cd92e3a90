#!/usr/bin/env bash
# Makes docs/frmArchive.png and docs/frmExtract.png: packs a small sample tree with `zip` and shows
# it in the real archive window under a virtual X server. Then docs/frmEncrypt.png: the encryption
# window in the middle of encrypting a larger archive.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null
work=$(mktemp -d /tmp/vexaro-shots.XXXXXX)
trap 'rm -rf "$work"' EXIT
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
xvfb-run -a -s "-screen 0 1280x900x24" build/app/vexaro-shots "$work/Documents/Project files.zip" \
    docs "$work/Documents/12042026-162907.zip"
echo "docs/frmArchive.png docs/frmExtract.png docs/frmEncrypt.png written"
