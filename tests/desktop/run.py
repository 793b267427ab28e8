# SPDX-FileCopyrightText: 2026 The domino-tiles authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs one desktop test module; exits 77 (skipped, for ctest) when it could not run at all."""

import sys
import unittest

import harness

module = sys.argv[1]
result = unittest.TextTestRunner(verbosity=2).run(
    unittest.defaultTestLoader.loadTestsFromName(module))
if not result.wasSuccessful():
    sys.exit(1)
if result.skipped and len(result.skipped) >= result.testsRun:
    print("SKIPPED:", result.skipped[0][1])
    sys.exit(harness.SKIP)
