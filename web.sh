#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program for a web browser: a static Qt for WebAssembly from Debian's qtbase source
# (once, cached outside the repository), then the page's files in build-web/page/ and a zip of
# them in build-web/. With --serve [PORT], then serves that folder alone on 127.0.0.1 (port 8000
# by default) with its precompressed twins until Ctrl+C. With --bench, measures the page in
# headless Chromium, audits it with Lighthouse (installed from npm into the cache folder, once)
# and writes its section of BENCHMARKS.md. With --build, only brings the page up to date, and
# only if Qt is already cached (./test.sh uses this before running the browser tests).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh
source scripts/cross-qt.sh

then=build port=8000
case "${1:-}" in
    --serve) then=serve port=${2:-$port} ;;
    --bench) then=bench ;;
    --build)
        if ! qt_cached web; then
            echo "Web: no Qt for WebAssembly in the cache, so test_web is skipped;" \
                "./web.sh builds it once (about 25 minutes)."
            exit 0
        fi ;;
    "") ;;
    *) echo "usage: $0 [--serve [PORT] | --bench | --build]" >&2; exit 2 ;;
esac

install_missing_packages "${DOMINO_WEB_PACKAGES[@]}"
emsdk_shim
build_static_qt web \
    -- -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake

configure_preset web build-web
cmake --build --preset web
echo "The page is in $PWD/build-web/page/, and as a zip in $PWD/build-web/."

case $then in
    serve)
        exec /usr/bin/python3 packaging/web/serve.py build-web/page "$port" ;;
    bench)
        # Pinned: Lighthouse 13 needs a newer Node than Debian's.
        lighthouse=$DOMINO_CACHE/lighthouse-12.2.3
        if [ ! -x "$lighthouse/node_modules/.bin/lighthouse" ]; then
            command -v npm >/dev/null || install_missing_packages npm
            npm install --prefix "$lighthouse" --no-audit --no-fund lighthouse@12.2.3
        fi
        DOMINO_LIGHTHOUSE=$lighthouse/node_modules/.bin/lighthouse /usr/bin/python3 bench/web_page.py ;;
esac
