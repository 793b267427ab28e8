# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every screen the desktop tests use: Xvfb with openbox, a headless sway, Wine on Xvfb, and
headless Chromium with the page's server; the program on each, driven from outside, its
screenshots; and what it must show, from tests/support and the build's facts.json.

Every process started here is stopped by its process id (or its own process group) when the
session closes, whatever the test's outcome."""

import base64
import functools
import glob
import json
import math
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

PROGRAM = os.environ.get("DOMINO_PROGRAM", "build/domino-tiles")
BUILD = os.environ.get("DOMINO_BUILD_DIR", "build")
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SKIP = 77  # ctest's SKIP_RETURN_CODE for the desktop tests
NOBODY = 65534  # sway will not run as root

# -- what the program must show -------------------------------------------------------------


def _support(name):
    with open(os.path.join(ROOT, "tests", "support", name), encoding="utf-8") as file:
        return json.load(file)


EXPECTED = _support("expected_window.json")
CAPTION, PROMPT, NO_TILE = EXPECTED["caption"], EXPECTED["prompt"], EXPECTED["no_tile_said"]
NAMES = EXPECTED["names"]  # what a screen reader calls each control
SIZE = tuple(EXPECTED["client_size"])
TILES = EXPECTED["tiles"].split()
FORM, HEADING, RED, INK = (tuple(EXPECTED["colours"][key])
                           for key in ("form", "heading", "button", "ink"))
FIRST_ROW, BUTTON, TEXT, HEADING_LEFT = (tuple(EXPECTED["points"][key])
                                         for key in ("first_row", "button", "report",
                                                     "heading_left"))
HEADING_AREA, LIST_AND_TILE, TILE, TILE_DRAWING = (
    tuple(EXPECTED["areas"][key]) for key in ("heading", "list_and_tile", "tile", "tile_drawing"))


@functools.cache
def facts():
    """The product's facts as the build declares them: name, name_en, app_id, executable,
    publisher, version, homepage, description."""
    with open(os.path.join(BUILD, "facts.json"), encoding="utf-8") as file:
        return json.load(file)


def menu_entry():
    """The text of the menu entry the build makes."""
    paths = glob.glob(os.path.join(BUILD, "**", facts()["app_id"] + ".desktop"), recursive=True)
    if not paths:
        raise AssertionError(f"no menu entry in {BUILD}")
    with open(paths[0], encoding="utf-8") as entry:
        return entry.read()


def report_lines(label):
    mirrored = label[::-1]
    first, symmetric, turned = EXPECTED["report"]
    return [first.format(label=label),
            symmetric if mirrored == label else turned.format(mirrored=mirrored)]


def expected_report(label):
    """The report as copied out of the report box (line ends as LF)."""
    return "".join(line + "\n" for line in report_lines(label))


def halves_said(label):
    """What a screen reader hears the tile show, half by half."""
    said = EXPECTED["pips_said"]
    upper, lower = (said["one" if count == "1" else "other"].format(count=count)
                    for count in label.split(":"))
    return EXPECTED["halves_said"].format(upper=upper, lower=lower)


def tile_said(label):
    return EXPECTED["tile_said"].format(label=label, halves=halves_said(label))


def expected_tile(upper, lower):
    """The tile's 76 x 156 drawing area as rows of booleans (True = ink), from first
    principles: the pip centres of the shared table, 15-pixel round dots, the divider on row
    80."""
    table = _support("expected_pips.json")
    dots = table["upper"].get(str(upper), []) + table["lower"].get(str(lower), [])
    return [[y == 80 or any((x - dx) ** 2 + (y - dy) ** 2 <= 56.25 for dx, dy in dots)
             for x in range(76)] for y in range(156)]


def cached_qt(platform):
    """Whether ./windows.sh or ./web.sh has built its Qt for this platform once."""
    prefix = subprocess.run(["bash", os.path.join(ROOT, "scripts", "cross-qt.sh"), "prefix",
                             platform], check=True, capture_output=True, text=True).stdout
    return os.path.exists(os.path.join(prefix.strip(), ".complete"))


# -- sessions -------------------------------------------------------------------------------


class Session:
    """Processes, each in a process group of its own and stopped newest first on close, with
    a runtime folder and a home of the session's own: the window manager, the compositor,
    dconf and the like write there."""

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
            self._start()
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


