# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows build: the .exe, the .zip and their signing read as files, then the program
under Wine on a real X server, used as a pupil uses it, started from a folder of planted DLLs,
and both installers run, upgraded and undone silently, and refused on Windows 7.

Wine passes no QT_* variable from the Unix environment: WINEQT_FOO reaches the program as
QT_FOO. xdotool cannot type Cyrillic into a Wine window, so only ASCII keys are sent and
text is read through the clipboard."""

import glob
import os
import re
import shutil
import subprocess
import tempfile
import unittest
import zipfile
from unittest import mock

import test_window_on_x
from xsession import ROOT, Program, XSession, cached_qt, check_sharp_tile

BUILD = os.environ.get("DOMINO_WINDOWS_BUILD", "../../build-windows")
EXE = os.path.join(BUILD, "domino-tiles.exe")
PACKAGING = os.path.join(ROOT, "packaging", "windows")
NAME = "Плочки на домино"
UNINSTALL = r"\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_KEY = r"HKCU" + UNINSTALL + r"\bg.domino_tiles.DominoTiles"
# Loaded at start-up: KnownDLLs, which Windows maps from System32 whatever lies beside the
# program, and API sets, which name no file. An import that a Qt update adds fails here, to be
# checked against the KnownDLLs of Windows 10.
LOADED_DLLS = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll",
    "ole32.dll", "oleaut32.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "ws2_32.dll", "api-ms-win-core-synch-l1-2-0.dll", "api-ms-win-core-winrt-l1-1-0.dll",
    "api-ms-win-core-winrt-string-l1-1-0.dll",
}
# Windows' own too, but not KnownDLLs: delay-loaded, and then from System32 alone.
DELAYED_DLLS = {
    "authz.dll", "d3d11.dll", "d3d9.dll", "dwmapi.dll", "dxgi.dll", "netapi32.dll",
    "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll", "wtsapi32.dll",
}
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
# Named after a DLL the program uses, it writes NAME.ran beside itself when anything loads it.
MARKER_DLL = r"""
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    WCHAR path[MAX_PATH + 8];
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        lstrcpyW(path + GetModuleFileNameW(self, path, MAX_PATH), L".ran");
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return TRUE;
}
"""

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


def built(pattern):
    (path,) = glob.glob(os.path.join(BUILD, pattern))
    return path


class WineSession(XSession):
    """An X session with a Wine prefix of its own, made once, in which Times New Roman and
    MS Shell Dlg are the Liberation fonts (Qt then finds them by the Windows names), and a
    Downloads folder holding the program, both installers and a marker DLL named after each
    delay-loaded DLL. All of it, and HOME, in one temporary folder."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="domino-wine-")
        self.prefix, self.home = (os.path.join(self.root, name) for name in ("prefix", "home"))
        os.mkdir(self.home)
        # Wine's menu builder, fontconfig and openbox write under HOME and XDG_*_HOME.
        with mock.patch.dict(os.environ, HOME=self.home,
                             XDG_CACHE_HOME=os.path.join(self.root, "cache")):
            for name in ("XDG_DATA_HOME", "XDG_CONFIG_HOME"):
                os.environ.pop(name, None)
            super().__init__()
        try:
            # No Mono or Gecko: the program needs neither, and Wine would ask to install them.
            # No menu builder: it would put menu entries and icons into HOME. The delayed DLLs
            # keep Wine's own load order, which takes a DLL beside the program for AUTHZ,
            # USERENV and dwmapi (forcing it for the others would put the planted ones under
            # Wine's own DLLs too, which Windows never does).
            self.env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all",
                            WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
            self.run(["wineboot", "-i"], timeout=180)
            self.windows_version("win10")  # a new prefix says Windows 7
            for font, replacement in (("Times New Roman", "Liberation Serif"),
                                      ("MS Shell Dlg", "Liberation Sans")):
                self.run(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                          "/v", font, "/d", replacement, "/f"])
            self.downloads = self._plant_dlls()
            self.wait_for_wine()
        except BaseException:
            self.close()
            raise

    def _plant_dlls(self):
        # Not the prefix's Downloads: Wine links that to HOME.
        folder = os.path.join(self.root, "downloads")
        os.mkdir(folder)
        source = os.path.join(self.root, "marker.c")
        with open(source, "w", encoding="ascii") as file:
            file.write(MARKER_DLL)
        marker = os.path.join(self.root, "marker.dll")
        self.run(["x86_64-w64-mingw32-gcc", "-shared", "-o", marker, source])
        for name in DELAYED_DLLS:
            shutil.copy(marker, os.path.join(folder, name))
        for path in (EXE, built("*-setup.exe"), built("*.msi")):
            shutil.copy(path, folder)
        # The markers can tell: one loaded on purpose leaves its mark.
        self.wine("regsvr32", "/s", ".\\dwmapi.dll")
        if not os.path.exists(os.path.join(folder, "dwmapi.dll.ran")):
            raise RuntimeError("the marker DLL does not run")
        os.remove(os.path.join(folder, "dwmapi.dll.ran"))
        return folder

    def check_untouched(self, test):
        """No planted DLL has run, and nothing has been written into HOME."""
        test.assertEqual(glob.glob("*.ran", root_dir=self.downloads), [], "planted DLL ran")
        test.assertEqual(os.listdir(self.home), [], "written into HOME")

    def wine(self, *command):
        """Runs a Windows program in Downloads until Wine is idle; its exit status's low byte
        (Wine passes no more)."""
        status = subprocess.run(["wine", *command], env=self.env, capture_output=True,
                                cwd=os.path.join(self.root, "downloads"), timeout=180).returncode
        self.wait_for_wine()
        return status

    def windows_version(self, version):
        self.run(["wine", "winecfg", "-v", version])
        self.wait_for_wine()

    def leftovers(self):
        """Whatever of the program's is on drive C:."""
        drive = os.path.join(self.prefix, "drive_c")
        return [path for path in glob.glob("**", root_dir=drive, recursive=True)
                if "domino" in path.lower() or NAME in path]

    def wait_for_wine(self):
        """Until every Wine process of the prefix has ended, the server included."""
        self.run(["wineserver", "-w"], timeout=60)

    def close(self):
        if "WINEPREFIX" in self.env:
            self.run(["wineserver", "-k"], check=False)
        super().close()
        subprocess.run(["rm", "-rf", self.root], check=False)

    def start_program(self, extra_env=None, program=None, args=()):
        """The program, by default its copy among the planted DLLs."""
        program = program or os.path.join(self.downloads, os.path.basename(EXE))
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
    """Shares the module's one Wine session, and checks after each test that it ran no
    planted DLL and left HOME empty."""

    @classmethod
    def setUpClass(cls):
        cls.session = session

    @classmethod
    def tearDownClass(cls):
        pass

    def setUp(self):
        self.addCleanup(self.session.check_untouched, self)  # last, after the program closes
        super().setUp()


