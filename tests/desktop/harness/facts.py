# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the program must show, from tests/support, and the product's facts, from the build's
facts.json: one place for every expected value of the desktop tests."""

import functools
import glob
import json
import math
import os
import subprocess

PROGRAM = os.environ.get("DOMINO_PROGRAM", "build/domino-tiles")
BUILD = os.environ.get("DOMINO_BUILD_DIR", "build")
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
SKIP = 77  # ctest's SKIP_RETURN_CODE for the desktop tests


def _support(name):
    with open(os.path.join(ROOT, "tests", "support", name), encoding="utf-8") as file:
        return json.load(file)


EXPECTED = _support("expected_window.json")
CAPTION, PROMPT, NO_TILE = EXPECTED["caption"], EXPECTED["prompt"], EXPECTED["no_tile_said"]
NAMES = EXPECTED["names"]  # what a screen reader calls each control
SIZE = tuple(EXPECTED["client_size"])
TILES = EXPECTED["tiles"].split()
FORM, HEADING, RED, INK = (tuple(EXPECTED["colours"][key])
                           for key in ("form", "heading", "button", "ink"))
FIRST_ROW, BUTTON, TEXT, HEADING_LEFT = (tuple(EXPECTED["points"][key])
                                         for key in ("first_row", "button", "report",
                                                     "heading_left"))
HEADING_AREA, LIST_AND_TILE, TILE, TILE_DRAWING = (
    tuple(EXPECTED["areas"][key]) for key in ("heading", "list_and_tile", "tile", "tile_drawing"))
TILE_WIDTH, TILE_HEIGHT = TILE_DRAWING[2:]
PIP_DIAMETER, DIVIDER_ROW = EXPECTED["tile"]["pip_diameter"], EXPECTED["tile"]["divider_row"]


@functools.cache
def facts():
    """The product's facts as the build declares them: name, name_en, app_id, executable,
    publisher, version, homepage, description."""
    with open(os.path.join(BUILD, "facts.json"), encoding="utf-8") as file:
        return json.load(file)


def menu_entry():
    """The text of the menu entry the build makes."""
    paths = glob.glob(os.path.join(BUILD, "**", facts()["app_id"] + ".desktop"), recursive=True)
    if not paths:
        raise AssertionError(f"no menu entry in {BUILD}")
    with open(paths[0], encoding="utf-8") as entry:
        return entry.read()


def report_lines(label):
    mirrored = label[::-1]
    first, symmetric, turned = EXPECTED["report"]
    return [first.format(label=label),
            symmetric if mirrored == label else turned.format(mirrored=mirrored)]


def expected_report(label):
    """The report as copied out of the report box (line ends as LF)."""
    return "".join(line + "\n" for line in report_lines(label))


def halves_said(label):
    """What a screen reader hears the tile show, half by half."""
    said = EXPECTED["pips_said"]
    upper, lower = (said["one" if count == "1" else "other"].format(count=count)
                    for count in label.split(":"))
    return EXPECTED["halves_said"].format(upper=upper, lower=lower)


def tile_said(label):
    return EXPECTED["tile_said"].format(label=label, halves=halves_said(label))


def expected_tile(upper, lower, ratio=1):
    """The tile's drawing area as rows of booleans (True = ink), from first principles: the
    pip centres of the shared table, round dots PIP_DIAMETER pixels across, the divider on
    row DIVIDER_ROW. At a device pixel ratio, a device pixel is ink where its centre lies
    within a dot, or within the divider's row."""
    table = _support("expected_pips.json")
    dots = table["upper"].get(str(upper), []) + table["lower"].get(str(lower), [])
    radius = PIP_DIAMETER / 2

    def first(pixel):  # the first device pixel whose centre lies in a logical pixel
        return math.ceil(pixel * ratio - 0.5)

    def inked(x, y):
        cx, cy = (x + 0.5) / ratio, (y + 0.5) / ratio
        return first(DIVIDER_ROW) <= y < first(DIVIDER_ROW + 1) or any(
            (cx - dx - 0.5) ** 2 + (cy - dy - 0.5) ** 2 <= radius ** 2 for dx, dy in dots)

    return [[inked(x, y) for x in range(first(TILE_WIDTH))]
            for y in range(first(TILE_HEIGHT))]


def cached_qt(platform):
    """Whether ./windows.sh has built its Qt for this platform once."""
    prefix = subprocess.run(["bash", os.path.join(ROOT, "scripts", "cross-qt.sh"), "prefix",
                             platform], check=True, capture_output=True, text=True).stdout
    return os.path.exists(os.path.join(prefix.strip(), ".complete"))
