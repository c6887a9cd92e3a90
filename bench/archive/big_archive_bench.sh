#!/usr/bin/env bash
# Opening an archive of COUNT (default 1,000,000) one-byte entries in the archive window, off
# screen: seconds until the list is full, the longest the window went without an event-loop
# turn, and the peak memory (also per entry), beside `unzip -l` on the same archive. With
# BEFORE=<git revision> the same driver is also built and run at that revision (in a temporary
# worktree), for the figures before a change.
set -euo pipefail
cd "$(dirname "$0")/../.."

COUNT=${COUNT:-1000000}
BUILD=${BENCH_BUILD_DIR:-build-bench-zip}

. bench/common.sh
need_packages time unzip python3
bench_build "$BUILD" archive_open_bench
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"; [ -n "${TREE:-}" ] && git worktree remove --force "$TREE"' EXIT
python3 bench/archive/make_many.py "$WORK/many.zip" "$COUNT"

run() {  # label, command...: wall seconds, peak memory (and per entry), what the command printed
    /usr/bin/time -f '%e %M' -o "$WORK/time" "${@:2}" >"$WORK/out"
    read -r secs kb <"$WORK/time"
    printf '%-28s %7.2f s  peak %7.1f MiB = %5.0f bytes/entry   %s\n' "$1" "$secs" \
        "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" \
        "$(awk -v k="$kb" -v n="$COUNT" 'BEGIN { print k * 1024 / n }')" "$(tail -1 "$WORK/out")"
}

echo "$COUNT entries, $(stat -c %s "$WORK/many.zip") bytes; load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "(the window's own figures: seconds until the list is full, longest freeze, rows)"
run "unzip -l" bash -c "unzip -l '$WORK/many.zip' | tail -1"
QT_QPA_PLATFORM=offscreen run "archive window (now)" \
    "$BUILD/bench/archive/archive_open_bench" "$WORK/many.zip"
if [ -n "${BEFORE:-}" ]; then
    TREE="$WORK/before"
    git worktree add --detach "$TREE" "$BEFORE" >/dev/null 2>&1
    cp bench/archive/open_bench.cpp bench/archive/CMakeLists.txt "$TREE/bench/archive/"
    (cd "$TREE" && bench_build build archive_open_bench)
    QT_QPA_PLATFORM=offscreen run "archive window ($BEFORE)" \
        "$TREE/build/bench/archive/archive_open_bench" "$WORK/many.zip"
fi
