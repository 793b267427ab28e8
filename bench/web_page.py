# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Measures the page that ./web.sh builds: the size of its files, raw, gzip -9 and brotli -q 11,
the time from navigation to the first frame of the window in headless Chromium, median of
20 loads, and the web's standard audit, Lighthouse, on its mobile and desktop presets (the
Lighthouse that ./web.sh --bench installs, named by DOMINO_LIGHTHOUSE). Writes its section of
BENCHMARKS.md."""

import gzip
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "desktop"))
from test_web import Browser, PageServer, page_files, PAGE  # noqa: E402

import benchmarks_md  # noqa: E402

LOADS = 20

# The first draw call on a WebGL context is Qt's first composed frame of the window; its time
# is taken against the navigation's start.
FIRST_FRAME_PROBE = """
for (const context of [WebGLRenderingContext, WebGL2RenderingContext]) {
  for (const name of ["drawArrays", "drawElements"]) {
    const draw = context.prototype[name];
    context.prototype[name] = function (...args) {
      if (window.firstFrame === undefined) window.firstFrame = performance.now();
      return draw.apply(this, args);
    };
  }
}
"""


def first_frame_times(browser, url, cache):
    driver = browser.driver
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                           {"source": FIRST_FRAME_PROBE})
    driver.execute_cdp_cmd("Network.enable", {})
    driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": not cache})
    driver.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": not cache})
    times = []
    for _ in range(LOADS + (1 if cache else 0)):
        driver.get("about:blank")
        driver.get(url)
        deadline = time.monotonic() + 30
        while (frame := driver.execute_script("return window.firstFrame;")) is None:
            if time.monotonic() > deadline:
                raise RuntimeError("no frame within 30 s")
            time.sleep(0.01)
        times.append(frame)
    return times[1:] if cache else times  # a warm cache needs one load to fill it


AUDITED = (("performance", "performance"), ("accessibility", "accessibility"),
           ("best practices", "best-practices"), ("SEO", "seo"))
MEASURED = (("first contentful paint", "first-contentful-paint"),
            ("largest contentful paint", "largest-contentful-paint"),
            ("total blocking time", "total-blocking-time"),
            ("cumulative layout shift", "cumulative-layout-shift"),
            ("time to interactive", "interactive"), ("speed index", "speed-index"),
            ("transferred", "total-byte-weight"))


def lighthouse(url, preset):
    """Lighthouse's report of the page on a preset (mobile: a mid-range phone on slow 4G with
    its CPU slowed four times, simulated; desktop), in a fresh headless Chromium of its own."""
    with tempfile.TemporaryDirectory(prefix="domino-lighthouse-") as folder:
        report = os.path.join(folder, "report.json")
        subprocess.run([os.environ["DOMINO_LIGHTHOUSE"], url, "--quiet", "--output=json",
                        f"--output-path={report}", "--only-categories="
                        + ",".join(key for _, key in AUDITED),
                        "--chrome-flags=--headless=new --no-sandbox",
                        *(["--preset=desktop"] if preset == "desktop" else [])],
                       check=True, timeout=300,
                       env=dict(os.environ, CHROME_PATH="/usr/bin/chromium", HOME=folder,
                                TMPDIR=folder))
        with open(report, encoding="utf-8") as f:
            return json.load(f)


def shown(audit):
    """A metric as Lighthouse shows it; the bytes sent in KiB."""
    if audit["id"] == "total-byte-weight":
        return f"{audit['numericValue'] / 1024:,.0f} KiB"
    return audit["displayValue"].replace("\u00a0", " ")


def audit_rows(reports):
    """The table's rows: each category's score, then each metric as Lighthouse shows it, and
    the audits that failed."""
    rows = [f"| {name} | " + " | ".join(f"{r['categories'][key]['score']:.2f}" for r in reports)
            + " |" for name, key in AUDITED]
    rows += [f"| {name} | " + " | ".join(shown(r["audits"][key]) for r in reports) + " |"
             for name, key in MEASURED]
    failed = [sorted(key for key, audit in r["audits"].items()
                     if audit["scoreDisplayMode"] in ("binary", "numeric", "metricSavings")
                     and audit["score"] is not None and audit["score"] < 0.9) for r in reports]
    rows.append("| audits below 0.9 | " + " | ".join(", ".join(f"`{key}`" for key in keys)
                                                    or "none" for keys in failed) + " |")
    return rows


def chromium_version():
    out = subprocess.run(["/usr/bin/chromium", "--version"], capture_output=True, text=True)
    return out.stdout.strip()


def main():
    rows, totals = [], [0, 0, 0]
    for path in page_files():
        with open(path, "rb") as f:
            data = f.read()
        sizes = [len(data), len(gzip.compress(data, compresslevel=9)),
                 len(subprocess.run(["brotli", "-q", "11", "-c"], input=data,
                                    capture_output=True, check=True).stdout)]
        totals = [total + size for total, size in zip(totals, sizes)]
        rows.append(f"| `{os.path.basename(path)}` | "
                    + " | ".join(f"{size / 1024:,.1f}" for size in sizes) + " |")
    rows.append("| all | " + " | ".join(f"{size / 1024:,.1f}" for size in totals) + " |")

    server = PageServer(PAGE)
    browser = Browser()
    try:
        cold = first_frame_times(browser, server.url, cache=False)
        warm = first_frame_times(browser, server.url, cache=True)
    finally:
        browser.close()
    try:
        reports = [lighthouse(server.url, preset) for preset in ("mobile", "desktop")]
    finally:
        server.close()
    version = reports[0]["lighthouseVersion"]

    def line(what, times):
        return (f"| {what} | {statistics.median(times):.0f} | {min(times):.0f} | "
                f"{max(times):.0f} |")

    section = "\n".join([
        "## In a browser",
        "",
        f"`./web.sh --bench`: the page that `./web.sh` builds in `build-web/page/` (a Release build "
        f"against the static Qt for WebAssembly built for size), served on 127.0.0.1 as "
        f"`./web.sh --serve` serves it and loaded in headless {chromium_version()} (software "
        f"WebGL) on this machine.",
        "",
        "| file | KiB | gzip -9 KiB | brotli -q 11 KiB |",
        "|---|---|---|---|",
        *rows,
        "",
        f"Navigation to the window's first frame (the first WebGL draw, by the page's clock), "
        f"{LOADS} loads each:",
        "",
        "| load | median ms | fastest ms | slowest ms |",
        "|---|---|---|---|",
        line("first visit (browser cache and service worker off)", cold),
        line("return visit (from the service worker's cache, compiled code kept)", warm),
        "",
        f"Lighthouse {version} on the same server, each preset in a fresh Chromium of its own "
        f"(mobile: a mid-range phone on slow 4G with a CPU four times slower, simulated):",
        "",
        "| category or metric | mobile preset | desktop preset |",
        "|---|---|---|",
        *audit_rows(reports),
        "",
    ])

    benchmarks_md.write_section("web-page", section)
    print(section)


if __name__ == "__main__":
    main()
