# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program on a real X server with a window manager, used as a pupil uses it."""

import os
import time
import unittest

from xsession import INK, ProgramTestCase, expected_report as report, expected_tile

CAPTION = "Рисуване - плочки на домино"
PROMPT = "Изберете плочка!"

# Client-area positions of the controls, in pixels.
LIST = (16, 32)
BUTTON = (16 + 52, 160 + 12)
TEXT = (8 + 200, 208 + 60)
TILE_AREA = (136 + 2, 32 + 2)

MENU_ENTRY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "packaging",
                          "bg.domino_tiles.DominoTiles.desktop")


class PupilSteps:
    """What a pupil does and sees, on any display whose session offers click, keys,
    clipboard and screenshot in screen pixels."""

    def settle(self):
        # The tile and the list: the report box's blinking cursor never settles.
        self.program.wait_until_settled(region=(16, 32, 200, 160), quiet_for=0.15)

    def copied_report(self):
        """Copies the whole report box with the keyboard, then gives the list the focus back."""
        self.program.click(*TEXT)
        self.program.keys("ctrl+a", "ctrl+c")
        time.sleep(0.1)
        text = self.program.clipboard()
        self.program.keys("Tab")
        return text

    def tile_on_screen(self):
        left, top, _, _ = self.program.geometry()
        area = self.session.screenshot().crop(left + TILE_AREA[0], top + TILE_AREA[1], 76, 156)
        return [[pixel == INK for pixel in row] for row in area]

    def assertTileShows(self, upper, lower):
        wanted = expected_tile(upper, lower)
        shown = self.tile_on_screen()
        wrong = [(x, y) for y in range(156) for x in range(76) if shown[y][x] != wanted[y][x]]
        self.assertEqual(wrong[:8], [], f"tile {upper}:{lower} differs at these pixels")


class WindowOnX(ProgramTestCase, PupilSteps):
    def test_window_is_centred_fixed_and_captioned(self):
        x, y, width, height = self.program.geometry()
        self.assertEqual((width, height), (461, 345))
        left, right, top, bottom = self.program.frame_extents()
        frame_x, frame_y = x - left, y - top
        frame_w, frame_h = width + left + right, height + top + bottom
        self.assertLessEqual(abs(frame_x - (1024 - frame_w) / 2), 1)
        self.assertLessEqual(abs(frame_y - (768 - frame_h) / 2), 1)

        self.assertIn(f'"{CAPTION}"', self.program.property("_NET_WM_NAME"))
        # A shell on X11 finds the menu entry, and so the name and icon, by the window's class.
        with open(MENU_ENTRY, encoding="utf-8") as entry:
            wm_class = entry.read().split("StartupWMClass=")[1].split()[0]
        self.assertIn(f'"{wm_class}"', self.program.property("WM_CLASS"))
        hints = self.program.property("WM_NORMAL_HINTS")
        self.assertIn("minimum size: 461 by 345", hints)
        self.assertIn("maximum size: 461 by 345", hints)

        # Motif hints: functions and decorations the window asks for.
        values = self.program.property("_MOTIF_WM_HINTS").split("=")[1].split(",")
        flags, functions, decorations = (int(v, 16) for v in values[:3])
        self.assertEqual(flags & 3, 3)
        self.assertFalse(functions & (0x08 | 0x10), "minimise or maximise allowed")
        self.assertTrue(functions & 0x20, "no close")
        self.assertFalse(decorations & (0x20 | 0x40), "minimise or maximise button")
        self.assertIn("Icon (32 x 32)", self.program.property("_NET_WM_ICON"))

    def test_picking_with_mouse_and_keys(self):
        self.assertTileShows(0, 0)
        self.program.click(LIST[0] + 30, LIST[1] + 10)  # the first row
        self.settle()
        self.assertTileShows(0, 0)
        self.assertEqual(self.copied_report(), report("0:0"))

        # "2" jumps to 2:2, three steps down reach 2:5.
        self.program.keys("2", "Down", "Down", "Down")
        self.settle()
        self.assertTileShows(2, 5)
        self.assertEqual(self.copied_report(), report("2:5"))

        self.program.keys("End")
        self.settle()
        self.assertTileShows(6, 6)
        self.assertEqual(self.copied_report(), report("6:6"))

        self.program.keys("Up", "Up", "Up")
        self.settle()
        self.assertTileShows(4, 6)
        self.assertEqual(self.copied_report(), report("4:6"))

    def test_drawing_survives_cover_and_move(self):
        self.program.click(LIST[0] + 30, LIST[1] + 10)
        self.program.keys("End")
        self.settle()
        self.assertTileShows(6, 6)

        left, top, _, _ = self.program.geometry()
        cover = self.session._spawn(
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
        # Clicked, or pressed by Space or Enter once it has the focus; Enter in the list
        # changes nothing.
        for press in ("click", "space", "Return", "KP_Enter"):
            with self.subTest(press):
                self.program.click(LIST[0] + 30, LIST[1] + 10)
                self.program.keys("3", "Return")
                self.settle()
                self.assertTileShows(3, 3)

                if press == "click":
                    self.program.click(*BUTTON)
                else:
                    self.program.keys("Tab", press)
                self.settle()
                self.assertTileShows(0, 0)
                self.assertEqual(self.copied_report(), PROMPT)


if __name__ == "__main__":
    unittest.main()