class XSession(Session):
    """Xvfb with openbox, and a session bus where accessibility is wanted."""

    launcher = ()

    def __init__(self, width=1024, height=768, accessibility=False):
        self.width, self.height, self.accessibility = width, height, accessibility
        super().__init__()

    def _start(self):
        # Qt prefers Wayland wherever WAYLAND_DISPLAY leads to a compositor, even with DISPLAY.
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self._start_x()
        if self.accessibility:
            bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
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
            number = pipe.readline().strip()
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
        raise RuntimeError("the window manager did not start")

    def screenshot(self):
        """The whole screen as a Picture."""
        raw = subprocess.run(["import", "-silent", "-window", "root", "-depth", "8", "rgb:-"],
                             env=self.env, capture_output=True, check=True, timeout=20).stdout
        return Picture(raw, self.width, self.height)


class VirtualPointer:
    """One zwlr_virtual_pointer_v1, kept attached: sway forgets the seat's pointer, and with
    it swaymsg's clicks, when no pointer device is left. Speaks the wire protocol directly."""

    def __init__(self, socket_path):
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.connect(socket_path)
        registry, done, manager, pointer = 2, 3, 4, 5
        self._send(1, 1, struct.pack("=I", registry))  # wl_display.get_registry
        self._send(1, 0, struct.pack("=I", done))  # wl_display.sync
        interface = b"zwlr_virtual_pointer_manager_v1\0"
        name = self._global_named(interface, done)
        self._send(registry, 0, struct.pack("=II", name, len(interface)) + interface
                   + b"\0" * (-len(interface) % 4) + struct.pack("=II", 1, manager))  # bind
        self._send(manager, 0, struct.pack("=II", 0, pointer))  # on the default seat

    def _send(self, target, opcode, body):
        self.socket.sendall(struct.pack("=II", target, (8 + len(body)) << 16 | opcode) + body)

    def _global_named(self, interface, done):
        """The registry's name for an interface, from the globals announced before done."""
        data, found = b"", None
        while True:
            chunk = self.socket.recv(65536)
            if not chunk:
                raise RuntimeError("the compositor closed the connection")
            data += chunk
            while len(data) >= 8:
                target, size_opcode = struct.unpack("=II", data[:8])
                size = size_opcode >> 16
                if len(data) < size:
                    break
                body, data = data[8:size], data[size:]
                if target == 2 and size_opcode & 0xFFFF == 0:  # wl_registry.global
                    length = struct.unpack("=I", body[4:8])[0]
                    if body[8:8 + length] == interface:
                        found = struct.unpack("=I", body[:4])[0]
                elif target == done:
                    if found is None:
                        raise RuntimeError("the compositor offers no virtual pointer")
                    return found

    def close(self):
        self.socket.close()


