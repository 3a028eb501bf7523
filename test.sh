#!/usr/bin/env bash
# Set up, build and run the whole test suite headless; ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh --tests
scripts/build.sh
cd "${KESTRIGAN_BUILD_DIR:-build}"
ctest --output-on-failure -j "$(nproc)" "$@"
