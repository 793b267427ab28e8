#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building and running need, builds, and opens the window. Without a display it
# shows the window on a virtual screen instead, picks the tile 2:5 and saves a screenshot.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh
install_missing_packages "${DOMINO_RUN_PACKAGES[@]}"

cmake --preset run >/dev/null
cmake --build --preset run

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/domino-tiles
fi
scripts/screenshot.sh build/domino-tiles build/screenshot.png
echo "No display here: the window was shown on a virtual screen; see build/screenshot.png"
