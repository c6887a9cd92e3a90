# Sourced by the FTP benchmarks, from the top of the source tree: makes a work folder WORK and
# removes it, with any server started, when the script ends. `start_ftp_server [KNOB...]` starts
# the tests' FTP server (tests/ftp/ftp_server.py) on 127.0.0.1 with its root in $WORK/root and
# sets PORT, or ends the script when the server does not start.
WORK=$(mktemp -d)
ROAD_DIR=$WORK
. scripts/demo/local_road.sh
trap 'stop_servers; rm -rf "$WORK"' EXIT

start_ftp_server() {
    PORT=$(start_server ftp /usr/bin/python3 tests/ftp/ftp_server.py --root "$WORK/root" "$@")
}
