#!/usr/bin/env python3
"""Turns the raw figures that bench/run.sh collected into one Markdown table, medians throughout."""
import csv
import glob
import os
import platform
import statistics
import subprocess
import sys
from collections import defaultdict
from datetime import datetime, timezone

work, startup_runs, inprocess_runs = sys.argv[1], sys.argv[2], sys.argv[3]

whole = defaultdict(list)          # (program, figure) -> values
with open(os.path.join(work, 'whole')) as lines:
    for line in lines:
        program, name, value = line.split()
        whole[(program, name)].append(float(value))

benchmarks = defaultdict(list)     # (slot, row) -> milliseconds per iteration
for path in glob.glob(os.path.join(work, '*.csv')):
    with open(path, newline='') as rows:
        for row in csv.reader(rows):
            if len(row) >= 4 and row[2] == 'WalltimeMilliseconds':
                benchmarks[(row[0], row[1])].append(float(row[3]))

figures = defaultdict(list)
with open(os.path.join(work, 'figures')) as lines:
    for line in lines:
        _, name, value = line.split()
        figures[name].append(float(value))


def med(values):
    return statistics.median(values) if values else float('nan')


def w(program, name):
    return med(whole[(program, name)])


def bench(slot, row):
    return med(benchmarks[(slot, row)])


def fig(name):
    return med(figures[name])


def verdict(ok):
    return 'met' if ok else '**missed**'


