# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# The icon at the sizes Explorer and the taskbar ask for, each rendered from the vector
# drawing rather than scaled from another size.
set(icon_sizes 16 24 32 48 256)
set(icon_pngs)
foreach(size ${icon_sizes})
    list(APPEND icon_pngs ${CMAKE_CURRENT_BINARY_DIR}/icon-${size}.png)
    add_custom_command(OUTPUT icon-${size}.png
        COMMAND rsvg-convert -w ${size} -h ${size} -f png -o icon-${size}.png
                ${PROJECT_SOURCE_DIR}/assets/icon.svg
        DEPENDS ${PROJECT_SOURCE_DIR}/assets/icon.svg)
endforeach()
# Windows wants the small sizes as bitmaps and the largest as a PNG.
list(POP_BACK icon_pngs largest)
add_custom_command(OUTPUT icon.ico
    COMMAND icotool -c -o icon.ico ${icon_pngs} -r ${largest}
    DEPENDS ${icon_pngs} ${largest})
# The program is a target of another folder, so it waits for the icon through a target.
add_custom_target(windows_icon DEPENDS icon.ico)
add_dependencies(domino-tiles windows_icon)
