# Sourced by the demo (scripts/run.sh) and the benchmarks: the local servers of the road and
# the settings that point Vexaro at them. Set ROAD_DIR to the run's folder before sourcing.
#   start_server NAME COMMAND...  starts a server that prints "PORT n" first; prints n. Its
#                                 output goes to $ROAD_DIR/NAME.out and .err; every server
#                                 started is stopped by stop_servers (on exit unless the
#                                 script sets its own trap, which should call it).
#   write_settings FILE FTP_PORT SMTP_PORT SITE KEY   a settings store for the road: encrypt
#                                 with KEY, notify through the internal mailer, link to SITE.
rm -f "$ROAD_DIR/servers.pid"
stop_servers() { kill $(cat "$ROAD_DIR/servers.pid" 2>/dev/null) 2>/dev/null || true; }
trap stop_servers EXIT

start_server() {
    local name=$1
    shift
    "$@" >"$ROAD_DIR/$name.out" 2>"$ROAD_DIR/$name.err" &
    echo $! >>"$ROAD_DIR/servers.pid"  # called in a subshell: the pid goes through the file
    for _ in $(seq 100); do
        if grep -q '^PORT ' "$ROAD_DIR/$name.out"; then sed -n 's/^PORT //p' "$ROAD_DIR/$name.out"; return; fi
        sleep 0.1
    done
    echo "The $name server did not start:" >&2
    cat "$ROAD_DIR/$name.err" >&2
    exit 1
}

write_settings() {
    # It holds the passwords and the key: for the user alone, as the program makes its own.
    (umask 077; : >"$1")
    cat >"$1" <<CONF
[Settings]
FtpServer=127.0.0.1:$2
FtpUser=tulpa
FtpPassword=secret
ActPasv=0
EncryptYN=1
EncryptKey=$5
SaveLog=1
Mailer=internal
EmailYN=1
EmailServer=127.0.0.1
RelayPort=$3
RelayUser=relay-user
RelayPassword=change-me
RelayFrom=sender@example.test
DownloadSiteBase=$4
CONF
}
