#!/usr/bin/env bash
# Configures once and builds incrementally into build/ (through ccache where the machine has it).
# Usage: scripts/build.sh [--sanitize]
#   --sanitize builds into build-sanitize/ with the release's clang (scripts/setup.sh --tests),
#   AddressSanitizer and UndefinedBehaviorSanitizer, and adds the fuzz targets (fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
build_dir=${KESTRIGAN_BUILD_DIR:-build}
if [[ "${1:-}" == "--sanitize" ]]; then
    build_dir=${KESTRIGAN_SANITIZE_BUILD_DIR:-build-sanitize}
    options=(-DCMAKE_BUILD_TYPE=Debug -DKESTRIGAN_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++)
fi
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$build_dir" "${options[@]}" "${launcher[@]}"
fi
cmake --build "$build_dir" -j "$(nproc)"
