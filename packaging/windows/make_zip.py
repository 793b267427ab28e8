# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Usage: make_zip.py OUTPUT.zip PROGRAM.exe LICENSE README.txt

The portable download: the program, the licence and a short read-me, in one folder. Names
are stored as UTF-8 with the zip flag that says so, so Windows shows the Cyrillic name; the
read-me gets Windows line ends and a byte-order mark, so every Notepad reads it right."""

import os
import sys
import zipfile

output, program, licence, readme = sys.argv[1:]
folder = os.path.splitext(os.path.basename(output))[0]
# Fixed times, so the same inputs give the same archive.
stamp = (2026, 1, 1, 0, 0, 0)


def add(archive, name, data):
    info = zipfile.ZipInfo(f"{folder}/{name}", stamp)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    archive.writestr(info, data)


with open(readme, encoding="utf-8") as f:
    text = f.read()
with zipfile.ZipFile(output + ".new", "w") as archive:
    with open(program, "rb") as f:
        add(archive, os.path.basename(program), f.read())
    with open(licence, "rb") as f:
        add(archive, "LICENSE", f.read())
    add(archive, os.path.basename(readme), ("\ufeff" + text.replace("\n", "\r\n")).encode())
os.replace(output + ".new", output)
