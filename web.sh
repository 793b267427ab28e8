#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program for a web browser: the page's HTML around the program's core, compiled
# with Debian's emscripten, in build-web/page/, and a zip of it in build-web/. With --serve
# [PORT], then serves that folder alone on 127.0.0.1 (port 8000 by default) with its
# precompressed twins until Ctrl+C. With --bench, measures the page in headless Chromium, audits
# it with Lighthouse (installed from npm into the cache folder, once) and writes its section of
# BENCHMARKS.md. With --build, only brings the page and its test's accessibility checker up to
# date (./test.sh uses this before running the browser tests).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh

then=build port=8000
case "${1:-}" in
    --serve) then=serve port=${2:-$port} ;;
    --bench) then=bench ;;
    --build) then=test ;;
    "") ;;
    *) echo "usage: $0 [--serve [PORT] | --bench | --build]" >&2; exit 2 ;;
esac

install_missing_packages "${DOMINO_WEB_PACKAGES[@]}"
# emcc runs its JavaScript helpers with the node on PATH, which finds Debian's only here.
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web
echo "The page is in $PWD/build-web/page/, and as a zip in $PWD/build-web/."

# npm_tool NAME VERSION: installs a pinned tool from npm into the cache folder, once, and prints
# that folder.
npm_tool() {
    local folder=${XDG_CACHE_HOME:-$HOME/.cache}/domino-tiles/$1-$2
    if [ ! -d "$folder/node_modules/$1" ]; then
        command -v npm >/dev/null || install_missing_packages npm >&2 || return 1
        # Its errors are shown: called as a condition, a failed install would not stop this.
        npm install --prefix "$folder" --no-audit --no-fund --loglevel=error "$1@$2" >&2 ||
            return 1
    fi
    echo "$folder"
}

case $then in
    serve)
        exec /usr/bin/python3 packaging/web/serve.py build-web/page "$port" ;;
    test)
        # The browser test audits the page with axe-core, pinned like Lighthouse; without it
        # that audit fails, and the other tests still run.
        npm_tool axe-core 4.10.2 >/dev/null ||
            echo "Web: axe-core could not be installed from npm; test_web's audit will fail." ;;
    bench)
        # Pinned: Lighthouse 13 needs a newer Node than Debian's.
        lighthouse=$(npm_tool lighthouse 12.2.3)
        DOMINO_LIGHTHOUSE=$lighthouse/node_modules/.bin/lighthouse /usr/bin/python3 bench/web_page.py ;;
esac
