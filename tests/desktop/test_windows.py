# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows build: the .exe and the .zip read as files, then the program under Wine on a
real X server, used as a pupil uses it, and the installer run and undone silently.

Wine passes no QT_* variable from the Unix environment: WINEQT_FOO reaches the program as
QT_FOO. xdotool cannot type Cyrillic into a Wine window, so only ASCII keys are sent and
text is read through the clipboard."""

import glob
import os
import re
import subprocess
import tempfile
import unittest
import zipfile

import test_window_on_x
from xsession import Program, XSession, cached_qt, check_sharp_tile

BUILD = os.environ.get("DOMINO_WINDOWS_BUILD", "../../build-windows")
EXE = os.path.join(BUILD, "domino-tiles.exe")
NAME = "Плочки на домино"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall" \
                r"\bg.domino_tiles.DominoTiles"
# What every Windows 10 and 11 has; a DLL beyond these would have to be shipped.
WINDOWS_DLLS = {
    "advapi32.dll", "authz.dll", "comdlg32.dll", "d3d9.dll", "d3d11.dll", "dwmapi.dll",
    "dxgi.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll", "netapi32.dll",
    "ole32.dll", "oleaut32.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll", "ws2_32.dll", "wtsapi32.dll",
    "api-ms-win-core-synch-l1-2-0.dll", "api-ms-win-core-winrt-l1-1-0.dll",
    "api-ms-win-core-winrt-string-l1-1-0.dll",
}

session = None


def setUpModule():
    global session
    if not cached_qt("windows-x64"):
        raise unittest.SkipTest("no Qt for Windows in the cache: ./windows.sh builds it")
    session = WineSession()


def tearDownModule():
    if session:
        session.close()


def run(*command):
    return subprocess.run(command, capture_output=True, check=True, timeout=60).stdout


class WineSession(XSession):
    """An X session with a Wine prefix of its own, made once, in which Times New Roman and
    MS Shell Dlg are the Liberation fonts (Qt then finds them by the Windows names)."""

    def __init__(self):
        self.prefix = tempfile.mkdtemp(prefix="domino-wine-")
        super().__init__()
        try:
            # No Mono or Gecko: the program needs neither, and Wine would ask to install them.
            self.env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all",
                            WINEDLLOVERRIDES="mscoree,mshtml=")
            self.run(["wineboot", "-i"], timeout=180)
            for font, replacement in (("Times New Roman", "Liberation Serif"),
                                      ("MS Shell Dlg", "Liberation Sans")):
                self.run(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                          "/v", font, "/d", replacement, "/f"])
            self.wait_for_wine()
        except BaseException:
            self.close()
            raise

    def wait_for_wine(self):
        """Until every Wine process of the prefix has ended, the server included."""
        self.run(["wineserver", "-w"], timeout=60)

    def close(self):
        if "WINEPREFIX" in self.env:
            self.run(["wineserver", "-k"], check=False)
        super().close()
        subprocess.run(["rm", "-rf", self.prefix], check=False)

    def start_program(self, extra_env=None, program=EXE, args=()):
        env = dict(self.env, **(extra_env or {}))
        process = self._spawn(["wine", program, *args], env=env, stderr=subprocess.PIPE,
                              text=True)
        return WineProgram(self, process)

    def registry(self, key):
        """The key's values as a .reg text, or None where there is no such key."""
        exported = os.path.join(self.prefix, "exported.reg")
        result = subprocess.run(["wine", "reg", "export", key, exported, "/y"], env=self.env,
                                capture_output=True, timeout=60)
        if result.returncode != 0:
            return None
        with open(exported, encoding="utf-16") as file:
            return file.read()

    def user_folder(self, *parts):
        return os.path.join(self.prefix, "drive_c", "users", os.environ.get("USER", "root"),
                            *parts)


class WineProgram(Program):
    def close(self):
        if self.process.poll() is None:
            self.keys("alt+F4")
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                super().close()
        self.session.wait_for_wine()


class WineTestCase(unittest.TestCase):
    """Shares the module's one Wine session."""

    @classmethod
    def setUpClass(cls):
        cls.session = session

    @classmethod
    def tearDownClass(cls):
        pass


