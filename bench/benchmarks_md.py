# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""BENCHMARKS.md is written here and nowhere else. Each script that measures hands over the
sections it owns; each section begins with a marker line, is replaced whole, and the others are
left as they were. The long runs' table has one row a command, replaced the same way:

    benchmarks_md.py row COMMAND RESULT TIME

records a row from a shell script or by hand (COMMAND starts with the command in backquotes,
which names the row)."""

import os
import re
import sys
import tempfile

BENCHMARKS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "BENCHMARKS.md")

# In the order they stand in the file, with who writes each.
SECTIONS = (
    "header",               # bench/run_benchmarks.py (scripts/bench.sh)
    "start-up",             # bench/run_benchmarks.py
    "selection",            # bench/run_benchmarks.py
    "where-the-time-goes",  # bench/run_benchmarks.py
    "long-runs",            # record_long_run: scripts/soak.sh, scripts/memcheck.sh, by hand
    "web-page",             # bench/web_page.py (./web.sh --bench)
    "web-levers",           # by hand: what each way of lightening the page saved, measured once
)
MARKER = re.compile(r"^<!-- section: ([a-z-]+) -->$", re.MULTILINE)

LONG_RUNS_HEADING = """## Soak, sanitizers and fuzzing

These take minutes and are not part of `scripts/bench.sh`. `scripts/soak.sh` and
`scripts/memcheck.sh` write their row when they end; the others are recorded by hand with
`bench/benchmarks_md.py row`.

| command | result | time |
|---|---|---|
"""


def read_sections(path=BENCHMARKS):
    """The file's sections in order, as (name, text) pairs, markers left out."""
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        text = f.read()
    found = list(MARKER.finditer(text))
    if text[:found[0].start() if found else len(text)].strip():
        # Text no section owns would be lost at the next write.
        raise ValueError(f"{path}: text before the first section marker")
    return [(m[1], text[m.end():found[i + 1].start() if i + 1 < len(found) else len(text)])
            for i, m in enumerate(found)]


def write_sections(sections, path=BENCHMARKS):
    """Replaces each named section (a dict of name to markdown), adds the ones missing in their
    place, and leaves the rest as they are. The file is replaced at once, so a run that fails
    halfway leaves the old one."""
    current = read_sections(path)
    for name, text in sections.items():
        if name not in SECTIONS:
            raise ValueError(f"unknown section {name!r}")
        names = [n for n, _ in current]
        if name in names:
            current[names.index(name)] = (name, text)
        else:
            before = [i for i, n in enumerate(names)
                      if n in SECTIONS and SECTIONS.index(n) < SECTIONS.index(name)]
            current.insert(before[-1] + 1 if before else 0, (name, text))
    content = "\n".join(f"<!-- section: {name} -->\n{text.strip(chr(10))}\n"
                        for name, text in current)
    folder = os.path.dirname(os.path.abspath(path))
    with tempfile.NamedTemporaryFile("w", encoding="utf-8", dir=folder, delete=False,
                                     prefix=".BENCHMARKS.", suffix=".md") as f:
        try:
            f.write(content)
            f.close()
            # A temporary file is private; the new one keeps the old one's permissions.
            umask = os.umask(0)
            os.umask(umask)
            os.chmod(f.name, os.stat(path).st_mode if os.path.exists(path) else 0o666 & ~umask)
            os.replace(f.name, path)
        except BaseException:
            os.unlink(f.name)
            raise


def write_section(name, text, path=BENCHMARKS):
    write_sections({name: text}, path)


def _command(cell):
    """The command a row is about: the first word in backquotes at the start of its cell."""
    found = re.match(r"`([^ `]+)", cell)
    return found and found[1]


def record_long_run(command, result, time, path=BENCHMARKS):
    """Puts one row into the long runs' table, in place of the row of the same command or, for
    a new command, at the end."""
    cells = (command, result, time)
    if not _command(command) or any("\n" in cell for cell in cells):
        raise ValueError("a row is one line, its command in backquotes first")
    row = "| " + " | ".join(cell.replace("|", "\\|") for cell in cells) + " |"
    old = dict(read_sections(path)).get("long-runs", "")
    rows = [line for line in old.splitlines()
            if line.startswith("| ") and not line.startswith("| command |")]
    same = [i for i, line in enumerate(rows) if _command(line[2:]) == _command(command)]
    if same:
        rows[same[0]] = row
    else:
        rows.append(row)
    write_section("long-runs", LONG_RUNS_HEADING + "\n".join(rows) + "\n", path)


if __name__ == "__main__":
    if len(sys.argv) != 5 or sys.argv[1] != "row":
        sys.exit(__doc__)
    record_long_run(*sys.argv[2:])
