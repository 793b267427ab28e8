# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Wine on Xvfb with a prefix of its own, the program's .exe in it among planted marker DLLs,
and its registry and drive C: to look into."""

import glob
import os
import shutil
import subprocess
import tempfile

from .x import XProgram, XSession


class WineProgram(XProgram):
    """The .exe's window under Wine, closed as a user closes it."""

    def close(self):
        if self.process.poll() is None:
            self.keys("alt+F4")
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                super().close()
        self.session.wait_for_wine()


class WineSession(XSession):
    """An X session with a Wine prefix of its own, made once, in which Times New Roman and
    MS Shell Dlg are the Liberation fonts (Qt then finds them by the Windows names), and a
    Downloads folder holding the program, the given files and a marker DLL named after each
    of the given DLLs. All of it, and HOME, in one temporary folder."""

    launcher = ("wine",)
    program_type = WineProgram
    # Named after a DLL the program uses, it writes NAME.ran beside itself when anything
    # loads it.
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

    def __init__(self, exe, files, planted_dlls):
        self.root = tempfile.mkdtemp(prefix="domino-wine-")
        self.prefix, self.home = (os.path.join(self.root, name) for name in ("prefix", "home"))
        os.mkdir(self.home)
        self.exe, self.files, self.planted_dlls = exe, files, planted_dlls
        super().__init__()

    def start_screen(self):
        super().start_screen()
        # Wine's menu builder and fontconfig write under HOME and XDG_*_HOME: a HOME that
        # check_untouched can watch, and the cache beside it.
        self.env.update(HOME=self.home, XDG_CACHE_HOME=os.path.join(self.root, "cache"))
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"):
            self.env.pop(name)
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

    def _plant_dlls(self):
        # Not the prefix's Downloads: Wine links that to HOME.
        folder = os.path.join(self.root, "downloads")
        os.mkdir(folder)
        source = os.path.join(self.root, "marker.c")
        with open(source, "w", encoding="ascii") as file:
            file.write(self.MARKER_DLL)
        marker = os.path.join(self.root, "marker.dll")
        self.run(["x86_64-w64-mingw32-gcc", "-shared", "-o", marker, source])
        for name in self.planted_dlls:
            shutil.copy(marker, os.path.join(folder, name))
        for path in (self.exe, *self.files):
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

    def leftovers(self, *names):
        """Whatever on drive C: has one of the names in its path."""
        drive = os.path.join(self.prefix, "drive_c")
        return [path for path in glob.glob("**", root_dir=drive, recursive=True)
                if any(name in path.lower() for name in names)]

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
        program = program or os.path.join(self.downloads, os.path.basename(self.exe))
        return super().start_program(extra_env, program, args)

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
