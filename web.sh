#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program for a web browser: a static Qt for WebAssembly from Debian's qtbase source
# (once, cached outside the repository), then the page in build-web/. With --serve [PORT], then
# serves that folder on 127.0.0.1 (port 8000 by default) with its precompressed twins until
# Ctrl+C; with --bench, measures the page in headless Chromium and writes its section of
# BENCHMARKS.md. With --build, only brings the page up to date, and only if Qt is already cached
# (./test.sh uses this before running the browser tests).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh
source scripts/cross-qt.sh

then=build port=8000
QT_NAME=wasm-small # packaging/web/toolchain.cmake and test_web.py name it too
case "${1:-}" in
    --serve) then=serve port=${2:-$port} ;;
    --bench) then=bench ;;
    --build)
        if ! qt_cached "$QT_NAME"; then
            echo "Web: no Qt for WebAssembly in the cache, so test_web is skipped;" \
                "./web.sh builds it once (about 25 minutes)."
            exit 0
        fi ;;
    "") ;;
    *) echo "usage: $0 [--serve [PORT] | --bench | --build]" >&2; exit 2 ;;
esac

install_missing_packages "${DOMINO_WEB_PACKAGES[@]}"
emsdk_shim
# No threads: a page that used them would need cross-origin isolation headers from its server.
# WebGL stays: Qt's backing store in the browser draws through it. Built for size, and without
# what the program never uses, for a page a third lighter. Some features must stay although
# unused, because Qt includes their headers unguarded: toolbar, menubar, messagebox and
# buttongroup, and with them toolbutton, mainwindow, checkbox, groupbox, dialog and
# dialogbuttonbox; filesystemmodel for <QtGui>; mimetype and regularexpression for the
# WebAssembly plugin; xpm for the title bar's buttons.
build_static_qt "$QT_NAME" --patch packaging/web/qt-wasm-fonts.patch \
    -xplatform wasm-emscripten -opengl es2 -optimize-size \
    -no-feature-thread -no-feature-network -no-feature-sql -no-feature-xml \
    -no-feature-testlib -no-feature-printsupport -no-feature-concurrent -no-feature-dbus \
    -no-feature-androiddeployqt \
    -no-feature-gif -no-feature-ico -no-feature-imageformat_bmp -no-feature-imageformat_ppm \
    -no-feature-imageformat_xbm \
    -no-feature-textodfwriter -no-feature-textmarkdownreader -no-feature-textmarkdownwriter \
    -no-feature-movie -no-feature-pdf -no-feature-picture -no-feature-sessionmanager \
    -no-feature-systemtrayicon -no-feature-whatsthis -no-feature-desktopservices \
    -no-feature-undocommand -no-feature-undostack -no-feature-undogroup -no-feature-undoview \
    -no-feature-standarditemmodel -no-feature-raster-64bit -no-feature-raster-fp \
    -no-feature-mimetype-database -no-feature-style-windows -no-feature-style-stylesheet \
    -no-feature-treeview -no-feature-treewidget -no-feature-tableview -no-feature-tablewidget \
    -no-feature-columnview -no-feature-colordialog -no-feature-filedialog \
    -no-feature-fontdialog -no-feature-progressdialog -no-feature-inputdialog \
    -no-feature-errormessage -no-feature-wizard \
    -no-feature-lineedit -no-feature-spinbox -no-feature-combobox -no-feature-fontcombobox \
    -no-feature-tabbar -no-feature-tabwidget -no-feature-dockwidget -no-feature-mdiarea \
    -no-feature-splitter -no-feature-statusbar -no-feature-progressbar \
    -no-feature-calendarwidget -no-feature-datetimeedit -no-feature-keysequenceedit \
    -no-feature-lcdnumber -no-feature-dial -no-feature-commandlinkbutton -no-feature-toolbox \
    -no-feature-splashscreen -no-feature-sizegrip -no-feature-textbrowser \
    -no-feature-radiobutton \
    -no-feature-completer -no-feature-fscompleter -no-feature-graphicsview \
    -no-feature-graphicseffect -no-feature-syntaxhighlighter -no-feature-datawidgetmapper \
    -no-feature-scroller \
    -- -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake

cmake --preset web >/dev/null
cmake --build --preset web
echo "The page is in $PWD/build-web/ (index.html)."

case $then in
    serve)
        exec /usr/bin/python3 packaging/web/serve.py build-web "$port" ;;
    bench)
        /usr/bin/python3 bench/web_page.py ;;
esac
