#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each for a bounded time, one after another.
#
# A target is a file fuzz/<name>_fuzz.cpp that defines LLVMFuzzerTestOneInput. Every target links
# one static library of the window-free sources listed below (the linker takes only what a
# target uses). Seed inputs are kept in fuzz/corpus/<name>/, a dictionary in fuzz/<name>.dict;
# the growing corpus, logs and crash inputs go to $FUZZ_DIR (build-fuzz).
# FUZZ_MAX_LEN (8192) bounds the input size, FUZZ_TIMEOUT (10 s) the time of one input,
# FUZZ_RSS (2048 MB) its memory.
#
# Usage: scripts/fuzz.sh [-t seconds-per-target] [-j parallel] [-b] [name ...]
#   -t  run time of each target (default 60)
#   -j  targets run at the same time (default 1)
#   -b  build only
#   name  targets to run (default: every fuzz/*_fuzz.cpp), e.g. huffman_decode
# Exit status is non-zero when a build fails or a target finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."

RUN_SECONDS=60
BUILD_ONLY=0
JOBS=1
while getopts "t:j:b" opt; do
    case $opt in
        t) RUN_SECONDS=$OPTARG ;;
        j) JOBS=$OPTARG ;;
        b) BUILD_ONLY=1 ;;
        *) sed -n '2,15p' "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))

OUT=${FUZZ_DIR:-build-fuzz}
CXX=${CXX:-clang++}
LAUNCHER=()
command -v ccache >/dev/null && LAUNCHER=(ccache)
MAX_LEN=${FUZZ_MAX_LEN:-8192}
TIMEOUT=${FUZZ_TIMEOUT:-10}  # seconds for one input before it counts as a hang
RSS=${FUZZ_RSS:-2048}
read -r -a QT_FLAGS <<<"$(pkg-config --cflags Qt6Core Qt6Network libzip)"
read -r -a QT_LIBS <<<"$(pkg-config --libs Qt6Core Qt6Network libzip zlib) -lpthread"
FLAGS=(-std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer -fsanitize=address,undefined
       -fno-sanitize-recover=undefined -I. "${QT_FLAGS[@]}")
# Sources whose coverage guides nothing (the same arithmetic for every input, such as the
# cipher's key set-up) are listed in fuzz/coverage_ignorelist.txt: still under the sanitizers,
# but without the coverage callbacks that would take most of each run.
[ -f fuzz/coverage_ignorelist.txt ] && FLAGS+=(-fsanitize-coverage-ignorelist=fuzz/coverage_ignorelist.txt)

# The window-free sources the targets reach: readers of foreign bytes and what they stand on.
SOURCES=(core/*.cpp net/reply_reader.cpp net/server_address.cpp settings/ini_document.cpp settings/ini_reader.cpp
         ftp/ftp_parse.cpp ftp/listing_rows.cpp ftp/local_name.cpp ftp/cdir_list.cpp
         mail/access_code.cpp app/list_file.cpp archive/archive_rows.cpp)
for src in crypto/*.cpp; do
    case $src in crypto/frmEncrypt.cpp | crypto/progress_box.cpp) ;; *) SOURCES+=("$src") ;; esac
done
for src in $(sed -n '/^add_library(arkovo/,/)/p' archive/CMakeLists.txt | grep -o '[a-z_0-9]*\.cpp'); do
    SOURCES+=("archive/$src")
done
MOC_HEADERS=(archive/arkovo.h)
MOC=${MOC:-/usr/lib/qt6/libexec/moc}

mkdir -p "$OUT/obj"

# Objects, rebuilt when their source or a header it includes (from its .d file) is newer.
objects=()
stale() {  # object: true when it must be compiled again
    [ -f "$1" ] || return 0
    local dep
    for dep in $(sed -e 's/^[^:]*://' -e 's/\\$//' "${1%.o}.d" 2>/dev/null); do
        [ "$dep" -nt "$1" ] && return 0
    done
    return 1
}
compile() {  # source object
    if [ "$1" -nt "$2" ] || stale "$2"; then
        echo "compile $1"
        "${LAUNCHER[@]}" "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer-no-link -MMD -MF "${2%.o}.d" \
            -c "$1" -o "$2"
    fi
    objects+=("$2")
}
for src in "${SOURCES[@]}"; do
    compile "$src" "$OUT/obj/$(echo "${src%.cpp}" | tr / _).o"
done
for header in "${MOC_HEADERS[@]}"; do
    moc_src="$OUT/obj/moc_$(basename "${header%.h}").cpp"
    [ -f "$moc_src" ] && [ "$moc_src" -nt "$header" ] || "$MOC" "$header" -o "$moc_src"
    compile "$moc_src" "${moc_src%.cpp}.o"
done
library="$OUT/libvexaro-fuzz.a"
rm -f "$library"
ar rcs "$library" "${objects[@]}"

if [ $# -gt 0 ]; then
    names=("$@")
else
    names=()
    for f in fuzz/*_fuzz.cpp; do
        n=$(basename "$f" _fuzz.cpp)
        names+=("$n")
    done
fi

for name in "${names[@]}"; do
    src="fuzz/${name}_fuzz.cpp"
    [ -f "$src" ] || { echo "no target $src"; exit 2; }
    echo "build $OUT/${name}_fuzz"
    "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer "$src" "$library" "${QT_LIBS[@]}" -o "$OUT/${name}_fuzz"
done
[ "$BUILD_ONLY" = 1 ] && exit 0

# Runs one target; prints its summary line (and the first report of a crash).
run() {
    local name=$1 corpus="$OUT/corpus/$1" artifacts="$OUT/artifacts/$1/" status seeds=() dict=()
    mkdir -p "$corpus" "$artifacts"
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
    if "$OUT/${name}_fuzz" -max_total_time="$RUN_SECONDS" -max_len="$MAX_LEN" -timeout="$TIMEOUT" \
        -rss_limit_mb="$RSS" -print_final_stats=1 "${dict[@]}" \
        -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" >"$OUT/$name.log" 2>&1; then
        status=ok
    else
        status=FAILED
    fi
    local execs cov
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$OUT/$name.log" | grep -o '[0-9]*$' || true)
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$OUT/$name.log" | tail -n 1 || true)
    echo "$name: $status, ${execs:-?} executions, ${cov:-cov: ?}, corpus $(ls "$corpus" | wc -l) inputs (log $OUT/$name.log)"
    [ "$status" = ok ] || { grep -m 1 -A 12 '^==[0-9]*==ERROR\|deadly signal\|Test unit written' "$OUT/$name.log" || true; return 1; }
}

echo "run ${#names[@]} targets for ${RUN_SECONDS}s each, $JOBS at a time"
failed=0
running=0
for name in "${names[@]}"; do
    if [ "$running" -ge "$JOBS" ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    run "$name" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done
exit $failed
