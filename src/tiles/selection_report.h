// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Two lines, each ending in CR LF: how many tiles the list holds and which one was picked,
// then either that the tile is symmetric or how it reads turned end to end.
std::string BuildSelectionReport(std::int16_t tileCount, std::string_view label);

// The report's second line without its line end: that the tile is symmetric, or how it reads
// turned end to end.
std::string BuildSymmetryLine(std::string_view label);
