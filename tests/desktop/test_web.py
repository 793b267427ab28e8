# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program built for the browser (./web.sh) in Debian's headless Chromium, used as a
pupil uses it: the page served on 127.0.0.1 by this module with the server ./web.sh --serve
runs, clicks and keys sent to the page, the window read back from screenshots in device pixels,
what a screen reader gets read from the browser's accessibility tree."""

import glob
import gzip
import os
import pathlib
import shutil
import subprocess
import tempfile
import time
import unittest
import urllib.error
import urllib.request
import zipfile

from harness import (EXPECTED, FIRST_ROW, FORM, HEADING, HEADING_LEFT, ROOT, SIZE, TILES,
                     Browser, PageServer, PupilSteps, cached_qt, check_sharp_tile, facts)

BUILD_WEB = os.path.join(ROOT, "build-web")
PAGE = os.path.join(BUILD_WEB, "page")
PAGE_FILES = ("*.html", "*.js", "*.wasm", "*.png", "*.webmanifest")
MOST_GZIP_KIB = 2000  # what 30 pupils can load over a school's 20 Mbit/s line in 25 s
server = None


def setUpModule():
    global server
    if not cached_qt("web"):
        raise unittest.SkipTest("no Qt for WebAssembly in the cache: ./web.sh builds it")
    # ./test.sh has brought the page up to date with the sources (./web.sh --build).
    if not os.path.isfile(os.path.join(PAGE, "index.html")):
        raise RuntimeError("no page in build-web/page/: ./web.sh builds it")
    server = PageServer(PAGE)


def tearDownModule():
    if server:
        server.close()


def page_files(folder=PAGE):
    return sorted(path for pattern in PAGE_FILES
                  for path in glob.glob(os.path.join(folder, pattern)))


def heard(browser):
    """What the page's live region holds, through the DOM and through the accessibility tree a
    screen reader reads, words only; and the names given to the canvas there."""
    driver = browser.driver
    text = driver.execute_script("return document.getElementById('announcement').textContent;")
    nodes = driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    by_id = {node["nodeId"]: node for node in nodes}

    def role(node):
        return node.get("role", {}).get("value")

    def words(node):
        if role(node) == "StaticText":
            return node["name"]["value"].split()
        return [word for child in node.get("childIds", []) if child in by_id
                for word in words(by_id[child])]

    regions = [node for node in nodes if role(node) not in ("StaticText", "InlineTextBox")
               and {"name": "live", "value": {"type": "token", "value": "polite"}}
               in node.get("properties", [])]
    canvas = [node["name"]["value"] for node in nodes if role(node) == "application"]
    return text, [words(region) for region in regions], canvas


