# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program on a Wayland compositor (a headless sway), native through Qt's Wayland plugin:
the shell knows it by its menu entry and floats it at its fixed size; keys, the pointer and
the clipboard work as on X; at scale 2 it draws at the screen's resolution."""

import json
import os
import socket
import struct
import subprocess
import tempfile
import time
import unittest

import xsession
from test_window_on_x import BUTTON, CAPTION, LIST, MENU_ENTRY, PROMPT, PupilSteps
from xsession import Picture, check_sharp_tile, expected_report as report

APP_ID = os.path.basename(MENU_ENTRY).removesuffix(".desktop")
NOBODY = 65534  # sway will not run as root


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


class WaylandSession(xsession.XSession):
    """A headless sway instead of Xvfb and openbox; the processes are kept and stopped as the
    X session keeps and stops them. Sizes and positions are in the screen's pixels."""

    def __init__(self, scale=1, width=1024, height=768):
        self._processes = []
        self.scale, self.width, self.height = scale, width * scale, height * scale
        self.pointer = None
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(
            ("QT_", "DBUS_", "XDG_RUNTIME", "WAYLAND", "DISPLAY", "SWAYSOCK"))}
        self.env["XDG_SESSION_TYPE"] = "wayland"  # and no QT_QPA_PLATFORM: Qt's own choice
        self.runtime_dir = tempfile.mkdtemp(prefix="domino-runtime-")
        self.env["XDG_RUNTIME_DIR"] = self.runtime_dir
        self.sway_dir = tempfile.mkdtemp(prefix="domino-sway-")
        try:
            self._start_sway(width, height)
            self._attach_input()
        except BaseException:
            self.close()
            raise

    def _start_sway(self, width, height):
        os.chown(self.sway_dir, NOBODY, NOBODY)
        config = os.path.join(self.sway_dir, "config")
        with open(config, "w") as file:
            file.write(f"xwayland disable\noutput * mode {self.width}x{self.height} "
                       f"scale {self.scale}\n")
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.sway_dir,
               "XDG_RUNTIME_DIR": self.sway_dir, "WLR_BACKENDS": "headless",
               "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        sway = self._spawn(["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}",
                            "--clear-groups", "sway", "-c", config], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if sway.poll() is not None:
                last = (sway.stderr.read().strip().splitlines() or ["no message"])[-1]
                raise unittest.SkipTest(f"sway could not start: {last}")
            names = os.listdir(self.sway_dir)
            display = [n for n in names if n.startswith("wayland-") and "." not in n]
            ipc = [n for n in names if n.startswith("sway-ipc.")]
            if display and ipc:
                self.env["WAYLAND_DISPLAY"] = os.path.join(self.sway_dir, display[0])
                self.env["SWAYSOCK"] = os.path.join(self.sway_dir, ipc[0])
                return
            time.sleep(0.05)
        raise RuntimeError("sway did not open its sockets")

    def _attach_input(self):
        self._spawn(["wtype", "-s", "3600000"], stdout=subprocess.DEVNULL,
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

    def start_program(self, extra_env=None, program=xsession.PROGRAM, args=()):
        env = dict(self.env, **(extra_env or {}))
        process = self._spawn([program, *args], env=env, stderr=subprocess.PIPE, text=True)
        return WaylandProgram(self, process)

    def screenshot(self):
        # sway draws the cursor into the picture: out of the way first.
        self.swaymsg("seat", "-", "cursor", "set", str(self.width), str(self.height))
        ppm = subprocess.run(["grim", "-t", "ppm", "-"], env=self.env, capture_output=True,
                             check=True, timeout=20).stdout
        header = ppm.split(b"\n", 3)  # P6, width height, maximum value, pixels
        width, height = (int(v) for v in header[1].split())
        return Picture(header[3], width, height)


class WaylandProgram(xsession.Program):
    def __init__(self, session, process):
        self.session, self.process = session, process
        deadline = time.monotonic() + 20
        before = None
        while True:
            if process.poll() is not None:
                raise RuntimeError("the program ended: " + process.stderr.read())
            if time.monotonic() > deadline:
                raise RuntimeError("the window did not appear or settle")
            node = self.node()
            # The compositor may still be placing and sizing it.
            if node and (node["rect"], node["geometry"]) == before:
                break
            before = node and (node["rect"], node["geometry"])
            time.sleep(0.2)
        self.wait_until_settled(region=(0, 0, 1, 1))

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


class WaylandTestCase(xsession.ProgramTestCase):
    scale = 1

    @classmethod
    def setUpClass(cls):
        cls.session = WaylandSession(scale=cls.scale)


class WindowOnWayland(WaylandTestCase, PupilSteps):
    def test_shell_knows_it_by_its_menu_entry_and_floats_it_at_its_size(self):
        node = self.program.node()
        self.assertEqual(node["app_id"], APP_ID)
        self.assertEqual(node["shell"], "xdg_shell")
        self.assertEqual(node["name"], CAPTION)
        self.assertEqual(node["type"], "floating_con")
        self.assertEqual(self.program.geometry()[2:], (461, 345))

        self.session.swaymsg(f"[pid={self.program.process.pid}]", "resize", "set", "600", "500")
        time.sleep(0.5)
        self.assertEqual(self.program.geometry()[2:], (461, 345))

    def test_picking_with_pointer_and_keys_and_clearing(self):
        self.program.click(LIST[0] + 30, LIST[1] + 10)  # the first row
        self.settle()
        self.assertEqual(self.copied_report(), report("0:0"))

        self.program.keys("2", "Down", "Down", "Down")
        self.settle()
        self.assertTileShows(2, 5)
        self.assertEqual(self.copied_report(), report("2:5"))

        self.program.click(*BUTTON)
        self.settle()
        self.assertTileShows(0, 0)
        self.assertEqual(self.copied_report(), PROMPT)


class WindowOnWaylandAtScale2(WaylandTestCase):
    scale = 2

    def test_drawn_at_the_screens_resolution(self):
        self.program.click(2 * (LIST[0] + 30), 2 * (LIST[1] + 10))
        self.program.keys("End")
        self.program.wait_until_settled(region=(2 * 136, 2 * 32, 2 * 80, 2 * 160),
                                        quiet_for=0.2)
        left, top, width, height = self.program.geometry()
        self.assertEqual((width, height), (2 * 461, 2 * 345))
        shot = self.session.screenshot()
        # The tile's drawing area, less a device pixel at each edge for the border.
        tile = shot.crop(left + 2 * 138 + 1, top + 2 * 34 + 1, 2 * 76 - 2, 2 * 156 - 2)
        check_sharp_tile(self, tile, 2, pips=12)

        # Sharp text: a 1x heading doubled would be uniform in every aligned 2x2 block.
        heading = shot.crop(left + 2 * 64, top, 2 * 305, 2 * 25)
        mixed = sum(1 for y in range(0, len(heading), 2) for x in range(0, len(heading[0]), 2)
                    if len({heading[y][x], heading[y][x + 1], heading[y + 1][x],
                            heading[y + 1][x + 1]}) > 1)
        self.assertGreater(mixed, 100, "the heading looks scaled up from 1x")


if __name__ == "__main__":
    unittest.main()
