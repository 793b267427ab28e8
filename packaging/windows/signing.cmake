# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Signing: only with a certificate, which never enters the build tree. Its path is kept in a
# file here so that adding or dropping it rebuilds what it signs; the password is read at
# build time from DOMINO_SIGN_PASSWORD.
#   SIGN_COMMAND: set to the command that signs the file named after it (a no-op without a
#                 certificate); SIGNING_FILES: to what a signed file depends on;
#   SIGNED_PROGRAM: to the program and the stamp of its signing, for the packages to wait on.
function(domino_sign_windows_program target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "SIGN_COMMAND;SIGNING_FILES;SIGNED_PROGRAM" "")
    set(pkcs12 "$ENV{DOMINO_SIGN_PKCS12}")
    if(pkcs12 AND NOT EXISTS "${pkcs12}")
        message(FATAL_ERROR "DOMINO_SIGN_PKCS12 names no file: ${pkcs12}")
    endif()
    file(CONFIGURE OUTPUT signing.txt CONTENT "${pkcs12}\n")
    set(signing ${CMAKE_CURRENT_BINARY_DIR}/signing.txt ${pkcs12})
    set(sign ${CMAKE_COMMAND} -E true)
    if(pkcs12)
        set(sign ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/sign.sh)
    endif()
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${signing})

    # The program is a target of another folder, so it is signed in place by a step of its
    # own, before anything packs it.
    add_custom_command(OUTPUT program.stamp
        COMMAND ${sign} $<TARGET_FILE:${target}>
        COMMAND ${CMAKE_COMMAND} -E touch program.stamp
        DEPENDS ${target} ${signing} ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/sign.sh)
    set(${ARG_SIGN_COMMAND} ${sign} PARENT_SCOPE)
    set(${ARG_SIGNING_FILES} ${signing} PARENT_SCOPE)
    set(${ARG_SIGNED_PROGRAM} $<TARGET_FILE:${target}> ${CMAKE_CURRENT_BINARY_DIR}/program.stamp
        PARENT_SCOPE)
endfunction()
