// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_core.h"

#include "divider.h"
#include "fixed_texts.h"
#include "pip_layouts.h"
#include "raster_tile_surface.h"
#include "selection_report.h"
#include "tile_description.h"
#include "tile_label.h"
#include "window_geometry.h"
#include "zoom_policy.h"
#include "zoom_steps.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// The catalogue, built once, as the window's list holds it.
const std::vector<TileLabel>& rows()
{
    static const std::vector<TileLabel> catalogue = BuildTileCatalogue();
    return catalogue;
}

std::string label(int row)
{
    return row >= 0 && row < static_cast<int>(rows().size()) ? rows()[row] : std::string();
}

const char* keep(std::string text)
{
    static std::string kept;
    kept = std::move(text);
    return kept.c_str();
}

Rgb fromRgb(std::uint32_t rgb)
{
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb)};
}

std::unique_ptr<RasterTileSurface> tile;

// Beyond any screen's ratio times the largest zoom; it keeps the picture within the module's
// memory whatever the page asks.
constexpr double kFinestRatio = 12;

} // namespace

int domino_row_count()
{
    return static_cast<int>(rows().size());
}

const char* domino_row_label(int row)
{
    return keep(label(row));
}

const char* domino_row_description(int row)
{
    return keep(label(row).empty() ? std::string() : DescribeRow(label(row)));
}

const char* domino_report(int row)
{
    return keep(BuildSelectionReport(static_cast<std::int16_t>(rows().size()), label(row)));
}

const char* domino_tile_description(int row)
{
    return keep(DescribeTile(label(row)));
}

const char* domino_prompt()
{
    return kPrompt;
}

int domino_fitting_zoom(int windowWidth, int windowHeight, int viewportWidth, int viewportHeight,
                        double devicePixelRatio)
{
    return LargestFittingZoomStep({windowWidth, windowHeight}, {viewportWidth, viewportHeight},
                                  devicePixelRatio, kZoomSteps.back());
}

// The steps of the window's own flows: a pick draws the divider and both halves on a cleared
// surface, the clear button only the divider.
const std::uint8_t* domino_draw_tile(int row, double ratio, std::uint32_t ink, std::uint32_t face)
{
    tile.reset();
    if (!(ratio > 0))
        ratio = 1;
    tile = std::make_unique<RasterTileSurface>(float(kPicture1Twips.width),
                                               float(kPicture1Twips.height), fromRgb(ink),
                                               fromRgb(face), std::min(ratio, kFinestRatio));
    DrawDivider(*tile);
    const std::string picked = label(row);
    if (!picked.empty()) {
        const TileHalves halves = ReadTileHalves(picked);
        DrawUpperPips(*tile, halves.upper);
        DrawLowerPips(*tile, halves.lower);
    }
    return tile->pixels();
}

int domino_tile_width()
{
    return tile ? tile->deviceSize().width : 0;
}

int domino_tile_height()
{
    return tile ? tile->deviceSize().height : 0;
}
