#!/usr/bin/env bash
# Upload and download throughput of vexaro-ftp next to curl, both against the same local FTP
# server (the tests' pyftpdlib server on 127.0.0.1), with one file of SIZE_MB MiB (default 256).
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
need_packages time curl python3-pyftpdlib
bench_build "$BUILD" vexaro-ftp
BIN="$BUILD/ftp/cli/vexaro-ftp"

. bench/ftp/test_server.sh
head -c $((SIZE_MB * 1024 * 1024)) /dev/urandom >"$WORK/src.bin"
start_ftp_server
# curl takes the log-in from a file, not from its arguments (which other users can read).
(umask 077; echo "machine 127.0.0.1 login tulpa password secret" >"$WORK/netrc")
URL="ftp://127.0.0.1:$PORT"
export VEXARO_FTP_SERVER="127.0.0.1:$PORT" VEXARO_FTP_USER=tulpa VEXARO_FTP_PASSWORD=secret

best() { sort -g | head -1; }

vx_up=() vx_down=() curl_up=() curl_down=()
peak_up=0 peak_down=0
for run in $(seq "$RUNS"); do
    # Uploads go to new files: replacing a large file costs the server time that is not the
    # client's doing (and varies with what the page cache holds).
    rm -f "$WORK/root/home/tulpa/vx.bin" "$WORK/root/home/tulpa/curl.bin"
    vx_up+=("$(seconds /usr/bin/time -f %M -o "$WORK/up.rss" "$BIN" -q put "$WORK/src.bin" vx.bin)")
    curl_up+=("$(seconds curl -sS --netrc-file "$WORK/netrc" -T "$WORK/src.bin" "$URL/curl.bin")")
    curl_down+=("$(seconds curl -sS --netrc-file "$WORK/netrc" -o "$WORK/curl.down" "$URL/vx.bin")")
    vx_down+=("$(seconds /usr/bin/time -f %M -o "$WORK/down.rss" "$BIN" -q get vx.bin "$WORK/vx.down")")
    peak_up=$(( $(tail -1 "$WORK/up.rss") > peak_up ? $(tail -1 "$WORK/up.rss") : peak_up ))
    peak_down=$(( $(tail -1 "$WORK/down.rss") > peak_down ? $(tail -1 "$WORK/down.rss") : peak_down ))
    cmp -s "$WORK/src.bin" "$WORK/root/home/tulpa/vx.bin" || { echo "vexaro-ftp upload differs"; exit 1; }
    cmp -s "$WORK/src.bin" "$WORK/root/home/tulpa/curl.bin" || { echo "curl upload differs"; exit 1; }
    cmp -s "$WORK/src.bin" "$WORK/vx.down" || { echo "vexaro-ftp download differs"; exit 1; }
    cmp -s "$WORK/src.bin" "$WORK/curl.down" || { echo "curl download differs"; exit 1; }
    rm -f "$WORK/vx.down" "$WORK/curl.down"
done

vu=$(printf '%s\n' "${vx_up[@]}" | best)
vd=$(printf '%s\n' "${vx_down[@]}" | best)
cu=$(printf '%s\n' "${curl_up[@]}" | best)
cd=$(printf '%s\n' "${curl_down[@]}" | best)
awk -v mb="$SIZE_MB" -v vu="$vu" -v vd="$vd" -v cu="$cu" -v cd="$cd" -v pu="$peak_up" -v pd="$peak_down" -v runs="$RUNS" 'BEGIN {
    bytes = mb * 1048576
    printf "FTP over loopback, %d MiB file, best of %d runs, all files compared byte for byte\n", mb, runs
    printf "%-10s %14s %14s %8s\n", "direction", "vexaro-ftp", "curl", "ratio"
    printf "%-10s %9.1f MB/s %9.1f MB/s %8.2f\n", "upload", bytes / vu / 1e6, bytes / cu / 1e6, cu / vu
    printf "%-10s %9.1f MB/s %9.1f MB/s %8.2f\n", "download", bytes / vd / 1e6, bytes / cd / 1e6, cd / vd
    printf "peak RSS of vexaro-ftp: upload %.1f MiB, download %.1f MiB\n", pu / 1024, pd / 1024
}'
