# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""High-resolution screens: the whole window scales with QT_SCALE_FACTOR, controls keep
apart, captions stay whole and the tile stays sharp: round 15-pixel dots, a 1-pixel divider,
only ink and face, never a blurred upscaled picture (all in logical pixels). A projector: the
zoom keys and Ctrl+wheel make the window larger in steps, exactly as that factor would, and the
step is remembered."""

import math
import os
import shutil
import unittest

from harness import (FORM, HEADING, HEADING_AREA, RED, SIZE, TILE_DRAWING, SessionTestCase,
                     check_sharp_tile, check_zoom_steps, pick_last_tile)

# Strips of the form's own background between neighbouring controls, in logical pixels
# (x, y, width, height): if two controls grew into each other, a strip would be covered.
GAPS = {
    "heading above list, tile and photo": (64, 25, 305, 7),
    "list and tile": (113, 32, 23, 118),
    "button and tile": (121, 160, 15, 25),
    "tile and photo": (216, 32, 8, 160),
    "list above button": (16, 150, 97, 10),
    "button above report": (16, 185, 105, 23),
    "tile above report": (136, 192, 80, 16),
    "photo above report": (224, 198, 224, 10),
}


class Scaling(SessionTestCase):
    session_options = {"width": 2000, "height": 1400}

    def check_scale(self, factor):
        program = self.session.start_program({"QT_SCALE_FACTOR": str(factor)})
        self.addCleanup(program.close)
        left, top, width, height = program.geometry()
        self.assertLessEqual(abs(width - SIZE[0] * factor), 1)
        self.assertLessEqual(abs(height - SIZE[1] * factor), 1)

        pick_last_tile(program, factor)
        program.wait_until_settled(quiet_for=0.2, region=(0, 0, round(230 * factor), 10))
        shot = self.session.screenshot()

        def region(x, y, w, h, inset=1):
            """Device pixels of a logical rectangle, less an inset for rounding."""
            x0, y0 = math.ceil(x * factor) + inset, math.ceil(y * factor) + inset
            x1, y1 = math.floor((x + w) * factor) - inset, math.floor((y + h) * factor) - inset
            return shot.crop(left + x0, top + y0, x1 - x0, y1 - y0)

        for name, strip in GAPS.items():
            colours = {pixel for row in region(*strip) for pixel in row}
            self.assertEqual(colours, {FORM}, f"{name}: controls overlap at {factor}")

        # Captions whole: a clear margin of the face on both sides of each caption, inside the
        # button's bevel of two lines, each a logical pixel wide.
        for name, (x, y, w, h), face in (("heading", HEADING_AREA, HEADING),
                                         ("button", (16, 160, 105, 25), RED)):
            area = region(x, y, w, h, inset=math.ceil(2 * factor) + 1)
            for edge in (0, len(area[0]) - 1):
                column = {row[edge] for row in area[2:-2]}
                self.assertEqual(column, {face}, f"{name} caption touches its edge at {factor}")

        # The tile's drawing area, 2 logical pixels inside its border.
        check_sharp_tile(self, region(*TILE_DRAWING), factor)

    def test_scale_1(self):
        self.check_scale(1)

    def test_scale_1_25(self):
        self.check_scale(1.25)

    def test_scale_1_5(self):
        self.check_scale(1.5)

    def test_scale_2(self):
        self.check_scale(2)

    def test_scale_3(self):
        self.check_scale(3)


class Zoom(SessionTestCase):
    """A full-HD projector: every step fits it."""

    session_options = {"width": 1920, "height": 1080}

    def setUp(self):
        shutil.rmtree(self.session.env["XDG_CONFIG_HOME"])
        os.makedirs(self.session.env["XDG_CONFIG_HOME"])

    def start(self, *args, **env):
        program = self.session.start_program(env, args=args)
        self.addCleanup(program.close)
        return program

    def test_keys_and_wheel_step_through_every_zoom_and_it_is_remembered(self):
        program = self.start()
        check_zoom_steps(self, program, [("ctrl+plus", 125), ("ctrl+equal", 150), ("ctrl+plus", 200),
                                   ("KP_Add", 200), ("ctrl+KP_Add", 250), ("ctrl+plus", 300),
                                   ("ctrl+plus", 300), ("ctrl+minus", 250), ("ctrl+0", 100),
                                   # 75 % would give the window less than a pixel for each
                                   # of its own on this screen.
                                   ("ctrl+minus", 100), ("wheel down", 100),
                                   ("wheel up", 125)])
        program.close()
        # The last step is there again at the next start; --zoom wins for one run.
        self.assertEqual(self.start().geometry()[2:], tuple(round(v * 1.25) for v in SIZE))
        self.assertEqual(self.start("--zoom", "200").geometry()[2:], tuple(2 * v for v in SIZE))
        self.assertEqual(self.start().geometry()[2:], tuple(round(v * 1.25) for v in SIZE))

    def test_a_pick_at_200_looks_as_under_scale_factor_2(self):
        zoomed = self.start()
        check_zoom_steps(self, zoomed, [("ctrl+plus", 125), ("ctrl+plus", 150), ("ctrl+plus", 200)])
        pick_last_tile(zoomed, 2)
        zoomed.wait_until_settled()
        seen = zoomed.client()
        zoomed.close()
        scaled = self.start(QT_SCALE_FACTOR="2", XDG_CONFIG_HOME=self.session.runtime_dir)
        pick_last_tile(scaled, 2)
        scaled.wait_until_settled()
        self.assertEqual(scaled.geometry()[2:], tuple(2 * v for v in SIZE))
        self.assertTrue(seen == scaled.client(), "the window at 200 % differs from a factor of 2")


if __name__ == "__main__":
    unittest.main()
