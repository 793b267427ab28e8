// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class TileSurface;

// Each draws the pips of one half as 15-pixel dots at fixed twip offsets from the surface's
// edges and half height. A count without a layout (anything but 1 to 6) draws nothing.
void DrawUpperPips(TileSurface& surface, double count);
void DrawLowerPips(TileSurface& surface, std::int16_t count);
