// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster_tile_surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Points further out than this many pixels cannot touch the area; dropping them keeps the
// arithmetic below well inside the range of a long long.
constexpr double kFarOutPixels = 1e12;

// First and one-past-last device pixel whose centre lies in logical pixel p.
long long firstDevicePixel(long long p, double ratio)
{
    return static_cast<long long>(std::ceil(static_cast<double>(p) * ratio - 0.5));
}

// Moves an end that lies beyond kFarOutPixels along its line to that bound, so the walk below
// stays exact; false when the whole line lies beyond it. Ends within the bound are untouched.
bool clipFarEnds(double (&ends)[4])
{
    struct Cut
    {
        double t;
        int axis;
        double bound;
    };
    Cut from{0, -1, 0};
    Cut to{1, -1, 0};
    for (int axis = 0; axis < 2; ++axis) {
        const double start = ends[axis];
        const double delta = ends[axis + 2] - start;
        for (const double bound : {-kFarOutPixels, kFarOutPixels}) {
            const bool startOut = bound < 0 ? start < bound : start > bound;
            const bool endOut = bound < 0 ? start + delta < bound : start + delta > bound;
            if (startOut && endOut)
                return false;
            if (startOut && (bound - start) / delta > from.t)
                from = {(bound - start) / delta, axis, bound};
            else if (endOut && (bound - start) / delta < to.t)
                to = {(bound - start) / delta, axis, bound};
        }
    }
    if (from.t > to.t)
        return false;
    // The cut axis lands exactly on the bound; the other follows the line as well as doubles
    // allow, which is all that ends this far out can ask for.
    const double x = ends[0], y = ends[1], dx = ends[2] - x, dy = ends[3] - y;
    const auto cutAt = [&](const Cut& cut, double* point) {
        point[0] = std::clamp(x + cut.t * dx, -kFarOutPixels, kFarOutPixels);
        point[1] = std::clamp(y + cut.t * dy, -kFarOutPixels, kFarOutPixels);
        point[cut.axis] = cut.bound;
    };
    if (from.axis >= 0)
        cutAt(from, &ends[0]);
    if (to.axis >= 0)
        cutAt(to, &ends[2]);
    return true;
}

// The side of the drawing area in pixels: the outer size less the border on both sides.
int areaSide(float twips)
{
    return std::max(0, static_cast<int>(std::lround(twips / kTwipsPerPixel)) -
                           2 * RasterTileSurface::kBorderPixels);
}

RasterTileSurface::Size areaOf(float widthTwips, float heightTwips)
{
    return {areaSide(widthTwips), areaSide(heightTwips)};
}

// The pixel as its bytes lie in memory: red, green, blue, then an opaque alpha.
std::uint32_t word(Rgb colour)
{
    const std::uint8_t bytes[4] = {colour.red, colour.green, colour.blue, 0xFF};
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

} // namespace

RasterTileSurface::RasterTileSurface(float widthTwips, float heightTwips, Rgb foreground,
                                     Rgb background, double devicePixelRatio)
    : widthTwips_(widthTwips), heightTwips_(heightTwips),
      areaSize_(areaOf(widthTwips, heightTwips)), foreground_(foreground), background_(background),
      ratio_(devicePixelRatio)
{
    render();
}

const std::uint8_t* RasterTileSurface::pixels() const
{
    return reinterpret_cast<const std::uint8_t*>(image_.data());
}

Rgb RasterTileSurface::pixel(int x, int y) const
{
    const std::uint8_t* at = pixels() + 4 * (static_cast<std::size_t>(y) * deviceSize_.width + x);
    return {at[0], at[1], at[2]};
}

void RasterTileSurface::SetDrawWidth(int pixels)
{
    drawWidth_ = std::clamp(pixels, 1, kWidestPen);
}

void RasterTileSurface::PSet(float x, float y)
{
    strokes_.push_back({x, y, x, y, drawWidth_});
    paint(strokes_.back());
}

void RasterTileSurface::Line(float x1, float y1, float x2, float y2)
{
    strokes_.push_back({x1, y1, x2, y2, drawWidth_});
    paint(strokes_.back());
}

void RasterTileSurface::Cls()
{
    strokes_.clear();
    fill(background_);
}

void RasterTileSurface::setDevicePixelRatio(double ratio)
{
    if (ratio == ratio_)
        return;
    ratio_ = ratio;
    render();
}

void RasterTileSurface::setColors(Rgb foreground, Rgb background)
{
    if (foreground == foreground_ && background == background_)
        return;
    foreground_ = foreground;
    background_ = background;
    render();
}

void RasterTileSurface::render()
{
    deviceSize_ = {static_cast<int>(firstDevicePixel(areaSize_.width, ratio_)),
                   static_cast<int>(firstDevicePixel(areaSize_.height, ratio_))};
    // A side of no pixels leaves no picture at all.
    if (deviceSize_.width <= 0 || deviceSize_.height <= 0)
        deviceSize_ = {};
    image_.assign(static_cast<std::size_t>(deviceSize_.width) * deviceSize_.height, 0);
    fill(background_);
    for (const Stroke& stroke : strokes_)
        paint(stroke);
}

