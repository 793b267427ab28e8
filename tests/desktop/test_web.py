# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web page (./web.sh) in Debian's headless Chromium, used as a pupil uses it: the page
served on 127.0.0.1 by this module with the server ./web.sh --serve runs, clicks, keys and
fingers sent to it, the window read back from screenshots in device pixels, what a screen reader
gets read from the browser's accessibility tree, and axe-core's audit of it."""

import filecmp
import glob
import gzip
import json
import os
import pathlib
import subprocess
import tempfile
import unittest
import urllib.error
import urllib.request
import zipfile

from harness import (EXPECTED, FIRST_ROW, FIRST_VISIT_KIB, FORM, HEADING, HEADING_LEFT, NAMES,
                     PAGE, ROOT, TILES, Browser, PageServer, PupilSteps, accessibility_tree,
                     expected_report, expected_tile, facts, first_visit_kib, halves_said, heard,
                     report_lines, role, said, serve_page, tile_said)

BUILD_WEB = os.path.dirname(PAGE)
ZIP_KIB = 200  # what the zip's files may hold
LEAST_PSNR = 38  # dB, each photograph against the original it was made from
AXE = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"),
                   "domino-tiles", "axe-core-4.10.2", "node_modules", "axe-core", "axe.min.js")
with open(os.path.join(ROOT, "tests", "support", "list_keys.json"), encoding="utf-8") as file:
    LIST_KEYS = json.load(file)["keys"]
# Qt's names of keys, in Selenium's.
KEY_NAMES = {"PgDown": "Page_Down", "PgUp": "Page_Up"}
EXPECTED_INK = tuple(EXPECTED["colours"]["ink"])
server = None


def setUpModule():
    global server
    server = serve_page()


def tearDownModule():
    if server:
        server.close()


def row_said(label):
    """What a screen reader hears of a row after its label."""
    return halves_said(label) + " " + report_lines(label)[1]


class WebPage(unittest.TestCase, PupilSteps):
    @classmethod
    def setUpClass(cls):
        cls.browser = Browser()

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def setUp(self):
        self.program = self.browser
        self.browser.open(server.url)

    def assertHeard(self, report, tile):
        """The live region holds the report (or the prompt), for a screen reader; the drawing
        is named, and says what it shows."""
        wanted = report.rstrip("\n")
        self.assertEqual(heard(self.browser), (wanted, [wanted.split()], [(NAMES["tile"], tile)]))

    def test_page_loads_clean_with_the_window_in_its_middle(self):
        driver = self.browser.driver
        self.assertEqual(driver.title, facts()["name"])
        errors = [entry["message"] for entry in driver.get_log("browser")
                  if entry["level"] == "SEVERE"]
        self.assertEqual(errors, [])

        width, height = driver.execute_script("return [innerWidth, innerHeight];")
        self.assertEqual(self.browser.placed()[2], 1)
        left, top, right, bottom = self.browser.frame()
        self.assertLessEqual(abs((left + right) / 2 - width / 2), 1)
        self.assertLessEqual(abs((top + bottom) / 2 - height / 2), 1)
        page = self.browser.screenshot(0, 0, width, height)
        self.assertEqual(page.pixel(5, 5), FORM)
        self.assertEqual(page.pixel(width - 5, height - 5), FORM)
        self.assertLessEqual(self.browser.layout_shift(), 0.01, "the page moved as it started")
        # Nothing hides the window: the live region is heard, not seen.
        self.assertEqual(self.browser.client().pixel(*self.browser.device(*HEADING_LEFT)),
                         HEADING)
        self.assertEqual(
            driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"],
            [])

    def test_first_visit_is_light_and_sent_precompressed(self):
        self.assertLessEqual(first_visit_kib(self.browser, server.url), FIRST_VISIT_KIB[1])
        unpack = {"gzip": gzip.decompress,
                  "br": lambda data: subprocess.run(["brotli", "-d", "-c"], input=data,
                                                    capture_output=True, check=True).stdout}
        program = facts()["executable"]
        for name, kind in ((program + ".wasm", "application/wasm"),
                           (program + ".js", "text/javascript"),
                           ("index.html", "text/html; charset=utf-8")):
            for coding in unpack:
                request = urllib.request.Request(server.url + name,
                                                 headers={"Accept-Encoding": coding})
                with urllib.request.urlopen(request, timeout=20) as response:
                    self.assertEqual((response.headers["Content-Type"],
                                      response.headers["Content-Encoding"]), (kind, coding))
                    self.assertEqual(unpack[coding](response.read()),
                                     pathlib.Path(PAGE, name).read_bytes())

    def test_photographs_keep_close_to_the_original(self):
        for path in glob.glob(os.path.join(PAGE, "photo*.*")):
            scale = os.path.splitext(os.path.basename(path))[0][len("photo"):]
            original = os.path.join(ROOT, "assets", f"photo{scale}.jpg")
            with self.subTest(os.path.basename(path)), \
                    tempfile.TemporaryDirectory(prefix="domino-photo-") as folder:
                decoded = os.path.join(folder, "decoded.png")
                if path.endswith(".avif"):
                    subprocess.run(["avifdec", path, decoded], check=True, capture_output=True)
                elif path.endswith(".webp"):
                    subprocess.run(["dwebp", "-quiet", path, "-o", decoded], check=True)
                else:
                    decoded = path
                # The original itself: ImageMagick 6 calls its PSNR "inf", 7 calls it 0.
                if filecmp.cmp(original, decoded, shallow=False):
                    continue
                result = subprocess.run(["compare", "-metric", "PSNR", original, decoded,
                                         "null:"], capture_output=True, text=True)
                psnr = result.stderr.split()[0]
                self.assertTrue(psnr == "inf" or float(psnr) >= LEAST_PSNR, psnr)

    def test_only_the_page_is_served_and_its_zip_holds_it(self):
        program, version = facts()["executable"], facts()["version"]
        twinned = [f"{name}{twin}" for name in ("index.html", program + ".js", program + ".wasm")
                   for twin in ("", ".gz", ".br")]
        photos = [f"photo{scale}.{kind}" for scale in ("", "@2x", "@3x")
                  for kind in ("avif", "webp", "jpg")]
        served = sorted([*twinned, *photos, "serif.woff2", "sw.js", "manifest.webmanifest",
                         "icon.png", "icon-192.png", "icon-512.png"])
        self.assertEqual(sorted(os.listdir(PAGE)), served)
        with tempfile.TemporaryDirectory(prefix="domino-served-") as folder:
            os.mkdir(os.path.join(folder, "build"))
            other = PageServer(folder)
            try:
                for url in (server.url + "CMakeCache.txt", server.url + "CMakeFiles/",
                            other.url + "build/"):
                    with self.subTest(url), self.assertRaises(urllib.error.HTTPError) as answer:
                        urllib.request.urlopen(url, timeout=20)
                    self.assertEqual(answer.exception.code, 404)
            finally:
                other.close()
        name = f"{program}-{version}-web"
        with zipfile.ZipFile(os.path.join(BUILD_WEB, name + ".zip")) as archive:
            self.assertEqual(sorted(archive.namelist()), [f"{name}/{file}" for file in served])
            self.assertLessEqual(sum(entry.file_size for entry in archive.infolist()) / 1024,
                                 ZIP_KIB)
            for file in served:
                with urllib.request.urlopen(server.url + file, timeout=20) as response:
                    self.assertEqual(archive.read(f"{name}/{file}"), response.read(), file)

    def test_picking_with_touch_mouse_and_keys(self):
        # A finger on the third row first, then the desktop's picks, then "1" for 1:1.
        picks = ((("tap", FIRST_ROW[0], FIRST_ROW[1] + 34), "0:2"), *PupilSteps.PICKS,
                 (("keys", "1"), "1:1"))
        self.check_picking(picks, self.assertHeard)

    def test_clear_button_returns_to_the_bare_tile(self):
        self.check_clearing(("click", "space", "Return"), self.assertHeard)

    def test_list_takes_the_desktop_lists_keys(self):
        driver = self.browser.driver
        step = driver.execute_script(
            "const list = document.getElementById('List1');"
            "return Math.floor(list.clientHeight / list.firstChild.getBoundingClientRect()"
            ".height) - 1;")
        # The desktop's list shows six whole rows of 17 pixels, as the page's does.
        self.assertEqual(step, 5)
        for name, start, key, expected, pages, clicks in LIST_KEYS:
            with self.subTest(name):
                self.browser.click(*FIRST_ROW)
                if start < 0:
                    # Cleared while the list keeps the focus, as the desktop's table has it.
                    driver.execute_script("document.getElementById('Command1').click();")
                else:
                    self.browser.keys("Home", *["Down"] * start)
                before = heard(self.browser)[0]
                driver.execute_script("window.picks = 0;"
                                      "new MutationObserver(() => ++window.picks).observe("
                                      "document.getElementById('announcement'),"
                                      " {childList: true, characterData: true, subtree: true});")
                *modifiers, pressed = key.split("+")
                self.browser.keys("+".join([*modifiers, KEY_NAMES.get(pressed, pressed)]))
                expected += pages * step
                selected = driver.execute_script(
                    "return [...document.querySelectorAll('[role=option]')]"
                    ".findIndex(o => o.getAttribute('aria-selected') == 'true');")
                self.assertEqual(selected, expected)
                self.assertEqual(driver.execute_script("return window.picks;") > 0, clicks > 0)
                if clicks == 0:
                    self.assertEqual(heard(self.browser)[0], before)
                if expected >= 0:
                    shown = driver.execute_script(
                        "const list = document.getElementById('List1').getBoundingClientRect();"
                        f"const row = document.getElementById('row{expected}')"
                        ".getBoundingClientRect();"
                        "return row.top >= list.top && row.bottom <= list.bottom;")
                    self.assertTrue(shown, "the selected row out of view")

    def test_every_row_reports_and_is_named_as_on_the_desktop(self):
        driver = self.browser.driver
        nodes, by_id = accessibility_tree(self.browser)
        lists = [node for node in nodes if role(node) == "listbox"]
        self.assertEqual([said(node, "name") for node in lists], [NAMES["list"]])
        options = [by_id[child] for child in lists[0]["childIds"]]
        self.assertEqual([(role(node), said(node, "name"), said(node, "description"))
                          for node in options],
                         [("option", label, row_said(label)) for label in TILES])
        names = {said(node, "name"): role(node) for node in nodes
                 if role(node) not in ("StaticText", "InlineTextBox")}
        self.assertEqual((names.get(NAMES["report"]), names.get(NAMES["button"]),
                          names.get(NAMES["photo"])), ("textbox", "button", "image"))

        self.browser.click(*FIRST_ROW)
        for row, label in enumerate(TILES):
            with self.subTest(label):
                if row:
                    self.browser.keys("Down")
                text = driver.execute_script("return document.getElementById('Text1').value;")
                self.assertEqual(text, expected_report(label))
                self.assertEqual(heard(self.browser)[2], [(NAMES["tile"], tile_said(label))])

    def test_tile_is_the_desktops_at_every_ratio_and_zoom(self):
        """The canvas on screen, device pixel by device pixel, at ratios 1 to 3 and at the
        smallest zoom step, against the tile worked out from the pips' centres."""
        for scale, size, zoom in ((1, (560, 420), 1), (2, (560, 420), 1), (3, (560, 420), 1),
                                  (3, (360, 600), 0.75)):
            with self.subTest(scale=scale, zoom=zoom):
                browser = Browser(scale=scale, size=size)
                try:
                    browser.open(server.url)
                    self.assertEqual(browser.placed()[2], zoom)
                    for keys, (upper, lower) in ((("Home",), (0, 0)), (("2", "Down", "Down",
                                                 "Down"), (2, 5)), (("End",), (6, 6))):
                        browser.click(*FIRST_ROW)
                        browser.keys(*keys)
                        shown = [[pixel == EXPECTED_INK for pixel in row]
                                 for row in browser.tile()]
                        wanted = expected_tile(upper, lower, scale * zoom)
                        wrong = [(x, y) for y, row in enumerate(wanted)
                                 for x, ink in enumerate(row) if shown[y][x] != ink]
                        self.assertEqual((len(shown), len(shown[0]), wrong[:8]),
                                         (len(wanted), len(wanted[0]), []), f"{upper}:{lower}")
                finally:
                    browser.close()

    def test_accessibility_audit_finds_nothing(self):
        if not os.path.isfile(AXE):
            self.fail(f"no axe-core at {AXE}: ./web.sh --build installs it")
        driver = self.browser.driver
        driver.execute_script(pathlib.Path(AXE).read_text(encoding="utf-8"))
        for state in ("start", "picked", "cleared"):
            with self.subTest(state):
                if state == "picked":
                    self.browser.click(*FIRST_ROW)
                    self.browser.keys("End")
                elif state == "cleared":
                    self.browser.click(*EXPECTED["points"]["button"])
                violations = driver.execute_async_script(
                    "axe.run(document).then(r => arguments[0](r.violations.map("
                    "v => [v.id, v.nodes.map(n => n.target.join(' '))])));")
                self.assertEqual(violations, [])


if __name__ == "__main__":
    unittest.main()