class WaylandSession(Session):
    """A headless sway, run as nobody from a folder of its own. Sizes and positions are in
    the screen's pixels."""

    launcher = ()

    def __init__(self, scale=1, width=1024, height=768):
        self.scale, self.width, self.height = scale, width * scale, height * scale
        self.pointer = None
        self.sway_dir = tempfile.mkdtemp(prefix="domino-sway-")
        super().__init__(dropped=("DISPLAY", "SWAYSOCK"))

    def _start(self):
        self.env["XDG_SESSION_TYPE"] = "wayland"  # and no QT_QPA_PLATFORM: Qt's own choice
        os.chown(self.sway_dir, NOBODY, NOBODY)
        config = os.path.join(self.sway_dir, "config")
        with open(config, "w") as file:
            file.write(f"xwayland disable\noutput * mode {self.width}x{self.height} "
                       f"scale {self.scale}\n")
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.sway_dir,
               "XDG_RUNTIME_DIR": self.sway_dir, "WLR_BACKENDS": "headless",
               "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        sway = self.spawn(["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}",
                            "--clear-groups", "sway", "-c", config], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        deadline = time.monotonic() + 10
        while "SWAYSOCK" not in self.env:
            if sway.poll() is not None:
                last = (sway.stderr.read().strip().splitlines() or ["no message"])[-1]
                raise unittest.SkipTest(f"sway could not start: {last}")
            if time.monotonic() > deadline:
                raise RuntimeError("sway did not open its sockets")
            names = os.listdir(self.sway_dir)
            display = [n for n in names if n.startswith("wayland-") and "." not in n]
            ipc = [n for n in names if n.startswith("sway-ipc.")]
            if display and ipc:
                self.env["WAYLAND_DISPLAY"] = os.path.join(self.sway_dir, display[0])
                self.env["SWAYSOCK"] = os.path.join(self.sway_dir, ipc[0])
            else:
                time.sleep(0.05)
        # A keyboard and a pointer on the seat for as long as the session lasts.
        self.spawn(["wtype", "-s", "3600000"], stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
        self.pointer = VirtualPointer(self.env["WAYLAND_DISPLAY"])
        deadline = time.monotonic() + 10
        while self.swaymsg("-t", "get_seats")[0]["capabilities"] != 3:  # pointer, keyboard
            if time.monotonic() > deadline:
                raise RuntimeError("the seat has no keyboard and pointer")
            time.sleep(0.05)

    def close(self):
        if self.pointer:
            self.pointer.close()
        super().close()
        subprocess.run(["rm", "-rf", self.sway_dir], check=False)

    def swaymsg(self, *args):
        return json.loads(self.run(["swaymsg", "-r", *args]))

    def screenshot(self):
        # sway draws the cursor into the picture: out of the way first.
        self.swaymsg("seat", "-", "cursor", "set", str(self.width), str(self.height))
        ppm = subprocess.run(["grim", "-t", "ppm", "-"], env=self.env, capture_output=True,
                             check=True, timeout=20).stdout
        header = ppm.split(b"\n", 3)  # P6, width height, maximum value, pixels
        width, height = (int(v) for v in header[1].split())
        return Picture(header[3], width, height)


class WineSession(XSession):
    """An X session with a Wine prefix of its own, made once, in which Times New Roman and
    MS Shell Dlg are the Liberation fonts (Qt then finds them by the Windows names), and a
    Downloads folder holding the program, the given files and a marker DLL named after each
    of the given DLLs. All of it, and HOME, in one temporary folder."""

    launcher = ("wine",)
    # Named after a DLL the program uses, it writes NAME.ran beside itself when anything
    # loads it.
    MARKER_DLL = r"""
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    WCHAR path[MAX_PATH + 8];
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        lstrcpyW(path + GetModuleFileNameW(self, path, MAX_PATH), L".ran");
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return TRUE;
}
"""

    def __init__(self, exe, files, planted_dlls):
        self.root = tempfile.mkdtemp(prefix="domino-wine-")
        self.prefix, self.home = (os.path.join(self.root, name) for name in ("prefix", "home"))
        os.mkdir(self.home)
        self.exe, self.files, self.planted_dlls = exe, files, planted_dlls
        super().__init__()

    def _start(self):
        super()._start()
        # Wine's menu builder and fontconfig write under HOME and XDG_*_HOME: a HOME that
        # check_untouched can watch, and the cache beside it.
        self.env.update(HOME=self.home, XDG_CACHE_HOME=os.path.join(self.root, "cache"))
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"):
            self.env.pop(name)
        # No Mono or Gecko: the program needs neither, and Wine would ask to install them.
        # No menu builder: it would put menu entries and icons into HOME. The delayed DLLs
        # keep Wine's own load order, which takes a DLL beside the program for AUTHZ,
        # USERENV and dwmapi (forcing it for the others would put the planted ones under
        # Wine's own DLLs too, which Windows never does).
        self.env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        self.run(["wineboot", "-i"], timeout=180)
        self.windows_version("win10")  # a new prefix says Windows 7
        for font, replacement in (("Times New Roman", "Liberation Serif"),
                                  ("MS Shell Dlg", "Liberation Sans")):
            self.run(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                      "/v", font, "/d", replacement, "/f"])
        self.downloads = self._plant_dlls()
        self.wait_for_wine()

    def _plant_dlls(self):
        # Not the prefix's Downloads: Wine links that to HOME.
        folder = os.path.join(self.root, "downloads")
        os.mkdir(folder)
        source = os.path.join(self.root, "marker.c")
        with open(source, "w", encoding="ascii") as file:
            file.write(self.MARKER_DLL)
        marker = os.path.join(self.root, "marker.dll")
        self.run(["x86_64-w64-mingw32-gcc", "-shared", "-o", marker, source])
        for name in self.planted_dlls:
            shutil.copy(marker, os.path.join(folder, name))
        for path in (self.exe, *self.files):
            shutil.copy(path, folder)
        # The markers can tell: one loaded on purpose leaves its mark.
        self.wine("regsvr32", "/s", ".\\dwmapi.dll")
        if not os.path.exists(os.path.join(folder, "dwmapi.dll.ran")):
            raise RuntimeError("the marker DLL does not run")
        os.remove(os.path.join(folder, "dwmapi.dll.ran"))
        return folder

    def check_untouched(self, test):
        """No planted DLL has run, and nothing has been written into HOME."""
        test.assertEqual(glob.glob("*.ran", root_dir=self.downloads), [], "planted DLL ran")
        test.assertEqual(os.listdir(self.home), [], "written into HOME")

    def wine(self, *command):
        """Runs a Windows program in Downloads until Wine is idle; its exit status's low byte
        (Wine passes no more)."""
        status = subprocess.run(["wine", *command], env=self.env, capture_output=True,
                                cwd=os.path.join(self.root, "downloads"), timeout=180).returncode
        self.wait_for_wine()
        return status

    def windows_version(self, version):
        self.run(["wine", "winecfg", "-v", version])
        self.wait_for_wine()

    def leftovers(self, *names):
        """Whatever on drive C: has one of the names in its path."""
        drive = os.path.join(self.prefix, "drive_c")
        return [path for path in glob.glob("**", root_dir=drive, recursive=True)
                if any(name in path.lower() for name in names)]

    def wait_for_wine(self):
        """Until every Wine process of the prefix has ended, the server included."""
        self.run(["wineserver", "-w"], timeout=60)

    def close(self):
        if "WINEPREFIX" in self.env:
            self.run(["wineserver", "-k"], check=False)
        super().close()
        subprocess.run(["rm", "-rf", self.root], check=False)

    def start_program(self, extra_env=None, program=None, args=()):
        """The program, by default its copy among the planted DLLs."""
        program = program or os.path.join(self.downloads, os.path.basename(self.exe))
        return super().start_program(extra_env, program, args)

    def registry(self, key):
        """The key's values as a .reg text, or None where there is no such key."""
        exported = os.path.join(self.prefix, "exported.reg")
        result = subprocess.run(["wine", "reg", "export", key, exported, "/y"], env=self.env,
                                capture_output=True, timeout=60)
        if result.returncode != 0:
            return None
        with open(exported, encoding="utf-16") as file:
            return file.read()

    def user_folder(self, *parts):
        return os.path.join(self.prefix, "drive_c", "users", os.environ.get("USER", "root"),
                            *parts)


