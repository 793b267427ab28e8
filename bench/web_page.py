# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Measures the page that ./web.sh builds: the size of its files, raw, gzip -9 and brotli -q 11,
what a first visit sends, the time from navigation until the page's core is ready in headless
Chromium, median of 20 loads, and the web's standard audit, Lighthouse, on its mobile and
desktop presets, the median of three runs each (the Lighthouse that ./web.sh --bench installs,
named by DOMINO_LIGHTHOUSE). Writes its section of BENCHMARKS.md."""

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
from harness import PAGE, Browser, PageServer, brotli_size, page_files  # noqa: E402

import benchmarks_md  # noqa: E402

LOADS = 20
LIGHTHOUSE_RUNS = 3

# The page marks its root element once its core has drawn the tile and the list takes picks;
# that moment is taken against the navigation's start.
FIRST_FRAME_PROBE = """
new MutationObserver(() => {
  if (window.firstFrame === undefined && "ready" in document.documentElement.dataset)
    window.firstFrame = performance.now();
}).observe(document, { attributes: true, subtree: true });
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
    visits = []
    try:
        for scale in (1, 3):
            browser = Browser(scale=scale)
            try:
                browser.open(server.url)
                names = browser.driver.execute_script(
                    "return [location.href,"
                    " ...performance.getEntriesByType('resource').map(e => e.name)];")
                files = sorted({(name.split("/", 3)[3].split("?")[0] or "index.html")
                                for name in names if name.startswith(server.url)})
                sent = sum(brotli_size(os.path.join(PAGE, f)) for f in files) / 1024
                visits.append(f"| {scale} | " + ", ".join(f"`{f}`" for f in files)
                              + f" | {sent:,.1f} |")
                if scale == 1:
                    cold = first_frame_times(browser, server.url, cache=False)
                    warm = first_frame_times(browser, server.url, cache=True)
            finally:
                browser.close()
        # A loaded machine now and then gives one run a long task: the median of three.
        reports = []
        for preset in ("mobile", "desktop"):
            runs = sorted((lighthouse(server.url, preset) for _ in range(LIGHTHOUSE_RUNS)),
                          key=lambda r: r["categories"]["performance"]["score"])
            reports.append(runs[len(runs) // 2])
    finally:
        server.close()
    version = reports[0]["lighthouseVersion"]

    def line(what, times):
        return (f"| {what} | {statistics.median(times):.0f} | {min(times):.0f} | "
                f"{max(times):.0f} |")

    section = "\n".join([
        "## In a browser",
        "",
        f"`./web.sh --bench`: the page that `./web.sh` builds in `build-web/page/` (HTML around "
        f"the program's core, compiled with Debian's emscripten for size), served on 127.0.0.1 "
        f"as `./web.sh --serve` serves it and loaded in headless {chromium_version()} on this "
        f"machine.",
        "",
        "| file | KiB | gzip -9 KiB | brotli -q 11 KiB |",
        "|---|---|---|---|",
        *rows,
        "",
        "What a first visit loads, at a device pixel ratio of 1 and of 3, each file as a server "
        "sends it to a browser that takes brotli:",
        "",
        "| ratio | files | KiB |",
        "|---|---|---|",
        *visits,
        "",
        f"Navigation until the page's core has drawn the tile and the list takes picks (by the "
        f"page's clock), {LOADS} loads each:",
        "",
        "| load | median ms | fastest ms | slowest ms |",
        "|---|---|---|---|",
        line("first visit (browser cache and service worker off)", cold),
        line("return visit (from the service worker's cache, compiled code kept)", warm),
        "",
        f"Lighthouse {version} on the same server, each run in a fresh Chromium of its own "
        f"(mobile: a mid-range phone on slow 4G with a CPU four times slower, simulated), the "
        f"run of median performance of {LIGHTHOUSE_RUNS} per preset:",
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