void RasterTileSurface::fill(Rgb colour)
{
    std::fill(image_.begin(), image_.end(), word(colour));
}

void RasterTileSurface::paint(const Stroke& stroke)
{
    constexpr double twipsPerPixel = kTwipsPerPixel;
    double ends[] = {stroke.x1 / twipsPerPixel, stroke.y1 / twipsPerPixel,
                     stroke.x2 / twipsPerPixel, stroke.y2 / twipsPerPixel};
    for (const double v : ends) {
        if (!std::isfinite(v))
            return;
    }
    if (!clipFarEnds(ends))
        return;
    const double x1 = std::round(ends[0]);
    const double y1 = std::round(ends[1]);
    const double x2 = std::round(ends[2]);
    const double y2 = std::round(ends[3]);

    // Walk the line pixel by pixel (a point is a line of one step), visiting only the steps
    // that can reach the area, however far the ends lie outside it.
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double steps = std::max(std::abs(dx), std::abs(dy));
    const double reach = stroke.width / 2.0 + 1;
    double first = 0;
    double last = steps;
    const auto limit = [&](double start, double delta, double low, double high) {
        if (delta == 0) {
            if (start < low || start > high)
                last = -1;
            return;
        }
        const double a = (low - start) * steps / delta;
        const double b = (high - start) * steps / delta;
        first = std::max(first, std::floor(std::min(a, b)) - 1);
        last = std::min(last, std::ceil(std::max(a, b)) + 1);
    };
    limit(x1, dx, -reach, areaSize_.width + reach);
    limit(y1, dy, -reach, areaSize_.height + reach);
    if (!(first <= last))
        return; // the line misses the area; the bounds are then meaningless

    for (auto step = static_cast<long long>(first); step <= static_cast<long long>(last); ++step) {
        const double t = steps == 0 ? 0 : step / steps;
        const auto px = static_cast<long long>(std::round(x1 + t * dx));
        const auto py = static_cast<long long>(std::round(y1 + t * dy));
        if (stroke.width == 1)
            fillPixel(px, py);
        else if (fillDot(px, py, stroke.width))
            return; // one dot covered the whole area: nothing more can change
    }
}

void RasterTileSurface::fillPixel(long long px, long long py)
{
    const std::uint32_t colour = word(foreground_);
    const long long top = std::max(0LL, firstDevicePixel(py, ratio_));
    const long long bottom =
        std::min<long long>(deviceSize_.height, firstDevicePixel(py + 1, ratio_));
    const long long left = std::max(0LL, firstDevicePixel(px, ratio_));
    const long long right =
        std::min<long long>(deviceSize_.width, firstDevicePixel(px + 1, ratio_));
    for (long long y = top; y < bottom; ++y) {
        std::uint32_t* line = image_.data() + y * deviceSize_.width;
        for (long long x = left; x < right; ++x)
            line[x] = colour;
    }
}

// A device pixel belongs to the dot when its centre lies within half the pen width of the
// centre of logical pixel (px, py). Each row is filled as one span, so a wide pen costs its
// rows, not its area. Returns whether the dot covered the whole picture.
bool RasterTileSurface::fillDot(long long px, long long py, int width)
{
    const std::uint32_t colour = word(foreground_);
    const double radius = width / 2.0;
    const double cx = px + 0.5;
    const double cy = py + 0.5;
    const auto inside = [&](long long x, double oy) {
        const double ox = (x + 0.5) / ratio_ - cx;
        return ox * ox + oy * oy <= radius * radius;
    };
    const long long top = std::max(0LL, firstDevicePixel(py - width, ratio_));
    const long long bottom =
        std::min<long long>(deviceSize_.height, firstDevicePixel(py + width + 1, ratio_));
    const long long lastColumn = deviceSize_.width - 1;
    bool everything = top == 0 && bottom == deviceSize_.height;
    for (long long y = top; y < bottom; ++y) {
        const double oy = (y + 0.5) / ratio_ - cy;
        if (oy * oy > radius * radius) {
            everything = false;
            continue;
        }
        // The span from the circle's equation, then nudged so that its ends pass the exact
        // test above whatever the rounding.
        const double half = std::sqrt(radius * radius - oy * oy);
        long long left = std::clamp(static_cast<long long>(std::ceil((cx - half) * ratio_ - 0.5)),
                                    0LL, lastColumn + 1);
        long long right = std::clamp(static_cast<long long>(std::floor((cx + half) * ratio_ - 0.5)),
                                     -1LL, lastColumn);
        while (left <= right && !inside(left, oy))
            ++left;
        while (left > 0 && inside(left - 1, oy))
            --left;
        while (right >= left && !inside(right, oy))
            --right;
        while (right < lastColumn && right >= left && inside(right + 1, oy))
            ++right;
        everything = everything && left == 0 && right == lastColumn;
        if (left > right)
            continue;
        std::uint32_t* line = image_.data() + y * deviceSize_.width;
        std::fill(line + left, line + right + 1, colour);
    }
    return everything && !image_.empty();
}
