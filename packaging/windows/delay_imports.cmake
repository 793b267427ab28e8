# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The DLLs the program (through static Qt) imports that are not KnownDLLs: Windows would look
# for them in the program's folder first. Delay-loaded instead, through the hook in
# system32_dlls.cpp; their delay-import libraries come first on the link path, since Qt asks
# for them as plain -ldwmapi and the like.
set(delayed_dlls authz d3d11 d3d9 dwmapi dxgi netapi32 userenv uxtheme version winmm wtsapi32)
set(delay_folder ${CMAKE_CURRENT_BINARY_DIR}/delay-imports)
set(import_libraries)
set(delay_libraries)
foreach(dll ${delayed_dlls})
    find_library(import_library_${dll} ${dll} REQUIRED)
    list(APPEND import_libraries ${import_library_${dll}})
    list(APPEND delay_libraries ${delay_folder}/lib${dll}.a)
endforeach()
add_custom_command(OUTPUT ${delay_libraries}
    COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/delay_imports.py ${CMAKE_NM} ${CMAKE_DLLTOOL}
            ${delay_folder} ${import_libraries}
    DEPENDS delay_imports.py ${import_libraries})
add_custom_target(windows_delay_imports DEPENDS ${delay_libraries})
add_dependencies(domino-tiles windows_delay_imports)
target_link_directories(domino-tiles BEFORE PRIVATE ${delay_folder})
target_sources(domino-tiles PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/system32_dlls.cpp)
set_property(TARGET domino-tiles APPEND PROPERTY LINK_DEPENDS ${delay_libraries})
