# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader finds over AT-SPI: every control named in Bulgarian, the list's
entries and selection, the report's text, and a tile picture that says what it shows."""

import json
import os
import re
import unittest

from harness import (BUTTON, CAPTION, EXPECTED, NAMES, NO_TILE, PROMPT, TILE, TILES,
                     ProgramTestCase, expected_report, facts, pick_last_tile, tile_said)

CYRILLIC = re.compile("[А-я]")


def walk(node):
    yield node
    for child in node["children"]:
        yield from walk(child)


class Accessibility(ProgramTestCase):
    session_options = {"accessibility": True}

    def tree(self):
        dump = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_dump.py")
        # Debian's Python, for which python3-pyatspi is installed, whatever Python runs this.
        out = self.session.run(["/usr/bin/python3", dump, facts()["executable"]], timeout=60)
        return list(walk(json.loads(out)))

    def only(self, nodes, role, name=None):
        found = [n for n in nodes if n["role"] == role and (name is None or n["name"] == name)]
        self.assertEqual(len(found), 1, f"{role} {name!r}: {[n['name'] for n in found]}")
        return found[0]

    def check_reader_hears(self, label):
        """The tile says what it shows, the report box holds the report (the prompt where
        nothing is picked), and the list has that entry selected."""
        nodes = self.tree()
        tile = self.only(nodes, "image", NAMES["tile"])
        self.assertEqual(tile["description"], tile_said(label) if label else NO_TILE)
        self.assertEqual(self.only(nodes, "text")["text"],
                         expected_report(label) if label else PROMPT)
        entries = self.only(nodes, "list")["children"]
        self.assertEqual([e["name"] for e in entries if "selected" in e["states"]],
                         [label] if label else [])

    def test_controls_are_named_in_bulgarian(self):
        nodes = self.tree()
        for role, key in (("text", "report"), ("label", "heading"), ("list", "list"),
                          ("button", "button"), ("image", "tile"), ("image", "photo")):
            node = self.only(nodes, role, NAMES[key])
            self.assertRegex(node["name"], CYRILLIC)
        self.assertTrue([n for n in nodes if n["name"] == CAPTION], "no frame")

        entries = self.only(nodes, "list")["children"]
        self.assertEqual([e["name"] for e in entries], TILES)
        self.assertFalse([e for e in entries if "selected" in e["states"]])

        report = self.only(nodes, "text")
        self.assertTrue(report["text"].startswith(EXPECTED["description_start"]))
        self.assertIn("focused", report["states"])
        tile = self.only(nodes, "image", NAMES["tile"])
        self.assertEqual(tile["description"], NO_TILE)

    def test_reader_follows_picks_and_clearing(self):
        pick_last_tile(self.program, 1)
        self.check_reader_hears("6:6")
        self.program.click(*BUTTON)
        self.program.wait_until_settled(region=TILE, quiet_for=0.15)
        self.check_reader_hears(None)


if __name__ == "__main__":
    unittest.main()
