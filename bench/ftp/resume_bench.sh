#!/usr/bin/env bash
# A lost connection half-way through an upload: `vexaro-ftp --resume put` of one file of SIZE_MB
# MiB (default 1024) to a local FTP server, once uninterrupted and once to a server that closes
# the data connection after half the file (the tests' --data-stop knob, first transfer only), so
# that the client waits RETRY_WAIT seconds (default 2), connects again and continues from the
# server's size. Prints both times beside the target: resumed <= 1.1 x uninterrupted + the wait.
# Each runs RUNS times (default 3), alternating; the best run of each counts. Both uploads are
# compared byte for byte. Builds a Release vexaro-ftp first (BENCH_BUILD_DIR,
# default build-bench-ftp).
set -euo pipefail
cd "$(dirname "$0")/../.."

SIZE_MB=${SIZE_MB:-1024}
RETRY_WAIT=${RETRY_WAIT:-2}
RUNS=${RUNS:-3}
BUILD=${BENCH_BUILD_DIR:-build-bench-ftp}

. bench/common.sh
need_packages python3-pyftpdlib
bench_build "$BUILD" vexaro-ftp
BIN="$BUILD/ftp/cli/vexaro-ftp"

. bench/ftp/test_server.sh
free_mb=$(df -Pm "$WORK" | awk 'NR == 2 { print $4 }')
[ "$free_mb" -gt $((SIZE_MB * 3 + 512)) ] || { echo "need $((SIZE_MB * 3 + 512)) MiB free in $WORK, have $free_mb"; exit 1; }
head -c $((SIZE_MB * 1024 * 1024)) /dev/urandom >"$WORK/src.bin"

upload() {  # label knob...: one resumable upload to a fresh server; prints its seconds
    local label=$1
    shift
    PORT=$(start_server "$label" /usr/bin/python3 tests/ftp/ftp_server.py --root "$WORK/root" \
        --transcript "$WORK/$label.commands" "$@")
    sync
    local s
    s=$(seconds "$BIN" -q --resume --retry-wait "$RETRY_WAIT" -u tulpa -p secret -s "127.0.0.1:$PORT" \
        put "$WORK/src.bin" "$label.bin")
    cmp -s "$WORK/src.bin" "$WORK/root/home/tulpa/$label.bin" || { echo "$label upload differs" >&2; exit 1; }
    rm -f "$WORK/root/home/tulpa/$label.bin"
    # The interrupted runs must have continued, not started again.
    if [ $# -gt 0 ] && ! grep -q '^REST ' "$WORK/$label.commands"; then echo "$label did not resume" >&2; exit 1; fi
    echo "$s"
}

plain=() resumed=()
for run in $(seq "$RUNS"); do
    plain+=("$(upload "plain$run")")
    resumed+=("$(upload "resumed$run" --data-stop $((SIZE_MB * 1024 * 1024 / 2)) --stop-times 1)")
done
p=$(printf '%s\n' "${plain[@]}" | sort -g | head -1)
r=$(printf '%s\n' "${resumed[@]}" | sort -g | head -1)
echo "uninterrupted runs: ${plain[*]}; resumed runs: ${resumed[*]}"
awk -v mb="$SIZE_MB" -v p="$p" -v r="$r" -v w="$RETRY_WAIT" -v runs="$RUNS" 'BEGIN {
    printf "resumable upload of %d MiB over loopback, best of %d runs, compared byte for byte\n", mb, runs
    printf "uninterrupted           %8.2f s\n", p
    printf "dropped at 50%%, resumed %8.2f s (wait %.1f s included)\n", r, w
    printf "resumed / (1.1 x uninterrupted + wait): %.3f (target <= 1)\n", r / (1.1 * p + w)
}'
