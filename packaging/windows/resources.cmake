# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The version details, the manifest and the icon, built into the .exe.
target_sources(domino-tiles PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/domino-tiles.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/domino-tiles.rc PROPERTIES
    OBJECT_DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/icon.ico)
# Without -static the MinGW runtime (libgcc_s, libstdc++, winpthread) stays a DLL to ship.
target_link_options(domino-tiles PRIVATE -static -s)
