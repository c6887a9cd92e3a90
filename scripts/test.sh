#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (the tests start their own local
# FTP and SMTP servers on 127.0.0.1); then runs each fuzz target for FUZZ_SECONDS (20; 0 skips
# them) on its corpus, so that a reader that crashes on some input fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
(cd "${BUILD_DIR:-build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 600)
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
if [ "$FUZZ_SECONDS" != 0 ]; then
    scripts/fuzz.sh -t "$FUZZ_SECONDS" -j "$(nproc)"
fi
