#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Without a display it runs under a
# virtual one (Xvfb). Extra arguments go to the program (for example -autoload).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export VEXARO_HOME=${VEXARO_HOME:-$PWD/build/home}
mkdir -p "$VEXARO_HOME"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting under a virtual X server (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1280x900x24" build/app/vexaro "$@"
fi
exec build/app/vexaro "$@"
