// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the label routines, the drawing routines and RasterTileSurface, and
// stops at the first broken invariant, so that libFuzzer keeps the input that broke it.

#include "divider.h"
#include "pip_layouts.h"
#include "raster_tile_surface.h"
#include "selection_report.h"
#include "tile_label.h"
#include "tile_surface.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// Says which invariant broke before aborting, so a crash report reads on its own.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kMax = std::numeric_limits<float>::max();
constexpr float kTiny = std::numeric_limits<float>::denorm_min();
constexpr double kInfD = std::numeric_limits<double>::infinity();
constexpr double kNaND = std::numeric_limits<double>::quiet_NaN();
constexpr double kTinyD = std::numeric_limits<double>::denorm_min();

template <typename T, std::size_t N> T pick(FuzzedDataProvider& in, const T (&values)[N])
{
    return values[in.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
}

// Values near the edges of what the code handles are far likelier to matter than uniform
// ones, so a third of the draws come from this list.
float anyFloat(FuzzedDataProvider& in)
{
    // 491505 twips is 32767 pixels; 1.5e13 twips is where far ends start to be cut.
    static constexpr float kEdges[] = {0,     -0.0f,   0.5f,     7.5f,    15,     -15,    100,
                                       1200,  2400,    32767,    32768,   -32769, 491505, 1e6f,
                                       -1e6f, 1.5e13f, -1.5e13f, 1.6e13f, 1e20f,  1e30f,  -1e30f,
                                       kMax,  -kMax,   kTiny,    kInf,    -kInf,  kNaN};
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return pick(in, kEdges);
    case 1:
        return in.ConsumeFloatingPointInRange<float>(-3000, 25000);
    default: {
        const auto bits = in.ConsumeIntegral<std::uint32_t>();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

double anyUpperCount(FuzzedDataProvider& in)
{
    // Just above 6 and just below 1 must not round into a layout.
    constexpr double kOver6 = 6.000000000000001;
    constexpr double kUnder1 = 0.9999999999999999;
    static constexpr double kEdges[] = {0,     -0.0,   1,      2,     3,     4,      5,
                                        6,     7,      -1,     0.5,   3.5,   kOver6, kUnder1,
                                        1e300, -1e300, kTinyD, 65537, kInfD, -kInfD, kNaND};
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return pick(in, kEdges);
    case 1:
        return in.ConsumeIntegralInRange(-2, 9);
    default: {
        const auto bits = in.ConsumeIntegral<std::uint64_t>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

std::int16_t anyLowerCount(FuzzedDataProvider& in)
{
    if (in.ConsumeBool())
        return static_cast<std::int16_t>(in.ConsumeIntegralInRange(-2, 9));
    return in.ConsumeIntegral<std::int16_t>();
}

int anyPenWidth(FuzzedDataProvider& in)
{
    static constexpr int kEdges[] = {INT_MIN, -1, 0, 1, 2, 15, 16, 100, 1000, 1 << 20, INT_MAX};
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return pick(in, kEdges);
    case 1:
        return in.ConsumeIntegralInRange(-2, 40);
    default:
        return in.ConsumeIntegral<int>();
    }
}

std::size_t countOf(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++count;
    return count;
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int asciiDigit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

void checkLabel(std::string_view label, std::int16_t tileCount)
{
    const TileHalves halves = ReadTileHalves(label);
    FUZZ_CHECK(halves.upper >= 0 && halves.upper <= 9 && halves.upper == std::floor(halves.upper));
    FUZZ_CHECK(halves.lower >= 0 && halves.lower <= 9);
    // The first character starts at the first byte whatever follows it.
    FUZZ_CHECK(halves.upper == (label.empty() ? 0 : asciiDigit(label[0])));
    if (isAscii(label))
        FUZZ_CHECK(halves.lower == (label.size() < 3 ? 0 : asciiDigit(label[2])));

    const std::string mirrored = MirrorLabel(label);
    FUZZ_CHECK(mirrored.size() == label.size());
    FUZZ_CHECK(MirrorLabel(mirrored) == label);
    std::string sortedLabel(label), sortedMirror(mirrored);
    std::sort(sortedLabel.begin(), sortedLabel.end());
    std::sort(sortedMirror.begin(), sortedMirror.end());
    FUZZ_CHECK(sortedLabel == sortedMirror);
    if (isAscii(label))
        FUZZ_CHECK(mirrored == std::string(label.rbegin(), label.rend()));

    const std::string report = BuildSelectionReport(tileCount, label);
    const std::string_view reportView(report);
    FUZZ_CHECK(reportView.starts_with("От общо: " + std::to_string(tileCount) + " "));
    FUZZ_CHECK(reportView.find(label) != std::string_view::npos);
    FUZZ_CHECK(reportView.ends_with("\r\n"));
    // A label holding "\n\r" mirrors to one holding "\r\n", which then rightly shows up too.
    if (countOf(label, "\r\n") == 0 && countOf(mirrored, "\r\n") == 0)
        FUZZ_CHECK(countOf(reportView, "\r\n") == 2);
}

// Records what a drawing routine does, for the checks below.
class CheckingSurface : public TileSurface
{
public:
    struct Mark
    {
        float x1, y1, x2, y2;
        int pen;
    };

    CheckingSurface(float width, float height) : width_(width), height_(height) {}

    float Width() const override { return width_; }
    float Height() const override { return height_; }
    int DrawWidth() const override { return pen_; }
    void SetDrawWidth(int pixels) override { pen_ = pixels; }
    void PSet(float x, float y) override { dots.push_back({x, y, x, y, pen_}); }
    void Line(float x1, float y1, float x2, float y2) override
    {
        lines.push_back({x1, y1, x2, y2, pen_});
    }
    void Cls() override { ++clears; }

    std::vector<Mark> dots;
    std::vector<Mark> lines;
    int clears = 0;

private:
    float width_;
    float height_;
    int pen_ = 1;
};

bool sane(float width, float height)
{
    return width >= 600 && width <= 1e6f && height >= 1000 && height <= 1e6f;
}

// The pips of one half, lying between top and bottom on a sanely sized surface.
void checkPips(const CheckingSurface& surface, int expectedDots, float top, float bottom)
{
    FUZZ_CHECK(surface.lines.empty() && surface.clears == 0);
    FUZZ_CHECK(surface.dots.size() == static_cast<std::size_t>(expectedDots));
    const float width = surface.Width();
    const float height = surface.Height();
    for (std::size_t i = 0; i < surface.dots.size(); ++i) {
        const CheckingSurface::Mark& dot = surface.dots[i];
        FUZZ_CHECK(dot.pen == 15);
        if (std::isfinite(width) && std::isfinite(height))
            FUZZ_CHECK(std::isfinite(dot.x1) && std::isfinite(dot.y1));
        if (!sane(width, height))
            continue;
        FUZZ_CHECK(dot.x1 >= 0 && dot.x1 <= width && dot.y1 >= top && dot.y1 <= bottom);
        for (std::size_t j = 0; j < i; ++j)
            FUZZ_CHECK(dot.x1 != surface.dots[j].x1 || dot.y1 != surface.dots[j].y1);
    }
}

void checkDrawingRoutines(FuzzedDataProvider& in)
{
    const float width = anyFloat(in);
    const float height = anyFloat(in);

    const double upper = anyUpperCount(in);
    CheckingSurface upperSurface(width, height);
    DrawUpperPips(upperSurface, upper);
    const bool upperHasLayout = upper >= 1 && upper <= 6 && upper == std::floor(upper);
    checkPips(upperSurface, upperHasLayout ? static_cast<int>(upper) : 0, 0, height / 2);

    const std::int16_t lower = anyLowerCount(in);
    CheckingSurface lowerSurface(width, height);
    DrawLowerPips(lowerSurface, lower);
    checkPips(lowerSurface, lower >= 1 && lower <= 6 ? lower : 0, height / 2, height);

    CheckingSurface dividerSurface(width, height);
    DrawDivider(dividerSurface);
    FUZZ_CHECK(dividerSurface.dots.empty() && dividerSurface.clears == 0);
    FUZZ_CHECK(dividerSurface.lines.size() == 1);
    const CheckingSurface::Mark& line = dividerSurface.lines.front();
    FUZZ_CHECK(line.pen == 1);
    FUZZ_CHECK(line.x1 == 0 && std::isfinite(line.x2));
    FUZZ_CHECK(line.y1 == line.y2 || (std::isnan(line.y1) && std::isnan(line.y2)));
}

// Up to 200 pixels a side, a little more than the real tile: larger images only repeat the
// same pixels and would slow the search down.
float surfaceTwips(FuzzedDataProvider& in)
{
    return in.ConsumeFloatingPointInRange<float>(0, 3000);
}

double anyRatio(FuzzedDataProvider& in)
{
    static constexpr double kCommon[] = {1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4};
    return in.ConsumeBool() ? pick(in, kCommon) : in.ConsumeFloatingPointInRange<double>(1, 4);
}

Rgb anyColour(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return {}; // black, as a colour never set
    case 1:
        return RgbFromBgr(in.ConsumeIntegral<std::uint32_t>()); // its high byte ignored
    default:
        return {in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>(),
                in.ConsumeIntegral<std::uint8_t>()};
    }
}

// A logical pixel that a stroke must have painted, checked again after every re-render.
struct Pin
{
    long long x, y;
};

class RasterCheck
{
public:
    RasterCheck(float widthTwips, float heightTwips, Rgb foreground, Rgb background, double ratio)
        : surface_(widthTwips, heightTwips, foreground, background, ratio), widthTwips_(widthTwips),
          heightTwips_(heightTwips), foreground_(foreground), ratio_(ratio)
    {
        checkImage();
        checkBlank();
    }

    void run(FuzzedDataProvider& in)
    {
        // Enough to mix every operation while keeping one input well under a second.
        constexpr int kMaxOperations = 48;
        constexpr int kMaxStrokes = 12;
        constexpr int kMaxRenders = 3;
        constexpr int kMaxClears = 4;
        int strokes = 0;
        int renders = 0;
        int clears = 0;
        for (int operation = 0;
             operation < kMaxOperations && in.remaining_bytes() > 0 && strokes < kMaxStrokes;
             ++operation) {
            switch (in.ConsumeIntegralInRange(0, 5)) {
            case 0:
                surface_.SetDrawWidth(anyPenWidth(in));
                FUZZ_CHECK(surface_.DrawWidth() >= 1);
                break;
            case 1: {
                const float x = anyFloat(in);
                const float y = anyFloat(in);
                surface_.PSet(x, y);
                drawn_ = true;
                pinEnd(x, y);
                ++strokes;
                break;
            }
            case 2: {
                const float x1 = anyFloat(in);
                const float y1 = anyFloat(in);
                const float x2 = anyFloat(in);
                const float y2 = anyFloat(in);
                surface_.Line(x1, y1, x2, y2);
                drawn_ = true;
                // A line with an end at infinity or NaN goes nowhere, and is dropped whole.
                if (std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) &&
                    std::isfinite(y2)) {
                    pinEnd(x1, y1);
                    pinEnd(x2, y2);
                }
                ++strokes;
                break;
            }
            case 3:
                if (clears++ < kMaxClears) {
                    surface_.Cls();
                    drawn_ = false;
                    pins_.clear();
                    checkBlank();
                }
                break;
            case 4:
                if (renders++ < kMaxRenders) {
                    ratio_ = anyRatio(in);
                    surface_.setDevicePixelRatio(ratio_);
                    checkImage();
                }
                break;
            default:
                if (renders++ < kMaxRenders) {
                    foreground_ = anyColour(in);
                    surface_.setColors(foreground_, anyColour(in));
                    checkImage();
                }
                break;
            }
        }
        checkImage();
        if (!drawn_)
            checkBlank();
    }

private:
    // A stroke's end inside the area is painted whatever the pen, and stays painted.
    void pinEnd(float x, float y)
    {
        constexpr double kNear = 1e7; // twips; far ends go through clipping instead
        if (!(std::abs(x) <= kNear && std::abs(y) <= kNear))
            return;
        const auto px = static_cast<long long>(std::round(x / 15.0));
        const auto py = static_cast<long long>(std::round(y / 15.0));
        const RasterTileSurface::Size area = surface_.areaSize();
        if (px < 0 || py < 0 || px >= area.width || py >= area.height)
            return;
        pins_.push_back({px, py});
        checkPin(pins_.back());
    }

    void checkPin(const Pin& pin) const
    {
        const RasterTileSurface::Size image = surface_.deviceSize();
        const auto dx = static_cast<int>(std::floor((pin.x + 0.5) * ratio_));
        const auto dy = static_cast<int>(std::floor((pin.y + 0.5) * ratio_));
        FUZZ_CHECK(dx >= 0 && dy >= 0 && dx < image.width && dy < image.height);
        FUZZ_CHECK(surface_.pixel(dx, dy) == foreground_);
    }

    // The image is the drawing area, 2 pixels in from each edge, times the ratio.
    void checkImage() const
    {
        const RasterTileSurface::Size area = surface_.areaSize();
        const auto expectedSide = [](float twips, int side) {
            const double pixels = twips / 15.0 - 2 * RasterTileSurface::kBorderPixels;
            return side >= 0 && std::abs(side - std::max(0.0, pixels)) <= 0.5 + 1e-4;
        };
        FUZZ_CHECK(expectedSide(widthTwips_, area.width));
        FUZZ_CHECK(expectedSide(heightTwips_, area.height));

        // An area with one side zero has no pixels at all.
        const RasterTileSurface::Size image = surface_.deviceSize();
        if (area.width == 0 || area.height == 0) {
            FUZZ_CHECK(image.width == 0 && image.height == 0);
        } else {
            FUZZ_CHECK(std::abs(image.width - area.width * ratio_) <= 0.5);
            FUZZ_CHECK(std::abs(image.height - area.height * ratio_) <= 0.5);
            FUZZ_CHECK(surface_.devicePixelRatio() == ratio_);
        }
        for (const Pin& pin : pins_)
            checkPin(pin);
    }

    // Nothing drawn since the last Cls: one colour everywhere (checked on small images only).
    void checkBlank() const
    {
        const RasterTileSurface::Size image = surface_.deviceSize();
        if (image.width == 0 || image.height == 0 || image.width * image.height > 256 * 256)
            return;
        const Rgb first = surface_.pixel(0, 0);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x)
                FUZZ_CHECK(surface_.pixel(x, y) == first);
        }
    }

    RasterTileSurface surface_;
    float widthTwips_;
    float heightTwips_;
    Rgb foreground_;
    double ratio_;
    bool drawn_ = false; // since the last Cls
    std::vector<Pin> pins_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);

    // The label comes first so that a plain text file is a label on its own.
    const std::string label = in.ConsumeRandomLengthString(1 << 16);
    checkLabel(label, in.ConsumeIntegral<std::int16_t>());

    checkDrawingRoutines(in);

    const float width = surfaceTwips(in);
    const float height = surfaceTwips(in);
    const double ratio = anyRatio(in);
    const Rgb foreground = anyColour(in);
    const Rgb background = anyColour(in);
    RasterCheck raster(width, height, foreground, background, ratio);
    raster.run(in);
    return 0;
}