class WindowsFiles(unittest.TestCase):
    def test_exe_needs_only_windows_and_says_what_it_is(self):
        headers = run("x86_64-w64-mingw32-objdump", "-p", EXE).decode()
        self.assertIn("(Windows GUI)", headers)  # no console window behind it
        dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
        self.assertEqual(dlls, LOADED_DLLS)
        self.assertNotIn(".debug_info", run("x86_64-w64-mingw32-objdump", "-h", EXE).decode())

        version = run("wrestool", "-x", "--raw", "-t", "16", EXE).decode("utf-16-le", "replace")
        for field in ("ProductName", NAME, "1.0.0", "GNU GPL 3.0 or later"):
            self.assertIn(field, version)
        icons = run("wrestool", "-l", "-t", "14", EXE).decode()
        self.assertIn("group_icon", icons)
        manifest = run("wrestool", "-x", "--raw", "-t", "24", EXE).decode()
        self.assertEqual(re.findall(r'supportedOS Id="([^"]+)"', manifest), [WINDOWS_10_AND_11])

    def test_signed_only_with_a_certificate(self):
        folder = tempfile.mkdtemp(prefix="domino-signing-")
        self.addCleanup(shutil.rmtree, folder)
        files = [shutil.copy(path, folder) for path in (EXE, built("*-setup.exe"),
                                                       built("*.msi"))]

        def verify(path, *options):
            return subprocess.run(["osslsigncode", "verify", *options, "-in", path],
                                  capture_output=True, text=True, timeout=60)

        if "DOMINO_SIGN_PKCS12" not in os.environ:
            for path in files:
                self.assertNotEqual(verify(path).returncode, 0, f"{path} signed")
        key, certificate, pkcs12 = (os.path.join(folder, name) for name in
                                    ("key.pem", "certificate.pem", "certificate.p12"))
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
            "-subj", "/CN=Domino tiles test", "-addext", "extendedKeyUsage=codeSigning",
            "-keyout", key, "-out", certificate)
        run("openssl", "pkcs12", "-export", "-inkey", key, "-in", certificate,
            "-out", pkcs12, "-passout", "pass:test")
        subprocess.run([os.path.join(PACKAGING, "sign.sh"), *files], check=True, timeout=60,
                       env=dict(os.environ, DOMINO_SIGN_PKCS12=pkcs12,
                                DOMINO_SIGN_PASSWORD="test"))
        for path in files:
            result = verify(path, "-CAfile", certificate)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertIn("Subject: /CN=Domino tiles test", result.stdout)

    def test_zip_holds_program_licence_and_read_me(self):
        path = built("domino-tiles-*-windows-x64.zip")
        folder = os.path.basename(path)[:-len(".zip")]
        with zipfile.ZipFile(path) as archive:
            entries = {info.filename: info for info in archive.infolist()}
            self.assertEqual(sorted(entries), [f"{folder}/{name}" for name in
                                               ("LICENSE", "domino-tiles.exe", "ПРОЧЕТИ.txt")])
            readme = entries[f"{folder}/ПРОЧЕТИ.txt"]
            self.assertTrue(readme.flag_bits & 0x800, "name not marked as UTF-8")
            text = archive.read(readme).decode("utf-8-sig")
        self.assertIn(NAME, text)
        self.assertIn("Windows 10 или 11, 64-битова версия", text)
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
    def check_installed(self, folder):
        """The user's Start menu has the shortcut, and the program in folder starts."""
        self.assertTrue(os.path.isfile(self.session.user_folder(
            "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
            NAME + ".lnk")), "no Start-menu shortcut")
        installed = self.session.start_program(program=os.path.join(folder, "domino-tiles.exe"))
        self.assertIn(f'"{test_window_on_x.CAPTION}"', installed.property("_NET_WM_NAME"))
        installed.close()

    def test_silent_install_start_and_uninstall(self):
        programs = self.session.user_folder("AppData", "Local", "Programs", "domino-tiles")
        self.assertEqual(self.session.wine(os.path.basename(built("*-setup.exe")), "/S"), 0)

        registered = self.session.registry(UNINSTALL_KEY)
        self.assertIn(f'"DisplayName"="{NAME}"', registered)
        self.assertIn('uninstall.exe\\" /S', registered)
        self.check_installed(programs)

        self.session.run(["wine", os.path.join(programs, "uninstall.exe"), "/S"], timeout=120)
        self.session.wait_for_wine()
        self.assertIsNone(self.session.registry(UNINSTALL_KEY), "still registered")
        self.assertEqual(self.session.leftovers(), [])

    def machine_entries(self):
        """The versions of the program under installed programs for every user."""
        exported = self.session.registry("HKLM" + UNINSTALL) or ""
        return [re.search(r'"DisplayVersion"="([^"]*)"', entry)[1]
                for entry in exported.split("\n[") if f'"DisplayName"="{NAME}"' in entry]

    def test_msi_for_every_user_upgrades_refuses_a_downgrade_and_uninstalls(self):
        msi = os.path.basename(built("*.msi"))
        newer, rebuilt = ("newer.msi", "rebuilt.msi")
        for name in (newer, rebuilt):
            run("python3", os.path.join(PACKAGING, "make_msi.py"),
                os.path.join(self.session.downloads, name), "1.0.1", EXE,
                os.path.join(ROOT, "LICENSE"), os.path.join(BUILD, "packaging", "windows",
                                                            "icon.ico"))
        # A newer version replaces the older, a rebuild of the same version replaces itself,
        # and an older one is refused (1603, a fatal error), each leaving one entry.
        for package, status, version in ((msi, 0, "1.0.0"), (newer, 0, "1.0.1"),
                                         (msi, 1603, "1.0.1"), (rebuilt, 0, "1.0.1")):
            with self.subTest(package=package):
                self.assertEqual(self.session.wine("msiexec", "/i", package, "/qn"),
                                 status & 0xFF)
                self.assertEqual(self.machine_entries(), [version])

        # Registered for the machine, not the user, with its icon.
        product = self.session.registry(r"HKLM\Software\Classes\Installer\Products")
        self.assertIn(f'"ProductName"="{NAME}"', product)
        self.assertRegex(product, r'"ProductIcon"=".*icon\.ico"')
        self.assertIsNone(self.session.registry(r"HKCU\Software\Microsoft\Installer\Products"))
        entry = self.session.registry("HKLM" + UNINSTALL)
        for value in ('"NoModify"=dword:00000001', '"NoRepair"=dword:00000001',
                      '"Publisher"="The domino-tiles authors"'):
            self.assertIn(value, entry)
        # Wine's msi keeps the Start menu per user even for every user's install (Windows puts
        # the shortcut into ProgramData).
        self.check_installed(os.path.join(self.session.prefix, "drive_c", "Program Files",
                                          "domino-tiles"))

        self.assertEqual(self.session.wine("msiexec", "/x", rebuilt, "/qn"), 0)
        self.assertEqual(self.machine_entries(), [])
        self.assertEqual(self.session.leftovers(), [])

    def test_both_installers_refuse_windows_7(self):
        self.session.windows_version("win7")
        self.addCleanup(self.session.windows_version, "win10")
        setup, msi = (os.path.basename(built(pattern)) for pattern in ("*-setup.exe", "*.msi"))
        # Wine passes on only the low byte of ERROR_OLD_WIN_VERSION (1150) and of 1603.
        self.assertEqual(self.session.wine(setup, "/S"), 1150 & 0xFF)
        self.assertEqual(self.session.wine("msiexec", "/i", msi, "/qn"), 1603 & 0xFF)
        self.assertEqual(self.session.leftovers(), [])


if __name__ == "__main__":
    unittest.main()
