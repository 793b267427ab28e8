#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# A short random walk of the window under Valgrind's memcheck: no error, and not a byte
# definitely lost by the program's own code.
#   scripts/memcheck.sh      (DOMINO_SOAK_ACTIONS and DOMINO_SOAK_SEED pick another walk)
# Builds only tst_soak, with the memcheck preset (in build-memcheck), ends with a one-line
# summary and writes it into BENCHMARKS.md, passed or failed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh
install_missing_packages "${DOMINO_RUN_PACKAGES[@]}" valgrind

cmake --workflow --preset memcheck >/dev/null
build=build-memcheck

log=$build/memcheck.log
status=0
start=$SECONDS
actions=${DOMINO_SOAK_ACTIONS:-1000}
QT_QPA_PLATFORM=offscreen DOMINO_SOAK_ACTIONS="$actions" \
    valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite \
    --error-exitcode=99 --num-callers=40 --fullpath-after= \
    "$build/tests/main_form/tst_soak" 2>&1 | tee "$log" || status=$?
seconds=$((SECONDS - start))

figure() { # bytes of one leak kind from the leak summary, 0 when none is listed
    local bytes
    bytes=$(grep -m1 -oE "$1: [0-9,]+ bytes" "$log" | grep -oE '[0-9,]+' | tr -d ,) || true
    echo "${bytes:-0}"
}
errors=$(grep -m1 -oE 'ERROR SUMMARY: [0-9,]+' "$log" | grep -oE '[0-9,]+$' | tr -d ,) || true
# Each loss record's stack runs up to the next blank line; count those that pass through src/.
ours=$(awk -v ours="$PWD/src/" '/definitely lost in loss record/ {record = 1; hit = 0; next}
            record && index($0, ours) {hit = 1}
            record && /^==[0-9]+== *$/ {if (hit) n++; record = 0}
            END {print n + 0}' "$log")
failure=$(grep -m1 -E '^FAIL!' "$log" || true)

result="definitely lost $(figure 'definitely lost') B,"
result+=" indirectly lost $(figure 'indirectly lost') B,"
result+=" possibly lost $(figure 'possibly lost') B, ${errors:-?} errors,"
result+=" $ours definite losses in src/"
passed=0
if [ "$status" -eq 0 ] && [ "${errors:-1}" -eq 0 ] && [ "$ours" -eq 0 ] && [ -z "$failure" ]; then
    passed=1
    echo "memcheck: $result, ${seconds}s"
else
    result="FAILED (exit status $status${failure:+, $failure}): $result"
    echo "memcheck $result, ${seconds}s"
fi
/usr/bin/python3 bench/benchmarks_md.py row \
    "\`scripts/memcheck.sh\` ($actions actions under Valgrind)" "$result" "$seconds s"
[ "$passed" -eq 1 ]