# -- the program on a session ---------------------------------------------------------------


class Program:
    """The program's window on an X server."""

    def __init__(self, session, process):
        self.session = session
        self.process = process
        self.window = None
        deadline = time.monotonic() + 20
        while not self._appeared():
            if process.poll() is not None:
                raise RuntimeError("the program ended: " + process.stderr.read())
            if time.monotonic() > deadline:
                raise RuntimeError("the window did not appear or settle")
        # Until the window manager has framed and placed it, the window may still move.
        self.wait_until_settled(region=(0, 0, 1, 1))

    def _appeared(self):
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

    def client(self, x=0, y=0, width=None, height=None):
        """A rectangle of the client area, in screen pixels, as rows of pixels."""
        left, top, full_width, full_height = self.geometry()
        return self.session.screenshot().crop(left + x, top + y, width or full_width,
                                              height or full_height)

    def tile(self, factor=1):
        """The tile's drawing area at a scale factor."""
        x, y, width, height = (round(v * factor) for v in TILE_DRAWING)
        return self.client(x, y, width, height)

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


class WaylandProgram(Program):
    def _appeared(self):
        # The compositor may still be placing and sizing it.
        node = self.node()
        placed = node and (node["rect"], node["geometry"])
        appeared = bool(placed) and placed == getattr(self, "_placed", None)
        self._placed = placed
        if not appeared:
            time.sleep(0.2)
        return appeared

    def node(self):
        """The window in sway's tree, or None while it has none."""
        nodes = [self.session.swaymsg("-t", "get_tree")]
        while nodes:
            node = nodes.pop()
            if node.get("pid") == self.process.pid:
                return node
            nodes += node.get("nodes", []) + node.get("floating_nodes", [])
        return None

    def geometry(self):
        node = self.node()
        x = node["rect"]["x"] + node["window_rect"]["x"]
        y = node["rect"]["y"] + node["window_rect"]["y"]
        size = node["geometry"]
        return tuple(round(v * self.session.scale)
                     for v in (x, y, size["width"], size["height"]))

    def click(self, x, y, button=1):
        left, top, _, _ = self.geometry()
        scale = self.session.scale
        self.session.swaymsg("seat", "-", "cursor", "set", str((left + x) / scale),
                             str((top + y) / scale))
        for action in ("press", "release"):
            self.session.swaymsg("seat", "-", "cursor", action, f"button{button}")

    def keys(self, *names):
        for name in names:
            *modifiers, key = name.split("+")
            command = ["wtype"]
            for modifier in modifiers:
                command += ["-M", modifier]
            command += ["-k", key]
            for modifier in modifiers:
                command += ["-m", modifier]
            self.session.run(command)
            time.sleep(0.03)

    def clipboard(self):
        return self.session.run(["wl-paste", "--no-newline"], check=False)


