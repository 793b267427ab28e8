# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the benchmarks and prints BENCHMARKS.md. Usage: run_benchmarks.py BUILD_DIR PLOT.png

Start-up: the program's benchmark build against two floors, a bare window of the same size and
that window with one line of text in the window's font, each ending after its first frame,
timed in turn in one hyperfine run on Xvfb (xcb) and offscreen; peak memory from
/usr/bin/time -v; instructions from callgrind. Selection: latency per event over 100,000
events, and instructions per event from callgrind (a run with events less one without).

Every run has DBUS_SESSION_BUS_ADDRESS=disabled: so that no Qt program forks a D-Bus
autolaunch, which no desktop session does and which costs more than what is measured.

BENCHMARKS.md is printed section by section (SECTIONS at the end); a new measurement adds a
function that prints its section and an entry in that list."""

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
text_floor = os.path.join(build, "bench", "text-window-startup")
bare_floor = os.path.join(build, "bench", "bare-window-startup")
STARTUP = [("program", program), ("text floor", text_floor), ("bare floor", bare_floor)]
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
    base["DBUS_SESSION_BUS_ADDRESS"] = "disabled:"
    return {
        "xcb": dict(base, QT_QPA_PLATFORM="xcb", DISPLAY=display),
        "offscreen": dict(base, QT_QPA_PLATFORM="offscreen"),
    }


def hyperfine(env):
    out = tempfile.NamedTemporaryFile(suffix=".json", delete=False).name
    subprocess.run(["hyperfine", "-N", "--warmup", "10", "--runs", "60", "--style", "none",
                    "--export-json", out, *(binary for _, binary in STARTUP)],
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
    # Should Qt fork a helper all the same, the program itself collects the most.
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


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


load_before = load_average()


xvfb, display = start_xvfb()
try:
    envs = environments(display)
    rows, latencies = {}, {}
    for name, env in envs.items():
        ms = hyperfine(env)
        rss = [peak_rss_mb(binary, env) for _, binary in STARTUP]
        ir = [instructions([binary], env) for _, binary in STARTUP]
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



def header():
    print("# Benchmarks\n")
    print("Made by `./bench.sh` (a Release build in `build-bench`) on: " + machine() + "; load "
          f"average {load_before} at the start and {load_average()} at the end. Every run has "
          "`DBUS_SESSION_BUS_ADDRESS=disabled:`, so that no Qt program forks a D-Bus autolaunch, "
          "as none does in a desktop session.\n")


def startup_section():
    print("## Start-up, exec to the first frame painted\n")
    print("`build-bench/bench/domino-tiles-startup` (the program's own `MainForm`, ending after its "
          "first paint) against two floors that end the same way: `text-window-startup`, a bare "
          "window of the same size with the heading in the window's font (12-point Times New "
          "Roman, Cyrillic), which pays for the font database and one line of text as any window "
          "with text does; and `bare-window-startup`, the same window with nothing in it. Wall "
          "time: median of 60 runs after 10 warm-up runs, all three in turn in one hyperfine run; "
          "memory: median peak resident set (`/usr/bin/time -v`) of 15 runs; instructions: "
          "callgrind, one run.\n")
    print("| platform | build | ms | MB | instructions "
          "| × text floor (ms / MB / instructions) | × bare floor (ms / MB / instructions) |")
    print("|---|---|---|---|---|---|---|")
    for name, r in rows.items():
        for i, (label, _) in enumerate(STARTUP):
            ratios = [" / ".join(f"{r[key][i] / r[key][floor]:.2f}" for key in ("ms", "rss", "ir"))
                      for floor in (1, 2)]
            print(f"| {name} | {label} | {r['ms'][i]:.1f} | {r['rss'][i]:.1f} "
                  f"| {r['ir'][i] / 1e6:.1f} M | {ratios[0]} | {ratios[1]} |")
    print("\nGoals against the text floor: wall time within 1.10 ×, instructions within 1.15 ×, "
          "peak memory within 1.10 ×.\n")


def selection_section():
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
    print("\nGoals: median within 200 µs and 99th percentile within 400 µs, offscreen and on xcb; "
          "memory flat.\n")
    print(f"![Latency of every event]({os.path.relpath(plot, os.getcwd())})\n")


def where_the_time_goes():
    print(WHERE_THE_TIME_GOES)


def long_runs_section():
    # The long runs are recorded by hand and the page's figures by ./web.sh --bench; they are
    # kept with the figures above.
    for name in ("long_runs.md", "web_page.md"):
        path = os.path.join(os.path.dirname(os.path.abspath(__file__)), name)
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                print(f.read())


WHERE_THE_TIME_GOES = """## Where the time goes

Profiles with `valgrind --tool=callgrind` (see the commands above):

- Start-up: about half of every build's instructions, floors included, are the font database:
  fontconfig reading its configuration (`FcInit`, mostly XML parsing) and Qt matching Times
  New Roman to Liberation Serif; the text floor pays for it as the program does. Above the
  text floor the program pays for the seven description paragraphs (shaping them and loading
  and hinting their glyphs, laid out once, when the report box is shown at its width, then
  drawing the lines in view), the JPEG plugin and decoder for the photograph (one variant, at
  its displayed size), and the other controls' first paint. Its larger peak memory is mostly
  library code that only it runs: QtWidgets' text box, item view and scroll bars (about
  1.4 MB) and the JPEG decoder (0.5 MB). Already avoided: a second font (the report box lays
  out an empty document in the application's font while it is built, so it is built while the
  application's font is the window's), laying the description out before the box knows its width (at no
  width, then again when shown), loading every image plugin to ask it about the icon and the
  photograph, decoding photograph variants the screen does not need.
- One selection: the list (Fusion draws each repainted row's panel, rounded focus frame and
  text, and, when the selection walks past the visible rows, the view scrolls and its scroll
  bar is repainted with its gradients: the upper band of the plot), the report box (laying out
  the changed lines and drawing their glyphs), the event delivery and the repaint manager.
  The tile itself (clearing and drawing 76 × 156 pixels and up to 12 dots) costs a few
  microseconds. Already done: a report replaces only the characters that differ from the
  previous one (mostly the label) and only from where they start is repainted, not the whole
  box, so its scroll bar is left alone too; text is drawn without shaping (no kerning, as on
  the desktop this window was designed on); only the tile, the report and the list are
  repainted. Not done: keeping pictures of the rows or of the scroll bar to copy instead of
  drawing them, which would keep off-screen images of controls that draw themselves.
"""

SECTIONS = [header, startup_section, selection_section, where_the_time_goes, long_runs_section]

for section in SECTIONS:
    section()
