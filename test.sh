#!/usr/bin/env bash
# Set up, build and run the whole test suite headless; ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh --tests
scripts/build.sh
cd "${KESTRIGAN_BUILD_DIR:-build}"
# Tests that drive real displays depend on timing; one that fails is run once more, and its first
# failure stays in the output.
ctest --output-on-failure -j "$(nproc)" --repeat until-pass:2 "$@"
