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

from harness import (CAPTION, ROOT, SIZE, ProgramTestCase, PupilOnX, WineSession, cached_qt,
                     check_sharp_tile, check_zoom_steps, facts, pick_last_tile)

BUILD = os.environ.get("DOMINO_WINDOWS_BUILD", "../../build-windows")
EXE = os.path.join(BUILD, facts()["executable"] + ".exe")
PACKAGING = os.path.join(ROOT, "packaging", "windows")
NAME = facts()["name"]
UNINSTALL = r"\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_KEY = r"HKCU" + UNINSTALL + "\\" + facts()["app_id"]
SETTINGS_KEY = "HKCU\\Software\\" + facts()["executable"]
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
session = None


def setUpModule():
    global session
    if not cached_qt("windows"):
        raise unittest.SkipTest("no Qt for Windows in the cache: ./windows.sh builds it")
    session = WineSession(EXE, (built("*-setup.exe"), built("*.msi")), DELAYED_DLLS)


def tearDownModule():
    if session:
        session.close()


def run(*command):
    return subprocess.run(command, capture_output=True, check=True, timeout=60).stdout


def built(pattern):
    (path,) = glob.glob(os.path.join(BUILD, pattern))
    return path


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
        for field in ("ProductName", NAME, facts()["version"], "GNU GPL 3.0 or later"):
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
        path = built(facts()["executable"] + "-*-windows-x64.zip")
        folder = os.path.basename(path)[:-len(".zip")]
        with zipfile.ZipFile(path) as archive:
            entries = {info.filename: info for info in archive.infolist()}
            self.assertEqual(sorted(entries), sorted(f"{folder}/{name}" for name in (
                "LICENSE", os.path.basename(EXE), "ПРОЧЕТИ.txt")))
            readme = entries[f"{folder}/ПРОЧЕТИ.txt"]
            self.assertTrue(readme.flag_bits & 0x800, "name not marked as UTF-8")
            text = archive.read(readme).decode("utf-8-sig")
        self.assertIn(NAME, text)
        self.assertIn("Windows 10 или 11, 64-битова версия", text)
        self.assertNotIn("\n", text.replace("\r\n", ""))


class WindowOnWine(WineTestCase, ProgramTestCase, PupilOnX):
    """The X module's picking, copying, covering and clearing, on the .exe under Wine."""

    def test_window_is_centred_fixed_and_captioned(self):
        self.check_fixed_centred_captioned(0x02 | 0x10)

    def test_zoom_keys_and_wheel_and_the_step_kept_in_the_registry(self):
        check_zoom_steps(self, self.program, [("ctrl+plus", 125), ("ctrl+equal", 150),
                                              ("ctrl+minus", 125), ("wheel up", 150),
                                              ("ctrl+0", 100), ("ctrl+plus", 125)])
        kept = self.session.registry(SETTINGS_KEY) or ""
        self.assertIn('"zoom"=dword:0000007d', kept.lower())
        self.program.keys("ctrl+0")  # the next tests start at 100 %


class ScaledOnWine(WineTestCase):
    def test_drawn_at_device_resolution_at_scale_2(self):
        scaled = self.session.start_program({"WINEQT_SCALE_FACTOR": "2"})
        self.addCleanup(scaled.close)
        self.assertEqual(scaled.geometry()[2:], (2 * SIZE[0], 2 * SIZE[1]))
        pick_last_tile(scaled, 2)
        check_sharp_tile(self, scaled.tile(2), 2)


