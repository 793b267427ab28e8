#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks in a Release build (build-bench), runs them (the program against a plain
# Qt version of its window and two floors) and writes their sections of BENCHMARKS.md, with the
# plot docs/selection-latency.png. Takes about ten minutes; run it on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/dependencies.sh
install_missing_packages "${DOMINO_RUN_PACKAGES[@]}" "${DOMINO_BENCH_PACKAGES[@]}"

cmake --workflow --preset bench >/dev/null
/usr/bin/python3 bench/run_benchmarks.py build-bench docs/selection-latency.png
echo "Wrote BENCHMARKS.md"
