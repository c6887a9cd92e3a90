#!/usr/bin/env bash
# The Debian package from end to end: builds it with cpack, checks it with lintian, installs it
# on this machine with apt-get (which pulls in what it depends on), starts the installed vexaro
# under a virtual X server and checks that the menu entry, icon, ".uzp" file type and manual
# pages are where the desktop looks for them. The package is removed again at the end.
# Needs root (CI runs as root on a fresh Debian 12); without it, it says so and skips.
# scripts/package_test.sh --shots DIR also saves the installed program's first start and its
# settings window as DIR/first-start.png and DIR/frmSettings.png.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=
[ "${1:-}" = --shots ] && shots=$(realpath "$2")
if [ "$(id -u)" != 0 ]; then
    echo "SKIPPED: the package test installs the .deb with apt-get and needs root"
    exit 0
fi
BUILD_DIR=${BUILD_DIR:-build}
id=org.vexaro.Vexaro
work=$(mktemp -d /tmp/vexaro-package.XXXXXX)
installed=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
    [ -n "$installed" ] && dpkg -r vexaro >/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package test: $*" >&2; exit 1; }

rm -f "$BUILD_DIR"/vexaro_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >"$work/cpack.log") || { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(realpath "$BUILD_DIR"/vexaro_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6network6 libzip4 libqt6keychain1; do
    [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
lintian --fail-on error "$deb" ||
    fail "lintian found errors"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq -o DPkg::Lock::Timeout=600 "$deb" >"$work/apt.log" ||
    { cat "$work/apt.log"; fail "apt-get install failed"; }
installed=1

# Where the desktop looks.
for f in /usr/bin/vexaro /usr/bin/vexaro-crypt /usr/bin/vexaro-ftp; do
    [ -x "$f" ] || fail "$f missing"
done
desktop-file-validate "/usr/share/applications/$id.desktop" || fail "desktop entry not valid"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "AppStream data not valid"
[ -f "/usr/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "scalable icon missing"
for size in 48 128 256; do
    file "/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" |
        grep -q "PNG image data, $size x $size" || fail "$size px icon missing or of the wrong size"
done
for page in vexaro vexaro-crypt vexaro-ftp; do
    [ "$(man -w "$page")" = "/usr/share/man/man1/$page.1.gz" ] || fail "manual page $page(1) not found"
done
head -c 64 /dev/urandom >"$work/sent.uzp"  # an empty file would be "application/x-zerosize"
gio info -a standard::content-type "$work/sent.uzp" |
    grep -q "application/x-vexaro-encrypted" || fail "\".uzp\" is not known as Vexaro's file type"
gio mime application/x-vexaro-encrypted | grep -q "$id.desktop" ||
    fail "no program opens \".uzp\" files"

# The installed program: a first start in a fresh home opens the settings window and makes the
# per-user program folder; a ".uzp" file opens the encryption window.
export HOME="$work/home"
unset VEXARO_HOME VEXARO_SETTINGS XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME"
# The checks under the virtual X server run as a script of their own (xvfb-run starts it
# through sh, which passes no shell functions on).
cat >"$work/installed.sh" <<'INNER'
set -euo pipefail
fail() { echo "package test: $*" >&2; exit 1; }
window() {  # waits for a visible window with that title; prints its id
    for _ in $(seq 150); do
        xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 | grep . && return 0
        sleep 0.2
    done
    fail "the window \"$1\" did not open"
}
grab() {  # saves the window's area of the screen
    eval "$(xdotool getwindowgeometry --shell "$1")"
    sleep 1
    scrot -o -a "$X,$Y,$WIDTH,$HEIGHT" "$2"
}
/usr/bin/vexaro & pid=$!
trap 'kill $pid 2>/dev/null' EXIT
w=$(window "Vexaro Settings")
[ -d "$HOME/.local/share/Vexaro" ] || fail "the program folder was not created"
if [ -n "$shots" ]; then sleep 1; scrot -o "$shots/first-start.png"; fi
xdotool windowfocus --sync "$w" key Escape
add=$(window "Select File\(s\) to Upload")
if [ -n "$shots" ]; then  # the window as a user sees it once the settings are filled in
    mkdir -p "$HOME/.config"
    printf "%s\n" "[Settings]" "FtpServer=ftp.example.org" "FtpUser=tulpa" "FtpPassword=secret" \
        "EncryptKey=Tr0ub4dor&3x" "Mailer=internal" "EmailServer=smtp.example.org" \
        "RelayPort=587" "RelayUser=tulpa" "RelayPassword=secret" "RelayTls=starttls" \
        "RelayFrom=tulpa@example.org" "DownloadSiteBase=https://files.example.org/" \
        "SaveLog=1" >"$HOME/.config/TULPAREG.conf"
    echo "Ann Smith,K7QX" >"$HOME/.local/share/Vexaro/keycode.dat"
    xdotool mousemove --window "$add" 600 20 click 1 sleep 0.2 key alt+g
    grab "$(window "Vexaro Settings")" "$shots/frmSettings.png"
fi
kill $pid
/usr/bin/vexaro "$work/sent.uzp" & pid=$!
window "\[Encryption Process\]" >/dev/null
INNER
export work shots
source scripts/virtual_display.sh
on_virtual_display 1280x1024x24 "$work/xvfb.log" bash "$work/installed.sh"
echo "package test: $(basename "$deb") built, installed and started; all checks passed"
