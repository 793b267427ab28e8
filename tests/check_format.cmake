# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a tracked C++ file is not as clang-format would write it with the project's
# .clang-format; the messages name the file and line.
execute_process(COMMAND git ls-files -- "*.cpp" "*.h"
                WORKING_DIRECTORY ${SOURCE_DIR}
                OUTPUT_VARIABLE files RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT status EQUAL 0 OR files STREQUAL "")
    message(FATAL_ERROR "format: no tracked C++ files found in ${SOURCE_DIR} (not a git checkout?)")
endif()
string(REPLACE "\n" ";" files "${files}")
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "format: run clang-format -i on the files named above")
endif()
