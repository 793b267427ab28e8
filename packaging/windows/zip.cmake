# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The portable download: the program, the licence and the read-me, in one folder.
set(zip ${PROJECT_BINARY_DIR}/${DOMINO_EXECUTABLE}-${PROJECT_VERSION}-windows-x64.zip)
add_custom_command(OUTPUT ${zip}
    COMMAND python3 ${PROJECT_SOURCE_DIR}/packaging/make_zip.py ${zip}
            $<TARGET_FILE:domino-tiles> ${PROJECT_SOURCE_DIR}/LICENSE
            ${CMAKE_CURRENT_BINARY_DIR}/ПРОЧЕТИ.txt
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/packaging/make_zip.py ${PROJECT_SOURCE_DIR}/LICENSE
            ${CMAKE_CURRENT_BINARY_DIR}/ПРОЧЕТИ.txt)
