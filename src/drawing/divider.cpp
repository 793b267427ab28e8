// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "divider.h"

#include "tile_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int kDividerPenWidth = 1;

// The line's end is a 16-bit whole number of twips, rounded half to even; sizes beyond that
// range are clamped rather than overflowing.
float toInt16Twips(float value)
{
    constexpr float lowest = std::numeric_limits<std::int16_t>::min();
    constexpr float highest = std::numeric_limits<std::int16_t>::max();
    if (std::isnan(value))
        return 0;
    return std::clamp(std::nearbyint(value), lowest, highest);
}

} // namespace

void DrawDivider(TileSurface& surface)
{
    const float halfHeight = surface.Height() / 2;
    const float width = toInt16Twips(surface.Width());
    surface.SetDrawWidth(kDividerPenWidth);
    surface.Line(0, halfHeight, width, halfHeight);
}
