#!/usr/bin/env bash
# Upload and download throughput of vexaro-ftp next to curl, both against the same local FTP
# server (the tests' pyftpdlib server on 127.0.0.1), with one file of SIZE_MB MiB (default 256),
# in plain FTP and over TLS (a throw-away CA; the server refuses data connections that do not
# resume the session).
# Each tool runs RUNS times per direction (default 5), alternating; the best run counts. The
# times are wall-clock times of whole runs of each tool (start, login, transfer, exit). Also
# reports the peak resident memory of vexaro-ftp. Builds a Release vexaro-ftp into its own
# folder first (BENCH_BUILD_DIR, default build-bench-ftp).
set -euo pipefail
cd "$(dirname "$0")/.."

SIZE_MB=${SIZE_MB:-256}
RUNS=${RUNS:-5}
BUILD=${BENCH_BUILD_DIR:-build-bench-ftp}

. bench/common.sh
need_packages time curl python3-pyftpdlib python3-openssl openssl
bench_build "$BUILD" vexaro-ftp
BIN="$BUILD/ftp/cli/vexaro-ftp"

. bench/ftp/test_server.sh
head -c $((SIZE_MB * 1024 * 1024)) /dev/urandom >"$WORK/src.bin"
tests/support/make_test_ca.sh "$WORK/ca"

best() { sort -g | head -1; }

# One mode against its own server: "plain" (the plain dialogue on both sides) or "tls" (explicit
# TLS on the control and every data connection, curl with --ssl-reqd). Prints two table rows.
bench_mode() {
    local mode=$1 vx_tls curl_tls server_tls
    if [ "$mode" = tls ]; then
        vx_tls=(--tls require --ca-file "$WORK/ca/ca.pem")
        curl_tls=(--ssl-reqd --cacert "$WORK/ca/ca.pem")
        server_tls=(--tls-cert "$WORK/ca/server.pem" --tls-reuse)
    else
        vx_tls=(--tls off) curl_tls=() server_tls=()
    fi
    start_ftp_server "${server_tls[@]}"
    # curl takes the log-in from a file, not from its arguments (which other users can read).
    (umask 077; echo "machine 127.0.0.1 login tulpa password secret" >"$WORK/netrc")
    local url="ftp://127.0.0.1:$PORT" home="$WORK/root/home/tulpa"
    export VEXARO_FTP_SERVER="127.0.0.1:$PORT" VEXARO_FTP_USER=tulpa VEXARO_FTP_PASSWORD=secret
    local vx_up=() vx_down=() curl_up=() curl_down=() peak_up=0 peak_down=0
    for run in $(seq "$RUNS"); do
        # Uploads go to new files: replacing a large file costs the server time that is not the
        # client's doing (and varies with what the page cache holds).
        rm -f "$home/vx.bin" "$home/curl.bin"
        vx_up+=("$(seconds /usr/bin/time -f %M -o "$WORK/up.rss" "$BIN" -q "${vx_tls[@]}" put "$WORK/src.bin" vx.bin)")
        curl_up+=("$(seconds curl -sS --netrc-file "$WORK/netrc" "${curl_tls[@]}" -T "$WORK/src.bin" "$url/curl.bin")")
        curl_down+=("$(seconds curl -sS --netrc-file "$WORK/netrc" "${curl_tls[@]}" -o "$WORK/curl.down" "$url/vx.bin")")
        vx_down+=("$(seconds /usr/bin/time -f %M -o "$WORK/down.rss" "$BIN" -q "${vx_tls[@]}" get vx.bin "$WORK/vx.down")")
        peak_up=$(( $(tail -1 "$WORK/up.rss") > peak_up ? $(tail -1 "$WORK/up.rss") : peak_up ))
        peak_down=$(( $(tail -1 "$WORK/down.rss") > peak_down ? $(tail -1 "$WORK/down.rss") : peak_down ))
        cmp -s "$WORK/src.bin" "$home/vx.bin" || { echo "vexaro-ftp $mode upload differs"; exit 1; }
        cmp -s "$WORK/src.bin" "$home/curl.bin" || { echo "curl $mode upload differs"; exit 1; }
        cmp -s "$WORK/src.bin" "$WORK/vx.down" || { echo "vexaro-ftp $mode download differs"; exit 1; }
        cmp -s "$WORK/src.bin" "$WORK/curl.down" || { echo "curl $mode download differs"; exit 1; }
        rm -f "$WORK/vx.down" "$WORK/curl.down"
    done
    awk -v mb="$SIZE_MB" -v mode="$mode" -v pu="$peak_up" -v pd="$peak_down" \
        -v vu="$(printf '%s\n' "${vx_up[@]}" | best)" -v vd="$(printf '%s\n' "${vx_down[@]}" | best)" \
        -v cu="$(printf '%s\n' "${curl_up[@]}" | best)" -v cd="$(printf '%s\n' "${curl_down[@]}" | best)" 'BEGIN {
        bytes = mb * 1048576
        printf "%-6s %-10s %9.1f MB/s %9.1f MB/s %8.2f %9.1f MiB\n", mode, "upload", bytes / vu / 1e6, bytes / cu / 1e6, cu / vu, pu / 1024
        printf "%-6s %-10s %9.1f MB/s %9.1f MB/s %8.2f %9.1f MiB\n", mode, "download", bytes / vd / 1e6, bytes / cd / 1e6, cd / vd, pd / 1024
    }'
}

echo "FTP over loopback, $SIZE_MB MiB file, best of $RUNS runs, all files compared byte for byte"
printf "%-6s %-10s %14s %14s %8s %13s\n" mode direction vexaro-ftp curl ratio "peak RSS"
for mode in ${MODES:-plain tls}; do bench_mode "$mode"; done
