# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The windows preset's toolchain: the cached static Qt for Windows, chaining to mingw-w64.
include("${CMAKE_CURRENT_LIST_DIR}/../cached-qt.cmake")
set(QT_CHAINLOAD_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
domino_use_cached_qt(windows windows.sh)
