#!/usr/bin/env bash
# Measures Kestrigan beside the smallest Qt programs, built and measured in the same run, and prints
# one Markdown table with the machine and the date. Builds in Release into build-bench/.
#   bench/run.sh            the whole set (about four minutes, the 60-second drag included)
#   RUNS=9 bench/run.sh     more runs per figure (default 7 for start-up, 5 in process)
# Whole-process figures come from outside on a private Xvfb (start-up until the main window is mapped
# and drawn, resident memory from /proc, placements clicked as a user does until the window's last
# change); in-process figures from Qt Test's QBENCHMARK, offscreen, and resident memory on the Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/setup.sh --bench >&2

build_dir=${KESTRIGAN_BENCH_BUILD_DIR:-$root/build-bench}
if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >&2
fi
cmake --build "$build_dir" -j "$(nproc)" --target kestrigan floor_empty_window floor_chinese_label startwatch \
    bench_generate bench_design bench_memory >&2

startup_runs=${RUNS:-7}
inprocess_runs=${RUNS:-5}
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A private X server; -displayfd picks a free display number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")

# Start-up and idle memory, the three programs in turn so that noise falls on all alike; one warm-up
# round first fills the font and file caches.
programs=(kestrigan floor_empty_window floor_chinese_label)
declare -A titles=([kestrigan]="Kestrigan 1.2.6.0" [floor_empty_window]=floor [floor_chinese_label]=floor)
declare -A paths=([kestrigan]="$build_dir/bin/kestrigan" [floor_empty_window]="$build_dir/bench/floor_empty_window"
                  [floor_chinese_label]="$build_dir/bench/floor_chinese_label")
# After its start-up the designer is also given six labels, each by a click on the palette's label
# item and one on an empty spot of the design window at its load size (main window coordinates); the
# clicks are numbered in their order, so click2 is the first label and click4 to click12 later ones.
placements=()
for y in 80 110 140 170 200 230; do
    placements+=(-c 64,60 -c 170,$y)
done
declare -A clicks=([kestrigan]="${placements[*]}" [floor_empty_window]="" [floor_chinese_label]="")
for round in $(seq 0 "$startup_runs"); do
    for program in "${programs[@]}"; do
        echo "start-up round $round: $program" >&2
        # shellcheck disable=SC2086 # the clicks are words
        out=$(QT_QPA_PLATFORM=xcb "$build_dir/bench/startwatch" ${clicks[$program]} "${titles[$program]}" 1000 \
            "${paths[$program]}")
        [[ $round -eq 0 ]] && continue
        echo "$out" | awk -v program="$program" '
            /^click_ms/ { click++; print program, "click" click "_ms", $2; next }
            /^click_rss_kib/ { print program, "click" click "_rss_kib", $2; next }
            { print program, $0 }' >>"$work/whole"
    done
done

# Idle cost: the main thread's voluntary context switches over five seconds after start-up, with the
# pointer away from the window and no button held; each is a wake-up from sleep.
voluntary_switches() {
    awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/status"
}
for round in $(seq "$startup_runs"); do
    for program in kestrigan floor_empty_window; do
        echo "idle round $round: $program" >&2
        QT_QPA_PLATFORM=xcb "${paths[$program]}" >/dev/null 2>&1 &
        pid=$!
        xdotool search --sync --name "^${titles[$program]}\$" >/dev/null
        xdotool mousemove 1270 1010
        sleep 2
        before=$(voluntary_switches "$pid")
        sleep 5
        after=$(voluntary_switches "$pid")
        kill "$pid"
        wait "$pid" 2>/dev/null || true
        echo "$program idle_wakeups_per_s $(( (after - before) / 5 ))" >>"$work/whole"
    done
done

# In-process figures, offscreen. Qt Test writes its benchmark results as CSV; our own figures are the
# FIGURE lines on standard output.
export QT_QPA_PLATFORM=offscreen
for run in $(seq "$inprocess_runs"); do
    echo "in-process round $run" >&2
    "$build_dir/bench/bench_generate" -o "$work/generate.$run.csv,csv" >&2
    "$build_dir/bench/bench_design" placement dragStep pointerPoll applyPropertyEdits memoryAfterPlacing \
        -o "$work/design.$run.csv,csv" | grep '^FIGURE' >>"$work/figures"
    # Drawn as Tk draws, on the Xvfb; a process for each, so that one's memory does not count in the other.
    for slot in memoryOfWidgets memoryOfFontSizes; do
        QT_QPA_PLATFORM=xcb "$build_dir/bench/bench_memory" "$slot" | grep '^FIGURE' >>"$work/figures"
    done
done
echo "60-second drag" >&2
"$build_dir/bench/bench_design" memoryDuringLongDrag -o "$work/drag.csv,csv" | grep '^FIGURE' >>"$work/figures"

python3 "$root/bench/table.py" "$work" "$startup_runs" "$inprocess_runs"
