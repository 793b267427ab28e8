# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader finds over AT-SPI: every control named in Bulgarian, the list's
entries and selection, the report's text, and a tile picture that says what it shows."""

import json
import os
import re
import subprocess
import unittest

from xsession import ProgramTestCase

CYRILLIC = re.compile("[А-я]")


def walk(node):
    yield node
    for child in node["children"]:
        yield from walk(child)


class Accessibility(ProgramTestCase):
    session_options = {"accessibility": True}

    def tree(self):
        dump = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_dump.py")
        out = self.session.run(["/usr/bin/python3", dump, "domino-tiles"],
                               timeout=60)
        return list(walk(json.loads(out)))

    def only(self, nodes, role, name=None):
        found = [n for n in nodes if n["role"] == role and (name is None or n["name"] == name)]
        self.assertEqual(len(found), 1, f"{role} {name!r}: {[n['name'] for n in found]}")
        return found[0]

    def test_controls_are_named_in_bulgarian(self):
        nodes = self.tree()
        named = {
            ("text", "Съобщение"),
            ("label", " Рисуване - плочка от играта Домино"),
            ("list", "Плочки на доминото"),
            ("push button", "Изтрий"),
            ("image", "Рисунка на плочката"),
            ("image", "Снимка на плочки от домино"),
        }
        for role, name in named:
            node = self.only(nodes, role, name)
            self.assertRegex(node["name"], CYRILLIC)
        frame = next(n for n in nodes if n["name"] == "Рисуване - плочки на домино")
        self.assertIsNotNone(frame)

        entries = self.only(nodes, "list")["children"]
        self.assertEqual([e["name"] for e in entries][:3], ["0:0", "0:1", "0:2"])
        self.assertEqual(len(entries), 28)
        self.assertFalse([e for e in entries if "selected" in e["states"]])

        report = self.only(nodes, "text")
        self.assertTrue(report["text"].startswith("Играта Домино има над 3000 годишна история."))
        self.assertIn("focused", report["states"])
        tile = self.only(nodes, "image", "Рисунка на плочката")
        self.assertEqual(tile["description"], "Не е избрана плочка.")

    def test_reader_follows_picks_and_clearing(self):
        self.program.click(16 + 30, 32 + 10)
        self.program.keys("End")
        self.program.wait_until_settled(region=(136, 32, 80, 160), quiet_for=0.15)

        nodes = self.tree()
        tile = self.only(nodes, "image", "Рисунка на плочката")
        self.assertEqual(tile["description"],
                         "Плочка 6:6: 6 точки в горната половина и 6 точки в долната.")
        self.assertEqual(self.only(nodes, "text")["text"],
                         "От общо: 28 плочки, Вие избрахте плочка: 6:6\n"
                         "Избраната плочка е симетрична!\n")
        entries = self.only(nodes, "list")["children"]
        self.assertEqual([e["name"] for e in entries if "selected" in e["states"]], ["6:6"])

        self.program.click(16 + 52, 160 + 12)
        self.program.wait_until_settled(region=(136, 32, 80, 160), quiet_for=0.15)
        nodes = self.tree()
        self.assertEqual(self.only(nodes, "image", "Рисунка на плочката")["description"],
                         "Не е избрана плочка.")
        self.assertEqual(self.only(nodes, "text")["text"], "Изберете плочка!")
        entries = self.only(nodes, "list")["children"]
        self.assertFalse([e for e in entries if "selected" in e["states"]])


if __name__ == "__main__":
    unittest.main()
