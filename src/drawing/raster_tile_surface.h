// SPDX-FileCopyrightText: 2026 The domino-tiles authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rgb.h"
#include "tile_surface.h"
#include "twips.h"

#include <cstdint>
#include <vector>

// A tile surface held in an off-screen picture, so that what is drawn persists until Cls.
// The picture covers the drawing area inside a 2-pixel border; a point in twips lands on the
// pixel (round(x / 15), round(y / 15)) of that area. At a device pixel ratio above 1 every
// pixel figure is scaled by the ratio, so dots stay round and edges stay sharp. The pixels are
// plain RGBA bytes, as a browser's canvas and Qt's images both take them.
class RasterTileSurface : public TileSurface
{
public:
    static constexpr int kBorderPixels = 2;
    // Pen widths run from 1 to this many pixels, as on the desktop the drawings come from;
    // wider would only make a dot slower to draw.
    static constexpr int kWidestPen = 32767;

    struct Size
    {
        int width = 0;
        int height = 0;
        friend constexpr bool operator==(Size, Size) = default;
    };

    RasterTileSurface(float widthTwips, float heightTwips, Rgb foreground, Rgb background,
                      double devicePixelRatio = 1);

    float Width() const override { return widthTwips_; }
    float Height() const override { return heightTwips_; }
    int DrawWidth() const override { return drawWidth_; }
    void SetDrawWidth(int pixels) override;
    void PSet(float x, float y) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void Cls() override;

    // The drawing area in device pixels: rows of red, green, blue and 255, top row first.
    const std::uint8_t* pixels() const;
    Size deviceSize() const { return deviceSize_; }
    double devicePixelRatio() const { return ratio_; }
    // Logical size of the drawing area in pixels.
    Size areaSize() const { return areaSize_; }
    // The colour of one device pixel, which must lie in the area.
    Rgb pixel(int x, int y) const;

    // Both re-render everything drawn since the last Cls, so nothing is lost.
    void setDevicePixelRatio(double ratio);
    void setColors(Rgb foreground, Rgb background);

private:
    struct Stroke
    {
        float x1, y1, x2, y2;
        int width;
    };

    void render();
    void paint(const Stroke& stroke);
    void fill(Rgb colour);
    void fillPixel(long long px, long long py);
    bool fillDot(long long px, long long py, int width);

    float widthTwips_;
    float heightTwips_;
    Size areaSize_;
    Rgb foreground_;
    Rgb background_;
    double ratio_;
    int drawWidth_ = 1;
    Size deviceSize_;
    // One 32-bit word per pixel, its four bytes in the order pixels() gives them.
    std::vector<std::uint32_t> image_;
    // What was drawn since the last Cls, kept to re-render at another ratio or in other colours.
    std::vector<Stroke> strokes_;
};
