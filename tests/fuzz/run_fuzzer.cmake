# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the fuzzer for at most RUNS inputs or SECONDS seconds. New inputs go to a scratch
# folder, never to the seed corpus, and a crash leaves its input there to reproduce it.
foreach(variable FUZZER SEEDS SCRATCH RUNS SECONDS)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "run_fuzzer.cmake needs -D${variable}=...")
    endif()
endforeach()

if(NOT EXISTS ${FUZZER})
    # ctest reports the test as skipped on this line.
    message(FATAL_ERROR "fuzz_tiles is not built: cmake --workflow --preset fuzz builds it")
endif()

file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/corpus)
set(ENV{UBSAN_OPTIONS} "print_stacktrace=1")

# The outer timeout ends the fuzzer itself should libFuzzer's own limit fail to.
math(EXPR hard_limit "${SECONDS} + 60")
execute_process(
    COMMAND ${FUZZER} -runs=${RUNS} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 -artifact_prefix=${SCRATCH}/ ${SCRATCH}/corpus ${SEEDS}
    RESULT_VARIABLE result
    TIMEOUT ${hard_limit})
if(NOT result EQUAL 0)
    file(GLOB artifacts ${SCRATCH}/crash-* ${SCRATCH}/timeout-* ${SCRATCH}/leak-*
         ${SCRATCH}/oom-* ${SCRATCH}/slow-unit-*)
    list(JOIN artifacts " " artifacts)
    message(FATAL_ERROR "fuzz_tiles failed (${result}); reproduce with: ${FUZZER} ${artifacts}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
