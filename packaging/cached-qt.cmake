# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Included by the Windows and web toolchain files: the static Qt that ./windows.sh and ./web.sh
# build once into the user's cache (never a path of one machine), and its own toolchain file.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/qt-version.txt" _domino_qt_version REGEX "^[0-9]")
if(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(DOMINO_CACHE "$ENV{XDG_CACHE_HOME}/domino-tiles")
else()
    set(DOMINO_CACHE "$ENV{HOME}/.cache/domino-tiles")
endif()

# domino_use_cached_qt(NAME SCRIPT): the Qt built for NAME, or a stop naming the script that
# builds it.
macro(domino_use_cached_qt name script)
    set(DOMINO_QT_PREFIX "${DOMINO_CACHE}/qt-${_domino_qt_version}-${name}")
    if(NOT EXISTS "${DOMINO_QT_PREFIX}/.complete")
        message(FATAL_ERROR "No Qt for ${name} in ${DOMINO_QT_PREFIX}: ./${script} builds it once")
    endif()
    include("${DOMINO_QT_PREFIX}/lib/cmake/Qt6/qt.toolchain.cmake")
endmacro()
