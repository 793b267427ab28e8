# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The one writer of BENCHMARKS.md, on copies of it in a temporary folder: a section or a row
is replaced in place and every other byte stays as it was."""

import os
import shutil
import tempfile
import unittest

import benchmarks_md

SOAK = "`scripts/soak.sh 10` (ASan, LSan, UBSan; seed 7)"


class Writer(unittest.TestCase):
    def setUp(self):
        folder = tempfile.mkdtemp(prefix="domino-benchmarks-")
        self.addCleanup(shutil.rmtree, folder)
        self.path = os.path.join(folder, "BENCHMARKS.md")
        shutil.copyfile(benchmarks_md.BENCHMARKS, self.path)
        os.chmod(self.path, 0o644)

    def sections(self):
        return benchmarks_md.read_sections(self.path)

    def test_a_section_is_replaced_or_put_in_its_place(self):
        original = self.sections()
        for name, missing in (("selection", False), ("web-page", False), ("header", True),
                              ("long-runs", True), ("web-page", True)):
            with self.subTest(name=name, missing=missing):
                if missing:  # as the first run of a new measurement finds the file
                    with open(self.path, "w", encoding="utf-8") as f:
                        f.write("".join(f"<!-- section: {n} -->{t}" for n, t in original
                                        if n != name))
                else:
                    shutil.copyfile(benchmarks_md.BENCHMARKS, self.path)
                benchmarks_md.write_section(name, f"## {name}\n\nnew | figures\n", self.path)
                after = self.sections()
                self.assertEqual([n for n, _ in after], [n for n, _ in original])
                for (n, old), (_, new) in zip(original, after):
                    if n == name:
                        self.assertEqual(new.strip(), f"## {name}\n\nnew | figures")
                    else:
                        self.assertEqual(new.strip(), old.strip())
                        self.assertEqual(new, old, "a section left alone is not rewritten")
                self.assertEqual(os.stat(self.path).st_mode & 0o777, 0o644)

    def test_a_long_run_replaces_the_row_of_its_command(self):
        rows = lambda: [line for line in dict(self.sections())["long-runs"].splitlines()
                        if line.startswith("| `")]
        before = rows()
        for command, result, changed in (
                (SOAK, "soak: 10 actions, exit status 1: FAIL! | x", 0),
                ("`tests/fuzz/fuzz.sh 5`", "5 runs: nothing found", 2),
                ("`./new.sh`", "new", len(before))):
            with self.subTest(command=command):
                benchmarks_md.record_long_run(command, result, "1 s", self.path)
                after = rows()
                self.assertEqual(after[changed],
                                 f"| {command} | {result.replace('|', chr(92) + '|')} | 1 s |")
                self.assertEqual(len(after), len(before) + (changed == len(before)))
                before = after

    def test_text_outside_every_section_is_refused_and_kept(self):
        with open(self.path, encoding="utf-8") as f:
            text = "Notes by hand\n" + f.read()
        with open(self.path, "w", encoding="utf-8") as f:
            f.write(text)
        for write in (lambda: benchmarks_md.write_section("selection", "x", self.path),
                      lambda: benchmarks_md.record_long_run(SOAK, "x", "1 s", self.path)):
            with self.assertRaises(ValueError):
                write()
            with open(self.path, encoding="utf-8") as f:
                self.assertEqual(f.read(), text)
        self.assertEqual(os.listdir(os.path.dirname(self.path)), ["BENCHMARKS.md"])


if __name__ == "__main__":
    unittest.main()
