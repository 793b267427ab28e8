# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page in headless Chromium under chromedriver, and the server it is loaded from."""

import base64
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

from .facts import EXPECTED, HEADING, HEADING_LEFT, ROOT, SIZE
from .images import Picture
from .processes import find_tool


class PageServer:
    """The built page over HTTP on 127.0.0.1, on a free port (or the given one), in a thread of
    this process, served as ./web.sh --serve serves it."""

    def __init__(self, folder, port=0):
        sys.path.insert(0, os.path.join(ROOT, "packaging", "web"))
        import serve

        self.httpd = serve.server(folder, port, quiet=True)
        self.url = f"http://127.0.0.1:{self.httpd.server_port}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()
        self.thread.join()


LAYOUT_SHIFT_OBSERVER = """
window.layoutShift = 0;
new PerformanceObserver((list) => {
  for (const entry of list.getEntries())
    if (!entry.hadRecentInput) window.layoutShift += entry.value;
}).observe({ type: "layout-shift", buffered: true });
"""
ANDROID_USER_AGENT = ("Mozilla/5.0 (Linux; Android 13; Pixel 7) AppleWebKit/537.36 "
                      "(KHTML, like Gecko) Chrome/120.0.0.0 Mobile Safari/537.36")


class Browser:
    """Headless Chromium under chromedriver, in a process group of its own that is stopped
    whatever happens, with a fresh profile. It stands for the program: clicks, keys (by X's
    names), the clipboard and pictures in the window's client area, in CSS pixels."""

    def __init__(self, scale=1, size=(560, 420), session=None):
        """A browser window of that size (in which the window fits at 100 %) and scale;
        headless, or a normal window on an X session's screen that tells the session's screen
        reader what it shows (Chromium joins AT-SPI at once only when told to)."""
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        chromium, chromedriver = find_tool("chromium"), find_tool("chromedriver")
        self.profile = tempfile.mkdtemp(prefix="domino-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = chromium
        shown = ("--force-renderer-accessibility", "--window-position=0,0") if session else (
            "--headless",)
        for argument in (*shown, "--no-sandbox", "--enable-unsafe-swiftshader",
                         "--no-first-run", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync",
                         f"--window-size={size[0]},{size[1]}",
                         f"--force-device-scale-factor={scale}",
                         f"--user-data-dir={self.profile}"):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        # Chromium's crash handler writes under HOME whatever the profile: give it the profile.
        env = dict(session.env if session else os.environ, HOME=self.profile,
                   XDG_CONFIG_HOME=self.profile, XDG_CACHE_HOME=self.profile)
        if session:
            env["ACCESSIBILITY_ENABLED"] = "1"
        self.service = Service(chromedriver, env=env,
                               popen_kw={"start_new_session": True})
        try:
            self.driver = webdriver.Chrome(service=self.service, options=options)
            # Every page of this browser adds up how far its content moves as it starts.
            self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                        {"source": LAYOUT_SHIFT_OBSERVER})
            # The page exactly that size, whatever the browser's own bars take.
            self.emulate(*size, scale, touch=False, mobile=False)
        except BaseException:
            self.close()
            raise

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
        """Navigates to the page and waits until the window is on it, its core ready, and
        still."""
        self.driver.get(url)
        deadline = time.monotonic() + timeout
        ready = "return 'ready' in document.documentElement.dataset;"
        while not self.driver.execute_script(ready) \
                or self.client().pixel(*self.device(*HEADING_LEFT)) != HEADING:
            if time.monotonic() > deadline:
                raise AssertionError("the window did not appear on the page")
            time.sleep(0.1)
        origin = self.driver.execute_script("return location.origin;")
        self.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "origin": origin, "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        self.wait_until_settled()

    def frame(self):
        """The window, title bar and frame included: left, top, right, bottom."""
        return self.driver.execute_script(
            "const r = document.getElementById('window').getBoundingClientRect();"
            "return [r.left, r.top, r.right, r.bottom];")

    def layout_shift(self):
        """The page's cumulative layout shift so far, as the browser's DevTools read it."""
        answer = self.driver.execute_cdp_cmd("Runtime.evaluate",
                                             {"expression": "window.layoutShift"})
        return answer["result"]["value"]

    def placed(self):
        """Where the window's client area is on the page, in CSS pixels, and its zoom as a
        factor."""
        left, top, zoom = self.driver.execute_script(
            "const r = document.getElementById('window').getBoundingClientRect();"
            "return [r.left, r.top, parseFloat(getComputedStyle(document.documentElement)"
            ".getPropertyValue('--z'))];")
        inside = EXPECTED["page_client"]
        return left + inside[0] * zoom, top + inside[1] * zoom, zoom

    def emulate(self, width, height, scale, touch=True, mobile=True):
        """A phone's or a tablet's screen: its size in CSS pixels, its pixel ratio, touch; a
        mobile one says it is Android, as most of a classroom's are."""
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": scale, "mobile": mobile})
        if mobile:
            self.driver.execute_cdp_cmd("Emulation.setUserAgentOverride", {
                "userAgent": ANDROID_USER_AGENT, "platform": "Linux armv8l"})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                                    {"enabled": touch, "maxTouchPoints": 5})
        self.scale = scale

    def screenshot(self, x, y, width, height):
        """A rectangle of the page in CSS pixels, as a Picture in device pixels; the rectangle
        is taken to whole device pixels, which the browser would otherwise resample."""
        x, y, width, height = (round(v * self.scale) / self.scale for v in (x, y, width, height))
        shot = self.driver.execute_cdp_cmd("Page.captureScreenshot", {
            "format": "png",
            "clip": {"x": x, "y": y, "width": width, "height": height, "scale": 1}})
        png = base64.b64decode(shot["data"])
        size = int.from_bytes(png[16:20], "big"), int.from_bytes(png[20:24], "big")
        raw = subprocess.run(["convert", "png:-", "-depth", "8", "rgb:-"], input=png,
                             capture_output=True, check=True, timeout=20).stdout
        return Picture(raw, *size)

    def client(self):
        """The window's client area, in device pixels."""
        left, top, zoom = self.placed()
        return self.screenshot(left, top, SIZE[0] * zoom, SIZE[1] * zoom)

    def device(self, x, y):
        """A point of the window (in its own pixels) in the client area's device pixels."""
        zoom = self.placed()[2]
        return round(x * self.scale * zoom), round(y * self.scale * zoom)

    def tile(self):
        """The tile's drawing area, its canvas, in device pixels."""
        x, y, width, height = self.driver.execute_script(
            "const r = document.getElementById('tile').getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height];")
        picture = self.screenshot(x, y, width, height)
        return picture.crop(0, 0, picture.width, picture.height)

    def wait_until_settled(self, quiet_for=0.2, timeout=5):
        """Until the whole client area looks the same twice, quiet_for apart."""
        deadline = time.monotonic() + timeout
        before = self.client().raw
        while time.monotonic() < deadline:
            time.sleep(quiet_for)
            now = self.client().raw
            if now == before:
                return
            before = now
        raise TimeoutError(f"the page's window did not settle within {timeout} s")

    def _pointer(self, x, y):
        left, top, zoom = self.placed()
        return left + x * zoom, top + y * zoom

    def click(self, x, y):
        from selenium.webdriver.common.action_chains import ActionChains

        actions = ActionChains(self.driver)
        actions.w3c_actions.pointer_action.move_to_location(
            *(round(v) for v in self._pointer(x, y)))
        actions.w3c_actions.pointer_action.click()
        actions.perform()
        self.wait_until_settled()

    def tap(self, x, y):
        """Touches (x, y) of the client area with a finger."""
        self.swipe(x, y, x, y)

    def swipe(self, x, y, to_x, to_y, steps=8):
        """A finger down at (x, y) of the client area, moved to (to_x, to_y) and lifted."""
        def touch(kind, at=None):
            points = [dict(zip("xy", self._pointer(*at)))] if at else []
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent",
                                        {"type": kind, "touchPoints": points})

        touch("touchStart", (x, y))
        if (x, y) != (to_x, to_y):
            for step in range(1, steps + 1):
                touch("touchMove", (x + (to_x - x) * step / steps, y + (to_y - y) * step / steps))
        touch("touchEnd")
        self.wait_until_settled()

    def keys(self, *names):
        """Keys by X's names, a modifier joined by "+" (ctrl+c)."""
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.keys import Keys

        actions = ActionChains(self.driver)
        for name in names:
            *modifiers, key = (getattr(Keys, {"CTRL": "CONTROL"}.get(part.upper(), part.upper()),
                                       part) for part in name.split("+"))
            for modifier in modifiers:
                actions.key_down(modifier)
            actions.send_keys(key)
            for modifier in modifiers:
                actions.key_up(modifier)
        actions.perform()
        self.wait_until_settled()

    def clipboard(self):
        return self.driver.execute_async_script(
            "navigator.clipboard.readText().then(arguments[0], arguments[0]);")

    def wait_for(self, script, timeout=30):
        """Runs an asynchronous script (it calls arguments[0] with its answer) until it answers
        something true, and returns that."""
        deadline = time.monotonic() + timeout
        while not (answer := self.driver.execute_async_script(script)):
            if time.monotonic() > deadline:
                raise AssertionError(f"no answer within {timeout} s: {script}")
            time.sleep(0.2)
        return answer

