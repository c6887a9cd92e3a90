#!/usr/bin/env bash
# The whole send road beside the shell pipeline that does the same work, on one generated
# selection of about 256 MiB (bench/archive/make_tree.py at scale SCALE, default 1.7) and against
# the same local FTP server (pyftpdlib on 127.0.0.1):
#   Vexaro: compress (level 6), encrypt, upload, notify (the internal mailer with STARTTLS, to
#           the strict local SMTP server), each stage timed on its own (target for notify: under
#           one second), then the whole road in one run (target: no slower than the pipeline);
#   shell:  zip -r -6, gpg --symmetric --batch --compress-algo none, curl -T, each on its own,
#           then joined by pipes.
# Prints both times, each stage's share, the road against the sum of its own stages (target at
# most 1.15 in the large run) and the road's peak memory against the archive (target at most
# about 2.5).
# LARGE_MB=N adds one file of N MiB to the selection (4700 with SCALE=10 gives about 6 GiB, one
# file past 4 GiB); the shell pipeline is then left out (SHELL_PIPE=1 keeps it), the peak memory
# target is 128 MiB, and the uploaded file is decrypted with vexaro-crypt and its entries
# (names, sizes, checksums) compared with the selection. Free disk space is checked first.
# ENCRYPT=0 leaves encryption out (EncryptYN 0): the archive itself is uploaded and checked.
# Builds a Release vexaro-road-bench first (BENCH_BUILD_DIR, default build-bench-road).
set -euo pipefail
cd "$(dirname "$0")/../.."
SRC=$PWD
SCALE=${SCALE:-1.7}
LARGE_MB=${LARGE_MB:-0}
ENCRYPT=${ENCRYPT:-1}
SHELL_PIPE=${SHELL_PIPE:-$([ "$LARGE_MB" -gt 0 ] && echo 0 || echo 1)}
BUILD=${BENCH_BUILD_DIR:-build-bench-road}

. bench/common.sh
need_packages time gnupg curl zip python3-pyftpdlib python3-aiosmtpd
bench_build "$BUILD" vexaro-road-bench
[ "$LARGE_MB" -gt 0 ] && bench_build "$BUILD" vexaro-crypt

WORK=$(mktemp -d /tmp/vexaro-road-bench.XXXXXX)
# The selection, its archive (replaced by the encrypted file), the server's copy and, for the
# check, the decrypted archive, with room to spare.
NEED_MB=$(awk -v s="$SCALE" -v l="$LARGE_MB" 'BEGIN { printf "%d", (s * 150 + l) * 4.5 + 1024 }')
FREE_MB=$(df -Pm "$WORK" | awk 'NR == 2 { print $4 }')
if [ "$FREE_MB" -lt "$NEED_MB" ]; then
    echo "need about $NEED_MB MiB free in $(dirname "$WORK"), have $FREE_MB" >&2
    rmdir "$WORK"
    exit 1
fi
ROAD_DIR=$WORK
source scripts/demo/local_road.sh
trap 'stop_servers; rm -rf "$WORK"' EXIT
FOLDER=/home/tulpa/public_html/K7QX
mkdir -p "$WORK/ftp$FOLDER" "$WORK/home"
FTP_PORT=$(start_server ftp /usr/bin/python3 tests/ftp/ftp_server.py --root "$WORK/ftp")
# The mailer speaks STARTTLS to the strict SMTP server, with a throw-away authority.
bash tests/support/make_test_ca.sh "$WORK/ca"
SMTP_PORT=$(start_server smtp /usr/bin/python3 tests/mail/smtp_server.py "$WORK/smtp.log" starttls "cert=$WORK/ca/server.pem")

