#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need (only those missing),
# then configures and builds into build/. Quick when nothing changed.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libzip-dev libgtest-dev libgmock-dev
          libbenchmark-dev python3 python3-pyftpdlib python3-aiosmtpd python3-openssl openssl ca-certificates
          xvfb xauth curl zip unzip
          bsdutils xdotool scrot
          qtkeychain-qt6-dev librsvg2-bin dpkg-dev file
          gnome-keyring dbus-daemon clang libclang-rt-14-dev
          desktop-file-utils appstream lintian man-db shared-mime-info libglib2.0-bin)
# bsdutils: script(1) for the vexaro-crypt prompt test; xdotool and scrot: the demo drives the
# program and takes screenshots without a display; qtkeychain-qt6-dev: the keyring; librsvg2-bin:
# the icons drawn from the SVG; dpkg-dev: the package's dependencies (dpkg-shlibdeps);
# gnome-keyring and dbus-daemon: the keyring test's own Secret Service; desktop-file-utils,
# appstream, lintian, man-db, shared-mime-info and libglib2.0-bin (gio): the package test's checks;
# clang with its runtime libraries: the fuzz targets (libFuzzer and the sanitizers)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
fi

BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$BUILD_DIR" -j "$(nproc)"
