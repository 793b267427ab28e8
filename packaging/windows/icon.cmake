# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The icon at the sizes Explorer and the taskbar ask for, each rendered from the vector
# drawing rather than scaled from another size; OUTPUT is set to the .ico.
function(domino_windows_icon target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "OUTPUT" "")
    find_program(DOMINO_RSVG_CONVERT rsvg-convert REQUIRED)
    find_program(DOMINO_ICOTOOL icotool REQUIRED)
    set(svg ${PROJECT_SOURCE_DIR}/assets/icon.svg)
    set(icon_pngs)
    foreach(size 16 24 32 48 256)
        list(APPEND icon_pngs ${CMAKE_CURRENT_BINARY_DIR}/icon-${size}.png)
        add_custom_command(OUTPUT icon-${size}.png
            COMMAND ${DOMINO_RSVG_CONVERT} -w ${size} -h ${size} -f png -o icon-${size}.png
                    ${svg}
            DEPENDS ${svg})
    endforeach()
    # Windows wants the small sizes as bitmaps and the largest as a PNG.
    list(POP_BACK icon_pngs largest)
    add_custom_command(OUTPUT icon.ico
        COMMAND ${DOMINO_ICOTOOL} -c -o icon.ico ${icon_pngs} -r ${largest}
        DEPENDS ${icon_pngs} ${largest})
    # The program is a target of another folder, so it waits for the icon through a target.
    add_custom_target(windows_icon DEPENDS icon.ico)
    add_dependencies(${target} windows_icon)
    set(${ARG_OUTPUT} ${CMAKE_CURRENT_BINARY_DIR}/icon.ico PARENT_SCOPE)
endfunction()
