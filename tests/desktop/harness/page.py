# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web page's folder as ./web.sh builds it, served for a test module, and what a browser
showing it sends and tells a screen reader."""

import glob
import os

from .chromium import PageServer
from .facts import NAMES, ROOT

PAGE = os.path.join(ROOT, "build-web", "page")
PAGE_FILES = ("*.html", "*.js", "*.wasm", "*.png", "*.webmanifest", "*.woff2", "*.avif",
              "*.webp", "*.jpg")
# What a first visit may send, brotli, at device pixel ratios 1 and 3.
FIRST_VISIT_KIB = {1: 40, 3: 64}


def serve_page():
    """The built page on a server of its own; ./test.sh has brought it up to date with the
    sources (./web.sh --build)."""
    if not os.path.isfile(os.path.join(PAGE, "index.html")):
        raise RuntimeError("no page in build-web/page/: ./web.sh builds it")
    return PageServer(PAGE)


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


def brotli_size(path):
    twin = path + ".br"
    return os.path.getsize(twin if os.path.exists(twin) else path)


def first_visit_kib(browser, url):
    """What the page just loaded weighs, each file as the server sends it to a browser that
    takes brotli (its brotli twin, or the file itself)."""
    names = browser.driver.execute_script(
        "return [location.href, ...performance.getEntriesByType('resource').map(e => e.name)];")
    files = {os.path.join(PAGE, (name.split("/", 3)[3].split("?")[0] or "index.html"))
             for name in names if name.startswith(url)}
    return sum(brotli_size(path) for path in files) / 1024
