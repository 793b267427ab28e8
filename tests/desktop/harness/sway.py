# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""A headless sway, and the program's window on it, native through Qt's Wayland plugin; its
pointer a virtual one spoken to over Wayland's wire protocol."""

import json
import os
import socket
import struct
import subprocess
import tempfile
import time
import unittest

from .images import Picture
from .processes import Program, Session, wait_until

NOBODY = 65534  # sway will not run as root


class VirtualPointer:
    """One zwlr_virtual_pointer_v1, kept attached: sway forgets the seat's pointer, and with
    it swaymsg's clicks, when no pointer device is left. Speaks the wire protocol directly."""

    def __init__(self, socket_path):
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.settimeout(10)  # a compositor that never answers fails the session
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
            try:
                chunk = self.socket.recv(65536)
            except TimeoutError:
                raise TimeoutError("the compositor's globals: not within 10 s") from None
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


class WaylandProgram(Program):
    """The program's window on sway; sizes and positions in the screen's pixels."""

    def appeared(self):
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


class WaylandSession(Session):
    """A headless sway, run as nobody from a folder of its own. Sizes and positions are in
    the screen's pixels."""

    program_type = WaylandProgram

    def __init__(self, scale=1, width=1024, height=768):
        self.scale, self.width, self.height = scale, width * scale, height * scale
        self.pointer = None
        self.sway_dir = tempfile.mkdtemp(prefix="domino-sway-")
        super().__init__(dropped=("DISPLAY", "SWAYSOCK"))

    def start_screen(self):
        self.env["XDG_SESSION_TYPE"] = "wayland"  # and no QT_QPA_PLATFORM: Qt's own choice
        os.chown(self.sway_dir, NOBODY, NOBODY)
        config = os.path.join(self.sway_dir, "config")
        with open(config, "w") as file:
            file.write(f"xwayland disable\noutput * mode {self.width}x{self.height} "
                       f"scale {self.scale}\n")
        env = {"PATH": os.environ.get("PATH", os.defpath), "HOME": self.sway_dir,
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
                raise TimeoutError("sway did not open its sockets within 10 s")
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
        wait_until("a keyboard and a pointer on the seat",
                   lambda: self.swaymsg("-t", "get_seats")[0]["capabilities"] == 3,  # both
                   timeout=10)

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
