# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every screen the desktop tests use, one module each: Xvfb with openbox (x), a headless sway
(sway), Wine on Xvfb (wine), and headless Chromium with the page's server (chromium); what
they share (processes), screenshots (images), what the program must show (facts), the test
cases and steps the test modules share (cases), and the built web page with what a browser tells
of it (page). The test modules import all of it from here."""

from .cases import (PupilOnX, PupilSteps, ProgramTestCase, SessionTestCase, check_zoom_steps,
                    pick_last_tile)
from .chromium import Browser, PageServer
from .facts import (BUILD, BUTTON, CAPTION, EXPECTED, FIRST_ROW, FORM, HEADING, HEADING_AREA,
                    HEADING_LEFT, INK, LIST_AND_TILE, NAMES, NO_TILE, PROGRAM, PROMPT, RED, ROOT,
                    SIZE, SKIP, TEXT, TILE, TILE_DRAWING, TILES, cached_qt, expected_report,
                    expected_tile, facts, halves_said, menu_entry, report_lines, tile_said)
from .images import Picture, check_sharp_tile, components
from .page import (FIRST_VISIT_KIB, PAGE, accessibility_tree, brotli_size, first_visit_kib, heard,
                   page_files, role, said, serve_page, unnamed_fields)
from .processes import Program, Session, find_tool, wait_until
from .sway import VirtualPointer, WaylandProgram, WaylandSession
from .wine import WineProgram, WineSession
from .x import XProgram, XSession

__all__ = [
    "BUILD", "BUTTON", "Browser", "CAPTION", "EXPECTED", "FIRST_ROW", "FIRST_VISIT_KIB", "FORM",
    "HEADING", "PAGE", "accessibility_tree", "brotli_size", "first_visit_kib", "heard", "page_files", "role",
    "said", "serve_page", "unnamed_fields",
    "HEADING_AREA", "HEADING_LEFT", "INK", "LIST_AND_TILE", "NAMES", "NO_TILE", "PROGRAM",
    "PROMPT", "PageServer", "Picture", "Program", "ProgramTestCase", "PupilOnX", "PupilSteps",
    "RED", "ROOT", "SIZE", "SKIP", "Session", "SessionTestCase", "TEXT", "TILE", "TILES",
    "TILE_DRAWING", "VirtualPointer", "WaylandProgram", "WaylandSession", "WineProgram",
    "WineSession", "XProgram", "XSession", "cached_qt", "check_sharp_tile", "check_zoom_steps",
    "components", "expected_report", "expected_tile", "facts", "find_tool", "halves_said",
    "menu_entry", "pick_last_tile", "report_lines", "tile_said", "wait_until",
]
