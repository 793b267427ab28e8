# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""What every screen shares: a session of processes that stop with it, the program started
in it, and waits that fail naming what they waited for.

Every process started here is stopped by its process id (or its own process group) when the
session closes, whatever the test's outcome."""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from .facts import PROGRAM, TILE_DRAWING


def wait_until(what, condition, timeout, interval=0.05):
    """Checks condition until it returns something true, and returns that; fails naming what
    it waited for when timeout seconds pass first."""
    deadline = time.monotonic() + timeout
    while not (answer := condition()):
        if time.monotonic() > deadline:
            raise TimeoutError(f"{what}: not within {timeout} s")
        time.sleep(interval)
    return answer


def read_line(stream, what, timeout=10):
    """The first line a process writes to a pipe ("" if it ends first), or a failure naming
    what it should have written."""
    ready, _, _ = select.select([stream], [], [], timeout)
    if not ready:
        raise TimeoutError(f"{what}: not within {timeout} s")
    return stream.readline().strip()


def find_tool(name, path=None):
    """Where a tool is, on PATH or the given path; a test that needs a missing one is
    skipped, saying which."""
    found = shutil.which(name, path=path)
    if not found:
        raise unittest.SkipTest(f"{name} is not installed")
    return found


class Session:
    """Processes, each in a process group of its own and stopped newest first on close, with
    a runtime folder and a home of the session's own: the window manager, the compositor,
    dconf and the like write there. A subclass starts its screen in start_screen, names the
    command the program runs under in launcher and the class of its window in program_type."""

    launcher = ()

    def __init__(self, dropped=()):
        self._processes = []
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("QT_", "DBUS_", "XDG_RUNTIME", "WAYLAND", *dropped))}
        self.runtime_dir = tempfile.mkdtemp(prefix="domino-runtime-")
        self.env["XDG_RUNTIME_DIR"] = self.runtime_dir
        home = os.path.join(self.runtime_dir, "home")
        self.env["HOME"] = home
        for name, folder in (("CONFIG", "config"), ("CACHE", "cache"), ("DATA", "data"),
                             ("STATE", "state")):
            self.env[f"XDG_{name}_HOME"] = os.path.join(home, folder)
            os.makedirs(self.env[f"XDG_{name}_HOME"])
        try:
            self.start_screen()
        except BaseException:
            self.close()
            raise

    def spawn(self, command, env=None, **kwargs):
        """Starts a process of the session, stopped with it."""
        process = subprocess.Popen(command, env=env or self.env, stdin=subprocess.DEVNULL,
                                   start_new_session=True, **kwargs)
        self._processes.append(process)
        return process

    def close(self):
        # One at a time, newest first, so that no client outlives its server noisily.
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

    def run(self, command, check=True, env=None, timeout=20):
        result = subprocess.run(command, env=env or self.env, capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{command} failed: {result.stderr}")
        return result.stdout

    def start_program(self, extra_env=None, program=PROGRAM, args=()):
        env = dict(self.env, **(extra_env or {}))
        process = self.spawn([*self.launcher, program, *args], env=env,
                             stderr=subprocess.PIPE, text=True)
        return self.program_type(self, process)


class Program:
    """The program's window on a session's screen, once it has appeared. A subclass says how
    it appears (appeared, which may pause briefly while it has not), where it is (geometry)
    and how a pupil reaches it (click, keys, clipboard)."""

    def __init__(self, session, process):
        self.session = session
        self.process = process
        self.window = None
        deadline = time.monotonic() + 20
        while not self.appeared():
            if process.poll() is not None:
                raise RuntimeError("the program ended: " + process.stderr.read())
            if time.monotonic() > deadline:
                raise TimeoutError("the program's window did not appear within 20 s")
        # Until the window manager has framed and placed it, the window may still move.
        self.wait_until_placed()
        self.wait_until_settled(region=(0, 0, 1, 1))

    def client(self, x=0, y=0, width=None, height=None):
        """A rectangle of the client area, in screen pixels, as rows of pixels."""
        left, top, full_width, full_height = self.geometry()
        return self.session.screenshot().crop(left + x, top + y, width or full_width,
                                              height or full_height)

    def tile(self, factor=1):
        """The tile's drawing area at a scale factor."""
        x, y, width, height = (round(v * factor) for v in TILE_DRAWING)
        return self.client(x, y, width, height)

    def wait_until_placed(self, quiet_for=0.3, timeout=10):
        """Waits until the client area's place and size on the screen are the same twice,
        quiet_for apart: a picture of it cannot tell that the window moved."""
        deadline = time.monotonic() + timeout
        before = self.geometry()
        while time.monotonic() < deadline:
            time.sleep(quiet_for)
            now = self.geometry()
            if now == before:
                return
            before = now
        raise TimeoutError(f"the window did not stay in one place within {timeout} s")

    def wait_until_settled(self, region=None, quiet_for=0.3, timeout=5):
        """Waits until a region of the client area (x, y, width, height; the whole of it by
        default) looks the same in two screenshots taken quiet_for apart. A blinking text
        cursor never settles, so leave it out of the region."""
        deadline = time.monotonic() + timeout
        before = self.client(*(region or ()))
        while time.monotonic() < deadline:
            time.sleep(quiet_for)
            now = self.client(*(region or ()))
            if now == before:
                return
            before = now
        raise TimeoutError(f"the client area ({region or 'all of it'}) did not settle within "
                           f"{timeout} s")

    def close(self):
        if self.process.poll() is None:
            # The program first, where it runs under another process, then that process.
            subprocess.run(["pkill", "-TERM", "-P", str(self.process.pid)], check=False)
            self.process.terminate()
            self.process.wait(timeout=5)