class InstallerOnWine(WineTestCase):
    def check_installed(self, folder):
        """The user's Start menu has the shortcut, and the program in folder starts, and
        writes nothing where the user changes nothing."""
        self.assertTrue(os.path.isfile(self.session.user_folder(
            "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
            NAME + ".lnk")), "no Start-menu shortcut")
        self.session.run(["wine", "reg", "delete", SETTINGS_KEY, "/f"], check=False)
        installed = self.session.start_program(program=os.path.join(folder,
                                                                    os.path.basename(EXE)))
        self.assertIn(f'"{CAPTION}"', installed.property("_NET_WM_NAME"))
        installed.close()
        self.assertIsNone(self.session.registry(SETTINGS_KEY), "a start left a registry key")

    def test_silent_install_start_and_uninstall(self):
        programs = self.session.user_folder("AppData", "Local", "Programs",
                                            facts()["executable"])
        self.assertEqual(self.session.wine(os.path.basename(built("*-setup.exe")), "/S"), 0)

        registered = self.session.registry(UNINSTALL_KEY)
        self.assertIn(f'"DisplayName"="{NAME}"', registered)
        self.assertIn('uninstall.exe\\" /S', registered)
        self.check_installed(programs)

        self.session.run(["wine", os.path.join(programs, "uninstall.exe"), "/S"], timeout=120)
        self.session.wait_for_wine()
        self.assertIsNone(self.session.registry(UNINSTALL_KEY), "still registered")
        self.assertEqual(self.session.leftovers("domino", NAME.lower()), [])

    def machine_entries(self):
        """The versions of the program under installed programs for every user."""
        exported = self.session.registry("HKLM" + UNINSTALL) or ""
        return [re.search(r'"DisplayVersion"="([^"]*)"', entry)[1]
                for entry in exported.split("\n[") if f'"DisplayName"="{NAME}"' in entry]

    def test_msi_for_every_user_upgrades_refuses_a_downgrade_and_uninstalls(self):
        msi = os.path.basename(built("*.msi"))
        newer, rebuilt = ("newer.msi", "rebuilt.msi")
        # The installer's source as the build filled it in, at a later version.
        built_source = os.path.join(BUILD, "packaging", "windows", "domino-tiles.wxs")
        with open(built_source, encoding="utf-8") as file:
            source = file.read().replace(f'Version="{facts()["version"]}"', 'Version="1.0.1"')
        later = os.path.join(self.session.downloads, "later.wxs")
        with open(later, "w", encoding="utf-8") as file:
            file.write(source)
        for name in (newer, rebuilt):
            run("python3", os.path.join(PACKAGING, "make_msi.py"),
                os.path.join(self.session.downloads, name), later, EXE,
                os.path.join(ROOT, "LICENSE"), os.path.join(BUILD, "packaging", "windows",
                                                            "icon.ico"),
                f'{facts()["name_en"]} 1.0.1', facts()["publisher"])
        # A newer version replaces the older, a rebuild of the same version replaces itself,
        # and an older one is refused (1603, a fatal error), each leaving one entry.
        for package, status, version in ((msi, 0, facts()["version"]), (newer, 0, "1.0.1"),
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
                      f'"Publisher"="{facts()["publisher"]}"'):
            self.assertIn(value, entry)
        # Wine's msi keeps the Start menu per user even for every user's install (Windows puts
        # the shortcut into ProgramData).
        self.check_installed(os.path.join(self.session.prefix, "drive_c", "Program Files",
                                          facts()["executable"]))

        self.assertEqual(self.session.wine("msiexec", "/x", rebuilt, "/qn"), 0)
        self.assertEqual(self.machine_entries(), [])
        self.assertEqual(self.session.leftovers("domino", NAME.lower()), [])

    def test_both_installers_refuse_windows_7(self):
        self.session.windows_version("win7")
        self.addCleanup(self.session.windows_version, "win10")
        setup, msi = (os.path.basename(built(pattern)) for pattern in ("*-setup.exe", "*.msi"))
        # Wine passes on only the low byte of ERROR_OLD_WIN_VERSION (1150) and of 1603.
        self.assertEqual(self.session.wine(setup, "/S"), 1150 & 0xFF)
        self.assertEqual(self.session.wine("msiexec", "/i", msi, "/qn"), 1603 & 0xFF)
        self.assertEqual(self.session.leftovers("domino", NAME.lower()), [])


if __name__ == "__main__":
    unittest.main()
