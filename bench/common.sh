# Sourced by the benchmark scripts, from the top of the source tree.
#   need_packages PKG...        installs the Debian packages that are missing ('time' gives the
#                               peak memory figures)
#   bench_build DIR TARGET      configures a Release build with the benchmarks in DIR (once)
#                               and builds TARGET there
#   now, seconds COMMAND...     the clock; runs the command (its output dropped) and prints its
#                               wall time in seconds
need_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

bench_build() {
    if [ ! -f "$1/build.ninja" ]; then
        cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVEXARO_BUILD_TESTS=OFF \
            -DVEXARO_BUILD_BENCH=ON >/dev/null
    fi
    cmake --build "$1" --target "$2" -j2 >/dev/null
}

now() { date +%s.%N; }
seconds() {
    local t0 t1
    t0=$(now)
    "$@" >/dev/null
    t1=$(now)
    awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f\n", b - a }'
}
