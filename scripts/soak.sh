#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Long random walk of the window under AddressSanitizer, LeakSanitizer and UBSan:
#   scripts/soak.sh [ACTIONS]      (100000 unless given; DOMINO_SOAK_SEED picks another walk)
# Builds only tst_soak, with the ci preset's sanitizers and assertions (in build-ci), ends with a
# one-line summary and writes it into BENCHMARKS.md, passed or failed.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh
install_missing_packages "${DOMINO_RUN_PACKAGES[@]}"

actions=${1:-100000}
if ! [[ $actions =~ ^[0-9]+$ ]] || [ "$actions" -eq 0 ]; then
    echo "usage: $0 [ACTIONS]   (a whole number above 0)" >&2
    exit 2
fi

SECONDS=0
cmake --preset ci >/dev/null
cmake --build --preset soak

log=build-ci/soak.log
status=0
start=$SECONDS
QT_QPA_PLATFORM=offscreen DOMINO_SOAK_ACTIONS="$actions" \
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/tests/leak-suppressions.txt \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build-ci/tests/main_form/tst_soak 2>&1 | tee "$log" || status=$?
time="$((SECONDS - start)) s of test, $SECONDS s with the build"

report=$(grep -m1 -E 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: (Address|UndefinedBehavior)Sanitizer' "$log" || true)
failure=$(grep -m1 -E '^FAIL!' "$log" || true)
seed=$(grep -m1 -oE 'of seed [0-9]+' "$log" | grep -oE '[0-9]+$' || true)
if [ "$status" -eq 0 ] && [ -z "$report" ] && [ -z "$failure" ]; then
    summary="soak: $actions actions, 0 failures, no sanitizer report"
    passed=1
else
    summary="soak: $actions actions, exit status $status:"
    summary+=" ${failure:-${report:-no FAIL line, see $log}}"
    passed=0
fi
echo "$summary"
/usr/bin/python3 bench/benchmarks_md.py row \
    "\`scripts/soak.sh $actions\` (ASan, LSan, UBSan; seed ${seed:-?})" "$summary" "$time"
[ "$passed" -eq 1 ]
