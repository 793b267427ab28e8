# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""A real X server with a window manager, and the program on it, driven from outside.

Every process started here is stopped by its process id (or its own process group) when the
session closes, whatever the test's outcome.
"""

import json
import math
import os
import signal
import subprocess
import tempfile
import time
import unittest

PROGRAM = os.environ.get("DOMINO_PROGRAM", "build/domino-tiles")
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SKIP = 77  # ctest's SKIP_RETURN_CODE for the desktop tests


def cached_qt(platform):
    """Whether ./windows.sh or ./web.sh has built its Qt for this platform once."""
    cache = os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache")
    with open(os.path.join(ROOT, "packaging", "qt-version.txt"), encoding="utf-8") as file:
        version = next(line.strip() for line in file if line[:1].isdigit())
    return os.path.exists(os.path.join(cache, "domino-tiles", f"qt-{version}-{platform}",
                                       ".complete"))


class XSession:
    def __init__(self, width=1024, height=768, accessibility=False):
        self._processes = []
        self.width, self.height = width, height
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("QT_", "DBUS_", "XDG_RUNTIME", "WAYLAND"))}
        self.runtime_dir = tempfile.mkdtemp(prefix="domino-runtime-")
        self.env["XDG_RUNTIME_DIR"] = self.runtime_dir
        # A home of the session's own: the window manager, dconf and the like write there.
        home = os.path.join(self.runtime_dir, "home")
        self.env["HOME"] = home
        for name, folder in (("CONFIG", "config"), ("CACHE", "cache"), ("DATA", "data"),
                             ("STATE", "state")):
            self.env[f"XDG_{name}_HOME"] = os.path.join(home, folder)
            os.makedirs(self.env[f"XDG_{name}_HOME"])
        # Qt prefers Wayland wherever WAYLAND_DISPLAY leads to a compositor, even with DISPLAY.
        self.env["QT_QPA_PLATFORM"] = "xcb"
        try:
            self._start_x()
            if accessibility:
                self._start_session_bus()
            self._start_window_manager()
        except BaseException:
            self.close()
            raise

    # -- processes -------------------------------------------------------------------------

    def _spawn(self, command, env=None, **kwargs):
        process = subprocess.Popen(command, env=env or self.env, stdin=subprocess.DEVNULL,
                                   start_new_session=True, **kwargs)
        self._processes.append(process)
        return process

    def _start_x(self):
        read, write = os.pipe()
        try:
            self._spawn(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp",
                         "-screen", "0", f"{self.width}x{self.height}x24"],
                        pass_fds=(write,), stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL)
        except FileNotFoundError:
            raise unittest.SkipTest("Xvfb is not installed: no X server to test on")
        finally:
            os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise unittest.SkipTest("Xvfb could not start: no X server to test on")
        self.env["DISPLAY"] = ":" + number

    def _start_session_bus(self):
        bus = self._spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.env["NO_AT_BRIDGE"] = "0"

    def _start_window_manager(self, attempts=2):
        for _ in range(attempts):
            manager = self._spawn(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
            deadline = time.monotonic() + 10
            while time.monotonic() < deadline and manager.poll() is None:
                out = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
                if "window id" in out:
                    return
                time.sleep(0.05)
            if manager.poll() is None:
                os.killpg(manager.pid, signal.SIGKILL)
                manager.wait()
        raise RuntimeError("the window manager did not start")

    def close(self):
        # One at a time, newest first, so that no client outlives its X server noisily.
        for process in reversed(self._processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                    process.wait(timeout=5)
                except ProcessLookupError:
                    pass
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()
        self._processes.clear()
        subprocess.run(["rm", "-rf", self.runtime_dir], check=False)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # -- commands on the display ------------------------------------------------------------

    def run(self, command, check=True, env=None, timeout=20):
        result = subprocess.run(command, env=env or self.env, capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{command} failed: {result.stderr}")
        return result.stdout

    def start_program(self, extra_env=None, program=PROGRAM, args=()):
        env = dict(self.env, **(extra_env or {}))
        process = self._spawn([program, *args], env=env, stderr=subprocess.PIPE, text=True)
        return Program(self, process)

    def screenshot(self):
        """The whole screen as rows of (r, g, b) tuples."""
        raw = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "rgb:-"],
                             env=self.env, capture_output=True, check=True, timeout=20).stdout
        return Picture(raw, self.width, self.height)


class SessionTestCase(unittest.TestCase):
    """One X server for all the tests of a class, stopped after the last of them."""

    session_options = {}

    @classmethod
    def setUpClass(cls):
        cls.session = XSession(**cls.session_options)

    @classmethod
    def tearDownClass(cls):
        cls.session.close()


class ProgramTestCase(SessionTestCase):
    """... and the program started afresh for each test."""

    def setUp(self):
        self.program = self.session.start_program()
        self.addCleanup(self.program.close)


class Program:
    def __init__(self, session, process):
        self.session = session
        self.process = process
        deadline = time.monotonic() + 20
        self.window = None
        while self.window is None and time.monotonic() < deadline:
            if process.poll() is not None:
                raise RuntimeError("the program ended: " + process.stderr.read())
            # The program may run under another (strace), so its children count too.
            children = session.run(["pgrep", "-P", str(process.pid)], check=False).split()
            for pid in [str(process.pid), *children]:
                out = session.run(["xdotool", "search", "--onlyvisible", "--pid", pid],
                                  check=False)
                if out.split():
                    self.window = out.split()[0]
            else:
                time.sleep(0.05)
        if self.window is None:
            raise RuntimeError("the window did not appear")
        # Until the window manager has framed and placed it, the window may still move.
        self.wait_until_settled(region=(0, 0, 1, 1))

    def xdotool(self, *args):
        return self.session.run(["xdotool", *args])

    def geometry(self):
        """The client area: x, y, width, height on the screen."""
        # xwininfo, not xdotool: the latter misplaces reparented windows by the frame.
        out = self.session.run(["xwininfo", "-id", self.window])
        values = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
        keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
        return tuple(int(values[k]) for k in keys)

    def frame_extents(self):
        out = self.session.run(["xprop", "-id", self.window, "_NET_FRAME_EXTENTS"])
        left, right, top, bottom = (int(v) for v in out.split("=")[1].split(","))
        return left, right, top, bottom

    def property(self, name):
        return self.session.run(["xprop", "-id", self.window, name])

    def wait_until_settled(self, region=None, quiet_for=0.3, timeout=5):
        """Waits until a region of the client area (x, y, width, height; the whole of it by
        default) looks the same in two screenshots taken quiet_for apart. A blinking text
        cursor never settles, so leave it out of the region."""
        def look():
            left, top, width, height = self.geometry()
            x, y, w, h = region or (0, 0, width, height)
            return self.session.screenshot().crop(left + x, top + y, w, h)

        deadline = time.monotonic() + timeout
        before = look()
        while time.monotonic() < deadline:
            time.sleep(quiet_for)
            now = look()
            if now == before:
                return
            before = now

    def click(self, x, y, button=1):
        """Clicks at (x, y) of the client area, in screen pixels."""
        left, top, _, _ = self.geometry()
        # No --sync: it waits forever when the pointer is already there.
        self.xdotool("mousemove", str(left + x), str(top + y), "sleep", "0.05",
                     "click", str(button))

    def keys(self, *names):
        self.xdotool("key", "--clearmodifiers", "--delay", "30", *names)

    def clipboard(self):
        return self.session.run(["xclip", "-selection", "clipboard", "-o"], check=False)

    def close(self):
        if self.process.poll() is None:
            # The program first, where it runs under another process, then that process.
            subprocess.run(["pkill", "-TERM", "-P", str(self.process.pid)], check=False)
            self.process.terminate()
            self.process.wait(timeout=5)


class Picture:
    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height

    def pixel(self, x, y):
        at = 3 * (y * self.width + x)
        return tuple(self.raw[at:at + 3])

    def crop(self, x, y, width, height):
        return [[self.pixel(x + i, y + j) for i in range(width)] for j in range(height)]


def expected_tile(upper, lower):
    """The tile's 76 x 156 drawing area as rows of booleans (True = ink), from first
    principles: the pip centres of the shared table, 15-pixel round dots, the divider on row
    80."""
    with open(os.path.join(ROOT, "tests", "support", "expected_pips.json"), encoding="utf-8") as f:
        table = json.load(f)
    dots = table["upper"].get(str(upper), []) + table["lower"].get(str(lower), [])
    return [[y == 80 or any((x - dx) ** 2 + (y - dy) ** 2 <= 56.25 for dx, dy in dots)
             for x in range(76)] for y in range(156)]


def expected_report(label):
    """The report as copied out of the report box (line ends as LF), written out here."""
    mirrored = label[::-1]
    second = ("Избраната плочка е симетрична!" if mirrored == label
              else "Плочката може да се разглежда и като: " + mirrored)
    return f"От общо: 28 плочки, Вие избрахте плочка: {label}\n{second}\n"


INK = (0, 0, 0)


def components(mask):
    """Connected groups of True cells (4-neighbour), as lists of (x, y)."""
    height, width = len(mask), len(mask[0])
    seen = [[False] * width for _ in range(height)]
    groups = []
    for y in range(height):
        for x in range(width):
            if mask[y][x] and not seen[y][x]:
                stack, group = [(x, y)], []
                seen[y][x] = True
                while stack:
                    cx, cy = stack.pop()
                    group.append((cx, cy))
                    for nx, ny in ((cx + 1, cy), (cx - 1, cy), (cx, cy + 1), (cx, cy - 1)):
                        if 0 <= nx < width and 0 <= ny < height and mask[ny][nx] \
                                and not seen[ny][nx]:
                            seen[ny][nx] = True
                            stack.append((nx, ny))
                groups.append(group)
    return groups


def check_sharp_tile(test, tile, factor, pips):
    """Checks a screenshot of the tile's drawing area at a scale factor: only ink and face, a
    divider at most ceil(factor) rows high, and the given number of round dots 15 logical
    pixels across, drawn at the screen's resolution rather than scaled up."""
    colours = {pixel for row in tile for pixel in row}
    test.assertEqual(len(colours), 2, f"blurred tile at {factor}: {len(colours)} colours")
    test.assertIn(INK, colours)

    mask = [[pixel == INK for pixel in row] for row in tile]
    divider_rows = [y for y, row in enumerate(mask) if all(row)]
    test.assertTrue(divider_rows, f"no divider at {factor}")
    test.assertLessEqual(len(divider_rows), math.ceil(factor))
    for y in divider_rows:
        mask[y] = [False] * len(mask[y])

    dots = components(mask)
    test.assertEqual(len(dots), pips, f"dots at {factor}")
    for dot in dots:
        xs = [x for x, _ in dot]
        ys = [y for _, y in dot]
        across = max(xs) - min(xs) + 1
        down = max(ys) - min(ys) + 1
        test.assertLessEqual(abs(across - 15 * factor), 1.5, f"dot width at {factor}")
        test.assertLessEqual(abs(down - 15 * factor), 1.5, f"dot height at {factor}")
        # Round, not square: about the area of a disc 15 logical pixels across.
        disc = math.pi * (7.5 * factor) ** 2
        test.assertAlmostEqual(len(dot) / disc, 1, delta=0.1, msg=f"dot area at {factor}")
        # Drawn at the screen's resolution, not a small picture scaled up: a scaled-up
        # dot keeps the 5 row widths of the 1-pixel dot, a sharp one has more (9 at 2,
        # 14 at 3).
        if factor >= 2:
            widths = {sum(1 for _, y in dot if y == row) for row in set(ys)}
            test.assertGreaterEqual(len(widths), 4 * factor, f"blocky dot at {factor}")