class WineProgram(Program):
    def close(self):
        if self.process.poll() is None:
            self.keys("alt+F4")
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                super().close()
        self.session.wait_for_wine()


XSession.program_type = Program
WaylandSession.program_type = WaylandProgram
WineSession.program_type = WineProgram


class Picture:
    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height

    def pixel(self, x, y):
        at = 3 * (y * self.width + x)
        return tuple(self.raw[at:at + 3])

    def crop(self, x, y, width, height):
        return [[self.pixel(x + i, y + j) for i in range(width)] for j in range(height)]


# -- the page in a browser ------------------------------------------------------------------


class PageServer:
    """The built page over HTTP on 127.0.0.1, on a free port (or the given one), in a thread of
    this process, served as ./web.sh --serve serves it."""

    def __init__(self, folder, port=0):
        sys.path.insert(0, os.path.join(ROOT, "packaging", "web"))
        import serve

        self.httpd = serve.server(folder, port, quiet=True)
        self.url = f"http://127.0.0.1:{self.httpd.server_port}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()
        self.thread.join()


LAYOUT_SHIFT_OBSERVER = """
window.layoutShift = 0;
new PerformanceObserver((list) => {
  for (const entry of list.getEntries())
    if (!entry.hadRecentInput) window.layoutShift += entry.value;
}).observe({ type: "layout-shift", buffered: true });
"""
ANDROID_USER_AGENT = ("Mozilla/5.0 (Linux; Android 13; Pixel 7) AppleWebKit/537.36 "
                      "(KHTML, like Gecko) Chrome/120.0.0.0 Mobile Safari/537.36")


