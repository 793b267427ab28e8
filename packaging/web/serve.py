# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Serves the built page as a web server should: the .wasm as application/wasm (browsers
compile it while it downloads only then), the brotli or gzip twin of a file to a browser that
accepts it, and every file marked to be checked again before use, since their names stay the
same from build to build. A folder is answered with its index.html or else 404, never a
listing.

python3 serve.py FOLDER [PORT]: on 127.0.0.1 until Ctrl+C. ./web.sh --serve runs this; the
browser test imports it."""

import email.utils
import functools
import http.server
import os
import sys

TYPES = {".wasm": "application/wasm", ".js": "text/javascript",
         ".webmanifest": "application/manifest+json", ".html": "text/html; charset=utf-8"}
TWINS = (("br", ".br"), ("gzip", ".gz"))


class PageHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, **TYPES}

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path) and self.path.split("?")[0].endswith("/"):
            path = os.path.join(path, "index.html")
        accepted = {part.split(";")[0].strip()
                    for part in self.headers.get("Accept-Encoding", "").split(",")}
        for coding, suffix in TWINS:
            if coding in accepted and os.path.isfile(path + suffix):
                return self.send_twin(path, coding, suffix)
        return super().send_head()

    def send_twin(self, path, coding, suffix):
        modified = int(os.path.getmtime(path))
        since = self.headers.get("If-Modified-Since")
        try:
            unchanged = since and email.utils.parsedate_to_datetime(since).timestamp() >= modified
        except (TypeError, ValueError):
            unchanged = False
        if unchanged:
            self.send_response(304)
            self.end_headers()
            return None
        file = open(path + suffix, "rb")
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", coding)
        self.send_header("Content-Length", str(os.fstat(file.fileno()).st_size))
        self.send_header("Last-Modified", self.date_time_string(modified))
        self.end_headers()
        return file

    def list_directory(self, path):
        self.send_error(404)
        return None

    def end_headers(self):
        self.send_header("Cache-Control", "no-cache")
        self.send_header("Vary", "Accept-Encoding")
        super().end_headers()


def server(folder, port=0, quiet=False):
    """A threading HTTP server for FOLDER on 127.0.0.1 (port 0: any free one)."""

    class Handler(PageHandler):
        if quiet:
            def log_message(self, *args):
                pass

    return http.server.ThreadingHTTPServer(
        ("127.0.0.1", port), functools.partial(Handler, directory=folder))


if __name__ == "__main__":
    with server(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 8000) as httpd:
        print(f"Serving {sys.argv[1]} at http://127.0.0.1:{httpd.server_port}/ (Ctrl+C stops).")
        try:
            httpd.serve_forever()
        except KeyboardInterrupt:
            pass
