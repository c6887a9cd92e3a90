#!/usr/bin/env bash
# How responsive the program stays on a slow link: uploads and downloads one file of SIZE_KB KiB
# (default 1024) through cFTP against the tests' FTP server on 127.0.0.1 throttled to RATE bytes
# a second (default 65536), while a 10 ms timer runs, and prints the longest gap between its
# ticks in each direction (target: about 100 ms or less). Both files are compared byte for byte.
# Builds a Release ftp_responsiveness into its own folder first (BENCH_BUILD_DIR, default
# build-bench-ftp-wait).
set -euo pipefail
cd "$(dirname "$0")/.."

SIZE_KB=${SIZE_KB:-1024}
RATE=${RATE:-65536}
BUILD=${BENCH_BUILD_DIR:-build-bench-ftp-wait}

. bench/common.sh
need_packages python3-pyftpdlib
bench_build "$BUILD" ftp_responsiveness
BIN="$BUILD/bench/ftp/ftp_responsiveness"

. bench/ftp/test_server.sh
head -c $((SIZE_KB * 1024)) /dev/urandom >"$WORK/src.bin"
start_ftp_server --throttle "$RATE"

echo "cFTP against a server throttled to $RATE bytes/s, $SIZE_KB KiB file, 10 ms timer"
VEXARO_FTP_PASSWORD=secret "$BIN" "127.0.0.1:$PORT" tulpa "$WORK/src.bin" src.bin "$WORK/back.bin"
cmp -s "$WORK/src.bin" "$WORK/root/home/tulpa/src.bin" || { echo "the upload differs"; exit 1; }
cmp -s "$WORK/src.bin" "$WORK/back.bin" || { echo "the download differs"; exit 1; }
echo "both files compared byte for byte"
