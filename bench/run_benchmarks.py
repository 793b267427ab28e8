# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the benchmarks and prints BENCHMARKS.md. Usage: run_benchmarks.py BUILD_DIR PLOT.png

Start-up: the program's benchmark build against a bare window of the same size, each ending
after its first frame, timed in turn by hyperfine on Xvfb (xcb) and offscreen; peak memory
from /usr/bin/time -v; instructions from callgrind. Selection: latency per event over
100,000 events, and instructions per event from callgrind (a run with events less one
without)."""

import json
import os
import platform
import re
import signal
import statistics
import subprocess
import sys
import tempfile

build, plot = sys.argv[1], sys.argv[2]
program = os.path.join(build, "bench", "domino-tiles-startup")
floor = os.path.join(build, "bench", "bare-window-startup")
selection = os.path.join(build, "bench", "selection-latency")
EVENTS = 100_000


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp",
                             "-screen", "0", "1024x768x24"], pass_fds=(write,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        display = ":" + pipe.readline().strip()
    return xvfb, display


def environments(display):
    base = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
    base["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="domino-bench-")
    return {
        "xcb": dict(base, QT_QPA_PLATFORM="xcb", DISPLAY=display),
        "offscreen": dict(base, QT_QPA_PLATFORM="offscreen"),
    }


def hyperfine(env):
    out = tempfile.NamedTemporaryFile(suffix=".json", delete=False).name
    subprocess.run(["hyperfine", "-N", "--warmup", "10", "--runs", "60", "--style", "none",
                    "--export-json", out, program, floor],
                   env=env, check=True, stdout=subprocess.DEVNULL)
    with open(out) as f:
        results = json.load(f)["results"]
    os.unlink(out)
    return [statistics.median(r["times"]) * 1000 for r in results]


def peak_rss_mb(binary, env, runs=15):
    values = []
    for _ in range(runs):
        result = subprocess.run(["/usr/bin/time", "-v", binary], env=env, capture_output=True,
                                text=True, check=True)
        kb = re.search(r"Maximum resident set size \(kbytes\): (\d+)", result.stderr)
        values.append(int(kb.group(1)) / 1024)
    return statistics.median(values)


def instructions(command, env):
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                             *command], env=env, capture_output=True, text=True, check=True)
    # Qt may fork a helper (D-Bus autolaunch); the program itself collects the most.
    return max(int(n) for n in re.findall(r"Collected : (\d+)", result.stderr))


def selection_run(env, latency_file):
    out = subprocess.run([selection, str(EVENTS), latency_file], env=env, capture_output=True,
                         text=True, check=True).stdout
    return dict(re.findall(r"(\w+) ([\d.]+)", out))


def machine():
    cpu = "unknown"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    cores = os.cpu_count()
    qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libqt6widgets6"],
                        capture_output=True, text=True).stdout
    return f"{cpu}, {cores} cores, {platform.system()} {platform.release()}, Qt {qt}"


xvfb, display = start_xvfb()
try:
    envs = environments(display)
    rows, latencies = {}, {}
    for name, env in envs.items():
        ms = hyperfine(env)
        rss = [peak_rss_mb(program, env), peak_rss_mb(floor, env)]
        ir = [instructions([program], env), instructions([floor], env)]
        latency_file = tempfile.NamedTemporaryFile(suffix=".txt", delete=False).name
        sel = selection_run(env, latency_file)
        with open(latency_file) as f:
            latencies[name] = [float(line) for line in f]
        os.unlink(latency_file)
        per_event = (instructions([selection, "2900"], env)
                     - instructions([selection, "0"], env)) / 2900
        rows[name] = dict(ms=ms, rss=rss, ir=ir, sel=sel, per_event=per_event)
finally:
    xvfb.send_signal(signal.SIGTERM)
    xvfb.wait()

# The per-event latency over the whole run, one point per event.
data = tempfile.NamedTemporaryFile("w", suffix=".dat", delete=False)
for i, (a, b) in enumerate(zip(latencies["offscreen"], latencies["xcb"])):
    data.write(f"{i} {a} {b}\n")
data.close()
subprocess.run(["gnuplot", "-e", f"""
set terminal pngcairo size 900,400 font 'Liberation Sans,10';
set output '{plot}';
set title 'One selection, key press to tile painted ({EVENTS} events)';
set xlabel 'event'; set ylabel 'microseconds'; set logscale y; set yrange [10:10000];
set key top right;
plot '{data.name}' using 1:3 with dots lc rgb '#d62728' title 'xcb (Xvfb)',
     '{data.name}' using 1:2 with dots lc rgb '#1f77b4' title 'offscreen'