def cpu():
    try:
        with open('/proc/cpuinfo') as info:
            for line in info:
                if line.startswith('model name'):
                    return line.split(':', 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or 'unknown CPU'


def qt_version():
    try:
        return subprocess.run(['dpkg-query', '-W', '-f=${Version}', 'qt6-base-dev'],
                              capture_output=True, text=True).stdout.strip()
    except OSError:
        return '?'


ks, fe, fc = (w(p, 'startup_ms') for p in ('kestrigan', 'floor_empty_window', 'floor_chinese_label'))
kr, fer, fcr = (w(p, 'rss_kib') / 1024 for p in ('kestrigan', 'floor_empty_window', 'floor_chinese_label'))
first, last = bench('placement', 'first 20 of 1000'), bench('placement', 'last 20 of 1000')
g100, g1000, g10000 = (bench('generateLargeDesign', n) for n in ('100', '1000', '10000'))
d10, d1000 = bench('dragStep', '10 widgets'), bench('dragStep', '1000 widgets')
p10, p1000 = bench('pointerPoll', '10 widgets'), bench('pointerPoll', '1000 widgets')
edits = bench('applyPropertyEdits', '')
started, placed = fig('rss_started_mib'), fig('rss_1000_widgets_mib')
before, settled, after = fig('rss_before_drag_mib'), fig('rss_settled_drag_mib'), fig('rss_after_drag_mib')
# Six labels clicked into place from outside: click2 is the first, click4 ... click12 the later ones.
# From rest after start-up, so that what the palette's choice readies counts with the widget.
label_before, label_after = w('kestrigan', 'rss_kib') / 1024, w('kestrigan', 'click2_rss_kib') / 1024
first_placed = w('kestrigan', 'click2_ms')
later_placed = med([v for n in range(4, 13, 2) for v in whole[('kestrigan', f'click{n}_ms')]])
x_started, x_label, x_200 = fig('rss_xvfb_started_mib'), fig('rss_xvfb_first_label_mib'), fig('rss_xvfb_200_widgets_mib')
x_one, x_sizes, x_more = fig('rss_xvfb_one_label_mib'), fig('rss_xvfb_200_sizes_mib'), fig('rss_xvfb_400_sizes_mib')

print(f'Measured {datetime.now(timezone.utc):%Y-%m-%d %H:%M} UTC on {platform.node()}: {cpu()}, '
      f'{os.cpu_count()} cores, {platform.system()} {platform.release()}, Qt {qt_version()}, Release build. '
      f'Medians of {startup_runs} whole-process runs and {inprocess_runs} in-process runs.')
print()
print('| Figure | Kestrigan | Beside it | Target | |')
print('|---|---|---|---|---|')
print(f'| Start-up until the main window is shown with " 初始化完毕" (Xvfb, whole process) | {ks:.1f} ms '
      f'| empty window {fe:.1f} ms ({ks / fe:.2f} ×); Chinese-text window {fc:.1f} ms ({ks / fc:.2f} ×) '
      f'| ≤ 1.1 × Chinese-text window | {verdict(ks <= 1.1 * fc)} |')
print(f'| Idle RSS after start-up (Xvfb, whole process) | {kr:.1f} MiB '
      f'| empty window {fer:.1f} MiB; Chinese-text window {fcr:.1f} MiB (+{kr - fcr:.1f} MiB) '
      f'| ≤ Chinese-text window + 6 MiB | {verdict(kr <= fcr + 6)} |')
idle, idle_floor = w('kestrigan', 'idle_wakeups_per_s'), w('floor_empty_window', 'idle_wakeups_per_s')
print(f'| Wake-ups a second at rest, the pointer elsewhere (main thread\'s voluntary context switches over 5 s, Xvfb) '
      f'| {idle:.0f} | empty window {idle_floor:.0f} | ≤ 5 | {verdict(idle <= 5)} |')
print(f'| RSS at rest after start-up → after the first captioned widget, a label placed by two clicks (Xvfb, whole process) '
      f'| {label_before:.1f} → {label_after:.1f} MiB | +{label_after - label_before:.1f} MiB '
      f'| ≤ +3 MiB | {verdict(label_after - label_before <= 3)} |')
print(f'| Placing a label, from the press until the window\'s last change, first / later (Xvfb, whole process) '
      f'| {first_placed:.1f} / {later_placed:.1f} ms | {first_placed / later_placed:.2f} × '
      f'| first ≤ 1.5 × later | {verdict(first_placed <= 1.5 * later_placed)} |')
print(f'| RSS after start-up → first label → 200 widgets (in process, Xvfb) '
      f'| {x_started:.1f} → {x_label:.1f} → {x_200:.1f} MiB '
      f'| +{x_label - x_started:.1f} MiB, then +{x_200 - x_label:.1f} MiB for 199 more | | |')
print(f'| RSS with one label → after sizes 10–209 → after sizes 210–409, each drawn (in process, Xvfb) '
      f'| {x_one:.1f} → {x_sizes:.1f} → {x_more:.1f} MiB '
      f'| +{x_sizes - x_one:.1f} MiB for 200 sizes, then {x_more - x_sizes:+.1f} MiB '
      f'| ≤ +10 MiB, then flat (< 1 MiB) | {verdict(x_sizes - x_one <= 10 and x_more - x_sizes < 1)} |')
print(f'| RSS after start-up → after placing 1,000 widgets (in process, offscreen) | {started:.1f} → {placed:.1f} MiB '
      f'| +{placed - started:.1f} MiB, {(placed - started) * 1024 / 1000:.1f} KiB a widget | | |')
print(f'| `generate`, 100 / 1,000 / 10,000 components | {g100:.3f} / {g1000:.2f} / {g10000:.1f} ms '
      f'| {g10000 / g100:.0f} × for 100 × the design | 10,000 < 20 ms | {verdict(g10000 < 20)} |')
print(f'| Placing through the press handler, placement 1–20 / 981–1,000 of 1,000 | {first:.3f} / {last:.3f} ms '
      f'| {last / first:.2f} × | < 1 ms, flat | {verdict(last < 1 and last < 1.5 * first)} |')
print(f'| Drag step (geometry applied, grid redrawn), 10 / 1,000 widgets | {d10:.3f} / {d1000:.3f} ms '
      f'| | < 1 ms at 1,000 | {verdict(d1000 < 1)} |')
print(f'| Pointer poll over a widget (pointer shape), 10 / 1,000 widgets | {p10:.4f} / {p1000:.4f} ms | | | |')
print(f'| `applyPropertyEdits` for a label | {edits:.3f} ms | | | |')
print(f'| RSS before → 10 s into → after a 60-second drag ({fig("drag_steps"):.0f} steps, in process, offscreen) '
      f'| {before:.1f} → {settled:.1f} → {after:.1f} MiB | {after - settled:+.2f} MiB over the last 50 s '
      f'| no growth | {verdict(after - settled < 0.25)} |')
