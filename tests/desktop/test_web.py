# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program built for the browser (./web.sh) in Debian's headless Chromium, used as a
pupil uses it: the page served on 127.0.0.1 by this module, clicks and keys sent to the
page, the window read back from screenshots in device pixels."""

import base64
import functools
import http.server
import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import unittest

import test_window_on_x as desktop
from xsession import INK, ROOT, Picture, cached_qt, check_sharp_tile, expected_report

PAGE = os.path.join(ROOT, "build-web")
CLIENT = (4, 26)  # the window's client area in the canvas, inside the frame Qt draws
FORM = (192, 192, 255)
HEADING = (255, 192, 128)

server = None


def setUpModule():
    global server
    if not cached_qt("wasm"):
        raise unittest.SkipTest("no Qt for WebAssembly in the cache: ./web.sh builds it")
    # ./test.sh has brought the page up to date with the sources (./web.sh --build).
    if not os.path.isfile(os.path.join(PAGE, "index.html")):
        raise RuntimeError("no page in build-web/: ./web.sh builds it")
    server = PageServer(PAGE)


def tearDownModule():
    if server:
        server.close()


class PageServer:
    """The built page over HTTP on 127.0.0.1, on a free port, in a thread of this process."""

    def __init__(self, folder):
        class Quiet(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
        self.url = f"http://127.0.0.1:{self.httpd.server_port}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()
        self.thread.join()


class Browser:
    """Headless Chromium under chromedriver, in a process group of its own that is stopped
    whatever happens, with a fresh profile."""

    def __init__(self, scale=1):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        self.profile = tempfile.mkdtemp(prefix="domino-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for argument in ("--headless", "--no-sandbox", "--enable-unsafe-swiftshader",
                         "--no-first-run", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync",
                         "--window-size=800,600", f"--force-device-scale-factor={scale}",
                         f"--user-data-dir={self.profile}"):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.service = Service("/usr/bin/chromedriver", popen_kw={"start_new_session": True})
        try:
            self.driver = webdriver.Chrome(service=self.service, options=options)
        except BaseException:
            self.close()
            raise
        self.scale = scale

    def close(self):
        try:
            if getattr(self, "driver", None):
                self.driver.quit()
        finally:
            try:  # whatever quit() left of chromedriver's group
                os.killpg(self.service.process.pid, signal.SIGKILL)
                self.service.process.wait()
            except (AttributeError, ProcessLookupError):
                pass
            shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, url, timeout=30):
        """Navigates to the page and waits until the window is on it and still."""
        self.driver.get(url)
        deadline = time.monotonic() + timeout
        while self.client().pixel(*self.device(70, 12)) != HEADING:  # left of its caption
            if time.monotonic() > deadline:
                raise AssertionError("the window did not appear on the page")
            time.sleep(0.1)
        self.settle()

    def canvas_corner(self):
        return self.driver.execute_script(
            "const r = document.querySelector('canvas').getBoundingClientRect();"
            "return [r.left, r.top];")

    def screenshot(self, x, y, width, height):
        """A rectangle of the page in CSS pixels, as a Picture in device pixels."""
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "png",
            "clip": {"x": x, "y": y, "width": width, "height": height, "scale": 1}})
        png = base64.b64decode(shot["data"])
        size = int.from_bytes(png[16:20], "big"), int.from_bytes(png[20:24], "big")
        raw = subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                             capture_output=True, check=True, timeout=20).stdout
        return Picture(raw, *size)

    def client(self):
        """The window's client area, 461 x 345 CSS pixels."""
        left, top = self.canvas_corner()
        return self.screenshot(left + CLIENT[0], top + CLIENT[1], 461, 345)

    def device(self, x, y):
        return round(x * self.scale), round(y * self.scale)

    def settle(self, quiet_for=0.2, timeout=5):
        deadline = time.monotonic() + timeout
        before = self.client().raw
        while time.monotonic() < deadline:
            time.sleep(quiet_for)
            now = self.client().raw
            if now == before:
                return
            before = now

    def click(self, x, y):
        """Clicks at (x, y) of the client area, in CSS pixels."""
        from selenium.webdriver.common.action_chains import ActionChains

        left, top = self.canvas_corner()
        actions = ActionChains(self.driver)
        actions.w3c_actions.pointer_action.move_to_location(
            round(left + CLIENT[0] + x), round(top + CLIENT[1] + y))
        actions.w3c_actions.pointer_action.click()
        actions.perform()
        self.settle()

    def tap(self, x, y):
        """Touches (x, y) of the client area with a finger, in CSS pixels."""
        left, top = self.canvas_corner()
        point = {"x": left + CLIENT[0] + x, "y": top + CLIENT[1] + y}
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                    {"type": "touchStart", "touchPoints": [point]})
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                    {"type": "touchEnd", "touchPoints": []})
        self.settle()

    def copied_report(self):
        """Copies the whole report box with the keyboard, reads what the browser's clipboard
        got, then gives the list the focus back."""
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.keys import Keys

        origin = self.driver.execute_script("return location.origin;")
        self.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "origin": origin, "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        self.click(*desktop.TEXT)
        ActionChains(self.driver).key_down(Keys.CONTROL).send_keys("a", "c") \
            .key_up(Keys.CONTROL).perform()
        text = self.driver.execute_async_script(
            "navigator.clipboard.readText().then(arguments[0], arguments[0]);")
        self.keys("tab")
        return text

    def keys(self, *names):
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.keys import Keys

        ActionChains(self.driver).send_keys(*(getattr(Keys, n.upper(), n) for n in names)) \
            .perform()
        self.settle()

    def tile(self):
        """The tile's drawing area, in device pixels."""
        x, y = self.device(*desktop.TILE_AREA)
        w, h = self.device(76, 156)
        return self.client().crop(x, y, w, h)


