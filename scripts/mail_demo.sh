#!/usr/bin/env bash
# Shows the notification windows at work against a local SMTP server on 127.0.0.1 (the tests'
# server): builds, prepares a program folder and a settings file under build/mail-demo, starts
# the server, runs vexaro-mail-demo (under a virtual display when there is none) and prints what
# the server received. Extra arguments go to the demo (for example --shots docs).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
demo=$PWD/build/mail-demo
rm -rf "$demo"
mkdir -p "$demo/home"
export VEXARO_HOME=$demo/home VEXARO_SETTINGS=$demo/TULPAREG.conf
printf 'K7QX\r\n' >"$VEXARO_HOME/keycode.dat"
printf '[Email Settings]\nTO=friend@example.org\nSUBJECT=Files for you\nBODY=Hello, here are the files.\n' \
    >"$VEXARO_HOME/settings.ini"
coproc SERVER { exec /usr/bin/python3 tests/mail/smtp_server.py "$demo/transcript" lenient; }
trap 'kill "$SERVER_PID"' EXIT
read -r _ port <&"${SERVER[0]}"
printf '[Settings]\nEmailServer=127.0.0.1\nRelayPort=%s\nDownloadSiteBase=http://files.example.org/\n' \
    "$port" >"$VEXARO_SETTINGS"
run=(build/mail/demo/vexaro-mail-demo --server "127.0.0.1:$port" "$@")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    source scripts/virtual_display.sh
    on_virtual_display 1280x900x24 /dev/null "${run[@]}"
else
    "${run[@]}"
fi
echo "--- lines the server received:"
cat "$demo/transcript"
