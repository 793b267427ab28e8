# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Included by the Windows toolchain file: the static Qt that ./windows.sh builds once into the
# user's cache (never a path of one machine), and its own toolchain file.
set(DOMINO_CROSS_QT_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/../scripts/cross-qt.sh")
if(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(DOMINO_CACHE "$ENV{XDG_CACHE_HOME}/domino-tiles")
else()
    set(DOMINO_CACHE "$ENV{HOME}/.cache/domino-tiles")
endif()

# domino_use_cached_qt(PLATFORM SCRIPT): the Qt built for PLATFORM with the options of
# packaging/PLATFORM/qt-configure.txt, or a stop naming the script that builds it. The script
# that builds it names its folder.
macro(domino_use_cached_qt platform script)
    execute_process(
        COMMAND bash "${DOMINO_CROSS_QT_SCRIPT}" prefix ${platform}
        OUTPUT_VARIABLE DOMINO_QT_PREFIX OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    if(NOT EXISTS "${DOMINO_QT_PREFIX}/.complete")
        message(FATAL_ERROR "No Qt for ${platform} in ${DOMINO_QT_PREFIX}: ./${script} builds it once")
    endif()
    include("${DOMINO_QT_PREFIX}/lib/cmake/Qt6/qt.toolchain.cmake")
endmacro()