def unnamed_fields(browser):
    """The text fields on the page that a screen reader would find without a name."""
    nodes = browser.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    return [node for node in nodes if node.get("role", {}).get("value") == "textbox"
            and not node.get("ignored") and not node.get("name", {}).get("value")]


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
        """The live region holds the report, then what the tile shows, for a screen reader."""
        wanted = report.rstrip("\n") + "\n" + tile
        self.assertEqual(heard(self.browser), (wanted, [wanted.split()], [facts()["name"]]))

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

    def test_page_is_light_and_sent_precompressed(self):
        packed = sum(len(gzip.compress(pathlib.Path(path).read_bytes(), 9))
                     for path in page_files())
        self.assertLessEqual(packed / 1024, MOST_GZIP_KIB)
        unpack = {"gzip": gzip.decompress,
                  "br": lambda data: subprocess.run(["brotli", "-d", "-c"], input=data,
                                                    capture_output=True, check=True).stdout}
        program = facts()["executable"]
        for name, kind in ((program + ".wasm", "application/wasm"),
                           (program + ".js", "text/javascript"),
                           ("qtloader.js", "text/javascript")):
            for coding in unpack:
                request = urllib.request.Request(server.url + name,
                                                 headers={"Accept-Encoding": coding})
                with urllib.request.urlopen(request, timeout=20) as response:
                    self.assertEqual((response.headers["Content-Type"],
                                      response.headers["Content-Encoding"]), (kind, coding))
                    self.assertEqual(unpack[coding](response.read()),
                                     pathlib.Path(PAGE, name).read_bytes())

    def test_only_the_page_is_served_and_its_zip_holds_it(self):
        program, version = facts()["executable"], facts()["version"]
        twinned = [f"{name}{twin}" for name in ("index.html", "qtloader.js", program + ".js",
                                                program + ".wasm") for twin in ("", ".gz", ".br")]
        served = sorted([*twinned, "sw.js", "manifest.webmanifest", "icon.png", "icon-192.png",
                         "icon-512.png"])
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
            for file in served:
                with urllib.request.urlopen(server.url + file, timeout=20) as response:
                    self.assertEqual(archive.read(f"{name}/{file}"), response.read(), file)

    def test_picking_with_touch_mouse_and_keys(self):
        # A finger on the third row first, then the desktop's picks, then "1" for 1:1.
        picks = ((("tap", FIRST_ROW[0], FIRST_ROW[1] + 32), "0:2"), *PupilSteps.PICKS,
                 (("keys", "1"), "1:1"))
        self.check_picking(picks, self.assertHeard)

    def test_clear_button_returns_to_the_bare_tile(self):
        self.check_clearing(("click",), self.assertHeard)

    def test_closing_the_window_leaves_a_page_that_says_so(self):
        self.browser.click(SIZE[0] - 10, -13)  # the close box of the title bar Qt draws
        hidden, status = self.browser.driver.execute_script(
            "return [document.querySelector('canvas').hidden,"
            " document.getElementById('status').textContent];")
        self.assertTrue(hidden)
        self.assertIn(EXPECTED["closed_page"], status)


class ClassroomScreens(unittest.TestCase, PupilSteps):
    """Phones, a tablet and a projector: the page shows the whole window at the largest zoom
    step that fits, a finger swipes the list and taps a tile, and a pupil may pinch."""

    # CSS width and height, device pixel ratio, the step that fits.
    SCREENS = {"phone upright": (360, 740, 3, 75), "phone on its side": (740, 360, 3, 75),
               "tablet": (768, 1024, 2, 150), "full-HD projector": (1920, 950, 1, 250)}

    def setUp(self):
        self.browser = self.program = Browser()
        self.addCleanup(self.browser.close)

    def show_on(self, screen):
        width, height, scale, _ = self.SCREENS[screen]
        self.browser.emulate(width, height, scale)
        self.browser.open(server.url)

    def test_whole_window_in_the_largest_step_that_fits(self):
        for screen, (width, height, _, step) in self.SCREENS.items():
            with self.subTest(screen):
                self.show_on(screen)
                left, top, zoom = self.browser.placed()
                self.assertEqual(round(zoom * 100), step)
                # The frame within the page, the client area within the frame.
                frame = self.browser.frame()
                self.assertTrue(0 <= frame[0] and 0 <= frame[1] and frame[2] <= width
                                and frame[3] <= height, frame)
                self.assertTrue(frame[0] < left and frame[1] < top
                                and left + SIZE[0] * zoom <= frame[2]
                                and top + SIZE[1] * zoom <= frame[3], (left, top, frame))
                scrolls = self.browser.driver.execute_script(
                    "const e = document.scrollingElement;"
                    "return [e.scrollWidth > innerWidth, e.scrollHeight > innerHeight];")
                self.assertEqual(scrolls, [False, False])
                self.assertLessEqual(self.browser.layout_shift(), 0.01)
                # Qt's field for an on-screen keyboard, off the page, has a name too.
                self.assertEqual(unnamed_fields(self.browser), [])
        viewport = self.browser.driver.execute_script(
            "return document.querySelector('meta[name=viewport]').content;")
        self.assertNotIn("user-scalable=no", viewport.replace(" ", ""))
        self.assertNotIn("maximum-scale", viewport)

    def test_swipe_scrolls_the_list_and_a_tap_picks_the_row_it_shows(self):
        self.show_on("phone upright")
        before = heard(self.browser)[0]
        row = 17  # the list's rows, in the window's pixels
        first = (FIRST_ROW[0], FIRST_ROW[1])
        last = (FIRST_ROW[0], FIRST_ROW[1] + 6 * row)
        for _ in range(3):  # each at least six rows, however slowly the browser flicks
            self.browser.swipe(*last, *first)
            self.assertEqual(heard(self.browser)[0], before, "a swipe picked a tile")
        self.browser.tap(*last)
        text = heard(self.browser)[0]
        self.assertNotEqual(text, before)
        picked = next(label for label in TILES if f"плочка: {label}\n" in text)
        self.assertGreater(TILES.index(picked), TILES.index("4:4"))
        upper, lower = (int(half) for half in picked.split(":"))
        _, _, zoom = self.browser.placed()
        # At 2.25 screen pixels to the window's pixel the tile's edge falls within a pixel:
        # two are left off each side.
        inside = [row[2:-2] for row in self.browser.tile()[2:-2]]
        check_sharp_tile(self, inside, self.browser.scale * zoom, upper + lower)


