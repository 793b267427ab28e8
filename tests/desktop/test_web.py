# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web page (./web.sh) in Debian's headless Chromium, used as a pupil uses it: the page
served on 127.0.0.1 by this module with the server ./web.sh --serve runs, clicks, keys and
fingers sent to it, the window read back from screenshots in device pixels, what a screen reader
gets read from the browser's accessibility tree, and axe-core's audit of it."""

import glob
import gzip
import json
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

from harness import (EXPECTED, FIRST_ROW, FORM, HEADING, HEADING_LEFT, NAMES, ROOT, SIZE, TILES,
                     Browser, PageServer, PupilSteps, check_sharp_tile, expected_report,
                     expected_tile, facts, halves_said, report_lines, tile_said)

BUILD_WEB = os.path.join(ROOT, "build-web")
PAGE = os.path.join(BUILD_WEB, "page")
PAGE_FILES = ("*.html", "*.js", "*.wasm", "*.png", "*.webmanifest", "*.woff2", "*.avif",
              "*.webp", "*.jpg")
# What a first visit may send, brotli, at device pixel ratios 1 and 3; what the zip may hold.
FIRST_VISIT_KIB = {1: 40, 3: 64}
ZIP_KIB = 200
LEAST_PSNR = 38  # dB, each photograph against the original it was made from
AXE = os.path.join(os.environ.get("XDG_CACHE_HOME") or os.path.expanduser("~/.cache"),
                   "domino-tiles", "axe-core-4.10.2", "node_modules", "axe-core", "axe.min.js")
with open(os.path.join(ROOT, "tests", "support", "list_keys.json"), encoding="utf-8") as file:
    LIST_KEYS = json.load(file)["keys"]
# Qt's names of keys, in Selenium's.
KEY_NAMES = {"PgDown": "Page_Down", "PgUp": "Page_Up"}
server = None


def setUpModule():
    global server
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


def accessibility_tree(browser):
    nodes = browser.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    return nodes, {node["nodeId"]: node for node in nodes}


def role(node):
    return node.get("role", {}).get("value")


def said(node, key):
    return node.get(key, {}).get("value", "")


def heard(browser):
    """What the page's live region holds, through the DOM and through the accessibility tree a
    screen reader reads, words only; and the tile's name and description there."""
    driver = browser.driver
    text = driver.execute_script("return document.getElementById('announcement').textContent;")
    nodes, by_id = accessibility_tree(browser)

    def words(node):
        if role(node) == "StaticText":
            return node["name"]["value"].split()
        return [word for child in node.get("childIds", []) if child in by_id
                for word in words(by_id[child])]

    regions = [node for node in nodes if role(node) not in ("StaticText", "InlineTextBox")
               and {"name": "live", "value": {"type": "token", "value": "polite"}}
               in node.get("properties", [])]
    tile = [(said(node, "name"), said(node, "description")) for node in nodes
            if role(node) == "image" and said(node, "name") == NAMES["tile"]]
    return text, [words(region) for region in regions], tile


def unnamed_fields(browser):
    """The text fields on the page that a screen reader would find without a name."""
    nodes, _ = accessibility_tree(browser)
    return [node for node in nodes if role(node) == "textbox"
            and not node.get("ignored") and not node.get("name", {}).get("value")]


def row_said(label):
    """What a screen reader hears of a row after its label."""
    return halves_said(label) + " " + report_lines(label)[1]


def brotli_size(path):
    twin = path + ".br"
    return os.path.getsize(twin if os.path.exists(twin) else path)


def first_visit_kib(browser):
    """What the page just loaded weighs, each file as the server sends it to a browser that
    takes brotli (its brotli twin, or the file itself)."""
    names = browser.driver.execute_script(
        "return [location.href, ...performance.getEntriesByType('resource').map(e => e.name)];")
    files = {os.path.join(PAGE, (name.split("/", 3)[3].split("?")[0] or "index.html"))
             for name in names if name.startswith(server.url)}
    return sum(brotli_size(path) for path in files) / 1024


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
        self.assertLessEqual(first_visit_kib(self.browser), FIRST_VISIT_KIB[1])
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


EXPECTED_INK = tuple(EXPECTED["colours"]["ink"])


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
                    self.assertLessEqual(first_visit_kib(self.browser), FIRST_VISIT_KIB[3])
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
