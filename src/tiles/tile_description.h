// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// What a screen reader says of a tile, in UTF-8, built from the texts of fixed_texts.h.

// What the tile's two halves show: "2 точки в горната половина и 5 точки в долната".
std::string DescribeHalves(std::string_view label);

// What a screen reader says of a row after its label: what picking it draws and the report's
// second line, which a listener would otherwise not hear.
std::string DescribeRow(std::string_view label);

// What the drawing shows: "Плочка 2:5: 2 точки в горната половина и 5 точки в долната.", or
// that no tile is picked for the empty label.
std::string DescribeTile(std::string_view label);
