# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer for every user of a PC, with wixl; OUTPUT is set to the .msi.
function(domino_windows_msi)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "OUTPUT;ICON" "PROGRAM;SIGN_COMMAND;SIGNING_FILES")
    list(GET ARG_PROGRAM 0 exe)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/domino-tiles.wxs)
    set(maker ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/make_msi.py)
    set(msi ${PROJECT_BINARY_DIR}/${DOMINO_EXECUTABLE}-${PROJECT_VERSION}-x64.msi)
    add_custom_command(OUTPUT ${msi}
        COMMAND python3 ${maker} ${msi} ${source} ${exe} ${PROJECT_SOURCE_DIR}/LICENSE
                ${ARG_ICON} "${DOMINO_NAME_EN} ${PROJECT_VERSION}" "${DOMINO_PUBLISHER}"
        COMMAND ${ARG_SIGN_COMMAND} ${msi}
        DEPENDS ${ARG_PROGRAM} ${maker} ${source} ${PROJECT_SOURCE_DIR}/LICENSE ${ARG_ICON}
                ${ARG_SIGNING_FILES})
    set(${ARG_OUTPUT} ${msi} PARENT_SCOPE)
endfunction()