python3 bench/archive/make_tree.py "$WORK/selection" --scale "$SCALE" --large-mb "$LARGE_MB" >/dev/null
SELECTION_MB=$(du -sm --apparent-size "$WORK/selection" | cut -f1)
echo "$WORK/selection" >"$WORK/list.txt"
echo K7QX >"$WORK/home/keycode.dat"
printf '[Email Settings]\nTO=you@example.test\nSUBJECT=Files\nBODY=Hello\n' >"$WORK/home/settings.ini"
KEY='Blue-Harbour-7219!'
write_settings "$WORK/settings.conf" "$FTP_PORT" "$SMTP_PORT" "http://127.0.0.1/" "$KEY"
[ "$ENCRYPT" = 1 ] || sed -i 's/^EncryptYN=1$/EncryptYN=0/' "$WORK/settings.conf"
printf 'RelayTls=starttls\nTlsCaFile=%s\n' "$WORK/ca/ca.pem" >>"$WORK/settings.conf"
export VEXARO_HOME=$WORK/home VEXARO_SETTINGS=$WORK/settings.conf QT_QPA_PLATFORM=offscreen
ROAD="$BUILD/bench/road/vexaro-road-bench"

measure() {  # out-file command...: runs it under /usr/bin/time, keeps its output and peak memory
    local out=$1
    shift
    /usr/bin/time -f "peak %M" -o "$out.time" "$@" >"$out" 2>"$out.err" || { cat "$out.err" >&2; exit 1; }
}

