# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -D PAGE=FOLDER -P stamp-worker.cmake: writes the page's service worker, FOLDER/sw.js,
# with the files it keeps offline, all of the page's but the worker itself, the precompressed
# twins and the photographs (the page hands it the one its screen shows), and a cache name made
# from the contents of them all.
file(GLOB files RELATIVE "${PAGE}" "${PAGE}/*")
list(FILTER files EXCLUDE REGEX "^sw\\.js$|\\.(gz|br)$")
set(digests "")
set(quoted "")
foreach(file IN LISTS files)
    file(SHA256 "${PAGE}/${file}" digest)
    string(APPEND digests "${digest} ${file}\n")
    if(NOT file MATCHES "^photo")
        list(APPEND quoted "\"${file}\"")
    endif()
endforeach()
string(SHA256 DOMINO_PAGE_HASH "${digests}")
string(SUBSTRING "${DOMINO_PAGE_HASH}" 0 16 DOMINO_PAGE_HASH)
list(JOIN quoted ", " DOMINO_PAGE_FILES)
configure_file("${CMAKE_CURRENT_LIST_DIR}/sw.js" "${PAGE}/sw.js" @ONLY)