class Browser:
    """Headless Chromium under chromedriver, in a process group of its own that is stopped
    whatever happens, with a fresh profile. It stands for the program: clicks, keys (by X's
    names), the clipboard and pictures in the window's client area, in CSS pixels."""

    def __init__(self, scale=1, size=(560, 420)):
        """A browser window of that size (in which the window fits at 100 %) and scale."""
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        self.profile = tempfile.mkdtemp(prefix="domino-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for argument in ("--headless", "--no-sandbox", "--enable-unsafe-swiftshader",
                         "--no-first-run", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync",
                         f"--window-size={size[0]},{size[1]}",
                         f"--force-device-scale-factor={scale}",
                         f"--user-data-dir={self.profile}"):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        # Chromium's crash handler writes under HOME whatever the profile: give it the profile.
        env = dict(os.environ, HOME=self.profile, XDG_CONFIG_HOME=self.profile,
                   XDG_CACHE_HOME=self.profile)
        self.service = Service("/usr/bin/chromedriver", env=env,
                               popen_kw={"start_new_session": True})
        try:
            self.driver = webdriver.Chrome(service=self.service, options=options)
            # Every page of this browser adds up how far its content moves as it starts.
            self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                        {"source": LAYOUT_SHIFT_OBSERVER})
            # The page exactly that size, whatever the browser's own bars take.
            self.emulate(*size, scale, touch=False, mobile=False)
        except BaseException:
            self.close()
            raise

    def close(self):
        try:
            if getattr(self, "driver", None):
                self.driver.quit()
        finally:
            try:  # whatever quit() left of chromedriver's group
                os.killpg(self.service.process.pid, signal.SIGKILL)
                self.service.process.wait()
            except (AttributeError, ProcessLookupError):
                pass
            shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, url, timeout=30):
        """Navigates to the page and waits until the window is on it and still."""
        self.driver.get(url)
        deadline = time.monotonic() + timeout
        while self.client().pixel(*self.device(*HEADING_LEFT)) != HEADING:
            if time.monotonic() > deadline:
                raise AssertionError("the window did not appear on the page")
            time.sleep(0.1)
        origin = self.driver.execute_script("return location.origin;")
        self.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "origin": origin, "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        self.wait_until_settled()

    def frame(self):
        """The canvas, which the page cuts to the window's frame: left, top, right, bottom."""
        return self.driver.execute_script(
            "const r = document.querySelector('canvas').getBoundingClientRect();"
            "return [r.left, r.top, r.right, r.bottom];")

    def layout_shift(self):
        """The page's cumulative layout shift so far, as the browser's DevTools read it."""
        answer = self.driver.execute_cdp_cmd("Runtime.evaluate",
                                             {"expression": "window.layoutShift"})
        return answer["result"]["value"]

    def placed(self):
        """Where the program says its window's client area is on the page, in CSS pixels, and
        its zoom as a factor."""
        text = self.driver.execute_script("return document.querySelector('canvas').dataset.client;")
        if not text:
            return 0, 0, 1
        left, top, percent = (float(v) for v in text.split(","))
        return left, top, percent / 100

    def emulate(self, width, height, scale, touch=True, mobile=True):
        """A phone's or a tablet's screen: its size in CSS pixels, its pixel ratio, touch; a
        mobile one says it is Android, as most of a classroom's are."""
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": scale, "mobile": mobile})
        if mobile:
            self.driver.execute_cdp_cmd("Emulation.setUserAgentOverride", {
                "userAgent": ANDROID_USER_AGENT, "platform": "Linux armv8l"})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                    {"enabled": touch, "maxTouchPoints": 5})
        self.scale = scale

    def screenshot(self, x, y, width, height):
        """A rectangle of the page in CSS pixels, as a Picture in device pixels; the rectangle
        is taken to whole device pixels, which the browser would otherwise resample."""
        x, y, width, height = (round(v * self.scale) / self.scale for v in (x, y, width, height))
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "png",
            "clip": {"x": x, "y": y, "width": width, "height": height, "scale": 1}})
        png = base64.b64decode(shot["data"])
        size = int.from_bytes(png[16:20], "big"), int.from_bytes(png[20:24], "big")
        raw = subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                             capture_output=True, check=True, timeout=20).stdout
        return Picture(raw, *size)

    def client(self):
        """The window's client area, in device pixels."""
        left, top, zoom = self.placed()
        return self.screenshot(left, top, SIZE[0] * zoom, SIZE[1] * zoom)

    def device(self, x, y):
        """A point of the window (in its own pixels) in the client area's device pixels."""
        zoom = self.placed()[2]
        return round(x * self.scale * zoom), round(y * self.scale * zoom)

    def tile(self):
        """The tile's drawing area, in device pixels."""
        x, y = self.device(*TILE_DRAWING[:2])
        w, h = self.device(*TILE_DRAWING[2:])
        return self.client().crop(x, y, w, h)

    def wait_until_settled(self, region=None, quiet_for=0.2, timeout=5):
        """Until the whole client area looks the same twice, quiet_for apart."""
        deadline = time.monotonic() + timeout
        before = self.client().raw
        while time.monotonic() < deadline:
            time.sleep(quiet_for)
            now = self.client().raw
            if now == before:
                return
            before = now

    def _pointer(self, x, y):
        left, top, zoom = self.placed()
        return left + x * zoom, top + y * zoom

    def click(self, x, y):
        from selenium.webdriver.common.action_chains import ActionChains

        actions = ActionChains(self.driver)
        actions.w3c_actions.pointer_action.move_to_location(
            *(round(v) for v in self._pointer(x, y)))
        actions.w3c_actions.pointer_action.click()
        actions.perform()
        self.wait_until_settled()

    def tap(self, x, y):
        """Touches (x, y) of the client area with a finger."""
        self.swipe(x, y, x, y)

    def swipe(self, x, y, to_x, to_y, steps=8):
        """A finger down at (x, y) of the client area, moved to (to_x, to_y) and lifted."""
        def touch(kind, at=None):
            points = [dict(zip("xy", self._pointer(*at)))] if at else []
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                        {"type": kind, "touchPoints": points})

        touch("touchStart", (x, y))
        if (x, y) != (to_x, to_y):
            for step in range(1, steps + 1):
                touch("touchMove", (x + (to_x - x) * step / steps, y + (to_y - y) * step / steps))
        touch("touchEnd")
        self.wait_until_settled()

    def keys(self, *names):
        """Keys by X's names, a modifier joined by "+" (ctrl+c)."""
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.keys import Keys

        actions = ActionChains(self.driver)
        for name in names:
            *modifiers, key = (getattr(Keys, {"CTRL": "CONTROL"}.get(part.upper(), part.upper()),
                                       part) for part in name.split("+"))
            for modifier in modifiers:
                actions.key_down(modifier)
            actions.send_keys(key)
            for modifier in modifiers:
                actions.key_up(modifier)
        actions.perform()
        self.wait_until_settled()

    def clipboard(self):
        return self.driver.execute_async_script(
            "navigator.clipboard.readText().then(arguments[0], arguments[0]);")

    def wait_for(self, script, timeout=30):
        """Runs an asynchronous script (it calls arguments[0] with its answer) until it answers
        something true, and returns that."""
        deadline = time.monotonic() + timeout
        while not (answer := self.driver.execute_async_script(script)):
            if time.monotonic() > deadline:
                raise AssertionError(f"no answer within {timeout} s: {script}")
            time.sleep(0.2)
        return answer