class WindowsFiles(unittest.TestCase):
    def test_exe_needs_only_windows_and_says_what_it_is(self):
        headers = run("x86_64-w64-mingw32-objdump", "-p", EXE).decode()
        self.assertIn("(Windows GUI)", headers)  # no console window behind it
        dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
        self.assertLessEqual(dlls, WINDOWS_DLLS)
        self.assertNotIn(".debug_info", run("x86_64-w64-mingw32-objdump", "-h", EXE).decode())

        version = run("wrestool", "-x", "--raw", "-t", "16", EXE).decode("utf-16-le", "replace")
        for field in ("ProductName", NAME, "1.0.0", "GNU GPL 3.0 or later"):
            self.assertIn(field, version)
        icons = run("wrestool", "-l", "-t", "14", EXE).decode()
        self.assertIn("group_icon", icons)

    def test_zip_holds_program_licence_and_read_me(self):
        (path,) = glob.glob(os.path.join(BUILD, "domino-tiles-*-windows-x64.zip"))
        folder = os.path.basename(path)[:-len(".zip")]
        with zipfile.ZipFile(path) as archive:
            entries = {info.filename: info for info in archive.infolist()}
            self.assertEqual(sorted(entries), [f"{folder}/{name}" for name in
                                               ("LICENSE", "domino-tiles.exe", "ПРОЧЕТИ.txt")])
            readme = entries[f"{folder}/ПРОЧЕТИ.txt"]
            self.assertTrue(readme.flag_bits & 0x800, "name not marked as UTF-8")
            text = archive.read(readme).decode("utf-8-sig")
        self.assertIn(NAME, text)
        self.assertNotIn("\n", text.replace("\r\n", ""))


class WindowOnWine(WineTestCase, test_window_on_x.WindowOnX):
    """The X module's picking, copying, covering and clearing, on the .exe under Wine."""

    def test_window_is_centred_fixed_and_captioned(self):
        x, y, width, height = self.program.geometry()
        self.assertEqual((width, height), (461, 345))
        left, right, top, bottom = self.program.frame_extents()
        self.assertLessEqual(abs(x - left + (width + left + right) / 2 - 512), 1)
        self.assertLessEqual(abs(y - top + (height + top + bottom) / 2 - 384), 1)
        self.assertIn(f'"{test_window_on_x.CAPTION}"', self.program.property("_NET_WM_NAME"))
        hints = self.program.property("WM_NORMAL_HINTS")
        self.assertIn("minimum size: 461 by 345", hints)
        self.assertIn("maximum size: 461 by 345", hints)
        values = self.program.property("_MOTIF_WM_HINTS").split("=")[1].split(",")
        functions = int(values[1], 16)
        self.assertFalse(functions & (0x02 | 0x10), "resizing or maximising allowed")
        self.assertTrue(functions & 0x20, "no close")
        self.assertIn("Icon (32 x 32)", self.program.property("_NET_WM_ICON"))


class ScaledOnWine(WineTestCase):
    def test_drawn_at_device_resolution_at_scale_2(self):
        scaled = self.session.start_program({"WINEQT_SCALE_FACTOR": "2"})
        self.addCleanup(scaled.close)
        left, top, width, height = scaled.geometry()
        self.assertEqual((width, height), (922, 690))
        scaled.click(2 * (test_window_on_x.LIST[0] + 30), 2 * (test_window_on_x.LIST[1] + 10))
        scaled.keys("End")
        area = (2 * test_window_on_x.TILE_AREA[0], 2 * test_window_on_x.TILE_AREA[1], 152, 312)
        scaled.wait_until_settled(region=area, quiet_for=0.2)
        tile = self.session.screenshot().crop(left + area[0], top + area[1], *area[2:])
        check_sharp_tile(self, tile, 2, pips=12)


class InstallerOnWine(WineTestCase):
    def test_silent_install_start_and_uninstall(self):
        (setup,) = glob.glob(os.path.join(BUILD, "domino-tiles-*-setup.exe"))
        programs = self.session.user_folder("AppData", "Local", "Programs", "domino-tiles")
        shortcut = self.session.user_folder("AppData", "Roaming", "Microsoft", "Windows",
                                            "Start Menu", "Programs", NAME + ".lnk")
        self.session.run(["wine", setup, "/S"], timeout=120)
        self.session.wait_for_wine()

        self.assertTrue(os.path.isfile(shortcut), "no Start-menu shortcut")
        registered = self.session.registry(UNINSTALL_KEY)
        self.assertIn(f'"DisplayName"="{NAME}"', registered)
        self.assertIn('uninstall.exe\\" /S', registered)
        installed = self.session.start_program(program=os.path.join(programs, "domino-tiles.exe"))
        self.assertIn(f'"{test_window_on_x.CAPTION}"', installed.property("_NET_WM_NAME"))
        installed.close()

        self.session.run(["wine", os.path.join(programs, "uninstall.exe"), "/S"], timeout=120)
        self.session.wait_for_wine()
        self.assertFalse(os.path.exists(programs))
        self.assertFalse(os.path.exists(shortcut))
        self.assertIsNone(self.session.registry(UNINSTALL_KEY), "still registered")
        drive = os.path.join(self.session.prefix, "drive_c")
        left = [path for path in glob.glob("**", root_dir=drive, recursive=True)
                if "domino" in path.lower() or NAME in path]
        self.assertEqual(left, [])


if __name__ == "__main__":
    unittest.main()
