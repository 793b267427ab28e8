#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program for 64-bit Windows: a static Qt from Debian's qtbase source (once, cached
# outside the repository), then in build-windows/ the portable .exe, a .zip, an NSIS installer
# for one user and an MSI for every user of a PC, and runs their tests under Wine. With
# DOMINO_SIGN_PKCS12 (and DOMINO_SIGN_PASSWORD) naming a code-signing certificate, the build
# signs the .exe, setup.exe and the MSI.
#   ./windows.sh           all of it
#   ./windows.sh --build   only the program and its packages, and only if Qt is already
#                          cached (./test.sh uses this before running the Wine tests)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh
source scripts/cross-qt.sh

if [ "${1:-}" = --build ] && ! qt_cached windows; then
    echo "Windows: no Qt for Windows in the cache, so test_windows is skipped;" \
        "./windows.sh builds it once (about 20 minutes)."
    exit 0
fi
install_missing_packages "${DOMINO_RUN_PACKAGES[@]}" "${DOMINO_TEST_PACKAGES[@]}" \
    "${DOMINO_WINDOWS_PACKAGES[@]}"

toolchain=$PWD/packaging/windows/mingw-w64.cmake
build_static_qt windows -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain"

configure_preset windows build-windows
cmake --build --preset windows
[ "${1:-}" = --build ] && exit 0

echo "Testing under Wine..."
(cd tests/desktop && DOMINO_WINDOWS_BUILD="$PWD/../../build-windows" \
    DOMINO_BUILD_DIR="$PWD/../../build-windows" PYTHONDONTWRITEBYTECODE=1 \
    /usr/bin/python3 run.py test_windows)
echo "Built in build-windows/:"
ls -1 build-windows/*.exe build-windows/*.zip build-windows/*.msi
