# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Signing: only with a certificate, which never enters the build tree. Its path is kept in a
# file here so that adding or dropping it rebuilds what it signs; the password is read at
# build time from DOMINO_SIGN_PASSWORD.
set(DOMINO_SIGN_PKCS12 "$ENV{DOMINO_SIGN_PKCS12}")
if(DOMINO_SIGN_PKCS12 AND NOT EXISTS "${DOMINO_SIGN_PKCS12}")
    message(FATAL_ERROR "DOMINO_SIGN_PKCS12 names no file: ${DOMINO_SIGN_PKCS12}")
endif()
file(CONFIGURE OUTPUT signing.txt CONTENT "${DOMINO_SIGN_PKCS12}\n")
set(signing ${CMAKE_CURRENT_BINARY_DIR}/signing.txt ${DOMINO_SIGN_PKCS12})
set(sign ${CMAKE_COMMAND} -E true)
if(DOMINO_SIGN_PKCS12)
    set(sign ${CMAKE_CURRENT_SOURCE_DIR}/sign.sh)
endif()
set_property(TARGET domino-tiles APPEND PROPERTY LINK_DEPENDS ${signing})

# The program is a target of another folder, so it is signed in place by a step of its own,
# before anything packs it.
add_custom_command(OUTPUT program.stamp
    COMMAND ${sign} $<TARGET_FILE:domino-tiles>
    COMMAND ${CMAKE_COMMAND} -E touch program.stamp
    DEPENDS domino-tiles ${signing} sign.sh)
set(program $<TARGET_FILE:domino-tiles> ${CMAKE_CURRENT_BINARY_DIR}/program.stamp)
