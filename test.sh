#!/usr/bin/env bash
# Set up, build and run the whole test suite headless: once as the program is built for use, then
# each fuzz target for 30 seconds from its seed corpus, then the suite again built with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/), where any report fails the test.
# Extra arguments go to both ctest runs (the fuzz runs are left out then).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh --tests
failed=0

# Tests that drive real displays depend on timing; one that fails is run once more, and its first
# failure stays in the output. The monkey draws one seed for the suite, so that its second run
# repeats the first one's actions: a fault it finds fails the suite, whatever the timing.
run_suite() {
    local build_dir=$1
    shift
    local seed=${KESTRIGAN_MONKEY_SEED:-$(( (RANDOM << 15) | RANDOM ))}
    echo "monkey seed for $build_dir: $seed"
    (cd "$build_dir" && KESTRIGAN_MONKEY_SEED=$seed ctest --output-on-failure -j "$(nproc)" --repeat until-pass:2 "$@") \
        || failed=1
}

scripts/build.sh
run_suite "${KESTRIGAN_BUILD_DIR:-build}" "$@"

scripts/build.sh --sanitize
# Leaks count only in our code: tests/lsan.supp names the third-party ones and why.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1"
# Qt 6.8 on a real display asks the desktop portal over D-Bus at start-up; with no session bus to
# answer, the pending call and its watcher are still held at exit. A headless suite has no portal.
export QT_NO_XDG_DESKTOP_PORTAL=1
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
if [[ $# -eq 0 ]]; then
    scripts/fuzz.sh 30 || failed=1
fi
# Last, so that the run ends with ctest's summary.
run_suite "${KESTRIGAN_SANITIZE_BUILD_DIR:-build-sanitize}" "$@"
exit $failed
