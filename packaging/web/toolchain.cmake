# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The web preset's toolchain: the cached static Qt for WebAssembly, which finds Debian's
# emscripten through the emsdk layout that ./web.sh makes in the cache.
include("${CMAKE_CURRENT_LIST_DIR}/../cached-qt.cmake")
set(ENV{EMSDK} "${DOMINO_CACHE}/emsdk")
domino_use_cached_qt(web web.sh)