"""], check=True)
os.unlink(data.name)

print("# Benchmarks\n")
print("Made by `./bench.sh` (a Release build in `build-bench`) on: " + machine() + ".\n")
print("## Start-up, exec to the first frame painted\n")
print("`build-bench/bench/domino-tiles-startup` (the program's own `MainForm`, ending after its "
      "first paint) against `bare-window-startup` (a bare Qt Widgets window of the same size, "
      "also ending after its first paint). Wall time: median of 60 runs after 10 warm-up "
      "runs (hyperfine), both in turn in the same run; memory: median peak resident set "
      "(`/usr/bin/time -v`) of 15 runs; instructions: callgrind, one run.\n")
print("| platform | program ms | floor ms | ratio | program MB | floor MB | ratio "
      "| program instructions | floor instructions | ratio |")
print("|---|---|---|---|---|---|---|---|---|---|")
for name, r in rows.items():
    print(f"| {name} | {r['ms'][0]:.1f} | {r['ms'][1]:.1f} | {r['ms'][0] / r['ms'][1]:.2f} "
          f"| {r['rss'][0]:.1f} | {r['rss'][1]:.1f} | {r['rss'][0] / r['rss'][1]:.2f} "
          f"| {r['ir'][0] / 1e6:.1f} M | {r['ir'][1] / 1e6:.1f} M "
          f"| {r['ir'][0] / r['ir'][1]:.2f} |")
print("\nGoals: wall time and memory within 1.15 × the floor, instructions within 1.3 ×.\n")
print("## One selection, key press to tile painted\n")
print(f"`build-bench/bench/selection-latency`: a key press delivered to the list (Home, then "
      f"Down through all 28 tiles) or a click on the clear button, timed until the report is "
      f"written and the repainted widgets are flushed to the screen; {EVENTS:,} events after "
      f"a warm-up. Instructions per event: callgrind, a run of 2,900 events less a run of "
      f"none.\n")
print("| platform | median µs | 99th percentile µs | handling the event µs (mean) "
      "| instructions per event | resident KB before | after |")
print("|---|---|---|---|---|---|---|")
for name, r in rows.items():
    s = r["sel"]
    print(f"| {name} | {float(s['median_us']):.1f} | {float(s['p99_us']):.1f} "
          f"| {float(s['mean_event_handling_us']):.1f} | {r['per_event'] / 1e3:.0f} k "
          f"| {s['rss_before_kb']} | {s['rss_after_kb']} |")
print("\nGoals: median under 100 µs offscreen and under 150 µs on xcb, memory flat.\n")
print(f"![Latency of every event]({os.path.relpath(plot, os.getcwd())})\n")
print("""## Where the time goes

Profiles with `valgrind --tool=callgrind` (see the commands above):

- Start-up: about half of the program's instructions are the font database: fontconfig
  reading its configuration (`FcInit`, mostly XML parsing) and Qt matching Times New Roman
  to Liberation Serif. The floor draws no text and never pays for it. Besides that, the
  report box's first layout of the seven description paragraphs, the JPEG decoder and
  the photograph's decoding (one variant, at its displayed size), and glyph rendering for
  the first frame. Already avoided: probing every image decoder for the icon and the
  photograph, decoding photograph variants the screen does not need.
- One selection: about a third goes to the report box (laying out and drawing two
  lines of antialiased Cyrillic text), a third to the list (repainting the two rows whose
  selection changed and, when the selection walks past the visible rows, scrolling the
  view and repainting its scroll bar: the upper band of the plot), the rest to the event
  delivery and the repaint manager. The tile itself (clearing and drawing 76 × 156 pixels
  and up to 12 dots) costs a few microseconds. Already done: the report's text is replaced
  in place, so its scroll bar is not repainted at every pick; text is drawn without
  shaping (no kerning, as on the desktop this window was designed on); only the tile, the
  report and the list are repainted.
""")

# The long runs are recorded by hand; they are kept with the figures above.
long_runs = os.path.join(os.path.dirname(os.path.abspath(__file__)), "long_runs.md")
if os.path.exists(long_runs):
    with open(long_runs, encoding="utf-8") as f:
        print(f.read())

