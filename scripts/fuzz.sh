#!/usr/bin/env bash
# Runs each fuzz target of the sanitizer build for the given time, starting from the checked-in seed
# corpus (fuzz/corpus/<target>), as many at once as the machine has cores. Prints the executions of
# each; a fault prints the fuzzer's report, keeps the input that caused it, and fails.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]      (30 seconds and every target by default)
# New inputs found on the way go to a scratch folder; KESTRIGAN_FUZZ_KEEP=1 merges them into the
# seed corpus instead, for a commit.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(fuzz_textconversion fuzz_fontrules fuzz_propertyediting fuzz_generate fuzz_optiondatabase)
build_dir=$(realpath "${KESTRIGAN_SANITIZE_BUILD_DIR:-build-sanitize}")
root=$(pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrigan-fuzz.XXXXXX")

export QT_QPA_PLATFORM=offscreen LANG=C.UTF-8
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

run() {
    local target=$1 binary="$build_dir/fuzz/$1" seeds="$root/fuzz/corpus/$1"
    [[ -x "$binary" ]] || { echo "$binary is missing: build with scripts/build.sh --sanitize" >&2; return 1; }
    mkdir -p "$work/$target/new" "$work/$target/crashes"
    "$binary" -max_total_time="$seconds" -print_final_stats=1 -timeout=25 -rss_limit_mb=4096 \
        -artifact_prefix="$work/$target/crashes/" "$work/$target/new" "$seeds" >"$work/$target/log" 2>&1
}

pids=()
for target in "${targets[@]}"; do
    while [[ $(jobs -rp | wc -l) -ge $(nproc) ]]; do wait -n || true; done
    run "$target" & pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
    target=${targets[$i]}
    if wait "${pids[$i]}"; then
        executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target/log")
        echo "$target: ${executions:-?} executions in ${seconds} s, no fault"
        if [[ "${KESTRIGAN_FUZZ_KEEP:-}" == 1 ]]; then
            "$build_dir/fuzz/$target" -merge=1 "$root/fuzz/corpus/$target" "$work/$target/new" >/dev/null 2>&1
        fi
    else
        failed=1
        echo "$target: FAULT (input kept in $work/$target/crashes)" >&2
        tail -n 60 "$work/$target/log" >&2
    fi
done
[[ $failed -eq 0 ]] && rm -rf "$work"
exit $failed
