# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Test cases and steps the test modules share: a session for a class, the program for each
test, and what a pupil does and sees."""

import time
import unittest

from .chromium import Browser
from .facts import (BUTTON, CAPTION, FIRST_ROW, INK, LIST_AND_TILE, NO_TILE, PROMPT, SIZE, TEXT,
                    TILE, TILE_HEIGHT, TILE_WIDTH, expected_report, expected_tile, tile_said)
from .x import XSession


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
        if isinstance(self.program, Browser):
            # The page's whole window, as every action in the browser waits for it.
            self.program.wait_until_settled(quiet_for=0.15)
        else:
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
        wrong = [(x, y) for y in range(TILE_HEIGHT) for x in range(TILE_WIDTH)
                 if shown[y][x] != wanted[y][x]]
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
