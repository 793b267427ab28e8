# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer for one user, with NSIS.
set(setup ${PROJECT_BINARY_DIR}/${DOMINO_EXECUTABLE}-${PROJECT_VERSION}-setup.exe)
add_custom_command(OUTPUT ${setup}
    COMMAND makensis -V2 -INPUTCHARSET UTF8 -DPROGRAM=$<TARGET_FILE:domino-tiles>
            -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE -DICON=${CMAKE_CURRENT_BINARY_DIR}/icon.ico
            -DOUTFILE=${setup} ${CMAKE_CURRENT_BINARY_DIR}/installer.nsi
    COMMAND ${sign} ${setup}
    DEPENDS ${program} ${CMAKE_CURRENT_BINARY_DIR}/installer.nsi
            ${CMAKE_CURRENT_BINARY_DIR}/icon.ico ${signing})
