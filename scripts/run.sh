#!/usr/bin/env bash
# The demo of the whole road, on one machine. Installs what is missing and builds; starts an FTP
# server (user folder /home/tulpa/public_html/<code>), an SMTP server with AUTH LOGIN and the
# download site, all on 127.0.0.1; writes a demo program folder and a demo settings file (never
# the user's own); and starts Vexaro with -autoload. With a display you drive it; without one it
# runs under a virtual X server and drives itself with keystrokes as a person would, saving a
# screenshot of each window it passes. Finally it shows what the recipient gets.
# The FTP and SMTP sessions are encrypted: the demo makes a throw-away CA, the FTP server requires
# TLS with a certificate from it, the SMTP server offers AUTH only after STARTTLS, and the
# settings name the CA in "TlsCaFile". With --plain the servers and the program speak the plain
# dialogues instead.
# Usage: scripts/run.sh [--plain] [FOLDER]   (the demo's folder; a new one under /tmp by default)
set -euo pipefail
cd "$(dirname "$0")/.."
PLAIN=0
if [ "${1:-}" = --plain ]; then PLAIN=1; shift; fi
scripts/setup.sh >&2
BUILD=$PWD/build

DEMO=$(realpath -m "${1:-$(mktemp -d /tmp/vexaro-demo.XXXXXX)}")
CODE=K7QX
KEY='Blue-Harbour-7219!'
mkdir -p "$DEMO"/{ftp,home,selection,recipient,shots}
echo "Demo folder: $DEMO"
ROAD_DIR=$DEMO
source scripts/demo/local_road.sh
mkdir -p "$DEMO/ftp/home/tulpa/public_html/$CODE"
FTP_TLS=()
SMTP_KNOBS=(lenient)
if [ $PLAIN = 0 ]; then
    tests/support/make_test_ca.sh "$DEMO/ca"
    FTP_TLS=(--tls-cert "$DEMO/ca/server.pem" --tls-required --tls-reuse)
    SMTP_KNOBS=(starttls "cert=$DEMO/ca/server.pem")  # AUTH only after STARTTLS
fi
FTP_PORT=$(start_server ftp /usr/bin/python3 tests/ftp/ftp_server.py --root "$DEMO/ftp" --transcript "$DEMO/ftp.log" "${FTP_TLS[@]}")
SMTP_PORT=$(start_server smtp /usr/bin/python3 tests/mail/smtp_server.py "$DEMO/smtp.log" "${SMTP_KNOBS[@]}")
WEB_PORT=$(start_server web /usr/bin/python3 scripts/demo/web_server.py "$DEMO/ftp")
echo "FTP 127.0.0.1:$FTP_PORT, SMTP 127.0.0.1:$SMTP_PORT, download site http://127.0.0.1:$WEB_PORT/"

# What the user sends: a few files and a folder.
SEL=$DEMO/selection
python3 - "$SEL" <<'PY'
import os, random, sys
sel = sys.argv[1]
random.seed(7)
words = "archive server folder upload recipient link notice archive transfer".split()
def text(n): return "\n".join(" ".join(random.choices(words, k=12)) for _ in range(n)) + "\n"
os.makedirs(f"{sel}/project/drawings", exist_ok=True)
open(f"{sel}/report.txt", "w").write(text(40000))
open(f"{sel}/photo.raw", "wb").write(random.randbytes(24 * 1024 * 1024))
open(f"{sel}/project/plan.txt", "w").write(text(2000))
open(f"{sel}/project/budget.csv", "w").write("\n".join(f"{i},{i * 17 % 101}" for i in range(50000)))
open(f"{sel}/project/drawings/site.dat", "wb").write(random.randbytes(2 * 1024 * 1024))
PY
printf '%s\n' "$SEL/report.txt" "$SEL/photo.raw" "$SEL/project" >"$DEMO/home/AutoOut.txt"
printf '"%s"\r\n' "$CODE" >"$DEMO/home/keycode.dat"
cat >"$DEMO/home/settings.ini" <<'INI'
[Email Settings]
TO=recipient@example.test
CC=
BCC=
SUBJECT=Files for you
BODY=Hello, here are the files we talked about.
INI
write_settings "$DEMO/settings.conf" "$FTP_PORT" "$SMTP_PORT" "http://127.0.0.1:$WEB_PORT/" "$KEY"
if [ $PLAIN = 0 ]; then
    printf 'FtpTls=require\nRelayTls=starttls\nTlsCaFile=%s\n' "$DEMO/ca/ca.pem" >>"$DEMO/settings.conf"
else
    echo 'FtpTls=off' >>"$DEMO/settings.conf"
fi
export VEXARO_HOME=$DEMO/home VEXARO_SETTINGS=$DEMO/settings.conf

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Vexaro starts now: press \"Compress/Upload\" and answer its messages."
    "$BUILD/app/vexaro" -autoload
else
    echo "No display: Vexaro runs under a virtual X server and is driven by keystrokes."
    source scripts/virtual_display.sh
    on_virtual_display 1280x900x24 "$DEMO/xvfb.log" scripts/demo/drive.sh "$BUILD/app/vexaro" "$DEMO/shots"
fi

VEXARO_KEY=$KEY scripts/demo/recipient.sh "$DEMO" "$WEB_PORT" "$BUILD"
