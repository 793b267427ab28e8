# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program built for the browser (./web.sh) in Debian's headless Chromium, used as a
pupil uses it: the page served on 127.0.0.1 by this module with the server ./web.sh --serve
runs, clicks and keys sent to the page, the window read back from screenshots in device pixels,
what a screen reader gets read from the browser's accessibility tree."""

import base64
import glob
import gzip
import os
import pathlib
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.request

import test_window_on_x as desktop
from xsession import INK, ROOT, Picture, cached_qt, check_sharp_tile, expected_report

PAGE = os.path.join(ROOT, "build-web")
sys.path.insert(0, os.path.join(ROOT, "packaging", "web"))
import serve  # noqa: E402

CLIENT = (4, 26)  # the window's client area in the canvas, inside the frame Qt draws
FORM = (192, 192, 255)
HEADING = (255, 192, 128)
PAGE_FILES = ("*.html", "*.js", "*.wasm", "*.png", "*.webmanifest")
MOST_GZIP_KIB = 3400  # what 30 pupils can load over a school's line in about 40 s
NO_TILE = "Не е избрана плочка."

server = None


def setUpModule():
    global server
    if not cached_qt("wasm-small"):
        raise unittest.SkipTest("no Qt for WebAssembly in the cache: ./web.sh builds it")
    # ./test.sh has brought the page up to date with the sources (./web.sh --build).
    if not os.path.isfile(os.path.join(PAGE, "index.html")):
        raise RuntimeError("no page in build-web/: ./web.sh builds it")
    server = PageServer(PAGE)


def tearDownModule():
    if server:
        server.close()


def page_files(folder=PAGE):
    return sorted(path for pattern in PAGE_FILES for path in glob.glob(os.path.join(folder, pattern)))


class PageServer:
    """The built page over HTTP on 127.0.0.1, on a free port (or the given one), in a thread of
    this process."""

    def __init__(self, folder, port=0):
        self.httpd = serve.server(folder, port, quiet=True)
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
        # Chromium's crash handler writes under HOME whatever the profile: give it the profile.
        env = dict(os.environ, HOME=self.profile, XDG_CONFIG_HOME=self.profile,
                   XDG_CACHE_HOME=self.profile)
        self.service = Service("/usr/bin/chromedriver", env=env,
                               popen_kw={"start_new_session": True})
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

    def wait_for(self, script, timeout=30):
        """Runs an asynchronous script (it calls arguments[0] with its answer) until it answers
        something true, and returns that."""
        deadline = time.monotonic() + timeout
        while not (answer := self.driver.execute_async_script(script)):
            if time.monotonic() > deadline:
                raise AssertionError(f"no answer within {timeout} s: {script}")
            time.sleep(0.2)
        return answer

    def heard(self):
        """What the page's live region holds, through the DOM and through the accessibility
        tree a screen reader reads, words only; and the names given to the canvas there."""
        text = self.driver.execute_script(
            "return document.getElementById('announcement').textContent;")
        nodes = self.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
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

    def assertHeard(self, report, tile):
        """The live region holds the report, then what the tile shows, for a screen reader."""
        wanted = report.rstrip("\n") + "\n" + tile
        self.assertEqual(self.browser.heard(), (wanted, [wanted.split()], ["Плочки на домино"]))

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
        # Nothing hides the window: the live region is heard, not seen.
        self.assertEqual(self.browser.client().pixel(*self.browser.device(70, 12)), HEADING)
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
        for name, kind in (("domino-tiles.wasm", "application/wasm"),
                           ("domino-tiles.js", "text/javascript"),
                           ("qtloader.js", "text/javascript")):
            for coding in unpack:
                request = urllib.request.Request(server.url + name,
                                                 headers={"Accept-Encoding": coding})
                with urllib.request.urlopen(request, timeout=20) as response:
                    self.assertEqual((response.headers["Content-Type"],
                                      response.headers["Content-Encoding"]), (kind, coding))
                    self.assertEqual(unpack[coding](response.read()),
                                     pathlib.Path(PAGE, name).read_bytes())

    def test_picking_with_touch_mouse_and_keys(self):
        self.assertTileShows(0, 0)
        row = desktop.LIST[0] + 30, desktop.LIST[1] + 10
        steps = [
            (lambda: self.browser.tap(row[0], row[1] + 32), "0:2",  # the third row
             "Плочка 0:2: 0 точки в горната половина и 2 точки в долната."),
            (lambda: self.browser.click(*row), "0:0",
             "Плочка 0:0: 0 точки в горната половина и 0 точки в долната."),
            # "2" jumps to 2:2, three steps down reach 2:5.
            (lambda: self.browser.keys("2", "down", "down", "down"), "2:5",
             "Плочка 2:5: 2 точки в горната половина и 5 точки в долната."),
            (lambda: self.browser.keys("end"), "6:6",
             "Плочка 6:6: 6 точки в горната половина и 6 точки в долната."),
            (lambda: self.browser.keys("up", "up", "up"), "4:6",
             "Плочка 4:6: 4 точки в горната половина и 6 точки в долната."),
            (lambda: self.browser.keys("1"), "1:1",
             "Плочка 1:1: 1 точка в горната половина и 1 точка в долната."),
        ]
        for step, label, tile in steps:
            step()
            self.assertTileShows(int(label[0]), int(label[2]))
            self.assertHeard(expected_report(label), tile)
            self.assertEqual(self.browser.copied_report(), expected_report(label))

    def test_clear_button_returns_to_the_bare_tile(self):
        self.browser.click(desktop.LIST[0] + 30, desktop.LIST[1] + 10)
        self.browser.keys("3")
        self.assertTileShows(3, 3)
        self.browser.click(*desktop.BUTTON)
        self.assertTileShows(0, 0)
        self.assertHeard(desktop.PROMPT, NO_TILE)
        self.assertEqual(self.browser.copied_report(), desktop.PROMPT)

    def test_closing_the_window_leaves_a_page_that_says_so(self):
        self.browser.click(461 - 10, -13)  # the close box of the title bar Qt draws
        hidden, status = self.browser.driver.execute_script(
            "return [document.querySelector('canvas').hidden,"
            " document.getElementById('status').textContent];")
        self.assertTrue(hidden)
        self.assertIn("Прозорецът е затворен", status)


class OfflineCopy(unittest.TestCase, desktop.PupilSteps):
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
        self.browser = Browser()
        self.addCleanup(self.browser.close)

    def tile_on_screen(self):
        return [[pixel == INK for pixel in row] for row in self.browser.tile()]

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
        self.browser.click(desktop.LIST[0] + 30, desktop.LIST[1] + 10)
        self.browser.keys("2", "down", "down", "down")
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
        self.browser.click(desktop.LIST[0] + 30, desktop.LIST[1] + 10)
        self.browser.keys("end")
        self.assertTileShows(6, 6)


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
