# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The portable download: the program, the licence and the read-me, in one folder. PROGRAM is
# the signed program and what it waits on; OUTPUT is set to the .zip.
function(domino_windows_zip)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "OUTPUT" "PROGRAM")
    list(GET ARG_PROGRAM 0 exe)
    set(readme ${CMAKE_CURRENT_BINARY_DIR}/ПРОЧЕТИ.txt)
    set(zip ${PROJECT_BINARY_DIR}/${DOMINO_EXECUTABLE}-${PROJECT_VERSION}-windows-x64.zip)
    add_custom_command(OUTPUT ${zip}
        COMMAND python3 ${PROJECT_SOURCE_DIR}/packaging/make_zip.py ${zip} ${exe}
                ${PROJECT_SOURCE_DIR}/LICENSE ${readme}
        DEPENDS ${ARG_PROGRAM} ${PROJECT_SOURCE_DIR}/packaging/make_zip.py
                ${PROJECT_SOURCE_DIR}/LICENSE ${readme})
    set(${ARG_OUTPUT} ${zip} PARENT_SCOPE)
endfunction()