sync
measure "$WORK/stages" "$ROAD" stages "$WORK/list.txt"
rm -f "$WORK/ftp$FOLDER"/*
sync
measure "$WORK/road" "$ROAD" road "$WORK/list.txt"
ARCHIVE=$(find "$WORK/ftp$FOLDER" -maxdepth 1 \( -name '*.uzp' -o -name '*.zip' \) | head -1)
ARCHIVE_KB=$(($(stat -c %s "$ARCHIVE") / 1024))
CHECK=""
if [ "$LARGE_MB" -gt 0 ]; then
    # The uploaded file decrypts to an archive whose entries are the selection's files.
    if [ "$ENCRYPT" = 1 ]; then
        VEXARO_KEY=$KEY VEXARO_PRIVATE_KEY= "$BUILD/crypto/cli/vexaro-crypt" file "$ARCHIVE" "$WORK/check.zip" >/dev/null
    else
        ln "$ARCHIVE" "$WORK/check.zip"
    fi
    CHECK=$(python3 - "$WORK/check.zip" "$WORK/selection" <<'PY'
import os, sys, zipfile, zlib
archive, top = sys.argv[1:]
want = {}
for folder, _, files in os.walk(top):
    for f in files:
        p = os.path.join(folder, f)
        want[os.path.relpath(p, top)] = p
with zipfile.ZipFile(archive) as z:
    infos = [i for i in z.infolist() if not i.is_dir()]
    # Entries may be stored without their folders: compare the bare names.
    names_equal = sorted(os.path.basename(i.filename) for i in infos) == sorted(os.path.basename(n) for n in want)
    sizes = sorted(i.file_size for i in infos) == sorted(os.path.getsize(p) for p in want.values())
    bad = z.testzip()
    big = max(i.file_size for i in infos)
print(f"decrypted archive: {len(infos)} entries for {len(want)} files, names {'equal' if names_equal else 'DIFFER'}, "
      f"sizes {'equal' if sizes else 'DIFFER'}, checksums {'all good' if bad is None else 'BAD at ' + bad}, "
      f"largest entry {big / 2**30:.2f} GiB")
PY
)
    rm -f "$WORK/check.zip"
fi
rm -f "$WORK/ftp$FOLDER"/*

# The shell pipeline, stage by stage, then joined.
ZIP_S=0 GPG_S=0 CURL_S=0 PIPE_S=0
if [ "$SHELL_PIPE" = 1 ]; then
# The key and the FTP log-in go to gpg and curl through files: a process's arguments are
# readable by every user of the machine.
(umask 077; printf '%s\n' "$KEY" >"$WORK/key"; echo "machine 127.0.0.1 login tulpa password secret" >"$WORK/netrc")
URL="ftp://127.0.0.1:$FTP_PORT/%2F${FOLDER#/}"
CURL=(curl -sS --netrc-file "$WORK/netrc")
GPG=(gpg --batch --yes --quiet --symmetric --compress-algo none --pinentry-mode loopback
     --passphrase-file "$WORK/key" --homedir "$WORK/gnupg")
mkdir -m 700 "$WORK/gnupg"
sync
ZIP_S=$(cd "$WORK/selection/.." && seconds zip -q -r -6 "$WORK/p.zip" selection)
GPG_S=$(seconds "${GPG[@]}" -o "$WORK/p.zip.gpg" "$WORK/p.zip")
CURL_S=$(seconds "${CURL[@]}" -T "$WORK/p.zip.gpg" "$URL/p.zip.gpg")
PIPE_S=$(cd "$WORK/selection/.." && seconds bash -c \
    "zip -q -r -6 - selection | $(printf '%q ' "${GPG[@]}") | $(printf '%q ' "${CURL[@]}") -T - '$URL/piped.gpg'")
fi
[ -n "$CHECK" ] && echo "$CHECK"

python3 - "$WORK" "$SELECTION_MB" "$ARCHIVE_KB" "$ZIP_S" "$GPG_S" "$CURL_S" "$PIPE_S" "$LARGE_MB" <<'PY'
import sys
work, sel_mb, archive_kb, zip_s, gpg_s, curl_s, pipe_s, large_mb = sys.argv[1:]
def figures(name):
    out = dict(l.split()[:2] for l in open(f"{work}/{name}") if len(l.split()) == 2 and l.split()[1].replace('.', '').isdigit())
    peak = int(open(f"{work}/{name}.time").read().split()[-1])
    return {k: float(v) for k, v in out.items()}, peak
stages, _ = figures("stages")
road, road_peak = figures("road")
own = sum(stages[k] for k in ("compress", "encrypt", "upload", "notify"))
shell = {"zip -r -6": float(zip_s), "gpg --symmetric": float(gpg_s), "curl -T": float(curl_s)}
print(f"selection {sel_mb} MiB, archive as sent {int(archive_kb) / 1024:.1f} MiB")
print(f"{'stage':<18}{'Vexaro s':>10}{'share':>8}   {'stage':<18}{'shell s':>10}{'share':>8}")
rows = list(zip(("compress", "encrypt", "upload", "notify"), list(shell.items()) + [("", None)]))
for name, (sname, ss) in rows:
    left = f"{name:<18}{stages[name]:>10.3f}{stages[name] / own:>8.1%}"
    right = f"{sname:<18}{ss:>10.3f}{ss / sum(shell.values()):>8.1%}" if ss is not None and sum(shell.values()) else ""
    print(left + "   " + right)
print(f"{'sum of stages':<18}{own:>10.3f}{'':>8}   {'sum of stages':<18}{sum(shell.values()):>10.3f}")
print(f"{'whole road':<18}{road['road']:>10.3f}{'':>8}   {'pipeline':<18}{float(pipe_s):>10.3f}")
# The 1.15 target is the large run's: on a small selection the road's fixed waits (such as the
# automatic run's 500 ms tick) are a visible part of the whole.
target = " (target <= 1.15)" if int(large_mb) > 0 else ""
print(f"road / sum of its own stages: {road['road'] / own:.3f}{target}")
print(f"notify (RelayTls=starttls): {stages['notify']:.3f} s (target < 1)")
print(f"road / pipeline: {road['road'] / float(pipe_s):.3f} (target <= 1)" if float(pipe_s) > 0 else "road / pipeline: not run")
if int(large_mb) > 0:
    print(f"road peak memory {road_peak / 1024:.0f} MiB (target <= 128 MiB)")
else:
    print(f"road peak memory {road_peak / 1024:.0f} MiB = {road_peak / int(archive_kb):.2f} x archive (target <= about 2.5)")
PY
