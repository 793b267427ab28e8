# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Usage: make_msi.py OUTPUT.msi SOURCE.wxs PROGRAM.exe LICENSE ICON.ico TITLE PUBLISHER

The per-machine installer, from the .wxs that CMake filled in with the product's facts, with
Debian's wixl. TITLE and PUBLISHER go into the package's summary."""

import os
import shutil
import subprocess
import sys
import tempfile
import uuid

output, source, program, licence, icon, title, publisher = sys.argv[1:]
# wixl stores its strings in the ANSI code page it takes from WINDOWS_LANGUAGE (through
# libgsf), and msibuild must read them back in the same one to set the tables' code page.
env = dict(os.environ, WINDOWS_LANGUAGE="bg")
with tempfile.TemporaryDirectory() as folder:
    # wixl takes no absolute source paths: the files under the names the .wxs gives them.
    for path, name in ((program, os.path.basename(program)), (licence, "LICENSE.txt"),
                       (icon, "icon.ico")):
        shutil.copyfile(path, os.path.join(folder, name))
    msi = os.path.join(folder, "package.msi")
    subprocess.run(["wixl", "-a", "x64", "-o", msi, os.path.abspath(source)],
                   cwd=folder, env=env, check=True)
    # Without it the tables say no code page, and Windows reads the names in its own.
    with open(os.path.join(folder, "_ForceCodepage.idt"), "w", newline="") as f:
        f.write("\r\n\r\n1251\t_ForceCodepage\r\n")
    # A rebuild of the same version replaces the installed one too, rather than adding a
    # second entry: the upgrade row includes its maximum (wixl has no
    # AllowSameVersionUpgrades).
    upgrade = subprocess.run(["msiinfo", "export", msi, "Upgrade"], env=env, check=True,
                             capture_output=True, text=True).stdout.split("\n")
    for i, line in enumerate(upgrade):
        fields = line.split("\t")
        if fields[-1].strip() == "WIX_UPGRADE_DETECTED":
            fields[4] = str(int(fields[4]) | 512)
            upgrade[i] = "\t".join(fields)
    with open(os.path.join(folder, "Upgrade.idt"), "w", newline="") as f:
        f.write("\n".join(upgrade))
    subprocess.run(["msibuild", msi, "-i", "_ForceCodepage.idt", "-i", "Upgrade.idt",
                    # wixl writes 1033 into the summary whatever the package's language.
                    "-s", title, publisher, "x64;1026",
                    "{" + str(uuid.uuid4()).upper() + "}"],
                   cwd=folder, env=env, check=True)
    shutil.move(msi, output)
