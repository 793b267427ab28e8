# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The DLLs the program (through static Qt) imports that are not KnownDLLs: Windows would look
# for them in the program's folder first. Delay-loaded instead, through the hook in
# system32_dlls.cpp; their delay-import libraries come first on the link path, since Qt asks
# for them as plain -ldwmapi and the like.
function(domino_delay_windows_imports target)
    set(delayed_dlls authz d3d11 d3d9 dwmapi dxgi netapi32 userenv uxtheme version winmm
        wtsapi32)
    set(delay_folder ${CMAKE_CURRENT_BINARY_DIR}/delay-imports)
    set(import_libraries)
    set(delay_libraries)
    foreach(dll ${delayed_dlls})
        find_library(import_library_${dll} ${dll} REQUIRED)
        list(APPEND import_libraries ${import_library_${dll}})
        list(APPEND delay_libraries ${delay_folder}/lib${dll}.a)
    endforeach()
    add_custom_command(OUTPUT ${delay_libraries}
        COMMAND python3 ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/delay_imports.py ${CMAKE_NM}
                ${CMAKE_DLLTOOL} ${delay_folder} ${import_libraries}
        DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/delay_imports.py ${import_libraries})
    add_custom_target(windows_delay_imports DEPENDS ${delay_libraries})
    add_dependencies(${target} windows_delay_imports)
    target_link_directories(${target} BEFORE PRIVATE ${delay_folder})
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/system32_dlls.cpp)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${delay_libraries})
endfunction()
