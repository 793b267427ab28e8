# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The page's files that carry the product's facts, filled in from the top-level CMakeLists.txt.
# Also included by a native build with DOMINO_ALL_PACKAGING_FILES, to check them there.
# The folder of the page's files.
set(DOMINO_PAGE "${PROJECT_BINARY_DIR}/page")
# The page's colour, the window's own light blue.
set(DOMINO_PAGE_COLOUR "#c0c0ff")
# The page's HTML before the core fills in the window: its places, texts and rows.
set(DOMINO_PAGE_TEMPLATE "${PROJECT_BINARY_DIR}/page-template/index.html")
configure_file(${CMAKE_CURRENT_LIST_DIR}/index.html "${DOMINO_PAGE_TEMPLATE}" @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/manifest.webmanifest
    "${DOMINO_PAGE}/manifest.webmanifest" @ONLY)
