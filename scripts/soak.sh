#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Long random walk of the window under AddressSanitizer, LeakSanitizer and UBSan:
#   scripts/soak.sh [ACTIONS]      (100000 unless given; DOMINO_SOAK_SEED picks another walk)
# Builds only tst_soak, with the asan preset (in build-asan), and ends with a one-line summary.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh
install_missing_packages "${DOMINO_RUN_PACKAGES[@]}"

actions=${1:-100000}
if ! [[ $actions =~ ^[0-9]+$ ]] || [ "$actions" -eq 0 ]; then
    echo "usage: $0 [ACTIONS]   (a whole number above 0)" >&2
    exit 2
fi

cmake --preset asan >/dev/null
cmake --build --preset asan

log=build-asan/soak.log
status=0
QT_QPA_PLATFORM=offscreen DOMINO_SOAK_ACTIONS="$actions" \
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    build-asan/tests/main_form/tst_soak 2>&1 | tee "$log" || status=$?

report=$(grep -m1 -E 'ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: (Address|UndefinedBehavior)Sanitizer' "$log" || true)
failure=$(grep -m1 -E '^FAIL!' "$log" || true)
if [ "$status" -eq 0 ] && [ -z "$report" ] && [ -z "$failure" ]; then
    echo "soak: $actions actions, 0 failures, no sanitizer report"
    exit 0
fi
echo "soak: $actions actions, exit status $status: ${failure:-${report:-no FAIL line, see $log}}"
exit 1
