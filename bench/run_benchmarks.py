# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the benchmarks and writes their sections of BENCHMARKS.md. Usage:
run_benchmarks.py BUILD_DIR PLOT.png

Start-up: the program's benchmark build against a plain Qt version of its window and two
floors, a bare window of the same size and that window with one line of text in the window's
font, each ending after its first frame, timed in turn in one hyperfine run on Xvfb (xcb) and
offscreen; peak memory from /usr/bin/time -v; instructions from callgrind. Selection, in the
program and in the plain version: latency per event over 100,000 events, and instructions per
event from callgrind (a run with events less one without). Every goal is checked against the
figures measured here and reported as met or missed.

Every run has DBUS_SESSION_BUS_ADDRESS=disabled: so that no Qt program forks a D-Bus
autolaunch, which no desktop session does and which costs more than what is measured.

Each section is printed by a function (SECTIONS at the end) and written with benchmarks_md,
which leaves the sections other scripts write as they are; a new measurement adds a function
and an entry in that list and in benchmarks_md.SECTIONS."""

import contextlib
import io
import json
import os
import platform
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile

import benchmarks_md

build, plot = sys.argv[1], sys.argv[2]


def bench_binary(name):
    return os.path.join(build, "bench", name)


STARTUP = [("program", bench_binary("domino-tiles-startup")),
           ("plain Qt", bench_binary("plain-qt-startup")),
           ("text floor", bench_binary("text-window-startup")),
           ("bare floor", bench_binary("bare-window-startup"))]
PROGRAM, PLAIN, TEXT_FLOOR, BARE_FLOOR = range(4)  # indices into STARTUP
SELECTION = [("program", bench_binary("selection-latency")),
             ("plain Qt", bench_binary("plain-qt-selection-latency"))]
EVENTS = 100_000
CALLGRIND_EVENTS = 2900  # 100 walks through the 28 tiles and the clear button


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-noreset", "-nolisten", "tcp",
                             "-screen", "0", "1024x768x24"], pass_fds=(write,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        display = ":" + pipe.readline().strip()
    return xvfb, display


def environments(display, runtime_dir):
    base = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
    base["XDG_RUNTIME_DIR"] = runtime_dir
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


def selection_run(binary, env, latency_file):
    out = subprocess.run([binary, str(EVENTS), latency_file], env=env, capture_output=True,
                         text=True, check=True).stdout
    return {key: float(value) for key, value in re.findall(r"(\w+) ([\d.]+)", out)}


def instructions_per_event(binary, env):
    return (instructions([binary, str(CALLGRIND_EVENTS)], env)
            - instructions([binary, "0"], env)) / CALLGRIND_EVENTS


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


runtime_dir = tempfile.mkdtemp(prefix="domino-bench-")
xvfb, display = start_xvfb()
try:
    envs = environments(display, runtime_dir)
    rows, latencies = {}, {}
    for name, env in envs.items():
        ms = hyperfine(env)
        rss = [peak_rss_mb(binary, env) for _, binary in STARTUP]
        ir = [instructions([binary], env) for _, binary in STARTUP]
        sel, per_event = [], []
        for build_name, binary in SELECTION:
            latency_file = tempfile.NamedTemporaryFile(suffix=".txt", delete=False).name
            sel.append(selection_run(binary, env, latency_file))
            with open(latency_file) as f:
                latencies[build_name, name] = [float(line) for line in f]
            os.unlink(latency_file)
            per_event.append(instructions_per_event(binary, env))
        rows[name] = dict(ms=ms, rss=rss, ir=ir, sel=sel, per_event=per_event)
finally:
    xvfb.send_signal(signal.SIGTERM)
    xvfb.wait()
    shutil.rmtree(runtime_dir, ignore_errors=True)

# The per-event latency over the whole run, one point per event: the program above, the plain
# Qt version below, on the same scale.
data = tempfile.NamedTemporaryFile("w", suffix=".dat", delete=False)
series = [latencies[build_name, platform_name] for build_name, _ in SELECTION
          for platform_name in ("offscreen", "xcb")]
for i, values in enumerate(zip(*series)):
    data.write(f"{i} " + " ".join(str(v) for v in values) + "\n")
data.close()
panels = "".join(f"""
set title '{build_name}: one selection, key press to tile painted ({EVENTS:,} events)';
plot '{data.name}' using 1:{3 + 2 * k} with dots lc rgb '#d62728' title 'xcb (Xvfb)',
     '{data.name}' using 1:{2 + 2 * k} with dots lc rgb '#1f77b4' title 'offscreen';
