# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer for every user of a PC, with wixl.
set(msi ${PROJECT_BINARY_DIR}/${DOMINO_EXECUTABLE}-${PROJECT_VERSION}-x64.msi)
add_custom_command(OUTPUT ${msi}
    COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/make_msi.py ${msi}
            ${CMAKE_CURRENT_BINARY_DIR}/domino-tiles.wxs $<TARGET_FILE:domino-tiles>
            ${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_BINARY_DIR}/icon.ico
            "${DOMINO_NAME_EN} ${PROJECT_VERSION}" "${DOMINO_PUBLISHER}"
    COMMAND ${sign} ${msi}
    DEPENDS ${program} make_msi.py ${CMAKE_CURRENT_BINARY_DIR}/domino-tiles.wxs
            ${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_BINARY_DIR}/icon.ico ${signing})
