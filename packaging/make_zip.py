# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Usage: make_zip.py OUTPUT.zip FILE...

A download of a few files, in one folder named like the zip: the portable Windows program, or
the web page for a school's server. Names are stored as UTF-8 with the zip flag that says so,
so Windows shows a Cyrillic name; a read-me (.txt) gets Windows line ends and a byte-order
mark, so every Notepad reads it right."""

import os
import sys
import zipfile

output, *files = sys.argv[1:]
folder = os.path.splitext(os.path.basename(output))[0]
# Fixed times, so the same inputs give the same archive.
stamp = (2026, 1, 1, 0, 0, 0)

with zipfile.ZipFile(output + ".new", "w") as archive:
    for path in files:
        with open(path, "rb") as f:
            data = f.read()
        if path.endswith(".txt"):
            data = ("\ufeff" + data.decode("utf-8").replace("\n", "\r\n")).encode()
        info = zipfile.ZipInfo(f"{folder}/{os.path.basename(path)}", stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        archive.writestr(info, data)
os.replace(output + ".new", output)
