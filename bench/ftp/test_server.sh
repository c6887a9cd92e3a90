# Sourced by the FTP benchmarks, from the top of the source tree: makes a work folder WORK and
# removes it, with any server started, when the script ends. `start_ftp_server [KNOB...]` starts
# the tests' FTP server (tests/ftp/ftp_server.py) on 127.0.0.1 with its root in $WORK/root and
# sets PORT, or ends the script when the server does not start.
WORK=$(mktemp -d)
SERVER_PID=
cleanup() {
    [ -n "$SERVER_PID" ] && kill "$SERVER_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

start_ftp_server() {
    /usr/bin/python3 tests/ftp/ftp_server.py --root "$WORK/root" "$@" \
        >"$WORK/server.out" 2>"$WORK/server.err" &
    SERVER_PID=$!
    for _ in $(seq 100); do grep -q '^PORT ' "$WORK/server.out" 2>/dev/null && break; sleep 0.1; done
    PORT=$(awk '/^PORT /{print $2}' "$WORK/server.out")
    [ -n "$PORT" ] || { echo "the FTP server did not start:"; cat "$WORK/server.err"; exit 1; }
}