class WebPage(unittest.TestCase, desktop.PupilSteps):
    @classmethod
    def setUpClass(cls):
        cls.browser = Browser()

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()

    def setUp(self):
        self.browser.open(server.url)

    def tile_on_screen(self):
        return [[pixel == INK for pixel in row] for row in self.browser.tile()]

    def test_page_loads_clean_with_the_window_in_its_middle(self):
        driver = self.browser.driver
        self.assertEqual(driver.title, desktop.CAPTION)
        errors = [entry["message"] for entry in driver.get_log("browser")
                  if entry["level"] == "SEVERE"]
        self.assertEqual(errors, [])

        width, height = driver.execute_script("return [innerWidth, innerHeight];")
        left, top = self.browser.canvas_corner()
        self.assertLessEqual(abs(left + 469 / 2 - width / 2), 1)
        page = self.browser.screenshot(0, 0, width, height)
        self.assertEqual(page.pixel(5, 5), FORM)
        self.assertEqual(page.pixel(width - 5, height - 5), FORM)

    def test_picking_with_touch_mouse_and_keys(self):
        self.assertTileShows(0, 0)
        row = desktop.LIST[0] + 30, desktop.LIST[1] + 10
        steps = [
            (lambda: self.browser.tap(row[0], row[1] + 32), "0:2"),  # the third row
            (lambda: self.browser.click(*row), "0:0"),
            # "2" jumps to 2:2, three steps down reach 2:5.
            (lambda: self.browser.keys("2", "down", "down", "down"), "2:5"),
            (lambda: self.browser.keys("end"), "6:6"),
            (lambda: self.browser.keys("up", "up", "up"), "4:6"),
        ]
        for step, label in steps:
            step()
            self.assertTileShows(int(label[0]), int(label[2]))
            self.assertEqual(self.browser.copied_report(), expected_report(label))

    def test_clear_button_returns_to_the_bare_tile(self):
        self.browser.click(desktop.LIST[0] + 30, desktop.LIST[1] + 10)
        self.browser.keys("3")
        self.assertTileShows(3, 3)
        self.browser.click(*desktop.BUTTON)
        self.assertTileShows(0, 0)
        self.assertEqual(self.browser.copied_report(), desktop.PROMPT)

    def test_closing_the_window_leaves_a_page_that_says_so(self):
        self.browser.click(461 - 10, -13)  # the close box of the title bar Qt draws
        hidden, status = self.browser.driver.execute_script(
            "return [document.querySelector('canvas').hidden,"
            " document.getElementById('status').textContent];")
        self.assertTrue(hidden)
        self.assertIn("Прозорецът е затворен", status)


class WebPageAtScale2(unittest.TestCase):
    def test_tile_is_drawn_at_device_resolution(self):
        browser = Browser(scale=2)
        self.addCleanup(browser.close)
        browser.open(server.url)
        browser.click(desktop.LIST[0] + 30, desktop.LIST[1] + 10)
        browser.keys("end")
        check_sharp_tile(self, browser.tile(), 2, pips=12)


if __name__ == "__main__":
    unittest.main()
