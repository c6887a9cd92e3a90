#!/bin/bash
# vexaro-crypt on two 5 GiB files, one of random bytes and one of English-like text: peak memory
# (target at most 64 MiB) and throughput against the cipher's own speed on the same bytes
# (target at least 0.95, against the faster of two measurements bracketing each run), for
# encrypting and for restoring, and the restored file compared with
# the source. Needs about 16 GiB of free disk; checks first and removes its files after.
#   bench/crypto/stream_bench.sh [SIZE_MIB]   (default 5120; BUILD=dir picks the build folder,
#                                              build-bench by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
. bench/common.sh
need_packages time
SIZE_MIB=${1:-5120}
BUILD=${BUILD:-build-bench}
bench_build "$BUILD" vexaro-crypt
bench_build "$BUILD" cipher_speed
CRYPT=$BUILD/crypto/cli/vexaro-crypt
SPEED=$BUILD/bench/crypto/cipher_speed

WORK=$(mktemp -d "${TMPDIR:-/tmp}/stream-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
need_kib=$((SIZE_MIB * 1024 * 3 + 1024 * 1024))
free_kib=$(df -Pk "$WORK" | awk 'NR == 2 { print $4 }')
if [ "$free_kib" -lt "$need_kib" ]; then
    echo "Not enough free disk in $WORK: $((free_kib / 1024)) MiB, need $((need_kib / 1024)) MiB"
    exit 1
fi
printf 'Bench Key 2024!\n' >"$WORK/key"

# Runs vexaro-crypt with /usr/bin/time; prints wall seconds and peak KiB.
timed() {
    /usr/bin/time -v -o "$WORK/time" "$CRYPT" --key-file "$WORK/key" file "$@" >/dev/null
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                    for (i = 1; i <= n; i++) s = s * 60 + t[i]; w = s }
                /Maximum resident/ { m = $2 } END { printf "%.2f %d\n", w, m }' "$WORK/time"
}

for kind in ${KINDS:-random text}; do
    "$SPEED" "--$kind" "$SIZE_MIB" "$WORK/$kind.bin"
    bytes=$(stat -c %s "$WORK/$kind.bin")
    # The cipher's speed drifts by some tenths on this kind of machine from minute to minute:
    # it is measured (on the first GiB) right before and right after each run, and the faster
    # of the two counts.
    read -r rawEnc _ < <("$SPEED" "$WORK/$kind.bin" 1024)
    read -r encS encKiB < <(timed "$WORK/$kind.bin" "$WORK/$kind")
    read -r rawEnc2 rawDec < <("$SPEED" "$WORK/$kind.bin" 1024)
    sealedBytes=$(stat -c %s "$WORK/$kind.uzp")
    read -r decS decKiB < <(timed "$WORK/$kind.uzp" "$WORK/back")
    read -r _ rawDec2 < <("$SPEED" "$WORK/$kind.bin" 1024)
    rawEnc=$(awk -v a="$rawEnc" -v b="$rawEnc2" 'BEGIN { print (a > b ? a : b) }')
    rawDec=$(awk -v a="$rawDec" -v b="$rawDec2" 'BEGIN { print (a > b ? a : b) }')
    if cmp -s "$WORK/$kind.bin" "$WORK/back.bin"; then same=yes; else same=NO; fi
    awk -v k="$kind" -v b="$bytes" -v sb="$sealedBytes" -v re="$rawEnc" -v rd="$rawDec" \
        -v es="$encS" -v em="$encKiB" -v ds="$decS" -v dm="$decKiB" -v same="$same" 'BEGIN {
        e = b / 1e6 / es; d = sb / 1e6 / ds;
        printf "%s, %.0f MiB: cipher alone %.1f MB/s enciphering, %.1f MB/s deciphering\n", k, b / 1048576, re, rd;
        printf "  encrypt: %.1f s, %.1f MB/s = %.3f x the cipher (target >= 0.95), peak %.1f MiB (target <= 64)\n", es, e, e / re, em / 1024;
        printf "  restore: %.1f s, %.1f MB/s of the encrypted file = %.3f x the cipher (target >= 0.95), peak %.1f MiB (target <= 64)\n", ds, d, d / rd, dm / 1024;
        printf "  restored file equal to the source: %s\n", same }'
    rm -f "$WORK/$kind.bin" "$WORK/$kind.uzp" "$WORK/back.bin"
done
