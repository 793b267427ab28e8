# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer for one user, with NSIS; OUTPUT is set to the setup .exe.
function(domino_windows_installer)
    cmake_parse_arguments(PARSE_ARGV 0 ARG "" "OUTPUT;ICON" "PROGRAM;SIGN_COMMAND;SIGNING_FILES")
    find_program(DOMINO_MAKENSIS makensis REQUIRED)
    list(GET ARG_PROGRAM 0 exe)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/installer.nsi)
    set(setup ${PROJECT_BINARY_DIR}/${DOMINO_EXECUTABLE}-${PROJECT_VERSION}-setup.exe)
    add_custom_command(OUTPUT ${setup}
        COMMAND ${DOMINO_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DPROGRAM=${exe}
                -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE -DICON=${ARG_ICON} -DOUTFILE=${setup}
                ${script}
        COMMAND ${ARG_SIGN_COMMAND} ${setup}
        DEPENDS ${ARG_PROGRAM} ${script} ${ARG_ICON} ${ARG_SIGNING_FILES})
    set(${ARG_OUTPUT} ${setup} PARENT_SCOPE)
endfunction()
