// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A tile's name as the list shows it: upper digit, ":", lower digit (e.g. "2:5").
using TileLabel = std::string;

struct TileHalves
{
    double upper = 0;
    std::int16_t lower = 0;
};

// All 28 tiles of the double-six set, 0:0 first and 6:6 last, upper digit never above lower.
std::vector<TileLabel> BuildTileCatalogue();

// Reads the first and third character of any UTF-8 text; a missing or non-digit character
// reads as 0, so an empty selection gives the blank tile.
TileHalves ReadTileHalves(std::string_view label);

// The text read end to end, character by character (UTF-8 sequences are kept whole).
std::string MirrorLabel(std::string_view label);
