# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Usage: delay_imports.py NM DLLTOOL OUTPUT-FOLDER IMPORT-LIBRARY...

For each of mingw-w64's import libraries (libdwmapi.a, ...), a delay-import library of the
same name in OUTPUT-FOLDER, with the same functions: linked instead of the plain one, it
loads the DLL on its first call, through the program's hook, rather than at start-up."""

import os
import subprocess
import sys

nm, dlltool, folder, *libraries = sys.argv[1:]
os.makedirs(folder, exist_ok=True)
for library in libraries:
    dll = subprocess.run([dlltool, "--identify", library], capture_output=True, text=True,
                         check=True).stdout.strip()
    symbols = subprocess.run([nm, "--defined-only", library], capture_output=True, text=True,
                             check=True).stdout
    functions = sorted({line.split(" I __imp_")[1] for line in symbols.splitlines()
                        if " I __imp_" in line})
    name = os.path.basename(library)
    definition = os.path.join(folder, name + ".def")
    with open(definition, "w", encoding="ascii") as f:
        f.write(f"LIBRARY {dll}\nEXPORTS\n" + "".join(f"{function}\n" for function in functions))
    subprocess.run([dlltool, "--input-def", definition, "--dllname", dll,
                    "--output-delaylib", os.path.join(folder, name)], check=True)