""" for k, (build_name, _) in enumerate(SELECTION))
subprocess.run(["gnuplot", "-e", f"""
set terminal pngcairo size 900,700 font 'Liberation Sans,10';
set output '{plot}';
set xlabel 'event'; set ylabel 'microseconds'; set logscale y; set yrange [10:10000];
set key top right;
set multiplot layout {len(SELECTION)},1;
{panels}
unset multiplot
"""], check=True)
os.unlink(data.name)



def header():
    print("# Benchmarks\n")
    print("Made by `scripts/bench.sh` (a Release build in `build-bench`) on: " + machine()
          + f"; load average {load_before} at the start and {load_average()} at the end (wall "
          "times grow with the load of a shared machine; instruction counts do not). Every run "
          "has `DBUS_SESSION_BUS_ADDRESS=disabled:`, so that no Qt program forks a D-Bus "
          "autolaunch, as none does in a desktop session.\n")
    print("Each goal is checked against the figures below and marked met or missed.\n")


def verdict(figure, limit):
    return "met" if figure <= limit else "missed"


def goal_table(goals):
    """goals: (what, limit, {platform: (figure, shown)}) rows; a figure within its limit is met."""
    platforms = list(rows)
    print("| goal | " + " | ".join(platforms) + " |")
    print("|---" * (len(platforms) + 1) + "|")
    for what, limit, figures in goals:
        cells = [f"{figures[p][1]}: **{verdict(figures[p][0], limit)}**" for p in platforms]
        print(f"| {what} | " + " | ".join(cells) + " |")
    print()


def startup_section():
    print("## Start-up, exec to the first frame painted\n")
    print("`build-bench/bench/domino-tiles-startup` (the program's own `MainForm`, ending after its "
          "first paint) against `plain-qt-startup`, the same window as a plain Qt program "
          "(`bench/plain_qt_window.cpp`: `QListWidget`, `QPlainTextEdit`, `QPushButton`, a "
          "`QLabel` with the photograph and a widget that paints the tile in `paintEvent`, with "
          "the same texts, sizes, colours and font, shaped as Qt shapes text by default), and two "
          "floors that end the same way: `text-window-startup`, a bare window of the same size "
          "with the heading in the window's font (12-point Times New Roman, Cyrillic), which pays "
          "for the font database and one line of text as any window with text does; and "
          "`bare-window-startup`, the same window with nothing in it. Wall time: median of 60 "
          "runs after 10 warm-up runs, all four in turn in one hyperfine run; memory: median peak "
          "resident set (`/usr/bin/time -v`) of 15 runs; instructions: callgrind, one run.\n")
    against = [("plain Qt", PLAIN), ("text floor", TEXT_FLOOR), ("bare floor", BARE_FLOOR)]
    print("| platform | build | ms | MB | instructions | "
          + " | ".join(f"× {label} (ms / MB / instructions)" for label, _ in against) + " |")
    print("|---" * (5 + len(against)) + "|")
    for name, r in rows.items():
        for i, (label, _) in enumerate(STARTUP):
            ratios = [" / ".join(f"{r[key][i] / r[key][j]:.2f}" for key in ("ms", "rss", "ir"))
                      for _, j in against]
            print(f"| {name} | {label} | {r['ms'][i]:.1f} | {r['rss'][i]:.1f} "
                  f"| {r['ir'][i] / 1e6:.1f} M | " + " | ".join(ratios) + " |")
    print("\nGoals for the program, against the text floor:\n")

    goals = []
    for what, key, limit in (("wall time within 1.10 ×", "ms", 1.10),
                             ("instructions within 1.15 ×", "ir", 1.15),
                             ("peak memory within 1.10 ×", "rss", 1.10)):
        ratios = {p: r[key][PROGRAM] / r[key][TEXT_FLOOR] for p, r in rows.items()}
        goals.append((what, limit, {p: (x, f"{x:.2f} ×") for p, x in ratios.items()}))
    goal_table(goals)


# Memory is flat when the run of EVENTS events grows the resident set by at most this share:
# 1 % of about 30 MB over 100,000 events, which a leak of even 3 bytes an event would exceed.
FLAT_GROWTH = 0.01


def selection_section():
    print("## One selection, key press to tile painted\n")
    print(f"`build-bench/bench/selection-latency` (the program) and "
          f"`plain-qt-selection-latency` (the plain Qt version, with the same harness): a key "
          f"press delivered to the list (Home, then Down through all 28 tiles) or a click on the "
          f"clear button, timed until the report is written and the repainted widgets are flushed "
          f"to the screen; {EVENTS:,} events after a warm-up. Instructions per event: callgrind, "
          f"a run of {CALLGRIND_EVENTS:,} events less a run of none.\n")
    print("| platform | build | median µs | 99th percentile µs | handling the event µs (mean) "
          "| instructions per event | resident KB before | after |")
    print("|---|---|---|---|---|---|---|---|")
    for name, r in rows.items():
        for k, (build_name, _) in enumerate(SELECTION):
            s = r["sel"][k]
            print(f"| {name} | {build_name} | {s['median_us']:.1f} | {s['p99_us']:.1f} "
                  f"| {s['mean_event_handling_us']:.1f} | {r['per_event'][k] / 1e3:.0f} k "
                  f"| {s['rss_before_kb']:.0f} | {s['rss_after_kb']:.0f} |")
    print("\nGoals for the program:\n")
    program_runs = {p: r["sel"][0] for p, r in rows.items()}

    def growth(s):
        return (s["rss_after_kb"] - s["rss_before_kb"]) / s["rss_before_kb"]

    goal_table([
        ("median within 200 µs", 200,
         {p: (s["median_us"], f"{s['median_us']:.0f} µs") for p, s in program_runs.items()}),
        ("99th percentile within 400 µs", 400,
         {p: (s["p99_us"], f"{s['p99_us']:.0f} µs") for p, s in program_runs.items()}),
        (f"memory flat: the resident set grows by at most {FLAT_GROWTH:.0%} over the run",
         FLAT_GROWTH,
         {p: (growth(s), f"{s['rss_after_kb'] - s['rss_before_kb']:+.0f} KB "
                         f"({growth(s):+.1%})") for p, s in program_runs.items()}),
    ])
    print(f"![Latency of every event, the program and the plain Qt version]"
          f"({os.path.relpath(plot, os.path.dirname(benchmarks_md.BENCHMARKS))})\n")


def where_the_time_goes():
    print(WHERE_THE_TIME_GOES)


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
- The plain Qt version pays the same font database. At start-up it shapes the description with
  HarfBuzz (Qt's default, with kerning) and lays it out as soon as it is set, and loads Qt's
  image plugins (GIF and ICO too) to recognise the photograph and the icon. At a pick
  `setPlainText` throws the whole report away, lays it out and shapes it anew, and repaints
  the whole report box with its scroll bar; the tile widget paints its frame, face and dots
  afresh at every update, and its parent's background under it.
"""

SECTIONS = {"header": header, "start-up": startup_section, "selection": selection_section,
            "where-the-time-goes": where_the_time_goes}


def printed(section):
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        section()
    return out.getvalue()


# All at once, after every measurement: a run that fails leaves the file as it was.
benchmarks_md.write_sections({name: printed(section) for name, section in SECTIONS.items()})
