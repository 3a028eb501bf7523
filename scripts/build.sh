#!/usr/bin/env bash
# Configures once and builds incrementally into build/ (through ccache where the machine has it).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KESTRIGAN_BUILD_DIR:-build}
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
fi
cmake --build "$build_dir" -j "$(nproc)"
