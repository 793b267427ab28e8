// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pip_layouts.h"

#include "tile_surface.h"

#include <array>
#include <vector>

namespace {

constexpr int kPipPenWidth = 15;

// Fixed offsets, in twips, from the edges and the rows of a half.
constexpr float kNearInset = 100;
constexpr float kInset = 200;
constexpr float kFarInset = 300;
constexpr float kCentreShift = 50;

enum class Column {
    Left100,      // x = 100
    Left200,      // x = 200
    Centre,       // x = W/2
    CentreLess50, // x = W/2 - 50: midpoint of the 2-pip diagonal
    Right200,     // x = W - 200
    Right300,     // x = W - 300
};

enum class Row {
    Top,    // 200 below the top of the half
    Middle, // the middle of the half
    Bottom, // 200 above the bottom of the half
};

struct Pip
{
    Column column;
    Row row;
};

using Layouts = std::array<std::vector<Pip>, 7>;

using C = Column;
using R = Row;

// The two halves are not mirror images of each other: the lower half draws the right-hand
// pip of each row first, and its 5 has the centre pip at W/2 rather than W/2 - 50. The
// layouts and their drawing order are pinned by tests.
const Layouts kUpperLayouts = {{
    {},
    {{C::Centre, R::Middle}},
    {{C::Right200, R::Top}, {C::Left100, R::Bottom}},
    {{C::CentreLess50, R::Middle}, {C::Right200, R::Top}, {C::Left100, R::Bottom}},
    {{C::Left200, R::Top},
     {C::Right300, R::Top},
     {C::Left200, R::Bottom},
     {C::Right300, R::Bottom}},
    {{C::CentreLess50, R::Middle},
     {C::Left200, R::Top},
     {C::Right300, R::Top},
     {C::Left200, R::Bottom},
     {C::Right300, R::Bottom}},
    {{C::Left200, R::Top},
     {C::Right300, R::Top},
     {C::Left200, R::Middle},
     {C::Right300, R::Middle},
     {C::Left200, R::Bottom},
     {C::Right300, R::Bottom}},
}};

const Layouts kLowerLayouts = {{
    {},
    {{C::Centre, R::Middle}},
    {{C::Right200, R::Top}, {C::Left100, R::Bottom}},
    {{C::CentreLess50, R::Middle}, {C::Right200, R::Top}, {C::Left100, R::Bottom}},
    {{C::Right300, R::Top},
     {C::Left200, R::Top},
     {C::Right300, R::Bottom},
     {C::Left200, R::Bottom}},
    {{C::Centre, R::Middle},
     {C::Right300, R::Top},
     {C::Left200, R::Top},
     {C::Right300, R::Bottom},
     {C::Left200, R::Bottom}},
    {{C::Right300, R::Top},
     {C::Left200, R::Top},
     {C::Right300, R::Middle},
     {C::Left200, R::Middle},
     {C::Right300, R::Bottom},
     {C::Left200, R::Bottom}},
}};

float columnX(Column column, float width)
{
    switch (column) {
    case Column::Left100:
        return kNearInset;
    case Column::Left200:
        return kInset;
    case Column::Centre:
        return width / 2;
    case Column::CentreLess50:
        return width / 2 - kCentreShift;
    case Column::Right200:
        return width - kInset;
    case Column::Right300:
        return width - kFarInset;
    }
    return 0;
}

// The rows of a half: its top, middle and bottom, in twips from the top of the surface.
struct HalfRows
{
    float top;
    float middle;
    float bottom;
};

float rowY(Row row, const HalfRows& half)
{
    switch (row) {
    case Row::Top:
        return half.top + kInset;
    case Row::Middle:
        return half.middle;
    case Row::Bottom:
        return half.bottom - kInset;
    }
    return 0;
}

void drawLayout(TileSurface& surface, const std::vector<Pip>& layout, float width,
                const HalfRows& half)
{
    for (const Pip& pip : layout)
        surface.PSet(columnX(pip.column, width), rowY(pip.row, half));
}

} // namespace

void DrawUpperPips(TileSurface& surface, double count)
{
    const float h = surface.Height() / 2;
    const float width = surface.Width();
    surface.SetDrawWidth(kPipPenWidth);
    // Numeric equality: a fraction, NaN or anything out of range matches no layout.
    for (int pips = 1; pips < static_cast<int>(kUpperLayouts.size()); ++pips) {
        if (count == pips)
            drawLayout(surface, kUpperLayouts[pips], width, {0, h / 2, h});
    }
}

void DrawLowerPips(TileSurface& surface, std::int16_t count)
{
    const float h = surface.Height() / 2;
    const float width = surface.Width();
    surface.SetDrawWidth(kPipPenWidth);
    if (count >= 1 && count < static_cast<std::int16_t>(kLowerLayouts.size()))
        drawLayout(surface, kLowerLayouts[count], width, {h, 1.5f * h, 2 * h});
}
