# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The version details, the manifest and the icon, built into the .exe.
function(domino_windows_resources target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "ICON" "")
    set(resources ${CMAKE_CURRENT_BINARY_DIR}/domino-tiles.rc)
    target_sources(${target} PRIVATE ${resources})
    set_source_files_properties(${resources} PROPERTIES OBJECT_DEPENDS ${ARG_ICON})
    # Without -static the MinGW runtime (libgcc_s, libstdc++, winpthread) stays a DLL to ship.
    target_link_options(${target} PRIVATE -static -s)
endfunction()
