# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints, as JSON, the accessibility tree of the running domino-tiles window, as a screen
reader sees it over AT-SPI. Run with the session's DISPLAY and DBUS_SESSION_BUS_ADDRESS."""

import json
import sys
import time

import pyatspi


def role(accessible):
    """The role by what it is: at-spi2-core 2.56 (Debian 13) names the button "button", 2.46
    "push button"; the enum behind both is the same."""
    if accessible.getRole() == pyatspi.ROLE_PUSH_BUTTON:
        return "button"
    return accessible.getRoleName()


def node(accessible, depth=0):
    entry = {
        "role": role(accessible),
        "name": accessible.name,
        "description": accessible.description,
        "states": sorted(pyatspi.stateToString(s) for s in accessible.getState().getStates()),
        "children": [],
    }
    try:
        text = accessible.queryText()
        entry["text"] = text.getText(0, text.characterCount)
    except NotImplementedError:
        pass
    try:
        extents = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        entry["extents"] = [extents.x, extents.y, extents.width, extents.height]
    except NotImplementedError:
        pass
    if depth < 6:
        entry["children"] = [node(child, depth + 1) for child in accessible if child]
    return entry


def main():
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app and app.name == sys.argv[1]:
                json.dump(node(app), sys.stdout, ensure_ascii=False)
                return
        time.sleep(0.2)
    sys.exit("no application named " + sys.argv[1] + " on the accessibility bus")


main()
