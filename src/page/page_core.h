// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// What the web page asks of the program's core, as plain C for JavaScript. Texts are UTF-8 and
// stay valid until the next call that returns a text; a row is 0 to 27, and -1 is no pick.
extern "C" {

int domino_row_count();
// The row's label, as the list shows it ("2:5"); the empty text outside the list.
const char* domino_row_label(int row);
// What a screen reader says of the row after its label.
const char* domino_row_description(int row);
// The report box's two lines after picking the row, each ending in CR LF.
const char* domino_report(int row);
// What the drawing shows, in words; for -1, that no tile is picked.
const char* domino_tile_description(int row);
// What the report box says after the clear button.
const char* domino_prompt();

// The largest zoom step, in per cent, at which a window of width x height CSS pixels at 100 %
// fits a viewport of that many CSS pixels, given the device pixel ratio.
int domino_fitting_zoom(int windowWidth, int windowHeight, int viewportWidth, int viewportHeight,
                        double devicePixelRatio);

// Draws the row's tile (-1: the bare tile) as the window does on a pick, at the device pixel
// ratio times the zoom, in the colours given as 0xRRGGBB. Returns its RGBA pixels, row by row,
// which stay valid until the next drawing; domino_tile_width and _height give their size.
const std::uint8_t* domino_draw_tile(int row, double ratio, std::uint32_t ink, std::uint32_t face);
int domino_tile_width();
int domino_tile_height();
}
