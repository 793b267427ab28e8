#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds fuzz_tiles with the fuzz preset (in build-fuzz) and runs it for N inputs (1,000,000
# unless given), starting from the seed corpus. New inputs and any crash go to a temporary
# folder, which is kept (and named) only when something was found.
#   tests/fuzz/fuzz.sh [N]
set -euo pipefail

runs="${1:-1000000}"
[[ "$runs" =~ ^[0-9]+$ ]] || { echo "usage: $0 [runs]" >&2; exit 2; }

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
(cd "$root" && cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null) || {
    echo "fuzz_tiles could not be built (it needs the clang and libclang-rt-14-dev packages)" >&2
    exit 1
}
fuzzer="$root/build-fuzz/tests/fuzz/fuzz_tiles"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/fuzz_tiles.XXXXXX")"
mkdir "$scratch/corpus"
log="$scratch/fuzz.log"

status=0
UBSAN_OPTIONS=print_stacktrace=1 "$fuzzer" -runs="$runs" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$scratch/" "$scratch/corpus" "$root/tests/fuzz/corpus" \
    >"$log" 2>&1 || status=$?

final_stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
seconds="$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)"
coverage="$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 || true)"
summary="fuzz_tiles: $(final_stat number_of_executed_units) runs in ${seconds:-?} s"
summary+=" ($(final_stat average_exec_per_sec) exec/s), ${coverage:-cov: ?}"
summary+=", corpus $(find "$scratch/corpus" -type f | wc -l) new inputs"

if [ "$status" -eq 0 ]; then
    rm -rf "$scratch"
    echo "$summary: nothing found"
else
    grep -E "invariant broken|runtime error|ERROR: |SUMMARY|Test unit written" "$log" >&2 || true
    echo "$summary: FAILED ($status); input and log kept in $scratch" >&2
    exit 1
fi
