// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TileSurface;

// The 1-pixel line across the tile at half its outer height, from the left edge to the outer
// width (the surface clips what runs past its drawing area).
void DrawDivider(TileSurface& surface);
