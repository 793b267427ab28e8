#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program for 64-bit Windows: a static Qt from Debian's qtbase source (once, cached
# outside the repository), then the portable .exe, a .zip and an NSIS installer in
# build-windows/, and runs the tests of them under Wine.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh
source scripts/cross-qt.sh
install_missing_packages "${DOMINO_PACKAGES[@]}" "${DOMINO_WINDOWS_PACKAGES[@]}"

toolchain=$PWD/packaging/windows/mingw-w64.cmake
build_static_qt windows-x64 -opensource -confirm-license -static-runtime \
    -no-dbus -no-opengl -no-icu -no-glib -no-zstd -no-direct2d -no-gif -no-freetype \
    -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-pcre -qt-doubleconversion \
    -no-feature-sql -no-feature-network -no-feature-testlib -no-feature-printsupport \
    -no-feature-concurrent -no-feature-xml -no-feature-vulkan -no-feature-tabletevent \
    -no-feature-directwrite3 \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain"