# -- test cases -----------------------------------------------------------------------------


class SessionTestCase(unittest.TestCase):
    """One session (an X server unless said otherwise) for all the tests of a class, stopped
    after the last of them."""

    session_type = XSession
    session_options = {}

    @classmethod
    def setUpClass(cls):
        cls.session = cls.session_type(**cls.session_options)

    @classmethod
    def tearDownClass(cls):
        cls.session.close()


class ProgramTestCase(SessionTestCase):
    """... and the program started afresh for each test."""

    def setUp(self):
        self.program = self.session.start_program()
        self.addCleanup(self.program.close)


class PupilSteps:
    """What a pupil does and sees, on any display whose program offers click, keys, clipboard
    and tile in screen pixels."""

    # What a pupil does, and the tile it picks: "2" jumps to 2:2, three steps down reach 2:5.
    PICKS = ((("click", *FIRST_ROW), "0:0"), (("keys", "2", "Down", "Down", "Down"), "2:5"),
             (("keys", "End"), "6:6"), (("keys", "Up", "Up", "Up"), "4:6"))

    def settle(self):
        # The tile and the list: the report box's blinking cursor never settles.
        self.program.wait_until_settled(region=LIST_AND_TILE, quiet_for=0.15)

    def copied_report(self):
        """Copies the whole report box with the keyboard, then gives the list the focus back."""
        self.program.click(*TEXT)
        self.program.keys("ctrl+a", "ctrl+c")
        time.sleep(0.1)
        text = self.program.clipboard()
        self.program.keys("Tab")
        return text

    def tile_on_screen(self):
        return [[pixel == INK for pixel in row] for row in self.program.tile()]

    def assertTileShows(self, upper, lower):
        wanted = expected_tile(upper, lower)
        shown = self.tile_on_screen()
        wrong = [(x, y) for y in range(156) for x in range(76) if shown[y][x] != wanted[y][x]]
        self.assertEqual(wrong[:8], [], f"tile {upper}:{lower} differs at these pixels")

    def check_picking(self, picks=PICKS, heard=None):
        """Each pick draws its tile and writes its report, and is heard where heard says."""
        self.assertTileShows(0, 0)
        for (action, *arguments), label in picks:
            getattr(self.program, action)(*arguments)
            self.settle()
            self.assertTileShows(int(label[0]), int(label[2]))
            if heard:
                heard(expected_report(label), tile_said(label))
            self.assertEqual(self.copied_report(), expected_report(label))

    def check_clearing(self, presses, heard=None):
        """The button, clicked or pressed by a key once it has the focus, returns to the bare
        tile and the prompt; Enter in the list changes nothing."""
        for press in presses:
            with self.subTest(press):
                self.program.click(*FIRST_ROW)
                self.program.keys("3", "Return")
                self.settle()
                self.assertTileShows(3, 3)

                if press == "click":
                    self.program.click(*BUTTON)
                else:
                    self.program.keys("Tab", press)
                self.settle()
                self.assertTileShows(0, 0)
                if heard:
                    heard(PROMPT, NO_TILE)
                self.assertEqual(self.copied_report(), PROMPT)

    def check_fixed_centred_captioned(self, forbidden_functions):
        """On an X server: the client area at its size and centred in its frame on the screen,
        the caption, a fixed size, no forbidden window-manager functions, a close box and an
        icon. Returns the Motif hints' flags and decorations."""
        x, y, width, height = self.program.geometry()
        self.assertEqual((width, height), SIZE)
        left, right, top, bottom = self.program.frame_extents()
        frame_w, frame_h = width + left + right, height + top + bottom
        self.assertLessEqual(abs(x - left - (self.session.width - frame_w) / 2), 1)
        self.assertLessEqual(abs(y - top - (self.session.height - frame_h) / 2), 1)

        self.assertIn(f'"{CAPTION}"', self.program.property("_NET_WM_NAME"))
        hints = self.program.property("WM_NORMAL_HINTS")
        self.assertIn("minimum size: {} by {}".format(*SIZE), hints)
        self.assertIn("maximum size: {} by {}".format(*SIZE), hints)
        # Motif hints: functions and decorations the window asks for.
        values = self.program.property("_MOTIF_WM_HINTS").split("=")[1].split(",")
        flags, functions, decorations = (int(v, 16) for v in values[:3])
        self.assertFalse(functions & forbidden_functions, "resizing, minimising or maximising")
        self.assertTrue(functions & 0x20, "no close")
        self.assertIn("Icon (32 x 32)", self.program.property("_NET_WM_ICON"))
        return flags, decorations


