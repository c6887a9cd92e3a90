#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (the tests start their own local
# FTP and SMTP servers on 127.0.0.1): first the package test (scripts/package_test.sh), then each
# fuzz target for FUZZ_SECONDS (20; 0 skips them) on its corpus, so that a reader that crashes on
# some input fails the run, then the test programs, whose summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/package_test.sh
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
if [ "$FUZZ_SECONDS" != 0 ]; then
    scripts/fuzz.sh -t "$FUZZ_SECONDS" -j "$(nproc)"
fi
cd "${BUILD_DIR:-build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 600
