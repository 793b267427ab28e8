# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Where the program runs: without a display it says so in one line and fails cleanly; its
texts do not depend on the locale; it writes no file and talks only to its display and
the desktop buses."""

import os
import re
import subprocess
import tempfile
import unittest

from harness import (BUTTON, CAPTION, EXPECTED, FIRST_ROW, PROGRAM, PupilSteps,
                     SessionTestCase, expected_report)


class WithoutDisplay(unittest.TestCase):
    def run_without(self, **extra):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(extra)
        return subprocess.run([PROGRAM], env=env, capture_output=True, text=True, timeout=30)

    def test_one_clear_line_and_status_1(self):
        for name, extra in (("no display at all", {}),
                            ("a display nobody answers on", {"DISPLAY": ":987"})):
            with self.subTest(name):
                result = self.run_without(**extra)
                self.assertEqual(result.returncode, 1)  # not a signal: no abort, no core
                self.assertEqual(result.stderr, EXPECTED["no_display"] + "\n")
                self.assertEqual(result.stdout, "")


class OnTheDesktop(SessionTestCase, PupilSteps):
    session_options = {"accessibility": True}

    def pick_2_5_and_copy(self, program):
        self.program = program
        program.click(*FIRST_ROW)
        program.keys("2", "Down", "Down", "Down")
        self.settle()
        return self.copied_report()

    def test_texts_are_the_same_in_every_locale(self):
        for locale in ("C", "C.UTF-8", "bg_BG.UTF-8", "en_US.ISO-8859-1"):
            with self.subTest(locale):
                program = self.session.start_program({"LANG": locale, "LC_ALL": locale})
                try:
                    self.assertIn(f'"{CAPTION}"', program.property("_NET_WM_NAME"))
                    self.assertEqual(self.pick_2_5_and_copy(program), expected_report("2:5"))
                finally:
                    program.close()

    def test_writes_no_file_and_opens_no_network_connection(self):
        log = tempfile.NamedTemporaryFile(suffix=".strace", delete=False).name
        self.addCleanup(os.unlink, log)
        program = self.session.start_program(
            program="strace", args=["-f", "-qq", "-o", log, "-e",
                                    "trace=open,openat,creat,rename,renameat,unlink,"
                                    "mkdir,connect", PROGRAM])
        try:
            self.pick_2_5_and_copy(program)
            program.click(*BUTTON)  # clear
            program.keys("Tab", "End")
            self.settle()
        finally:
            program.close()

        home = os.path.expanduser("~")
        allowed = (self.session.runtime_dir, os.environ.get("XDG_CACHE_HOME", home + "/.cache"),
                   "/dev/")
        written, connections = [], []
        with open(log) as trace:
            for line in trace:
                if "= -1" in line:
                    continue
                path = re.search(r'"([^"]*)"', line)
                writes = re.search(r"O_WRONLY|O_RDWR|O_CREAT", line) or \
                    re.search(r"\b(creat|rename|renameat|unlink|mkdir)\(", line)
                if writes and path and not path.group(1).startswith(allowed):
                    written.append(line.strip())
                if "connect(" in line:
                    connections.append(line.strip())
        self.assertEqual(written, [])
        for line in connections:
            self.assertIn("AF_UNIX", line)
            self.assertRegex(line, r'sun_path=@?"(/tmp/\.X11-unix/X\d+|/tmp/dbus-|'
                                   + re.escape(self.session.runtime_dir) + ")")
        self.assertTrue(any(".X11-unix" in line for line in connections))


if __name__ == "__main__":
    unittest.main()
