# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program on a real X server with a window manager, used as a pupil uses it."""

import unittest

from harness import ProgramTestCase, PupilOnX, menu_entry


class WindowOnX(ProgramTestCase, PupilOnX):
    def test_window_is_centred_fixed_and_captioned(self):
        flags, decorations = self.check_fixed_centred_captioned(0x08 | 0x10)
        self.assertEqual(flags & 3, 3)
        self.assertFalse(decorations & (0x20 | 0x40), "minimise or maximise button")
        # A shell on X11 finds the menu entry, and so the name and icon, by the window's class.
        wm_class = menu_entry().split("StartupWMClass=")[1].split()[0]
        self.assertIn(f'"{wm_class}"', self.program.property("WM_CLASS"))


if __name__ == "__main__":
    unittest.main()
