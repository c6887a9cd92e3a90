#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each for a bounded time, one after another.
#
# A target is a file fuzz/<name>_fuzz.cpp that defines LLVMFuzzerTestOneInput; it is linked
# against the cipher module (crypto/*.cpp) and core (core/*.cpp). Seed inputs may be kept in
# fuzz/corpus/<name>/; the growing corpus, logs and crash inputs go to $FUZZ_DIR (build-fuzz).
# FUZZ_MAX_LEN (8192) bounds the input size, FUZZ_TIMEOUT (10 s) the time of one input.
#
# Usage: scripts/fuzz.sh [-t seconds-per-target] [-b] [name ...]
#   -t  run time of each target (default 60)
#   -b  build only
#   name  targets to run (default: every fuzz/*_fuzz.cpp), e.g. huffman_decode
# Exit status is non-zero when a build fails or a target finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."

RUN_SECONDS=60
BUILD_ONLY=0
while getopts "t:b" opt; do
    case $opt in
        t) RUN_SECONDS=$OPTARG ;;
        b) BUILD_ONLY=1 ;;
        *) sed -n '2,15p' "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))

OUT=${FUZZ_DIR:-build-fuzz}
CXX=${CXX:-clang++}
MAX_LEN=${FUZZ_MAX_LEN:-8192}
TIMEOUT=${FUZZ_TIMEOUT:-10}  # seconds for one input before it counts as a hang
read -r -a QT_FLAGS <<<"$(pkg-config --cflags Qt6Core)"
read -r -a QT_LIBS <<<"$(pkg-config --libs Qt6Core)"
FLAGS=(-std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer -fsanitize=address,undefined
       -fno-sanitize-recover=undefined -I. "${QT_FLAGS[@]}")
# Sources whose coverage guides nothing (the same arithmetic for every input, such as the
# cipher's key set-up) are listed in fuzz/coverage_ignorelist.txt: still under the sanitizers,
# but without the coverage callbacks that would take most of each run.
[ -f fuzz/coverage_ignorelist.txt ] && FLAGS+=(-fsanitize-coverage-ignorelist=fuzz/coverage_ignorelist.txt)

mkdir -p "$OUT/obj"

# Library objects, rebuilt when their source or any module header is newer.
newest_header=$(ls -t crypto/*.h core/*.h | head -n 1)
objects=()
for src in crypto/*.cpp core/*.cpp; do
    obj="$OUT/obj/$(echo "${src%.cpp}" | tr / _).o"
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ "$newest_header" -nt "$obj" ]; then
        echo "compile $src"
        "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
    fi
    objects+=("$obj")
done

if [ $# -gt 0 ]; then
    names=("$@")
else
    names=()
    for f in fuzz/*_fuzz.cpp; do
        n=$(basename "$f" _fuzz.cpp)
        names+=("$n")
    done
fi

failed=0
for name in "${names[@]}"; do
    src="fuzz/${name}_fuzz.cpp"
    [ -f "$src" ] || { echo "no target $src"; exit 2; }
    bin="$OUT/${name}_fuzz"
    echo "build $bin"
    "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer "$src" "${objects[@]}" "${QT_LIBS[@]}" -o "$bin"
    [ "$BUILD_ONLY" = 1 ] && continue

    corpus="$OUT/corpus/$name"
    artifacts="$OUT/artifacts/$name/"
    mkdir -p "$corpus" "$artifacts"
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    echo "run $name for ${RUN_SECONDS}s (log $OUT/$name.log)"
    if "$bin" -max_total_time="$RUN_SECONDS" -max_len="$MAX_LEN" -timeout="$TIMEOUT" \
        -print_final_stats=1 \
        -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" >"$OUT/$name.log" 2>&1; then
        status=ok
    else
        status=FAILED
        failed=1
    fi
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$OUT/$name.log" | grep -o '[0-9]*$' || true)
    echo "$name: $status, ${execs:-?} executions, corpus $(ls "$corpus" | wc -l) inputs"
done
exit $failed
