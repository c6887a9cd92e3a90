#!/bin/sh
# Runs the keyring test program ($1) in a D-Bus session of its own, with a gnome-keyring daemon
# whose keyring lives in a fresh folder and is unlocked with a throw-away password. Exits 77
# (skipped) with a message when the session or the daemon cannot start. The daemon ends with
# its session.
set -eu
for tool in dbus-run-session gnome-keyring-daemon; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
    XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY
dbus-run-session -- sh -c '
    if ! printf "throw-away" | gnome-keyring-daemon --unlock --components=secrets >/dev/null; then
        echo "SKIPPED: gnome-keyring-daemon did not start"
        exit 77
    fi
    exec "$0"' "$1"
