#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds with warnings as errors, and runs every test: the unit tests
# with assertions and under ASan and UBSan (the ci preset, in build-ci), the desktop tests on the
# program as it ships (the release preset, in build-release).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/dependencies.sh
install_missing_packages "${DOMINO_RUN_PACKAGES[@]}" "${DOMINO_TEST_PACKAGES[@]}"

cmake --preset release >/dev/null
cmake --build --preset release
cmake --preset ci >/dev/null
cmake --build --preset ci
# The fuzzer is built by clang in a build of its own, the Windows program where its Qt has been
# built once, and the web page always. Their tests run with the rest.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
./windows.sh --build
./web.sh --build
ctest --preset ci