class OfflineCopy(unittest.TestCase, PupilSteps):
    """A copy of the page, served from a folder of this test, that can be stopped and rebuilt."""

    WORKER_ACTIVE = ("navigator.serviceWorker.getRegistration().then("
                     "r => arguments[0](r && r.active && r.active.state == 'activated'));")
    NEW_WORKER_WAITING = ("navigator.serviceWorker.getRegistration().then("
                          "r => arguments[0](r && r.waiting && r.waiting.state == 'installed'));")
    CACHES = "caches.keys().then(arguments[0]);"

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="domino-page-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        for path in page_files():
            shutil.copy2(path, self.folder)
        self.server = PageServer(self.folder)
        self.addCleanup(lambda: self.server and self.server.close())
        self.browser = self.program = Browser()
        self.addCleanup(self.browser.close)

    def rebuild_with_changed_page(self):
        """Changes index.html as a new build would, and stamps the worker as the build does."""
        index = os.path.join(self.folder, "index.html")
        with open(index, encoding="utf-8") as f:
            html = f.read()
        with open(index, "w", encoding="utf-8") as f:
            f.write(html.replace("</head>", '<meta name="build" content="next">\n</head>'))
        subprocess.run(["cmake", "-D", f"PAGE={self.folder}", "-P",
                        os.path.join(ROOT, "packaging", "web", "stamp-worker.cmake")],
                       check=True, capture_output=True, timeout=60)

    def test_opens_offline_after_one_visit_and_takes_a_new_build(self):
        url, port = self.server.url, self.server.httpd.server_port
        self.browser.open(url)
        self.browser.wait_for(self.WORKER_ACTIVE)

        self.server.close()
        self.server = None
        self.browser.open(url)
        self.browser.click(*FIRST_ROW)
        self.browser.keys("2", "Down", "Down", "Down")
        self.assertTileShows(2, 5)

        self.rebuild_with_changed_page()
        self.server = PageServer(self.folder, port)
        self.browser.open(url)  # the old build still, which finds the new one
        self.browser.wait_for(self.NEW_WORKER_WAITING)
        # The old build's last page closes; the new worker takes over a moment later, so the
        # page may need opening again, as a pupil would.
        for _ in range(5):
            self.browser.driver.get("about:blank")
            time.sleep(0.5)
            self.browser.open(url)
            build = self.browser.driver.execute_script(
                "const m = document.querySelector('meta[name=build]'); return m && m.content;")
            if build == "next":
                break
        self.assertEqual(build, "next")
        self.assertEqual(len(self.browser.wait_for(self.CACHES)), 1)
        self.browser.click(*FIRST_ROW)
        self.browser.keys("End")
        self.assertTileShows(6, 6)


class WebPageAtScale2(unittest.TestCase):
    def test_tile_is_drawn_at_device_resolution(self):
        browser = Browser(scale=2)
        self.addCleanup(browser.close)
        browser.open(server.url)
        browser.click(*FIRST_ROW)  # in CSS pixels, whatever the scale
        browser.keys("End")
        check_sharp_tile(self, browser.tile(), 2)


if __name__ == "__main__":
    unittest.main()
