# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program on a Wayland compositor (a headless sway), native through Qt's Wayland plugin:
the shell knows it by its menu entry and floats it at its fixed size; keys, the pointer and
the clipboard work as on X; at scale 2 it draws at the screen's resolution."""

import time
import unittest

from harness import (CAPTION, HEADING_AREA, SIZE, TILE_DRAWING, ProgramTestCase, PupilSteps,
                     WaylandSession, check_sharp_tile, facts, pick_last_tile)


class WindowOnWayland(ProgramTestCase, PupilSteps):
    session_type = WaylandSession

    def test_shell_knows_it_by_its_menu_entry_and_floats_it_at_its_size(self):
        node = self.program.node()
        self.assertEqual(node["app_id"], facts()["app_id"])
        self.assertEqual(node["shell"], "xdg_shell")
        self.assertEqual(node["name"], CAPTION)
        self.assertEqual(node["type"], "floating_con")
        self.assertEqual(self.program.geometry()[2:], SIZE)

        self.session.swaymsg(f"[pid={self.program.process.pid}]", "resize", "set", "600", "500")
        time.sleep(0.5)
        self.assertEqual(self.program.geometry()[2:], SIZE)

    def test_picking_with_pointer_and_keys_and_clearing(self):
        self.check_picking()
        self.check_clearing(("click",))


class WindowOnWaylandAtScale2(ProgramTestCase):
    session_type = WaylandSession
    session_options = {"scale": 2}

    def test_drawn_at_the_screens_resolution(self):
        pick_last_tile(self.program, 2)
        left, top, width, height = self.program.geometry()
        self.assertEqual((width, height), (2 * SIZE[0], 2 * SIZE[1]))
        shot = self.session.screenshot()
        # The tile's drawing area, less a device pixel at each edge for the border.
        x, y, w, h = (2 * v for v in TILE_DRAWING)
        tile = shot.crop(left + x + 1, top + y + 1, w - 2, h - 2)
        check_sharp_tile(self, tile, 2)

        # Sharp text: a 1x heading doubled would be uniform in every aligned 2x2 block.
        x, y, w, h = (2 * v for v in HEADING_AREA)
        heading = shot.crop(left + x, top + y, w, h)
        mixed = sum(1 for y in range(0, len(heading), 2) for x in range(0, len(heading[0]), 2)
                    if len({heading[y][x], heading[y][x + 1], heading[y + 1][x],
                            heading[y + 1][x + 1]}) > 1)
        self.assertGreater(mixed, 100, "the heading looks scaled up from 1x")


if __name__ == "__main__":
    unittest.main()
