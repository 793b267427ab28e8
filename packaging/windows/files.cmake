# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows files that carry the product's facts, filled in from the top-level CMakeLists.txt.
# Also included by a native build with DOMINO_ALL_PACKAGING_FILES, to check them there.
configure_file(${CMAKE_CURRENT_LIST_DIR}/domino-tiles.manifest.in domino-tiles.manifest @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/domino-tiles.rc.in domino-tiles.rc @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/readme-bg.txt.in ПРОЧЕТИ.txt @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/installer.nsi.in installer.nsi @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/domino-tiles.wxs.in domino-tiles.wxs @ONLY)
