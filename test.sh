#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds with warnings as errors, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh
install_missing_packages

cmake -S . -B build -DDOMINO_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j2
# The Windows program and the web page, where their Qt has been built once; their tests run
# with the others.
./windows.sh --build
./web.sh --build
ctest --test-dir build --output-on-failure
