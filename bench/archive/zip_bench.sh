#!/usr/bin/env bash
# The zip component beside the system's zip tools, on one generated tree of about 150 MB
# (text, source-like files and incompressible media in nested folders; make_tree.py writes the
# same bytes every time). In one run, with the runs of both sides interleaved and the best of
# RUNS (default 3) kept for each:
#   AddFiles at level 6 against zip -r -6 (time and archive size),
#   AddFiles at level 0 against cp -r,
#   ExtractFiles against unzip, both extracting the archive AddFiles wrote,
# and the peak memory of AddFiles and ExtractFiles on that tree and on the tree with one more
# file of LARGE_MB MiB (default 300), which must not grow with the size of the files.
# Builds a Release arkovo_bench first (BENCH_BUILD_DIR, default build-bench-zip).
set -euo pipefail
cd "$(dirname "$0")/../.."

RUNS=${RUNS:-3}
LARGE_MB=${LARGE_MB:-300}
BUILD=${BENCH_BUILD_DIR:-build-bench-zip}

. bench/common.sh
need_packages time zip unzip python3
bench_build "$BUILD" arkovo_bench
BIN=$(realpath "$BUILD/bench/archive/arkovo_bench")

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
python3 "$OLDPWD/bench/archive/make_tree.py" tree >/dev/null
FILES=$(find tree -type f | wc -l)
BYTES=$(find tree -type f -printf '%s\n' | awk '{s += $1} END {print s}')
find tree -type f -exec cat {} + >/dev/null  # same page-cache start for every tool

best() { printf '%s\n' "$@" | sort -g | head -1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
verdict() { awk -v v="$1" -v op="$2" -v t="$3" 'BEGIN {
    ok = (op == "<=") ? v <= t : v >= t; print ok ? "met" : "MISSED" }'; }
row() {  # label, ours, theirs, unit, ratio, op, target
    printf '%-34s %10s %10s %-3s ratio %6s   target %s %s   %s\n' "$1" "$2" "$3" "$4" "$5" "$6" \
        "$7" "$(verdict "$5" "$6" "$7")"
}

vx6=() zip6=() vx0=() cpr=() vxx=() unz=()
for run in $(seq "$RUNS"); do
    rm -f zip6.zip vx6.zip vx0.zip && rm -rf copy out-vx out-unzip
    zip6+=("$(seconds zip -r -q -6 zip6.zip tree)")
    vx6+=("$(seconds "$BIN" add vx6.zip 6 tree)")
    cpr+=("$(seconds cp -r tree copy)")
    vx0+=("$(seconds "$BIN" add vx0.zip 0 tree)")
    unz+=("$(seconds unzip -q vx6.zip -d out-unzip)")
    vxx+=("$(seconds "$BIN" extract vx6.zip out-vx)")
done
unzip -tqq vx6.zip >/dev/null && unzip -tqq vx0.zip >/dev/null ||
    { echo "unzip -t rejects an archive the component wrote"; exit 1; }
diff -r tree out-vx/tree >/dev/null || { echo "the extracted tree differs from the source"; exit 1; }

mem() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1; }
rm -f m.zip && memAddSmall=$(mem "$BIN" add m.zip 6 tree)
rm -rf m && memExtractSmall=$(mem "$BIN" extract m.zip m)
cp -al tree big
python3 - "$LARGE_MB" <<'PY'
import random, sys
rng = random.Random(7)
with open('big/large.bin', 'wb') as f:
    for i in range(int(sys.argv[1])):
        f.write(rng.randbytes(1 << 20) if i % 2 else b'a line of ordinary text\n' * 43690)
PY
rm -f m.zip && memAddLarge=$(mem "$BIN" add m.zip 6 big)
rm -rf m && memExtractLarge=$(mem "$BIN" extract m.zip m)

mb() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }
echo "Tree: $FILES files, $(mb "$BYTES") MiB; best of $RUNS interleaved runs; load now: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-34s %10s %10s\n' "" "Vexaro" "reference"
row "AddFiles level 6 vs zip -r -6" "$(best "${vx6[@]}")" "$(best "${zip6[@]}")" s \
    "$(ratio "$(best "${vx6[@]}")" "$(best "${zip6[@]}")")" "<=" 1.10
row "archive size vs zip -r -6" "$(mb "$(stat -c %s vx6.zip)")" "$(mb "$(stat -c %s zip6.zip)")" MiB \
    "$(ratio "$(stat -c %s vx6.zip)" "$(stat -c %s zip6.zip)")" "<=" 1.01
row "AddFiles level 0 vs cp -r (speed)" "$(best "${vx0[@]}")" "$(best "${cpr[@]}")" s \
    "$(ratio "$(best "${cpr[@]}")" "$(best "${vx0[@]}")")" ">=" 0.50
row "ExtractFiles vs unzip" "$(best "${vxx[@]}")" "$(best "${unz[@]}")" s \
    "$(ratio "$(best "${vxx[@]}")" "$(best "${unz[@]}")")" "<=" 1.10
row "peak memory AddFiles, +${LARGE_MB} MiB" "$((memAddLarge / 1024))" "$((memAddSmall / 1024))" MiB \
    "$(ratio "$memAddLarge" "$memAddSmall")" "<=" 1.10
row "peak memory ExtractFiles, +${LARGE_MB} MiB" "$((memExtractLarge / 1024))" "$((memExtractSmall / 1024))" MiB \
    "$(ratio "$memExtractLarge" "$memExtractSmall")" "<=" 1.10
echo "(memory rows: the tree with the large file beside the tree alone)"
echo "all runs (s): zip6 ${zip6[*]} | vx6 ${vx6[*]} | cp ${cpr[*]} | vx0 ${vx0[*]} | unzip ${unz[*]} | vx-extract ${vxx[*]}"
