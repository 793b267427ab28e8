# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""What the Orca screen reader says to a pupil who picks tiles with the keys and clears them.

Orca runs with no synthesizer: everything it would say is in its debug log as SPEECH OUTPUT.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from harness import (NAMES, PROMPT, ROOT, TILES, Browser, PageServer, XSession, find_tool,
                     halves_said, report_lines)


def said(label):
    """What Orca says for a picked entry: its label, what the tile shows and the report's
    second line."""
    return f"{label} {halves_said(label)} {report_lines(label)[1]}"


# Each key a pupil presses, and all Orca says after it, but for its echo of the key (and, after
# the last, its own "Screen reader off."); where Orca 43 (Debian 12) and 48 (Debian 13) put it
# differently, each way it may be said.
STEPS = (
    ("Tab", [f"{NAMES['list']} List with {len(TILES)} items"]),
    ("Home", [said("0:0")]),
    ("Down", [said("0:1")]),
    ("Down", [said("0:2")]),
    ("Down", [said("0:3")]),
    ("End", [said("6:6")]),
    ("Tab", [f"{NAMES['button']} button {NAMES['button_description'].removesuffix('.')}"]),
    # A notification shown (Qt 6.4), or an announcement (Qt 6.8).
    ("space", ["notification " + PROMPT, PROMPT]),
)

ORCA_START = 8  # seconds for Orca to start and read the window
KEY_PAUSE = 2  # seconds for Orca to hear a key and what follows from it
KEY_PRESS = re.compile(r"^vvvvv PROCESS ATSPI_KEY_PRESSED_EVENT: '(.*)' \(\d+\) vvvvv$")
SPEECH_START = " - SPEECH OUTPUT: '"
SPEECH = re.compile(r" - SPEECH OUTPUT: '(.*)' ?\{")


def heard(log):
    """(key, what was said) for each key press in Orca's debug log, its echo of the key and its
    goodbye left out. Orca 48 puts into one utterance what Orca 43 says in several, each ended
    with a full stop, and calls a button a button where 43 says push button; neither changes
    what a listener hears, so both are put the same way here."""
    steps = []
    lines = iter(log.splitlines())
    for line in lines:
        if match := KEY_PRESS.match(line):
            steps.append((match[1], []))
        elif SPEECH_START in line and steps:
            # An utterance of several lines goes on, indented, until its closing quote.
            while not SPEECH.search(line):
                line += " " + next(lines, "'{").strip()
            match = SPEECH.search(line)
            if match[1].strip() not in (steps[-1][0].lower(), "Screen reader off."):
                steps[-1][1].append(match[1].strip().removesuffix("."))
    return [(key, " ".join(said).replace(" push button", " button")) for key, said in steps]


class Orca(unittest.TestCase):
    steps = STEPS
    window_first = True

    def setUp(self):
        orca = find_tool("orca")
        home = tempfile.mkdtemp(prefix="domino-orca-")
        self.addCleanup(shutil.rmtree, home)
        self.session = XSession(accessibility=True)
        self.addCleanup(self.session.close)
        self.log = os.path.join(home, "orca.log")
        # Its own home and settings, and speech that goes only to the log.
        self.session.env.update(
            HOME=home, XDG_CONFIG_HOME=f"{home}/config", XDG_DATA_HOME=f"{home}/data",
            XDG_CACHE_HOME=f"{home}/cache", GSETTINGS_BACKEND="memory",
            SPEECHD_CMD=find_tool("false"),
            SPEECHD_ADDRESS=f"unix_socket:{home}/no-speech-dispatcher")
        # The accessibility bus's launcher lives among the programs no user runs.
        launcher = find_tool("at-spi-bus-launcher", path="/usr/libexec")
        self.session.spawn([launcher, "--launch-immediately"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.window_first:
            self.start_window()
        self.orca = self.session.spawn(
            [orca, "-u", f"{home}/prefs", f"--debug-file={self.log}"],
            env=dict(self.session.env, LC_ALL="C.UTF-8"),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Its log is written in blocks, so there is no telling from it when Orca is ready.
        time.sleep(ORCA_START)
        if self.orca.poll() is not None:
            self.skipTest("Orca could not start")
        if not self.window_first:
            self.start_window()
            time.sleep(ORCA_START)

    def start_window(self):
        self.program = self.session.start_program()
        self.addCleanup(self.program.close)

    def press(self, key):
        self.program.keys(key)

    def stop_orca(self):
        """Orca acts on TERM only once an event wakes it, and writes its log out as it ends."""
        self.orca.send_signal(signal.SIGTERM)
        self.session.run(["xdotool", "key", "shift"])
        self.orca.wait(timeout=20)

    def test_listener_hears_each_pick_and_the_clear(self):
        for key, _ in self.steps:
            self.press(key)
            time.sleep(KEY_PAUSE)
        self.stop_orca()
        with open(self.log, encoding="utf-8") as log:
            steps = heard(log.read())
        self.assertEqual([key for key, _ in steps[:len(self.steps)]],
                         [key for key, _ in self.steps])
        for (key, said), (_, ways) in zip(steps, self.steps):
            self.assertIn(said, ways, f"{key}, of all that was heard: {steps}")


# The same keys on the web page in Chromium: the list is the browser's listbox, and after each
# pick the page's live region says the report. Orca turns to browse mode on leaving the list.
def page_said(label):
    return " ".join([said(label), *report_lines(label)])


STEPS_ON_THE_PAGE = (
    # Orca 48 also says that it turns to focus mode.
    ("Tab", [STEPS[0][1][0], f"{STEPS[0][1][0]} Focus mode"]),
    *((key, [page_said(label)]) for (key, _), label in zip(STEPS[1:6], ("0:0", "0:1", "0:2",
                                                                            "0:3", "6:6"))),
    ("Tab", [f"{STEPS[6][1][0]} Browse mode"]),
    ("space", [PROMPT]),
)


class OrcaOnThePage(Orca):
    """The pupil's keys on the web page in a normal Chromium window on the same screen."""

    steps = STEPS_ON_THE_PAGE
    # As a pupil who hears the screen does: Orca runs before the page opens. Orca 48 started
    # on a page already open, with its report focused, stays in focus mode but takes the
    # list's keys for its own browse-mode commands.
    window_first = False

    def start_window(self):
        page = os.path.join(ROOT, "build-web", "page")
        if not os.path.isfile(os.path.join(page, "index.html")):
            raise RuntimeError("no page in build-web/page/: ./web.sh builds it")
        server = PageServer(page)
        self.addCleanup(server.close)
        self.browser = Browser(session=self.session)
        self.addCleanup(self.browser.close)
        self.browser.open(server.url)
        # Opened by the driver, the page may leave the keys in the address bar. A pupil's click
        # low in the window gives them to the page, which then starts as it does when it has
        # them: with the report focused.
        window = self.session.run(["xdotool", "search", "--onlyvisible", "--name",
                                   self.browser.driver.title]).split()[0]
        self.session.run(["xdotool", "mousemove", "--window", window, "280", "400", "sleep",
                          "0.05", "click", "1"])
        self.browser.driver.execute_script("document.getElementById('Text1').focus();")

    def press(self, key):
        self.session.run(["xdotool", "key", "--clearmodifiers", key])


if __name__ == "__main__":
    unittest.main()
