# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Xvfb with openbox, and the program's window on it, driven with xdotool."""

import os
import signal
import subprocess
import time
import unittest

from .images import Picture
from .processes import Program, Session, read_line


class XProgram(Program):
    """The program's window on an X server."""

    def appeared(self):
        # The program may run under another (strace), so its children count too.
        children = self.session.run(["pgrep", "-P", str(self.process.pid)], check=False).split()
        for pid in [str(self.process.pid), *children]:
            out = self.session.run(["xdotool", "search", "--onlyvisible", "--pid", pid],
                                   check=False)
            if out.split():
                self.window = out.split()[0]
                return True
        time.sleep(0.05)
        return False

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


class XSession(Session):
    """Xvfb with openbox, and a session bus where accessibility is wanted."""

    program_type = XProgram

    def __init__(self, width=1024, height=768, accessibility=False):
        self.width, self.height, self.accessibility = width, height, accessibility
        super().__init__()

    def start_screen(self):
        # Qt prefers Wayland wherever WAYLAND_DISPLAY leads to a compositor, even with DISPLAY.
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self._start_x()
        if self.accessibility:
            bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = read_line(bus.stdout,
                                                             "the session bus's address")
            self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
            self.env["NO_AT_BRIDGE"] = "0"
        self._start_window_manager()

    def _start_x(self):
        read, write = os.pipe()
        try:
            self.spawn(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp",
                        "-screen", "0", f"{self.width}x{self.height}x24"],
                       pass_fds=(write,), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        except FileNotFoundError:
            raise unittest.SkipTest("Xvfb is not installed: no X server to test on")
        finally:
            os.close(write)
        with os.fdopen(read) as pipe:
            number = read_line(pipe, "Xvfb's display number")
        if not number:
            raise unittest.SkipTest("Xvfb could not start: no X server to test on")
        self.env["DISPLAY"] = ":" + number

    def _start_window_manager(self, attempts=2):
        for _ in range(attempts):
            manager = self.spawn(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
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
        raise TimeoutError(f"openbox did not manage the screen within 10 s, {attempts} times")

    def screenshot(self):
        """The whole screen as a Picture."""
        raw = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "rgb:-"],
                             env=self.env, capture_output=True, check=True, timeout=20).stdout
        return Picture(raw, self.width, self.height)