class PupilOnX(PupilSteps):
    """A pupil's picking, copying, covering and clearing, on an X server."""

    def test_picking_with_mouse_and_keys(self):
        self.check_picking()

    def test_drawing_survives_cover_and_move(self):
        self.program.click(*FIRST_ROW)
        self.program.keys("End")
        self.settle()
        self.assertTileShows(6, 6)

        left, top, _, _ = self.program.geometry()
        cover = self.session.spawn(
            ["xmessage", "-geometry", f"300x300+{left + 100}+{top + 10}", "cover"])
        time.sleep(0.5)
        self.assertNotEqual(self.tile_on_screen(), expected_tile(6, 6))
        cover.terminate()
        cover.wait()
        self.settle()
        self.assertTileShows(6, 6)

        self.program.xdotool("windowmove", "--sync", self.program.window, "40", "60")
        self.settle()
        self.assertNotEqual(self.program.geometry()[:2], (left, top))
        self.assertTileShows(6, 6)

    def test_clear_button_returns_to_idle(self):
        self.check_clearing(("click", "space", "Return", "KP_Enter"))


def check_zoom_steps(test, program, steps):
    """Presses each key (or turns the wheel with Ctrl held) and checks the client area's size
    at the zoom in per cent that should follow."""
    for key, percent in steps:
        if key.startswith("wheel"):
            left, top, width, height = program.geometry()
            program.xdotool("mousemove", str(left + width // 2), str(top + height // 2),
                            "keydown", "ctrl", "click", "4" if key == "wheel up" else "5",
                            "keyup", "ctrl")
        else:
            program.keys(key)
        program.wait_until_settled(region=(0, 0, 1, 1), quiet_for=0.2)
        left, top, width, height = program.geometry()
        for got, designed in zip((width, height), SIZE):
            test.assertLessEqual(abs(got - designed * percent / 100), 2, f"{key} to {percent}")
        # Kept whole on the screen.
        test.assertTrue(left >= 0 and top >= 0 and left + width <= program.session.width
                        and top + height <= program.session.height, f"{key}: off the screen")


def pick_last_tile(program, factor):
    """Picks 6:6, the tile with the most pips, at a scale factor: the list's first row, then
    End; waits until the tile is drawn."""
    program.click(*(round(v * factor) for v in FIRST_ROW))
    program.keys("End")
    program.wait_until_settled(region=tuple(round(v * factor) for v in TILE), quiet_for=0.2)


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


def check_sharp_tile(test, tile, factor, pips=12):
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
