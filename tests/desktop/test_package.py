# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Installing as desktop programs are installed: cmake --install lays out the program, its
menu entry, icons and AppStream data, which the desktop's own validators accept; the .deb
has those files and the right dependencies, passes lintian, and runs once unpacked."""

import os
import re
import subprocess
import tempfile
import unittest

from harness import BUILD, CAPTION, ROOT, SIZE, XSession, facts

APP_ID, EXECUTABLE = facts()["app_id"], facts()["executable"]
FILES = [
    f"usr/bin/{EXECUTABLE}",
    f"usr/share/applications/{APP_ID}.desktop",
    f"usr/share/metainfo/{APP_ID}.metainfo.xml",
    f"usr/share/icons/hicolor/32x32/apps/{APP_ID}.png",
    f"usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg",
    f"usr/share/doc/{EXECUTABLE}/copyright",
    f"usr/share/doc/{EXECUTABLE}/changelog.gz",
    f"usr/share/man/man1/{EXECUTABLE}.1.gz",
]


def run(*command, **kwargs):
    result = subprocess.run(command, capture_output=True, text=True, timeout=240, **kwargs)
    if result.returncode != 0:
        raise AssertionError(f"{command} failed:\n{result.stdout}\n{result.stderr}")
    return result.stdout


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="domino-package-")
        run("cpack", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", cls.scratch)
        cls.deb = next(os.path.join(cls.scratch, name) for name in os.listdir(cls.scratch)
                       if name.endswith(".deb"))
        cls.unpacked = os.path.join(cls.scratch, "unpacked")
        run("dpkg-deb", "-x", cls.deb, cls.unpacked)

    @classmethod
    def tearDownClass(cls):
        subprocess.run(["rm", "-rf", cls.scratch], check=False)

    def test_install_lays_out_a_desktop_program(self):
        root = os.path.join(self.scratch, "installed")
        run("cmake", "--install", BUILD, "--prefix", os.path.join(root, "usr"))
        for path in FILES:
            self.assertTrue(os.path.isfile(os.path.join(root, path)), path)
        desktop = os.path.join(root, FILES[1])
        run("desktop-file-validate", desktop)
        with open(desktop, encoding="utf-8") as entry:
            text = entry.read()
        self.assertIn(f"Name={facts()['name_en']}\n", text)
        self.assertIn(f"Name[bg]={facts()['name']}\n", text)
        self.assertIn("Categories=Education;", text)
        self.assertIn(f"Icon={APP_ID}\n", text)
        run("appstreamcli", "validate", "--pedantic", "--no-net", os.path.join(root, FILES[2]))
        icon = run("identify", "-format", "%wx%h", os.path.join(root, FILES[3]))
        self.assertEqual(icon, "32x32")

    def test_deb_files_and_dependencies(self):
        listing = run("dpkg-deb", "-c", self.deb)
        for path in FILES:
            self.assertIn("./" + path, listing)
        depends = run("dpkg-deb", "-f", self.deb, "Depends")
        for package in ("libqt6widgets6", "libqt6gui6", "libqt6core6", "libc6", "libstdc++6",
                        "qt6-qpa-plugins", "qt6-wayland", "fonts-liberation2"):
            self.assertIn(package, depends)
        self.assertEqual(run("dpkg-deb", "-f", self.deb, "Section").strip(), "education")

    def test_licence_is_stated_alike_everywhere(self):
        run("reuse", "--root", ROOT, "lint")
        with open(os.path.join(ROOT, "packaging", "copyright"), encoding="utf-8") as file:
            program = re.search(r"^Files: \*\n.*?^License: (\S+)", file.read(), re.M | re.S)
        with open(os.path.join(self.unpacked, FILES[2]), encoding="utf-8") as file:
            metainfo = re.search(r"<project_license>(.*)</project_license>", file.read())
        self.assertEqual(metainfo.group(1), program.group(1))
        self.assertEqual(program.group(1), "GPL-3.0-or-later")

    def test_lintian_finds_no_error(self):
        result = subprocess.run(["lintian", "--fail-on", "error,warning", self.deb],
                                capture_output=True, text=True, timeout=240)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_unpacked_program_runs(self):
        with XSession() as session:
            program = session.start_program(program=os.path.join(self.unpacked, FILES[0]))
            try:
                self.assertIn(f'"{CAPTION}"', program.property("_NET_WM_NAME"))
                self.assertEqual(program.geometry()[2:], SIZE)
            finally:
                program.close()


if __name__ == "__main__":
    unittest.main()
