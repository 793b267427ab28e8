# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web page (./web.sh) on the screens pupils meet it on, in Debian's headless Chromium:
phones, a tablet and a projector, fingers, forced colours, a copy that works offline and takes
a new build, and a screen of twice the pixels."""

import os
import shutil
import subprocess
import tempfile
import time
import unittest

from harness import (FIRST_ROW, FIRST_VISIT_KIB, ROOT, SIZE, TILES, Browser,
                     PageServer, PupilSteps, check_sharp_tile, first_visit_kib, heard,
                     page_files, serve_page, unnamed_fields)

server = None


def setUpModule():
    global server
    server = serve_page()


def tearDownModule():
    if server:
        server.close()


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
                # The tile's canvas on whole device pixels, so the browser never resamples it.
                corner = self.browser.driver.execute_script(
                    "const r = document.getElementById('tile').getBoundingClientRect();"
                    "return [r.left * devicePixelRatio, r.top * devicePixelRatio];")
                self.assertEqual(corner, [round(v) for v in corner])
                self.assertEqual(unnamed_fields(self.browser), [])
                if screen == "phone upright":
                    self.assertLessEqual(first_visit_kib(self.browser, server.url), FIRST_VISIT_KIB[3])
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
        # Each nearly six rows (the browser keeps the first few pixels of a touch to tell a
        # swipe from a tap), however slowly it flicks: four bring the list to its end.
        for _ in range(4):
            self.browser.swipe(*last, *first)
            self.assertEqual(heard(self.browser)[0], before, "a swipe picked a tile")
        self.browser.tap(*last)
        text = heard(self.browser)[0]
        self.assertNotEqual(text, before)
        picked = next(label for label in TILES if f"плочка: {label}\n" in text)
        self.assertGreater(TILES.index(picked), TILES.index("4:4"))
        upper, lower = (int(half) for half in picked.split(":"))
        _, _, zoom = self.browser.placed()
        check_sharp_tile(self, self.browser.tile(), self.browser.scale * zoom, upper + lower)

    def test_forced_colours_reach_the_controls_and_the_drawing(self):
        self.browser.driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {
            "features": [{"name": "forced-colors", "value": "active"},
                         {"name": "prefers-color-scheme", "value": "dark"}]})
        # The heading's colour, which Browser.open waits for, is the system's here.
        self.browser.driver.get(server.url)
        self.browser.wait_for("arguments[0]('ready' in document.documentElement.dataset);")
        self.browser.click(*FIRST_ROW)
        self.browser.keys("End")
        ink, face = self.browser.driver.execute_script(
            "const s = getComputedStyle(document.getElementById('Picture1'));"
            "return [s.color, s.backgroundColor];")
        self.assertNotEqual(face, "rgb(239, 239, 239)", "no system colours in forced colours")
        colours = {pixel for row in self.browser.tile() for pixel in row}
        wanted = {tuple(int(v) for v in c[c.index("(") + 1:-1].split(",")[:3]) for c in (ink, face)}
        self.assertEqual(colours, wanted)


class OfflineCopy(unittest.TestCase, PupilSteps):
    """A copy of the page, served from a folder of this test, that can be stopped and rebuilt."""

    WORKER_ACTIVE = ("navigator.serviceWorker.getRegistration().then("
                     "r => arguments[0](r && r.active && r.active.state == 'activated'));")
    NEW_WORKER_WAITING = ("navigator.serviceWorker.getRegistration().then("
                          "r => arguments[0](r && r.waiting && r.waiting.state == 'installed'));")
    CACHES = "caches.keys().then(arguments[0]);"
    PHOTO_KEPT = ("caches.keys().then(k => caches.open(k[0])).then(c => c.keys())"
                  ".then(r => arguments[0](r.some(q => q.url.includes('/photo'))));")

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
        self.browser.wait_for(self.PHOTO_KEPT)

        self.server.close()
        self.server = None
        self.browser.open(url)
        self.browser.click(*FIRST_ROW)
        self.browser.keys("2", "Down", "Down", "Down")
        self.assertTileShows(2, 5)
        self.assertTrue(self.browser.driver.execute_script(
            "const img = document.querySelector('#Picture2 img');"
            "return img.complete && img.naturalWidth > 0;"), "no photograph offline")

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
