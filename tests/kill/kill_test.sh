#!/usr/bin/env bash
# Kills the send road with SIGKILL at a series of points (while compressing, encrypting,
# uploading, saving the log and saving the settings) and checks each time that nothing is lost:
# the selected files are unchanged; no half-written file is left under a final name (archive,
# ".uzp", log, settings file, the remote file); and a rerun of the road succeeds and delivers a
# complete archive. The road runs unattended (bench/road's driver, built in BENCH_BUILD_DIR,
# default build-bench-road) against the local FTP and SMTP servers of the demo; the kill comes
# from tests/kill/kill_at.cpp, preloaded, in the middle of a chosen write.
# Prints one table row per point; the exit status is non-zero when any check fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=${BENCH_BUILD_DIR:-build-bench-road}
. bench/common.sh
need_packages python3-pyftpdlib unzip g++
if [ -z "${ROAD:-}" ]; then  # ROAD and CRYPT may name a driver and vexaro-crypt built elsewhere
    bench_build "$BUILD" vexaro-road-bench
    cmake --build "$BUILD" --target vexaro-crypt -j2 >/dev/null
    ROAD=$PWD/$BUILD/bench/road/vexaro-road-bench
    CRYPT=$PWD/$BUILD/crypto/cli/vexaro-crypt
fi

WORK=$(mktemp -d /tmp/vexaro-kill.XXXXXX)
ROAD_DIR=$WORK
source scripts/demo/local_road.sh
trap 'stop_servers; rm -rf "$WORK"' EXIT
g++ -std=c++17 -O1 -shared -fPIC -o "$WORK/kill_at.so" tests/kill/kill_at.cpp -ldl

CODE=K7QX
KEY='Blue-Harbour-7219!'
HOME_DIR=$WORK/home
REMOTE=$WORK/ftp/home/tulpa/public_html/$CODE
mkdir -p "$HOME_DIR" "$REMOTE" "$WORK/config" "$WORK/check"
FTP_PORT=$(start_server ftp /usr/bin/python3 tests/ftp/ftp_server.py --root "$WORK/ftp")
SMTP_PORT=$(start_server smtp /usr/bin/python3 tests/mail/smtp_server.py "$WORK/smtp.log")

# The selection: incompressible and text files, a folder, about 14 MB.
python3 - "$WORK/selection" <<'PY'
import os, random, sys
sel = sys.argv[1]
random.seed(11)
os.makedirs(f"{sel}/project/drawings", exist_ok=True)
open(f"{sel}/photo.raw", "wb").write(random.randbytes(9 * 1024 * 1024))
words = "archive server folder upload recipient link notice transfer".split()
open(f"{sel}/report.txt", "w").write("\n".join(" ".join(random.choices(words, k=12)) for _ in range(60000)))
open(f"{sel}/project/plan.txt", "w").write("plan\n" * 5000)
open(f"{sel}/project/drawings/site.dat", "wb").write(random.randbytes(512 * 1024))
PY
printf '%s\n' "$WORK/selection/photo.raw" "$WORK/selection/report.txt" "$WORK/selection/project" >"$WORK/list.txt"
printf '"%s"\r\n' "$CODE" >"$HOME_DIR/keycode.dat"
printf '[Email Settings]\r\nTO=recipient@example.test\r\nSUBJECT=Files\r\nBODY=Hello\r\n' >"$HOME_DIR/settings.ini"
SETTINGS=$WORK/config/settings.conf
write_settings "$SETTINGS" "$FTP_PORT" "$SMTP_PORT" "http://127.0.0.1/" "$KEY"
export VEXARO_HOME=$HOME_DIR VEXARO_SETTINGS=$SETTINGS QT_QPA_PLATFORM=offscreen
cp "$SETTINGS" "$WORK/settings.before"
selection_sum() { (cd "$WORK/selection" && find . -type f -print0 | sort -z | xargs -0 sha256sum | sha256sum); }
SELECTION_SUM=$(selection_sum)
# What a save that is not interrupted writes.
"$ROAD" save-settings smtp.example.test >/dev/null 2>&1
cp "$SETTINGS" "$WORK/settings.after"
cp "$WORK/settings.before" "$SETTINGS"

