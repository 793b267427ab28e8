# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The version is declared once: changed in the top-level CMakeLists.txt alone, it reaches every
file the build makes for Linux, Windows and the web, and the old one is left in none."""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BUILD = os.environ.get("DOMINO_BUILD_DIR", os.path.join(ROOT, "build"))
NEW = "9.8.7"
# What the build fills in with the version, for every platform.
MADE = ("generated/product_facts.h", "facts.json", "packaging/*.metainfo.xml",
        "packaging/domino-tiles.1", "domino-tiles.rc", "domino-tiles.manifest", "installer.nsi",
        "domino-tiles.wxs")


class VersionOnce(unittest.TestCase):
    def test_one_line_changes_every_file(self):
        with open(os.path.join(BUILD, "facts.json"), encoding="utf-8") as file:
            old = json.load(file)["version"]
        with tempfile.TemporaryDirectory(prefix="domino-version-") as folder:
            source = os.path.join(folder, "source")
            tracked = subprocess.run(["git", "ls-files", "-z"], cwd=ROOT, check=True,
                                     capture_output=True).stdout.decode().split("\0")
            for path in filter(None, tracked):
                if os.path.exists(os.path.join(ROOT, path)):
                    os.makedirs(os.path.dirname(os.path.join(source, path)), exist_ok=True)
                    shutil.copy2(os.path.join(ROOT, path), os.path.join(source, path))
            top = os.path.join(source, "CMakeLists.txt")
            with open(top, encoding="utf-8") as file:
                text, count = re.subn(r"(project\([^)]*VERSION )" + re.escape(old), r"\g<1>" + NEW,
                                      file.read())
            self.assertEqual(count, 1, "the version is not in the project() line")
            with open(top, "w", encoding="utf-8") as file:
                file.write(text)

            build = os.path.join(folder, "build")
            subprocess.run(["cmake", "-S", source, "-B", build, "-DBUILD_TESTING=OFF",
                            "-DDOMINO_ALL_PACKAGING_FILES=ON"], check=True,
                           stdout=subprocess.DEVNULL)
            made = {}
            for folder_name, _, files in os.walk(build):
                if "CMakeFiles" in folder_name:
                    continue
                for name in files:
                    path = os.path.join(folder_name, name)
                    relative = os.path.relpath(path, build)
                    if any(re.fullmatch(pattern.replace(".", r"\.").replace("*", ".*"), relative)
                           or relative.endswith("/" + pattern) or relative == pattern
                           for pattern in MADE):
                        with open(path, encoding="utf-8") as file:
                            made[relative] = file.read()
            self.assertEqual(len(made), len(MADE), sorted(made))
            for relative, text in made.items():
                with self.subTest(relative):
                    self.assertIn(NEW, text)
                    self.assertNotIn(old, text)


if __name__ == "__main__":
    sys.exit(unittest.main())