# A complete archive: unzip tests it and it holds the three selected entries' files.
complete_zip() { unzip -tqq "$1" >/dev/null 2>&1 && [ "$(unzip -Z1 "$1" | grep -vc '/$')" = 4 ]; }
complete_uzp() {
    rm -rf "$WORK/check"/*
    cp "$1" "$WORK/check/x.uzp"
    local out
    out=$(VEXARO_KEY=$KEY "$CRYPT" file "$WORK/check/x.uzp" 2>/dev/null | tail -n 1) && complete_zip "$out"
}
# Half-written files under final names, in the program folder, the remote folder and the
# settings folder; prints them.
half_written() {
    local f
    for f in "$HOME_DIR"/*.zip; do [ -e "$f" ] && ! complete_zip "$f" && echo "${f#$WORK/}"; done
    for f in "$HOME_DIR"/*.uzp "$REMOTE"/*.uzp; do [ -e "$f" ] && ! complete_uzp "$f" && echo "${f#$WORK/}"; done
    for f in "$HOME_DIR"/[0-9]*.txt; do  # the log: written whole, it ends with a line end
        [ -e "$f" ] && [ "$(tail -c 2 "$f" | od -An -c | tr -d ' ')" != '\r\n' ] && echo "${f#$WORK/}"
    done
    cmp -s "$SETTINGS" "$WORK/settings.before" || cmp -s "$SETTINGS" "$WORK/settings.after" ||
        echo "${SETTINGS#$WORK/}"
    return 0
}
# Files that are neither a final name nor the program folder's own.
leftovers() {
    (cd "$WORK" && find home "${REMOTE#$WORK/}" config -type f \
        ! -name '*.zip' ! -name '*.uzp' ! -name '[0-9]*.txt' ! -name keycode.dat ! -name settings.ini \
        ! -name settings.conf -printf '%p ') || true
}
clean() { rm -f "$HOME_DIR"/[0-9]* "$HOME_DIR"/.[0-9]* "$REMOTE"/* "$REMOTE"/.[!.]* ; cp "$WORK/settings.before" "$SETTINGS"; }

# The uploaded files, each as "mtime path".
uploads() { find "$REMOTE" -maxdepth 1 -name '*.uzp' -printf '%T@ %p\n'; }

failed=0
printf '%-30s %-8s %-44s %-28s %-s\n' point killed "half-written under a final name" rerun "other files left"
point() {  # name glob after command...
    local name=$1 glob=$2 after=$3
    shift 3
    clean
    rm -f "$WORK/note"
    local status=0
    LD_PRELOAD=$WORK/kill_at.so VX_KILL_GLOB=$glob VX_KILL_AFTER=$after VX_KILL_NOTE=$WORK/note \
        timeout 300 "$@" >"$WORK/run.out" 2>&1 || status=$?
    local killed=no
    [ "$status" = 137 ] && [ -f "$WORK/note" ] && killed=yes
    local half rest rerun=ok
    half=$(half_written | tr '\n' ' ')
    rest=$(leftovers)
    [ "$(selection_sum)" = "$SELECTION_SUM" ] || half+="selection changed! "
    sleep 1  # the rerun's archive gets a name of its own
    if [ "$1" = "$ROAD" ] && [ "$2" = save-settings ]; then
        "$ROAD" save-settings smtp.example.test >/dev/null 2>&1 && cmp -s "$SETTINGS" "$WORK/settings.after" || rerun=FAILED
    else
        local before
        before=$(uploads | wc -l)
        if ! timeout 300 "$ROAD" road "$WORK/list.txt" >"$WORK/rerun.out" 2>&1; then rerun="FAILED (exit)"
        else
            local newest
            newest=$(uploads | sort -n | tail -n 1 | cut -d' ' -f2-)
            [ -n "$newest" ] && [ "$(uploads | wc -l)" -gt "$before" ] && complete_uzp "$newest" ||
                rerun="FAILED (remote file)"
        fi
    fi
    [ "$killed" = yes ] || half+="(not reached: exit $status) "
    printf '%-30s %-8s %-44s %-28s %-s\n' "$name" "$killed" "${half:-none}" "$rerun" "${rest:-none}"
    { [ "$killed" = yes ] && [ -z "$half" ] && [ "$rerun" = ok ]; } || failed=1
    [ -z "${KILL_VERBOSE:-}" ] || { cat "$WORK/note" 2>/dev/null; tail -n 5 "$WORK/run.out"; }
}

point "compressing, first block" "$HOME_DIR/*.zip*" 4096 "$ROAD" road "$WORK/list.txt"
point "compressing, late" "$HOME_DIR/*.zip*" $((8 * 1024 * 1024)) "$ROAD" road "$WORK/list.txt"
point "encrypting, first block" "$HOME_DIR/*.uzp*|$HOME_DIR/#*" 4096 "$ROAD" road "$WORK/list.txt"
point "encrypting, late" "$HOME_DIR/*.uzp*|$HOME_DIR/#*" $((7 * 1024 * 1024)) "$ROAD" road "$WORK/list.txt"
point "uploading, first block" "socket:*" $((64 * 1024)) "$ROAD" road "$WORK/list.txt"
point "uploading, late" "socket:*" $((8 * 1024 * 1024)) "$ROAD" road "$WORK/list.txt"
point "saving the log" "$HOME_DIR/#*" 20 "$ROAD" road "$WORK/list.txt"
point "saving the settings" "$WORK/config/*" 20 "$ROAD" save-settings smtp.example.test
exit $failed
